#include "track/cursor.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/sprites.h"

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
constexpr int32_t kCursorSlot = 3;
}  // namespace

void SetCursorShape(Cursor& cursor, CursorShape shape) {
  const ShapeFace& face = kFaces[int(shape)];
  cursor.shape = shape;
  cursor.halfWidth = 16.0f;
  cursor.halfHeight = 16.0f;
  cursor.frame = face.frame;
  cursor.offsetX = face.offsetX;
  cursor.offsetY = face.offsetY;
  cursor.slot = kCursorSlot;
  cursor.eraserCircle = false;
}

void SetCursorPosition(Cursor& cursor, float x, float y) {
  cursor.x = x;
  cursor.y = y;
}

void DrawCursor(const Cursor& cursor) {
  if (cursor.eraserCircle) {
    glDisable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    DrawCircle(cursor.x, cursor.y, cursor.eraserRadius, 255, 0, 0);
  }
  glEnable(GL_TEXTURE_2D);
  glColor4ub(255, 255, 255, 255);
  BindSpriteFrame(cursor.slot, cursor.frame);
  glLoadIdentity();
  glTranslatef(cursor.x + cursor.offsetX, cursor.y + cursor.offsetY, 0.0f);
  DrawCentredQuad(cursor.halfWidth, -cursor.halfHeight);
}
