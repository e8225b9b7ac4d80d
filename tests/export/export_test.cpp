// velmora-export, run as its own process on a small track written here: the files it writes are
// read back through libavformat and their decoded frames compared with the same steps of the
// ride drawn in this process, offscreen, by the game's drawing.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "shell/paths.h"
#include "support/temp_folder.h"
#include "tools/ride_frames.h"
#include "track/ride_load.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {

const std::string kExporter = std::string(VELMORA_BINARY_DIR) + "/velmora-export";
const std::string kRide = std::string(VELMORA_BINARY_DIR) + "/velmora-ride";
const std::string kSledder = std::string(VELMORA_BINARY_DIR) + "/riders/sledder.rider";
constexpr int kWidth = 320;                       // pixels
constexpr int kHeight = 240;

struct ExportRun { int status = -1; std::string err; };

// The program (by default the exporter) run with arguments, its stderr kept in folder.
ExportRun RunExporter(const std::string& arguments, const TempFolder& folder, const std::string& program = kExporter) {
  const std::string errFile = folder.file("stderr.txt");
  const int status = system(("'" + program + "' " + arguments + " >/dev/null 2>'" + errFile + "'").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, folder.read("stderr.txt")};
}

// A video read back: its codec and size, the duration it claims and every frame as RGBA.
struct Decoded {
  AVCodecID codec = AV_CODEC_ID_NONE;
  int width = 0, height = 0;
  double seconds = 0.0;
  std::vector<std::vector<uint8_t>> frames;
};

Decoded Decode(const std::string& path) {
  Decoded out;
  AVFormatContext* format = nullptr;
  if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return out;
  avformat_find_stream_info(format, nullptr);
  const AVStream* stream = format->streams[0];
  out.codec = stream->codecpar->codec_id;
  out.width = stream->codecpar->width;
  out.height = stream->codecpar->height;
  out.seconds = format->duration > 0 ? double(format->duration) / AV_TIME_BASE : 0.0;
  const AVCodec* decoder = avcodec_find_decoder(out.codec);
  AVCodecContext* codec = avcodec_alloc_context3(decoder);
  avcodec_parameters_to_context(codec, stream->codecpar);
  avcodec_open2(codec, decoder, nullptr);
  AVPacket* packet = av_packet_alloc();
  AVFrame* frame = av_frame_alloc();
  SwsContext* scaler = nullptr;
  auto take = [&] {
    while (avcodec_receive_frame(codec, frame) >= 0) {
      scaler = sws_getCachedContext(scaler, frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                    frame->height, AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
      std::vector<uint8_t> rgba(size_t(frame->width) * frame->height * 4);
      uint8_t* planes[1] = {rgba.data()};
      const int strides[1] = {frame->width * 4};
      sws_scale(scaler, frame->data, frame->linesize, 0, frame->height, planes, strides);
      out.frames.push_back(std::move(rgba));
    }
  };
  while (av_read_frame(format, packet) >= 0) {
    if (packet->stream_index == 0 && avcodec_send_packet(codec, packet) >= 0) take();
    av_packet_unref(packet);
  }
  avcodec_send_packet(codec, nullptr);
  take();
  sws_freeContext(scaler);
  av_frame_free(&frame);
  av_packet_free(&packet);
  avcodec_free_context(&codec);
  avformat_close_input(&format);
  return out;
}

// Peak signal to noise ratio over the colour channels, in dB (99 for equal pictures).
double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
  double sum = 0.0;
  for (size_t i = 0; i < a.size(); ++i) {
    if (i % 4 == 3) continue;
    const double d = double(a[i]) - double(b[i]);
    sum += d * d;
  }
  const double mse = sum / double(a.size() / 4 * 3);
  return mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

class ExportTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(kExporter)) GTEST_SKIP() << "velmora-export is not built";
    // The exporter's own folder, where the rider's sprites are found; the track names its rider
    // from there as the game does.
    SetExecFolder(kExporter.c_str());
    CurrentRider rider;
    ASSERT_EQ(LoadRider(rider, BackslashPath(kSledder).c_str()), FileLoad::Loaded);
    World world;
    RestartRider(world, rider);
    // A slope under the rider with a band of coloured scenery and a start stored a few steps in.
    const Vec2 focus = FocusPoint(world);
    Vec2 a{focus.x - 120.0f, focus.y - 40.0f};
    for (int i = 0; i < 40; ++i) {
      const Vec2 b{a.x + 40.0f, a.y - 14.0f};
      AddSolidLine(world, a, b, 1.0f, LineKind::Normal);
      AddSceneryLine(world, {a.x, a.y + 90.0f}, {b.x, b.y + 90.0f}, uint8_t(40 * (i % 6)), 160, uint8_t(250 - 5 * i), 4.0f);
      a = b;
    }
    for (int i = 0; i < 30; ++i) StepRider(world);
    StoreStart(world);
    RestartRider(world, rider);
    ASSERT_TRUE(SaveTrack(world, rider, BackslashPath(folder_.file("slope.track")).c_str()));
  }

  // The same steps drawn in this process: frame i at step i x 100 / fps.
  std::vector<std::vector<uint8_t>> DrawHere(int frames, int fps, bool fromStart) {
    auto rider = std::make_unique<CurrentRider>();
    auto world = std::make_unique<World>();
    EXPECT_TRUE(LoadRide(*world, *rider, folder_.file("slope.track").c_str(), nullptr, fromStart).loaded);
    std::string why;
    EXPECT_TRUE(StartOffscreenDrawing(kWidth, kHeight, *rider, &why)) << why;
    std::vector<std::vector<uint8_t>> drawn(frames);
    {
      RideFrames ride(*world, 1.0f);
      for (int i = 0; i < frames; ++i) {
        ride.advanceTo(int64_t(i) * 100 / fps);
        ride.render(&drawn[i]);
      }
    }
    StopOffscreenDrawing();
    return drawn;
  }

  // The track, and a file of the test's folder, quoted for the shell.
  std::string Track() const { return Out("slope.track"); }
  std::string Out(const std::string& name) const { return "'" + folder_.file(name) + "'"; }

  TempFolder folder_;
};

