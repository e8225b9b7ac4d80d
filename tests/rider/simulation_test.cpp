#include "rider/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "support/body_builder.h"
#include "track/world.h"

namespace {

// One link between two free points at (0, 0) and (distance, 0) after its rest length is set.
struct Pair {
  Body body;
  BodyPoint* a = Add(body, {});
  BodyPoint* b = nullptr;
  Link* link = nullptr;
  Pair(float rest, float distance, LinkKind kind, float stiffness = 1.0f) {
    b = Add(body, {.x = rest});
    link = Tie(body, a, b, {.stiffness = stiffness, .kind = kind});
    b->x = distance;
  }
};

// A joint p0-p1-p2 with p1 at the origin, p2 at (10, 0) and p0 at 10 units and `angle` radians.
struct Hinge {
  Body body;
  BodyPoint* p0;
  BodyPoint* p1 = Add(body, {});
  BodyPoint* p2 = Add(body, {.x = 10});
  AngleJoint* joint;
  float x0, y0;                                   // p0 before the solve
  Hinge(float angle, float limit) : x0(10.0f * std::cos(angle)), y0(10.0f * std::sin(angle)) {
    p0 = Add(body, {.x = x0, .y = y0});
    joint = AddAngleJoint(body, p0, p1, p2, 0, 1.0f);
    joint->limitAngle = limit;
  }
};

}  // namespace

TEST(Simulation, LinkKindsCorrectTheirOwnSide) {
  const struct {
    const char* what;
    float rest, distance;
    LinkKind kind;
    float stiffness, aMass, aAfter, bAfter;
  } cases[] = {
      {"stretched spring: each end moves half the excess", 20, 30, LinkKind::Spring, 1, 1, 5, 25},
      {"compressed spring pushes out; the heavy end moves less", 20, 10, LinkKind::Spring, 1, 3, -2.5f, 17.5f},
      {"stiffness 0.5 corrects half the error", 20, 30, LinkKind::Spring, 0.5f, 1, 2.5f, 27.5f},
      {"slack rope", 20, 15, LinkKind::Rope, 1, 1, 0, 15},
      {"tight rope pulls", 20, 30, LinkKind::Rope, 1, 1, 5, 25},
      {"long strut", 20, 30, LinkKind::Strut, 1, 1, 0, 30},
      {"short strut pushes", 20, 12, LinkKind::Strut, 1, 1, -4, 16},
      {"thruster at rest length moves both ends by 0.001 (b - a)", 20, 20, LinkKind::Thruster, 0, 1, 0.02f, 20.02f},
  };
  for (const auto& c : cases) {
    Pair pair(c.rest, c.distance, c.kind, c.stiffness);
    pair.a->mass = c.aMass;
    SolveLink(*pair.link);
    EXPECT_NEAR(pair.a->x, c.aAfter, 1e-5) << c.what;
    EXPECT_NEAR(pair.b->x, c.bAfter, 1e-5) << c.what;
  }
  Pair broken(20, 30, LinkKind::Spring);
  broken.link->active = false;
  SolveLink(*broken.link);
  EXPECT_EQ(broken.b->x, 30.0f) << "an inactive link does nothing at all";
}

TEST(Simulation, CoincidentLinkEndsUseTheLengthFloor) {
  // Rest 1, ends together: strain (0.01 - 1) / 0.01 = -99.
  for (float limit : {98.0f, 100.0f}) {
    Pair pair(1, 0, LinkKind::Spring);
    pair.link->breakLimit = limit;
    SolveLink(*pair.link);
    EXPECT_EQ(pair.link->active, limit > 99.0f) << limit;
    EXPECT_TRUE(pair.a->x == 0.0f && pair.b->x == 0.0f) << limit;
  }
}

