#include "track/collision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "rider/simulation.h"
#include "track/world.h"

namespace {

BodyPoint* Add(Body& body, float x, float y, float radius = 10.0f, float friction = 0.0001f) {
  return AddPoint(body, x, y, 1.0f, radius, 0, 1, friction);
}

void Launch(BodyPoint* point, float vx, float vy) {
  point->prevX = point->x - vx;
  point->prevY = point->y - vy;
}

void RunSteps(Body& body, World& world, int steps) {
  for (int i = 0; i < steps; ++i) StepBodyOnTrack(body, world);
}

class CollisionTest : public testing::Test {
 protected:
  std::unique_ptr<World> world_ = std::make_unique<World>();
};

}  // namespace

TEST_F(CollisionTest, PointRestsOnTheFrontFace) {
  World& w = *world_;
  AddSolidLine(w, {-300, 0}, {300, 0}, 0.0f, LineKind::Normal);
  AddSolidLine(w, {-300, 500}, {300, 500}, 2.0f, LineKind::Normal);
  Body body;
  BodyPoint* thin = Add(body, -100, 15);
  BodyPoint* thick = Add(body, 100, 515);
  RunSteps(body, w, 300);
  // Centre at radius + thickness above the line, still resting.
  // Within one step of gravity (0.03) of radius + thickness above the line.
  EXPECT_NEAR(thin->y, 10.0f, 0.05f);
  EXPECT_NEAR(thick->y, 512.0f, 0.05f);
  EXPECT_EQ(thin->x, -100.0f);
  RunSteps(body, w, 1000);
  EXPECT_NEAR(thin->y, 10.0f, 0.05f);
  EXPECT_NEAR(thick->y, 512.0f, 0.05f);
}

TEST_F(CollisionTest, BackFaceLetsPointsThrough) {
  World& w = *world_;
  // Drawn right to left: the normal points down, so a point falling from above passes.
  AddSolidLine(w, {300, 0}, {-300, 0}, 1.0f, LineKind::Normal);
  Body body;
  BodyPoint* p = Add(body, 0, 40);
  RunSteps(body, w, 150);
  EXPECT_LT(p->y, -40.0f);
  // From below it is the front face: a point thrown up stops under it.
  Body below;
  BodyPoint* q = Add(below, 50, -60);
  Launch(q, 0, 4);
  float highest = q->y;
  for (int i = 0; i < 40; ++i) {
    RunSteps(below, w, 1);
    highest = std::max(highest, q->y);
  }
  EXPECT_LE(highest, -11.0f + 1e-3f);
  EXPECT_GT(highest, -12.0f);
}

TEST_F(CollisionTest, SlopeCarriesARiderDownhill) {
  World& w = *world_;
  // From (0, 1500) down to (3000, 0), drawn left to right: the normal points up and right.
  const SolidLine* slope = &w.solidLines[size_t(AddSolidLine(w, {0, 1500}, {3000, 0}, 1.0f, LineKind::Normal))];
  Body body;
  BodyPoint* a = Add(body, 100, 1480, 8);
  BodyPoint* b = Add(body, 130, 1465, 8);
  BodyPoint* c = Add(body, 115, 1500, 8);
  AddLink(body, a, b, 0.5f, 0, 1000, LinkKind::Spring);
  AddLink(body, b, c, 0.5f, 0, 1000, LinkKind::Spring);
  AddLink(body, c, a, 0.5f, 0, 1000, LinkKind::Spring);
  float lastX = a->x;
  for (int i = 0; i < 10; ++i) {
    RunSteps(body, w, 30);
    for (const BodyPoint& p : body.points) {
      const float above = slope->nx * (p.x - slope->x1) + slope->ny * (p.y - slope->y1);
      EXPECT_GT(above, p.radius + slope->thickness - 1.0f);
    }
    EXPECT_GT(a->x, lastX);
    lastX = a->x;
  }
  EXPECT_GT(a->vx, 1.0f);
  EXPECT_LT(a->vy, 0.0f);
}

TEST_F(CollisionTest, EndCapsPushRadially) {
  SolidLine line = MakeSolidLine({0, 0}, {100, 0}, 2.0f, LineKind::BoostForward);
  // Beyond P1, at 45 degrees: pushed out to distance r + thickness = 12, no boost.
  BodyPoint p = MakePoint(-5, 5, 1, 10, 0);
  EXPECT_EQ(ContactLine(line, p), 1);
  EXPECT_NEAR(std::hypot(p.x, p.y), 12.0f, 1e-4);
  EXPECT_NEAR(p.x, -p.y, 1e-4);
  EXPECT_EQ(p.prevX, -5.0f);
  // Exactly on the endpoint: no direction, no move, no NaN.
  BodyPoint on = MakePoint(100, 0, 1, 10, 0);
  on.x = 100.0f + 1e-4f;
  on.prevX = on.x;
  ContactLine(line, on);
  EXPECT_TRUE(std::isfinite(on.x) && std::isfinite(on.y));
  BodyPoint exact = MakePoint(0, 0, 1, 10, 0);
  exact.x = -0.0f;
  ContactLine(line, exact);
  EXPECT_TRUE(std::isfinite(exact.x) && std::isfinite(exact.y));
  // Far beyond the cap: nothing.
  BodyPoint far = MakePoint(-20, 10, 1, 10, 0);
  EXPECT_EQ(ContactLine(line, far), 0);
}

