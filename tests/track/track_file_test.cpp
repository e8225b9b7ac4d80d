#include "track/track_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "support/describe_game.h"
#include "support/game_files.h"
#include "track/world.h"

namespace {

constexpr const char* kRefused = "File of unknown format or damaged! Not loaded.";
constexpr const char* kNotOpened = "File not opened. User pressed cancel or file damaged";
constexpr const char* kCannotCreate = "Cannot create file. Not enough space or disk write protected";
constexpr const char* kCheatTitle =
    "Are you trying to cheat? or its just a mistake? Do not modify demo files, be honest!|";
constexpr const char* kTrackAsDemoTitle = "you are trying to load track file with demo extension!|";

// Stored little-endian fields and records, to build files by hand.
std::string U32(uint32_t value) { std::string bytes(4, '\0'); PutU32(bytes, 0, value); return bytes; }
std::string F32(float value) { uint32_t bits; memcpy(&bits, &value, 4); return U32(bits); }
const std::string kMagic("TOLK_RIDER_TRACK\0", 17);
// One stored solid line record (24 bytes) and one scenery record.
std::string Solid(float x1, float y1, float x2, float y2, float thickness, uint32_t kind) {
  return F32(x1) + F32(y1) + F32(x2) + F32(y2) + F32(thickness) + U32(kind);
}
std::string Scenery(float x1, float y1, float x2, float y2, const char* rgb) {
  return F32(x1) + F32(y1) + F32(x2) + F32(y2) + F32(1) + std::string(rgb, 3);  // 23 bytes, colour last
}
// A track of one solid line from (0, 0) to (100, 0), no scenery, no start state, naming a rider.
std::string OneLineTrack(const std::string& riderName) {
  return kMagic + U32(1) + U32(1) + Solid(0, 0, 100, 0, 1, 0) + U32(1) + U32(0) + std::string("\0", 1) +
         U32(uint32_t(riderName.size() + 1)) + riderName + '\0';
}

// A small rider: a box of four points on two wheels' worth of links, with a sprite.
void SaveSmallRider(const std::string& storedPath, float offsetX) {
  CurrentRider rider;
  Body body;
  BodyPoint* p[4];
  for (int i = 0; i < 4; ++i) p[i] = AddPoint(body, offsetX + (i == 1 || i == 2) * 30, i < 2 ? 20 : 50, 1, i < 2 ? 8 : 6, 1, 1, 0.0001f);
  for (auto [from, to] : {std::pair{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}}) AddLink(body, p[from], p[to], 1, 0, 1000, LinkKind::Spring);
  AttachSprite(body, &*std::next(body.links.begin(), 3), 15, 2, 0, 0, 10, 4, 0);
  AddAngleJoint(body, p[0], p[1], p[2], 80, 0.1f);
  TakeSnapshot(body, rider.snapshot);
  rider.focusPointId = 2;
  snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "sprites\\to.png");
  ASSERT_TRUE(SaveRider(rider, storedPath.c_str()));
}

struct Scene { World world; CurrentRider rider; };

class TrackFileTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    std::filesystem::create_directories(folder_.path / "riders");
    SaveSmallRider(Stored("riders\\small.rider"), 0);
    SaveSmallRider(Stored("riders\\other.rider"), 500);
  }

  // A world with a track, a rider on it that has run for a while, and (if asked) a stored start.
  std::unique_ptr<Scene> Made(bool withStart) {
    auto s = std::make_unique<Scene>();
    EXPECT_EQ(LoadRider(s->rider, Stored("riders\\small.rider").c_str()), FileLoad::Loaded);
    World& world = s->world;
    RestartRider(world, s->rider);
    AddSolidLine(world, {-200, 0}, {400, -100}, 1, LineKind::Normal);
    AddSolidLine(world, {400, -100}, {900, -120.5f}, 3.5f, LineKind::BoostForward);
    AddSolidLine(world, {900, -120.5f}, {1000, 40}, 0, LineKind::BoostBackward);
    AddSolidLine(world, {-3000.25f, 7}, {-2500, 7}, 2, LineKind(7));
    AddSceneryLine(world, {0, 100}, {50, 150}, 255, 128, 3, 1.5f);
    AddSceneryLine(world, {-10, -10}, {-60, 20}, 0, 0, 0, 6);
    for (int i = 0; i < 30; ++i) StepRider(world);
    if (withStart) StoreStart(world);
    return s;
  }

  // A different world and rider, so a refused load is seen to leave them alone.
  std::unique_ptr<Scene> Before() {
    auto s = std::make_unique<Scene>();
    EXPECT_EQ(LoadRider(s->rider, Stored("riders\\other.rider").c_str()), FileLoad::Loaded);
    RestartRider(s->world, s->rider);
    AddSolidLine(s->world, {0, 0}, {10, 10}, 1, LineKind::Normal);
    AddSceneryLine(s->world, {1, 2}, {3, 4}, 9, 8, 7, 1);
    StoreStart(s->world);
    return s;
  }

  FileLoad Load(Scene& s, const std::string& name, bool* restarted = nullptr) {
    return LoadTrack(s.world, s.rider, Stored(name).c_str(), restarted);
  }
  bool Save(const Scene& s, const std::string& name) { return SaveTrack(s.world, s.rider, Stored(name).c_str()); }
  static std::string State(const Scene& s) {
    return DescribeWorld(s.world) + "current rider:\n" + DescribeRider(s.rider);
  }

  // The file, loaded over another game, is refused whole (or, too short for its magic, not
  // opened) and leaves that game as it was.
  void ExpectRefused(const std::string& name, const std::string& what, bool unopened = false) {
    auto s = Before();
    const std::string before = State(*s);
    EXPECT_EQ(Load(*s, name), unopened ? FileLoad::NotOpened : FileLoad::Refused) << what;
    EXPECT_EQ(LastLogLine(), unopened ? kNotOpened : kRefused) << what;
    EXPECT_EQ(State(*s), before) << what;
  }
};

}  // namespace

