#include "track/view.h"

#include "shell/display.h"
#include "track/world.h"

namespace {

constexpr float kCameraDeadZone = 0.236f;         // fraction of the half screen the focus may drift
constexpr float kCullMargin = 40.0f;              // screen px beyond the view that still count

// The camera offset that puts the focus point at the screen centre; (0, 0) without one.
Vec2 FocusTarget(const World& world) {
  const BodyPoint* focus = FindPointById(world.rider, world.focusPointId);
  if (!focus) return {0.0f, 0.0f};
  const Vec2 centre = ScreenCentre();
  return {centre.x - focus->x, centre.y - focus->y};
}

float FollowAxis(float camera, float target, float deadZone) {
  if (target - camera > deadZone) return target - deadZone;
  if (target - camera < -deadZone) return target + deadZone;
  return camera;
}

}  // namespace

void StartView(View& view) {
  const Vec2 screen = ScreenSize();
  view.camera = {screen.x * 0.5f - 512.0f, screen.y * 0.4f - 10000.0f};
  view.zoom = 1.0f;
}

Vec2 WorldPointOf(const View& view, Vec2 screen) {
  Vec2 c = ScreenCentre();
  Vec2 d = screen - c;
  return c + Vec2(d.x / view.zoom, d.y / view.zoom) - view.camera;
}

Vec2 ScreenPointOf(const View& view, Vec2 point) {
  Vec2 c = ScreenCentre();
  Vec2 d = point + view.camera - c;
  return c + Vec2(view.zoom * d.x, view.zoom * d.y);
}

float ClampZoom(float zoom) {
  if (!(zoom >= kMinZoom)) return kMinZoom;
  if (zoom > kMaxZoom) return kMaxZoom;
  return zoom;
}

CullRect VisibleRect(const View& view) {
  Vec2 c = ScreenCentre();
  float z = view.zoom;
  Vec2 min = c - view.camera - Vec2(c.x / z, c.y / z);
  return {min.x, min.y, min.x + 2.0f * c.x / z, min.y + 2.0f * c.y / z};
}

CullRect LineCullRect(const View& view) {
  CullRect rect = VisibleRect(view);
  float m = kCullMargin / view.zoom;
  return {rect.minX - m, rect.minY - m, rect.maxX + m, rect.maxY + m};
}

void CentreOnRider(View& view, const World& world) {
  view.camera = FocusTarget(world);
  view.wireframe = world.rider.spritesAdded == 0;
}

void CutToFocus(View& view, const World& world) { view.camera = FocusTarget(world); }

void FollowFocus(View& view, const World& world) {
  const Vec2 target = FocusTarget(world);
  const Vec2 centre = ScreenCentre();
  const float deadX = kCameraDeadZone * centre.x / view.zoom;
  const float deadY = kCameraDeadZone * centre.y / view.zoom;
  view.camera.x = FollowAxis(view.camera.x, target.x, deadX);
  view.camera.y = FollowAxis(view.camera.y, target.y, deadY);
}
