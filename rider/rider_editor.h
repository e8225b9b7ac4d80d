// The rider editor's model: the body being built, the values new records take, what is under
// the mouse, the chain being drawn, the joint picks and the selections, with every editing
// action as a plain function taking world coordinates. Reading input and drawing belong to the
// screen that calls these.
//
// Everything the editor refers to inside its body is a handle, and every action ends by
// emptying the handles whose record is gone, so a held handle is either empty or names a live
// member of the body. Settings and their limits are rider/editor_settings.h, sprite keys
// rider/editor_sprites.h.
#pragma once
#include <cstdint>
#include <vector>

#include "rider/body.h"
#include "rider/editor_settings.h"
#include "shell/vec2.h"

struct CurrentRider;

enum class EditorTool : int32_t { Point = 0, Link = 1, Joint = 2 };

constexpr float kMinEditorZoom = 0.3f;
constexpr float kMaxEditorZoom = 16.0f;
constexpr float kNewJointLimitDegrees = 179.0f;   // a new angle joint resists bending one way only
constexpr float kNewJointStiffness = 0.08f;

struct RiderEditor {
  Body body;
  EditorSettings settings;                        // values for new records; applied to the selection
  EditorTool tool = EditorTool::Point;
  float zoom = 1.0f;                              // kept in [kMinEditorZoom, kMaxEditorZoom]
  float viewX = 0, viewY = 0;                     // view translation, world units
  bool showSprites = true;                        // the link sprites are drawn

  // The current gesture; ended by every release.
  float mouseX = 0, mouseY = 0;                   // last mouse position given to an action, world units
  float pressX = 0, pressY = 0;                   // where the left button went down: the rectangle's corner
  bool moving = false;                            // left button drags the selected points
  bool rectangleOn = false;                       // left button draws a selection rectangle
  bool rightHeld = false;                         // right button draws a chain from chainStart

  PointHandle hoveredPoint;
  LinkHandle hoveredLink;
  JointHandle hoveredJoint;                       // the first joint holding both ends of the hovered link
  PointHandle chainStart;                         // last point of the chain being drawn
  std::vector<PointHandle> jointPicks;            // 0..2 points picked for a new angle joint
  JointHandle selectedJoint;
  std::vector<PointHandle> selectedPoints;        // no repeats
  std::vector<LinkHandle> selectedLinks;          // no repeats
  PointHandle focus;                              // the point the camera follows; empty only with no points
  char spriteSheet[256] = {};                     // sprite sheet for slot 15, relative to the exec folder

  // Where the edited rider came from: the file it was loaded from or last saved to, relative to
  // the exec folder ("" for a rider never saved), and its saved form then; a body that would
  // save to other bytes has unsaved edits (rider/editor_files.h).
  char path[259] = {};
  std::vector<uint8_t> savedForm;
};

// ---- mouse, in world units ----
void UpdateHover(RiderEditor& editor, float x, float y);   // hover for the current tool at (x, y)
void LeftPress(RiderEditor& editor, float x, float y, bool shift);
void RightPress(RiderEditor& editor, float x, float y, bool shift);
void MouseMove(RiderEditor& editor, float x, float y);     // drags points, extends a held chain, hovers
void LeftRelease(RiderEditor& editor, float x, float y, bool shift);  // ends a rectangle or a move
void RightRelease(RiderEditor& editor, float x, float y);  // ends a chain

// ---- keys ----
void ArrowStep(RiderEditor& editor, int32_t dx, int32_t dy);  // one step of an arrow key, each -1..1:
                                                              // moves points (point tool) or sprites (link tool)
void DeleteSelection(RiderEditor& editor);        // removes what the tool selects, with all that refers to it
void SetZoom(RiderEditor& editor, float zoom);    // clamped to the zoom limits
void EndGestures(RiderEditor& editor);            // a move, rectangle or chain ends where it is
// The view: screen = centre + zoom (world + view - centre), screen px with y up, centre = size / 2.
Vec2 EditorWorldPoint(const RiderEditor& editor, Vec2 screen, Vec2 screenSize);
void CentreView(RiderEditor& editor, Vec2 screenSize);  // zoom 1, the body's middle at the screen's

// ---- selection ----
bool PointSelected(const RiderEditor& editor, const BodyPoint& point);
bool LinkSelected(const RiderEditor& editor, const Link& link);
void SelectPoint(RiderEditor& editor, BodyPoint& point);  // adds it and takes its values into the settings
void SelectLink(RiderEditor& editor, Link& link);         // adds it and takes its values into the settings
void SetFocusToSelection(RiderEditor& editor);    // focus = the first selected point; unchanged with none
int32_t FocusPointId(const RiderEditor& editor);  // id of the focus point, 0 with none (as a new rider has)
bool EditorReferencesLive(const RiderEditor& editor);  // every held handle is empty or resolves

// ---- the rider in use ----
// Replaces the body with rider's, takes its sprite sheet and focus, and forgets every hover,
// chain, pick and selection of the old body.
void LoadEditorFromRider(RiderEditor& editor, const CurrentRider& rider);
// The rider as it would be saved: the body posed as it is, every link at rest at its current
// length with its break value kept, the focus and the sprite sheet. The editor is unchanged.
void RiderFromEditor(const RiderEditor& editor, CurrentRider& rider);
// Undo's restore: the body becomes a copy of body (ids and counters too), the focus the point
// with focusId and the sheet sheet; every hover, chain, pick and selection of the old body ends.
void RestoreEditorBody(RiderEditor& editor, const Body& body, int32_t focusId, const char* sheet);
// After a save was written: the edited links take their current length as rest length too.
void SetRestLengthsToCurrent(RiderEditor& editor);
