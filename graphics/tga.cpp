#include "graphics/tga.h"

#include <cstring>
#include <string>

#include "graphics/texture.h"
#include "shell/byte_stream.h"
#include "shell/file_load.h"
#include "shell/log.h"

// The first 12 header bytes we accept: no image ID, no colour map, origin (0, 0); byte 2 is
// the image type, 2 = uncompressed true colour, 10 = run-length true colour.
static const uint8_t kUncompressedHeader[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
static const uint8_t kCompressedHeader[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr size_t kHeaderSize = 18;
constexpr uint32_t kLongestRun = 128;             // pixels one packet byte can cover

// File order is B, G, R (A); we keep R, G, B (A).
static void StorePixel(const uint8_t* from, uint8_t* to, uint32_t channels) {
  to[0] = from[2];
  to[1] = from[1];
  to[2] = from[0];
  if (channels == 4) to[3] = from[3];
}

static bool DecodeUncompressed(const uint8_t* data, size_t size, uint64_t pixelCount,
                               TgaImage* image) {
  uint32_t channels = image->channels;
  if (pixelCount * channels > size) return false;
  image->pixels.resize(size_t(pixelCount) * channels);
  uint8_t* out = image->pixels.data();
  for (uint64_t i = 0; i < pixelCount; ++i) StorePixel(data + i * channels, out + i * channels, channels);
  return true;
}

static bool DecodeRunLength(const uint8_t* data, size_t size, uint64_t pixelCount, TgaImage* image) {
  uint32_t channels = image->channels;
  // Even all-run packets need one byte and one pixel per 128 pixels: a header that promises
  // more pixels than the bytes can hold is refused before the pixels are allocated.
  uint64_t fewestBytes = (pixelCount + kLongestRun - 1) / kLongestRun * (1 + channels);
  if (fewestBytes > size) return false;
  image->pixels.resize(size_t(pixelCount) * channels);
  uint8_t* out = image->pixels.data();
  uint64_t written = 0;
  size_t at = 0;
  while (written < pixelCount) {
    if (at >= size) return false;
    uint32_t packet = data[at++];
    bool run = packet >= 128;
    uint32_t count = run ? packet - 127 : packet + 1;
    if (written + count > pixelCount) return false;
    if (run) {
      if (size - at < channels) return false;
      for (uint32_t i = 0; i < count; ++i)
        StorePixel(data + at, out + (written + i) * channels, channels);
      at += channels;
    } else {
      if ((size - at) / channels < count) return false;
      for (uint32_t i = 0; i < count; ++i)
        StorePixel(data + at + i * channels, out + (written + i) * channels, channels);
      at += size_t(count) * channels;
    }
    written += count;
  }
  return true;
}

int DecodeTga(const uint8_t* bytes, size_t size, TgaImage* image) {
  *image = TgaImage();
  if (!bytes || size == 0) return kImageErrorNoData;
  if (size < kHeaderSize) return kTgaErrorForm;
  bool compressed;
  if (memcmp(bytes, kUncompressedHeader, sizeof kUncompressedHeader) == 0) {
    compressed = false;
    Log("TGA is uncompressed");
  } else if (memcmp(bytes, kCompressedHeader, sizeof kCompressedHeader) == 0) {
    compressed = true;
    Log("TGA is compressed");
  } else {
    return kTgaErrorForm;
  }
  uint32_t width = LoadLE16(bytes + 12);
  uint32_t height = LoadLE16(bytes + 14);
  uint32_t bits = bytes[16];
  if (width < 1 || height < 1) return kImageErrorEmptyImage;
  if (!ImageSidesAllowed(width, height)) return kImageErrorTooLarge;
  if (bits != 24 && bits != 32) return kTgaErrorDepth;
  uint64_t pixelCount = uint64_t(width) * height;
  image->width = width;
  image->height = height;
  image->channels = bits / 8;
  const uint8_t* data = bytes + kHeaderSize;
  size_t left = size - kHeaderSize;
  bool ok = compressed ? DecodeRunLength(data, left, pixelCount, image)
                       : DecodeUncompressed(data, left, pixelCount, image);
  if (ok) return 0;
  *image = TgaImage();
  return kTgaErrorPixelsCut;
}

const char* TgaErrorText(int code) {
  switch (code) {
    case kImageErrorNoData: return "no data";
    case kImageErrorEmptyImage: return "width or height 0";
    case kImageErrorTooLarge: return TooLargeReason();
    case kTgaErrorForm: return "not an uncompressed or run-length true-colour TGA";
    case kTgaErrorDepth: return "bits per pixel not 24 or 32";
    case kTgaErrorPixelsCut: return "pixel data ends early or runs past the image";
    default: return "unknown error";
  }
}

unsigned int LoadTgaTexture(const char* path) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(path, &bytes);  // a file that cannot be read is empty, and so refused below
  TgaImage image;
  const int error = DecodeTga(bytes.data(), bytes.size(), &image);
  if (error != 0) {
    const std::string reason = error == kImageErrorNoData ? UnreadableReason(path) : TgaErrorText(error);
    LogImageFailure("TGA", path, error, reason.c_str());
    return 0;
  }
  TextureFormat format = image.channels == 4 ? TextureFormat::Rgba : TextureFormat::Rgb;
  return UploadTexture(image.pixels.data(), int(image.width), int(image.height), format, false);
}