// Each kind of file holds exactly the frames of the ride asked for, at its rate, and each frame
// is the game's drawing of its step within the kind's loss.
TEST_F(ExportTest, EveryFrameIsTheGamesDrawingOfItsStep) {
  const struct {
    const char* name;
    const char* options;
    AVCodecID codec;
    int fps;
    int frames;
    double leastPsnr;                             // dB, the worst frame
    bool fromStart;
  } cases[] = {
      {"ride.mp4", "--steps 80", AV_CODEC_ID_H264, 60, 49, 35.0, false},
      {"ride.webm", "--seconds 0.5 --fps 30 --from-start", AV_CODEC_ID_VP9, 30, 15, 30.0, true},
      {"ride.gif", "--seconds 0.6 --fps 25", AV_CODEC_ID_GIF, 25, 15, 30.0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ExportRun run = RunExporter(Track() + " -o " + Out(c.name) + " --size 320x240 " + c.options, folder_);
    ASSERT_EQ(run.status, 0) << run.err;
    const Decoded decoded = Decode(folder_.file(c.name));
    EXPECT_EQ(decoded.codec, c.codec);
    EXPECT_EQ(decoded.width, kWidth);
    EXPECT_EQ(decoded.height, kHeight);
    EXPECT_NEAR(decoded.seconds, double(c.frames) / c.fps, 1.0 / c.fps);
    ASSERT_EQ(int(decoded.frames.size()), c.frames);
    const std::vector<std::vector<uint8_t>> drawn = DrawHere(c.frames, c.fps, c.fromStart);
    double worst = 99.0;
    for (int i = 0; i < c.frames; ++i) worst = std::min(worst, Psnr(decoded.frames[i], drawn[i]));
    EXPECT_GE(worst, c.leastPsnr);
    // The ride moves: the last frame is not the first.
    EXPECT_LT(Psnr(drawn.front(), drawn.back()), c.leastPsnr);
  }
}

// Two exports of the same ride are the same: a GIF byte for byte, a video frame for frame.
TEST_F(ExportTest, TheSameRideGivesTheSameFile) {
  for (const char* name : {"a.gif", "b.gif", "a.mp4", "b.mp4"}) {
    const ExportRun run = RunExporter(Track() + " -o " + Out(name) + " --size 320x240 --seconds 0.4", folder_);
    ASSERT_EQ(run.status, 0) << name << ": " << run.err;
  }
  const std::string gif = folder_.read("a.gif");
  EXPECT_GT(gif.size(), 1000u);
  EXPECT_EQ(gif, folder_.read("b.gif"));
  const Decoded a = Decode(folder_.file("a.mp4"));
  EXPECT_EQ(a.frames.size(), 24u);
  EXPECT_TRUE(a.frames == Decode(folder_.file("b.mp4")).frames);
}

// A damaged track is refused with the game's own line, as velmora-ride prints it, and no file
// is left behind.
TEST_F(ExportTest, ADamagedTrackIsRefusedWithTheGamesLine) {
  std::string bytes = folder_.read("slope.track");
  bytes.resize(bytes.size() / 2);
  folder_.write("cut.track", bytes);
  const ExportRun run = RunExporter(Out("cut.track") + " -o " + Out("cut.mp4"), folder_);
  EXPECT_EQ(run.status, 1);
  const ExportRun ride = RunExporter(Out("cut.track"), folder_, kRide);
  ASSERT_FALSE(ride.err.empty());
  EXPECT_EQ(run.err, ride.err);
  EXPECT_FALSE(std::filesystem::exists(folder_.file("cut.mp4")));
  EXPECT_FALSE(std::filesystem::exists(folder_.file("cut.mp4.part")));
}

// An export stopped midway (the game quitting, Ctrl+C) leaves no file.
TEST_F(ExportTest, AnExportStoppedMidwayLeavesNoFile) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  const std::string track = folder_.file("slope.track"), out = folder_.file("long.mp4");
  const char* argv[] = {kExporter.c_str(), track.c_str(), "-o", out.c_str(), "--seconds", "600", nullptr};
  pid_t child = 0;
  ASSERT_EQ(posix_spawn(&child, argv[0], &actions, nullptr, const_cast<char**>(argv), environ), 0);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  FILE* progress = fdopen(pipeEnds[0], "r");
  char line[256] = {};
  EXPECT_NE(fgets(line, sizeof line, progress), nullptr);
  EXPECT_EQ(std::string(line).rfind("velmora-export: frame ", 0), 0u) << line;
  EXPECT_TRUE(std::filesystem::exists(out + ".part"));
  kill(child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  fclose(progress);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_FALSE(std::filesystem::exists(out + ".part"));
}

// Every bad option is refused with exit 2, before any file is written.
TEST_F(ExportTest, BadOptionsAreRefused) {
  const char* const cases[] = {
      "",                                        // no output
      "-o ride.avi",                             // unknown kind
      "-o ride.gif --fps 60",                    // not a divisor of 100
      "-o ride.mp4 --fps 0",
      "-o ride.mp4 --size 321x240",              // odd: 4:2:0 halves it
      "-o ride.mp4 --size 320",
      "-o ride.mp4 --seconds 2 --steps 100",
      "-o ride.mp4 --seconds -1",
      "-o ride.mp4 --zoom 9",
      "-o ride.mp4 --bogus",
      "-o ride.mp4 rider.rider more.rider",     // a third file
      "-o",
  };
  for (const char* options : cases) {
    SCOPED_TRACE(options);
    const ExportRun run = RunExporter(Track() + " " + options, folder_);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage: velmora-export"), std::string::npos);
  }
  for (const char* name : {"ride.avi", "ride.gif", "ride.mp4", "ride.mp4.part"})
    EXPECT_FALSE(std::filesystem::exists(folder_.file(name))) << name;
  // Asking for the usage is no mistake.
  const ExportRun help = RunExporter("--help", folder_);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.err, "");
}

}  // namespace
