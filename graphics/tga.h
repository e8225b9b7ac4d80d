// Truevision TGA sprites: uncompressed and run-length true-colour images, 24 or 32 bits.
// Decoding works on bytes in memory; the loader adds the file and the texture upload.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image_error.h"

struct TgaImage {
  uint32_t width = 0;                             // pixels
  uint32_t height = 0;                            // pixels
  uint32_t channels = 0;                          // 3 (R, G, B) or 4 (R, G, B, A)
  std::vector<uint8_t> pixels;                    // width * height * channels, rows in file order
};

// Error codes beside the shared ones of image_error.h (48 no data, 56 empty, 57 too large).
constexpr int kTgaErrorForm = 58;                 // not an uncompressed or run-length true-colour header
constexpr int kTgaErrorDepth = 59;                // bits per pixel not 24 or 32
constexpr int kTgaErrorPixelsCut = 60;            // pixel data ends early, or a packet runs past the image

// Decodes either form: 0, or an error code with the image left empty for anything it does not
// accept. The size is checked from the header before any allocation. Logs which form it found.
int DecodeTga(const uint8_t* bytes, size_t size, TgaImage* image);
const char* TgaErrorText(int code);               // an error code in words; never null
// Stored path; GL texture name, or 0 on failure, logged once per file (LogImageFailure).
unsigned int LoadTgaTexture(const char* path);
