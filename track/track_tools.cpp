#include "track/track_tools.h"

#include <cmath>

#include "platform/keys.h"
#include "rider/current_rider.h"
#include "shell/display.h"
#include "shell/input.h"
#include "track/cursor.h"
#include "track/line_drawing.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {
constexpr float kEraserBase = 20.0f;              // screen px around the thinnest line
constexpr float kEraserPerThickness = 4.5f;
constexpr float kDragTolerance = 5.0f;            // world units beyond a point's radius

bool Finite(Vec2 v) { return std::isfinite(v.x) && std::isfinite(v.y); }
float Length(Vec2 v) { return std::sqrt(v.x * v.x + v.y * v.y); }

// "Add S to W": a scenery or solid line from the stroke start to w, which becomes the new start.
void AddStrokeLine(World& world, Vec2 w) {
  Vec2 s = world.strokeStart;
  if (!Finite(s) || !Finite(w)) return;
  if (world.sceneryMode) {
    AddSceneryLine(world, s, w, static_cast<uint8_t>(world.sceneryR), static_cast<uint8_t>(world.sceneryG),
                   static_cast<uint8_t>(world.sceneryB), world.newLineThickness);
  } else {
    AddSolidLine(world, s, w, world.newLineThickness, world.newLineKind);
  }
  world.strokeStart = w;
}

// The start of a stroke, on a solid endpoint when snapping is on.
Vec2 StrokeStartAt(World& world, Vec2 w) {
  if (world.snapEnabled) SnapToEndpoint(world, w, kSnapRadius / world.zoom);
  return w;
}

void ZoomKeys(World& world) {
  if (KeyDown('Z')) world.zoom *= 1.05f;
  if (KeyDown('X')) world.zoom *= 0.95f;
  world.zoom = ClampZoom(world.zoom);
}

// Drags the camera with any held button; keeps the world point under the pointer fixed.
void Pan(World& world, Vec2 mouse) {
  if (KeyDown(kKeyLeftButton) || KeyDown(kKeyRightButton) || KeyDown(kKeyMiddleButton)) {
    if (!world.panDrag) {
      world.panAnchor = mouse;
      world.panDrag = 1;
    }
    Vec2 moved = mouse - world.panAnchor;
    world.camera = world.camera + Vec2(moved.x / world.zoom, moved.y / world.zoom);
    world.panAnchor = mouse;
  } else {
    world.panDrag = 0;
  }
}

void MiddlePan(World& world, Vec2 mouse) {
  if (KeyDown(kKeyMiddleButton)) Pan(world, mouse);
}

void EndStrokes(World& world) {
  world.freehandStroke = 0;
  world.straightStroke = 0;
}

void Pencil(World& world, Vec2 mouse) {
  Vec2 w = WorldPointOf(world, mouse);
  world.cursorPoint = w;
  float reach = Length(w - world.strokeStart);
  bool ctrl = KeyDown(kKeyControl);
  if (KeyDown(kKeyRightButton)) {
    // Tapping Ctrl places the straight segment drawn so far and starts the next at its end.
    if (ctrl && world.straightStroke && !world.chainLatch) {
      if (reach >= kStraightMinimum) AddStrokeLine(world, w);
      world.chainLatch = 1;
    }
    SetCursorShape(1);
    if (!world.straightStroke && Finite(w)) {
      world.strokeStart = StrokeStartAt(world, w);
      world.straightStroke = 1;
    }
  } else {
    world.chainLatch = 0;
    if (world.straightStroke && reach >= kStraightMinimum) AddStrokeLine(world, w);
    world.straightStroke = 0;
  }
  if (!ctrl) world.chainLatch = 0;
  if (KeyDown(kKeyLeftButton)) {
    SetCursorShape(1);
    if (!world.freehandStroke) {
      if (Finite(w)) {
        world.strokeStart = StrokeStartAt(world, w);
        world.freehandStroke = 1;
      }
    } else if (reach >= kFreehandStep) {
      AddStrokeLine(world, w);
    }
  } else {
    world.freehandStroke = 0;
  }
  if (KeyDown(kKeyMiddleButton)) {
    SetCursorShape(3);
    Pan(world, mouse);
  } else {
    SetCursorShape(1);
    world.panDrag = 0;
  }
  ZoomKeys(world);
}

void BoostPencil(World& world, Vec2 mouse, LineKind kind) {
  world.newLineKind = kind;
  Pencil(world, mouse);
  world.newLineKind = LineKind::Normal;
}

void SceneryPencil(World& world, Vec2 mouse) {
  world.sceneryMode = 1;
  Pencil(world, mouse);
  world.sceneryMode = 0;
  SetCursorShape(2);
}

void PanTool(World& world, Vec2 mouse) {
  SetCursorShape(3);
  Pan(world, mouse);
}

void ZoomTool(World& world, Vec2 mouse) {
  SetCursorShape(7);
  world.cursorPoint = WorldPointOf(world, mouse);
  // Moving the pointer up by one pixel in a step enlarges by 0.5 %.
  if (KeyDown(kKeyLeftButton) || KeyDown(kKeyRightButton))
    world.zoom *= 1.0f + 0.005f * (mouse.y - world.panAnchor.y);
  ZoomKeys(world);
  MiddlePan(world, mouse);
  world.panAnchor = mouse;
}

