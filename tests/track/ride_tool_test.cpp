// velmora-ride, run as its own process on files written here, against the same ride run in
// this process with the game's own calls.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "support/game_files.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {

struct RideRun { int status = -1; std::string out, err; };

RideRun RunRide(const std::string& arguments, const std::string& errFile) {
  RideRun run;
  const std::string command = std::string(VELMORA_BINARY_DIR) + "/velmora-ride " + arguments + " 2>" + errFile;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[65536];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile);
  run.err.assign(std::istreambuf_iterator<char>(in), {});
  return run;
}

class RideToolTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    if (!std::filesystem::exists(std::string(VELMORA_BINARY_DIR) + "/velmora-ride"))
      GTEST_SKIP() << "velmora-ride is not built";
    std::filesystem::create_directories(folder_.path / "riders");
    // The physics tests' rider, on their track, starting above its first hill.
    CurrentRider rider;
    Body body;
    BuildTestRider(body, -150.0f, 40.0f);
    TakeSnapshot(body, rider.snapshot);
    rider.focusPointId = 14;
    rider.loaded = 1;
    snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "sprites\\to.png");
    ASSERT_TRUE(SaveRider(rider, Stored("riders\\bike.rider").c_str()));

    World world;
    RestartRider(world, rider);
    BuildTestTrack(world);
    for (int i = 0; i < 50; ++i) StepRider(world);
    StoreStart(world);
    ASSERT_TRUE(SaveTrack(world, rider, Stored("hills.track").c_str()));

    // A brittle box dropped from high above a flat floor: it must break, two links of it as one
    // break group.
    CurrentRider high;
    ClearBody(body);
    BodyPoint* p[4];
    const float corners[4][3] = {{0, 2400, 1}, {40, 2400, 1}, {40, 2440, 3}, {0, 2445, 3}};  // x, y, mass
    for (int i = 0; i < 4; ++i) p[i] = AddPoint(body, corners[i][0], corners[i][1], corners[i][2], 6, 0, 1, 0.0001f);
    const struct { int a, b, group; float factor; } links[] = {
        {0, 1, 0, 1000.0f}, {1, 2, 1, 1e-5f}, {2, 3, 0, 2e-5f}, {3, 0, 1, 1.5e-5f}, {0, 2, 0, 1e-5f}};
    for (const auto& l : links) AddLink(body, p[l.a], p[l.b], 0.9f, l.group, l.factor, LinkKind::Spring);
    TakeSnapshot(body, high.snapshot);
    ASSERT_TRUE(SaveRider(high, Stored("riders\\high.rider").c_str()));
    World floor;
    AddSolidLine(floor, {-500, 0}, {500, 0}, 1, LineKind::Normal);
    ASSERT_TRUE(SaveTrack(floor, high, Stored("floor.track").c_str()));
  }

  // The ride of the game's own calls, printed as the tool prints it: load as the game loads,
  // step, and write the crash lines, the points every `every` steps and after the last, the hash.
  std::string RideHere(const std::string& track, const std::string& riderFile, int steps, int every,
                       bool fromStart, int* crashes) {
    auto rider = std::make_unique<CurrentRider>();
    auto world = std::make_unique<World>();
    EXPECT_EQ(LoadTrack(*world, *rider, Stored(track).c_str()), FileLoad::Loaded);
    EXPECT_EQ(LoadRider(*rider, Stored(riderFile).c_str()), FileLoad::Loaded);
    RestartRider(*world, *rider);
    if (fromStart) RestoreStart(*world);
    std::string out;
    char line[96];
    auto print = [&](int step) {
      for (const BodyPoint& p : world->rider.points)
        out += (snprintf(line, sizeof line, "%d %d %.9g %.9g\n", step, p.id, double(p.x), double(p.y)), line);
    };
    if (steps == 0) print(0);
    size_t logged = LogLines().size();
    for (int step = 1; step <= steps; ++step) {
      StepRider(*world);
      const std::vector<std::string> lines = LogLines();
      for (size_t i = logged; i < lines.size(); ++i)
        if (lines[i].rfind("link crashed. k = ", 0) == 0) {
          ++*crashes;
          out += (snprintf(line, sizeof line, "%d CRASH %.5f\n", step, std::stod(lines[i].substr(18))), line);
        }
      logged = lines.size();
      if (step % every == 0 || step == steps) print(step);
    }
    snprintf(line, sizeof line, "hash %016llx\n", static_cast<unsigned long long>(HashBodyPositions(world->rider)));
    return out + line;
  }

  std::string Arg(const std::string& name) { return "'" + folder_.file(name) + "'"; }
};

}  // namespace

