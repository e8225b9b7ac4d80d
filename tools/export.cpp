// velmora-export: draws a ride frame by frame with the game's own drawing and writes it as a
// video (MP4 with H.264, WebM with VP9) or an animated GIF, without a display.
//
//   velmora-export TRACK [RIDER] -o OUT [--seconds S | --steps N] [--from-start] [--size WxH]
//                  [--fps F] [--zoom Z]
//
// The track and rider load as velmora-ride loads them (track/ride_load.h), and --from-start
// means the same. Frame i shows the ride at time i / F: the step (10 ms) that time falls on.
// The file holds S x F frames (default 10 s), or the frames that steps 0..N span; 1280 x 720,
// 60 fps (a GIF: 50, and only rates that divide 100), zoom 1. While it runs a progress line
// goes to standard error about twice a second:
//   velmora-export: frame D of T, R frames/s, S s left
// (a GIF counts both its passes in D and T); at the end the rates of drawing and encoding go
// to standard output. A file the game refuses prints the game's lines and exits 1, as does a
// failure to draw or write; a bad option prints why and the usage and exits 2. A file not
// finished (failure, SIGINT, SIGTERM) is removed. --help prints the usage and --version the
// version on standard output, and exit 0.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "rider/current_rider.h"
#include "shell/command_line.h"
#include "shell/paths.h"
#include "tools/export_options.h"
#include "tools/frame_queue.h"
#include "tools/ride_frames.h"
#include "tools/video_writer.h"
#include "track/ride_load.h"
#include "track/world.h"

namespace {

using Clock = std::chrono::steady_clock;

// The unfinished file's name for the signal handler, which may only unlink and leave.
char partPath[4096];

void RemovePartAndLeave(int) {
  if (partPath[0]) unlink(partPath);
  _exit(1);
}

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A drawn frame on its way to the encoder; pass 0 is a GIF's palette pass.
struct DrawnFrame {
  std::vector<uint8_t> rgba;
  int pass = 1;
};

// Progress on standard error for people and for the game, which reads "frame D of T".
class Progress {
 public:
  explicit Progress(int64_t total) : total_(total) {}
  void done(int64_t count) {
    const double elapsed = SecondsSince(start_);
    if (count < total_ && elapsed < nextReport_) return;
    nextReport_ = elapsed + 0.5;
    const double rate = elapsed > 0 ? double(count) / elapsed : 0.0;
    const double left = rate > 0 ? double(total_ - count) / rate : 0.0;
    fprintf(stderr, "velmora-export: frame %lld of %lld, %.1f frames/s, %.0f s left\n", (long long)count,
            (long long)total_, rate, left);
  }

