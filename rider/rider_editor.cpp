#include "rider/rider_editor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "rider/current_rider.h"
#include "rider/editor_sprites.h"
#include "rider/link_breaking.h"
#include "rider/rider_size.h"

namespace {

constexpr float kPointToolTolerance = 1.0f;       // the point tool finds a point 1 unit past its radius
constexpr float kInnerTolerance = -1.0f;          // the link and joint tools want the mouse 1 unit inside
constexpr float kLinkReach = 20.0f;               // screen units around a link that hover it
constexpr float kPointOverLinkReach = 42.0f;      // beyond this a point yields to a nearer hovered link
constexpr float kPointKeyStep = 0.4f;             // screen units per step of an arrow key

bool IsEmpty(PointHandle handle) { return handle.id < 0; }

template <typename Handle>
void Forget(Handle& handle) { handle = Handle{}; }

// Empties every handle whose record is gone, so the editor never holds a dead reference.
void ForgetDeadReferences(RiderEditor& editor) {
  Body& body = editor.body;
  if (!Resolve(body, editor.hoveredPoint)) Forget(editor.hoveredPoint);
  if (!Resolve(body, editor.hoveredLink)) Forget(editor.hoveredLink);
  if (!Resolve(body, editor.hoveredJoint)) Forget(editor.hoveredJoint);
  if (!Resolve(body, editor.chainStart)) Forget(editor.chainStart);
  if (!Resolve(body, editor.selectedJoint)) Forget(editor.selectedJoint);
  std::erase_if(editor.jointPicks, [&](PointHandle h) { return !Resolve(body, h); });
  std::erase_if(editor.selectedPoints, [&](PointHandle h) { return !Resolve(body, h); });
  std::erase_if(editor.selectedLinks, [&](LinkHandle h) { return !Resolve(body, h); });
  // The focus moves to the first remaining point, so a test ride keeps its camera.
  if (!Resolve(body, editor.focus))
    editor.focus = body.points.empty() ? PointHandle{} : HandleOf(body, body.points.front());
}

// As the body measures rest lengths, so a link made here and one re-measured agree.
float Distance(float x0, float y0, float x1, float y1) {
  const float dx = x1 - x0;
  const float dy = y1 - y0;
  return std::sqrt(dx * dx + dy * dy);
}

// The link at rest where it lies, surviving the same strain as before.
void RestAtCurrentLength(Link& link) {
  const float value = BreakValueOf(link);
  link.restLength = Distance(link.a->x, link.a->y, link.b->x, link.b->y);
  link.breakLimit = BreakLimitFor(value, link.restLength);
}

// The perpendicular distance from (x, y) to the line through the link.
float DistanceToLine(const Link& link, float x, float y) {
  const float dx = link.b->x - link.a->x;
  const float dy = link.b->y - link.a->y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0f)) return Distance(link.a->x, link.a->y, x, y);
  return std::fabs(dx * (y - link.a->y) - dy * (x - link.a->x)) / length;
}

bool JointHolds(const AngleJoint& joint, const BodyPoint* p) { return joint.p0 == p || joint.p1 == p || joint.p2 == p; }

bool StrictlyInside(float x, float y, float x0, float y0, float x1, float y1) {
  return x > std::min(x0, x1) && x < std::max(x0, x1) && y > std::min(y0, y1) && y < std::max(y0, y1);
}

// Adds a point with the settings, within the rider-size limit (which logs a refusal).
BodyPoint* PlacePoint(RiderEditor& editor, float x, float y) {
  if (!RiderSizeAllowed(uint64_t(editor.body.points.size()) + 1)) return nullptr;
  const EditorSettings& s = editor.settings;
  BodyPoint* point = AddPoint(editor.body, x, y, s.pointMass, s.pointRadius, s.pointGroup, s.pointCollides,
                              s.pointFriction);
  if (point && !Resolve(editor.body, editor.focus)) editor.focus = HandleOf(editor.body, *point);
  return point;
}

Link* JoinPoints(RiderEditor& editor, BodyPoint* a, BodyPoint* b) {
  const EditorSettings& s = editor.settings;
  Link* link = AddLink(editor.body, a, b, s.linkStiffness, s.linkBreakGroup, 0.0f, s.linkKind);
  if (link) link->breakLimit = BreakLimitFor(s.linkBreak, link->restLength);
  return link;
}

void MovePoints(RiderEditor& editor, float dx, float dy) {
  // Position and previous position move together, so the moved points stay at rest.
  for (PointHandle handle : editor.selectedPoints) {
    if (BodyPoint* point = Resolve(editor.body, handle)) {
      point->x += dx;
      point->y += dy;
      point->prevX += dx;
      point->prevY += dy;
    }
  }
}

