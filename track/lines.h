// The two kinds of track line: solid lines the rider rides on, and coloured scenery that never
// collides. Both are built from two endpoints; the normal and length are derived, never stored
// in files.
#pragma once
#include <cstdint>

#include "shell/vec2.h"

// A line's id is its index in the world's array of that kind, handed out in creation order and
// never reused while the track lives: it is also the line's creation sequence number.
using LineId = int32_t;
constexpr LineId kNoLine = -1;

// Kind of a solid line; the value is stored in track files as a 32-bit unsigned.
enum class LineKind : uint32_t {
  Normal = 0,
  BoostForward = 1,                               // pushes along P1 -> P2, the drawing direction
  BoostBackward = 2,                              // pushes along P2 -> P1
};

struct SolidLine {
  float x1 = 0, y1 = 0;                           // first endpoint, world units
  float x2 = 0, y2 = 0;                           // second endpoint
  float nx = 0, ny = 0;                           // unit normal (-(y2 - y1), x2 - x1) / length
  float length = 0;                               // distance between the endpoints
  float thickness = 1;                            // half-width for collision and drawing
  LineKind kind = LineKind::Normal;               // other values behave as Normal
  bool live = true;                               // false once removed: the slot keeps its id
};

struct SceneryLine {
  float x1 = 0, y1 = 0;
  float x2 = 0, y2 = 0;
  float nx = 0, ny = 0;                           // unit normal, as for SolidLine
  uint8_t r = 0, g = 0, b = 0;                    // colour
  float thickness = 1;
  float length = 0;
  bool live = true;
};

// Why a line cannot be part of a track. Non-finite values mean the source is damaged; the other
// faults are lines the grid cannot walk or collision cannot use.
enum class LineFault {
  None,
  NonFinite,                                      // a coordinate or the thickness is NaN or infinite
  TooFar,                                         // a coordinate beyond +-2^23 (a unit step no longer moves a float)
  BadThickness,                                   // thickness outside 0..2^16
  ZeroLength,                                     // both endpoints equal: no direction, no normal
};

constexpr float kMaxLineCoordinate = 8388608.0f;  // 2^23 world units
constexpr float kMaxLineThickness = 65536.0f;     // 2^16 world units

LineFault CheckLine(Vec2 p1, Vec2 p2, float thickness);   // None when the line may be added
SolidLine MakeSolidLine(Vec2 p1, Vec2 p2, float thickness, LineKind kind);   // normal and length derived
SceneryLine MakeSceneryLine(Vec2 p1, Vec2 p2, uint8_t r, uint8_t g, uint8_t b, float thickness);
