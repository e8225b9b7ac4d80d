// Bodies and tracks the game must survive: nothing may crash and no position may become NaN or
// infinite, whatever the editor or a file hands the simulation.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <memory>

#include "track/collision.h"
#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "track/world.h"

namespace {

void ExpectFinite(const Body& body) {
  for (const BodyPoint& p : body.points) {
    EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y)) << "point " << p.id;
    EXPECT_TRUE(std::isfinite(p.prevX) && std::isfinite(p.prevY)) << "point " << p.id;
    EXPECT_TRUE(std::isfinite(p.vx) && std::isfinite(p.vy)) << "point " << p.id;
  }
}

void RunSteps(Body& body, World& world, int steps) {
  for (int i = 0; i < steps; ++i) StepBodyOnTrack(body, world);
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
  RunSteps(empty, *world_, 10);
  EXPECT_EQ(empty.pointsAdded, 0);
  EXPECT_TRUE(empty.links.empty());

  // Three points on one spot, joined every way, with a joint whose arms have no length and a
  // link from a point to itself.
  Body heap;
  BodyPoint* a = AddPoint(heap, 5, 30, 1, 10, 0, 1, 0.1f);
  BodyPoint* b = AddPoint(heap, 5, 30, 1, 10, 0, 1, 0.1f);
  BodyPoint* c = AddPoint(heap, 5, 30, 1, 10, 0, 1, 0.1f);
  AddLink(heap, a, b, 1, 0, 1000, LinkKind::Spring);
  AddLink(heap, b, c, 1, 0, 1000, LinkKind::Thruster);
  AddLink(heap, c, c, 1, 0, 1000, LinkKind::Rope);
  AddAngleJoint(heap, a, b, c, 90, 1);
  AddAngleJoint(heap, a, a, a, -90, 1);
  RunSteps(heap, *world_, 200);
  ExpectFinite(heap);

  // A point lying exactly on a line's endpoint.
  Body onEnd;
  AddPoint(onEnd, -50, 50, 1, 0, 0, 1, 0.5f);
  AddPoint(onEnd, -40, 50, 1, 0, 0, 1, 0.5f);
  RunSteps(onEnd, *world_, 50);
  ExpectFinite(onEnd);
}

TEST_F(Degenerate, ZeroAndExtremeMasses) {
  Body body;
  BodyPoint* a = AddPoint(body, 0, 100, 0, 10, 0, 1, 0.1f);
  BodyPoint* b = AddPoint(body, 15, 100, 0, 10, 0, 1, 0.1f);
  BodyPoint* c = AddPoint(body, 30, 100, 1, 10, 0, 1, 0.1f);
  BodyPoint* d = AddPoint(body, 35, 100, -1, 10, 0, 1, 0.1f);
  BodyPoint* e = AddPoint(body, 40, 100, FLT_MAX, 10, 0, 1, 0.1f);
  BodyPoint* f = AddPoint(body, 45, 100, FLT_MIN, 10, 0, 1, 0.1f);
  Link* zero = AddLink(body, a, b, 1, 0, 1000, LinkKind::Spring);
  AddLink(body, c, d, 1, 0, 1000, LinkKind::Spring);
  AddLink(body, e, f, 1, 0, 1000, LinkKind::Spring);
  AddLink(body, a, e, 1, 0, 1000, LinkKind::Strut);
  // The mass sum of the first link is 0: it is skipped, not divided by.
  b->x = 25;
  SolveLink(*zero);
  EXPECT_EQ(a->x, 0.0f);
  EXPECT_EQ(b->x, 25.0f);
  RunSteps(body, *world_, 300);
  ExpectFinite(body);
}

TEST_F(Degenerate, HugeCoordinatesAndSizes) {
  Body body;
  AddPoint(body, FLT_MAX, FLT_MAX, 1, 10, 0, 1, 0.1f);
  AddPoint(body, -FLT_MAX, 1e38f, 1, 1e38f, 0, 1, 0.1f);
  AddPoint(body, 8388608.0f, 8388650.0f, 1, 30, 0, 1, 0.1f);
  BodyPoint* fast = AddPoint(body, 0, 50, 1, 10, 0, 1, 0.1f);
  BodyPoint* wide = AddPoint(body, 10, 60, 1, 1e30f, 0, 1, 100.0f);
  BodyPoint* negative = AddPoint(body, 20, 60, 1, -50, 0, 1, 0.1f);
  fast->prevX = -3e38f;
  fast->prevY = 3e38f;
  auto& points = body.points;
  AddLink(body, &points.front(), fast, 1, 0, 1000, LinkKind::Spring);
  AddLink(body, &*std::next(points.begin()), wide, 1, 0, 1000, LinkKind::Spring);
  AddLink(body, wide, negative, 1, 0, 1000, LinkKind::Spring);
  AddAngleJoint(body, &points.front(), fast, wide, 45, 1e30f);
  RunSteps(body, *world_, 100);
  ExpectFinite(body);
  EXPECT_LE(body.pointsAdded, 6);
  // Cells of points far outside the grid are held at its edges.
  for (const BodyPoint& p : body.points) {
    EXPECT_TRUE(p.cellX >= 0 && p.cellX < kPointGridSize) << p.cellX;
    EXPECT_TRUE(p.cellY >= 0 && p.cellY < kPointGridSize) << p.cellY;
  }
}

TEST_F(Degenerate, NonFiniteInputIsRefusedAtTheDoor) {
  Body body;
  EXPECT_EQ(AddPoint(body, NAN, 0, 1, 10, 0, 1, 0), nullptr);
  EXPECT_EQ(AddPoint(body, 0, INFINITY, 1, 10, 0, 1, 0), nullptr);
  EXPECT_EQ(AddPoint(body, 0, 0, NAN, 10, 0, 1, 0), nullptr);
  EXPECT_EQ(AddPoint(body, 0, 0, 1, -INFINITY, 0, 1, 0), nullptr);
  EXPECT_EQ(AddPoint(body, 0, 0, 1, 10, 0, 1, NAN), nullptr);
  EXPECT_EQ(AddSolidLine(*world_, {NAN, NAN}, {1, 1}, 1, LineKind::Normal), kNoLine);
  EXPECT_TRUE(body.points.empty());
  // A point moved to NaN from outside (never by the simulation) leaves the others unharmed.
  BodyPoint* sane = AddPoint(body, 0, 100, 1, 10, 0, 1, 0.1f);
  BodyPoint* broken = AddPoint(body, 5, 100, 1, 10, 0, 1, 0.1f);
  AddLink(body, sane, broken, 1, 0, 1000, LinkKind::Spring);
  broken->x = NAN;
  RunSteps(body, *world_, 5);
  EXPECT_TRUE(std::isfinite(sane->x) && std::isfinite(sane->y));
}

TEST_F(Degenerate, RidersOnAWildTrackStayFinite) {
  // The test rider dropped at many places and sizes on a track of thick, thin, tiny and far lines.
  for (int i = 0; i < 40; ++i) {
    const float x = float(i - 20) * 3.0f, y = float(i % 7) * 40.0f - 20.0f;
    AddSolidLine(*world_, {x, y}, {x + float(i % 5) + 0.001f, y - float(i % 3)}, float(i % 4) * 40.0f, LineKind(i % 3));
  }
  Body body;
  BuildTestRider(body, -40, 60);
  for (BodyPoint& p : body.points) p.radius = p.radius * float(1 + p.id % 3);
  RunSteps(body, *world_, 2000);
  ExpectFinite(body);
}
