#include "track/cursor_drawing.h"

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "track/cursor.h"

static_assert(kCursorSheetSlot == kSlotCursors, "the cursor record names the cursor sheet's slot");

void DrawCursor(const Cursor& cursor) {
  if (cursor.eraserCircle) {
    EnableTexture(false);
    SetLineWidth(1.0f);
    DrawCircle(cursor.x, cursor.y, cursor.eraserRadius, 255, 0, 0);
  }
  EnableTexture(true);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(cursor.slot, cursor.frame);
  LoadIdentity();
  Translate(cursor.x + cursor.offsetX, cursor.y + cursor.offsetY);
  DrawCentredQuad(cursor.halfWidth, -cursor.halfHeight);
}