TEST(Simulation, AngleJointOpensTowardsItsLimitOnItsOwnSide) {
  const float angle = 0.5f;
  Hinge hinge(angle, 1.0f);
  const float x0 = hinge.x0, y0 = hinge.y0;
  SolveAngleJoint(*hinge.joint);
  // corr = (1.0 - 0.5)^2 = 0.25 along perp(u) = (-sin 0.5, cos 0.5); the three moves sum to zero.
  EXPECT_NEAR(hinge.p0->x - x0, -0.25f * std::sin(angle), 1e-5);
  EXPECT_NEAR(hinge.p0->y - y0, 0.25f * std::cos(angle), 1e-5);
  EXPECT_NEAR(hinge.p2->x - 10.0f, 0.0f, 1e-6);
  EXPECT_NEAR(hinge.p2->y, -0.25f, 1e-5);
  EXPECT_NEAR(hinge.joint->measured, angle, 1e-5);
  EXPECT_NEAR((hinge.p0->x - x0) + hinge.p1->x + (hinge.p2->x - 10.0f), 0.0f, 1e-6);
  EXPECT_NEAR((hinge.p0->y - y0) + hinge.p1->y + hinge.p2->y, 0.0f, 1e-6);

  // The mirror case: perp(u) = (sin 0.5, cos 0.5) for u at -0.5 rad; the move is its negative.
  Hinge mirror(-angle, -1.0f);
  SolveAngleJoint(*mirror.joint);
  EXPECT_NEAR(mirror.p0->x - mirror.x0, -0.25f * std::sin(angle), 1e-5);
  EXPECT_NEAR(mirror.p0->y - mirror.y0, -0.25f * std::cos(angle), 1e-5);
  // Beyond the limit, or on the other side, nothing moves.
  for (float limit : {0.4f, -1.0f}) {
    Hinge still(angle, limit);
    SolveAngleJoint(*still.joint);
    EXPECT_TRUE(still.p0->x == still.x0 && still.p1->x == 0.0f && still.p2->y == 0.0f) << limit;
  }
}

TEST(Simulation, PointContactsPushApartUnlessGrouped) {
  const struct {
    const char* what;
    TestPoint first, second;
    float firstAfter, secondAfter;
  } cases[] = {
      {"overlapping: pushed to touching", {}, {.x = 12}, -4, 16},
      {"one group: never touch", {.group = 5}, {.x = 12, .group = 5}, 0, 12},
      {"different groups touch; the heavy one moves less", {.group = 5}, {.x = 12, .mass = 3, .group = 6}, -6, 14},
      {"a non-colliding point touches nothing", {}, {.x = 6, .collides = 0}, 0, 6},
      {"exactly coincident: no direction, no move", {.x = 3}, {.x = 3}, 3, 3},
  };
  for (const auto& c : cases) {
    Body body;
    BodyPoint* first = Add(body, c.first);
    BodyPoint* second = Add(body, c.second);
    SolvePointContacts(body);
    EXPECT_NEAR(first->x, c.firstAfter, 1e-5) << c.what;
    EXPECT_NEAR(second->x, c.secondAfter, 1e-5) << c.what;
  }
}

TEST(Simulation, RestingBodyKeepsItsShape) {
  // A triangle pulled out of shape and dropped on a flat line (inside its grid row): once it
  // rests, every link is back at its rest length, less the sag of one step of gravity.
  auto world = std::make_unique<World>();
  AddSolidLine(*world, {-500, 150}, {500, 150}, 1.0f, LineKind::Normal);
  Body body;
  const float x[] = {0, 40, 20}, y[] = {156, 156, 186};
  BodyPoint* p[3];
  for (int i = 0; i < 3; ++i) p[i] = Add(body, {.x = x[i], .y = y[i], .radius = 5, .group = 1, .friction = 0.3f});
  for (int i = 0; i < 3; ++i) Tie(body, p[i], p[(i + 1) % 3], {.stiffness = 0.5f});
  BodyPoint* a = p[0];
  p[2]->x = p[2]->prevX = 30;
  for (int i = 0; i < 2000; ++i) StepBodyOnTrack(body, *world);
  for (const Link& link : body.links)
    EXPECT_NEAR(std::hypot(link.b->x - link.a->x, link.b->y - link.a->y), link.restLength, 0.06f);
  EXPECT_NEAR(std::min({p[0]->y, p[1]->y, p[2]->y}), 156.0f, 0.05f);
  // At rest: one more step moves no point by more than the gravity of a step.
  const float x0 = a->x, y0 = a->y;
  StepBodyOnTrack(body, *world);
  EXPECT_NEAR(a->x, x0, 0.03f);
  EXPECT_NEAR(a->y, y0, 0.03f);
}