TEST_F(TrackFileTest, SavedTrackLoadsBackSavesToTheSameBytesAndItsVersionWordsMustMatchTheName) {
  auto source = Made(true);
  ASSERT_TRUE(Save(*source, "round.track"));
  EXPECT_TRUE(Logged("Saving track:" + Stored("round.track")));
  const std::string bytes = folder_.read("round.track");
  EXPECT_FALSE(std::filesystem::exists(folder_.path / "round.track.saving"));

  auto loaded = Before();
  EXPECT_EQ(Load(*loaded, "round.track"), FileLoad::Loaded);
  EXPECT_EQ(LastLogLine(), "Track loaded");
  // Lines in list order, the start state and its flag, the named rider, restarted from its file.
  // (The loading lines' words: Startup.ANewPlayersWholeRoad, through CONTINUE.)
  RestartRider(source->world, source->rider);
  EXPECT_EQ(State(*loaded), State(*source));
  ASSERT_TRUE(Save(*loaded, "again.track"));
  EXPECT_EQ(folder_.read("again.track"), bytes);

  // The same track as a demonstration file: version 2 and the other field order, x1 y1 thickness
  // kind x2 y2 for a solid line and r g b first for scenery; start state and rider name as in a track.
  // What a demo's save logs: MessagesTest.EachOutcomeShowsItsLogLine.
  ASSERT_TRUE(Save(*source, "round.demo"));
  std::string demo = bytes.substr(0, 17) + U32(2) + U32(4);
  for (size_t at = 25; at < 25 + 4 * 24; at += 24) demo += bytes.substr(at, 8) + bytes.substr(at + 16, 8) + bytes.substr(at + 8, 8);
  demo += U32(2) + U32(2);
  for (size_t at = 129; at < 129 + 2 * 23; at += 23) demo += bytes.substr(at + 20, 3) + bytes.substr(at, 20);
  EXPECT_EQ(folder_.read("round.demo"), demo + bytes.substr(129 + 46));

  auto watched = std::make_unique<Scene>();
  EXPECT_EQ(Load(*watched, "round.demo"), FileLoad::Loaded);
  EXPECT_EQ(watched->world.demoLoaded, 1);
  EXPECT_EQ(DescribeLines(watched->world), DescribeLines(source->world));
  const size_t logged = LogLines().size();
  EXPECT_FALSE(Save(*watched, "never.track")) << "a demo is never saved";
  EXPECT_FALSE(std::filesystem::exists(folder_.path / "never.track"));
  EXPECT_EQ(LogLines().size(), logged) << "without a message";

  // Version words that contradict the file's name refuse their section, one message box each; a
  // version word the game does not know refuses its section with a log line and no box. The rest
  // of the file still reads in place.
  folder_.write("demo-named.track", folder_.read("round.demo"));
  folder_.write("track-named.demo", bytes);
  std::string unknown = bytes;
  PutU32(unknown, 17, 7);
  folder_.write("unknown.track", unknown);
  const struct { const char* name; std::vector<std::string> boxes; int scenery, demo; } cases[] = {
      {"demo-named.track", {kCheatTitle, kCheatTitle}, 0, 0},
      {"track-named.demo", {kTrackAsDemoTitle, kTrackAsDemoTitle}, 0, 1},
      {"unknown.track", {}, 2, 0}};               // the scenery section is the file's own
  auto s = Before();
  for (const auto& c : cases) {
    ShownMessageBoxes().clear();
    EXPECT_EQ(Load(*s, c.name), FileLoad::Loaded) << c.name;
    EXPECT_EQ(ShownMessageBoxes(), c.boxes) << c.name;
    EXPECT_EQ(std::pair(s->world.solidLineCount, s->world.sceneryLineCount), std::pair(0, c.scenery)) << c.name;
    EXPECT_EQ(s->world.demoLoaded, c.demo) << c.name;
    EXPECT_EQ(s->world.startFlagSet, 1) << c.name;
    EXPECT_STREQ(s->rider.path, "riders\\small.rider") << c.name;
    EXPECT_EQ(LastLogLine(), "Track loaded") << c.name;
  }
  EXPECT_TRUE(Logged("loading file: unknown format"));
}

