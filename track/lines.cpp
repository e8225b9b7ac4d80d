#include "track/lines.h"

#include <cmath>

namespace {

// Direction-derived fields shared by both line records.
struct LineFrame {
  float nx, ny, length;
};

LineFrame FrameOf(Vec2 p1, Vec2 p2) {
  const float dx = p2.x - p1.x;
  const float dy = p2.y - p1.y;
  const float length = std::sqrt(dx * dx + dy * dy);
  if (length <= 0.0f) return {0.0f, 0.0f, 0.0f};   // no direction: CheckLine keeps these out of the world
  return {-dy / length, dx / length, length};
}

bool Finite(float v) { return std::isfinite(v); }

}  // namespace

LineFault CheckLine(Vec2 p1, Vec2 p2, float thickness) {
  if (!Finite(p1.x) || !Finite(p1.y) || !Finite(p2.x) || !Finite(p2.y) || !Finite(thickness))
    return LineFault::NonFinite;
  if (std::fabs(p1.x) > kMaxLineCoordinate || std::fabs(p1.y) > kMaxLineCoordinate ||
      std::fabs(p2.x) > kMaxLineCoordinate || std::fabs(p2.y) > kMaxLineCoordinate)
    return LineFault::TooFar;
  if (thickness < 0.0f || thickness > kMaxLineThickness) return LineFault::BadThickness;
  if (FrameOf(p1, p2).length <= 0.0f) return LineFault::ZeroLength;
  return LineFault::None;
}

SolidLine MakeSolidLine(Vec2 p1, Vec2 p2, float thickness, LineKind kind) {
  const LineFrame frame = FrameOf(p1, p2);
  SolidLine line;
  line.x1 = p1.x;
  line.y1 = p1.y;
  line.x2 = p2.x;
  line.y2 = p2.y;
  line.nx = frame.nx;
  line.ny = frame.ny;
  line.length = frame.length;
  line.thickness = thickness;
  line.kind = kind;
  return line;
}

SceneryLine MakeSceneryLine(Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b, float thickness) {
  const LineFrame frame = FrameOf(p1, p2);
  SceneryLine line;
  line.x1 = p1.x;
  line.y1 = p1.y;
  line.x2 = p2.x;
  line.y2 = p2.y;
  line.nx = frame.nx;
  line.ny = frame.ny;
  line.r = r;
  line.g = g;
  line.b = b;
  line.thickness = thickness;
  line.length = frame.length;
  return line;
}
