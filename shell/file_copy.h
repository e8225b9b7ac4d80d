// Copying a file the player chose elsewhere into the player folder, so that files which name it
// by a path relative to the game's folders (tracks name riders, riders name sprite sheets) can
// find it.
#pragma once

// Copies source (a stored path) into folder (relative to the player folder, such as "riders")
// under its own name, or name-2, name-3, ... when a different file, the player's or a shipped
// one, already has that name; a file of that name with the same bytes is used as it is.
// relative (kMaxPath bytes) = the copy's path relative to the game's folders; created (may be
// null) tells whether a new file was written. False, with a log line, when the source cannot be
// read or the copy cannot be written; relative is then "".
bool CopyIntoPlayerFolder(const char* source, const char* folder, char* relative, bool* created = nullptr);
