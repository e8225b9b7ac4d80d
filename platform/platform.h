// Our thin layer over the system, the part that needs no display: the services the game reads
// each step, the disk, the program's path and processor faults. Nothing here links SDL or GTK;
// the window, its GL context and its events are in platform/window.h. Nothing above platform/
// includes a system header.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

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
  const char* folder;                             // "/" separators: where the dialog opens; null = the toolkit's choice
};

// Without a window (the headless defaults): keys all up, cursor at (0, 0), warps ignored, the
// message box written to stderr, every question answered no, every file dialog cancelled, no
// desktop size. Starting the
// video installs the window's own entries.
struct PlatformServices {
  void (*readKeys)(uint8_t keys[256]);            // bit 7 set = down
  void (*readCursor)(int* x, int* y);             // window pixels, y down, unclamped
  void (*warpCursor)(int x, int y);
  uint32_t (*clock)(uint32_t unit);               // counter * unit / frequency, wrapped to 32 bits
  LocalTime (*localTime)();
  void (*messageBox)(const char* title, const char* text);    // information box, blocks
  bool (*question)(const char* title, const char* text);      // true = yes; blocks
  // Writes the chosen path ("/" separators) into result; false when cancelled. A saved name typed
  // without an extension takes the chosen filter's; the caller asks before replacing a file.
  bool (*fileDialog)(const FileDialogRequest& request, std::string* result);
  bool (*desktopSize)(int* width, int* height);   // pixels; false when unknown
  int (*takeWheel)();                             // wheel notches since the last call; + turned away from the player
};
PlatformServices& Platform();                     // the table in use
PlatformServices RealPlatform();                  // the system's own: headless, or the window's once installed
// Makes services the system's own. Every entry of the table in use that still holds its
// headless default takes the new one; an entry a test or tool replaced earlier stays.
void InstallPlatformServices(const PlatformServices& services);

// ---- The disk: stored paths use "\"; these map them to "/" ----
FILE* PlatformOpenFile(const char* storedPath, const char* mode);
bool PlatformIsRegularFile(const char* storedPath);
bool PlatformIsFolder(const char* storedPath);    // a folder, or a link to one
bool PlatformCanWriteFolder(const char* storedPath);  // this process may make files in it
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
bool PlatformMakeFolder(const char* storedPath);  // true when the folder exists afterwards
bool PlatformRemoveTree(const char* storedPath);  // a file, or a folder with all it holds; true when gone
bool PlatformSyncFolder(const char* storedPath);  // its entries (a rename into it) on the disk
double PlatformAgeSeconds(const char* storedPath);  // since its last change; -1 when it is missing
// An exclusive lock on a file (made if missing), held until unlocked or until the process ends,
// however it ends. -1 when another process holds it or the file cannot be made.
int PlatformLockFile(const char* storedPath);
void PlatformUnlockFile(int lock);
int PlatformProcessId();
std::string PlatformExecutablePath();             // with "/" separators
std::string PlatformEnvironment(const char* name);  // the variable's value; "" when unset
bool PlatformChangeDirectory(const char* storedPath);

// ---- Processor faults ----
// Catches SIGSEGV, SIGBUS and SIGFPE on an alternate stack and calls onFault with the fault's
// name ("EXCEPTION_ACCESS_VIOLATION", ...) in the signal handler, so onFault must be
// async-signal-safe; when it returns the process ends at once with status 255.
void PlatformCatchFaults(void (*onFault)(const char* name));
