#include "rider/editor_drawing.h"

#include <cmath>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "rider/body_drawing.h"
#include "rider/rider_editor.h"

namespace {

// Frames of the point sheet (slot 13) that mark points.
constexpr int kJointMarkFrame = 9;
constexpr int kFocusFrame = 10;
constexpr int kHoverFrame = 14;
constexpr int kSelectedFrame = 15;
constexpr float kOriginMarkHalfSize = 32.0f;
constexpr float kSkeletonWidth = 4.0f;
constexpr float kDegreesPerRadian = 57.29578f;

struct Colour {
  uint8_t r, g, b;
};
constexpr Colour kRed{255, 0, 0};
constexpr Colour kYellow{255, 255, 0};
constexpr Colour kBlue{10, 10, 255};

void MarkPoint(const BodyPoint& point, int frame) {
  BindSpriteFrame(kSlotPoints, frame);
  PushTransform();
  Translate(point.x, point.y);
  DrawCentredQuad(point.radius, point.radius);
  PopTransform();
}

void MarkPoint(const RiderEditor& editor, PointHandle handle, int frame) {
  if (const BodyPoint* point = Resolve(editor.body, handle)) MarkPoint(*point, frame);
}

void Segment(float x0, float y0, float x1, float y1) {
  const float xy[4] = {x0, y0, x1, y1};
  DrawVertices(Primitive::Lines, xy, 2);
}

// Two lines parallel to the link, w screen px to each side.
void OutlineLink(const RiderEditor& editor, LinkHandle handle, Colour colour, float w) {
  const Link* link = Resolve(editor.body, handle);
  if (!link) return;
  const float dx = link->b->x - link->a->x, dy = link->b->y - link->a->y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0.0f)) return;
  const float nx = -dy / length * w / editor.zoom, ny = dx / length * w / editor.zoom;
  EnableTexture(false);
  SetLineWidth(2.0f);
  SetColour(colour.r, colour.g, colour.b, 255);
  Segment(link->a->x + nx, link->a->y + ny, link->b->x + nx, link->b->y + ny);
  Segment(link->a->x - nx, link->a->y - ny, link->b->x - nx, link->b->y - ny);
  SetColour(255, 255, 255, 255);
  EnableTexture(true);
}

// Red line from a point to the mouse: the chain being drawn or a joint pick.
void LineToMouse(const RiderEditor& editor, PointHandle from) {
  const BodyPoint* point = Resolve(editor.body, from);
  if (!point) return;
  EnableTexture(false);
  SetLineWidth(2.0f);
  SetColour(255, 0, 0, 255);
  Segment(point->x, point->y, editor.mouseX, editor.mouseY);
  SetColour(255, 255, 255, 255);
  EnableTexture(true);
}

void SelectionRectangle(const RiderEditor& editor) {
  if (!editor.rectangleOn) return;
  const float x0 = editor.pressX, y0 = editor.pressY, x1 = editor.mouseX, y1 = editor.mouseY;
  const float xy[16] = {x0, y0, x1, y0, x1, y0, x1, y1, x1, y1, x0, y1, x0, y1, x0, y0};
  EnableTexture(false);
  SetLineWidth(1.0f);
  SetColour(0, 255, 0, 128);
  DrawVertices(Primitive::Lines, xy, 8);
  SetColour(255, 255, 255, 255);
  EnableTexture(true);
}

// A joint's mark on its middle point, turned to the bisector of its arms, mirrored when it
// resists bending the other way.
void MarkJoint(const AngleJoint& joint, Colour colour) {
  const BodyPoint& m = *joint.p1;
  const float a0 = std::atan2(joint.p0->y - m.y, joint.p0->x - m.x);
  const float a2 = std::atan2(joint.p2->y - m.y, joint.p2->x - m.x);
  float bisector = (a0 + a2) / 2;
  if (std::fabs(a0 - a2) > float(M_PI)) bisector += float(M_PI);
  BindSpriteFrame(kSlotPoints, kJointMarkFrame);
  SetColour(colour.r, colour.g, colour.b, 255);
  PushTransform();
  Translate(m.x, m.y);
  Rotate(bisector * kDegreesPerRadian);
  DrawCentredQuad(joint.limitAngle > 0.0f ? m.radius : -m.radius, m.radius);
  PopTransform();
  SetColour(255, 255, 255, 255);
}

void PointToolMarks(const RiderEditor& editor) {
  for (PointHandle handle : editor.selectedPoints) MarkPoint(editor, handle, kSelectedFrame);
  MarkPoint(editor, editor.hoveredPoint, kHoverFrame);
  MarkPoint(editor, editor.focus, kFocusFrame);
}

void LinkToolMarks(const RiderEditor& editor) {
  for (LinkHandle handle : editor.selectedLinks) OutlineLink(editor, handle, kRed, 3.0f);
  if (const Link* hovered = Resolve(editor.body, editor.hoveredLink)) {
    OutlineLink(editor, editor.hoveredLink, kYellow, 3.0f);
    if (!LinkSelected(editor, *hovered)) OutlineLink(editor, editor.hoveredLink, kBlue, 5.0f);
  }
  MarkPoint(editor, editor.hoveredPoint, kHoverFrame);
}

void JointToolMarks(const RiderEditor& editor) {
  const AngleJoint* selected = Resolve(editor.body, editor.selectedJoint);
  const AngleJoint* hovered = Resolve(editor.body, editor.hoveredJoint);
  for (const AngleJoint& joint : editor.body.joints)
    MarkJoint(joint, &joint == selected ? kRed : &joint == hovered ? Colour{0, 255, 0} : Colour{255, 255, 255});
  for (PointHandle handle : editor.jointPicks) MarkPoint(editor, handle, kSelectedFrame);
  MarkPoint(editor, editor.hoveredPoint, kHoverFrame);
  for (size_t i = 0; i < editor.jointPicks.size() && i < 2; ++i) LineToMouse(editor, editor.jointPicks[i]);
  OutlineLink(editor, editor.hoveredLink, kYellow, 3.0f);
}

}  // namespace

void DrawRiderEditor(const RiderEditor& editor, Vec2 screenSize) {
  const float cx = screenSize.x / 2, cy = screenSize.y / 2;
  LoadIdentity();
  Translate(cx, cy);
  Scale(editor.zoom, editor.zoom);
  Translate(editor.viewX - cx, editor.viewY - cy);
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  SetColour(255, 255, 255, 255);
  if (editor.tool == EditorTool::Point) {
    BindSpriteFrame(kSlotOriginMark, 0);
    DrawCentredQuad(kOriginMarkHalfSize, kOriginMarkHalfSize);
  }
  DrawSkeleton(editor.body, kSkeletonWidth);
  SetColour(255, 255, 255, 255);
  EnableTexture(true);
  if (editor.showSprites) DrawSprites(editor.body);
  SetColour(255, 255, 255, 255);
  EnableTexture(true);
  switch (editor.tool) {
    case EditorTool::Point: PointToolMarks(editor); break;
    case EditorTool::Link: LinkToolMarks(editor); break;
    case EditorTool::Joint: JointToolMarks(editor); break;
  }
  if (editor.tool != EditorTool::Joint && editor.rightHeld) LineToMouse(editor, editor.chainStart);
  SelectionRectangle(editor);
  LoadIdentity();
}
