#include "rider/rider_editor.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <tuple>
#include <utility>

#include "rider/current_rider.h"
#include "rider/editor_sprites.h"
#include "rider/physics_log.h"
#include "rider/rider_size.h"
#include "support/body_builder.h"

namespace {

// A right-button chain from (x0, y0) to (x1, y1), as a player drags it.
void Chain(RiderEditor& e, float x0, float y0, float x1, float y1) {
  RightPress(e, x0, y0, false);
  MouseMove(e, x1, y1);
  RightRelease(e, x1, y1);
}

// A new editor after the given chains, each {x0, y0, x1, y1}.
std::unique_ptr<RiderEditor> EditorWith(std::initializer_list<std::array<float, 4>> chains) {
  auto e = std::make_unique<RiderEditor>();
  for (const auto& c : chains) Chain(*e, c[0], c[1], c[2], c[3]);
  return e;
}

// Links 0-1 from (0, 0) to (100, 0) and 1-2 on to (100, 100).
std::unique_ptr<RiderEditor> Corner() { return EditorWith({{0, 0, 100, 0}, {100, 0, 100, 100}}); }

void Click(RiderEditor& e, float x, float y, bool shift = false) {
  LeftPress(e, x, y, shift);
  LeftRelease(e, x, y, shift);
}

void RightPresses(RiderEditor& e, std::initializer_list<Vec2> places) {
  for (Vec2 p : places) RightPress(e, p.x, p.y, false);
}

BodyPoint& PointAt(RiderEditor& e, size_t index) { return *std::next(e.body.points.begin(), long(index)); }

}  // namespace

TEST(RiderEditor, ChainsMakePointsAndLinksAndTakeInEveryPointTheyReach) {
  auto e = EditorWith({{0, 0, 40, 0}});            // on empty space: two points and a link
  ASSERT_EQ(e->body.points.size(), 2u);
  ASSERT_EQ(e->body.links.size(), 1u);
  const Link& link = e->body.links.front();
  EXPECT_FLOAT_EQ(link.restLength, 40.0f);
  EXPECT_FLOAT_EQ(BreakValueOf(link), 1000.0f);    // the value survives as a strain, not x rest length
  // Both points picked (the release adds the new one), the new link alone in the link selection.
  EXPECT_EQ(e->selectedPoints.size(), 2u);
  ASSERT_EQ(e->selectedLinks.size(), 1u);
  EXPECT_EQ(Resolve(e->body, e->selectedLinks[0]), &link);
  EXPECT_EQ(FocusPointId(*e), PointAt(*e, 0).id);  // the first point placed is the focus
  EXPECT_EQ(e->chainStart.id, -1);
  // A held chain from point 0 through point 2 (0, 100) to point 3 (100, 100), then on to empty space.
  Chain(*e, 0, 100, 100, 100);
  RightPress(*e, 0, 0, false);
  MouseMove(*e, 0, 100);
  MouseMove(*e, 100, 100);
  RightRelease(*e, 100, 200);
  EXPECT_EQ(e->body.points.size(), 5u);
  EXPECT_EQ(e->body.links.size(), 4u);             // 0-1, 2-3 (overwritten by the chain), 0-2, 3-new
  EXPECT_EQ(e->body.links.back().a->y, 100.0f);
}

TEST(RiderEditor, LeftButtonPicksMovesAndUnselects) {
  auto e = EditorWith({{0, 0, 100, 0}});
  e->selectedPoints.clear();
  PointAt(*e, 1).mass = 7;
  PointAt(*e, 1).friction = 0.1f;
  LeftPress(*e, 101, 0, false);                    // within the radius: picks point 1, takes its values
  EXPECT_FLOAT_EQ(e->settings.pointMass, 7.0f);
  EXPECT_TRUE(e->settings.grip);
  MouseMove(*e, 111, 5);
  LeftRelease(*e, 111, 5, false);
  const BodyPoint& moved = PointAt(*e, 1);         // by (10, 5), at rest
  EXPECT_EQ(std::tie(moved.x, moved.y, moved.prevX, moved.prevY), std::tuple(110.0f, 5.0f, 110.0f, 5.0f));
  ASSERT_EQ(e->selectedPoints.size(), 1u);
  Click(*e, 0, 0, true);                           // shift adds
  EXPECT_EQ(e->selectedPoints.size(), 2u);
  Click(*e, 110, 5, true);                         // shift on a selected point unselects
  ASSERT_EQ(e->selectedPoints.size(), 1u);
  EXPECT_EQ(Resolve(e->body, e->selectedPoints[0]), &PointAt(*e, 0));
}

