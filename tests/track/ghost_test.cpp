#include "track/ghost.h"

#include <gtest/gtest.h>

#include <memory>

#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "track/world.h"

TEST(Ghost, LoopsOverTheNext120StepsOfTheRider) {
  auto world = std::make_unique<World>();
  BuildTestRider(world->rider, 0, 40);
  BuildTestTrack(*world);
  for (int i = 0; i < 30; ++i) StepRider(*world);

  // The real ride 1 and 120 steps on, on a copy of the rider.
  Body future;
  BodySnapshot now;
  TakeSnapshot(world->rider, now);
  RebuildFromSnapshot(future, now);
  StepBodyOnTrack(future, *world);
  const uint64_t oneAhead = HashBodyPositions(future);
  for (int i = 1; i < 120; ++i) StepBodyOnTrack(future, *world);
  const uint64_t loopEnd = HashBodyPositions(future);
  EXPECT_NE(oneAhead, loopEnd);

  EXPECT_TRUE(ToggleGhost(*world));
  EXPECT_EQ(HashBodyPositions(world->ghost.body), HashBodyPositions(world->rider));
  for (int i = 0; i < 120; ++i) StepGhost(*world);
  EXPECT_EQ(world->ghost.counter, 120);
  EXPECT_EQ(HashBodyPositions(world->ghost.body), loopEnd);
  // The next step starts the loop again from the rider's state.
  StepGhost(*world);
  EXPECT_EQ(world->ghost.counter, 0);
  EXPECT_EQ(HashBodyPositions(world->ghost.body), oneAhead);
  // A rider step asks for a resync: the ghost restarts from the rider's new state.
  StepRider(*world);
  EXPECT_EQ(world->ghost.resync, true);
  StepGhost(*world);
  EXPECT_EQ(world->ghost.resync, false);
  EXPECT_EQ(world->ghost.counter, 1);
  // Off: the ghost keeps its state and is no longer stepped.
  const uint64_t kept = HashBodyPositions(world->ghost.body);
  EXPECT_FALSE(ToggleGhost(*world));
  StepGhost(*world);
  EXPECT_EQ(HashBodyPositions(world->ghost.body), kept);
}

TEST(Ghost, EmptyRiderGivesAnEmptyGhost) {
  auto world = std::make_unique<World>();
  EXPECT_TRUE(ToggleGhost(*world));
  for (int i = 0; i < 300; ++i) StepGhost(*world);
  EXPECT_TRUE(world->ghost.body.points.empty());
  EXPECT_EQ(world->ghost.counter, 300 % 121);
}
