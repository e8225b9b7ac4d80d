#include "shell/display.h"

// Display settings: defaults until config.cfg is applied at start; never reset.
static struct {
  int width = 1024;
  int height = 768;
  int colourDepth = 32;
  bool fullscreen = false;
  bool borderless = false;
  bool vsync = false;
  int frameRateCap = 0;
} display;

void SetScreenWidth(int width) { display.width = width; }
void SetScreenHeight(int height) { display.height = height; }
void SetColourDepth(int bits) { display.colourDepth = bits < 16 ? 8 : bits < 32 ? 16 : 32; }
void SetFullscreen(bool on) { display.fullscreen = on; }
void SetBorderless(bool on) { display.borderless = on; }
void SetVsync(bool on) { display.vsync = on; }
void SetFrameRateCap(int framesPerSecond) { display.frameRateCap = framesPerSecond; }
int ScreenWidth() { return display.width; }
int ScreenHeight() { return display.height; }
int ColourDepth() { return display.colourDepth; }
bool Fullscreen() { return display.fullscreen; }
bool Borderless() { return display.borderless; }
bool Vsync() { return display.vsync; }
int FrameRateCap() { return display.frameRateCap; }
Vec2 ScreenSize() { return {float(display.width), float(display.height)}; }
Vec2 ScreenCentre() { return {display.width * 0.5f, display.height * 0.5f}; }
