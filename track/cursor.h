// The game's own mouse cursor: one record whose shape every screen chooses by number (0-9) and
// that every render draws last. The eraser's red circle (the world's eraser circle) is drawn with it.
#pragma once
#include <cstdint>

struct Cursor {
  float x = 0, y = 0;                             // hotspot, screen px, y up
  float halfWidth = 32, halfHeight = 32;          // half size of the drawn image (px)
  float offsetX = 0, offsetY = 0;                 // hotspot to image centre (px)
  float r = 255, g = 255, b = 255;
  int32_t slot = 0;                               // sprite slot; 3 ("sprites\cursors.png") after any shape change
  int32_t frame = 0;
  int32_t shape = 0;                              // last shape number set
};

// Shapes: 0 hidden, 1 pencil, 2 scenery pencil, 3 hand, 4 arrow, 6 spare, 7 zoom, 8 point drag and
// colour picker, 9 eraser; 5 and numbers outside 0-9 only change the number and the half size.
void SetCursorShape(int shape);                   // turns the world's eraser circle off (except shape 5)
void SetCursorPosition(float x, float y);         // screen px, y up
void DrawCursor();                                // GL; the last call of every render
const Cursor& GetCursor();
