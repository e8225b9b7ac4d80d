// What the two PNG fuzz targets share: the image size a file claims, and the check that a
// decode ends in a whole image or a clean error.
#pragma once
#include <cstddef>
#include <cstdint>

#include "graphics/png.h"

constexpr uint64_t kLargeImagePixels = uint64_t(1) << 22;  // 4 Mpixels: above it, fuzz_png_decode_large

// Width x height as the IHDR chunk right after the signature claims them; 0 when too short.
inline uint64_t ClaimedPixels(const uint8_t* data, size_t size) {
  if (size < 24) return 0;
  auto be32 = [&](size_t at) { return uint64_t(data[at]) << 24 | data[at + 1] << 16 | data[at + 2] << 8 | data[at + 3]; };
  return be32(16) * be32(20);
}

// Traps unless DecodePng gives pixels of exactly the size it reports, or none with an error.
inline void DecodeAndCheck(const uint8_t* data, size_t size) {
  const PngImage image = DecodePng(data, size);
  const bool consistent = image.error == 0 ? image.pixels.size() == size_t(image.width) * image.height * 4
                                           : image.pixels.empty() && image.width == 0 && image.height == 0;
  if (!consistent) __builtin_trap();
}
