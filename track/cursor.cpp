#include "track/cursor.h"

namespace {
struct ShapeFace {
  int32_t frame;
  float offsetX, offsetY;
};
// Indexed by shape number; 5 is no shape.
constexpr ShapeFace kFaces[10] = {
    {0, 10000.0f, 10000.0f},  // hidden: drawn far outside the screen
    {0, 4.0f, 9.0f},          // pencil
    {2, 8.0f, 10.0f},         // scenery pencil
    {1, 4.0f, 9.0f},          // hand
    {3, 6.0f, -12.0f},        // arrow
    {0, 0.0f, 0.0f},          // none
    {5, 4.0f, 9.0f},          // spare
    {4, 0.0f, 0.0f},          // zoom
    {6, 0.0f, 0.0f},          // point drag, colour picker
    {7, 0.0f, 0.0f},          // eraser
};
}  // namespace

void SetCursorShape(Cursor& cursor, CursorShape shape) {
  const ShapeFace& face = kFaces[int(shape)];
  cursor.shape = shape;
  cursor.halfWidth = 16.0f;
  cursor.halfHeight = 16.0f;
  cursor.frame = face.frame;
  cursor.offsetX = face.offsetX;
  cursor.offsetY = face.offsetY;
  cursor.slot = kCursorSheetSlot;
  cursor.eraserCircle = false;
}

void SetCursorPosition(Cursor& cursor, float x, float y) {
  cursor.x = x;
  cursor.y = y;
}
