// Picture files that are neither PNG nor TGA (JPEG, BMP, GIF, ...). The picture is scaled to
// power-of-two texture sizes, its pure black becomes transparent and its bottom row comes first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/image_error.h"

// Beside the shared codes of image_error.h (48 no data, 57 too large): the decoder could not
// read the picture (unknown format or damaged data).
constexpr int kPictureErrorUndecodable = 61;

struct PictureImage {
  uint32_t pictureWidth = 0;                      // the picture's own size in pixels
  uint32_t pictureHeight = 0;
  uint32_t width = 0;                             // texture size in pixels (powers of two or the cap)
  uint32_t height = 0;
  std::vector<uint8_t> pixels;                    // width * height RGBA, the picture's bottom row first
};

// Texture size for one axis: the nearest power of two on a log scale (48 -> 64, 40 -> 32), or
// maxTextureSize itself when size exceeds it. size >= 1.
uint32_t PictureTextureSize(uint32_t size, uint32_t maxTextureSize);
// Decodes a picture from memory and lays it out as the texture: 0, or an error code with the
// image left empty. The size is read from the header before the pixels are decoded.
int DecodePicture(const uint8_t* bytes, size_t size, uint32_t maxTextureSize, PictureImage* image);
// Stored path; true and the name, or false, logged once per file (LogImageFailure).
bool LoadPictureTexture(const char* path, unsigned int* name);
