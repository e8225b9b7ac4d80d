// PNG images: our own decoder (every colour type, bit depths 1-16, palettes, Adam7) and the two
// loaders built on it, one for textures and one for the colour picker's plain RGB pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Decoder error codes that are not format faults. Every other non-zero code names the damage
// found in the file (27..55; see png.cpp and inflate.h).
constexpr int kPngErrorEmptyImage = 56;           // width or height 0
constexpr int kPngErrorTooLarge = 57;             // more pixels than the cap, or memory ran out

// Images above this many pixels are refused before anything is allocated (16384 x 16384, so
// that pixels x 4 bytes is at most 1 GiB).
constexpr uint64_t kPngMaxPixels = uint64_t(16384) * 16384;

struct PngImage {
  int error = 48;                                 // 0 = success, else the decoder's error code
  uint32_t width = 0;                             // pixels
  uint32_t height = 0;                            // pixels
  std::vector<uint8_t> pixels;                    // 8-bit RGBA, top row first, no padding; empty on error
};

PngImage DecodePng(const uint8_t* bytes, size_t size);  // from memory; size 0 gives error 48

// Reads, decodes and uploads a PNG file (stored path) through UploadTexture, with a mipmap chain
// when mipmaps is set. Returns the new texture name, or 0 with a log line on any failure.
unsigned int LoadPngTexture(const char* path, bool mipmaps);

// Reads and decodes a PNG file (stored path) into width x height x 3 bytes (R, G, B per pixel,
// alpha dropped, top row first), owned by the caller through the vector. False with a log line
// on failure (pixels emptied, width and height 0).
bool LoadPngPixels(const char* path, std::vector<uint8_t>* pixels, uint32_t* width, uint32_t* height);