TEST(RiderEditor, RectanglesSelectWhatLiesStrictlyInside) {
  auto e = Corner();
  const struct { EditorTool tool; float x0, y0, x1, y1; size_t points, links; } cases[] = {
      {EditorTool::Point, -50, -50, 150, 50, 2, 0},  // points 0 and 1
      {EditorTool::Point, 150, 150, -50, -50, 3, 0}, // any corner order
      {EditorTool::Point, 0, -50, 150, 150, 2, 0},   // point 0 lies on the edge: not inside
      {EditorTool::Link, -50, -50, 150, 50, 0, 1},   // link 0-1 only
      {EditorTool::Link, -50, -50, 150, 150, 0, 2}};
  for (const auto& c : cases) {
    e->selectedPoints.clear();
    e->selectedLinks.clear();
    e->tool = c.tool;
    LeftPress(*e, c.x0, c.y0, false);
    ASSERT_TRUE(e->rectangleOn) << c.x0;
    LeftRelease(*e, c.x1, c.y1, false);
    EXPECT_EQ(e->selectedPoints.size(), c.points) << c.x0 << " " << c.x1;
    EXPECT_EQ(e->selectedLinks.size(), c.links) << c.x0 << " " << c.x1;
  }
}

TEST(RiderEditor, HoverFollowsTheTool) {
  auto e = EditorWith({{0, 0, 100, 0}});
  const struct { EditorTool tool; float x, y; bool point, link; } cases[] = {
      {EditorTool::Point, 20.5f, 0, true, true},   // radius 20 plus 1 in the point tool
      {EditorTool::Link, 20.5f, 0, false, true},   // 1 inside the radius in the link tool
      {EditorTool::Link, 18.5f, 0, true, true},
      {EditorTool::Link, 50, 19, false, true},     // 20 / zoom across the link
      {EditorTool::Link, 50, 21, false, false},
      {EditorTool::Point, 50, 60, false, false}};
  for (const auto& c : cases) {
    e->tool = c.tool;
    UpdateHover(*e, c.x, c.y);
    EXPECT_EQ(Resolve(e->body, e->hoveredPoint) != nullptr, c.point) << c.x << "," << c.y;
    EXPECT_EQ(Resolve(e->body, e->hoveredLink) != nullptr, c.link) << c.x << "," << c.y;
  }
}

TEST(RiderEditor, JointToolPicksThreeDifferentPoints) {
  auto e = Corner();
  e->tool = EditorTool::Joint;
  RightPresses(*e, {{0, 0}, {0, 0}});               // the same point again: picks cleared
  EXPECT_TRUE(e->jointPicks.empty());
  RightPresses(*e, {{0, 0}, {100, 0}, {50, 50}});  // nothing there: picks cleared
  EXPECT_TRUE(e->jointPicks.empty());
  RightPresses(*e, {{0, 0}, {100, 0}, {100, 100}});
  ASSERT_EQ(e->body.joints.size(), 1u);
  const AngleJoint& joint = e->body.joints.front();
  EXPECT_FLOAT_EQ(joint.limitAngle, 179.0f * 3.1415927f * 0.0055555557f);  // in degrees to the body, once
  EXPECT_TRUE(e->jointPicks.empty());
  UpdateHover(*e, 50, 2);                          // over link 0-1: the joint holds both ends
  EXPECT_EQ(Resolve(e->body, e->hoveredJoint), &joint);
  LeftPress(*e, 50, 2, false);
  EXPECT_EQ(Resolve(e->body, e->selectedJoint), &joint);
  DeleteSelection(*e);
  EXPECT_TRUE(e->body.joints.empty() && e->selectedJoint.id == -1);
  EXPECT_EQ(e->body.links.size(), 2u);
  e->tool = EditorTool::Link;                      // the link tool deletes the selected links only
  Click(*e, 50, 2);
  DeleteSelection(*e);
  EXPECT_EQ(e->body.points.size(), 3u);
  ASSERT_EQ(e->body.links.size(), 1u);
  EXPECT_FLOAT_EQ(e->body.links.front().a->x, 100.0f);
  EXPECT_TRUE(e->selectedLinks.empty());
}

// The links, joints and sprites of a dead point go in the body's clean-up (the link breaking
// test's); hovered and selected records, the random runs check after every action. A joint pick
// on a deleted point and the focus are checked here.
TEST(RiderEditor, DeletingPointsTakesEverythingThatRefersToThem) {
  PhysicsLog log;                                  // the links' crashes stay out of the output
  auto e = Corner();
  e->tool = EditorTool::Joint;
  RightPresses(*e, {{0, 0}, {100, 0}, {100, 100}, {0, 0}});  // a joint, and a pick left standing on point 0
  e->tool = EditorTool::Point;
  e->selectedPoints.clear();
  Click(*e, 0, 0);                                 // point 0 (the focus) selected
  DeleteSelection(*e);
  EXPECT_EQ(e->body.points.size(), 2u);
  EXPECT_EQ(e->body.links.size(), 1u);
  EXPECT_TRUE(e->selectedPoints.empty() && e->jointPicks.empty());
  EXPECT_EQ(Resolve(e->body, e->focus), &e->body.points.front());  // the first remaining point
  EXPECT_TRUE(EditorReferencesLive(*e));
  // Deleting the rest leaves no focus.
  LeftPress(*e, -200, -200, false);
  LeftRelease(*e, 300, 300, false);
  DeleteSelection(*e);
  EXPECT_TRUE(e->body.points.empty());
  EXPECT_EQ(e->focus.id, -1);
  EXPECT_EQ(FocusPointId(*e), 0);
}

