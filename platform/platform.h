// Our thin layer over the system: window, GL context, events, keyboard, cursor, clock,
// message box, file dialogs and the disk. Nothing above platform/ includes a system header.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// ---- Window, GL context and events (the real window; not used by headless tests) ----
enum class PlatformEvent { Empty, Other, Activate, Deactivate, Destroy, PaintBeforeReady };  // Empty = nothing queued

bool PlatformStartVideo();                        // before config.cfg is read
bool PlatformDesktopSize(int* width, int* height);
// Borderless window at (0, 0). colourBits 8/16/32 ask for 3-3-2, 5-6-5 or 8-8-8 colour, depth 16.
bool PlatformCreateWindow(const char* caption, int width, int height, int colourBits);
unsigned long PlatformWindowId();                 // the X11 window id, 0 when none
bool PlatformHasWindow();
bool PlatformHasGLVisual();                       // false when no visual matched the request
bool PlatformCreateContext(bool fullscreen);      // makes it current; false when none could be made
void PlatformDestroyContext();
void PlatformDestroyWindow();
void PlatformSetSwapInterval(int interval);       // result ignored, as drivers may refuse
void PlatformSwapBuffers();
// Next event; blocks when block is set, else returns Empty when nothing is queued.
PlatformEvent PlatformNextEvent(bool block);
void PlatformShowCursor(bool visible);
void PlatformDrawLoadingText();                   // best effort before GL is up
void* PlatformGLProc(const char* name);

// ---- Services read by the game each step: swap any entry for a test double ----
struct LocalTime {
  int year, month, day, hour, minute, second;     // month 0..11
};

struct FileFilter {
  const char* description;                        // "Track Files (*.track)"
  const char* pattern;                            // "*.track;*.demo"
};

struct FileDialogRequest {
  bool save;
  const char* title;
  const FileFilter* filters;
  int filterCount;
  const char* defaultExtension;                   // without the dot
};

struct PlatformServices {
  void (*readKeys)(uint8_t keys[256]);            // bit 7 set = down
  void (*readCursor)(int* x, int* y);             // window pixels, y down, unclamped
  void (*warpCursor)(int x, int y);
  uint32_t (*clock)(uint32_t unit);               // counter * unit / frequency, wrapped to 32 bits
  LocalTime (*localTime)();
  void (*messageBox)(const char* title, const char* text);    // information box, blocks
  // Writes the chosen path ("/" separators) into result; false when cancelled.
  bool (*fileDialog)(const FileDialogRequest& request, std::string* result);
};
PlatformServices& Platform();                     // the table in use
PlatformServices RealPlatform();                  // the system's own services

// ---- The disk: stored paths use "\"; these map them to "/" ----
std::string NativePath(const char* storedPath);   // "\" -> "/"
FILE* PlatformOpenFile(const char* storedPath, const char* mode);
bool PlatformIsRegularFile(const char* storedPath);
bool PlatformRemoveFile(const char* storedPath);
bool PlatformRenameFile(const char* from, const char* to);  // replaces the target atomically
bool PlatformSyncFile(FILE* file);                // flush and fsync
struct FolderEntry {
  std::string name;
  bool folder;                                    // a real folder (links to folders are not)
  bool regular;                                   // a regular file (or a link to one)
};
// Entries of a folder sorted by name without case; false when it cannot be listed.
bool PlatformListFolder(const char* storedFolder, std::vector<FolderEntry>* entries);
std::string PlatformExecutablePath();             // with "/" separators
bool PlatformChangeDirectory(const char* storedPath);

// ---- Processor faults ----
// Catches SIGSEGV, SIGBUS and SIGFPE on an alternate stack and calls onFault with the fault's
// name ("EXCEPTION_ACCESS_VIOLATION", ...); onFault must not return.
void PlatformCatchFaults(void (*onFault)(const char* name));
