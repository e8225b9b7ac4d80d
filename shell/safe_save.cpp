#include "shell/safe_save.h"

#include <cstdio>

#include "platform/platform.h"
#include "shell/log.h"
#include "shell/paths.h"

// The writer maker in use: the plain FileWriter unless a test swapped it; reset never.
static struct {
  MakeSaveWriter make = nullptr;
} saveState;

// Big enough to keep the writes few, small enough that a failing disk is noticed midway.
constexpr size_t kSaveChunk = 1 << 20;

static bool Refuse(const char* tempPath) {
  if (tempPath) PlatformRemoveFile(tempPath);
  Log("Cannot create file. Not enough space or disk write protected");
  return false;
}

// The temporary file used for target: target + ".saving"; false when it does not fit capacity.
static bool SafeSaveTempPath(char* destination, size_t capacity, const char* target) {
  int length = snprintf(destination, capacity, "%s.saving", target);
  return length >= 0 && size_t(length) < capacity;
}

bool SaveBytesSafely(const char* target, const uint8_t* bytes, size_t count) {
  char tempPath[kMaxPath + 16];
  if (!target || !target[0] || !SafeSaveTempPath(tempPath, sizeof tempPath, target)) return Refuse(nullptr);
  std::unique_ptr<FileWriter> writer =
      saveState.make ? saveState.make(tempPath) : std::make_unique<FileWriter>(tempPath);
  if (!writer || !writer->isOpen()) return Refuse(nullptr);
  bool ok = true;
  for (size_t at = 0; ok && at < count; at += kSaveChunk) {
    size_t chunk = count - at < kSaveChunk ? count - at : kSaveChunk;
    ok = writer->write(bytes + at, uint32_t(chunk));
  }
  bool finished = writer->finish();
  writer.reset();
  if (!ok || !finished) return Refuse(tempPath);
  if (!PlatformRenameFile(tempPath, target)) return Refuse(tempPath);
  return true;
}

void SetSaveWriterMaker(MakeSaveWriter make) { saveState.make = make; }
