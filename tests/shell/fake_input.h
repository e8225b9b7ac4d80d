// Keyboard and cursor doubles behind the platform seam: a test sets keys and the cursor, then
// calls Step() to refresh the input snapshot as the frame driver would.
#pragma once
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/platform.h"
#include "shell/display.h"
#include "shell/input.h"

struct FakeInput {
  uint8_t keys[256] = {};
  int cursorX = 0, cursorY = 0;                   // window px, y down
  int warps = 0;
  int wheel = 0;                                  // notches the next refresh takes
};

inline FakeInput& Fake() {
  static FakeInput fake;
  return fake;
}

inline void InstallFakeInput(int screenWidth = 1024, int screenHeight = 768) {
  SetScreenWidth(screenWidth);
  SetScreenHeight(screenHeight);
  Fake() = FakeInput{};
  Platform().readKeys = [](uint8_t keys[256]) { memcpy(keys, Fake().keys, 256); };
  Platform().readCursor = [](int* x, int* y) { *x = Fake().cursorX, *y = Fake().cursorY; };
  Platform().warpCursor = [](int x, int y) { Fake().cursorX = x, Fake().cursorY = y, ++Fake().warps; };
  Platform().takeWheel = [] { return std::exchange(Fake().wheel, 0); };
  ResetInput();
  RefreshInput();
}

inline void SetKey(int vk, bool down) { Fake().keys[vk] = down ? 0x80 : 0; }

// The cursor at (x, y) in screen px with y up, as every screen sees the pointer.
inline void PointAt(float x, float y) {
  Fake().cursorX = int(x);
  Fake().cursorY = ScreenHeight() - int(y);
}
