// The bitmap font: a 16 x 16 grid of glyphs in sprite slot 7, one cell per byte value, drawn at
// a fixed advance from the current model-view origin.
#pragma once
#include <cstdint>

constexpr int kTextCapacity = 256;                // formatted text keeps at most 255 characters

void StartFontDrawing();                          // the GL device is up: glyphs draw
void StopFontDrawing();                           // it is going: glyphs draw nothing; twice is harmless
// One line of formatted text; the caller binds the font and sets the colour. Null format: nothing.
void PrintText(float scaleX, float scaleY, float spacing, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
// Text with a black shadow (shadow offset in pixels, y up) and line feeds; leaves the colour at
// (r, g, b, 255). Null format: nothing.
void PrintShadowText(float scaleX, float scaleY, float spacing, float shadowDx, float shadowDy,
                     uint8_t shadowAlpha, uint8_t r, uint8_t g, uint8_t b, const char* format, ...)
    __attribute__((format(printf, 10, 11)));
// Formats into a static buffer (overwritten per call), cut to 255 characters; null for null.
const char* FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Where glyph draws go: the GL device, or a test's recorder.
struct GlyphSink {
  // Glyph code at (x, y) pixels from the text origin, scaled by (scaleX, scaleY) and moved by
  // (offsetX, offsetY) glyph units inside its scaled frame.
  void (*glyph)(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX, float offsetY);
  void (*colour)(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
};
GlyphSink& FontGlyphSink();                       // the sink in use
