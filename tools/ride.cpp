// velmora-ride: rides a rider on a track without a window and prints where every point went.
//
//   velmora-ride TRACK [RIDER] [--steps N] [--every K] [--from-start]
//
// Loads the track as the game does (lines, start state, the rider it names, resolved beside this
// program as the game resolves it beside itself), or takes RIDER instead, places the rider as
// pressing play right after loading would (--from-start: as the play-from-start button would),
// and runs N steps (default 1000) of the game's own rider step. Every K steps (default 1) and
// after the last it prints "STEP ID X Y" per body point in list order (%.9g gives the floats
// back exactly); each link crash prints "STEP CRASH K" at its step. The last line is
// "hash HEX", the ride's 64-bit fingerprint; --steps 0 prints the start positions as step 0.
// A refused file, a section refused by its version word, a track without a solid line or a rider
// that does not load prints the game's lines on standard error and exits 1; a bad argument or
// a count that does not fit prints the usage and exits 2. --help prints the usage and --version
// the version on standard output, and exit 0.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "rider/current_rider.h"
#include "rider/simulation.h"
#include "shell/log.h"
#include "shell/command_line.h"
#include "shell/paths.h"
#include "track/ride_load.h"
#include "track/world.h"

namespace {

struct Options {
  const char* track = nullptr;
  const char* rider = nullptr;
  long steps = 1000;
  long every = 1;
  bool fromStart = false;
};

const char kUsage[] = "usage: velmora-ride TRACK [RIDER] [--steps N] [--every K] [--from-start]\n";

// Digits only; a value beyond a long (strtol's ERANGE) is refused, not clamped.
bool ParseCount(const char* text, long minimum, long* value) {
  if (text[0] < '0' || text[0] > '9') return false;
  char* end = nullptr;
  errno = 0;
  long parsed = strtol(text, &end, 10);
  if (errno == ERANGE || *end || parsed < minimum) return false;
  *value = parsed;
  return true;
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (!strcmp(arg, "--steps") && i + 1 < argc) {
      if (!ParseCount(argv[++i], 0, &options->steps)) return false;
    } else if (!strcmp(arg, "--every") && i + 1 < argc) {
      if (!ParseCount(argv[++i], 1, &options->every)) return false;
    } else if (!strcmp(arg, "--from-start")) {
      options->fromStart = true;
    } else if (arg[0] == '-' && arg[1] == '-') {
      return false;
    } else if (!options->track) {
      options->track = arg;
    } else if (!options->rider) {
      options->rider = arg;
    } else {
      return false;
    }
  }
  return options->track != nullptr;
}

// The crash lines the ride logs, heard since they were last taken; no log file is written.
std::vector<std::string> heardLines;

void Hear(const char* text) { heardLines.emplace_back(text); }

std::vector<std::string> TakeLines() { return std::exchange(heardLines, {}); }

void PrintPoints(long step, const Body& body) {
  for (const BodyPoint& point : body.points)
    printf("%ld %d %.9g %.9g\n", step, point.id, double(point.x), double(point.y));
}

}  // namespace

int main(int argc, char** argv) {
  if (AnswerHelpOrVersion(argc, argv, "velmora-ride", kUsage)) return 0;
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    fputs(kUsage, stderr);
    return 2;
  }
  // Rider and sprite names resolve as in the game; without a player folder (no HOME), against
  // the shipped data alone.
  ChooseGameFolders(PlatformExecutablePath().c_str());
  static std::vector<char> outputBuffer(1 << 20);
  setvbuf(stdout, outputBuffer.data(), _IOFBF, outputBuffer.size());

  auto rider = std::make_unique<CurrentRider>();
  auto world = std::make_unique<World>();
  const RideLoad load = LoadRide(*world, *rider, options.track, options.rider, options.fromStart);
  if (!load.loaded) {
    PrintRideRefusal(load, "velmora-ride");
    return 1;
  }
  SetLogListener(Hear);

  if (options.steps == 0) PrintPoints(0, world->rider);
  for (long step = 1; step <= options.steps; ++step) {
    StepRider(*world);
    for (const std::string& line : TakeLines())
      if (line.rfind("link crashed. k = ", 0) == 0)
        printf("%ld CRASH %.5f\n", step, strtod(line.c_str() + strlen("link crashed. k = "), nullptr));
    if (step % options.every == 0 || step == options.steps) PrintPoints(step, world->rider);
  }
  printf("hash %016llx\n", static_cast<unsigned long long>(HashBodyPositions(world->rider)));
  fflush(stdout);
  return 0;
}
