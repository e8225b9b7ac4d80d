// The rider editor's settings: the values new points, links and sprites take, their limits, the
// sliders that set them, and their application to the selection. A break value is the strain a
// link survives: breakLimit = value / restLength, and a link shows breakLimit x restLength.
#pragma once
#include <cstdint>

#include "rider/body.h"

struct RiderEditor;

constexpr float kGripFriction = 0.1f;             // friction of a point with grip
constexpr float kNoGripFriction = 0.0001f;
constexpr float kGripThreshold = 0.0002f;         // a picked point with this friction or more has grip
constexpr int32_t kMaxPointGroup = 7;
constexpr int32_t kMaxSpriteFrame = 15;           // slot 15 is a sheet of 4 x 4 frames
constexpr int32_t kEditorSpriteSlot = 15;
constexpr float kMinPointSize = 1.0f;             // radius and mass: 1 + 19 v^2 for a slider at 100 v
constexpr float kMaxPointSize = 20.0f;
constexpr float kMaxLinkStiffness = 0.9f;         // stiffness: 0.9 v^2
constexpr float kNoCrashBreak = 10000.0f;         // break slider at kNoCrashSlider or more
constexpr int32_t kNoCrashSlider = 95;
constexpr float kShortestLink = 0.001f;           // shorter links count as this long where divided by

struct EditorSettings {
  bool grip = false;                              // new and selected points get kGripFriction
  float pointMass = 20.0f;
  float pointRadius = 20.0f;
  float pointFriction = kNoGripFriction;
  int32_t pointGroup = 0;                         // 0..kMaxPointGroup
  uint8_t pointCollides = 1;
  bool massFollowsRadius = true;                  // the radius slider sets the mass too
  float linkStiffness = 0.8f;
  float linkBreak = 1000.0f;                      // strain a new link survives; 1.0 or more never breaks by stretching
  int32_t linkBreakGroup = 0;                     // 0 = none; no upper limit
  LinkKind linkKind = LinkKind::Spring;
  float spriteAlong = 0, spriteAcross = 0;        // placement of new sprites, as in Link
  float spriteHalfW = 16.0f, spriteHalfH = 16.0f;
  int32_t spriteFrame = 0;                        // 0..kMaxSpriteFrame
  int32_t spriteDepth = 0;
};

// ---- break values ----
float BreakLimitFor(float breakValue, float restLength);  // breakLimit of a link surviving that strain
float BreakValueOf(const Link& link);             // breakLimit x restLength
void FormatBreakValue(float value, char* out, int32_t size);  // "%7.5f", or "NO CRASH" from 1.0

// ---- sliders (values 0..100) ----
float SliderToPointSize(int32_t value);           // radius and mass
float SliderToStiffness(int32_t value);
float SliderToBreak(int32_t value);
int32_t PointSizeToSlider(float size);            // write-back; a value out of range clamps the knob
int32_t StiffnessToSlider(float stiffness);
int32_t BreakToSlider(float breakValue);

// ---- each sets the editor's value within its limit, then every matching selected record ----
void SetPointRadius(RiderEditor& editor, float radius);  // with massFollowsRadius, the mass too
void SetPointMass(RiderEditor& editor, float mass);
void StepPointGroup(RiderEditor& editor, int32_t delta);  // stops at 0 and kMaxPointGroup
void ToggleCollides(RiderEditor& editor);
void ToggleGrip(RiderEditor& editor);             // friction kGripFriction or kNoGripFriction
void ToggleMassFollowsRadius(RiderEditor& editor);
void SetLinkStiffness(RiderEditor& editor, float stiffness);
void SetLinkBreak(RiderEditor& editor, float breakValue);  // 0..kNoCrashBreak
void StepLinkBreakGroup(RiderEditor& editor, int32_t delta);  // stops at 0
void SetLinkKind(RiderEditor& editor, LinkKind kind);
void StepSpriteFrame(RiderEditor& editor, int32_t delta);  // stops at 0 and kMaxSpriteFrame
