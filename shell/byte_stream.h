// Little-endian fields in memory: the whole-file formats are read from one buffer and written
// into one, so a damaged file is measured against the bytes it really has and a save is one
// block write.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

// Little-endian unsigned fields at any alignment; the caller has checked that the bytes exist.
inline uint16_t LoadLE16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }
inline uint32_t LoadLE32(const uint8_t* at) {
  return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}
// One unaligned 8-byte load: the inflater's bit buffer refills through it.
inline uint64_t LoadLE64(const uint8_t* at) {
  uint64_t value;
  memcpy(&value, at, 8);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
  return value;
}

// Reads fields one by one from a byte range it does not own; a read past the end fails and
// leaves the position where it was.
struct ByteReader {
  const uint8_t* data = nullptr;
  size_t size = 0;                                // bytes in data
  size_t position = 0;                            // next byte to read

  size_t left() const { return size - position; }
  bool readU8(uint8_t* value);                    // false when no byte is left
  bool readU32(uint32_t* value);                  // false when fewer than 4 bytes are left
  bool readI32(int32_t* value);
  bool readF32(float* value);                     // any bit pattern, NaN included
  bool skip(size_t count);                        // false (and no move) when count > left()
};

// Appends fields to a byte vector the caller owns.
struct ByteWriter {
  std::vector<uint8_t>* out = nullptr;

  void writeU8(uint8_t value);
  void writeU32(uint32_t value);
  void writeI32(int32_t value);
  void writeF32(float value);
  void writeBytes(const void* bytes, size_t count);
  void writeString(const char* text);             // length + 1 as u32, then the text and its zero
};
