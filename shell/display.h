// Display settings from config.cfg: read once at start, used by the device, input and layouts.
#pragma once
#include "shell/vec2.h"

void SetScreenWidth(int width);
void SetScreenHeight(int height);
void SetColourDepth(int bitsPerPixel);           // stores 8 below 16, 16 for 16..31, 32 from 32
void SetFullscreen(bool on);
void SetBorderless(bool on);                      // a window without a title bar, at the desktop's corner
void SetVsync(bool on);
void SetFrameRateCap(int framesPerSecond);        // 0: chosen from the display's refresh
int ScreenWidth();                                // pixels
int ScreenHeight();
int ColourDepth();                                // 8, 16 or 32
bool Fullscreen();
bool Borderless();
bool Vsync();
int FrameRateCap();                               // frames per second from config.cfg, 0 when not set
Vec2 ScreenSize();                                // (width, height) as floats
Vec2 ScreenCentre();                              // (width * 0.5, height * 0.5)
