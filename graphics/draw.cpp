#include "graphics/draw.h"

#include <GL/gl.h>

#include <cmath>
#include <initializer_list>

constexpr float kDiscAngleStep = 0.3926875f;      // close to, not exactly, pi / 8
constexpr float kCirclePi = 3.1415f;

// The seam's state: the recorder a test sets (reset by it), and the disc list, which lives as
// long as the GL device.
static struct {
  std::vector<DrawCommand>* recorder = nullptr;
  GLuint discList = 0;
} seam;

// Appends the call when recording; true means GL must not be touched.
static bool Recorded(DrawKind kind, std::initializer_list<float> numbers) {
  if (!seam.recorder) return false;
  seam.recorder->push_back({kind, std::vector<float>(numbers)});
  return true;
}

void RecordDrawing(std::vector<DrawCommand>* into) { seam.recorder = into; }

void LoadIdentity() {
  if (!Recorded(DrawKind::LoadIdentity, {})) glLoadIdentity();
}

void PushTransform() {
  if (!Recorded(DrawKind::PushTransform, {})) glPushMatrix();
}

void PopTransform() {
  if (!Recorded(DrawKind::PopTransform, {})) glPopMatrix();
}

void Translate(float x, float y) {
  if (!Recorded(DrawKind::Translate, {x, y})) glTranslatef(x, y, 0);
}

void Scale(float x, float y) {
  if (!Recorded(DrawKind::Scale, {x, y})) glScalef(x, y, 1);
}

void Rotate(float degrees) {
  if (!Recorded(DrawKind::Rotate, {degrees})) glRotatef(degrees, 0, 0, 1);
}

void SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  if (!Recorded(DrawKind::SetColour, {float(r), float(g), float(b), float(a)})) glColor4ub(r, g, b, a);
}

void SetLineWidth(float width) {
  if (!Recorded(DrawKind::SetLineWidth, {width})) glLineWidth(width);
}

static void Switch(GLenum capability, bool on) {
  if (on) glEnable(capability);
  else glDisable(capability);
}

void EnableTexture(bool on) {
  if (!Recorded(DrawKind::EnableTexture, {on ? 1.0f : 0.0f})) Switch(GL_TEXTURE_2D, on);
}

void EnableBlend(bool on) {
  if (!Recorded(DrawKind::EnableBlend, {on ? 1.0f : 0.0f})) Switch(GL_BLEND, on);
}

void UseAlphaBlend() {
  if (!Recorded(DrawKind::UseAlphaBlend, {})) glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void BindTexture(unsigned name) {
  if (name == 0 || Recorded(DrawKind::BindTexture, {float(name)})) return;
  glBindTexture(GL_TEXTURE_2D, name);
}

void SelectTextureCell(int across, int down, int column, int row) {
  if (Recorded(DrawKind::SelectTextureCell, {float(across), float(down), float(column), float(row)})) return;
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glScalef(1.0f / float(across), 1.0f / float(down), 1);
  glTranslatef(float(column), float(row), 0);
  glMatrixMode(GL_MODELVIEW);
}

void ClearScreen() {
  if (Recorded(DrawKind::ClearScreen, {})) return;
  glClear(GL_COLOR_BUFFER_BIT);
  glClear(GL_DEPTH_BUFFER_BIT);
}

void ClearToColour(uint8_t r, uint8_t g, uint8_t b) {
  if (Recorded(DrawKind::ClearToColour, {float(r), float(g), float(b)})) return;
  const float scale = 0.003921569f;
  glClearColor(r * scale, g * scale, b * scale, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void DrawQuad(float width, float height) {
  if (Recorded(DrawKind::DrawQuad, {width, height})) return;
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0); glVertex2f(0, 0);
  glTexCoord2f(0, 1); glVertex2f(0, height);
  glTexCoord2f(1, 0); glVertex2f(width, 0);
  glTexCoord2f(1, 1); glVertex2f(width, height);
  glEnd();
}

void DrawCentredQuad(float halfWidth, float halfHeight) {
  if (Recorded(DrawKind::DrawCentredQuad, {halfWidth, halfHeight})) return;
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(0, 0); glVertex2f(-halfWidth, -halfHeight);
  glTexCoord2f(0, 1); glVertex2f(-halfWidth, halfHeight);
  glTexCoord2f(1, 0); glVertex2f(halfWidth, -halfHeight);
  glTexCoord2f(1, 1); glVertex2f(halfWidth, halfHeight);
  glEnd();
}

void DrawDisc(float x, float y, float radius) {
  if (Recorded(DrawKind::DrawDisc, {x, y, radius})) return;
  glPushMatrix();
  glTranslatef(x, y, 0);
  glScalef(radius, radius, 1);
  glCallList(seam.discList);
  glPopMatrix();
}

int CircleVertexCount(float radius) {
  float n = radius <= 10 ? radius : radius * 0.5f + 1;
  // A radius beyond any screen still draws a bounded loop.
  if (!(n > 0)) return 0;
  return n > 4096 ? 4096 : int(n);
}

void DrawCircle(float x, float y, float radius, uint8_t r, uint8_t g, uint8_t b) {
  if (Recorded(DrawKind::DrawCircle, {x, y, radius, float(r), float(g), float(b)})) return;
  glColor3ub(r, g, b);
  int n = CircleVertexCount(radius);
  glBegin(GL_LINE_LOOP);
  for (int k = 0; k < n; ++k) {
    float a = 2 * k * kCirclePi / n;
    glVertex2f(x + radius * cosf(a), y + radius * sinf(a));
  }
  glEnd();
}

static GLenum GlPrimitive(Primitive primitive) {
  switch (primitive) {
    case Primitive::Lines: return GL_LINES;
    case Primitive::LineStrip: return GL_LINE_STRIP;
    case Primitive::LineLoop: return GL_LINE_LOOP;
    case Primitive::Triangles: return GL_TRIANGLES;
    case Primitive::TriangleStrip: return GL_TRIANGLE_STRIP;
    case Primitive::TriangleFan: return GL_TRIANGLE_FAN;
    case Primitive::Quads: return GL_QUADS;
  }
  return GL_LINES;
}

void DrawVertices(Primitive primitive, const float* xy, int count) {
  if (count <= 0) return;
  if (seam.recorder) {
    DrawCommand command{DrawKind::DrawVertices, {float(int(primitive)), float(count)}};
    command.numbers.insert(command.numbers.end(), xy, xy + 2 * size_t(count));
    seam.recorder->push_back(std::move(command));
    return;
  }
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(2, GL_FLOAT, 0, xy);
  glDrawArrays(GlPrimitive(primitive), 0, GLsizei(count));
  glDisableClientState(GL_VERTEX_ARRAY);
}

void BuildDrawLists() {
  seam.discList = glGenLists(1);
  glNewList(seam.discList, GL_COMPILE);
  glBegin(GL_TRIANGLE_FAN);
  for (int k = 0; k < 16; k += 2) glVertex2f(cosf(k * kDiscAngleStep), sinf(k * kDiscAngleStep));
  glEnd();
  glEndList();
}

void ReleaseDrawLists() {
  if (seam.discList) glDeleteLists(seam.discList, 1);
  seam.discList = 0;
}
