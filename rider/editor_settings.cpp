#include "rider/editor_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rider/rider_editor.h"

namespace {

// The sliders are squared so the small values, where riders are tuned, get most of the travel:
// x = low + span v^2 for a slider at 100 v, and back v = sqrt((x - low) / span).
float SquaredSlider(int32_t value, float low, float span) {
  const float v = float(std::clamp(value, 0, 100)) * 0.01f;
  return low + span * v * v;
}

int32_t SquaredSliderValue(float x, float low, float span) {
  const float v = std::clamp((x - low) / span, 0.0f, 1.0f);  // also turns NaN into 0
  return int32_t(std::lround(100.0f * std::sqrt(std::isnan(v) ? 0.0f : v)));
}

template <typename Apply>
void ForSelectedPoints(RiderEditor& editor, Apply apply) {
  for (PointHandle handle : editor.selectedPoints)
    if (BodyPoint* point = Resolve(editor.body, handle)) apply(*point);
}

template <typename Apply>
void ForSelectedLinks(RiderEditor& editor, Apply apply) {
  for (LinkHandle handle : editor.selectedLinks)
    if (Link* link = Resolve(editor.body, handle)) apply(*link);
}

}  // namespace

// ---- break values ----

float BreakLimitFor(float breakValue, float restLength) {
  return breakValue / std::max(restLength, kShortestLink);
}

float BreakValueOf(const Link& link) { return link.breakLimit * std::max(link.restLength, kShortestLink); }

void FormatBreakValue(float value, char* out, int32_t size) {
  if (value >= 1.0f)
    snprintf(out, size_t(size), "NO CRASH");
  else
    snprintf(out, size_t(size), "%7.5f", double(value));
}

// ---- sliders ----

float SliderToPointSize(int32_t value) { return SquaredSlider(value, kMinPointSize, kMaxPointSize - kMinPointSize); }

float SliderToStiffness(int32_t value) { return SquaredSlider(value, 0.0f, kMaxLinkStiffness); }

float SliderToBreak(int32_t value) { return value >= kNoCrashSlider ? kNoCrashBreak : SquaredSlider(value, 0.0f, 1.0f); }

int32_t PointSizeToSlider(float size) { return SquaredSliderValue(size, kMinPointSize, kMaxPointSize - kMinPointSize); }

int32_t StiffnessToSlider(float stiffness) { return SquaredSliderValue(stiffness, 0.0f, kMaxLinkStiffness); }

int32_t BreakToSlider(float breakValue) { return SquaredSliderValue(breakValue, 0.0f, 1.0f); }

// ---- settings applied to the selection ----

void SetPointRadius(RiderEditor& editor, float radius) {
  EditorSettings& s = editor.settings;
  s.pointRadius = std::clamp(radius, kMinPointSize, kMaxPointSize);
  if (s.massFollowsRadius) s.pointMass = s.pointRadius;
  ForSelectedPoints(editor, [&](BodyPoint& point) {
    point.radius = s.pointRadius;
    if (s.massFollowsRadius) point.mass = s.pointMass;
  });
}

void SetPointMass(RiderEditor& editor, float mass) {
  editor.settings.pointMass = std::clamp(mass, kMinPointSize, kMaxPointSize);
  ForSelectedPoints(editor, [&](BodyPoint& point) { point.mass = editor.settings.pointMass; });
}

void StepPointGroup(RiderEditor& editor, int32_t delta) {
  editor.settings.pointGroup = std::clamp(editor.settings.pointGroup + delta, 0, kMaxPointGroup);
  ForSelectedPoints(editor, [&](BodyPoint& point) { point.group = editor.settings.pointGroup; });
}

void ToggleCollides(RiderEditor& editor) {
  editor.settings.pointCollides = editor.settings.pointCollides ? 0 : 1;
  ForSelectedPoints(editor, [&](BodyPoint& point) { point.collides = editor.settings.pointCollides; });
}

void ToggleGrip(RiderEditor& editor) {
  EditorSettings& s = editor.settings;
  s.grip = !s.grip;
  s.pointFriction = s.grip ? kGripFriction : kNoGripFriction;
  ForSelectedPoints(editor, [&](BodyPoint& point) { point.friction = s.pointFriction; });
}

void ToggleMassFollowsRadius(RiderEditor& editor) {
  editor.settings.massFollowsRadius = !editor.settings.massFollowsRadius;
}

void SetLinkStiffness(RiderEditor& editor, float stiffness) {
  editor.settings.linkStiffness = std::clamp(stiffness, 0.0f, kMaxLinkStiffness);
  ForSelectedLinks(editor, [&](Link& link) { link.stiffness = editor.settings.linkStiffness; });
}

void SetLinkBreak(RiderEditor& editor, float breakValue) {
  editor.settings.linkBreak = std::clamp(breakValue, 0.0f, kNoCrashBreak);
  ForSelectedLinks(editor,
                   [&](Link& link) { link.breakLimit = BreakLimitFor(editor.settings.linkBreak, link.restLength); });
}

void StepLinkBreakGroup(RiderEditor& editor, int32_t delta) {
  editor.settings.linkBreakGroup = std::max(editor.settings.linkBreakGroup + delta, 0);
  ForSelectedLinks(editor, [&](Link& link) { link.breakGroup = editor.settings.linkBreakGroup; });
}

void SetLinkKind(RiderEditor& editor, LinkKind kind) {
  editor.settings.linkKind = kind;
  ForSelectedLinks(editor, [&](Link& link) { link.kind = kind; });
}

void StepSpriteFrame(RiderEditor& editor, int32_t delta) {
  editor.settings.spriteFrame = std::clamp(editor.settings.spriteFrame + delta, 0, kMaxSpriteFrame);
  ForSelectedLinks(editor, [&](Link& link) { link.spriteFrame = editor.settings.spriteFrame; });
}