TEST(RiderEditor, RefusesPointsBeyondTheRiderSizeLimit) {
  PhysicsLog log;
  auto e = EditorWith({});
  for (uint32_t i = 0; i < kMaxRiderPoints; ++i) {
    RightPress(*e, float(i) * 50, 0, false);       // a point released where it was placed: no link
    RightRelease(*e, float(i) * 50, 0);
  }
  EXPECT_TRUE(e->body.links.empty());
  ASSERT_EQ(e->body.points.size(), kMaxRiderPoints);
  EXPECT_EQ(log.Count("Rider too big"), 0);
  RightPress(*e, -500, 0, false);
  RightRelease(*e, -500, 0);
  Chain(*e, 0, 0, 0, 300);                         // a chain from a point into empty space
  EXPECT_EQ(e->body.points.size(), kMaxRiderPoints);
  EXPECT_EQ(log.Count("Rider too big: 257 points, the limit is 256"), 2);
  EXPECT_TRUE(EditorReferencesLive(*e));
}

TEST(RiderEditor, ArrowKeysMovePointsAtRestByAScreenStep) {
  auto e = EditorWith({{0, 0, 100, 0}});
  SetZoom(*e, 2.0f);
  ArrowStep(*e, 1, -1);
  for (const BodyPoint& p : e->body.points)        // both selected after the chain, moved at rest
    EXPECT_EQ(std::pair(p.y, p.prevY), std::pair(-0.2f, -0.2f));
  EXPECT_FLOAT_EQ(PointAt(*e, 0).x, 0.2f);
  const struct { float asked, kept; } zooms[] = {{0.1f, 0.3f}, {20, 16}, {NAN, 1}, {3, 3}};
  for (const auto& z : zooms) {
    SetZoom(*e, z.asked);
    EXPECT_EQ(e->zoom, z.kept) << z.asked;
  }
}

TEST(RiderEditor, SpritesComeFromSlot15AndFollowTheKeys) {
  PhysicsLog log;
  auto e = EditorWith({{100, 0, 0, 0}});           // a from (100, 0) to b at (0, 0): b -> a points along +x
  Tie(e->body, Add(e->body, {.x = 200}), Add(e->body, {.x = 200, .y = 0.0005f}));  // too short to give a direction
  e->tool = EditorTool::Link;
  SelectLink(*e, e->body.links.back());            // with the chain's link
  e->settings.spriteFrame = 3;
  ToggleSprites(*e);
  const Link& link = e->body.links.front();
  EXPECT_EQ(link.spriteSlot, 15);
  EXPECT_EQ(link.spriteFrame, 3);
  ArrowStep(*e, 1, 1);                             // zoom 1: 0.2 along and 0.2 to the left
  EXPECT_FLOAT_EQ(link.spriteAlong, 0.2f / 100.0f);
  EXPECT_FLOAT_EQ(link.spriteAcross, 0.2f);
  const Link& shortLink = e->body.links.back();
  EXPECT_TRUE(shortLink.spriteAlong == 0.0f && shortLink.spriteAcross == 0.0f);
  e->selectedLinks.erase(e->selectedLinks.begin());
  ToggleSprites(*e);                               // the short link loses its sprite...
  EXPECT_EQ(shortLink.hasSprite, 0);
  StepSpriteDepth(*e, 1);                          // ...and so takes no depth step
  EXPECT_EQ(e->body.spriteOrder.entries.front(), &link);
  EXPECT_EQ(log.Count("error"), 0);
}

TEST(RiderEditor, SaveFormKeepsTheBreakValueAtTheNewRestLength) {
  auto e = EditorWith({{0, 0, 40, 0}});
  SetLinkBreak(*e, 0.5f);
  e->selectedPoints.clear();
  LeftPress(*e, 40, 0, false);
  MouseMove(*e, 80, 0);
  LeftRelease(*e, 80, 0, false);
  auto rider = std::make_unique<CurrentRider>();
  std::strcpy(e->spriteSheet, "sprites\\bike.png");
  RiderFromEditor(*e, *rider);
  const Link& saved = rider->snapshot.links.front();
  EXPECT_FLOAT_EQ(saved.restLength, 80.0f);
  EXPECT_FLOAT_EQ(saved.restLength * saved.breakLimit, 0.5f);
  EXPECT_STREQ(rider->spriteSheet, "sprites\\bike.png");
  // Loading it back forgets every reference into the old body and takes the rider's focus.
  rider->focusPointId = PointAt(*e, 1).id;
  LoadEditorFromRider(*e, *rider);
  EXPECT_TRUE(e->selectedPoints.empty() && e->selectedLinks.empty() && e->hoveredPoint.id == -1);
  EXPECT_EQ(FocusPointId(*e), rider->focusPointId);
}
