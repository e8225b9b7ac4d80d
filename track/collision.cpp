#include "track/collision.h"

#include <cmath>

#include "rider/point_guard.h"

namespace {

// Round cap at an endpoint: push the point radially out to distance reach from it.
int CapContact(BodyPoint& point, float endX, float endY, float reach) {
  const float wx = point.x - endX;
  const float wy = point.y - endY;
  float e = std::sqrt(wx * wx + wy * wy);
  if (e > reach) return 0;
  // A point on the endpoint itself has no direction: w is zero and so is the move.
  if (e <= kEndDistanceFloor) e = kEndDistanceFloor;
  PointMoveGuard guard(&point);
  point.x = point.x + (reach - e) * wx / e;
  point.y = point.y + (reach - e) * wy / e;
  return guard.Commit() ? 1 : 0;
}

}  // namespace

int ContactLine(const SolidLine& line, BodyPoint& point) {
  const float r = point.radius;
  const float reach = r + line.thickness;
  const float right = point.x + r + kContactMargin;
  const float left = point.x - r - kContactMargin;
  if (right < line.x1 && right < line.x2) return 0;
  if (left > line.x1 && left > line.x2) return 0;
  const float top = point.y + r + kContactMargin;
  const float bottom = point.y - r - kContactMargin;
  if (top < line.y1 && top < line.y2) return 0;
  if (bottom > line.y1 && bottom > line.y2) return 0;

  const float nx = line.nx, ny = line.ny;
  // Unit tangent t = (p2 - p1) / length = (ny, -nx); perp(n) = -t.
  const float tx = ny, ty = -nx;
  const float d = nx * (point.x - line.x1) + ny * (point.y - line.y1) - reach;
  if (d > 0.0f) return 0;
  const float s = tx * (point.x - line.x1) + ty * (point.y - line.y1);
  if (!(s >= -reach && s <= line.length + reach)) return 0;
  const float qx = point.prevX - kLookBackFactor * point.vx;
  const float qy = point.prevY - kLookBackFactor * point.vy;
  const float dq = nx * (qx - line.x1) + ny * (qy - line.y1) - reach;
  const float outward = point.vx * nx + point.vy * ny;
  if (outward > 0.0f && dq * d >= 0.0f) return 0;

  if (s < 0.0f) return CapContact(point, line.x1, line.y1, reach);
  if (s > line.length) return CapContact(point, line.x2, line.y2, reach);

  // Face: the point was already behind it and is deep behind it: it passes behind the line.
  if (dq < 0.0f && d < kDeepContact) return 0;
  const BodyPoint before = point;
  point.x = point.x - d * nx;
  point.y = point.y - d * ny;
  // Friction removes the fraction f of the velocity along the line, through the position.
  const float px = -ny, py = nx;
  const float vt = point.vx * px + point.vy * py;
  point.x = point.x - vt * point.friction * px;
  point.y = point.y - vt * point.friction * py;
  float ax = 0.0f, ay = 0.0f;
  if (line.kind == LineKind::BoostForward) {
    ax = -kBoostPush * px;
    ay = -kBoostPush * py;
  } else if (line.kind == LineKind::BoostBackward) {
    ax = kBoostPush * px;
    ay = kBoostPush * py;
  }
  if (ax != 0.0f || ay != 0.0f) {
    point.prevX = point.prevX - ax;
    point.prevY = point.prevY - ay;
    point.vx = point.vx + ax;
    point.vy = point.vy + ay;
  }
  if (!std::isfinite(point.x) || !std::isfinite(point.y) || !std::isfinite(point.prevX) ||
      !std::isfinite(point.prevY) || !std::isfinite(point.vx) || !std::isfinite(point.vy)) {
    point = before;
    return 0;
  }
  return 1;
}

int ResolvePointWithLines(const LineGrid& grid, const std::vector<SolidLine>& lines, BodyPoint& point) {
  const GridCell low = CellOfPoint(point.x - point.radius, point.y - point.radius);
  const GridCell high = CellOfPoint(point.x + point.radius, point.y + point.radius);
  int contacts = 0;
  ForEachCellInRange(grid, low, high, [&](const XGridNode& cell) {
    for (LineId id : cell.lines) contacts += ContactLine(lines[size_t(id)], point);
  });
  return contacts;
}
