#include "rider/body.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>

#include "rider/physics_log.h"
#include "rider/simulation.h"

namespace {

BodyPoint* Add(Body& body, float x, float y) { return AddPoint(body, x, y, 1.0f, 10.0f, 0, 1, 0.0001f); }

void ExpectUniqueIds(const Body& body) {
  std::set<int32_t> ids;
  for (const BodyPoint& point : body.points) EXPECT_TRUE(ids.insert(point.id).second) << "id " << point.id;
}

// A snapshot holding one free point per id, in the order given.
void SnapshotWithIds(BodySnapshot& snapshot, std::initializer_list<int32_t> ids) {
  ClearSnapshot(snapshot);
  float x = 0;
  for (int32_t id : ids) {
    BodyPoint point = MakePoint(x, 0, 1, 10, 0);
    point.id = id;
    AddSnapshotPoint(snapshot, point);
    x += 30;
  }
}

}  // namespace

TEST(Body, AddsPointsLinksAndJoints) {
  Body body;
  BodyPoint* a = AddPoint(body, 0, 0, 2.0f, 7.0f, 3, 0, 0.5f);
  BodyPoint* b = Add(body, 30, 40);
  BodyPoint* c = Add(body, 60, 0);
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(a->id, 0);
  EXPECT_EQ(c->id, 2);
  EXPECT_EQ(a->mass, 2.0f);
  EXPECT_EQ(a->collides, 0);
  EXPECT_EQ(a->friction, 0.5f);
  EXPECT_EQ(a->prevX, a->x);
  EXPECT_EQ(body.pointsAdded, 3);
  EXPECT_EQ(AddPoint(body, NAN, 0, 1, 10, 0, 1, 0), nullptr);
  EXPECT_EQ(AddPoint(body, 0, 0, INFINITY, 10, 0, 1, 0), nullptr);
  EXPECT_EQ(body.pointsAdded, 3);

  Link* ab = AddLink(body, a, b, 0.5f, 2, 0.1f, LinkKind::Rope);
  ASSERT_NE(ab, nullptr);
  EXPECT_FLOAT_EQ(ab->restLength, 50.0f);
  EXPECT_FLOAT_EQ(ab->breakLimit, 5.0f);
  EXPECT_EQ(ab->spriteSlot, -1);
  AttachSprite(body, ab, 15, 3, 0.1f, 2, 8, 4, 1);
  EXPECT_EQ(ab->hasSprite, 1);
  // The same pair in the other order replaces the record in place; the sprite is gone.
  Link* ba = AddLink(body, b, a, 1.0f, 0, 2.0f, LinkKind::Spring);
  EXPECT_EQ(ba, ab);
  EXPECT_EQ(body.linksAdded, 1);
  EXPECT_EQ(ba->hasSprite, 0);
  EXPECT_EQ(ba->a, b);
  EXPECT_EQ(ba->kind, LinkKind::Spring);
  EXPECT_EQ(AddLink(body, a, nullptr, 1, 0, 1, LinkKind::Spring), nullptr);
  EXPECT_EQ(body.linksAdded, 1);

  AngleJoint* joint = AddAngleJoint(body, a, b, c, 90.0f, 0.1f);
  ASSERT_NE(joint, nullptr);
  EXPECT_NEAR(joint->limitAngle, 1.5707964f, 1e-6);
  EXPECT_EQ(AddAngleJoint(body, c, a, b, -45.0f, 0.3f), joint);
  EXPECT_EQ(body.jointsAdded, 1);
  EXPECT_NEAR(joint->limitAngle, -0.7853982f, 1e-6);
  EXPECT_EQ(joint->p1, a);

  EXPECT_EQ(FindPointById(body, 1), b);
  EXPECT_EQ(FindPointById(body, -1), nullptr);
  EXPECT_EQ(FindPointById(body, 9), nullptr);
  ClearBody(body);
  EXPECT_EQ(body.pointsAdded + body.linksAdded + body.jointsAdded + body.spritesAdded, 0);
  EXPECT_EQ(Add(body, 0, 0)->id, 0);
}

TEST(Body, NearestPointAndLink) {
  Body body;
  BodyPoint* a = Add(body, 0, 0);
  BodyPoint* b = Add(body, 12, 0);
  Add(body, 6, 0);
  // (3, 0) is 3 from a, 9 from b, 3 from the third point: the tie keeps the earlier one.
  EXPECT_EQ(FindNearestPoint(body, 3, 0, 0), a);
  EXPECT_EQ(FindNearestPoint(body, 12, 14, 5), b);
  EXPECT_EQ(FindNearestPoint(body, 12, 16, 5), nullptr);
  EXPECT_EQ(FindNearestPoint(body, 0, 0, -20), nullptr);
  BodyPoint* c = Add(body, 0, 100);
  Link* low = AddLink(body, a, b, 1, 0, 1, LinkKind::Spring);
  Link* side = AddLink(body, a, c, 1, 0, 1, LinkKind::Spring);
  EXPECT_EQ(FindNearestLink(body, 6, 3, 20), low);
  EXPECT_EQ(FindNearestLink(body, 4, 50, 20), side);
  EXPECT_EQ(FindNearestLink(body, 40, 3, 20), nullptr);
  EXPECT_EQ(FindNearestLink(body, 30, 3, 20), low);
}