 private:
  int64_t total_;
  Clock::time_point start_ = Clock::now();
  double nextReport_ = 0.0;
};

int Refuse(const RideLoad& load) {
  PrintRideRefusal(load, "velmora-export");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (AnswerHelpOrVersion(argc, argv, "velmora-export", kExportUsage)) return 0;
  ExportOptions options;
  std::string why;
  if (!ParseExportOptions(std::vector<std::string>(argv + 1, argv + argc), &options, &why)) {
    fprintf(stderr, "velmora-export: %s\n%s", why.c_str(), kExportUsage);
    return 2;
  }
  // Rider and sprite names resolve as in the game; without a player folder (no HOME), against
  // the shipped data alone.
  ChooseGameFolders(PlatformExecutablePath().c_str());
  const char* riderArgument = options.rider.empty() ? nullptr : options.rider.c_str();
  auto rider = std::make_unique<CurrentRider>();
  auto world = std::make_unique<World>();
  RideLoad load = LoadRide(*world, *rider, options.track.c_str(), riderArgument, options.fromStart);
  if (!load.loaded) return Refuse(load);
  if (!StartOffscreenDrawing(options.width, options.height, *rider, &why)) {
    fprintf(stderr, "velmora-export: no offscreen GL: %s\n", why.c_str());
    return 1;
  }

  VideoWriter writer;
  if (!writer.open(options.output, options.kind, options.width, options.height, options.fps, &why)) {
    fprintf(stderr, "velmora-export: %s\n", why.c_str());
    StopOffscreenDrawing();
    return 1;
  }
  snprintf(partPath, sizeof partPath, "%s", writer.partPath());
  signal(SIGINT, RemovePartAndLeave);
  signal(SIGTERM, RemovePartAndLeave);

  const int passes = writer.needsPalettePass() ? 2 : 1;
  const int64_t total = options.frames * passes;
  constexpr size_t kFramesInFlight = 4;
  FrameQueue<DrawnFrame> drawn(kFramesInFlight);
  FrameQueue<std::vector<uint8_t>> spare(kFramesInFlight);
  for (size_t i = 0; i < kFramesInFlight; ++i) spare.push({});

  // The encoder's thread: every drawn frame into the writer in order, then the file finished.
  double encodeSeconds = 0.0;
  bool encoded = true;
  std::atomic<bool> drawingComplete = false;      // set before the last hand-over's queue closes
  std::string encodeWhy;
  std::thread encoder([&] {
    Progress progress(total);
    int64_t count = 0;
    while (std::optional<DrawnFrame> frame = drawn.pop()) {
      const Clock::time_point start = Clock::now();
      encoded = frame->pass == 0 ? writer.addPaletteFrame(frame->rgba.data(), &encodeWhy)
                                 : writer.addFrame(frame->rgba.data(), &encodeWhy);
      encodeSeconds += SecondsSince(start);
      if (!encoded) break;
      spare.push(std::move(frame->rgba));
      progress.done(++count);
    }
    const Clock::time_point start = Clock::now();
    // Only a ride drawn to its end makes a file; the writer removes anything less.
    if (encoded && drawingComplete) encoded = writer.finish(&encodeWhy);
    encodeSeconds += SecondsSince(start);
    // A failure stops the drawing: its next hand-over finds the queues closed.
    drawn.close();
    spare.close();
  });

  double drawSeconds = 0.0;
  bool handed = true;
  for (int pass = 2 - passes; pass < 2 && handed; ++pass) {
    if (pass == 1 && passes == 2) {
      // The palette pass rode the track; the frames ride it again from the same start.
      world = std::make_unique<World>();
      load = LoadRide(*world, *rider, options.track.c_str(), riderArgument, options.fromStart);
      if (!load.loaded) break;
    }
    RideFrames frames(*world, options.zoom);
    for (int64_t i = 0; i < options.frames && handed; ++i) {
      std::optional<std::vector<uint8_t>> rgba = spare.pop();
      if (!rgba) {
        handed = false;
        break;
      }
      const Clock::time_point start = Clock::now();
      frames.advanceTo(StepOfFrame(i, options.fps));
      frames.render(&*rgba);
      drawSeconds += SecondsSince(start);
      handed = drawn.push({std::move(*rgba), pass});
    }
  }
  drawingComplete = handed && load.loaded;
  drawn.close();
  encoder.join();
  StopOffscreenDrawing();
  if (!load.loaded) return Refuse(load);
  if (!encoded) {
    fprintf(stderr, "velmora-export: %s\n", encodeWhy.c_str());
    return 1;
  }
  partPath[0] = '\0';
  printf("wrote %s: %lld frames at %d fps, %dx%d\n", options.output.c_str(), (long long)options.frames, options.fps,
         options.width, options.height);
  printf("drawing: %lld frames in %.2f s, %.1f frames/s\n", (long long)total, drawSeconds,
         drawSeconds > 0 ? double(total) / drawSeconds : 0.0);
  printf("encoding: %lld frames in %.2f s, %.1f frames/s\n", (long long)total, encodeSeconds,
         encodeSeconds > 0 ? double(total) / encodeSeconds : 0.0);
  return 0;
}
