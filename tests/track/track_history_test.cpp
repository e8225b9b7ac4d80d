// Undo and redo against a world rebuilt from the actions that survive: after thousands of random
// strokes, erasures, clears, undos and redos the track saves to the same bytes, every grid cell
// lists the same lines in the same order, and the test rider rides the same.
#include "track/track_history.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/simulation.h"
#include "tests/rider/test_riders.h"
#include "track/track_file.h"

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
  std::vector<Action> done, undone;
  for (int round = 0; round < 3000; ++round) {
    const unsigned roll = random() % 100;
    if (roll < 15) {
      EXPECT_EQ(UndoTrackAction(history, world), !done.empty());
      if (!done.empty()) undone.push_back(done.back()), done.pop_back();
    } else if (roll < 27) {
      EXPECT_EQ(RedoTrackAction(history, world), !undone.empty());
      if (!undone.empty()) done.push_back(undone.back()), undone.pop_back();
    } else {
      Action action{roll < 29 ? Action::Clear : roll < 45 ? Action::Erase : Action::Stroke, random() % 3 == 0,
                    {coordinate(1500), coordinate(600)}, {coordinate(1500), coordinate(600)}};
      if (action.kind == Action::Erase) action.b = {10.0f + float(random() % 90), 0.0f};
      const size_t before = history.done.size();
      BeginTrackAction(history, world);
      Perform(world, action);
      EndTrackAction(history, world);
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

// A new action after undos drops what could have been done again; the oldest actions go first
// when the history outgrows its bound.
TEST(TrackHistory, NewActionsDropTheRedoBranchAndTheBoundDropsTheOldest) {
  World world;
  TrackHistory history;
  history.mostBytes = 3 * sizeof(LineEvent);
  for (int i = 0; i < 5; ++i) {
    BeginTrackAction(history, world);
    AddSolidLine(world, {float(i) * 100, 0}, {float(i) * 100 + 50, 0}, 1.0f, LineKind::Normal);
    EndTrackAction(history, world);
  }
  EXPECT_EQ(history.done.size(), 3u);
  EXPECT_LE(history.bytes, history.mostBytes);
  ASSERT_TRUE(UndoTrackAction(history, world));
  BeginTrackAction(history, world);
  EndTrackAction(history, world);
  EXPECT_EQ(history.undone.size(), 1u) << "an action that changed nothing keeps the redo branch";
  BeginTrackAction(history, world);
  AddSolidLine(world, {0, 100}, {50, 100}, 1.0f, LineKind::Normal);
  EndTrackAction(history, world);
  EXPECT_FALSE(RedoTrackAction(history, world));
  EXPECT_EQ(SolidLineCount(world), 5);
}
