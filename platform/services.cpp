// The services the game reads each step, over SDL2 and the C library; and the table that lets
// tests put doubles in their place.
#include <SDL2/SDL.h>

#include <ctime>

#include "platform/keys.h"
#include "platform/platform.h"
#include "platform/platform_internal.h"

// Key codes of the keys whose meaning does not depend on the keyboard layout.
static int FixedKeyCode(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return kKeyPad0 + 1 + (code - SDL_SCANCODE_KP_1);
  switch (code) {
    case SDL_SCANCODE_KP_0: return kKeyPad0;
    case SDL_SCANCODE_KP_PLUS: return kKeyPadPlus;
    case SDL_SCANCODE_KP_MINUS: return kKeyPadMinus;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return kKeyShift;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return kKeyControl;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 0x12;
    case SDL_SCANCODE_ESCAPE: return kKeyEscape;
    case SDL_SCANCODE_SPACE: return kKeySpace;
    case SDL_SCANCODE_LEFT: return kKeyLeft;
    case SDL_SCANCODE_UP: return kKeyUp;
    case SDL_SCANCODE_RIGHT: return kKeyRight;
    case SDL_SCANCODE_DOWN: return kKeyDown;
    case SDL_SCANCODE_DELETE: return kKeyDelete;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return kKeyEnter;
    case SDL_SCANCODE_BACKSPACE: return kKeyBackspace;
    case SDL_SCANCODE_TAB: return kKeyTab;
    default: break;
  }
  if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return 0x70 + (code - SDL_SCANCODE_F1);
  return 0;
}

// Letters and digits follow the player's layout: the key that types "r" is key 'R'.
static int KeyCode(SDL_Scancode code) {
  if (int fixed = FixedKeyCode(code)) return fixed;
  SDL_Keycode key = SDL_GetKeyFromScancode(code);
  if (key >= 'a' && key <= 'z') return int(key - 'a' + 'A');
  if (key >= '0' && key <= '9') return int(key);
  return 0;
}

static void ReadKeys(uint8_t keys[256]) {
  for (int i = 0; i < 256; ++i) keys[i] = 0;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int code = 0; code < count; ++code)
    if (state[code])
      if (int vk = KeyCode(SDL_Scancode(code))) keys[vk] = 0x80;
  Uint32 buttons = SDL_GetGlobalMouseState(nullptr, nullptr);
  if (buttons & SDL_BUTTON_LMASK) keys[kKeyLeftButton] = 0x80;
  if (buttons & SDL_BUTTON_RMASK) keys[kKeyRightButton] = 0x80;
  if (buttons & SDL_BUTTON_MMASK) keys[kKeyMiddleButton] = 0x80;
}

// Read synchronously from the server, so a warp made in the last step is already seen.
static void ReadCursor(int* x, int* y) {
  *x = *y = 0;
  SDL_Window* window = PlatformSdlWindow();
  if (!window) return;
  int globalX, globalY, windowX, windowY;
  SDL_GetGlobalMouseState(&globalX, &globalY);
  SDL_GetWindowPosition(window, &windowX, &windowY);
  *x = globalX - windowX;
  *y = globalY - windowY;
}

static void WarpCursor(int x, int y) {
  if (SDL_Window* window = PlatformSdlWindow()) SDL_WarpMouseInWindow(window, x, y);
}

// counter * unit / frequency on a monotonic nanosecond counter, truncated to 32 bits.
static uint32_t Clock(uint32_t unit) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned __int128 nanoseconds = (unsigned __int128)now.tv_sec * 1000000000u + now.tv_nsec;
  return uint32_t(nanoseconds * unit / 1000000000u);
}

static LocalTime ReadLocalTime() {
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

static void MessageBox(const char* title, const char* text) {
  PlatformBeginModal();
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title ? title : "", text ? text : "",
                           PlatformSdlWindow());
  PlatformEndModal();
}

static bool FileDialog(const FileDialogRequest& request, std::string* result) {
  PlatformBeginModal();
  bool chosen = PlatformShowFileDialog(request, result);
  PlatformEndModal();
  return chosen;
}

PlatformServices RealPlatform() {
  return {ReadKeys, ReadCursor, WarpCursor, Clock, ReadLocalTime, MessageBox, FileDialog};
}

PlatformServices& Platform() {
  static PlatformServices services = RealPlatform();
  return services;
}
