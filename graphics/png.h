// PNG images: our own decoder (every colour type, bit depths 1-16, palettes, Adam7) and the two
// loaders built on it, one for textures and one for the colour picker's plain RGB pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image_error.h"

// Decoder error codes that are not format faults. Every other non-zero code names the damage
// found in the file (27..55; see png.cpp and inflate.h).
constexpr int kPngErrorEmptyImage = kImageErrorEmptyImage;  // width or height 0
constexpr int kPngErrorTooLarge = kImageErrorTooLarge;      // a side above kMaxImageSide (from IHDR), or memory ran out

struct PngImage {
  int error = 48;                                 // 0 = success, else the decoder's error code
  uint32_t width = 0;                             // pixels
  uint32_t height = 0;                            // pixels
  std::vector<uint8_t> pixels;                    // 8-bit RGBA, top row first, no padding; empty on error
};

PngImage DecodePng(const uint8_t* bytes, size_t size);  // from memory; size 0 gives error 48
const char* PngErrorText(int code);               // the decoder's error code in words; never null

// Reads, decodes and uploads a PNG file (stored path) through UploadTexture, with a mipmap chain
// when mipmaps is set. Returns the new texture name, or 0 on any failure, logged once per file
// with the path and the reason (LogImageFailure) and a "whatever" line.
unsigned int LoadPngTexture(const char* path, bool mipmaps);

// Reads and decodes a PNG file (stored path) into width x height x 3 bytes (R, G, B per pixel,
// alpha dropped, top row first), owned by the caller through the vector. False on failure (pixels
// emptied, width and height 0), logged as LoadPngTexture does.
bool LoadPngPixels(const char* path, std::vector<uint8_t>* pixels, uint32_t* width, uint32_t* height);
