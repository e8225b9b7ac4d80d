#include "rider/simulation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "rider/exact_trig.h"
#include "rider/link_breaking.h"
#include "rider/point_guard.h"

namespace {

constexpr float kMinLinkLength = 0.01f;           // floor of L in the strain, world units
constexpr float kThrusterPush = 0.001f;           // fraction of b - a moved per pass
constexpr float kBelowOne = 0.99999988f;          // the float just below 1: acos and asin stay finite
constexpr float kPointGridHalfSpan = 5120.0f;     // origin offset: the mean lands in cell (0, 0)
constexpr float kCoincident = 0.001f;             // distance floor of two touching points

int32_t PointGridCellOf(float position, float origin) {
  const float cell = (position + origin) * kPointGridScale;
  if (cell >= float(kPointGridSize - 1)) return kPointGridSize - 1;
  return cell > 0.0f ? int32_t(cell) : 0;       // negative and NaN clamp to 0
}

// Pair test of an earlier point q and a later point p: push apart along q - p, by mass.
void TouchPoints(BodyPoint& q, BodyPoint& p) {
  if (q.group != 0 && p.group != 0 && q.group == p.group) return;
  if (!q.collides) return;
  const float dx = q.x - p.x;
  const float dy = q.y - p.y;
  const float reach = q.radius + p.radius;
  if (std::fabs(dx) > reach || std::fabs(dy) > reach) return;
  float dist = std::sqrt(dx * dx + dy * dy);
  if (!(dist <= reach)) return;
  const float massSum = q.mass + p.mass;
  if (massSum == 0.0f) return;
  if (dist <= kCoincident) dist = kCoincident;
  const float nx = dx / dist;
  const float ny = dy / dist;
  const float s = (reach - dist) / massSum;
  PointMoveGuard guard(&q, &p);
  q.x = q.x + s * p.mass * nx;
  q.y = q.y + s * p.mass * ny;
  p.x = p.x - s * q.mass * nx;
  p.y = p.y - s * q.mass * ny;
  guard.Commit();
}

void TouchChain(const PointGrid& grid, int32_t cx, int32_t cy, BodyPoint& p) {
  if (cx < 0 || cy < 0 || cx >= kPointGridSize || cy >= kPointGridSize) return;
  for (BodyPoint* q = grid.cells[size_t(cy * kPointGridSize + cx)].head; q; q = q->cellNext)
    if (q != &p) TouchPoints(*q, p);
}

}  // namespace

void SolveLink(Link& link) {
  if (!link.active) return;
  BodyPoint& a = *link.a;
  BodyPoint& b = *link.b;
  const float dx = b.x - a.x;
  const float dy = b.y - a.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  link.length = length;
  if (!std::isfinite(length)) return;            // ends too far apart for a float: nothing sound to do
  const float L = length < kMinLinkLength ? kMinLinkLength : length;
  PointMoveGuard guard(&a, &b);
  switch (link.kind) {
    case LinkKind::Rope:
      if (L < link.restLength) return;
      break;
    case LinkKind::Strut:
      if (L > link.restLength) return;
      break;
    case LinkKind::Thruster:
      a.x = a.x + kThrusterPush * dx;
      a.y = a.y + kThrusterPush * dy;
      b.x = b.x + kThrusterPush * dx;
      b.y = b.y + kThrusterPush * dy;
      break;
    default:
      break;
  }
  const float s = (L - link.restLength) / L;
  if (LinkStrainBreaks(length, link.restLength, link.breakLimit)) {
    link.active = 0;
    guard.Commit();
    return;
  }
  const float massSum = a.mass + b.mass;
  if (massSum != 0.0f) {
    const float c = s * link.stiffness / massSum;
    a.x = a.x + c * b.mass * dx;
    a.y = a.y + c * b.mass * dy;
    b.x = b.x - c * a.mass * dx;
    b.y = b.y - c * a.mass * dy;
  }
  guard.Commit();
}

