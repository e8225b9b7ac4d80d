#include "graphics/font.h"

#include <GL/gl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

constexpr int kGridSize = 16;                     // glyphs per row and per column of the texture
constexpr float kGridStep = 0.0625f;              // 1 / 16 of the texture per glyph

static void ListGlyph(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX,
                      float offsetY);
static void ListColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);

// Glyphs are drawn only while the GL device is up. The two text buffers are overwritten by every
// call; the sink is set at start.
static struct {
  bool deviceUp = false;
  char printed[kTextCapacity] = {};
  char formatted[kTextCapacity] = {};
  GlyphSink sink = {ListGlyph, ListColour};
} fontState;

static void ListGlyph(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX,
                      float offsetY) {
  // One small strip per glyph, not a display list: Mesa's software renderer pays a buffer
  // upload for every list call, which made a screen of menu text cost a whole core.
  if (!fontState.deviceUp) return;
  const float left = float(code % kGridSize) * kGridStep, right = left + kGridStep;
  const float top = float(code / kGridSize) * kGridStep, bottom = top + kGridStep;
  const float x0 = x + offsetX * scaleX, y0 = y + offsetY * scaleY;
  glBegin(GL_TRIANGLE_STRIP);
  glTexCoord2f(left, bottom);
  glVertex2f(x0, y0);
  glTexCoord2f(left, top);
  glVertex2f(x0, y0 + scaleY);
  glTexCoord2f(right, bottom);
  glVertex2f(x0 + scaleX, y0);
  glTexCoord2f(right, top);
  glVertex2f(x0 + scaleX, y0 + scaleY);
  glEnd();
}

static void ListColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) { glColor4ub(r, g, b, a); }

GlyphSink& FontGlyphSink() { return fontState.sink; }

void StartFontDrawing() { fontState.deviceUp = true; }

void StopFontDrawing() { fontState.deviceUp = false; }

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
