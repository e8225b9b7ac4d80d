#include "shell/safe_save.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/log.h"
#include "shell/notice.h"
#include "shell/paths.h"

// The writer maker in use: the plain FileWriter unless a test swapped it; reset never.
static struct {
  MakeSaveWriter make = nullptr;
} saveState;

// Big enough to keep the writes few, small enough that a failing disk is noticed midway.
constexpr size_t kSaveChunk = 1 << 20;

static bool Refuse(const char* tempPath, const NoticeSink& sink) {
  if (tempPath) PlatformRemoveFile(tempPath);
  Notice(sink, "Cannot create file. Not enough space or disk write protected");
  return false;
}

constexpr const char* kTempSuffix = ".saving";   // what a save appends to its target's name

// The temporary file used for target: target + ".saving"; false when it does not fit capacity.
static bool SafeSaveTempPath(char* destination, size_t capacity, const char* target) {
  int length = snprintf(destination, capacity, "%s%s", target, kTempSuffix);
  return length >= 0 && size_t(length) < capacity;
}

bool SaveBytesSafely(const char* target, const uint8_t* bytes, size_t count, const NoticeSink& sink) {
  char tempPath[kMaxPath + 16];
  if (!target || !target[0] || !SafeSaveTempPath(tempPath, sizeof tempPath, target)) return Refuse(nullptr, sink);
  std::unique_ptr<FileWriter> writer =
      saveState.make ? saveState.make(tempPath) : std::make_unique<FileWriter>(tempPath);
  if (!writer || !writer->isOpen()) return Refuse(nullptr, sink);
  bool ok = true;
  for (size_t at = 0; ok && at < count; at += kSaveChunk) {
    size_t chunk = count - at < kSaveChunk ? count - at : kSaveChunk;
    ok = writer->write(bytes + at, uint32_t(chunk));
  }
  bool finished = writer->finish();
  writer.reset();
  if (!ok || !finished) return Refuse(tempPath, sink);
  if (!PlatformRenameFile(tempPath, target)) return Refuse(tempPath, sink);
  return true;
}

int RemoveStaleSaves(const char* storedFolder, const std::vector<std::string>& targetExtensions) {
  std::vector<FolderEntry> entries;
  if (!PlatformListFolder(storedFolder, &entries)) return 0;
  const auto stale = [&](const std::string& name) {
    for (const std::string& extension : targetExtensions) {
      const std::string suffix = extension + kTempSuffix;
      if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
        return true;
    }
    return false;
  };
  int removed = 0;
  for (const FolderEntry& entry : entries) {
    const std::string& name = entry.name;
    if (!entry.regular || entry.folder || !stale(name)) continue;
    const std::string path = std::string(storedFolder) + "\\" + name;
    if (PlatformRemoveFile(path.c_str())) {
      Log("removed %s, left by a save that did not finish", path.c_str());
      ++removed;
    }
  }
  return removed;
}

void SetSaveWriterMaker(MakeSaveWriter make) { saveState.make = make; }