TEST(Body, ProvisionalIdsWrapAfterTenThousand) {
  SetProvisionalPointId(0);
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(NextProvisionalPointId(), i);
  EXPECT_EQ(NextProvisionalPointId(), -1);
  EXPECT_EQ(NextProvisionalPointId(), 0);
  SetProvisionalPointId(20000);
  EXPECT_EQ(NextProvisionalPointId(), -1);
}

TEST(Body, RebuildKeepsIdsAndNeverRepeatsOne) {
  Body body;
  BodySnapshot snapshot;
  SnapshotWithIds(snapshot, {0, 57, 3});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(body.nextPointId, 157);
  EXPECT_EQ(NextProvisionalPointId(), 257);
  EXPECT_EQ(Add(body, 0, 0)->id, 157);
  // The rule alone would hand out an id already present in these cases.
  SnapshotWithIds(snapshot, {0});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(Add(body, 0, 0)->id, 1);
  SnapshotWithIds(snapshot, {100, 200});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(Add(body, 0, 0)->id, 201);
  ExpectUniqueIds(body);
  // Near the top of the 32-bit range nothing overflows and ids stay unique.
  SnapshotWithIds(snapshot, {INT32_MAX - 10, 5});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(Add(body, 0, 0)->id, INT32_MAX);
  EXPECT_EQ(Add(body, 0, 0)->id, 0);
  EXPECT_EQ(Add(body, 0, 0)->id, 1);
  ExpectUniqueIds(body);
  SnapshotWithIds(snapshot, {INT32_MAX, 0, 2});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(Add(body, 0, 0)->id, 1);
  EXPECT_EQ(Add(body, 0, 0)->id, 3);
  ExpectUniqueIds(body);
  // An empty snapshot gives an empty body and no links.
  ClearSnapshot(snapshot);
  RebuildFromSnapshot(body, snapshot);
  EXPECT_TRUE(body.points.empty());
  EXPECT_EQ(body.nextPointId, 0);
}

TEST(Body, SnapshotRoundTripKeepsEverything) {
  Body body;
  BodyPoint* a = AddPoint(body, 0, 0, 2, 7, 1, 1, 0.2f);
  BodyPoint* b = AddPoint(body, 40, 0, 1, 9, 0, 0, 0.05f);
  BodyPoint* c = AddPoint(body, 20, 30, 3, 5, 2, 1, 0.0001f);
  b->prevX = 38;
  Link* ab = AddLink(body, a, b, 0.7f, 3, 0.02f, LinkKind::Strut);
  AddLink(body, b, c, 0.2f, 0, 1000, LinkKind::Thruster);
  AttachSprite(body, ab, 15, 6, 0.25f, -3, 20, 6, 4);
  AddAngleJoint(body, a, c, b, 30, 0.5f);
  // Rest lengths are stored, not measured again.
  c->x = 25;
  BodySnapshot snapshot;
  TakeSnapshot(body, snapshot);
  EXPECT_EQ(snapshot.pointsAdded, 3);
  EXPECT_EQ(snapshot.linksAdded, 2);
  EXPECT_EQ(snapshot.jointsAdded, 1);
  BodySnapshot copy;
  CopySnapshot(snapshot, copy);
  Body rebuilt;
  RebuildFromSnapshot(rebuilt, copy);
  ASSERT_EQ(rebuilt.points.size(), 3u);
  auto p = rebuilt.points.begin();
  for (const BodyPoint& original : body.points) {
    EXPECT_EQ(p->x, original.x);
    EXPECT_EQ(p->prevX, original.prevX);
    EXPECT_EQ(p->mass, original.mass);
    EXPECT_EQ(p->radius, original.radius);
    EXPECT_EQ(p->group, original.group);
    EXPECT_EQ(p->collides, original.collides);
    EXPECT_EQ(p->friction, original.friction);
    EXPECT_EQ(p->id, original.id);
    ++p;
  }
  ASSERT_EQ(rebuilt.links.size(), 2u);
  auto l = rebuilt.links.begin();
  for (const Link& original : body.links) {
    EXPECT_EQ(l->a->id, original.a->id);
    EXPECT_EQ(l->b->id, original.b->id);
    EXPECT_EQ(l->restLength, original.restLength);
    EXPECT_EQ(l->breakLimit, original.breakLimit);
    EXPECT_EQ(l->stiffness, original.stiffness);
    EXPECT_EQ(l->breakGroup, original.breakGroup);
    EXPECT_EQ(l->kind, original.kind);
    EXPECT_EQ(l->hasSprite, original.hasSprite);
    EXPECT_EQ(l->spriteFrame, original.spriteFrame);
    EXPECT_EQ(l->spriteAcross, original.spriteAcross);
    ++l;
  }
  EXPECT_EQ(rebuilt.spriteOrder.entries.size(), 1u);
  EXPECT_EQ(rebuilt.spritesAdded, 1);
  ASSERT_EQ(rebuilt.joints.size(), 1u);
  EXPECT_EQ(rebuilt.joints.front().p1->id, c->id);
  EXPECT_EQ(rebuilt.joints.front().limitAngle, body.joints.front().limitAngle);
  EXPECT_EQ(HashBodyPositions(rebuilt), HashBodyPositions(body));
}

