#include "graphics/font.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

constexpr int kGlyphCount = 256;
constexpr int kGridSize = 16;                     // glyphs per row and per column of the texture
constexpr float kGridStep = 0.0625f;              // 1 / 16 of the texture per glyph

static void ListGlyph(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX,
                      float offsetY);
static void ListColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// The font's display lists live as long as the GL device: built when it is created, released
// with it. The two text buffers are overwritten by every call; the sink is set at start.
static struct {
  GLuint base = 0;                                // 0 = no lists
  char printed[kTextCapacity] = {};
  char formatted[kTextCapacity] = {};
  GlyphSink sink = {ListGlyph, ListColour};
} fontState;

static void ListGlyph(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX,
                      float offsetY) {
  if (fontState.base == 0) return;
  glPushMatrix();
  glTranslatef(x, y, 0);
  glScalef(scaleX, scaleY, 1);
  if (offsetX != 0 || offsetY != 0) glTranslatef(offsetX, offsetY, 0);
  glCallList(fontState.base + code);
  glPopMatrix();
}

static void ListColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { glColor4ub(r, g, b, a); }

GlyphSink& FontGlyphSink() { return fontState.sink; }

void BuildFontLists() {
  fontState.base = glGenLists(kGlyphCount);
  if (fontState.base == 0) return;
  for (int row = 0; row < kGridSize; ++row) {
    for (int column = 0; column < kGridSize; ++column) {
      // Grid row 0 is the texture's first stored row (t = 0), the picture's top: the glyph's
      // top edge is at the smaller t.
      float left = float(column) * kGridStep;
      float right = float(column + 1) * kGridStep;
      float top = float(row) * kGridStep;
      float bottom = float(row + 1) * kGridStep;
      glNewList(fontState.base + GLuint(row * kGridSize + column), GL_COMPILE);
      glBegin(GL_TRIANGLE_STRIP);
      glTexCoord2f(left, bottom);
      glVertex2f(0, 0);
      glTexCoord2f(left, top);
      glVertex2f(0, 1);
      glTexCoord2f(right, bottom);
      glVertex2f(1, 0);
      glTexCoord2f(right, top);
      glVertex2f(1, 1);
      glEnd();
      glEndList();
    }
  }
}

void ReleaseFontLists() {
  if (fontState.base != 0) glDeleteLists(fontState.base, kGlyphCount);
  fontState.base = 0;
}

void PrintText(float scaleX, float scaleY, float spacing, const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  vsnprintf(fontState.printed, sizeof fontState.printed, format, args);
  va_end(args);
  float x = 0;
  for (const char* c = fontState.printed; *c; ++c) {
    fontState.sink.glyph(uint8_t(*c), x, 0, scaleX, scaleY, 0, 0);
    x += scaleX + spacing;
  }
}

void PrintShadowText(float scaleX, float scaleY, float spacing, float shadowDx, float shadowDy,
                     uint8_t shadowAlpha, uint8_t r, uint8_t g, uint8_t b, const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  vsnprintf(fontState.printed, sizeof fontState.printed, format, args);
  va_end(args);
  // The shadow is moved inside the glyph's scaled frame, so its pixel offset becomes glyph units.
  float offsetX = shadowDx / scaleX;
  float offsetY = shadowDy / scaleY;
  float x = 0;
  float y = 0;
  for (const char* c = fontState.printed; *c; ++c) {
    if (*c == '\n') {
      // One advance left of the line start, so the next character lands at x = 0.
      x = -(scaleX + spacing);
      y -= scaleY;
    }
    uint8_t code = uint8_t(*c);
    fontState.sink.colour(0, 0, 0, shadowAlpha);
    fontState.sink.glyph(code, x, y, scaleX, scaleY, offsetX, offsetY);
    fontState.sink.colour(r, g, b, 255);
    fontState.sink.glyph(code, x, y, scaleX, scaleY, 0, 0);
    x += scaleX + spacing;
  }
}

const char* FormatText(const char* format, ...) {
  if (!format) return nullptr;
  memset(fontState.formatted, 0, sizeof fontState.formatted);
  va_list args;
  va_start(args, format);
  vsnprintf(fontState.formatted, sizeof fontState.formatted, format, args);
  va_end(args);
  return fontState.formatted;
}