TEST_F(TrackFileTest, NothingToSaveWritesNothingAndCancelLogsIt) {
  Scene s;
  const size_t logged = LogLines().size();
  EXPECT_FALSE(Save(s, "empty.track"));
  EXPECT_FALSE(std::filesystem::exists(folder_.path / "empty.track"));
  EXPECT_EQ(LogLines().size(), logged) << "an empty world saves silently";
  AddSolidLine(s.world, {0, 0}, {50, 0}, 1, LineKind::Normal);
  EXPECT_FALSE(SaveTrack(s.world, s.rider, ""));
  EXPECT_EQ(LastLogLine(), "Saving cancelled");
  EXPECT_EQ(LoadTrack(s.world, s.rider, ""), FileLoad::Cancelled);
  EXPECT_EQ(LastLogLine(), "Loading cancelled");
  for (const char* demo : {"x.demo", "demo"}) EXPECT_TRUE(IsDemoPath(demo)) << demo;
  for (const char* track : {"x.DEMO", "emo", "x.demo.track"}) EXPECT_FALSE(IsDemoPath(track)) << track;
}

TEST_F(TrackFileTest, OnlyCleanEndsOfTheOptionalItemsLoadAndEveryOtherCutChangesNothing) {
  for (bool withStart : {true, false}) {
    auto source = Made(withStart);
    ASSERT_TRUE(Save(*source, "whole.track"));
    const std::string whole = folder_.read("whole.track");
    const size_t afterScenery = 17 + 8 + 24 * 4 + 8 + 23 * 2;
    const size_t afterStart = whole.size() - (4 + strlen("riders\\small.rider") + 1);
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
      SCOPED_TRACE(testing::Message() << "cut at " << cut << (withStart ? " with" : " without") << " start");
      folder_.write("cut.track", whole.substr(0, cut));
      const bool noStart = cut == afterScenery || (!withStart && cut == afterScenery + 1);
      if (!noStart && cut != afterStart && cut != whole.size()) {
        ExpectRefused("cut.track", "", cut <= 17);
        if (HasFailure()) return;  // one report, not one per cut
        continue;
      }
      auto s = Before();
      EXPECT_EQ(Load(*s, "cut.track"), FileLoad::Loaded);
      EXPECT_EQ(LastLogLine(), "Track loaded");
      EXPECT_EQ(DescribeLines(s->world), DescribeLines(source->world));
      EXPECT_EQ(s->world.startFlagSet, !noStart && withStart ? 1 : 0) << "start flag cleared without a start";
      if (noStart) {
        EXPECT_STREQ(s->rider.path, "riders\\other.rider") << "rider kept";
      } else if (withStart) {
        EXPECT_EQ(DescribeSnapshot(s->world.startSnapshot), DescribeSnapshot(source->world.startSnapshot));
      }
      EXPECT_TRUE(cut != whole.size() || strcmp(s->rider.path, "riders\\small.rider") == 0) << s->rider.path;
    }
  }
}