TEST_F(RideToolTest, EveryRideGivesTheSameOutputAsTheGamesOwnCallsOnEveryRun) {
  const struct { const char* track; const char* rider; int steps, every; bool fromStart; long lines; int crashes; } rides[] = {
      {"hills.track", "bike", 1500, 100, false, 15 * 20 + 1, 0},  // 20 points every 100 steps, the crashes, the hash
      {"hills.track", "bike", 700, 700, true, 20 + 1, 0},         // from the stored start: another ride
      {"hills.track", "bike", 0, 1, false, 20 + 1, 0},            // no steps: the start positions
      {"floor.track", "high", 600, 1000, false, 4 + 1, 3}};       // a drop from 2400 units breaks the box
  for (const auto& r : rides) {
    const std::string args = Arg(r.track) + " " + Arg(std::string("riders/") + r.rider + ".rider") + " --steps " +
                             std::to_string(r.steps) + " --every " + std::to_string(r.every) +
                             (r.fromStart ? " --from-start" : "");
    SCOPED_TRACE(args);
    const RideRun first = RunRide(args, folder_.file("err1"));
    const RideRun second = RunRide(args, folder_.file("err2"));
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_TRUE(first.out == second.out) << "bit-identical on every run";
    int crashes = 0;
    EXPECT_EQ(first.out, RideHere(r.track, std::string("riders\\") + r.rider + ".rider", r.steps, r.every, r.fromStart,
                                  &crashes));
    EXPECT_EQ(std::count(first.out.begin(), first.out.end(), '\n'), r.lines + crashes);
    EXPECT_GE(crashes, r.crashes);
  }
}

TEST_F(RideToolTest, ARefusedFileOrSectionAnEmptyTrackOrARiderNameOutsideItsFolderExitsOneWithTheGamesLines) {
  std::string damaged = folder_.read("hills.track");
  damaged[27] = char(0xc0);
  damaged[28] = char(0x7f);  // the first x1 becomes NaN
  folder_.write("damaged.track", damaged);
  folder_.write("riders/bad.rider", std::string("TOLK_RIDER_RIDER\0\xff\xff\xff\xff", 21));
  World world;
  CurrentRider rider;
  ASSERT_EQ(LoadTrack(world, rider, Stored("hills.track").c_str()), FileLoad::Loaded);
  ASSERT_TRUE(SaveTrack(world, rider, Stored("hills.demo").c_str()));
  folder_.write("demo-named.track", folder_.read("hills.demo"));
  std::string unknown = folder_.read("hills.track");
  unknown[17] = 9;  // the solid section's version word
  folder_.write("unknown.track", unknown);
  World bare;
  AddSceneryLine(bare, {0, 0}, {100, 0}, 1, 2, 3, 1);
  ASSERT_TRUE(SaveTrack(bare, rider, Stored("scenery.track").c_str()));
  snprintf(rider.path, sizeof rider.path, "..\\riders\\bike.rider");
  ASSERT_TRUE(SaveTrack(world, rider, Stored("outside.track").c_str()));
  const std::string bike = " " + Arg("riders/bike.rider");
  const std::string refused = "File of unknown format or damaged! Not loaded.\n";
  const std::string cheat = "Are you trying to cheat? or its just a mistake? Do not modify demo files, be honest!\n";
  const struct { std::string args; std::string err; } cases[] = {
      {Arg("damaged.track") + bike, refused},
      {Arg("missing.track"), "File not opened. User pressed cancel or file damaged\n"},
      {Arg("hills.track") + " " + Arg("riders/bad.rider"), refused},
      {Arg("demo-named.track") + bike, cheat + cheat + "velmora-ride: a section of the track was refused\n"},
      {Arg("unknown.track") + bike, "loading file: unknown format\nvelmora-ride: a section of the track was refused\n"},
      {Arg("scenery.track") + bike, "velmora-ride: the track has no solid line to ride on\n"},
      {Arg("outside.track"), "rider name leaves the program folder, not loaded: ..\\riders\\bike.rider\n"
                             "velmora-ride: the track names no rider that loads; give one\n"}};
  for (const auto& c : cases) {
    const RideRun run = RunRide(c.args, folder_.file("err"));
    EXPECT_EQ(run.status, 1) << c.args;
    EXPECT_TRUE(run.out.empty()) << c.args;
    EXPECT_EQ(run.err, c.err) << c.args;
  }
  for (const char* count : {"--steps -5", "--steps 99999999999999999999", "--every 99999999999999999999",
                            "--steps +5", "--every 0"}) {
    const RideRun usage = RunRide(Arg("hills.track") + " " + count, folder_.file("err"));
    EXPECT_EQ(usage.status, 2) << count;
    EXPECT_NE(usage.err.find("usage: velmora-ride"), std::string::npos) << count;
  }
}

// --help and --version answer on standard output and exit 0, before any file is looked for.
TEST_F(RideToolTest, HelpAndVersionAnswerOnStandardOutput) {
  const RideRun help = RunRide("--help", folder_.file("err"));
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("usage: velmora-ride TRACK", 0), 0u) << help.out;
  const RideRun version = RunRide("--version", folder_.file("err"));
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(std::regex_match(version.out, std::regex("velmora-ride [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
  EXPECT_EQ(help.err + version.err, "");
}
