// The exec folder and paths relative to it. Stored paths use "\" separators whatever the
// system; only the platform layer turns them into "/" when it touches the disk.
#pragma once
#include <cstddef>
#include <functional>

constexpr size_t kMaxPath = 260;                  // the longest path a record or dialog holds, with its zero

// Cut at the last "\" ("/" are turned into "\" first). False, and the folder left "", when the
// program has no folder or its folder does not fit kMaxPath: nothing may then be named from it.
bool SetExecFolder(const char* programPath);
const char* ExecFolder();
// destination (kMaxPath bytes) = exec folder + "\" + name; false and a log line when too long.
bool MakeAbsolutePath(char* destination, const char* name);
// destination (kMaxPath bytes) = path after the exec folder and its separator; false and a log
// line when the path does not start with the exec folder or does not fit.
bool MakeRelativePath(char* destination, const char* path);
// True when a name stored in a file, joined to the program folder, names something inside it:
// not absolute (no leading "\" or "/", no drive "X:"), and no ".." part, with either separator,
// that climbs above the folder. Pure: the caller logs what it refuses.
bool StaysInsideProgramFolder(const char* name);
// Calls callback(full path) for every regular file matching pattern's last part (a mask such as
// "*.rider"); with recurse, sub-folders (not those starting with ".") first, sorted by name.
// False when a full path cannot be formed.
bool WalkFolder(const char* pattern, const std::function<void(const char* path)>& callback, bool recurse);
