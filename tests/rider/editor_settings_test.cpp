#include "rider/editor_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "rider/rider_editor.h"

namespace {

// Two selected points (0, 0) and (40, 0) joined by one selected link, and a third point and
// link outside the selection.
std::unique_ptr<RiderEditor> EditorWithSelection() {
  auto e = std::make_unique<RiderEditor>();
  RightPress(*e, 0, 0, false);
  RightRelease(*e, 40, 0);
  RightPress(*e, 0, 0, false);
  RightRelease(*e, 0, 100);
  e->selectedPoints = {HandleOf(e->body, e->body.points.front()), HandleOf(e->body, *std::next(e->body.points.begin()))};
  e->selectedLinks = {HandleOf(e->body, e->body.links.front())};
  return e;
}

std::string Shown(float value) {
  char text[32];
  FormatBreakValue(value, text, sizeof text);
  return text;
}

}  // namespace

TEST(EditorSettings, SlidersBothWays) {
  const struct { int32_t slider; float size, stiffness, breakValue; } cases[] = {
      {0, 1.0f, 0.0f, 0.0f}, {50, 5.75f, 0.225f, 0.25f}, {94, 17.7884f, 0.795240f, 0.8836f},
      {95, 18.1475f, 0.81225f, 10000}, {100, 20.0f, 0.9f, 10000}};
  for (const auto& c : cases) {
    EXPECT_NEAR(SliderToPointSize(c.slider), c.size, 1e-4f) << c.slider;
    EXPECT_NEAR(SliderToStiffness(c.slider), c.stiffness, 1e-5f) << c.slider;
    EXPECT_NEAR(SliderToBreak(c.slider), c.breakValue, 1e-4f) << c.slider;
    EXPECT_EQ(PointSizeToSlider(c.size), c.slider);
    EXPECT_EQ(StiffnessToSlider(c.stiffness), c.slider);
  }
  // Stored values outside a slider's range put its knob at the end, never at NaN.
  const struct { float stored; int32_t size, stiffness, breakValue; } outside[] = {
      {-3, 0, 0, 0}, {0.5f, 0, 75, 71}, {1000, 100, 100, 100}, {NAN, 0, 0, 0}, {INFINITY, 100, 100, 100}};
  for (const auto& o : outside) {
    EXPECT_EQ(PointSizeToSlider(o.stored), o.size) << o.stored;
    EXPECT_EQ(StiffnessToSlider(o.stored), o.stiffness) << o.stored;
    EXPECT_EQ(BreakToSlider(o.stored), o.breakValue) << o.stored;
  }
}

TEST(EditorSettings, BreakValueIsTheStrainTheLinkSurvives) {
  auto e = EditorWithSelection();
  const Link& link = e->body.links.front();        // rest length 40
  SetLinkBreak(*e, SliderToBreak(50));
  EXPECT_FLOAT_EQ(link.breakLimit, 0.25f / 40.0f);
  EXPECT_FLOAT_EQ(BreakValueOf(link), 0.25f);
  const struct { float value; const char* shown; } shown[] = {
      {0.0f, "0.00000"}, {0.25f, "0.25000"}, {0.99999f, "0.99999"}, {1.0f, "NO CRASH"}, {10000, "NO CRASH"}};
  for (const auto& s : shown) EXPECT_EQ(Shown(s.value), s.shown);
  for (auto [asked, kept] : {std::pair(-1.0f, 0.0f), std::pair(1e9f, kNoCrashBreak)}) {
    SetLinkBreak(*e, asked);
    EXPECT_EQ(e->settings.linkBreak, kept) << asked;
  }
  // Picking the link shows its value, not the stored limit.
  e->settings.linkBreak = 0;
  SelectLink(*e, e->body.links.front());
  EXPECT_FLOAT_EQ(e->settings.linkBreak, 10000.0f);
  EXPECT_TRUE(std::isfinite(BreakLimitFor(1, 0)));  // a link of no length still gets a number
}

TEST(EditorSettings, EachSettingReachesTheSelectionWithinItsLimits) {
  auto e = EditorWithSelection();
  BodyPoint& selected = e->body.points.front();
  Link& link = e->body.links.front();
  const auto pointValues = [](const BodyPoint& p) { return std::tuple(p.radius, p.mass, p.collides, p.group, p.friction); };
  const auto linkValues = [](const Link& l) { return std::tuple(l.stiffness, l.kind, l.breakGroup, l.spriteFrame); };
  const auto outsidePoint = pointValues(e->body.points.back());
  const auto outsideLink = linkValues(e->body.links.back());

  SetPointRadius(*e, 30);                          // above the slider's top; mass follows
  EXPECT_EQ(selected.radius, 20.0f);
  EXPECT_EQ(selected.mass, 20.0f);
  ToggleMassFollowsRadius(*e);
  SetPointRadius(*e, 0.5f);
  EXPECT_EQ(selected.radius, 1.0f);
  EXPECT_EQ(selected.mass, 20.0f);
  EXPECT_EQ(std::next(e->body.points.begin())->radius, 1.0f);  // the second selected point too
  SetPointMass(*e, 5);
  EXPECT_EQ(selected.mass, 5.0f);
  ToggleCollides(*e);
  EXPECT_EQ(selected.collides, 0);
  ToggleGrip(*e);
  EXPECT_EQ(selected.friction, kGripFriction);
  ToggleGrip(*e);
  EXPECT_EQ(selected.friction, kNoGripFriction);
  SetLinkStiffness(*e, 2);
  EXPECT_EQ(link.stiffness, 0.9f);
  SetLinkKind(*e, LinkKind::Thruster);
  EXPECT_EQ(link.kind, LinkKind::Thruster);
  // Steps of one, as many as given, stop at their limits.
  const struct { void (*step)(RiderEditor&, int32_t); int32_t steps; const int32_t* field; int32_t kept; } steps[] = {
      {StepPointGroup, 9, &selected.group, 7},         {StepPointGroup, -9, &selected.group, 0},
      {StepLinkBreakGroup, -1, &link.breakGroup, 0},   {StepLinkBreakGroup, 12, &link.breakGroup, 12},
      {StepSpriteFrame, 20, &link.spriteFrame, 15},    {StepSpriteFrame, -20, &link.spriteFrame, 0}};
  for (const auto& s : steps) {
    for (int32_t i = 0; i < std::abs(s.steps); ++i) s.step(*e, s.steps > 0 ? 1 : -1);
    EXPECT_EQ(*s.field, s.kept) << s.steps;
  }
  EXPECT_EQ(pointValues(e->body.points.back()), outsidePoint);
  EXPECT_EQ(linkValues(e->body.links.back()), outsideLink);
  // The focus follows the first selected point.
  const int32_t second = std::next(e->body.points.begin())->id;
  e->selectedPoints.erase(e->selectedPoints.begin());
  SetFocusToSelection(*e);
  EXPECT_EQ(FocusPointId(*e), second);
  e->selectedPoints.clear();
  SetFocusToSelection(*e);                         // nothing selected: unchanged
  EXPECT_EQ(FocusPointId(*e), second);
}