TEST_F(TrackFileTest, DamagedValuesAreRefusedWholeWithTheWorldAndRiderUnchanged) {
  ASSERT_TRUE(Save(*Made(true), "good.track"));
  const std::string good = folder_.read("good.track");
  const size_t solidAt = 25, sceneryCountAt = 25 + 96 + 4, sceneryAt = sceneryCountAt + 4;
  const size_t flagAt = sceneryAt + 46, pointCountAt = flagAt + 1, pointAt = pointCountAt + 4;
  const size_t linkCountAt = pointAt + 4 * 37, linkAt = linkCountAt + 4;
  const size_t nameAt = good.size() - (4 + strlen("riders\\small.rider") + 1);
  ASSERT_EQ(good.substr(nameAt, 4), U32(19));
  ASSERT_EQ(good.substr(pointCountAt, 4), U32(4));

  const float nan = std::numeric_limits<float>::quiet_NaN();
  auto damaged = [&](const std::string& what, auto change) {
    std::string bytes = good;
    change(bytes);
    folder_.write("bad.track", bytes);
    ExpectRefused("bad.track", what);
  };
  // The start state is read as a rider file's body is, so its values are damaged in the rider
  // file's tests; two here show that the track is refused whole with it.
  const struct { const char* what; size_t at; uint32_t value; } words[] = {
      {"huge solid count", solidAt - 4, 0x7fffffff}, {"solid count one too many", solidAt - 4, 40},
      {"huge scenery count", sceneryCountAt, 0x10000000}, {"huge start point count", pointCountAt, 0x7ffffff0},
      {"dangling link end", linkAt, 12345}, {"huge rider name", nameAt, 0xffffffff},
      {"rider name longer than the file", nameAt, 20}, {"rider name without its zero", nameAt, 18},
      {"rider name of length 0", nameAt, 0}};
  for (const auto& w : words) damaged(w.what, [&](std::string& b) { PutU32(b, w.at, w.value); });
  const struct { const char* what; size_t at; float value; } floats[] = {
      {"NaN solid x1", solidAt, nan}, {"infinite solid y2", solidAt + 24 + 12, -INFINITY},
      {"NaN thickness", solidAt + 16, nan}, {"thickness beyond 2^16", solidAt + 16, 70000},
      {"infinite scenery x2", sceneryAt + 23 + 8, INFINITY}, {"scenery thickness beyond 2^16", sceneryAt + 16, 1e9f}};
  for (const auto& f : floats) damaged(f.what, [&](std::string& b) { PutF32(b, f.at, f.value); });
  damaged("flipped magic", [](std::string& b) { b[0] ^= 1; });
  damaged("magic without its zero", [](std::string& b) { b[16] = 'X'; });
  damaged("rider name over 255 characters",
          [&](std::string& b) { b = b.substr(0, nameAt) + U32(301) + std::string(300, 'r') + '\0'; });
  EXPECT_TRUE(ShownMessageBoxes().empty());
}

TEST_F(TrackFileTest, LinesThatCannotBeAddedAreSkippedWithOneLineAndTheRestLoads) {
  // Good, zero length, too far out, negative thickness, thickest allowed; zero-length and good scenery.
  folder_.write("odd.track", kMagic + U32(1) + U32(5) + Solid(0, 0, 100, 0, 1, 0) + Solid(5, 5, 5, 5, 1, 0) +
                                 Solid(1e8f, 0, 0, 0, 1, 0) + Solid(0, 10, 50, 10, -1, 1) +
                                 Solid(100, 0, 200, -20, 65536, 2) + U32(1) + U32(2) + Scenery(0, 0, 0, 0, "\1\2\3") +
                                 Scenery(0, 0, 9, 9, "\4\5\6"));
  auto s = Before();
  const World& world = s->world;
  EXPECT_EQ(Load(*s, "odd.track"), FileLoad::Loaded);
  EXPECT_EQ(world.solidLineCount, 2);
  EXPECT_EQ(world.sceneryLineCount, 1);
  EXPECT_EQ(world.solidLines.front().x2, 100.0f);
  EXPECT_EQ(world.solidLines.back().thickness, 65536.0f);
  EXPECT_EQ(world.sceneryLines.front().b, 6);
  EXPECT_TRUE(Logged("4 lines skipped: zero length, too far out or bad thickness"));

  // Counts of zero or below mean no records.
  folder_.write("none.track", kMagic + U32(1) + U32(0xfffffffb) + U32(1) + U32(0x80000000u) + std::string("\0", 1));
  EXPECT_EQ(Load(*s, "none.track"), FileLoad::Loaded);
  EXPECT_EQ(world.solidLineCount + world.sceneryLineCount, 0);
}

