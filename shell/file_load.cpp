#include "shell/file_load.h"

#include <cstdio>

#include "platform/platform.h"
#include "shell/file_stream.h"

const char* FileLoadLine(FileLoad result) {
  switch (result) {
    case FileLoad::Loaded: return "";
    case FileLoad::Cancelled: return "Loading cancelled";
    case FileLoad::NotOpened: return "File not opened. User pressed cancel or file damaged";
    case FileLoad::Refused: return "File of unknown format or damaged! Not loaded.";
  }
  return "";
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
  bytes->clear();
  FileReader reader(path);
  if (!reader.isOpen()) return false;
  uint32_t size = reader.size();
  // The size is the real file's, taken at opening: the allocation follows what the disk holds.
  bytes->resize(size);
  if (size > 0 && reader.read(bytes->data(), size) != size) {
    bytes->clear();
    return false;
  }
  return true;
}

bool WriteWholeFile(const char* path, const std::vector<uint8_t>& bytes) {
  FILE* file = PlatformOpenFile(path, "wb");
  if (!file) return false;
  const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && PlatformSyncFile(file);
  return fclose(file) == 0 && written;
}
