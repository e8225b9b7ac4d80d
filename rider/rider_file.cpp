#include "rider/rider_file.h"

#include <cstdio>
#include <cstring>

#include "rider/current_rider.h"
#include "shell/log.h"
#include "shell/notice.h"
#include "shell/paths.h"
#include "shell/safe_save.h"

const char* const kTempRiderFile = "riders\\temp_rider.rider";

static const char kRiderMagic[17] = "TOLK_RIDER_RIDER";  // 16 characters and the zero
constexpr size_t kMagicBytes = sizeof kRiderMagic;

// ---- internal ----

// rider.path = filePath relative to the game's folders. A path outside the folder, or one too long
// for the record, is not kept cut: the record's path is emptied (MakeRelativePath logs why), so
// a track saved with this rider names no rider rather than a wrong one.
static void KeepRelativePath(CurrentRider& rider, const char* filePath) {
  char relative[kMaxPath];
  if (MakeRelativePath(relative, filePath) && strlen(relative) < sizeof rider.path) {
    snprintf(rider.path, sizeof rider.path, "%s", relative);
    return;
  }
  if (relative[0]) Log("rider path too long to keep: %s", relative);
  rider.path[0] = 0;
}

// ---- public ----

FileLoad ParseRiderFile(const uint8_t* bytes, size_t size, RiderFileContent* out) {
  if (size < kMagicBytes + 1) return FileLoad::NotOpened;
  if (memcmp(bytes, kRiderMagic, kMagicBytes) != 0) return FileLoad::Refused;
  ByteReader in{bytes, size, kMagicBytes};

  uint32_t length;
  if (!in.readU32(&length) || length == 0 || length > in.left() || length > kMaxSpriteSheetName)
    return FileLoad::Refused;
  const uint8_t* text = bytes + in.position;
  const void* zero = memchr(text, 0, length);
  if (!zero) return FileLoad::Refused;
  memcpy(out->spriteSheet, text, size_t(static_cast<const uint8_t*>(zero) - text) + 1);
  in.skip(length);

  if (!in.readI32(&out->focusPointId)) return FileLoad::Refused;
  if (!ParseSnapshot(in, &out->snapshot)) return FileLoad::Refused;
  return FileLoad::Loaded;
}

void EncodeRiderFile(const CurrentRider& rider, std::vector<uint8_t>* out) {
  out->clear();
  ByteWriter writer{out};
  writer.writeBytes(kRiderMagic, kMagicBytes);
  writer.writeString(rider.spriteSheet);
  writer.writeI32(rider.focusPointId);
  WriteSnapshot(rider.snapshot, writer);
}

// Writes the file without touching the record: "Saving rider:" and the safe save's own lines.
static bool WriteRider(const CurrentRider& rider, const char* filePath, const NoticeSink& sink) {
  if (!filePath || !filePath[0]) {
    Log("Saving cancelled");
    return false;
  }
  Log("Saving rider:%s", filePath);
  std::vector<uint8_t> bytes;
  EncodeRiderFile(rider, &bytes);
  return SaveBytesSafely(filePath, bytes.data(), bytes.size(), sink);
}

bool SaveRider(CurrentRider& rider, const char* filePath, const NoticeSink& sink) {
  if (!WriteRider(rider, filePath, sink)) return false;
  Tell(sink, "Rider saved:%s", filePath);
  KeepRelativePath(rider, filePath);
  return true;
}

bool SaveTempRider(const CurrentRider& rider) {
  char path[kMaxPath];
  return MakePlayerPath(path, kTempRiderFile) && WriteRider(rider, path, {});
}

FileLoad LoadRider(CurrentRider& rider, const char* filePath, const NoticeSink& sink) {
  if (!filePath || !filePath[0]) {
    Log("%s", FileLoadLine(FileLoad::Cancelled));
    return FileLoad::Cancelled;
  }
  Log("Loading rider:%s", filePath);
  std::vector<uint8_t> bytes;
  RiderFileContent content;
  FileLoad result = ReadWholeFile(filePath, &bytes) ? ParseRiderFile(bytes.data(), bytes.size(), &content)
                                                    : FileLoad::NotOpened;
  if (result != FileLoad::Loaded) {
    Notice(sink, "%s", FileLoadLine(result));
    return result;
  }

  // The file is whole: only now does the rider in use change.
  KeepRelativePath(rider, filePath);
  // The sheet is opened beside the program; a name that climbs out of its folder would show any
  // picture on the disk, so the rider comes without one.
  if (StaysInsideProgramFolder(content.spriteSheet)) {
    snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "%s", content.spriteSheet);
  } else {
    Log("sprite sheet leaves the program folder, not used: %s", content.spriteSheet);
    rider.spriteSheet[0] = 0;
  }
  rider.focusPointId = content.focusPointId;
  BuildSnapshot(content.snapshot, rider.snapshot);
  rider.loaded = true;
  return FileLoad::Loaded;
}
