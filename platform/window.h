// The game window, its GL context and its events, over SDL2 (library velmora_platform_window).
// Starting the video also installs the window's keyboard, cursor, message box, file dialog and
// desktop size into the services of platform/platform.h.
#pragma once

enum class PlatformEvent { Empty, Other, Activate, Deactivate, Destroy, PaintBeforeReady };  // Empty = nothing queued

bool PlatformStartVideo();                        // before config.cfg is read; installs the window's services; false without an X display
// A window at (0, 0) with a title bar the window manager draws and lets the player move, or with
// borderless a bare one. colourBits 8/16/32 ask for 3-3-2, 5-6-5 or 8-8-8 colour, depth 16.
bool PlatformCreateWindow(const char* caption, int width, int height, int colourBits, bool borderless = true);
unsigned long PlatformWindowId();                 // the X11 window id, 0 when none
bool PlatformHasWindow();
bool PlatformHasGLVisual();                       // false when no visual matched the request
bool PlatformCreateContext(bool fullscreen);      // makes it current; false when none could be made
void PlatformDestroyContext();
void PlatformDestroyWindow();
int PlatformRefreshRate();                        // the desktop display's refresh in Hz, 0 when unknown
void PlatformSetSwapInterval(int interval);       // result ignored, as drivers may refuse
void PlatformSwapBuffers();
// Next event; blocks when block is set, else returns Empty when nothing is queued.
PlatformEvent PlatformNextEvent(bool block);
void PlatformShowCursor(bool visible);
void PlatformDrawLoadingText();                   // best effort before GL is up
