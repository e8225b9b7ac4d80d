#include "shell/file_stream.h"

#include <cstring>

#include "platform/platform.h"

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
  uint32_t length = 0;
  if (!readU32(&length)) return 0;
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

bool FileReader::readU32(uint32_t* value) {
  uint8_t b[4];
  if (read(b, 4) != 4) return false;
  *value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

bool FileReader::readI32(int32_t* value) {
  uint32_t u;
  if (!readU32(&u)) return false;
  *value = int32_t(u);
  return true;
}

bool FileReader::readF32(float* value) {
  uint32_t u;
  if (!readU32(&u)) return false;
  memcpy(value, &u, 4);
  return true;
}

bool FileReader::readU8(uint8_t* value) { return read(value, 1) == 1; }

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
  uint32_t length = uint32_t(strlen(text)) + 1;
  bool ok = writeU32(length);
  return write(text, length) && ok;
}

bool FileWriter::writeU32(uint32_t value) {
  uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  return write(b, 4);
}

bool FileWriter::writeI32(int32_t value) { return writeU32(uint32_t(value)); }

bool FileWriter::writeF32(float value) {
  uint32_t u;
  memcpy(&u, &value, 4);
  return writeU32(u);
}

bool FileWriter::writeU8(uint8_t value) { return write(&value, 1); }

bool FileWriter::finish() {
  if (!file_) return false;
  if (!PlatformSyncFile(file_)) failed_ = true;
  if (fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  return !failed_;
}
