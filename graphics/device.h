// The OpenGL device on the game window (or on an offscreen context made current by the program):
// made with its pixel projection set, released, the frame swap and the frame read back.
// Drawing goes through graphics/draw.h.
#pragma once
#include <cstdint>

bool CreateDevice();                              // on the game window; false when there is none
// The same device on a GL context the caller made current at the screen size; release leaves
// the context to its maker.
void CreateDeviceOnCurrentContext();
void ReleaseDevice();                             // logs "Graph deinitialized"; twice is harmless
void Present();                                   // swaps the buffers
// The frame drawn so far as RGBA, width x height x 4 bytes, bottom row first (waits for the GL).
void ReadFrame(int width, int height, uint8_t* rgba);