TEST(Body, SnapshotRecordsNamingMissingPointsAreDropped) {
  PhysicsLog log;
  BodySnapshot snapshot;
  SnapshotWithIds(snapshot, {4, 9});
  Link fields;
  fields.restLength = 30;
  fields.stiffness = 1;
  EXPECT_NE(AddSnapshotLink(snapshot, 4, 9, fields), nullptr);
  EXPECT_EQ(AddSnapshotLink(snapshot, 4, 5, fields), nullptr);
  EXPECT_EQ(AddSnapshotJoint(snapshot, 4, 9, 11, 1, 1), nullptr);
  EXPECT_NE(AddSnapshotJoint(snapshot, 4, 9, 4, 1, 1), nullptr);
  EXPECT_EQ(snapshot.linksAdded, 1);
  EXPECT_EQ(snapshot.jointsAdded, 1);
  EXPECT_EQ(log.Count("rider link dropped"), 1);
  EXPECT_EQ(log.Count("rider joint dropped"), 1);
  // A non-finite point is left out when the body is built, and so are its links.
  BodyPoint bad = MakePoint(NAN, 0, 1, 10, 0);
  bad.id = 12;
  AddSnapshotPoint(snapshot, bad);
  AddSnapshotLink(snapshot, 12, 4, fields);
  Body body;
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(body.pointsAdded, 2);
  EXPECT_EQ(body.linksAdded, 1);
  EXPECT_EQ(body.jointsAdded, 1);
  EXPECT_EQ(log.Count("rider point 12 dropped"), 1);
  EXPECT_EQ(log.Count("rider link dropped"), 2);
}

TEST(Body, SpriteOrderSortsByDepthAndLogsForeignLinks) {
  PhysicsLog log;
  Body body;
  BodyPoint* a = Add(body, 0, 0);
  BodyPoint* b = Add(body, 10, 0);
  BodyPoint* c = Add(body, 20, 0);
  Link* l1 = AddLink(body, a, b, 1, 0, 1, LinkKind::Spring);
  Link* l2 = AddLink(body, b, c, 1, 0, 1, LinkKind::Spring);
  Link* l3 = AddLink(body, a, c, 1, 0, 1, LinkKind::Spring);
  AttachSprite(body, l1, 15, 0, 0, 0, 5, 5, 2);
  AttachSprite(body, l2, 15, 1, 0, 0, 5, 5, 1);
  AttachSprite(body, l3, 15, 2, 0, 0, 5, 5, 2);
  using Order = std::list<Link*>;
  EXPECT_EQ(body.spriteOrder.entries, (Order{l2, l1, l3}));
  AttachSprite(body, l1, 15, 5, 0, 0, 5, 5, 2);
  EXPECT_EQ(body.spriteOrder.entries.size(), 3u);
  EXPECT_EQ(l1->spriteFrame, 5);
  SetSpriteDepth(body, l2, 7);
  EXPECT_EQ(body.spriteOrder.entries, (Order{l1, l3, l2}));
  EXPECT_EQ(body.spritesAdded, 3);
  Link stranger;
  AttachSprite(body, &stranger, 15, 0, 0, 0, 1, 1, 0);
  SetSpriteDepth(body, &stranger, 0);
  EXPECT_EQ(body.spriteOrder.entries.size(), 3u);
  EXPECT_EQ(stranger.hasSprite, 0);
  EXPECT_EQ(log.Count("adding sprite error: link not found!"), 1);
  EXPECT_EQ(log.Count("swap sprite depth error: link not found!"), 1);
}

TEST(Body, PointsNearTheMeanShareOneGridCell) {
  Body body;
  for (int i = 0; i < 12; ++i) Add(body, float(i * 400 - 2000), float(i * 37 + 1000));
  BodyPoint* far = Add(body, 9000, 1000);
  SolvePointContacts(body);
  for (const BodyPoint& point : body.points) {
    if (&point == far) continue;
    EXPECT_EQ(point.cellX, 0);
    EXPECT_EQ(point.cellY, 0);
  }
  // The far point is more than 5120 right of the mean.
  EXPECT_GT(far->cellX, 0);
}
