#include "track/collision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

#include "rider/simulation.h"
#include "support/body_builder.h"
#include "track/world.h"

namespace {

// Gives the point a velocity (units per step) by moving its previous position.
void Launch(BodyPoint* point, float vx, float vy) { point->prevX = point->x - vx, point->prevY = point->y - vy; }

void RunSteps(Body& body, World& world, int steps) { for (int i = 0; i < steps; ++i) StepBodyOnTrack(body, world); }

class CollisionTest : public testing::Test {
 protected:
  std::unique_ptr<World> world_ = std::make_unique<World>();
  World& w = *world_;
};

}  // namespace

TEST_F(CollisionTest, PointRestsOnTheFrontFaceAndPassesTheBack) {
  AddSolidLine(w, {-300, 0}, {300, 0}, 0.0f, LineKind::Normal);
  AddSolidLine(w, {-300, 500}, {300, 500}, 2.0f, LineKind::Normal);
  AddSolidLine(w, {300, 1000}, {-300, 1000}, 1.0f, LineKind::Normal);  // drawn right to left: faces down
  Body body;
  BodyPoint* thin = Add(body, {.x = -100, .y = 15});
  BodyPoint* thick = Add(body, {.x = 100, .y = 515});
  BodyPoint* through = Add(body, {.x = 0, .y = 1040});
  for (int i = 0; i < 2; ++i) {
    RunSteps(body, w, i == 0 ? 300 : 1000);
    // Within one step of gravity (0.03) of radius + thickness above the line, still resting.
    EXPECT_NEAR(thin->y, 10.0f, 0.05f);
    EXPECT_NEAR(thick->y, 512.0f, 0.05f);
    EXPECT_EQ(thin->x, -100.0f);
  }
  EXPECT_LT(through->y, 960.0f);
  // From below, the downward face stops a point thrown up at it.
  Body below;
  BodyPoint* q = Add(below, {.x = 50, .y = 940});
  Launch(q, 0, 4);
  float highest = q->y;
  for (int i = 0; i < 40; ++i) {
    RunSteps(below, w, 1);
    highest = std::max(highest, q->y);
  }
  EXPECT_LE(highest, 989.0f + 1e-3f);
  EXPECT_GT(highest, 988.0f);
}

TEST_F(CollisionTest, SlopeCarriesARiderDownhill) {
  // From (0, 1500) down to (3000, 0), drawn left to right: the normal points up and right.
  const SolidLine* slope = &w.solidLines[size_t(AddSolidLine(w, {0, 1500}, {3000, 0}, 1.0f, LineKind::Normal))];
  Body body;
  BodyPoint* a = Add(body, {.x = 100, .y = 1480, .radius = 8});
  BodyPoint* b = Add(body, {.x = 130, .y = 1465, .radius = 8});
  BodyPoint* c = Add(body, {.x = 115, .y = 1500, .radius = 8});
  for (auto [from, to] : {std::pair{a, b}, {b, c}, {c, a}}) Tie(body, from, to, {.stiffness = 0.5f});
  float lastX = a->x;
  for (int i = 0; i < 10; ++i) {
    RunSteps(body, w, 30);
    for (const BodyPoint& p : body.points)
      EXPECT_GT(slope->nx * (p.x - slope->x1) + slope->ny * (p.y - slope->y1), p.radius + slope->thickness - 1.0f);
    EXPECT_GT(a->x, lastX);
    lastX = a->x;
  }
  EXPECT_GT(a->vx, 1.0f);
  EXPECT_LT(a->vy, 0.0f);
}

