#include "shell/file_stream.h"

#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "shell/byte_stream.h"

// ---- FileReader ----

FileReader::FileReader(const char* path) {
  if (!path || !PlatformIsRegularFile(path)) return;
  file_ = PlatformOpenFile(path, "rb");
  if (!file_) return;
  if (fseek(file_, 0, SEEK_END) != 0) {
    fclose(file_);
    file_ = nullptr;
    return;
  }
  long end = ftell(file_);
  // Files beyond 4 GiB do not fit the 32-bit size the formats use: refuse them.
  if (end < 0 || uint64_t(end) > UINT32_MAX) {
    fclose(file_);
    file_ = nullptr;
    return;
  }
  size_ = uint32_t(end);
  fseek(file_, 0, SEEK_SET);
}

FileReader::~FileReader() {
  if (file_) fclose(file_);
}

uint32_t FileReader::size() { return file_ ? size_ : 0; }

uint32_t FileReader::seek(uint32_t position) {
  if (!file_) return 0;
  fseek(file_, long(position < size_ ? position : size_), SEEK_SET);
  return tell();
}

uint32_t FileReader::read(void* buffer, uint32_t count) {
  if (!file_ || count == 0) return 0;
  return uint32_t(fread(buffer, 1, count, file_));
}

uint32_t FileReader::tell() {
  if (!file_) return 0;
  long at = ftell(file_);
  return at < 0 ? 0 : uint32_t(at);
}

uint32_t FileReader::readString(char* buffer, uint32_t capacity, bool* truncated) {
  if (truncated) *truncated = false;
  if (capacity > 0) buffer[0] = 0;
  uint8_t field[4];
  if (read(field, 4) != 4) return 0;
  uint32_t length = LoadLE32(field);
  if (length == 0 || length > left()) {
    seek(size());
    return 0;
  }
  uint32_t stored = capacity == 0 ? 0 : (length < capacity ? length : capacity - 1);
  if (stored > 0 && read(buffer, stored) != stored) {
    buffer[0] = 0;
    seek(size());
    return 0;
  }
  if (capacity > 0) buffer[stored < capacity ? stored : capacity - 1] = 0;
  if (stored < length) {
    if (truncated) *truncated = true;
    seek(tell() + (length - stored));
  }
  return length;
}

// ---- FileWriter ----

FileWriter::FileWriter(const char* path) {
  if (path) file_ = PlatformOpenFile(path, "wb");
  failed_ = file_ == nullptr;
}

FileWriter::~FileWriter() {
  if (file_) fclose(file_);
}

uint32_t FileWriter::tell() {
  if (!file_) return 0;
  long at = ftell(file_);
  return at < 0 ? 0 : uint32_t(at);
}

uint32_t FileWriter::seek(uint32_t position) {
  if (!file_) return 0;
  fseek(file_, long(position < count_ ? position : count_), SEEK_SET);
  return tell();
}

bool FileWriter::write(const void* buffer, uint32_t count) {
  count_ += count;
  if (!file_) return false;
  if (count > 0 && fwrite(buffer, 1, count, file_) != count) failed_ = true;
  return !failed_;
}

bool FileWriter::isOpen() { return file_ != nullptr; }

bool FileWriter::writeString(const char* text) {
  std::vector<uint8_t> bytes;
  ByteWriter{&bytes}.writeString(text);
  return write(bytes.data(), uint32_t(bytes.size()));
}

bool FileWriter::finish() {
  if (!file_) return false;
  if (!PlatformSyncFile(file_)) failed_ = true;
  if (fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}
