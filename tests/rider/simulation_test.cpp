#include "rider/simulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "track/world.h"

namespace {

BodyPoint* Add(Body& body, float x, float y, float mass = 1.0f, float radius = 10.0f, int32_t group = 0) {
  return AddPoint(body, x, y, mass, radius, group, 1, 0.0001f);
}

float LinkLength(const Link& link) { return std::hypot(link.b->x - link.a->x, link.b->y - link.a->y); }

// One link between two free points at (0, 0) and (distance, 0) after its rest length is set.
struct Pair {
  Body body;
  BodyPoint* a = nullptr;
  BodyPoint* b = nullptr;
  Link* link = nullptr;
  Pair(float rest, float distance, LinkKind kind, float stiffness = 1.0f) {
    a = Add(body, 0, 0);
    b = Add(body, rest, 0);
    link = AddLink(body, a, b, stiffness, 0, 1000.0f, kind);
    b->x = distance;
  }
};

}  // namespace

TEST(Simulation, FreeFallFollowsTheVerletSteps) {
  auto world = std::make_unique<World>();
  Body body;
  BodyPoint* p = Add(body, 5, 1);
  const float velocity[] = {-0.03f, -0.06f, -0.09f};
  const float drop[] = {-0.09f, -0.24f, -0.45f};
  for (int step = 0; step < 3; ++step) {
    StepBodyOnTrack(body, *world);
    EXPECT_NEAR(p->vy, velocity[step], 1e-6) << "step " << step + 1;
    EXPECT_NEAR(p->y - 1.0f, drop[step], 1e-5) << "step " << step + 1;
    EXPECT_EQ(p->vx, 0.0f);
    EXPECT_EQ(p->x, 5.0f);
  }
}

TEST(Simulation, LinkKindsCorrectTheirOwnSide) {
  // A spring of stiffness 1 stretched to 1.5 x rest is back at rest in one solve, each end
  // moving half of the excess.
  Pair spring(20, 30, LinkKind::Spring);
  SolveLink(*spring.link);
  EXPECT_FLOAT_EQ(spring.a->x, 5.0f);
  EXPECT_FLOAT_EQ(spring.b->x, 25.0f);
  EXPECT_FLOAT_EQ(spring.link->length, 30.0f);
  // Compressed springs push out; heavier ends move less.
  Pair heavy(20, 10, LinkKind::Spring);
  heavy.a->mass = 3.0f;
  SolveLink(*heavy.link);
  EXPECT_FLOAT_EQ(heavy.b->x - heavy.a->x, 20.0f);
  EXPECT_FLOAT_EQ(heavy.a->x, -2.5f);
  // A rope only pulls, a strut only pushes.
  Pair slackRope(20, 15, LinkKind::Rope);
  SolveLink(*slackRope.link);
  EXPECT_EQ(slackRope.b->x, 15.0f);
  Pair tightRope(20, 30, LinkKind::Rope);
  SolveLink(*tightRope.link);
  EXPECT_FLOAT_EQ(tightRope.b->x - tightRope.a->x, 20.0f);
  Pair longStrut(20, 30, LinkKind::Strut);
  SolveLink(*longStrut.link);
  EXPECT_EQ(longStrut.b->x, 30.0f);
  Pair shortStrut(20, 12, LinkKind::Strut);
  SolveLink(*shortStrut.link);
  EXPECT_FLOAT_EQ(shortStrut.b->x - shortStrut.a->x, 20.0f);
  // A thruster at rest length moves both ends by 0.001 (b - a).
  Pair thruster(20, 20, LinkKind::Thruster, 0.0f);
  SolveLink(*thruster.link);
  EXPECT_FLOAT_EQ(thruster.a->x, 0.02f);
  EXPECT_FLOAT_EQ(thruster.b->x, 20.02f);
  // Stiffness 0.5 corrects half the error.
  Pair soft(20, 30, LinkKind::Spring, 0.5f);
  SolveLink(*soft.link);
  EXPECT_NEAR(soft.b->x - soft.a->x, 25.0f, 1e-5);
  // An inactive link does nothing at all.
  Pair broken(20, 30, LinkKind::Spring);
  broken.link->active = 0;
  SolveLink(*broken.link);
  EXPECT_EQ(broken.b->x, 30.0f);
}

