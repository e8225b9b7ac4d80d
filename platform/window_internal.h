// Shared between the window files of platform/ only.
#pragma once
#include <SDL2/SDL.h>

#include <string>

#include "platform/platform.h"

SDL_Window* PlatformSdlWindow();                  // null before the window exists
void PlatformBeginModal();                        // our own dialog is opening: ignore focus changes
void PlatformEndModal();                          // it closed: drop the focus events it caused
bool PlatformStartGtk();                          // once; false when GTK cannot open the display
bool PlatformShowFileDialog(const FileDialogRequest& request, std::string* result);  // GTK
bool PlatformShowGtkMessage(const char* title, const char* text);  // false when GTK cannot start
bool PlatformAskGtkQuestion(const char* title, const char* text);  // true for yes; Enter is yes, Escape no
PlatformServices WindowServices();                // the SDL and GTK entries of the services table
int PlatformTakeWheel();                          // wheel notches since the last call
