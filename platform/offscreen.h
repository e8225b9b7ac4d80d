// A desktop GL context without a window or display, for drawing frames that are only read back
// (library velmora_platform_offscreen): Mesa's surfaceless EGL platform with a pbuffer of the
// frame's size as the default framebuffer. One context per process.
#pragma once
#include <string>

// Makes the context current on the calling thread; false and why (the EGL step that failed).
bool PlatformCreateOffscreenContext(int width, int height, std::string* why);
void PlatformDestroyOffscreenContext();           // harmless without a context
