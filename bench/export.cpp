// How long velmora-export takes for a 30-second ride at 1280 x 720, 60 fps, against the ride's
// own length: writes a long downhill track with coloured scenery under the shipped sledder into
// a temporary folder, runs the built exporter on it (MP4 by default) and prints the wall time,
// the ratio to the ride's 30 s and the exporter's own drawing and encoding rates.
//
//   ./build-bench/bench/bench_export [mp4|webm|gif] [seconds]
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "shell/paths.h"
#include "track/track_file.h"
#include "track/world.h"

int main(int argc, char** argv) {
  const std::string kind = argc > 1 ? argv[1] : "mp4";
  const double seconds = argc > 2 ? atof(argv[2]) : 30.0;
  const std::string exporter = std::string(VELMORA_BINARY_DIR) + "/velmora-export";
  char pattern[] = "/tmp/velmora-bench-XXXXXX";
  const std::filesystem::path folder = mkdtemp(pattern);
  SetExecFolder(exporter.c_str());

  auto rider = std::make_unique<CurrentRider>();
  auto world = std::make_unique<World>();
  const std::string sledder = std::string(ExecFolder()) + "\\riders\\sledder.rider";
  if (LoadRider(*rider, sledder.c_str()) != FileLoad::Loaded) {
    fprintf(stderr, "no %s: build velmora-export first\n", sledder.c_str());
    return 1;
  }
  RestartRider(*world, *rider);
  // A bumpy slope falling 1 in 4 from under the rider for 40,000 units, pieces of 40 as the
  // pencil draws, with a band of coloured scenery above it.
  const Vec2 focus = FocusPoint(*world);
  Vec2 a{focus.x - 200.0f, focus.y - 60.0f};
  for (int i = 0; i < 1000; ++i) {
    const Vec2 b{a.x + 40.0f, a.y - 10.0f + 6.0f * std::sin(float(i) * 0.7f)};
    AddSolidLine(*world, a, b, 1.0f, LineKind::Normal);
    AddSceneryLine(*world, {a.x, a.y + 150.0f}, {b.x, b.y + 150.0f}, uint8_t(i * 7), uint8_t(200 - i % 150), 90, 3.0f);
    a = b;
  }
  const std::string track = (folder / "slope.track").string();
  const std::string stored = std::filesystem::absolute(track).string();
  std::string storedPath = stored;
  for (char& c : storedPath)
    if (c == '/') c = '\\';
  if (!SaveTrack(*world, *rider, storedPath.c_str())) return 1;

  const std::string output = (folder / ("ride." + kind)).string();
  char command[1024];
  snprintf(command, sizeof command, "'%s' '%s' -o '%s' --seconds %g --size 1280x720 2>/dev/null", exporter.c_str(),
           track.c_str(), output.c_str(), seconds);
  const auto start = std::chrono::steady_clock::now();
  const int status = system(command);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::filesystem::remove_all(folder);
  if (status != 0) {
    fprintf(stderr, "the exporter failed (%d)\n", status);
    return 1;
  }
  printf("%s: %.0f s ride exported in %.1f s wall time: %.2f of the ride's length\n", kind.c_str(), seconds, wall,
         wall / seconds);
  return 0;
}
