// Bodies and tracks the game must survive: nothing may crash and no position may become NaN or
// infinite, whatever the editor or a file hands the simulation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>

#include "track/collision.h"
#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "support/body_builder.h"
#include "track/world.h"

namespace {

// Runs the steps, then checks every position, previous position and velocity is finite.
void RunAndExpectFinite(Body& body, World& world, int steps) {
  for (int i = 0; i < steps; ++i) StepBodyOnTrack(body, world);
  for (const BodyPoint& p : body.points)
    for (float v : {p.x, p.y, p.prevX, p.prevY, p.vx, p.vy}) EXPECT_TRUE(std::isfinite(v)) << "point " << p.id;
}

class Degenerate : public testing::Test {
 protected:
  void SetUp() override {
    AddSolidLine(*world_, {-1000, 0}, {1000, 0}, 1, LineKind::Normal);
    AddSolidLine(*world_, {-8388608.0f, 8388608.0f}, {8388608.0f, 8388600.0f}, 65536.0f, LineKind::BoostForward);
    AddSolidLine(*world_, {-50, 50}, {-40, 50}, 0, LineKind::BoostBackward);
  }
  std::unique_ptr<World> world_ = std::make_unique<World>();
};

}  // namespace

TEST_F(Degenerate, EmptyAndCoincidentBodies) {
  Body empty;
  RunAndExpectFinite(empty, *world_, 10);
  EXPECT_TRUE(empty.points.empty() && empty.links.empty());

  // Three points on one spot, joined every way, with a joint whose arms have no length and a
  // link from a point to itself.
  Body heap;
  const TestPoint spot{.x = 5, .y = 30, .friction = 0.1f};
  BodyPoint* a = Add(heap, spot);
  BodyPoint* b = Add(heap, spot);
  BodyPoint* c = Add(heap, spot);
  Tie(heap, a, b);
  Tie(heap, b, c, {.kind = LinkKind::Thruster});
  Tie(heap, c, c, {.kind = LinkKind::Rope});
  AddAngleJoint(heap, a, b, c, 90, 1);
  AddAngleJoint(heap, a, a, a, -90, 1);
  RunAndExpectFinite(heap, *world_, 200);

  // Points of radius 0 lying exactly on a line's endpoints.
  Body onEnd;
  Add(onEnd, {.x = -50, .y = 50, .radius = 0, .friction = 0.5f});
  Add(onEnd, {.x = -40, .y = 50, .radius = 0, .friction = 0.5f});
  RunAndExpectFinite(onEnd, *world_, 50);
}

TEST_F(Degenerate, ZeroAndExtremeMasses) {
  Body body;
  BodyPoint* p[6];
  const float x[] = {0, 15, 30, 35, 40, 45}, mass[] = {0, 0, 1, -1, FLT_MAX, FLT_MIN};
  for (int i = 0; i < 6; ++i) p[i] = Add(body, {.x = x[i], .y = 100, .mass = mass[i], .friction = 0.1f});
  Link* zero = Tie(body, p[0], p[1]);
  Tie(body, p[2], p[3]);
  Tie(body, p[4], p[5]);
  Tie(body, p[0], p[4], {.kind = LinkKind::Strut});
  // The mass sum of the first link is 0: it is skipped, not divided by.
  p[1]->x = 25;
  SolveLink(*zero);
  EXPECT_EQ(p[0]->x, 0.0f);
  EXPECT_EQ(p[1]->x, 25.0f);
  RunAndExpectFinite(body, *world_, 300);
}

TEST_F(Degenerate, HugeCoordinatesAndSizes) {
  Body body;
  BodyPoint* top = Add(body, {.x = FLT_MAX, .y = FLT_MAX, .friction = 0.1f});
  BodyPoint* left = Add(body, {.x = -FLT_MAX, .y = 1e38f, .radius = 1e38f, .friction = 0.1f});
  Add(body, {.x = 8388608.0f, .y = 8388650.0f, .radius = 30, .friction = 0.1f});
  BodyPoint* fast = Add(body, {.y = 50, .friction = 0.1f});
  BodyPoint* wide = Add(body, {.x = 10, .y = 60, .radius = 1e30f, .friction = 100.0f});
  BodyPoint* negative = Add(body, {.x = 20, .y = 60, .radius = -50, .friction = 0.1f});
  fast->prevX = -3e38f;
  fast->prevY = 3e38f;
  Tie(body, top, fast);
  Tie(body, left, wide);
  Tie(body, wide, negative);
  AddAngleJoint(body, top, fast, wide, 45, 1e30f);
  RunAndExpectFinite(body, *world_, 100);
  // Cells of points far outside the grid are held at its edges.
  for (const BodyPoint& p : body.points)
    EXPECT_TRUE(p.cellX >= 0 && p.cellX < kPointGridSize && p.cellY >= 0 && p.cellY < kPointGridSize)
        << p.cellX << "," << p.cellY;
}

TEST_F(Degenerate, NonFiniteInputIsRefusedAtTheDoor) {
  Body body;
  for (const TestPoint& bad : {TestPoint{.x = NAN}, TestPoint{.y = INFINITY}, TestPoint{.mass = NAN},
                               TestPoint{.radius = -INFINITY}, TestPoint{.friction = NAN}})
    EXPECT_EQ(Add(body, bad), nullptr);
  EXPECT_TRUE(body.points.empty());
  // A point moved to NaN from outside (never by the simulation) leaves the others unharmed.
  BodyPoint* sane = Add(body, {.y = 100, .friction = 0.1f});
  BodyPoint* broken = Add(body, {.x = 5, .y = 100, .friction = 0.1f});
  Tie(body, sane, broken);
  broken->x = NAN;
  for (int i = 0; i < 5; ++i) StepBodyOnTrack(body, *world_);
  EXPECT_TRUE(std::isfinite(sane->x) && std::isfinite(sane->y));
}

TEST_F(Degenerate, RidersOnAWildTrackStayFinite) {
  // The test rider dropped among thick, thin, tiny and far lines, its points grown.
  for (int i = 0; i < 40; ++i) {
    const float x = float(i - 20) * 3.0f, y = float(i % 7) * 40.0f - 20.0f;
    AddSolidLine(*world_, {x, y}, {x + float(i % 5) + 0.001f, y - float(i % 3)}, float(i % 4) * 40.0f, LineKind(i % 3));
  }
  Body body;
  BuildTestRider(body, -40, 60);
  for (BodyPoint& p : body.points) p.radius = p.radius * float(1 + p.id % 3);
  RunAndExpectFinite(body, *world_, 2000);
}