TEST_F(CollisionTest, LookBackDecidesDeepContacts) {
  SolidLine line = MakeSolidLine({-100, 0}, {100, 0}, 0.0f, LineKind::Normal);
  // Came from the front fast: 15 behind the face after the move, look-back in front: put back.
  BodyPoint fast = MakePoint(0, -5, 1, 10, 0);
  fast.prevY = 8;
  fast.vy = -13;
  EXPECT_EQ(ContactLine(line, fast), 1);
  EXPECT_NEAR(fast.y, 10.0f, 1e-5);
  // Behind, deep, and the look-back is behind too: left alone.
  BodyPoint deep = MakePoint(0, -5, 1, 10, 0);
  deep.prevY = -4;
  deep.vy = -1;
  EXPECT_EQ(ContactLine(line, deep), 0);
  EXPECT_EQ(deep.y, -5.0f);
  // Behind but shallow: pushed out even though the look-back is behind.
  BodyPoint shallow = MakePoint(0, 2, 1, 10, 0);
  shallow.prevY = 2.5f;
  shallow.vy = -0.5f;
  EXPECT_EQ(ContactLine(line, shallow), 1);
  EXPECT_NEAR(shallow.y, 10.0f, 1e-5);
}

TEST_F(CollisionTest, FrictionAndBoostWorkAlongTheLine) {
  World& w = *world_;
  AddSolidLine(w, {-2000, 0}, {2000, 0}, 0.0f, LineKind::Normal);
  AddSolidLine(w, {-2000, 1000}, {2000, 1000}, 0.0f, LineKind::BoostForward);
  AddSolidLine(w, {-2000, 2000}, {2000, 2000}, 0.0f, LineKind::BoostBackward);
  Body slippery, rough;
  BodyPoint* s = Add(slippery, 0, 10, 10, 0.0f);
  BodyPoint* r = Add(rough, 0, 10, 10, 0.2f);
  Launch(s, 3, 0);
  Launch(r, 3, 0);
  RunSteps(slippery, w, 20);
  RunSteps(rough, w, 20);
  EXPECT_NEAR(s->vx, 3.0f, 1e-4);
  EXPECT_LT(r->vx, 0.5f);
  EXPECT_GT(r->vx, 0.0f);
  EXPECT_LT(r->x, s->x);

  // A resting point gains 0.2 along the line per contact, at least one contact per step.
  Body forward, backward;
  BodyPoint* f = Add(forward, 0, 1010, 10, 0.0f);
  BodyPoint* b = Add(backward, 0, 2010, 10, 0.0f);
  RunSteps(forward, w, 1);
  EXPECT_NEAR(f->vx, 0.2f, 1e-6);
  RunSteps(forward, w, 9);
  RunSteps(backward, w, 10);
  EXPECT_GE(f->vx, 2.0f - 1e-4f);
  EXPECT_EQ(b->vx, -f->vx);
  EXPECT_EQ(b->x, -f->x);
  EXPECT_GT(f->x, 5.0f);
  EXPECT_NEAR(f->y, 1010.0f, 0.05f);
}

TEST_F(CollisionTest, ALineInTwoCellsIsTriedTwice) {
  World& w = *world_;
  // The line crosses the border x = 300 between columns 0 and 1.
  AddSolidLine(w, {200, 0}, {400, 0}, 0.0f, LineKind::Normal);
  Body body;
  BodyPoint* p = Add(body, 250, 5);
  p->vy = -1;
  p->prevY = 6;
  EXPECT_EQ(ResolvePointWithLines(w.grid, w.solidLines, *p), 1);
  EXPECT_NEAR(p->y, 10.0f, 1e-5);
  p->y = 5;
  p->x = 350;
  EXPECT_EQ(ResolvePointWithLines(w.grid, w.solidLines, *p), 1);
  // A line both of whose cells lie under the point's square is met once per cell: the
  // second meeting finds the point already on the surface and still counts as a contact.
  p->x = 300;
  p->y = 5;
  EXPECT_EQ(ResolvePointWithLines(w.grid, w.solidLines, *p), 2);
  EXPECT_NEAR(p->y, 10.0f, 1e-5);
}