void UnselectPoint(RiderEditor& editor, const BodyPoint& point) {
  std::erase_if(editor.selectedPoints, [&](PointHandle h) { return Resolve(editor.body, h) == &point; });
}

void UnselectLink(RiderEditor& editor, const Link& link) {
  std::erase_if(editor.selectedLinks, [&](LinkHandle h) { return Resolve(editor.body, h) == &link; });
}

void PointToolLeftPress(RiderEditor& editor, bool shift) {
  BodyPoint* point = Resolve(editor.body, editor.hoveredPoint);
  if (!point) {
    editor.rectangleOn = true;
  } else if (!PointSelected(editor, *point)) {
    if (!shift) editor.selectedPoints.clear();
    SelectPoint(editor, *point);
    editor.moving = true;
  } else if (shift) {
    UnselectPoint(editor, *point);
  } else {
    editor.moving = true;
  }
}

void LinkToolLeftPress(RiderEditor& editor, bool shift) {
  BodyPoint* point = Resolve(editor.body, editor.hoveredPoint);
  Link* link = Resolve(editor.body, editor.hoveredLink);
  if (point) {
    editor.selectedPoints.clear();
    SelectPoint(editor, *point);
    editor.moving = true;
  } else if (link && !LinkSelected(editor, *link)) {
    if (!shift) editor.selectedLinks.clear();
    SelectLink(editor, *link);
  } else if (link) {
    if (shift) UnselectLink(editor, *link);
  } else {
    editor.rectangleOn = true;
  }
}

void ChainPress(RiderEditor& editor, float x, float y, bool shift) {
  if (BodyPoint* point = Resolve(editor.body, editor.hoveredPoint)) {
    editor.chainStart = HandleOf(editor.body, *point);
    editor.rightHeld = true;
    return;
  }
  BodyPoint* point = PlacePoint(editor, x, y);
  if (!point) return;
  editor.chainStart = HandleOf(editor.body, *point);
  if (!shift) editor.selectedPoints.clear();
  SelectPoint(editor, *point);
  editor.rightHeld = true;
}

void JointPick(RiderEditor& editor) {
  BodyPoint* point = Resolve(editor.body, editor.hoveredPoint);
  bool usable = point != nullptr;
  for (PointHandle picked : editor.jointPicks) usable = usable && Resolve(editor.body, picked) != point;
  if (!usable) {
    editor.jointPicks.clear();
    return;
  }
  editor.jointPicks.push_back(HandleOf(editor.body, *point));
  if (editor.jointPicks.size() < 3) return;
  AddAngleJoint(editor.body, Resolve(editor.body, editor.jointPicks[0]), Resolve(editor.body, editor.jointPicks[1]),
                point, kNewJointLimitDegrees, kNewJointStiffness);
  editor.jointPicks.clear();
}

}  // namespace

// ---- mouse ----

void UpdateHover(RiderEditor& editor, float x, float y) {
  Body& body = editor.body;
  editor.mouseX = x;
  editor.mouseY = y;
  const float reach = kLinkReach / editor.zoom;
  Link* link = FindNearestLink(body, x, y, reach);
  const float tolerance = editor.tool == EditorTool::Point ? kPointToolTolerance : kInnerTolerance;
  BodyPoint* point = FindNearestPoint(body, x, y, tolerance);
  if (point && link && editor.tool == EditorTool::Link) {
    const float toPoint = Distance(point->x, point->y, x, y);
    if (toPoint > kPointOverLinkReach && DistanceToLine(*link, x, y) < toPoint) point = nullptr;
  }
  editor.hoveredPoint = point ? HandleOf(body, *point) : PointHandle{};
  editor.hoveredLink = link ? HandleOf(body, *link) : LinkHandle{};
  editor.hoveredJoint = {};
  if (!link) return;
  for (const AngleJoint& joint : body.joints) {
    if (JointHolds(joint, link->a) && JointHolds(joint, link->b)) {
      editor.hoveredJoint = HandleOf(body, joint);
      break;
    }
  }
}

void LeftPress(RiderEditor& editor, float x, float y, bool shift) {
  UpdateHover(editor, x, y);
  editor.pressX = x;
  editor.pressY = y;
  if (editor.rightHeld) return;
  switch (editor.tool) {
    case EditorTool::Point: PointToolLeftPress(editor, shift); break;
    case EditorTool::Link: LinkToolLeftPress(editor, shift); break;
    case EditorTool::Joint: editor.selectedJoint = editor.hoveredJoint; break;
  }
  ForgetDeadReferences(editor);
}

void RightPress(RiderEditor& editor, float x, float y, bool shift) {
  UpdateHover(editor, x, y);
  if (editor.moving || editor.rectangleOn) return;
  if (editor.tool == EditorTool::Joint)
    JointPick(editor);
  else
    ChainPress(editor, x, y, shift);
  ForgetDeadReferences(editor);
}

