#include "track/track_tools.h"

#include <cmath>

#include "platform/keys.h"
#include "shell/input.h"
#include "track/track_scene.h"

namespace {
constexpr float kEraserBase = 20.0f;              // screen px around the thinnest line
constexpr float kEraserPerThickness = 4.5f;
constexpr float kDragTolerance = 5.0f;            // world units beyond a point's radius

bool Finite(Vec2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }
float Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// "Add S to W": a scenery or solid line from the stroke start to w, which becomes the new start.
void AddStrokeLine(TrackScene& scene, Vec2 w) {
  TrackEditor& editor = scene.editor;
  Vec2 s = editor.strokeStart;
  if (!Finite(s) || !Finite(w)) return;
  if (editor.sceneryMode) {
    AddSceneryLine(scene.world, s, w, editor.sceneryR, editor.sceneryG, editor.sceneryB, editor.newLineThickness);
  } else {
    AddSolidLine(scene.world, s, w, editor.newLineThickness, editor.newLineKind);
  }
  editor.strokeStart = w;
}

// The start of a stroke, on a solid endpoint when snapping is on.
Vec2 StrokeStartAt(TrackScene& scene, Vec2 w) {
  if (scene.editor.snapEnabled) SnapToEndpoint(scene.world, w, kSnapRadius / scene.view.zoom);
  return w;
}

void ZoomKeys(View& view) {
  // With Ctrl held, Z is undo: neither key zooms then.
  if (KeyDown('Z') && !KeyDown(kKeyControl)) view.zoom *= 1.05f;
  if (KeyDown('X') && !KeyDown(kKeyControl)) view.zoom *= 0.95f;
  view.zoom = ClampZoom(view.zoom);
}

// Drags the camera with any held button; keeps the world point under the pointer fixed.
void Pan(TrackScene& scene, Vec2 mouse) {
  TrackEditor& editor = scene.editor;
  View& view = scene.view;
  if (KeyDown(kKeyLeftButton) || KeyDown(kKeyRightButton) || KeyDown(kKeyMiddleButton)) {
    if (!editor.panDrag) {
      editor.panAnchor = mouse;
      editor.panDrag = true;
    }
    Vec2 moved = mouse - editor.panAnchor;
    view.camera = view.camera + Vec2(moved.x / view.zoom, moved.y / view.zoom);
    editor.panAnchor = mouse;
  } else {
    editor.panDrag = false;
  }
}

void MiddlePan(TrackScene& scene, Vec2 mouse) {
  if (KeyDown(kKeyMiddleButton)) Pan(scene, mouse);
}

void EndStrokes(TrackEditor& editor) {
  editor.freehandStroke = false;
  editor.straightStroke = false;
}

void Pencil(TrackScene& scene, Vec2 mouse) {
  TrackEditor& editor = scene.editor;
  Cursor& cursor = scene.cursor;
  Vec2 w = WorldPointOf(scene.view, mouse);
  editor.cursorPoint = w;
  float reach = Length(w - editor.strokeStart);
  bool ctrl = KeyDown(kKeyControl);
  if (KeyDown(kKeyRightButton)) {
    // Tapping Ctrl places the straight segment drawn so far and starts the next at its end.
    if (ctrl && editor.straightStroke && !editor.chainLatch) {
      if (reach >= kStraightMinimum) AddStrokeLine(scene, w);
      editor.chainLatch = true;
    }
    SetCursorShape(cursor, CursorShape::Pencil);
    if (!editor.straightStroke && Finite(w)) {
      editor.strokeStart = StrokeStartAt(scene, w);
      editor.straightStroke = true;
    }
  } else {
    editor.chainLatch = false;
    if (editor.straightStroke && reach >= kStraightMinimum) AddStrokeLine(scene, w);
    editor.straightStroke = false;
  }
  if (!ctrl) editor.chainLatch = false;
  if (KeyDown(kKeyLeftButton)) {
    SetCursorShape(cursor, CursorShape::Pencil);
    if (!editor.freehandStroke) {
      if (Finite(w)) {
        editor.strokeStart = StrokeStartAt(scene, w);
        editor.freehandStroke = true;
      }
    } else if (reach >= kFreehandStep) {
      AddStrokeLine(scene, w);
    }
  } else {
    editor.freehandStroke = false;
  }
  if (KeyDown(kKeyMiddleButton)) {
    SetCursorShape(cursor, CursorShape::Hand);
    Pan(scene, mouse);
  } else {
    SetCursorShape(cursor, CursorShape::Pencil);
    editor.panDrag = false;
  }
  ZoomKeys(scene.view);
}

void BoostPencil(TrackScene& scene, Vec2 mouse, LineKind kind) {
  scene.editor.newLineKind = kind;
  Pencil(scene, mouse);
  scene.editor.newLineKind = LineKind::Normal;
}

void SceneryPencil(TrackScene& scene, Vec2 mouse) {
  scene.editor.sceneryMode = true;
  Pencil(scene, mouse);
  scene.editor.sceneryMode = false;
  SetCursorShape(scene.cursor, CursorShape::SceneryPencil);
}

void PanTool(TrackScene& scene, Vec2 mouse) {
  SetCursorShape(scene.cursor, CursorShape::Hand);
  Pan(scene, mouse);
}

void ZoomTool(TrackScene& scene, Vec2 mouse) {
  SetCursorShape(scene.cursor, CursorShape::Zoom);
  scene.editor.cursorPoint = WorldPointOf(scene.view, mouse);
  // Moving the pointer up by one pixel in a step enlarges by 0.5 %.
  if (KeyDown(kKeyLeftButton) || KeyDown(kKeyRightButton))
    scene.view.zoom *= 1.0f + 0.005f * (mouse.y - scene.editor.panAnchor.y);
  ZoomKeys(scene.view);
  MiddlePan(scene, mouse);
  scene.editor.panAnchor = mouse;
}

void Eraser(TrackScene& scene, Vec2 mouse) {
  TrackEditor& editor = scene.editor;
  Cursor& cursor = scene.cursor;
  EndStrokes(editor);
  SetCursorShape(cursor, CursorShape::Eraser);
  cursor.eraserRadius = editor.newLineThickness * kEraserPerThickness + kEraserBase;
  cursor.eraserCircle = true;
  Vec2 w = WorldPointOf(scene.view, mouse);
  editor.cursorPoint = w;
  if (Finite(w)) {
    float radius = cursor.eraserRadius / scene.view.zoom;
    if (KeyDown(kKeyLeftButton)) {
      EraseSolidLines(scene.world, w, radius);
      EraseSceneryLines(scene.world, w, radius);
    } else if (KeyDown(kKeyRightButton)) {
      EraseSceneryLines(scene.world, w, radius);
    }
  }
  ZoomKeys(scene.view);
  MiddlePan(scene, mouse);
  editor.panAnchor = mouse;
}

void PointDrag(TrackScene& scene, Vec2 mouse) {
  TrackEditor& editor = scene.editor;
  EndStrokes(editor);
  SetCursorShape(scene.cursor, CursorShape::PointDrag);
  Vec2 w = WorldPointOf(scene.view, mouse);
  editor.cursorPoint = w;
  if (KeyDown(kKeyLeftButton)) {
    if (!editor.pointDrag) {
      const BodyPoint* nearest =
          Finite(w) ? FindNearestPoint(scene.world.rider, w.x, w.y, kDragTolerance) : nullptr;
      editor.draggedPoint = nearest ? HandleOf(scene.world.rider, *nearest) : PointHandle{};
      editor.pointDrag = true;
    } else if (BodyPoint* dragged = Resolve(scene.world.rider, editor.draggedPoint)) {
      // The handle dies with every rebuild of the body, so a restart mid-drag ends the pull.
      if (Finite(w)) {
        BodyPoint& p = *dragged;
        // A tenth of the way to the pointer, keeping a small velocity towards it.
        float dx = w.x - p.x, dy = w.y - p.y;
        p.x += 0.1f * dx;
        p.y += 0.1f * dy;
        p.prevX = p.x - 0.01f * dx;
        p.prevY = p.y - 0.01f * dy;
        PinDraggedPose(scene);
      }
    }
  } else {
    editor.pointDrag = false;
    editor.draggedPoint = PointHandle{};
  }
  ZoomKeys(scene.view);
  MiddlePan(scene, mouse);
  editor.panAnchor = mouse;
}
}  // namespace

void RunTool(TrackScene& scene, int tool, Vec2 mouse) {
  scene.view.zoom = ClampZoom(scene.view.zoom);
  switch (tool) {
    case kToolPan: PanTool(scene, mouse); break;
    case kToolPencil: Pencil(scene, mouse); break;
    case kToolBoostForward: BoostPencil(scene, mouse, LineKind::BoostForward); break;
    case kToolBoostBackward: BoostPencil(scene, mouse, LineKind::BoostBackward); break;
    case kToolZoom: ZoomTool(scene, mouse); break;
    case kToolScenery: SceneryPencil(scene, mouse); break;
    case kToolEraser: Eraser(scene, mouse); break;
    case kToolViewing:
      ZoomTool(scene, mouse);
      PointDrag(scene, mouse);
      break;
    case kToolPointDrag: PointDrag(scene, mouse); break;
    default: break;
  }
}
