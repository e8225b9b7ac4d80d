#include "track/cursor.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "track/world.h"

// ---- State: the one cursor, built at start; it keeps its shape from screen to screen ----
namespace {
Cursor cursor;

struct ShapeFace {
  int32_t frame;
  float offsetX, offsetY;
};
// Indexed by shape number; shape 5 has no face of its own.
constexpr ShapeFace kFaces[10] = {
    {0, 10000.0f, 10000.0f},  // 0 hidden: drawn far outside the screen
    {0, 4.0f, 9.0f},          // 1 pencil
    {2, 8.0f, 10.0f},         // 2 scenery pencil
    {1, 4.0f, 9.0f},          // 3 hand
    {3, 6.0f, -12.0f},        // 4 arrow
    {0, 0.0f, 0.0f},          // 5 unused
    {5, 4.0f, 9.0f},          // 6
    {4, 0.0f, 0.0f},          // 7 zoom
    {6, 0.0f, 0.0f},          // 8 point drag, colour picker
    {7, 0.0f, 0.0f},          // 9 eraser
};
constexpr int32_t kCursorSlot = 3;
}  // namespace

void SetCursorShape(int shape) {
  cursor.shape = shape;
  cursor.halfWidth = 16.0f;
  cursor.halfHeight = 16.0f;
  if (shape < 0 || shape > 9 || shape == 5) return;
  cursor.frame = kFaces[shape].frame;
  cursor.offsetX = kFaces[shape].offsetX;
  cursor.offsetY = kFaces[shape].offsetY;
  cursor.r = cursor.g = cursor.b = 255.0f;
  cursor.slot = kCursorSlot;
  TheWorld().eraserCircle = 0;
}

void SetCursorPosition(float x, float y) {
  cursor.x = x;
  cursor.y = y;
}

void DrawCursor() {
  const World& world = TheWorld();
  if (world.eraserCircle) {
    glDisable(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    DrawCircle(cursor.x, cursor.y, world.eraserRadius, 255, 0, 0);
  }
  glEnable(GL_TEXTURE_2D);
  glColor4ub(static_cast<GLubyte>(cursor.r), static_cast<GLubyte>(cursor.g), static_cast<GLubyte>(cursor.b), 255);
  BindSpriteFrame(cursor.slot, cursor.frame);
  glLoadIdentity();
  glTranslatef(cursor.x + cursor.offsetX, cursor.y + cursor.offsetY, 0.0f);
  DrawCentredQuad(cursor.halfWidth, -cursor.halfHeight);
}

const Cursor& GetCursor() { return cursor; }