// Length and ends of both line lists. An erase that removed a line changes one of them, except
// when the removed line was the last and a piece of it took its place and address: then the
// drawing index still holds it in the right place and cells.
struct ListShape {
  size_t solids, sceneries;
  const void *solidFront, *solidBack, *sceneryFront, *sceneryBack;
  friend bool operator==(const ListShape&, const ListShape&) = default;
};

ListShape ShapeOf(const World& world) {
  ListShape shape{world.solidLines.size(), world.sceneryLines.size(), nullptr, nullptr, nullptr, nullptr};
  if (!world.solidLines.empty()) {
    shape.solidFront = &world.solidLines.front();
    shape.solidBack = &world.solidLines.back();
  }
  if (!world.sceneryLines.empty()) {
    shape.sceneryFront = &world.sceneryLines.front();
    shape.sceneryBack = &world.sceneryLines.back();
  }
  return shape;
}

void Eraser(World& world, Vec2 mouse) {
  EndStrokes(world);
  SetCursorShape(9);
  world.eraserRadius = world.newLineThickness * kEraserPerThickness + kEraserBase;
  world.eraserCircle = 1;
  Vec2 w = WorldPointOf(world, mouse);
  world.cursorPoint = w;
  if (Finite(w)) {
    float radius = world.eraserRadius / world.zoom;
    ListShape before = ShapeOf(world);
    if (KeyDown(kKeyLeftButton)) {
      EraseSolidLines(world, w, radius);
      EraseSceneryLines(world, w, radius);
    } else if (KeyDown(kKeyRightButton)) {
      EraseSceneryLines(world, w, radius);
    }
    if (!(ShapeOf(world) == before)) ForgetLineOrder();
  }
  ZoomKeys(world);
  MiddlePan(world, mouse);
  world.panAnchor = mouse;
}

// The dragged point is checked against the rider's points before every write, so a body rebuilt
// behind the tool's back can never be written through a stale pointer.
bool DraggedPointAlive(World& world) {
  for (BodyPoint& point : world.rider.points)
    if (&point == world.draggedPoint) return true;
  return false;
}

void PointDrag(World& world, Vec2 mouse) {
  EndStrokes(world);
  SetCursorShape(8);
  Vec2 w = WorldPointOf(world, mouse);
  world.cursorPoint = w;
  if (KeyDown(kKeyLeftButton)) {
    if (!world.pointDrag) {
      world.draggedPoint = Finite(w) ? FindNearestPoint(world.rider, w.x, w.y, kDragTolerance) : nullptr;
      world.pointDrag = 1;
    } else if (world.draggedPoint) {
      if (DraggedPointAlive(world) && Finite(w)) {
        BodyPoint& p = *world.draggedPoint;
        // A tenth of the way to the pointer, keeping a small velocity towards it.
        float dx = w.x - p.x, dy = w.y - p.y;
        p.x += 0.1f * dx;
        p.y += 0.1f * dy;
        p.prevX = p.x - 0.01f * dx;
        p.prevY = p.y - 0.01f * dy;
      } else {
        world.draggedPoint = nullptr;
      }
    }
  } else {
    EndPointDrag(world);
  }
  ZoomKeys(world);
  MiddlePan(world, mouse);
  world.panAnchor = mouse;
}
}  // namespace

Vec2 WorldPointOf(const World& world, Vec2 screen) {
  Vec2 c = ScreenCentre();
  Vec2 d = screen - c;
  return c + Vec2(d.x / world.zoom, d.y / world.zoom) - world.camera;
}

Vec2 ScreenPointOf(const World& world, Vec2 point) {
  Vec2 c = ScreenCentre();
  Vec2 d = point + world.camera - c;
  return c + Vec2(world.zoom * d.x, world.zoom * d.y);
}

float ClampZoom(float zoom) {
  if (!(zoom >= kMinZoom)) return kMinZoom;
  if (zoom > kMaxZoom) return kMaxZoom;
  return zoom;
}

void RunTool(World& world, int tool, Vec2 mouse) {
  world.zoom = ClampZoom(world.zoom);
  switch (tool) {
    case kToolPan: PanTool(world, mouse); break;
    case kToolPencil: Pencil(world, mouse); break;
    case kToolBoostForward: BoostPencil(world, mouse, LineKind::BoostForward); break;
    case kToolBoostBackward: BoostPencil(world, mouse, LineKind::BoostBackward); break;
    case kToolZoom: ZoomTool(world, mouse); break;
    case kToolScenery: SceneryPencil(world, mouse); break;
    case kToolEraser: Eraser(world, mouse); break;
    case kToolViewing:
      ZoomTool(world, mouse);
      PointDrag(world, mouse);
      break;
    case kToolPointDrag: PointDrag(world, mouse); break;
    default: break;
  }
}

void EndPointDrag(World& world) {
  world.pointDrag = 0;
  world.draggedPoint = nullptr;
}

void RestartRiderFromScratch(World& world) {
  EndPointDrag(world);
  ClearRider(world);
  RestartRider(world);
}

void ResetTrackWorld(World& world) {
  EndPointDrag(world);
  ResetWorld(world);
  ForgetLineOrder();
  world.eraserCircle = 0;
  world.eraserRadius = 10.0f;
}

void RestoreTrackStart(World& world) {
  EndPointDrag(world);
  RestoreStart(world);
}

bool LoadTrackFile(World& world, CurrentRider& rider, const char* path) {
  EndPointDrag(world);
  bool loaded = LoadTrack(world, rider, path) == FileLoad::Loaded;
  ForgetLineOrder();
  return loaded;
}