TEST(Simulation, CoincidentLinkEndsUseTheLengthFloor) {
  // Rest 1, ends together: strain (0.01 - 1) / 0.01 = -99.
  Pair weak(1, 0, LinkKind::Spring);
  weak.link->breakLimit = 98.0f;
  SolveLink(*weak.link);
  EXPECT_EQ(weak.link->active, 0);
  Pair strong(1, 0, LinkKind::Spring);
  strong.link->breakLimit = 100.0f;
  SolveLink(*strong.link);
  EXPECT_EQ(strong.link->active, 1);
  EXPECT_EQ(strong.a->x, 0.0f);
  EXPECT_EQ(strong.b->x, 0.0f);
  // Rest 10, limit 0.05: k = 0.5, so it holds up to L = 20 and down to L = 6.67.
  for (float length : {19.9f, 6.7f}) {
    Pair held(10, length, LinkKind::Spring, 0.0f);
    held.link->breakLimit = 0.05f;
    SolveLink(*held.link);
    EXPECT_EQ(held.link->active, 1) << length;
  }
  for (float length : {20.1f, 6.6f}) {
    Pair snapped(10, length, LinkKind::Spring, 0.0f);
    snapped.link->breakLimit = 0.05f;
    SolveLink(*snapped.link);
    EXPECT_EQ(snapped.link->active, 0) << length;
  }
}

TEST(Simulation, AngleJointOpensTowardsItsLimitOnItsOwnSide) {
  Body body;
  const float angle = 0.5f;
  BodyPoint* p0 = Add(body, 10.0f * std::cos(angle), 10.0f * std::sin(angle));
  BodyPoint* p1 = Add(body, 0, 0);
  BodyPoint* p2 = Add(body, 10, 0);
  AngleJoint* joint = AddAngleJoint(body, p0, p1, p2, 0, 1.0f);
  joint->limitAngle = 1.0f;
  const float x0 = p0->x, y0 = p0->y;
  SolveAngleJoint(*joint);
  // corr = (1.0 - 0.5)^2 = 0.25 along perp(u) = (-sin 0.5, cos 0.5).
  EXPECT_NEAR(p0->x - x0, -0.25f * std::sin(angle), 1e-5);
  EXPECT_NEAR(p0->y - y0, 0.25f * std::cos(angle), 1e-5);
  EXPECT_NEAR(p2->x - 10.0f, 0.0f, 1e-6);
  EXPECT_NEAR(p2->y, -0.25f, 1e-5);
  EXPECT_NEAR(joint->measured, angle, 1e-5);
  // The three moves sum to zero.
  EXPECT_NEAR((p0->x - x0) + p1->x + (p2->x - 10.0f), 0.0f, 1e-6);
  EXPECT_NEAR((p0->y - y0) + p1->y + p2->y, 0.0f, 1e-6);

  // The mirror case: limit -1 rad, angle -0.5 rad moves p0 along -perp(u).
  Body mirror;
  BodyPoint* m0 = Add(mirror, 10.0f * std::cos(-angle), 10.0f * std::sin(-angle));
  BodyPoint* m1 = Add(mirror, 0, 0);
  BodyPoint* m2 = Add(mirror, 10, 0);
  AngleJoint* negative = AddAngleJoint(mirror, m0, m1, m2, 0, 1.0f);
  negative->limitAngle = -1.0f;
  const float mx = m0->x, my = m0->y;
  SolveAngleJoint(*negative);
  // perp(u) = (sin 0.5, cos 0.5) for u at -0.5 rad; the move is its negative.
  EXPECT_NEAR(m0->x - mx, -0.25f * std::sin(angle), 1e-5);
  EXPECT_NEAR(m0->y - my, -0.25f * std::cos(angle), 1e-5);

  // Beyond the limit, or on the other side, nothing moves.
  for (float limit : {0.4f, -1.0f}) {
    Body still;
    BodyPoint* s0 = Add(still, 10.0f * std::cos(angle), 10.0f * std::sin(angle));
    BodyPoint* s1 = Add(still, 0, 0);
    BodyPoint* s2 = Add(still, 10, 0);
    AngleJoint* j = AddAngleJoint(still, s0, s1, s2, 0, 1.0f);
    j->limitAngle = limit;
    const float sx = s0->x;
    SolveAngleJoint(*j);
    EXPECT_EQ(s0->x, sx) << limit;
    EXPECT_EQ(s1->x, 0.0f) << limit;
    EXPECT_EQ(s2->y, 0.0f) << limit;
  }
}

