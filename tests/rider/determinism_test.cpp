// The ride is part of the game's content: a fixed rider on a fixed track must give the same
// positions, bit for bit, on every run and every build. A change of this hash is a change of the
// ride and must be deliberate.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "support/body_builder.h"
#include "track/world.h"

namespace {

constexpr uint64_t kRideHash = 0xe77a5511c91a68d7ull;                // 10,000 steps of BuildTestRider on BuildTestTrack

uint64_t Ride(int steps, int* linksLeft) {
  auto world = std::make_unique<World>();
  BuildTestTrack(*world);
  Body body;
  BuildTestRider(body, -150, 40);
  for (int i = 0; i < steps; ++i) StepBodyOnTrack(body, *world);
  *linksLeft = body.linksAdded;
  return HashBodyPositions(body);
}

}  // namespace

TEST(Determinism, FixedRideGivesTheStoredHash) {
  int linksLeft = 0;
  const uint64_t hash = Ride(10000, &linksLeft);
  // Other allocations in between move every record to new addresses; the ride must not care.
  std::vector<std::unique_ptr<char[]>> clutter;
  for (int i = 0; i < 1000; ++i) clutter.emplace_back(new char[size_t(i % 97 + 1) * 24]);
  int again = 0;
  EXPECT_EQ(Ride(10000, &again), hash);
  EXPECT_EQ(again, linksLeft);
  EXPECT_EQ(linksLeft, 32);                      // the rider's break group went on the way
  EXPECT_EQ(hash, kRideHash) << std::hex << "ride hash 0x" << hash;
}

TEST(Determinism, HashSeesEveryBit) {
  Body body;
  Add(body, {.x = 1, .y = 2});
  Add(body, {.x = 3, .y = 4});
  const uint64_t base = HashBodyPositions(body);
  body.points.back().y = std::nextafter(4.0f, 5.0f);
  EXPECT_NE(HashBodyPositions(body), base);
  body.points.back().y = 4.0f;
  EXPECT_EQ(HashBodyPositions(body), base);
  std::swap(body.points.front().x, body.points.back().x);
  EXPECT_NE(HashBodyPositions(body), base);
}
