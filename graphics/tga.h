// Truevision TGA sprites: uncompressed and run-length true-colour images, 24 or 32 bits.
// Decoding works on bytes in memory; the loader adds the file and the texture upload.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

struct TgaImage {
  uint32_t width = 0;                             // pixels
  uint32_t height = 0;                            // pixels
  uint32_t channels = 0;                          // 3 (R, G, B) or 4 (R, G, B, A)
  std::vector<uint8_t> pixels;                    // width * height * channels, rows in file order
};

// Largest image the loaders accept: width * height * 4 bytes must not exceed this.
constexpr uint64_t kMaxTgaBytes = uint64_t(16384) * 16384 * 4;

// Decodes either form; false (image left empty) for anything it does not accept, including
// pixel data or a run-length stream that ends early. Logs which form it found.
bool DecodeTga(const uint8_t* bytes, size_t size, TgaImage* image);
unsigned int LoadTgaTexture(const char* path);    // stored path; GL texture name, 0 on failure
