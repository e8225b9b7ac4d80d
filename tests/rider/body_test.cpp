#include "rider/body.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <set>
#include <vector>

#include "rider/physics_log.h"
#include "rider/simulation.h"
#include "support/body_builder.h"
#include "support/describe_game.h"

namespace {

// A snapshot holding one free point per id, in the order given, 30 units apart.
void SnapshotWithIds(BodySnapshot& snapshot, const std::vector<int32_t>& ids) {
  ClearSnapshot(snapshot);
  for (size_t i = 0; i < ids.size(); ++i) AddSnapshotPoint(snapshot, Loose({.x = 30.0f * float(i), .id = ids[i]}));
}

}  // namespace

TEST(Body, AddsPointsLinksAndJoints) {
  Body body;
  BodyPoint* a = Add(body, {.mass = 2.0f, .collides = 0, .friction = 0.5f});
  BodyPoint* b = Add(body, {.x = 30, .y = 40});
  BodyPoint* c = Add(body, {.x = 60});
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(c->id, 2);
  EXPECT_EQ(Add(body, {.mass = INFINITY}), nullptr);

  Link* ab = Tie(body, a, b, {.stiffness = 0.5f, .breakGroup = 2, .breakFactor = 0.1f, .kind = LinkKind::Rope});
  ASSERT_NE(ab, nullptr);
  EXPECT_FLOAT_EQ(ab->restLength, 50.0f);
  EXPECT_FLOAT_EQ(ab->breakLimit, 5.0f);
  AttachSprite(body, ab, 15, 3, 0.1f, 2, 8, 4, 1);
  EXPECT_EQ(ab->hasSprite, 1);
  // The same pair in the other order replaces the record in place; the sprite is gone.
  EXPECT_EQ(Tie(body, b, a), ab);
  EXPECT_EQ(ab->hasSprite, 0);
  EXPECT_EQ(ab->a, b);
  EXPECT_EQ(ab->kind, LinkKind::Spring);
  EXPECT_EQ(Tie(body, a, nullptr), nullptr);

  AngleJoint* joint = AddAngleJoint(body, a, b, c, 90.0f, 0.1f);
  ASSERT_NE(joint, nullptr);
  EXPECT_EQ(AddAngleJoint(body, c, a, b, -45.0f, 0.3f), joint);
  EXPECT_EQ(joint->p1, a);
  EXPECT_EQ(CountsOf(body), "points 3 links 1 joints 1") << "the refused point and the replaced records add none";
}

TEST(Body, NearestPointAndLink) {
  Body body;
  BodyPoint* a = Add(body, {});
  BodyPoint* b = Add(body, {.x = 12});
  Add(body, {.x = 6});
  // (3, 0) is 3 from a, 9 from b, 3 from the third point: the tie keeps the earlier one.
  EXPECT_EQ(FindNearestPoint(body, 3, 0, 0), a);
  EXPECT_EQ(FindNearestPoint(body, 12, 14, 5), b);
  EXPECT_EQ(FindNearestPoint(body, 12, 16, 5), nullptr);
  BodyPoint* c = Add(body, {.y = 100});
  Link* low = Tie(body, a, b);
  Link* side = Tie(body, a, c);
  EXPECT_EQ(FindNearestLink(body, 6, 3, 20), low);
  EXPECT_EQ(FindNearestLink(body, 4, 50, 20), side);
  EXPECT_EQ(FindNearestLink(body, 40, 3, 20), nullptr);
  EXPECT_EQ(FindNearestLink(body, 30, 3, 20), low);
}

TEST(Body, EachBodyCountsItsOwnProvisionalIds) {
  Body body, other;
  for (int i = 0; i < 10000; ++i) ASSERT_EQ(NextProvisionalPointId(body), i);
  EXPECT_EQ(NextProvisionalPointId(body), -1);
  EXPECT_EQ(NextProvisionalPointId(body), 0);
  // Drawing from one body, clearing it or adding to it leaves the other's count alone.
  EXPECT_EQ(NextProvisionalPointId(other), 0);
  Add(body, {});
  ClearBody(body);
  EXPECT_EQ(NextProvisionalPointId(other), 1);
  Add(other, {});                                 // draws 2
  EXPECT_EQ(NextProvisionalPointId(body), 0);
  EXPECT_EQ(NextProvisionalPointId(other), 3);
  SetProvisionalPointId(body, 20000);
  EXPECT_EQ(NextProvisionalPointId(body), -1);
  EXPECT_EQ(NextProvisionalPointId(other), 4);
}

TEST(Body, RebuildKeepsIdsAndNeverRepeatsOne) {
  // Stored ids, then the ids of points added after the rebuild. The rule alone (id + 100 past
  // the next id) would repeat an id in the second and third cases; near the top of the 32-bit
  // range nothing overflows and free ids are searched.
  const struct {
    std::vector<int32_t> stored, added;
  } cases[] = {{{0, 57, 3}, {157}},          {{0}, {1}},
               {{100, 200}, {201}},          {{INT32_MAX - 10, 5}, {INT32_MAX, 0, 1}},
               {{INT32_MAX, 0, 2}, {1, 3}},  {{}, {0}}};
  Body body;
  BodySnapshot snapshot;
  for (const auto& c : cases) {
    SnapshotWithIds(snapshot, c.stored);
    RebuildFromSnapshot(body, snapshot);
    for (int32_t id : c.added) EXPECT_EQ(Add(body, {})->id, id) << testing::PrintToString(c.stored);
    std::set<int32_t> ids;
    for (const BodyPoint& point : body.points) EXPECT_TRUE(ids.insert(point.id).second) << "id " << point.id;
  }
  SnapshotWithIds(snapshot, {0, 57, 3});
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(NextProvisionalPointId(body), 257) << "moved to the largest id + 200";
}

