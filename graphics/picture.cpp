#include "graphics/picture.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cmath>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_FAILURE_USERMSG
#include <stb/stb_image.h>

#include "graphics/texture.h"
#include "shell/file_load.h"


// Draws the picture onto black, as rendering it into a fresh bitmap would: a see-through
// pixel of a GIF or an alpha BMP ends up black and so transparent under the black rule.
static void FlattenOntoBlack(uint8_t* rgba, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i) {
    uint8_t* p = rgba + i * 4;
    uint32_t alpha = p[3];
    for (int c = 0; c < 3; ++c) p[c] = uint8_t((p[c] * alpha + 127) / 255);
  }
}

// Source position of a texel's centre along one axis, clamped to the outermost pixel centres.
static float SourcePosition(uint32_t texel, uint32_t textureSize, uint32_t pictureSize) {
  float at = (float(texel) + 0.5f) * float(pictureSize) / float(textureSize) - 0.5f;
  return std::clamp(at, 0.0f, float(pictureSize - 1));
}

// Bilinear resampling to the texture size; texture row 0 takes the picture's bottom row.
static void Resample(const uint8_t* picture, uint32_t pictureWidth, uint32_t pictureHeight,
                     PictureImage* image) {
  uint32_t width = image->width;
  uint32_t height = image->height;
  image->pixels.resize(size_t(width) * height * 4);
  for (uint32_t y = 0; y < height; ++y) {
    float sy = SourcePosition(height - 1 - y, height, pictureHeight);
    uint32_t y0 = uint32_t(sy);
    uint32_t y1 = std::min(y0 + 1, pictureHeight - 1);
    float fy = sy - float(y0);
    const uint8_t* row0 = picture + size_t(y0) * pictureWidth * 4;
    const uint8_t* row1 = picture + size_t(y1) * pictureWidth * 4;
    uint8_t* out = image->pixels.data() + size_t(y) * width * 4;
    for (uint32_t x = 0; x < width; ++x) {
      float sx = SourcePosition(x, width, pictureWidth);
      uint32_t x0 = uint32_t(sx);
      uint32_t x1 = std::min(x0 + 1, pictureWidth - 1);
      float fx = sx - float(x0);
      for (int c = 0; c < 3; ++c) {
        float top = float(row0[x0 * 4 + c]) * (1 - fx) + float(row0[x1 * 4 + c]) * fx;
        float bottom = float(row1[x0 * 4 + c]) * (1 - fx) + float(row1[x1 * 4 + c]) * fx;
        out[x * 4 + c] = uint8_t(top * (1 - fy) + bottom * fy + 0.5f);
      }
      // Pure black is the transparent colour; everything else is opaque.
      bool black = out[x * 4] == 0 && out[x * 4 + 1] == 0 && out[x * 4 + 2] == 0;
      out[x * 4 + 3] = black ? 0 : 255;
    }
  }
}

uint32_t PictureTextureSize(uint32_t size, uint32_t maxTextureSize) {
  if (size > maxTextureSize) return maxTextureSize;
  // floor(log2(size) + 0.5) = floor((floor(log2(size^2)) + 1) / 2), and floor(log2(n)) + 1 is
  // the bit width of n: exact in integers.
  uint64_t square = uint64_t(size) * size;
  uint32_t power = uint32_t(std::bit_width(square)) / 2;
  return std::min(uint32_t(1) << power, maxTextureSize);
}

int DecodePicture(const uint8_t* bytes, size_t size, uint32_t maxTextureSize, PictureImage* image) {
  *image = PictureImage();
  if (!bytes || size == 0 || maxTextureSize < 1) return kImageErrorNoData;
  if (size > size_t(INT_MAX)) return kImageErrorTooLarge;
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(bytes, int(size), &width, &height, &channels)) return kPictureErrorUndecodable;
  if (width < 1 || height < 1) return kPictureErrorUndecodable;
  if (!ImageSidesAllowed(uint64_t(width), uint64_t(height))) return kImageErrorTooLarge;
  stbi_uc* picture = stbi_load_from_memory(bytes, int(size), &width, &height, &channels, 4);
  if (!picture) return kPictureErrorUndecodable;
  image->pictureWidth = uint32_t(width);
  image->pictureHeight = uint32_t(height);
  image->width = PictureTextureSize(uint32_t(width), maxTextureSize);
  image->height = PictureTextureSize(uint32_t(height), maxTextureSize);
  FlattenOntoBlack(picture, size_t(width) * size_t(height));
  Resample(picture, uint32_t(width), uint32_t(height), image);
  stbi_image_free(picture);
  return 0;
}

bool LoadPictureTexture(const char* path, unsigned int* name) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes) || bytes.empty()) {
    LogImageFailure("Picture", path, kImageErrorNoData, UnreadableReason(path).c_str());
    return false;
  }
  int largest = LargestTextureSize();
  if (largest < 1) return false;
  PictureImage image;
  const int error = DecodePicture(bytes.data(), bytes.size(), uint32_t(largest), &image);
  if (error != 0) {
    // stb_image keeps the reason of its last failure: the words for code 61.
    const char* reason = error == kImageErrorTooLarge ? TooLargeReason() : stbi_failure_reason();
    LogImageFailure("Picture", path, error, reason);
    return false;
  }
  *name = UploadTexture(image.pixels.data(), int(image.width), int(image.height), TextureFormat::Rgba, false);
  return true;
}
