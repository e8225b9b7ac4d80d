#include "platform/offscreen.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstring>

namespace {

// The one context, from creation to destruction.
struct Offscreen {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLSurface surface = EGL_NO_SURFACE;
  EGLContext context = EGL_NO_CONTEXT;
} offscreen;

bool Failed(std::string* why, const char* step) {
  char text[96];
  snprintf(text, sizeof text, "%s failed (EGL error 0x%04x)", step, unsigned(eglGetError()));
  *why = text;
  PlatformDestroyOffscreenContext();
  return false;
}

}  // namespace

bool PlatformCreateOffscreenContext(int width, int height, std::string* why) {
  const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
  if (!extensions || !strstr(extensions, "EGL_MESA_platform_surfaceless")) {
    *why = "EGL has no surfaceless platform (EGL_MESA_platform_surfaceless)";
    return false;
  }
  offscreen.display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (offscreen.display == EGL_NO_DISPLAY) return Failed(why, "eglGetPlatformDisplay");
  if (!eglInitialize(offscreen.display, nullptr, nullptr)) return Failed(why, "eglInitialize");
  // The game's window asks for 8-8-8 colour and a 16-bit depth; alpha is read back but unused.
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
                                     EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
                                     EGL_DEPTH_SIZE, 16, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(offscreen.display, configAttributes, &config, 1, &configs) || configs < 1)
    return Failed(why, "eglChooseConfig");
  const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
  offscreen.surface = eglCreatePbufferSurface(offscreen.display, config, surfaceAttributes);
  if (offscreen.surface == EGL_NO_SURFACE) return Failed(why, "eglCreatePbufferSurface");
  // The drawing is OpenGL 1.1 fixed function: a desktop (compatibility) context, not GLES.
  if (!eglBindAPI(EGL_OPENGL_API)) return Failed(why, "eglBindAPI(EGL_OPENGL_API)");
  offscreen.context = eglCreateContext(offscreen.display, config, EGL_NO_CONTEXT, nullptr);
  if (offscreen.context == EGL_NO_CONTEXT) return Failed(why, "eglCreateContext");
  if (!eglMakeCurrent(offscreen.display, offscreen.surface, offscreen.surface, offscreen.context))
    return Failed(why, "eglMakeCurrent");
  return true;
}

void PlatformDestroyOffscreenContext() {
  if (offscreen.display == EGL_NO_DISPLAY) return;
  eglMakeCurrent(offscreen.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  if (offscreen.context != EGL_NO_CONTEXT) eglDestroyContext(offscreen.display, offscreen.context);
  if (offscreen.surface != EGL_NO_SURFACE) eglDestroySurface(offscreen.display, offscreen.surface);
  // The display stays initialized: terminating it unloads Mesa's driver with the few blocks it
  // keeps for the process, which the leak checker can then no longer name (.ci/lsan.supp).
  offscreen = Offscreen{};
}
