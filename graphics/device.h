// The OpenGL device on the game window: made with its pixel projection set, released, and the
// frame swap. Drawing goes through graphics/draw.h.
#pragma once

bool CreateDevice();                              // on the game window; false when there is none
void ReleaseDevice();                             // logs "Graph deinitialized"; twice is harmless
void Present();                                   // swaps the buffers
