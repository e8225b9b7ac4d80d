// The game window, its GL context and its events, over SDL2.
#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>

#include <cstdlib>

#include "platform/window.h"
#include "platform/window_internal.h"

// The one window: made at start, destroyed at shutdown.
static struct {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  bool glVisual = false;
  bool focused = true;
  bool minimised = false;
  int wheel = 0;                                  // notches not yet taken by the input refresh
  bool active = true;                             // focused and not minimised, as last reported
} win;

// Focus changes caused by our own modal dialogs are not the player leaving the game.
static int modalDepth = 0;

void PlatformBeginModal() { ++modalDepth; }

void PlatformEndModal() {
  if (--modalDepth > 0) return;
  SDL_PumpEvents();
  SDL_FlushEvent(SDL_WINDOWEVENT);
  if (win.window) {
    Uint32 flags = SDL_GetWindowFlags(win.window);
    win.focused = true;
    win.minimised = (flags & SDL_WINDOW_MINIMIZED) != 0;
  }
}

SDL_Window* PlatformSdlWindow() { return win.window; }

bool PlatformStartVideo() {
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // The pointer, the dialogs and the key table all speak X: without an X display SDL would pick
  // an offscreen driver and the game would run unseen, so anything but X is refused.
  const char* display = getenv("DISPLAY");
  if (!display || !*display) return false;
  SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  InstallPlatformServices(WindowServices());
  return true;
}

bool PlatformCreateWindow(const char* caption, int width, int height, int colourBits, bool borderless) {
  int red = 8, green = 8, blue = 8;
  if (colourBits == 8) red = 3, green = 3, blue = 2;
  if (colourBits == 16) red = 5, green = 6, blue = 5;
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  // At (0, 0) either way: a window manager puts a titled window's frame there, title bar and all.
  const Uint32 flags = (borderless ? SDL_WINDOW_BORDERLESS : 0) | SDL_WINDOW_SHOWN;
  win.window = SDL_CreateWindow(caption, 0, 0, width, height, flags | SDL_WINDOW_OPENGL);
  win.glVisual = win.window != nullptr;
  // Without a matching GL visual the window can still be made; the device then fails on it.
  if (!win.window) win.window = SDL_CreateWindow(caption, 0, 0, width, height, flags);
  win.focused = true;
  win.minimised = false;
  win.active = true;
  return win.window != nullptr;
}

unsigned long PlatformWindowId() {
  if (!win.window) return 0;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(win.window, &info) || info.subsystem != SDL_SYSWM_X11) return 0;
  return (unsigned long)info.info.x11.window;
}

bool PlatformHasWindow() { return win.window != nullptr; }
bool PlatformHasGLVisual() { return win.glVisual; }

bool PlatformCreateContext(bool fullscreen) {
  if (!win.window || !win.glVisual) return false;
  if (fullscreen) {
    SDL_DisplayMode want{}, closest{};
    SDL_GetWindowSize(win.window, &want.w, &want.h);
    if (SDL_GetClosestDisplayMode(0, &want, &closest)) SDL_SetWindowDisplayMode(win.window, &closest);
    SDL_SetWindowFullscreen(win.window, SDL_WINDOW_FULLSCREEN);
  }
  win.context = SDL_GL_CreateContext(win.window);
  if (!win.context) return false;
  return SDL_GL_MakeCurrent(win.window, win.context) == 0;
}

void PlatformDestroyContext() {
  if (win.context) SDL_GL_DeleteContext(win.context);
  win.context = nullptr;
}

void PlatformDestroyWindow() {
  PlatformDestroyContext();
  if (win.window) SDL_DestroyWindow(win.window);
  win.window = nullptr;
}

int PlatformRefreshRate() {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 0;
  return mode.refresh_rate > 0 ? mode.refresh_rate : 0;
}

void PlatformSetSwapInterval(int interval) { SDL_GL_SetSwapInterval(interval); }

void PlatformSwapBuffers() {
  if (win.window && win.context) SDL_GL_SwapWindow(win.window);
}

void PlatformShowCursor(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

// SDL draws no text without a renderer, and a renderer would claim the window the GL context
// needs: the window stays black until the first frame.
void PlatformDrawLoadingText() {}

static PlatformEvent ActivityChange() {
  bool active = win.focused && !win.minimised;
  if (active == win.active) return PlatformEvent::Other;
  win.active = active;
  return active ? PlatformEvent::Activate : PlatformEvent::Deactivate;
}

int PlatformTakeWheel() {
  const int notches = win.wheel;
  win.wheel = 0;
  return notches;
}

PlatformEvent PlatformNextEvent(bool block) {
  SDL_Event event;
  if (!(block ? SDL_WaitEvent(&event) : SDL_PollEvent(&event))) return PlatformEvent::Empty;
  if (event.type == SDL_QUIT) return PlatformEvent::Destroy;
  if (event.type == SDL_MOUSEWHEEL && modalDepth == 0) {
    const int notches = event.wheel.y;
    win.wheel += event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -notches : notches;
    return PlatformEvent::Other;
  }
  if (event.type != SDL_WINDOWEVENT || modalDepth > 0) return PlatformEvent::Other;
  switch (event.window.event) {
    case SDL_WINDOWEVENT_CLOSE: return PlatformEvent::Destroy;
    case SDL_WINDOWEVENT_EXPOSED: return PlatformEvent::PaintBeforeReady;
    case SDL_WINDOWEVENT_FOCUS_GAINED: win.focused = true; return ActivityChange();
    case SDL_WINDOWEVENT_FOCUS_LOST: win.focused = false; return ActivityChange();
    case SDL_WINDOWEVENT_MINIMIZED: win.minimised = true; return ActivityChange();
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN: win.minimised = false; return ActivityChange();
    default: return PlatformEvent::Other;
  }
}
