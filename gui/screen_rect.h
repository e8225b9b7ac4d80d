// A rectangle on the screen in px (origin at the bottom left, y up), for laying out what lies
// over a screen's own drawing.
#pragma once

struct ScreenRect {
  float x = 0, y = 0;                             // lower-left corner
  float w = 0, h = 0;
};

// True when the two share any area; touching edges do not count.
inline bool Overlap(const ScreenRect& a, const ScreenRect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}