TEST(Body, SnapshotRoundTripAndCopyKeepEverything) {
  Body body;
  BodyPoint* a = Add(body, {.mass = 2, .radius = 7, .group = 1, .friction = 0.2f});
  BodyPoint* b = Add(body, {.x = 40, .radius = 9, .collides = 0, .friction = 0.05f});
  BodyPoint* c = Add(body, {.x = 20, .y = 30, .mass = 3, .radius = 5, .group = 2});
  b->prevX = 38;
  Link* ab = Tie(body, a, b, {.stiffness = 0.7f, .breakGroup = 3, .breakFactor = 0.02f, .kind = LinkKind::Strut});
  Tie(body, b, c, {.stiffness = 0.2f, .kind = LinkKind::Thruster});
  AttachSprite(body, ab, 15, 6, 0.25f, -3, 20, 6, 4);
  AddAngleJoint(body, a, c, b, 30, 0.5f);
  c->x = 25;                                      // rest lengths are stored, not measured again
  BodySnapshot snapshot, copy, again;
  TakeSnapshot(body, snapshot);
  CopySnapshot(snapshot, copy);
  Body rebuilt;
  RebuildFromSnapshot(rebuilt, copy);
  TakeSnapshot(rebuilt, again);
  EXPECT_EQ(DescribeSnapshot(again), DescribeSnapshot(snapshot));
  EXPECT_EQ(rebuilt.spriteOrder.entries.size(), 1u);
  EXPECT_EQ(HashBodyPositions(rebuilt), HashBodyPositions(body));

  // An exact copy (what undo keeps) refers only to its own records, never back into the body.
  Body copied;
  CopyBody(body, copied);
  TakeSnapshot(copied, again);
  EXPECT_EQ(DescribeSnapshot(again), DescribeSnapshot(snapshot));
  std::set<const void*> own;
  for (const BodyPoint& p : copied.points) own.insert(&p);
  for (const Link& l : copied.links) own.insert(&l);
  for (const Link& l : copied.links) EXPECT_TRUE(own.count(l.a) && own.count(l.b));
  const AngleJoint& joint = copied.joints.front();
  EXPECT_TRUE(own.count(joint.p0) && own.count(joint.p1) && own.count(joint.p2));
  ASSERT_EQ(copied.spriteOrder.entries.size(), 1u);
  EXPECT_TRUE(own.count(copied.spriteOrder.entries.front()));
}

TEST(Body, SnapshotRecordsNamingMissingPointsAreDropped) {
  PhysicsLog log;
  BodySnapshot snapshot;
  SnapshotWithIds(snapshot, {4, 9});
  Link fields;
  fields.restLength = 30;
  EXPECT_NE(AddSnapshotLink(snapshot, 4, 9, fields), nullptr);
  EXPECT_EQ(AddSnapshotLink(snapshot, 4, 5, fields), nullptr);
  EXPECT_EQ(AddSnapshotJoint(snapshot, 4, 9, 11, 1, 1), nullptr);
  EXPECT_NE(AddSnapshotJoint(snapshot, 4, 9, 4, 1, 1), nullptr);
  EXPECT_EQ(log.Count("rider link dropped"), 1);
  EXPECT_EQ(log.Count("rider joint dropped"), 1);
  // A non-finite point is left out when the body is built, and so are its links.
  AddSnapshotPoint(snapshot, Loose({.x = NAN, .id = 12}));
  AddSnapshotLink(snapshot, 12, 4, fields);
  Body body;
  RebuildFromSnapshot(body, snapshot);
  EXPECT_EQ(CountsOf(body), "points 2 links 1 joints 1");
  EXPECT_EQ(log.Count("rider point 12 dropped"), 1);
  EXPECT_EQ(log.Count("rider link dropped"), 2);
}

TEST(Body, SpriteOrderSortsByDepthAndLogsForeignLinks) {
  PhysicsLog log;
  Body body;
  BodyPoint* p[3] = {Add(body, {}), Add(body, {.x = 10}), Add(body, {.x = 20})};
  Link* l1 = Tie(body, p[0], p[1]);
  Link* l2 = Tie(body, p[1], p[2]);
  Link* l3 = Tie(body, p[0], p[2]);
  int frame = 0;
  for (Link* link : {l1, l2, l3}) AttachSprite(body, link, 15, frame++, 0, 0, 5, 5, link == l2 ? 1 : 2);
  using Order = std::list<Link*>;
  EXPECT_EQ(body.spriteOrder.entries, (Order{l2, l1, l3}));
  AttachSprite(body, l1, 15, 5, 0, 0, 5, 5, 2);  // again: re-dressed, not listed twice
  SetSpriteDepth(body, l2, 7);
  EXPECT_EQ(body.spriteOrder.entries, (Order{l1, l3, l2}));
  Link stranger;
  AttachSprite(body, &stranger, 15, 0, 0, 0, 1, 1, 0);
  SetSpriteDepth(body, &stranger, 0);
  EXPECT_EQ(body.spriteOrder.entries.size(), 3u);
  EXPECT_EQ(stranger.hasSprite, 0);
  EXPECT_EQ(log.Count("adding sprite error: link not found!"), 1);
  EXPECT_EQ(log.Count("swap sprite depth error: link not found!"), 1);
}