TEST_F(TrackFileTest, ARiderNameThatDoesNotFitBesideTheExecFolderIsRefusedNotCut) {
  const std::string name(255, 'n');
  folder_.write("long.track", OneLineTrack(name));
  auto s = Before();
  EXPECT_EQ(Load(*s, "long.track"), FileLoad::Loaded);
  EXPECT_TRUE(Logged("path too long: " + std::string(ExecFolder()) + "\\" + name));
  EXPECT_FALSE(Logged("Loading rider:" + Stored(name.substr(0, 200))));
  EXPECT_STREQ(s->rider.path, "riders\\other.rider");
  EXPECT_EQ(s->world.solidLineCount, 1);

  // A rider kept without a path (it lies outside the exec folder) is saved as the empty name,
  // L = 1: the zero alone, which loads as no stored rider: the rider in use stays and is not restarted.
  s->rider.path[0] = 0;
  ASSERT_TRUE(Save(*s, "nameless.track"));
  EXPECT_EQ(folder_.read("nameless.track"), OneLineTrack(""));
  auto kept = Before();
  const std::string riderBefore = DescribeRider(kept->rider);
  bool restarted = true;
  EXPECT_EQ(Load(*kept, "nameless.track", &restarted), FileLoad::Loaded);
  EXPECT_FALSE(restarted);
  EXPECT_EQ(DescribeRider(kept->rider), riderBefore);
  EXPECT_FALSE(Logged("Loading rider:" + std::string(ExecFolder()) + "\\"));
}

TEST_F(TrackFileTest, ATrackWhoseLinesNeedTooManyGridCellsIsRefusedBeforeAnyIsListed) {
  // Corner to corner of the world: the longest line the pencil can draw.
  const float m = kMaxLineCoordinate;
  const std::string kTooLong = "track lines need more than 2097152 grid cells: too long to load";
  auto repeat = [](const std::string& record, int times) { std::string out; while (times--) out += record; return out; };
  const std::string longest = Solid(-m, -m, m, m, 1, 0), scenery = Scenery(-m, m, m, -m, "\1\2\3");
  auto s = Before();
  folder_.write("long.track", kMagic + U32(1) + U32(1) + longest + U32(1) + U32(0));
  EXPECT_EQ(Load(*s, "long.track"), FileLoad::Loaded) << "one longest line";
  EXPECT_FALSE(Logged(kTooLong));
  const struct { const char* what; std::string sections; } cases[] = {
      {"ten of them", U32(1) + U32(10) + repeat(longest, 10) + U32(1) + U32(0)},
      {"twenty longest scenery lines", U32(1) + U32(0) + U32(1) + U32(20) + repeat(scenery, 20)},
      {"seven of each", U32(1) + U32(7) + repeat(longest, 7) + U32(1) + U32(7) + repeat(scenery, 7)}};
  for (const auto& c : cases) {
    folder_.write("long.track", kMagic + c.sections);
    ExpectRefused("long.track", c.what);
    EXPECT_EQ(LogLines().end()[-2], kTooLong) << c.what;
  }
}

TEST_F(TrackFileTest, AFailedSaveKeepsTheOldTrackAndNeverSaysSaved) {
  auto s = Made(true);
  const std::string target = Stored("keep.track");
  folder_.write("keep.track", "the player's old track");
  for (uint32_t limit : {0u, 17u, 200u}) {
    static uint32_t failAfter;
    failAfter = limit;
    SetSaveWriterMaker([](const char* path) -> std::unique_ptr<FileWriter> {
      return std::make_unique<FailingWriter>(path, failAfter);
    });
    EXPECT_FALSE(Save(*s, "keep.track")) << limit;
    EXPECT_EQ(LastLogLine(), kCannotCreate) << limit;
    EXPECT_FALSE(Logged("Track saved:" + target)) << limit;
    EXPECT_EQ(folder_.read("keep.track"), "the player's old track") << limit;
    EXPECT_FALSE(std::filesystem::exists(folder_.path / "keep.track.saving")) << limit;
  }
  SetSaveWriterMaker(nullptr);

  // A folder that cannot take the temporary file: write-protected for us, or (as root, who may
  // write anywhere) a folder standing where the temporary file would go.
  std::filesystem::create_directories(folder_.path / "locked");
  folder_.write("locked/old.track", "old");
  std::filesystem::permissions(folder_.path / "locked", std::filesystem::perms::owner_read |
                                                            std::filesystem::perms::owner_exec);
  if (FILE* probe = fopen((folder_.path / "locked/probe").c_str(), "wb")) {
    fclose(probe);
    std::filesystem::remove(folder_.path / "locked/probe");
    std::filesystem::create_directories(folder_.path / "locked/old.track.saving/x");
  }
  EXPECT_FALSE(Save(*s, "locked\\old.track"));
  EXPECT_EQ(LastLogLine(), kCannotCreate);
  EXPECT_EQ(folder_.read("locked/old.track"), "old");
  std::filesystem::permissions(folder_.path / "locked", std::filesystem::perms::owner_all);

  ASSERT_TRUE(Save(*s, "keep.track")) << "and a sound disk saves";
  EXPECT_EQ(LastLogLine(), "Track saved:" + target);
  EXPECT_NE(folder_.read("keep.track"), "the player's old track");
}
