// The OpenGL device and the 2D primitives every screen draws with: orthographic projection in
// screen pixels, origin bottom-left, y up.
#pragma once
#include "shell/vec2.h"

bool CreateDevice();                              // on the game window; false when there is none
void ReleaseDevice();                             // logs "Graph deinitialized"; twice is harmless
void Present();                                   // swaps the buffers
void ClearScreen();                               // colour, then depth
void ClearToColour(unsigned char r, unsigned char g, unsigned char b);
void SetProjection(float left, float bottom, float right, float top);
void BindTexture(unsigned int name);              // 0 is skipped: the previous texture stays bound
void DrawQuad(float width, float height);         // strip from the origin; negative height draws down
void DrawCentredQuad(float halfWidth, float halfHeight);
void DrawDisc(float x, float y, float radius);    // octagon display list
void DrawCircle(float x, float y, float radius, unsigned char r, unsigned char g, unsigned char b);
void RotateTowards(Vec2 direction);               // turns local +y onto the direction
int CircleVertexCount(float radius);              // the loop's vertex count (radius<=10: radius, else radius/2+1)
