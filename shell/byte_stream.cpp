#include "shell/byte_stream.h"

#include <cstring>

bool ByteReader::readU8(uint8_t* value) {
  if (left() < 1) return false;
  *value = data[position++];
  return true;
}

bool ByteReader::readU32(uint32_t* value) {
  if (left() < 4) return false;
  *value = LoadLE32(data + position);
  position += 4;
  return true;
}

bool ByteReader::readI32(int32_t* value) {
  uint32_t u;
  if (!readU32(&u)) return false;
  *value = int32_t(u);
  return true;
}

bool ByteReader::readF32(float* value) {
  uint32_t u;
  if (!readU32(&u)) return false;
  memcpy(value, &u, 4);
  return true;
}

bool ByteReader::skip(size_t count) {
  if (count > left()) return false;
  position += count;
  return true;
}

void ByteWriter::writeU8(uint8_t value) { out->push_back(value); }

void ByteWriter::writeU32(uint32_t value) {
  uint8_t b[4] = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24)};
  out->insert(out->end(), b, b + 4);
}

void ByteWriter::writeI32(int32_t value) { writeU32(uint32_t(value)); }

void ByteWriter::writeF32(float value) {
  uint32_t u;
  memcpy(&u, &value, 4);
  writeU32(u);
}

void ByteWriter::writeBytes(const void* bytes, size_t count) {
  const uint8_t* b = static_cast<const uint8_t*>(bytes);
  out->insert(out->end(), b, b + count);
}

void ByteWriter::writeString(const char* text) {
  size_t length = strlen(text) + 1;
  writeU32(uint32_t(length));
  writeBytes(text, length);
}
