// Shared between the files of platform/ only.
#pragma once
#include <SDL2/SDL.h>

#include <string>

SDL_Window* PlatformSdlWindow();                  // null before the window exists
void PlatformBeginModal();                        // our own dialog is opening: ignore focus changes
void PlatformEndModal();                          // it closed: drop the focus events it caused
bool PlatformShowFileDialog(const struct FileDialogRequest& request, std::string* result);  // GTK
