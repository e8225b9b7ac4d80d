// Saving without ever losing the old file: the bytes go to a temporary file beside the target,
// and only after every write, the flush to disk and the close have succeeded does the temporary
// file replace the target (one rename, so the target is always either wholly old or wholly new).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/file_stream.h"
#include "shell/notice.h"

// Writes count bytes as the whole content of target (a stored path). On any failure logs
// "Cannot create file. Not enough space or disk write protected", removes the temporary file,
// leaves target exactly as it was and returns false; that line is also handed to sink.
bool SaveBytesSafely(const char* target, const uint8_t* bytes, size_t count, const NoticeSink& sink = {});

// Removes what saves killed midway left in storedFolder: regular files named
// <name><extension>.saving for one of targetExtensions (such as ".track", matched exactly), each
// with a log line. The folder is listed once; nothing else is touched, and a folder that cannot
// be listed is skipped. Returns the count.
int RemoveStaleSaves(const char* storedFolder, const std::vector<std::string>& targetExtensions);

// Test seam: makes the writer of the temporary file, so a test can hand in one that fails
// midway. nullptr restores the plain FileWriter.
using MakeSaveWriter = std::unique_ptr<FileWriter> (*)(const char* path);
void SetSaveWriterMaker(MakeSaveWriter make);
