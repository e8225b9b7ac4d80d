// Undo and redo against a world rebuilt from the actions that survive: after thousands of random
// strokes, erasures, clears, flags, rider changes, loads, undos and redos the track saves to the
// same bytes, every grid cell lists the same lines in the same order, and the rider rides the same.
#include "track/track_history.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "rider/simulation.h"
#include "tests/rider/test_riders.h"
#include "tests/support/game_files.h"
#include "track/track_file.h"
#include "track/track_scene.h"

namespace {

// One player action, kept so that a reference world can be built from the actions that remain.
struct Action {
  enum Kind { Stroke, Erase, Clear } kind;
  bool scenery;
  Vec2 a, b;                                      // a stroke's ends, or the eraser's centre and (radius, 0)
};

void Perform(World& world, const Action& action) {
  switch (action.kind) {
    case Action::Stroke:
      action.scenery ? AddSceneryLine(world, action.a, action.b, 10, 200, 30, 2.0f)
                     : AddSolidLine(world, action.a, action.b, 1.0f, LineKind::Normal);
      break;
    case Action::Erase:
      action.scenery ? EraseSceneryLines(world, action.a, action.b.x) : EraseSolidLines(world, action.a, action.b.x);
      break;
    case Action::Clear:
      ClearSolidLines(world);
      ClearSceneryLines(world);
      break;
  }
}

// Every existing cell of the solid grid with its lines' ends, in the cell's order.
std::string DescribeGrid(const World& world) {
  std::map<std::pair<int, int>, std::string> cells;
  for (const auto& [row, gridRow] : world.grid.rows)
    for (const auto& [column, cell] : gridRow.cells) {
      std::ostringstream out;
      for (LineId id : cell.lines) {
        const SolidLine& line = world.solidLines[size_t(id)];
        out << line.x1 << ',' << line.y1 << ',' << line.x2 << ',' << line.y2 << ' ';
      }
      cells[{row, column}] = out.str();
    }
  std::ostringstream all;
  for (const auto& [key, lines] : cells) all << key.first << ':' << key.second << '=' << lines << '\n';
  return all.str();
}

std::vector<uint8_t> Saved(const World& world) {
  CurrentRider rider;
  std::vector<uint8_t> bytes;
  EncodeTrackFile(world, rider, false, &bytes);
  return bytes;
}

uint64_t RideHash(World& world) {
  BuildTestRider(world.rider, 0.0f, 40.0f);
  for (int i = 0; i < 300; ++i) StepRider(world);
  return HashBodyPositions(world.rider);
}

}  // namespace

TEST(TrackHistory, UndoAndRedoGiveTheWorldOfTheSurvivingActions) {
  std::mt19937 random(3);
  auto coordinate = [&](float span) { return float(int(random() % 2001) - 1000) * span / 1000.0f; };
  World world;
  BuildTestTrack(world);
  TrackHistory history;
  CurrentRider rider;
  std::vector<Action> done, undone;
  for (int round = 0; round < 3000; ++round) {
    const unsigned roll = random() % 100;
    if (roll < 15) {
      EXPECT_EQ(UndoTrackAction(history, world, rider) != Undone::Nothing, !done.empty());
      if (!done.empty()) undone.push_back(done.back()), done.pop_back();
    } else if (roll < 27) {
      EXPECT_EQ(RedoTrackAction(history, world, rider) != Undone::Nothing, !undone.empty());
      if (!undone.empty()) done.push_back(undone.back()), undone.pop_back();
    } else {
      Action action{roll < 29 ? Action::Clear : roll < 45 ? Action::Erase : Action::Stroke, random() % 3 == 0,
                    {coordinate(1500), coordinate(600)}, {coordinate(1500), coordinate(600)}};
      if (action.kind == Action::Erase) action.b = {10.0f + float(random() % 90), 0.0f};
      const size_t before = history.done.size();
      BeginTrackAction(history, world);
      Perform(world, action);
      EndTrackAction(history, world, rider);
      // A stroke too short to keep, or an eraser that met nothing, is no action.
      if (history.done.size() == before) continue;
      done.push_back(action);
      undone.clear();
    }
    if (round % 250 != 249) continue;
    World reference;
    BuildTestTrack(reference);
    for (const Action& action : done) Perform(reference, action);
    ASSERT_EQ(Saved(world), Saved(reference)) << "round " << round;
    ASSERT_EQ(DescribeGrid(world), DescribeGrid(reference)) << "round " << round;
    ASSERT_EQ(RideHash(world), RideHash(reference)) << "round " << round;
  }
}

// An action that changed nothing keeps what could be done again (that a new action drops it is
// the random test's); the oldest actions go first when the history outgrows its bound.
TEST(TrackHistory, AnEmptyActionKeepsTheRedoBranchAndTheBoundDropsTheOldest) {
  World world;
  TrackHistory history;
  CurrentRider rider;
  history.mostBytes = 3 * sizeof(LineEvent);
  for (int i = 0; i < 5; ++i) {
    BeginTrackAction(history, world);
    AddSolidLine(world, {float(i) * 100, 0}, {float(i) * 100 + 50, 0}, 1.0f, LineKind::Normal);
    EndTrackAction(history, world, rider);
  }
  EXPECT_EQ(history.done.size(), 3u);
  EXPECT_LE(history.bytes, history.mostBytes);
  ASSERT_EQ(UndoTrackAction(history, world, rider), Undone::Lines);
  BeginTrackAction(history, world);
  EndTrackAction(history, world, rider);
  EXPECT_EQ(history.undone.size(), 1u) << "an action that changed nothing keeps the redo branch";
}

