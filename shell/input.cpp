#include "shell/input.h"

#include <cstdint>
#include <cstring>

#include "platform/keys.h"
#include "platform/platform.h"
#include "shell/display.h"
#include "shell/saturate.h"

// The input snapshot: reset at start and after every re-creation of the graphics device,
// refreshed once per step.
static struct {
  uint8_t current[256] = {};
  uint8_t previous[256] = {};
  float x = 0, y = 0;                             // screen pixels, y down, clamped
  float dx = 0, dy = 0;                           // motion of the last refresh
  int wheel = 0;                                  // notches turned before the last refresh
} input;

void ResetInput() {
  input.x = input.y = 0;
  // Both tables take the keys as they are now, so a key held through a reset is no new press.
  Platform().readKeys(input.previous);
  memcpy(input.current, input.previous, sizeof input.current);
  Platform().takeWheel();
  input.wheel = 0;
}

void RefreshInput() {
  memcpy(input.previous, input.current, sizeof input.current);
  Platform().readKeys(input.current);
  input.wheel = Platform().takeWheel();
  int cursorX = 0, cursorY = 0;
  Platform().readCursor(&cursorX, &cursorY);
  input.dx = float(cursorX) - input.x;
  input.dy = float(cursorY) - input.y;
  input.x = float(cursorX);
  input.y = float(cursorY);
  float width = float(ScreenWidth()), height = float(ScreenHeight());
  if (input.x > width) input.x = width;
  if (input.x < 0) input.x = 0;
  if (input.y > height) input.y = height;
  if (input.y < 0) input.y = 0;
}

bool KeyDown(int vk) { return vk >= 0 && vk < 256 && (input.current[vk] & 0x80); }

bool KeyPressed(int vk) {
  return vk >= 0 && vk < 256 && (input.current[vk] & 0x80) && !(input.previous[vk] & 0x80);
}

UndoChord UndoChordPressed() {
  if (!KeyDown(kKeyControl)) return UndoChord::None;
  if (KeyPressed('Z') && !KeyDown(kKeyShift)) return UndoChord::Undo;
  if (KeyPressed('Y') || KeyPressed('Z')) return UndoChord::Redo;
  return UndoChord::None;
}

int WheelSteps() { return input.wheel; }

void GetMouse(float* x, float* y) {
  *x = input.x;
  *y = input.y;
}

void WarpMouse(float dx, float dy) {
  input.x += dx;
  input.y += dy;
  Platform().warpCursor(SaturateToInt(input.x), SaturateToInt(input.y));
}

void UndoMouseMotionX() {
  input.x -= input.dx;
  Platform().warpCursor(SaturateToInt(input.x), SaturateToInt(input.y));
}
