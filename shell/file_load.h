// Loading a whole file into memory (and writing one whole), and the outcomes every file loader
// of the game shares.
// Loaders parse the bytes into a staging record and touch the game only once it is whole.
#pragma once
#include <cstdint>
#include <vector>

enum class FileLoad {
  Loaded,
  Cancelled,                                      // empty path: "Loading cancelled"
  NotOpened,                                      // missing, unreadable or too short
  Refused,                                        // wrong magic or damaged content
};

// The log line a loader writes for result ("" for Loaded).
const char* FileLoadLine(FileLoad result);
// bytes = the whole file at the stored path; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes);
// bytes as the whole file at the stored path, flushed to the disk; false when any step failed.
// Logs nothing, so a thread may call it.
bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes);
