// The game's own mouse cursor: one record whose shape every screen chooses and that every render
// draws last (track/cursor_drawing.h). The eraser's red circle is drawn with it.
#pragma once
#include <cstdint>

enum class CursorShape : int32_t {
  Hidden = 0,                                     // drawn far outside the screen
  Pencil = 1,
  SceneryPencil = 2,
  Hand = 3,
  Arrow = 4,
  Spare = 6,
  Zoom = 7,
  PointDrag = 8,                                  // also the colour picker's
  Eraser = 9,
};

// The sprite slot of the cursor sheet, graphics' kSlotCursors (the drawing checks they agree):
// the record stays free of graphics so that it can live without a display.
constexpr int32_t kCursorSheetSlot = 3;

struct Cursor {
  float x = 0, y = 0;                             // hotspot, screen px, y up
  float halfWidth = 32, halfHeight = 32;          // half size of the drawn image (px)
  float offsetX = 0, offsetY = 0;                 // hotspot to image centre (px)
  int32_t slot = 0;                               // sprite slot; the cursor sheet after any shape change
  int32_t frame = 0;
  CursorShape shape = CursorShape::Hidden;        // last shape set
  bool eraserCircle = false;                      // the eraser's circle is drawn around the hotspot
  float eraserRadius = 10.0f;                     // screen pixels
};

void SetCursorShape(Cursor& cursor, CursorShape shape);  // also turns the eraser circle off
void SetCursorPosition(Cursor& cursor, float x, float y);  // screen px, y up
