#include "graphics/device.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "platform/window.h"
#include "shell/display.h"
#include "shell/log.h"

// Whether the device is up, and on whose context: set at creation, cleared at release.
static struct {
  bool created = false;
  bool onWindow = false;                          // the window's context, which release destroys
} device;

// Orthographic projection in screen pixels, origin bottom-left, y up; viewport to match.
static void SetProjection(float left, float bottom, float right, float top) {
  glViewport(GLint(left), GLint(bottom), GLsizei(right), GLsizei(top));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, -500, 500);
  glMatrixMode(GL_MODELVIEW);
}

// The GL state every frame of the game expects, on the context current now.
static void StartDevice() {
  device.created = true;
  SetProjection(0, 0, float(ScreenWidth()), float(ScreenHeight()));
  StartFontDrawing();
  Log("OpenGL extensions supported: %s", (const char*)glGetString(GL_EXTENSIONS));
  Log("OGL version: %s", (const char*)glGetString(GL_VERSION));
  Log("Vendor: %s", (const char*)glGetString(GL_VENDOR));
  Log("Renderer: %s", (const char*)glGetString(GL_RENDERER));
  glClearIndex(0);
  glClearDepth(1.0);
  glEnable(GL_BLEND);
  glLineWidth(2.0f);
  glPointSize(5.0f);
  BuildDrawLists();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_LINE_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
}

bool CreateDevice() {
  if (!PlatformHasWindow()) return false;
  if (!PlatformHasGLVisual()) Fatal("ChoosePixelFormat failed");
  if (!PlatformCreateContext(Fullscreen())) return false;
  StartDevice();
  device.onWindow = true;
  PlatformSetSwapInterval(Vsync() ? 1 : 0);
  return true;
}

void CreateDeviceOnCurrentContext() { StartDevice(); }

void ReadFrame(int width, int height, uint8_t* rgba) {
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void ReleaseDevice() {
  if (device.created) {
    StopFontDrawing();
    ReleaseDrawLists();
    if (device.onWindow) PlatformDestroyContext();
    device.created = false;
    device.onWindow = false;
  }
  Log("Graph deinitialized");
}

void Present() { PlatformSwapBuffers(); }
