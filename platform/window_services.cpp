// The window's entries of the services table, over SDL2 and GTK: keyboard, cursor, message box,
// file dialogs and the desktop size.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>

#include "platform/keys.h"
#include "platform/window_internal.h"
#include "platform/window_keys.h"

// The pointer as the X server has it now, in window pixels. SDL's global mouse state is a cache
// that stops following the pointer while a button holds the implicit grab, so a stroke would
// never move; the server is asked directly instead.
struct Pointer {
  int x = 0, y = 0;
  bool left = false, right = false, middle = false;
};

static Pointer QueryPointer() {
  Pointer pointer;
  SDL_Window* window = PlatformSdlWindow();
  if (!window) return pointer;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
    Window root, child;
    int rootX, rootY, x, y;
    unsigned int mask = 0;
    if (XQueryPointer(info.info.x11.display, info.info.x11.window, &root, &child, &rootX, &rootY, &x, &y, &mask)) {
      pointer = {x, y, (mask & Button1Mask) != 0, (mask & Button3Mask) != 0, (mask & Button2Mask) != 0};
    }
    return pointer;
  }
  int globalX, globalY, windowX, windowY;
  const Uint32 buttons = SDL_GetGlobalMouseState(&globalX, &globalY);
  SDL_GetWindowPosition(window, &windowX, &windowY);
  return {globalX - windowX, globalY - windowY, (buttons & SDL_BUTTON_LMASK) != 0, (buttons & SDL_BUTTON_RMASK) != 0,
          (buttons & SDL_BUTTON_MMASK) != 0};
}

static void ReadKeys(uint8_t keys[256]) {
  for (int i = 0; i < 256; ++i) keys[i] = 0;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  SDL_PumpEvents();
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int code = 0; code < count; ++code)
    if (state[code])
      if (int vk = GameKeyOf(SDL_GetKeyFromScancode(SDL_Scancode(code)), SDL_Scancode(code))) keys[vk] = 0x80;
  const Pointer pointer = QueryPointer();
  if (pointer.left) keys[kKeyLeftButton] = 0x80;
  if (pointer.right) keys[kKeyRightButton] = 0x80;
  if (pointer.middle) keys[kKeyMiddleButton] = 0x80;
}

// Read synchronously from the server, so a warp made in the last step is already seen.
static void ReadCursor(int* x, int* y) {
  const Pointer pointer = QueryPointer();
  *x = pointer.x;
  *y = pointer.y;
}

static void WarpCursor(int x, int y) {
  if (SDL_Window* window = PlatformSdlWindow()) SDL_WarpMouseInWindow(window, x, y);
}

// SDL's own box first; where it cannot be shown (no core X fonts), GTK's, and the log and stderr
// as the last resort so the player's message is never lost without a trace.
static void MessageBox(const char* title, const char* text) {
  PlatformBeginModal();
  const bool shown = SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title ? title : "", text ? text : "",
                                               PlatformSdlWindow()) == 0 ||
                     PlatformShowGtkMessage(title, text);
  PlatformEndModal();
  if (!shown) fprintf(stderr, "Velmora: %s %s\n", title ? title : "", text ? text : "");
}

// Enter answers yes, Escape no; a box that cannot be shown at all answers no.
static bool Question(const char* title, const char* text) {
  const SDL_MessageBoxButtonData buttons[] = {{SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
                                              {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"}};
  const SDL_MessageBoxData box = {SDL_MESSAGEBOX_WARNING, PlatformSdlWindow(), title ? title : "", text ? text : "",
                                  2, buttons, nullptr};
  int pressed = 0;
  PlatformBeginModal();
  const bool yes = SDL_ShowMessageBox(&box, &pressed) == 0 ? pressed == 1 : PlatformAskGtkQuestion(title, text);
  PlatformEndModal();
  return yes;
}

static bool FileDialog(const FileDialogRequest& request, std::string* result) {
  PlatformBeginModal();
  bool chosen = PlatformShowFileDialog(request, result);
  PlatformEndModal();
  return chosen;
}

static bool DesktopSize(int* width, int* height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return false;
  *width = mode.w;
  *height = mode.h;
  return true;
}

PlatformServices WindowServices() {
  PlatformServices services = RealPlatform();
  services.readKeys = ReadKeys;
  services.readCursor = ReadCursor;
  services.warpCursor = WarpCursor;
  services.messageBox = MessageBox;
  services.question = Question;
  services.fileDialog = FileDialog;
  services.desktopSize = DesktopSize;
  services.takeWheel = PlatformTakeWheel;
  return services;
}
