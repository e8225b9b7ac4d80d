// The drawing seam: the only way screens, the track and the rider draw. Screen pixels or world
// units as the current transform says; colours are 0..255 per channel. No GL type shows here.
// While a recorder is set every call appends a DrawCommand instead of reaching GL, so a test
// can check what was drawn without a display.
#pragma once
#include <cstdint>
#include <vector>

enum class Primitive { Lines, LineStrip, LineLoop, Triangles, TriangleStrip, TriangleFan, Quads };

// ---- The model-view transform ----
void LoadIdentity();
void PushTransform();                             // at most 32 deep
void PopTransform();
void Translate(float x, float y);
void Scale(float x, float y);
void Rotate(float degrees);                       // counter-clockwise about the origin

// ---- State ----
void SetColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a);
void SetLineWidth(float width);                   // pixels
void EnableTexture(bool on);                      // 2D texturing
void EnableBlend(bool on);
void UseAlphaBlend();                             // source alpha over one minus source alpha
void BindTexture(unsigned name);                  // 0 is skipped: the previous texture stays bound
// Texture matrix = scale (1 / across, 1 / down), then translate (column, row): one cell of a sheet.
void SelectTextureCell(int across, int down, int column, int row);

// ---- Clearing ----
void ClearScreen();                               // colour, then depth
void ClearToColour(uint8_t r, uint8_t g, uint8_t b);

// ---- Shapes, in the current colour and texture ----
void DrawQuad(float width, float height);         // strip from the origin; negative height draws down
void DrawCentredQuad(float halfWidth, float halfHeight);  // negative halves mirror the texture
void DrawDisc(float x, float y, float radius);    // filled octagon
void DrawCircle(float x, float y, float radius, uint8_t r, uint8_t g, uint8_t b);  // sets the colour
int CircleVertexCount(float radius);              // the loop's vertex count (radius<=10: radius, else radius/2+1)
// count vertices from xy (2 * count floats: x0, y0, x1, y1, ...) as one vertex array.
void DrawVertices(Primitive primitive, const float* xy, int count);

// ---- Recording double ----
enum class DrawKind {
  LoadIdentity, PushTransform, PopTransform, Translate, Scale, Rotate,
  SetColour, SetLineWidth, EnableTexture, EnableBlend, UseAlphaBlend, BindTexture, SelectTextureCell,
  ClearScreen, ClearToColour,
  DrawQuad, DrawCentredQuad, DrawDisc, DrawCircle, DrawVertices,
};
// One seam call: its kind and its arguments in order as floats (flags 0 or 1; DrawVertices gives
// the primitive's position in Primitive, then the count, then every x and y).
struct DrawCommand {
  DrawKind kind;
  std::vector<float> numbers;
  friend bool operator==(const DrawCommand&, const DrawCommand&) = default;
};
// While into is set, seam calls are appended to it and GL is not touched; null draws for real.
void RecordDrawing(std::vector<DrawCommand>* into);

// ---- For the device ----
void BuildDrawLists();                            // the disc's display list; needs a current GL context
void ReleaseDrawLists();                          // twice is harmless