void MouseMove(RiderEditor& editor, float x, float y) {
  const float dx = x - editor.mouseX;
  const float dy = y - editor.mouseY;
  if (editor.moving) MovePoints(editor, dx, dy);
  UpdateHover(editor, x, y);
  // A held chain takes in every point the mouse reaches and goes on from it.
  BodyPoint* start = Resolve(editor.body, editor.chainStart);
  BodyPoint* reached = Resolve(editor.body, editor.hoveredPoint);
  if (editor.rightHeld && start && reached && reached != start) {
    JoinPoints(editor, start, reached);
    editor.chainStart = editor.hoveredPoint;
  }
  ForgetDeadReferences(editor);
}

void LeftRelease(RiderEditor& editor, float x, float y, bool shift) {
  MouseMove(editor, x, y);
  if (editor.rectangleOn && editor.tool == EditorTool::Point) {
    if (!shift) editor.selectedPoints.clear();
    for (BodyPoint& point : editor.body.points)
      if (StrictlyInside(point.x, point.y, editor.pressX, editor.pressY, x, y) && !PointSelected(editor, point))
        editor.selectedPoints.push_back(HandleOf(editor.body, point));
  } else if (editor.rectangleOn && editor.tool == EditorTool::Link) {
    for (Link& link : editor.body.links) {
      const bool inside = StrictlyInside(link.a->x, link.a->y, editor.pressX, editor.pressY, x, y) &&
                          StrictlyInside(link.b->x, link.b->y, editor.pressX, editor.pressY, x, y);
      if (inside && !LinkSelected(editor, link)) editor.selectedLinks.push_back(HandleOf(editor.body, link));
    }
  }
  editor.moving = false;
  editor.rectangleOn = false;
  ForgetDeadReferences(editor);
}

void RightRelease(RiderEditor& editor, float x, float y) {
  MouseMove(editor, x, y);
  BodyPoint* start = Resolve(editor.body, editor.chainStart);
  if (editor.rightHeld && start && editor.tool != EditorTool::Joint && !Resolve(editor.body, editor.hoveredPoint)) {
    if (BodyPoint* end = PlacePoint(editor, x, y)) {
      Link* link = JoinPoints(editor, start, end);
      SelectPoint(editor, *end);
      editor.selectedLinks.clear();
      if (link) SelectLink(editor, *link);
    }
  }
  editor.rightHeld = false;
  Forget(editor.chainStart);
  ForgetDeadReferences(editor);
}

// ---- keys ----

void ArrowStep(RiderEditor& editor, int32_t dx, int32_t dy) {
  if (editor.tool == EditorTool::Point) {
    const float step = kPointKeyStep / editor.zoom;
    MovePoints(editor, float(std::clamp(dx, -1, 1)) * step, float(std::clamp(dy, -1, 1)) * step);
  } else if (editor.tool == EditorTool::Link) {
    MoveSprites(editor, dx, dy);
  }
}

void DeleteSelection(RiderEditor& editor) {
  Body& body = editor.body;
  switch (editor.tool) {
    case EditorTool::Point:
      for (PointHandle handle : editor.selectedPoints)
        if (BodyPoint* point = Resolve(body, handle)) point->alive = false;
      editor.selectedLinks.clear();
      break;
    case EditorTool::Link:
      for (LinkHandle handle : editor.selectedLinks)
        if (Link* link = Resolve(body, handle)) link->active = false;
      break;
    case EditorTool::Joint:
      if (AngleJoint* joint = Resolve(body, editor.selectedJoint)) joint->active = false;
      break;
  }
  CleanUpBody(body, false);
  editor.moving = false;
  editor.rightHeld = false;
  Forget(editor.chainStart);
  ForgetDeadReferences(editor);
}

void EndGestures(RiderEditor& editor) {
  editor.moving = editor.rectangleOn = editor.rightHeld = false;
  Forget(editor.chainStart);
}

void SetZoom(RiderEditor& editor, float zoom) {
  editor.zoom = std::isnan(zoom) ? 1.0f : std::clamp(zoom, kMinEditorZoom, kMaxEditorZoom);
}

Vec2 EditorWorldPoint(const RiderEditor& editor, Vec2 screen, Vec2 screenSize) {
  const float cx = screenSize.x / 2, cy = screenSize.y / 2;
  return {(screen.x - cx) / editor.zoom - editor.viewX + cx, (screen.y - cy) / editor.zoom - editor.viewY + cy};
}

