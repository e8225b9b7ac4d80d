#include "graphics/device.h"

#include <GL/gl.h>

#include <cmath>

#include "graphics/font.h"
#include "platform/window.h"
#include "shell/display.h"
#include "shell/log.h"

constexpr float kDiscAngleStep = 0.3926875f;      // close to, not exactly, pi / 8
constexpr float kCirclePi = 3.1415f;
constexpr float kRotatePi = 3.1415927f;

// The device: created at start-up and at every return to the foreground, released at shutdown.
static struct {
  bool created = false;
  GLuint discList = 0;
} device;

static void BuildDiscList() {
  device.discList = glGenLists(1);
  glNewList(device.discList, GL_COMPILE);
  glBegin(GL_TRIANGLE_FAN);
  for (int k = 0; k < 16; k += 2) glVertex2f(cosf(k * kDiscAngleStep), sinf(k * kDiscAngleStep));
  glEnd();
  glEndList();
}

bool CreateDevice() {
  if (!PlatformHasWindow()) return false;
  if (!PlatformHasGLVisual()) Fatal("ChoosePixelFormat failed");
  if (!PlatformCreateContext(Fullscreen())) return false;
  device.created = true;
  SetProjection(0, 0, float(ScreenWidth()), float(ScreenHeight()));
  BuildFontLists();
  Log("OpenGL extensions supported: %s", (const char*)glGetString(GL_EXTENSIONS));
  Log("OGL version: %s", (const char*)glGetString(GL_VERSION));
  Log("Vendor: %s", (const char*)glGetString(GL_VENDOR));
  Log("Renderer: %s", (const char*)glGetString(GL_RENDERER));
  glClearIndex(0);
  glClearDepth(1.0);
  glEnable(GL_BLEND);
  glLineWidth(2.0f);
  glPointSize(5.0f);
  PlatformSetSwapInterval(Vsync() ? 1 : 0);
  BuildDiscList();
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_LINE_SMOOTH);
  glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
  return true;
}

void ReleaseDevice() {
  if (device.created) {
    ReleaseFontLists();
    if (device.discList) glDeleteLists(device.discList, 1);
    device.discList = 0;
    PlatformDestroyContext();
    device.created = false;
  }
  Log("Graph deinitialized");
}

void Present() { PlatformSwapBuffers(); }

void ClearScreen() {
  glClear(GL_COLOR_BUFFER_BIT);
  glClear(GL_DEPTH_BUFFER_BIT);
}

void ClearToColour(unsigned char r, unsigned char g, unsigned char b) {
  const float scale = 0.003921569f;
  glClearColor(r * scale, g * scale, b * scale, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void SetProjection(float left, float bottom, float right, float top) {
  glViewport(GLint(left), GLint(bottom), GLsizei(right), GLsizei(top));
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(left, right, bottom, top, -500, 500);
  glMatrixMode(GL_MODELVIEW);
}

void BindTexture(unsigned int name) {
  if (name != 0) glBindTexture(GL_TEXTURE_2D, name);
}

void DrawQuad(float width, float height) {
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0); glVertex2f(0, 0);
  glTexCoord2f(0, 1); glVertex2f(0, height);
  glTexCoord2f(1, 0); glVertex2f(width, 0);
  glTexCoord2f(1, 1); glVertex2f(width, height);
  glEnd();
}

void DrawCentredQuad(float halfWidth, float halfHeight) {
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0); glVertex2f(-halfWidth, -halfHeight);
  glTexCoord2f(0, 1); glVertex2f(-halfWidth, halfHeight);
  glTexCoord2f(1, 0); glVertex2f(halfWidth, -halfHeight);
  glTexCoord2f(1, 1); glVertex2f(halfWidth, halfHeight);
  glEnd();
}

void DrawDisc(float x, float y, float radius) {
  glPushMatrix();
  glTranslatef(x, y, 0);
  glScalef(radius, radius, 1);
  glCallList(device.discList);
  glPopMatrix();
}

int CircleVertexCount(float radius) {
  float n = radius <= 10 ? radius : radius * 0.5f + 1;
  // A radius beyond any screen still draws a bounded loop.
  if (!(n > 0)) return 0;
  return n > 4096 ? 4096 : int(n);
}

void DrawCircle(float x, float y, float radius, unsigned char r, unsigned char g, unsigned char b) {
  glColor3ub(r, g, b);
  int n = CircleVertexCount(radius);
  glBegin(GL_LINE_LOOP);
  for (int k = 0; k < n; ++k) {
    float a = 2 * k * kCirclePi / n;
    glVertex2f(x + radius * cosf(a), y + radius * sinf(a));
  }
  glEnd();
}

void RotateTowards(Vec2 direction) {
  glRotatef(atan2f(direction.x, direction.y) * -180.0f / kRotatePi, 0, 0, 1);
}