void SolveAngleJoint(AngleJoint& joint) {
  joint.active = 1;
  BodyPoint& p0 = *joint.p0;
  BodyPoint& p1 = *joint.p1;
  BodyPoint& p2 = *joint.p2;
  float ux = p0.x - p1.x;
  float uy = p0.y - p1.y;
  float vx = p2.x - p1.x;
  float vy = p2.y - p1.y;
  const float uLength = std::sqrt(ux * ux + uy * uy);
  const float vLength = std::sqrt(vx * vx + vy * vy);
  // An arm of zero length has no direction: the joint rests for this pass.
  if (!(uLength > 0.0f) || !(vLength > 0.0f) || !std::isfinite(uLength) || !std::isfinite(vLength)) return;
  ux = ux / uLength;
  uy = uy / uLength;
  vx = vx / vLength;
  vy = vy / vLength;
  const float dot = std::clamp(vx * ux + vy * uy, -kBelowOne, kBelowOne);
  const float cross = std::clamp(vx * uy - vy * ux, -kBelowOne, kBelowOne);
  // Our own correctly rounded asin and acos: the C library's differ by an ulp between libraries.
  const float sine = ExactAsin(cross);
  float theta = ExactAcos(dot);
  if (sine < 0.0f) theta = -theta;
  joint.measured = sine;
  const float limit = joint.limitAngle;
  float direction = 0.0f;
  if (limit > 0.0f && theta > 0.0f && theta < limit) direction = 1.0f;
  if (limit < 0.0f && theta > limit && theta < 0.0f) direction = -1.0f;
  if (direction == 0.0f) return;
  const float gap = limit - theta;
  const float corr = std::min(1.0f, joint.stiffness * (gap * gap));
  // perp(x, y) = (-y, x); the three moves sum to zero.
  const float pux = -uy, puy = ux;
  const float pvx = -vy, pvy = vx;
  const float m = direction * corr;
  PointMoveGuard guard(&p0, &p1, &p2);
  p0.x = p0.x + m * pux;
  p0.y = p0.y + m * puy;
  p2.x = p2.x - m * pvx;
  p2.y = p2.y - m * pvy;
  p1.x = p1.x + m * (pvx - pux);
  p1.y = p1.y + m * (pvy - puy);
  guard.Commit();
}

void SolvePointContacts(Body& body) {
  if (body.pointsAdded == 0) return;
  PointGrid& grid = body.grid;
  for (int32_t index : grid.filled) grid.cells[size_t(index)] = PointGridCell{};
  grid.filled.clear();
  float sumX = 0.0f, sumY = 0.0f;
  for (const BodyPoint& point : body.points) {
    sumX = sumX + point.x;
    sumY = sumY + point.y;
  }
  const float count = float(body.points.size());
  const float meanX = body.points.empty() ? 0.0f : sumX / count;
  const float meanY = body.points.empty() ? 0.0f : sumY / count;
  grid.originX = -meanX - kPointGridHalfSpan;
  grid.originY = -meanY - kPointGridHalfSpan;
  for (BodyPoint& p : body.points) {
    if (!p.collides) continue;
    const int32_t cx = PointGridCellOf(p.x, grid.originX);
    const int32_t cy = PointGridCellOf(p.y, grid.originY);
    p.cellX = cx;
    p.cellY = cy;
    p.cellNext = nullptr;
    const int32_t index = cy * kPointGridSize + cx;
    PointGridCell& cell = grid.cells[size_t(index)];
    if (cell.tail) {
      cell.tail->cellNext = &p;
    } else {
      cell.head = &p;
      grid.filled.push_back(index);
    }
    cell.tail = &p;
    TouchChain(grid, cx, cy, p);
    TouchChain(grid, cx - 1, cy, p);
    TouchChain(grid, cx - 1, cy - 1, p);
    TouchChain(grid, cx - 1, cy + 1, p);
    TouchChain(grid, cx + 1, cy, p);
    TouchChain(grid, cx + 1, cy - 1, p);
    TouchChain(grid, cx + 1, cy + 1, p);
    TouchChain(grid, cx, cy - 1, p);
    TouchChain(grid, cx, cy + 1, p);
  }
}

void IntegratePoint(BodyPoint& point) {
  const float vx = point.x - point.prevX;
  const float vy = point.y - point.prevY;
  const float x = point.x + vx;
  const float y = point.y + vy;
  if (!std::isfinite(vx) || !std::isfinite(vy) || !std::isfinite(x) || !std::isfinite(y)) {
    // The motion no longer fits a float: the point stops where it is.
    point.prevX = point.x;
    point.prevY = point.y;
    point.vx = 0.0f;
    point.vy = 0.0f;
    return;
  }
  point.prevX = point.x;
  point.prevY = point.y;
  point.x = x;
  point.y = y;
  point.vx = vx;
  point.vy = vy;
}

void StepBody(Body& body, const Surface& surface) {
  for (BodyPoint& point : body.points) point.y = point.y + kGravity;
  for (int pass = 0; pass < kPassesPerStep; ++pass) {
    for (Link& link : body.links) SolveLink(link);
    for (AngleJoint& joint : body.joints) SolveAngleJoint(joint);
    SolvePointContacts(body);
    for (BodyPoint& point : body.points) IntegratePoint(point);
    if (surface.touch)
      for (BodyPoint& point : body.points) surface.touch(surface.context, point);
  }
  CleanUpBody(body, true);
}

uint64_t HashBodyPositions(const Body& body) {
  uint64_t hash = 14695981039346656037ull;       // FNV-1a 64-bit offset basis
  auto mix = [&](float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 4; ++i) {
      hash ^= (bits >> (8 * i)) & 0xffu;
      hash *= 1099511628211ull;                   // FNV 64-bit prime
    }
  };
  for (const BodyPoint& point : body.points) {
    mix(point.x);
    mix(point.y);
  }
  return hash;
}
