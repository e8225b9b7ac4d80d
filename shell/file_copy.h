// Copying a file the player chose elsewhere into one of the game's own folders, so that files
// which name it by a path relative to the program folder (tracks name riders, riders name sprite
// sheets) can find it.
#pragma once

// True when the stored path lies inside the exec folder (no log line).
bool IsInsideExecFolder(const char* storedPath);
// Copies source (a stored path) into folder (relative to the exec folder, such as "riders") under
// its own name, or name-2, name-3, ... when a different file already has that name; a file of
// that name with the same bytes is used as it is. relative (kMaxPath bytes) = the copy's path
// relative to the exec folder; created (may be null) tells whether a new file was written. False,
// with a log line, when the source cannot be read or the copy cannot be written; relative is then "".
bool CopyIntoProgramFolder(const char* source, const char* folder, char* relative, bool* created = nullptr);