void CentreView(RiderEditor& editor, Vec2 screenSize) {
  editor.zoom = 1.0f;
  float x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  bool any = false;
  for (const BodyPoint& point : editor.body.points) {
    x0 = any ? std::min(x0, point.x) : point.x;
    x1 = any ? std::max(x1, point.x) : point.x;
    y0 = any ? std::min(y0, point.y) : point.y;
    y1 = any ? std::max(y1, point.y) : point.y;
    any = true;
  }
  // At zoom 1 a world point shows at its own coordinates plus the translation.
  editor.viewX = any ? screenSize.x / 2 - (x0 + x1) / 2 : 0.0f;
  editor.viewY = any ? screenSize.y / 2 - (y0 + y1) / 2 : 0.0f;
}

// ---- selection ----

bool PointSelected(const RiderEditor& editor, const BodyPoint& point) {
  for (PointHandle handle : editor.selectedPoints)
    if (Resolve(editor.body, handle) == &point) return true;
  return false;
}

bool LinkSelected(const RiderEditor& editor, const Link& link) {
  for (LinkHandle handle : editor.selectedLinks)
    if (Resolve(editor.body, handle) == &link) return true;
  return false;
}

void SelectPoint(RiderEditor& editor, BodyPoint& point) {
  if (!PointSelected(editor, point)) editor.selectedPoints.push_back(HandleOf(editor.body, point));
  EditorSettings& s = editor.settings;
  s.pointMass = point.mass;
  s.pointRadius = point.radius;
  s.pointGroup = point.group;
  s.pointCollides = point.collides;
  s.pointFriction = point.friction;
  s.grip = point.friction >= kGripThreshold;
}

void SelectLink(RiderEditor& editor, Link& link) {
  if (!LinkSelected(editor, link)) editor.selectedLinks.push_back(HandleOf(editor.body, link));
  EditorSettings& s = editor.settings;
  s.linkStiffness = link.stiffness;
  s.linkBreak = BreakValueOf(link);
  s.linkBreakGroup = link.breakGroup;
  s.linkKind = link.kind;
}

void SetFocusToSelection(RiderEditor& editor) {
  if (!editor.selectedPoints.empty()) editor.focus = editor.selectedPoints.front();
}

int32_t FocusPointId(const RiderEditor& editor) {
  const BodyPoint* point = Resolve(editor.body, editor.focus);
  return point ? point->id : 0;
}

bool EditorReferencesLive(const RiderEditor& editor) {
  const Body& body = editor.body;
  auto live = [&](auto handle) { return handle.id < 0 || Resolve(body, handle) != nullptr; };
  bool ok = live(editor.hoveredPoint) && live(editor.hoveredLink) && live(editor.hoveredJoint) &&
            live(editor.chainStart) && live(editor.selectedJoint) && live(editor.focus);
  for (PointHandle h : editor.jointPicks) ok = ok && !IsEmpty(h) && live(h);
  for (PointHandle h : editor.selectedPoints) ok = ok && !IsEmpty(h) && live(h);
  for (LinkHandle h : editor.selectedLinks) ok = ok && h.id >= 0 && live(h);
  return ok && (body.points.empty() || Resolve(body, editor.focus));
}

// ---- the rider in use ----

namespace {

// A new body in the editor: nothing of the old one is held, the focus is the point with focusId.
void TakeNewBody(RiderEditor& editor, int32_t focusId, const char* sheet) {
  editor.moving = editor.rectangleOn = editor.rightHeld = false;
  Forget(editor.hoveredPoint);
  Forget(editor.hoveredLink);
  Forget(editor.hoveredJoint);
  Forget(editor.chainStart);
  Forget(editor.selectedJoint);
  editor.jointPicks.clear();
  editor.selectedPoints.clear();
  editor.selectedLinks.clear();
  const BodyPoint* focus = FindPointById(editor.body, focusId);
  editor.focus = focus ? HandleOf(editor.body, *focus) : PointHandle{};
  ForgetDeadReferences(editor);
  if (sheet != editor.spriteSheet) snprintf(editor.spriteSheet, sizeof editor.spriteSheet, "%s", sheet);
}

}  // namespace

void LoadEditorFromRider(RiderEditor& editor, const CurrentRider& rider) {
  RebuildFromSnapshot(editor.body, rider.snapshot);
  TakeNewBody(editor, rider.focusPointId, rider.spriteSheet);
}

void RestoreEditorBody(RiderEditor& editor, const Body& body, int32_t focusId, const char* sheet) {
  CopyBody(body, editor.body);
  TakeNewBody(editor, focusId, sheet);
}

void RiderFromEditor(const RiderEditor& editor, CurrentRider& rider) {
  TakeSnapshot(editor.body, rider.snapshot);
  for (Link& link : rider.snapshot.links) RestAtCurrentLength(link);
  rider.focusPointId = FocusPointId(editor);
  std::memcpy(rider.spriteSheet, editor.spriteSheet, sizeof rider.spriteSheet);
}

void SetRestLengthsToCurrent(RiderEditor& editor) {
  for (Link& link : editor.body.links) RestAtCurrentLength(link);
}