TEST(Simulation, PointContactsPushApartUnlessGrouped) {
  Body body;
  BodyPoint* a = Add(body, 0, 0, 1, 10, 0);
  BodyPoint* b = Add(body, 12, 0, 1, 10, 0);
  SolvePointContacts(body);
  EXPECT_FLOAT_EQ(b->x - a->x, 20.0f);
  EXPECT_FLOAT_EQ(a->x, -4.0f);
  Body grouped;
  BodyPoint* c = Add(grouped, 0, 0, 1, 10, 5);
  BodyPoint* d = Add(grouped, 12, 0, 1, 10, 5);
  SolvePointContacts(grouped);
  EXPECT_EQ(c->x, 0.0f);
  EXPECT_EQ(d->x, 12.0f);
  // Different groups touch; a non-colliding point touches nothing.
  Body mixed;
  BodyPoint* e = Add(mixed, 0, 0, 1, 10, 5);
  BodyPoint* f = Add(mixed, 12, 0, 3, 10, 6);
  BodyPoint* ghost = AddPoint(mixed, 6, 0, 1, 10, 0, 0, 0);
  SolvePointContacts(mixed);
  EXPECT_FLOAT_EQ(f->x - e->x, 20.0f);
  EXPECT_FLOAT_EQ(e->x, -6.0f);
  EXPECT_EQ(ghost->x, 6.0f);
  // Exactly coincident points stay (the direction is the zero vector); near ones separate.
  Body same;
  BodyPoint* g = Add(same, 3, 3);
  BodyPoint* h = Add(same, 3, 3);
  SolvePointContacts(same);
  EXPECT_EQ(g->x, 3.0f);
  EXPECT_EQ(h->x, 3.0f);
}

TEST(Simulation, RestingBodyKeepsItsShape) {
  // A triangle pulled out of shape and dropped on a flat line (inside its grid row): once it
  // rests, every link is back at its rest length, less the sag of one step of gravity.
  auto world = std::make_unique<World>();
  AddSolidLine(*world, {-500, 150}, {500, 150}, 1.0f, LineKind::Normal);
  Body body;
  BodyPoint* a = AddPoint(body, 0, 156, 1, 5, 1, 1, 0.3f);
  BodyPoint* b = AddPoint(body, 40, 156, 1, 5, 1, 1, 0.3f);
  BodyPoint* c = AddPoint(body, 20, 186, 1, 5, 1, 1, 0.3f);
  AddLink(body, a, b, 0.5f, 0, 1000, LinkKind::Spring);
  AddLink(body, b, c, 0.5f, 0, 1000, LinkKind::Spring);
  AddLink(body, c, a, 0.5f, 0, 1000, LinkKind::Spring);
  c->x = c->prevX = 30;
  for (int i = 0; i < 2000; ++i) StepBodyOnTrack(body, *world);
  for (Link& link : body.links) EXPECT_NEAR(LinkLength(link), link.restLength, 0.06f);
  float lowest = 1e9f;
  for (const BodyPoint& p : body.points) lowest = std::min(lowest, p.y);
  EXPECT_NEAR(lowest, 156.0f, 0.05f);
  // At rest: one more step moves no point by more than the gravity of a step.
  const float x0 = a->x, y0 = a->y;
  StepBodyOnTrack(body, *world);
  EXPECT_NEAR(a->x, x0, 0.03f);
  EXPECT_NEAR(a->y, y0, 0.03f);
}