// The same at the track screen's level, with the actions that change what the ride starts from:
// flags set on a ridden pose, riders changed, tracks and demos loaded, the whole track cleared.
class TrackSceneHistory : public GameFilesTest {
 protected:
  struct SceneAction {
    enum Kind { Stroke, Flag, Rider, Load, Clear } kind;
    Vec2 a, b;                                    // a stroke's ends
    int choice;                                   // steps before the flag, the rider or the file
  };

  void SetUp() override {
    GameFilesTest::SetUp();
    std::filesystem::create_directories(folder_.path / "riders");
    for (int i = 0; i < 2; ++i) {
      CurrentRider rider;
      Body body;
      BuildTestRider(body, float(i) * 30.0f, 40.0f + float(i) * 20.0f);
      TakeSnapshot(body, rider.snapshot);
      rider.focusPointId = i * 3;
      ASSERT_TRUE(SaveRider(rider, folder_.file("riders/r" + std::to_string(i) + ".rider").c_str()));
    }
    TrackScene source;
    BuildTestTrack(source.world);
    LoadRider(source.rider, folder_.file("riders/r1.rider").c_str());
    RestartRiderFromScratch(source);
    StoreStart(source.world);
    for (const char* name : {"hills.track", "hills.demo"})
      ASSERT_TRUE(SaveTrack(source.world, source.rider, folder_.file(name).c_str()));
  }

  void Perform(TrackScene& scene, const SceneAction& action) {
    switch (action.kind) {
      case SceneAction::Stroke:
        BeginLineEdit(scene);
        AddSolidLine(scene.world, action.a, action.b, 1.0f, LineKind::Normal);
        EndTrackEdit(scene);
        break;
      case SceneAction::Flag:
        RestartRiderFromScratch(scene);
        for (int i = 0; i < action.choice; ++i) StepRider(scene.world);
        SetStartFlag(scene);
        break;
      case SceneAction::Rider:
        BeginSetupEdit(scene);
        LoadRider(scene.rider, folder_.file("riders/r" + std::to_string(action.choice % 2) + ".rider").c_str());
        RideNewRider(scene);
        EndTrackEdit(scene);
        break;
      case SceneAction::Load:
        LoadTrackFile(scene, folder_.file(action.choice % 2 ? "hills.demo" : "hills.track").c_str());
        break;
      case SceneAction::Clear:
        BeginSetupEdit(scene);
        ResetTrackWorld(scene);
        EndTrackEdit(scene);
        break;
    }
  }

  // The saved track (lines, start, rider name), the rider in use, the demo mark and the ride.
  static std::string Describe(TrackScene& scene) {
    std::vector<uint8_t> track, rider;
    EncodeTrackFile(scene.world, scene.rider, false, &track);
    EncodeRiderFile(scene.rider, &rider);
    RestartRiderFromScratch(scene);
    RestoreTrackStart(scene);
    for (int i = 0; i < 200; ++i) StepRider(scene.world);
    return std::string(track.begin(), track.end()) + "|" + std::string(rider.begin(), rider.end()) + "|" +
           std::to_string(scene.world.demoLoaded) + "|" + std::to_string(HashBodyPositions(scene.world.rider));
  }
};

TEST_F(TrackSceneHistory, UndoAndRedoGiveTheSceneOfTheSurvivingActions) {
  std::mt19937 random(11);
  auto coordinate = [&](float span) { return float(int(random() % 2001) - 1000) * span / 1000.0f; };
  TrackScene scene;
  std::vector<SceneAction> done, undone;
  for (int round = 0; round < 600; ++round) {
    const unsigned roll = random() % 100;
    if (roll < 18) {
      EXPECT_EQ(UndoTrackEdit(scene) != Undone::Nothing, !done.empty());
      if (!done.empty()) undone.push_back(done.back()), done.pop_back();
    } else if (roll < 30) {
      EXPECT_EQ(RedoTrackEdit(scene) != Undone::Nothing, !undone.empty());
      if (!undone.empty()) done.push_back(undone.back()), undone.pop_back();
    } else {
      const SceneAction::Kind kind = roll < 60   ? SceneAction::Stroke
                                     : roll < 72 ? SceneAction::Flag
                                     : roll < 84 ? SceneAction::Rider
                                     : roll < 95 ? SceneAction::Load
                                                 : SceneAction::Clear;
      const SceneAction action{kind, {coordinate(1500), coordinate(600)}, {coordinate(1500), coordinate(600)},
                               int(random() % 40)};
      const size_t before = scene.history.done.size();
      Perform(scene, action);
      if (scene.history.done.size() == before) continue;
      done.push_back(action);
      undone.clear();
    }
    if (round % 60 != 59) continue;
    TrackScene reference;
    for (const SceneAction& action : done) Perform(reference, action);
    ASSERT_EQ(Describe(scene), Describe(reference)) << "round " << round;
  }
}
