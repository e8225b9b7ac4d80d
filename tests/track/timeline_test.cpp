// The ride's timeline against straight rides: every step shown after scrubbing in any order is
// the straight ride's, crash lines are written once, edits drop only what they can change, and
// the checkpoints keep to their memory bound.
#include "track/timeline.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "rider/simulation.h"
#include "shell/log.h"
#include "tests/rider/test_riders.h"

namespace {

int& CrashLines() {
  static int lines = 0;
  return lines;
}

// The test rider on the test track, with the crash lines counted.
struct Ride {
  World world;
  Timeline timeline;
  Ride() {
    BuildTestTrack(world);
    BuildTestRider(world.rider, 0.0f, 40.0f);
    CrashLines() = 0;
    SetLogListener([](const char* text) { CrashLines() += std::string(text).starts_with("link crashed"); });
  }
  ~Ride() { SetLogListener(nullptr); }
};

// A drag as the point-drag tool makes it: the first point pulled up and right, at rest.
void Drag(Body& body) {
  BodyPoint& point = body.points.front();
  point.x += 30.0f, point.y += 50.0f, point.prevX = point.x, point.prevY = point.y;
}

// Hashes of the straight ride, step 0 first, with the drag at dragStep (-1: none).
std::vector<uint64_t> StraightRide(int steps, int dragStep, int* crashes,
                                   const std::function<void(World&)>& edit = nullptr) {
  Ride ride;
  if (edit) edit(ride.world);
  std::vector<uint64_t> hashes{HashBodyPositions(ride.world.rider)};
  for (int i = 1; i <= steps; ++i) {
    if (i - 1 == dragStep) Drag(ride.world.rider);
    StepRider(ride.world);
    hashes.push_back(HashBodyPositions(ride.world.rider));
  }
  *crashes = CrashLines();
  return hashes;
}

constexpr int kSteps = 3000;

}  // namespace

TEST(Timeline, AnyStepInAnyOrderIsTheStraightRideWithItsDrag) {
  int crashes = 0;
  const std::vector<uint64_t> straight = StraightRide(kSteps, 700, &crashes);
  ASSERT_GT(crashes, 0) << "the test ride crashes, so logging can be checked";
  Ride ride;
  StartTimeline(ride.timeline, ride.world);
  JumpTimeline(ride.timeline, ride.world, 700);
  Drag(ride.world.rider);
  PinTimeline(ride.timeline, ride.world);
  std::mt19937 random(7);
  for (int jump = 0; jump < 80; ++jump) {
    const int target = int(random() % (kSteps + 1));
    JumpTimeline(ride.timeline, ride.world, target);
    ASSERT_EQ(HashBodyPositions(ride.world.rider), straight[size_t(target)]) << "step " << target;
  }
  JumpTimeline(ride.timeline, ride.world, kSteps);
  EXPECT_EQ(HashBodyPositions(ride.world.rider), straight[kSteps]);
  EXPECT_EQ(CrashLines(), crashes) << "each crash line once, however often its step is passed";
  EXPECT_LE(ride.timeline.checkpoints.size(), size_t(kSteps / kCheckpointSpacing + 2));
}

// An edit far from the ride keeps every checkpoint; a wall in its path drops those after the
// interval that looked there, and the ride from then on is the edited track's.
TEST(Timeline, EditsDropOnlyWhatTheyCanChange) {
  Ride ride;
  StartTimeline(ride.timeline, ride.world);
  JumpTimeline(ride.timeline, ride.world, 1500);
  const size_t kept = ride.timeline.checkpoints.size();
  AddSolidLine(ride.world, {90000, 90000}, {90400, 90000}, 1.0f, LineKind::Normal);
  ApplyLineEdits(ride.timeline, ride.world);
  EXPECT_EQ(ride.timeline.checkpoints.size(), kept);
  EXPECT_EQ(ride.timeline.furthest, 1500);

  // A wall just ahead of where the rider is 400 steps in.
  JumpTimeline(ride.timeline, ride.world, 400);
  const BodyPoint& at400 = ride.world.rider.points.front();
  const float x = at400.x + 80.0f, y = at400.y;
  JumpTimeline(ride.timeline, ride.world, 300);
  auto wall = [x, y](World& world) { AddSolidLine(world, {x, y - 300}, {x, y + 300}, 40.0f, LineKind::Normal); };
  int crashes = 0;
  const std::vector<uint64_t> walled = StraightRide(1500, -1, &crashes, wall);
  wall(ride.world);
  ApplyLineEdits(ride.timeline, ride.world);
  EXPECT_LT(ride.timeline.checkpoints.size(), kept);
  EXPECT_GE(ride.timeline.furthest, 256) << "the ride before the wall is kept";
  EXPECT_LE(ride.timeline.furthest, 400);
  EXPECT_EQ(ride.timeline.step, 300) << "the step shown is ridden again";
  EXPECT_EQ(HashBodyPositions(ride.world.rider), walled[300]);
  for (int target : {1499, 200, 900}) {
    JumpTimeline(ride.timeline, ride.world, target);
    EXPECT_EQ(HashBodyPositions(ride.world.rider), walled[size_t(target)]) << target;
  }
}

TEST(Timeline, CheckpointsKeepToTheirMemory) {
  int crashes = 0;
  const std::vector<uint64_t> straight = StraightRide(kSteps, -1, &crashes);
  Ride ride;
  ride.timeline.mostBytes = 20000;
  StartTimeline(ride.timeline, ride.world);
  JumpTimeline(ride.timeline, ride.world, kSteps);
  EXPECT_LE(CheckpointBytes(ride.timeline), 20000u);
  EXPECT_GT(ride.timeline.spacing, kCheckpointSpacing);
  for (int target : {2999, 1, 1777, 512}) {
    JumpTimeline(ride.timeline, ride.world, target);
    EXPECT_EQ(HashBodyPositions(ride.world.rider), straight[size_t(target)]) << target;
  }
}