TEST_F(CollisionTest, EndCapsPushRadially) {
  SolidLine line = MakeSolidLine({0, 0}, {100, 0}, 2.0f, LineKind::BoostForward);
  // Beyond P1, at 45 degrees: pushed out to distance r + thickness = 12, no boost.
  BodyPoint p = Loose({.x = -5, .y = 5});
  EXPECT_EQ(ContactLine(line, p), 1);
  EXPECT_NEAR(std::hypot(p.x, p.y), 12.0f, 1e-4);
  EXPECT_NEAR(p.x, -p.y, 1e-4);
  EXPECT_EQ(p.prevX, -5.0f);
  // Exactly on an endpoint: no direction, no move, no NaN.
  for (float x : {100.0f + 1e-4f, -0.0f}) {
    BodyPoint on = Loose({.x = x});
    ContactLine(line, on);
    EXPECT_TRUE(std::isfinite(on.x) && std::isfinite(on.y)) << x;
  }
  BodyPoint far = Loose({.x = -20, .y = 10});
  EXPECT_EQ(ContactLine(line, far), 0);
}

TEST_F(CollisionTest, LookBackDecidesDeepContacts) {
  SolidLine line = MakeSolidLine({-100, 0}, {100, 0}, 0.0f, LineKind::Normal);
  const struct { const char* what; float y, prevY, vy; int contacts; float after; } cases[] = {
      {"came from the front fast: put back", -5, 8, -13, 1, 10},
      {"deep behind, look-back behind too: left alone", -5, -4, -1, 0, -5},
      {"shallow behind: pushed out whatever the look-back", 2, 2.5f, -0.5f, 1, 10},
  };
  for (const auto& c : cases) {
    BodyPoint p = Loose({.y = c.y});
    p.prevY = c.prevY;
    p.vy = c.vy;
    EXPECT_EQ(ContactLine(line, p), c.contacts) << c.what;
    EXPECT_NEAR(p.y, c.after, 1e-5) << c.what;
  }
}

TEST_F(CollisionTest, FrictionAndBoostWorkAlongTheLine) {
  AddSolidLine(w, {-2000, 0}, {2000, 0}, 0.0f, LineKind::Normal);
  AddSolidLine(w, {-2000, 1000}, {2000, 1000}, 0.0f, LineKind::BoostForward);
  AddSolidLine(w, {-2000, 2000}, {2000, 2000}, 0.0f, LineKind::BoostBackward);
  Body slippery, rough;
  BodyPoint* s = Add(slippery, {.y = 10, .friction = 0.0f});
  BodyPoint* r = Add(rough, {.y = 10, .friction = 0.2f});
  Launch(s, 3, 0);
  Launch(r, 3, 0);
  RunSteps(slippery, w, 20);
  RunSteps(rough, w, 20);
  EXPECT_NEAR(s->vx, 3.0f, 1e-4);
  EXPECT_TRUE(r->vx > 0.0f && r->vx < 0.5f) << r->vx;

  // A resting point gains 0.2 along the line per contact, at least one contact per step.
  Body forward, backward;
  BodyPoint* f = Add(forward, {.y = 1010, .friction = 0.0f});
  BodyPoint* b = Add(backward, {.y = 2010, .friction = 0.0f});
  RunSteps(forward, w, 1);
  EXPECT_NEAR(f->vx, 0.2f, 1e-6);
  RunSteps(forward, w, 9);
  RunSteps(backward, w, 10);
  EXPECT_GE(f->vx, 2.0f - 1e-4f);
  EXPECT_EQ(b->vx, -f->vx);
  EXPECT_EQ(b->x, -f->x);
  EXPECT_NEAR(f->y, 1010.0f, 0.05f);
}

TEST_F(CollisionTest, ALineInTwoCellsIsTriedTwice) {
  // The line crosses the border x = 300 between columns 0 and 1.
  AddSolidLine(w, {200, 0}, {400, 0}, 0.0f, LineKind::Normal);
  BodyPoint p = Loose({.x = 250, .y = 5});
  p.vy = -1;
  p.prevY = 6;
  EXPECT_EQ(ResolvePointWithLines(w.grid, w.solidLines, p), 1);
  EXPECT_NEAR(p.y, 10.0f, 1e-5);
  // A line both of whose cells lie under the point's square is met once per cell: the
  // second meeting finds the point already on the surface and still counts as a contact.
  p.x = 300;
  p.y = 5;
  EXPECT_EQ(ResolvePointWithLines(w.grid, w.solidLines, p), 2);
  EXPECT_NEAR(p.y, 10.0f, 1e-5);
}
