#include "graphics/png.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "graphics/inflate.h"
#include "graphics/texture.h"
#include "shell/file_load.h"
#include "shell/log.h"

namespace {

// ---- Types ----

// Decoder error codes for the file's structure (the inflater numbers its own).
constexpr int kPngShort = 27;                     // fewer than 29 bytes
constexpr int kPngSignature = 28;
constexpr int kPngFirstNotHeader = 29;            // the first chunk is not IHDR
constexpr int kPngChunkHeaderCut = 30;
constexpr int kPngColourType = 31;
constexpr int kPngCompression = 32;
constexpr int kPngFilterMethod = 33;
constexpr int kPngInterlace = 34;
constexpr int kPngChunkDataCut = 35;
constexpr int kPngFilterType = 36;                // a scanline filter above 4
constexpr int kPngBitDepth = 37;
constexpr int kPngPaletteSize = 38;               // PLTE with more than 256 entries
constexpr int kPngPaletteAlpha = 39;              // palette tRNS longer than the palette
constexpr int kPngGreyKey = 40;                   // grey tRNS not 2 bytes
constexpr int kPngColourKey = 41;                 // RGB tRNS not 6 bytes
constexpr int kPngKeyWithAlpha = 42;              // tRNS in an image with an alpha channel
constexpr int kPngPaletteBackground = 43;
constexpr int kPngGreyBackground = 44;
constexpr int kPngColourBackground = 45;
constexpr int kPngIndex8 = 46;                    // palette index outside the palette, 8 bits
constexpr int kPngIndexLow = 47;                  // the same at 1, 2 or 4 bits
constexpr int kPngEmpty = kImageErrorNoData;

constexpr uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
constexpr size_t kFirstChunkAfterHeader = 33;     // signature 8 + IHDR length, type 8 + data 13 + CRC 4

enum ColourType : uint8_t { Grey = 0, Rgb = 2, Indexed = 3, GreyAlpha = 4, Rgba = 6 };

struct PngHeader {
  uint32_t width;
  uint32_t height;
  uint32_t depth;                                 // bits per sample
  uint32_t colourType;
  uint32_t interlace;                             // 0 none, 1 Adam7
};

struct PngColours {
  uint8_t palette[256 * 4];                       // RGBA entries
  uint32_t paletteSize;                           // entries
  bool keyed;                                     // a tRNS colour key is set
  uint16_t key[3];                                // grey in key[0], or R, G, B; raw sample values
};

// The seven Adam7 passes: first pixel and step in x and y.
constexpr uint32_t kPassStartX[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr uint32_t kPassStartY[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr uint32_t kPassStepX[7] = {8, 8, 4, 4, 2, 2, 1};
constexpr uint32_t kPassStepY[7] = {8, 8, 8, 4, 4, 2, 2};

// Every error code in words, for the log line that names the failing file.
struct ErrorText {
  int code;
  const char* text;
};
constexpr ErrorText kErrorTexts[] = {
    {kInflateCodeCut, "image data ends inside a Huffman code"},
    {kInflateCodeUnused, "image data uses a Huffman code outside its tree"},
    {kInflateRepeatOverflow, "image data repeats code lengths past their count"},
    {kInflateZerosOverflow, "image data gives zero code lengths past their count"},
    {kInflateLongZerosOverflow, "image data gives zero code lengths past their count"},
    {kInflateLiteralOverflow, "image data holds more bytes than the image"},
    {kInflateBadDistance, "image data uses an unknown distance code"},
    {kInflateCopyOutside, "image data copies outside the image"},
    {kInflateBadBlockType, "image data has a block of the reserved type"},
    {kInflateStoredLength, "image data has a stored block with a damaged length"},
    {kInflateStoredOverflow, "image data holds more bytes than the image"},
    {kInflateStoredCut, "image data ends inside a stored block"},
    {kInflateHeaderCheck, "image data has a damaged zlib header"},
    {kInflateHeaderMethod, "image data is not deflate-compressed"},
    {kInflateHeaderDictionary, "image data asks for a preset dictionary"},
    {kPngShort, "file too short for a PNG header"},
    {kPngSignature, "not a PNG file"},
    {kPngFirstNotHeader, "first chunk is not IHDR"},
    {kPngChunkHeaderCut, "file ends inside a chunk header (no IEND)"},
    {kPngColourType, "unknown colour type"},
    {kPngCompression, "unknown compression method"},
    {kPngFilterMethod, "unknown filter method"},
    {kPngInterlace, "unknown interlace method"},
    {kPngChunkDataCut, "file ends inside a chunk's data"},
    {kPngFilterType, "unknown scanline filter"},
    {kPngBitDepth, "bit depth not allowed for the colour type"},
    {kPngPaletteSize, "palette of more than 256 colours"},
    {kPngPaletteAlpha, "transparency longer than the palette"},
    {kPngGreyKey, "grey transparency key not 2 bytes"},
    {kPngColourKey, "colour transparency key not 6 bytes"},
    {kPngKeyWithAlpha, "transparency key in an image with alpha"},
    {kPngPaletteBackground, "palette background not 1 byte"},
    {kPngGreyBackground, "grey background not 2 bytes"},
    {kPngColourBackground, "colour background not 6 bytes"},
    {kPngIndex8, "pixel outside the palette"},
    {kPngIndexLow, "pixel outside the palette"},
    {kPngEmpty, "no data"},
    {kInflateDynamicHeaderCut, "image data ends inside a block header"},
    {kInflateLengthsCut, "image data ends inside the code lengths"},
    {kInflateExtraCut, "image data ends inside a length or distance"},
    {kInflateBlockHeaderCut, "image data ends before its last block"},
    {kInflateZlibShort, "no image data"},
    {kInflateBadTree, "image data has code lengths that form no code"},
    {kPngErrorEmptyImage, "width or height 0"},
};

// ---- Internal functions ----

uint32_t ReadU32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint16_t ReadU16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

bool IsChunk(const uint8_t* type, const char* name) { return memcmp(type, name, 4) == 0; }

uint32_t Channels(uint32_t colourType) {
  switch (colourType) {
    case Rgb: return 3;
    case GreyAlpha: return 2;
    case Rgba: return 4;
    default: return 1;
  }
}

int CheckDepth(uint32_t colourType, uint32_t depth) {
  switch (colourType) {
    case Grey:
      return (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16) ? 0 : kPngBitDepth;
    case Indexed:
      return (depth == 1 || depth == 2 || depth == 4 || depth == 8) ? 0 : kPngBitDepth;
    case Rgb:
    case GreyAlpha:
    case Rgba:
      return (depth == 8 || depth == 16) ? 0 : kPngBitDepth;
    default:
      return kPngColourType;
  }
}

int ReadHeader(const uint8_t* bytes, size_t size, PngHeader* header) {
  if (size < 29) return kPngShort;
  if (memcmp(bytes, kSignature, 8) != 0) return kPngSignature;
  if (!IsChunk(bytes + 12, "IHDR")) return kPngFirstNotHeader;
  header->width = ReadU32(bytes + 16);
  header->height = ReadU32(bytes + 20);
  header->depth = bytes[24];
  header->colourType = bytes[25];
  header->interlace = bytes[28];
  if (int error = CheckDepth(header->colourType, header->depth)) return error;
  if (bytes[26] != 0) return kPngCompression;
  if (bytes[27] != 0) return kPngFilterMethod;
  if (header->interlace > 1) return kPngInterlace;
  if (header->width == 0 || header->height == 0) return kPngErrorEmptyImage;
  if (!ImageSidesAllowed(header->width, header->height)) return kPngErrorTooLarge;
  return 0;
}

int ReadTransparency(const uint8_t* data, uint32_t length, const PngHeader& header, PngColours* colours) {
  switch (header.colourType) {
    case Indexed:
      if (length > colours->paletteSize) return kPngPaletteAlpha;
      for (uint32_t i = 0; i < length; ++i) colours->palette[4 * i + 3] = data[i];
      return 0;
    case Grey:
      if (length != 2) return kPngGreyKey;
      colours->keyed = true;
      colours->key[0] = ReadU16(data);
      return 0;
    case Rgb:
      if (length != 6) return kPngColourKey;
      colours->keyed = true;
      for (int c = 0; c < 3; ++c) colours->key[c] = ReadU16(data + 2 * c);
      return 0;
    default:
      return kPngKeyWithAlpha;
  }
}

// The background colour is checked for its size and otherwise ignored.
int CheckBackground(uint32_t length, const PngHeader& header) {
  switch (header.colourType) {
    case Indexed: return length == 1 ? 0 : kPngPaletteBackground;
    case Grey:
    case GreyAlpha: return length == 2 ? 0 : kPngGreyBackground;
    default: return length == 6 ? 0 : kPngColourBackground;
  }
}

// Walks the chunks after IHDR up to IEND, gathering the image data and the colour chunks.
int ReadChunks(const uint8_t* bytes, size_t size, const PngHeader& header, PngColours* colours,
               std::vector<uint8_t>* imageData) {
  size_t pos = kFirstChunkAfterHeader;
  for (;;) {
    if (pos > size || size - pos < 8) return kPngChunkHeaderCut;
    const uint64_t length = ReadU32(bytes + pos);
    const uint8_t* type = bytes + pos + 4;
    const uint8_t* data = type + 4;
    if (length > size - pos - 8) return kPngChunkDataCut;
    const uint32_t n = uint32_t(length);
    if (IsChunk(type, "IEND")) return 0;
    if (IsChunk(type, "IDAT")) {
      imageData->insert(imageData->end(), data, data + n);
    } else if (IsChunk(type, "PLTE")) {
      if (n / 3 > 256) return kPngPaletteSize;
      colours->paletteSize = n / 3;
      for (uint32_t i = 0; i < colours->paletteSize; ++i) {
        memcpy(colours->palette + 4 * i, data + 3 * i, 3);
        colours->palette[4 * i + 3] = 255;
      }
    } else if (IsChunk(type, "tRNS")) {
      if (int error = ReadTransparency(data, n, header, colours)) return error;
    } else if (IsChunk(type, "bKGD")) {
      if (int error = CheckBackground(n, header)) return error;
    }
    // Chunk data, then its CRC (not checked); a cut CRC shows as a cut next chunk header.
    pos += 8 + size_t(length) + 4;
  }
}

uint64_t ScanlineBytes(uint32_t width, uint32_t bitsPerPixel) { return (uint64_t(width) * bitsPerPixel + 7) / 8; }

uint32_t PassWidth(uint32_t width, int pass) {
  return width > kPassStartX[pass] ? (width - kPassStartX[pass] + kPassStepX[pass] - 1) / kPassStepX[pass] : 0;
}

uint32_t PassHeight(uint32_t height, int pass) {
  return height > kPassStartY[pass] ? (height - kPassStartY[pass] + kPassStepY[pass] - 1) / kPassStepY[pass] : 0;
}

// Bytes of inflated data for a sub-image: a filter byte and the packed samples per row.
uint64_t ImageDataBytes(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
  if (width == 0 || height == 0) return 0;
  return uint64_t(height) * (1 + ScanlineBytes(width, bitsPerPixel));
}

// ---- Unfiltering ----
// Each filter predicts a byte from a = the byte one pixel to the left, b = the byte above and
// c = the byte above-left; missing neighbours are 0. dst may be src; prior is the previous
// unfiltered scanline (all zero for the first one). dst may also lie below src, as long as
// writing dst[i] never overwrites src[j] for j > i. Templated on the bytes per pixel so the
// bytes of one pixel are independent work within the loop.

uint8_t PaethPredictor(int a, int b, int c) {
  // p = a + b - c; the neighbour closest to p wins, ties in the order a, b, c.
  int pa = std::abs(b - c);
  int pb = std::abs(a - c);
  int pc = std::abs(a + b - 2 * c);
  int nearer = pb <= pc ? b : c;
  return uint8_t((pa <= pb && pa <= pc) ? a : nearer);
}

template <int kBpp>
void UnfilterRow(uint8_t* dst, const uint8_t* src, const uint8_t* prior, size_t n, int type, int bppRuntime) {
  const size_t bpp = kBpp > 0 ? size_t(kBpp) : size_t(bppRuntime);
  const size_t head = bpp < n ? bpp : n;
  switch (type) {
    case 0:
      if (dst != src) memmove(dst, src, n);
      break;
    case 1:
      for (size_t i = 0; i < head; ++i) dst[i] = src[i];
      for (size_t i = bpp; i < n; i += bpp) {
        for (size_t k = 0; k < bpp; ++k) dst[i + k] = uint8_t(src[i + k] + dst[i + k - bpp]);
      }
      break;
    case 2:
      for (size_t i = 0; i < n; ++i) dst[i] = uint8_t(src[i] + prior[i]);
      break;
    case 3:
      for (size_t i = 0; i < head; ++i) dst[i] = uint8_t(src[i] + (prior[i] >> 1));
      for (size_t i = bpp; i < n; i += bpp) {
        for (size_t k = 0; k < bpp; ++k) {
          dst[i + k] = uint8_t(src[i + k] + ((dst[i + k - bpp] + prior[i + k]) >> 1));
        }
      }
      break;
    case 4:
      // With no left neighbour a = c = 0, and Paeth picks b.
      for (size_t i = 0; i < head; ++i) dst[i] = uint8_t(src[i] + prior[i]);
      for (size_t i = bpp; i < n; i += bpp) {
        for (size_t k = 0; k < bpp; ++k) {
          dst[i + k] = uint8_t(src[i + k] + PaethPredictor(dst[i + k - bpp], prior[i + k], prior[i + k - bpp]));
        }
      }
      break;
  }
}

// n is a whole number of pixels for every bpp >= 1 byte, so the pixel loops above stay inside.
void Unfilter(uint8_t* dst, const uint8_t* src, const uint8_t* prior, size_t n, int type, int bpp) {
  switch (bpp) {
    case 1: UnfilterRow<1>(dst, src, prior, n, type, bpp); break;
    case 2: UnfilterRow<2>(dst, src, prior, n, type, bpp); break;
    case 3: UnfilterRow<3>(dst, src, prior, n, type, bpp); break;
    case 4: UnfilterRow<4>(dst, src, prior, n, type, bpp); break;
    case 6: UnfilterRow<6>(dst, src, prior, n, type, bpp); break;
    case 8: UnfilterRow<8>(dst, src, prior, n, type, bpp); break;
    default: UnfilterRow<0>(dst, src, prior, n, type, bpp); break;
  }
}

// ---- Conversion to RGBA ----

// Sample x of a row packed at depth 1, 2 or 4 bits, most significant bits first.
uint32_t PackedSample(const uint8_t* row, uint32_t x, uint32_t depth) {
  const uint32_t bitIndex = x * depth;
  const uint32_t shift = 8 - depth - (bitIndex & 7);
  return (row[bitIndex >> 3] >> shift) & ((1u << depth) - 1);
}

// One unfiltered scanline of count pixels into RGBA. Returns 0 or a palette index error.
int ConvertRow(uint8_t* rgba, const uint8_t* row, uint32_t count, const PngHeader& header,
               const PngColours& colours) {
  const uint32_t depth = header.depth;
  switch (header.colourType) {
    case Rgba:
      if (depth == 8) {
        memcpy(rgba, row, size_t(count) * 4);
      } else {
        for (uint32_t x = 0; x < count; ++x) {
          for (int c = 0; c < 4; ++c) rgba[4 * x + c] = row[8 * x + 2 * c];
        }
      }
      return 0;
    case GreyAlpha:
      for (uint32_t x = 0; x < count; ++x) {
        const uint8_t* p = row + (depth == 8 ? 2 * x : 4 * x);
        const uint8_t alpha = depth == 8 ? p[1] : p[2];
        rgba[4 * x] = rgba[4 * x + 1] = rgba[4 * x + 2] = p[0];
        rgba[4 * x + 3] = alpha;
      }
      return 0;
    case Rgb:
      for (uint32_t x = 0; x < count; ++x) {
        uint16_t sample[3];
        for (int c = 0; c < 3; ++c) {
          sample[c] = depth == 8 ? row[3 * x + c] : ReadU16(row + 6 * x + 2 * c);
          rgba[4 * x + c] = depth == 8 ? uint8_t(sample[c]) : uint8_t(sample[c] >> 8);
        }
        const bool transparent =
            colours.keyed && sample[0] == colours.key[0] && sample[1] == colours.key[1] && sample[2] == colours.key[2];
        rgba[4 * x + 3] = transparent ? 0 : 255;
      }
      return 0;
    case Grey:
      for (uint32_t x = 0; x < count; ++x) {
        uint32_t sample;
        uint8_t grey;
        if (depth == 16) {
          sample = ReadU16(row + 2 * x);
          grey = uint8_t(sample >> 8);
        } else if (depth == 8) {
          sample = row[x];
          grey = uint8_t(sample);
        } else {
          sample = PackedSample(row, x, depth);
          grey = uint8_t(sample * 255 / ((1u << depth) - 1));
        }
        rgba[4 * x] = rgba[4 * x + 1] = rgba[4 * x + 2] = grey;
        rgba[4 * x + 3] = (colours.keyed && sample == colours.key[0]) ? 0 : 255;
      }
      return 0;
    default:  // Indexed
      for (uint32_t x = 0; x < count; ++x) {
        const uint32_t index = depth == 8 ? row[x] : PackedSample(row, x, depth);
        if (index >= colours.paletteSize) return depth == 8 ? kPngIndex8 : kPngIndexLow;
        memcpy(rgba + 4 * x, colours.palette + 4 * index, 4);
      }
      return 0;
  }
}

// Unfilters the rows of one (sub-)image in place in data and converts each into the pixels,
// placing pixel (x, y) of the sub-image at output pixel (x0 + x * dx, y0 + y * dy).
int DecodeRows(uint8_t* data, uint32_t width, uint32_t height, const PngHeader& header, const PngColours& colours,
               uint8_t* pixels, uint32_t x0, uint32_t y0, uint32_t dx, uint32_t dy, uint8_t* rgbaRow,
               const uint8_t* zeroRow) {
  const uint32_t bitsPerPixel = Channels(header.colourType) * header.depth;
  const int bpp = int((bitsPerPixel + 7) / 8);
  const size_t stride = size_t(ScanlineBytes(width, bitsPerPixel));
  const size_t outStride = size_t(header.width) * 4;
  const uint8_t* prior = zeroRow;
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* line = data + size_t(y) * (stride + 1);
    const int filter = line[0];
    if (filter > 4) return kPngFilterType;
    uint8_t* row = line + 1;
    Unfilter(row, row, prior, stride, filter, bpp);
    prior = row;
    uint8_t* target = pixels + size_t(y0 + y * dy) * outStride + size_t(x0) * 4;
    if (dx == 1) {
      if (int error = ConvertRow(target, row, width, header, colours)) return error;
    } else {
      if (int error = ConvertRow(rgbaRow, row, width, header, colours)) return error;
      for (uint32_t x = 0; x < width; ++x) memcpy(target + size_t(x) * dx * 4, rgbaRow + size_t(x) * 4, 4);
    }
  }
  return 0;
}

// 8-bit RGBA without interlacing, inflated straight into the pixel array: each row is
// unfiltered down into its final place, y + 1 bytes lower (the filter bytes of the rows above
// drop out). A byte is written only below the byte being read, so nothing unread is overwritten,
// and the row above, already final, is the prior row.
int DecodeRgba8InPlace(uint8_t* pixels, const PngHeader& header, const uint8_t* zeroRow) {
  const size_t stride = size_t(header.width) * 4;
  const uint8_t* prior = zeroRow;
  for (uint32_t y = 0; y < header.height; ++y) {
    const uint8_t* line = pixels + size_t(y) * (stride + 1);
    const int filter = line[0];
    if (filter > 4) return kPngFilterType;
    uint8_t* target = pixels + size_t(y) * stride;
    UnfilterRow<4>(target, line + 1, prior, stride, filter, 4);
    prior = target;
  }
  return 0;
}

int DecodeImage(const uint8_t* bytes, size_t size, PngImage* image) {
  if (size == 0 || bytes == nullptr) return kPngEmpty;
  PngHeader header{};
  if (int error = ReadHeader(bytes, size, &header)) return error;

  PngColours colours{};
  std::vector<uint8_t> imageData;
  imageData.reserve(size);
  if (int error = ReadChunks(bytes, size, header, &colours, &imageData)) return error;

  const uint32_t bitsPerPixel = Channels(header.colourType) * header.depth;
  uint64_t dataBytes = 0;
  if (header.interlace == 0) {
    dataBytes = ImageDataBytes(header.width, header.height, bitsPerPixel);
  } else {
    for (int pass = 0; pass < 7; ++pass) {
      dataBytes += ImageDataBytes(PassWidth(header.width, pass), PassHeight(header.height, pass), bitsPerPixel);
    }
  }
  const std::vector<uint8_t> zeroRow(size_t(ScanlineBytes(header.width, bitsPerPixel)), 0);
  const size_t pixelBytes = size_t(header.width) * header.height * 4;
  image->width = header.width;
  image->height = header.height;

  if (header.interlace == 0 && header.colourType == Rgba && header.depth == 8) {
    image->pixels.resize(size_t(dataBytes));
    if (int error = ZlibInflate(imageData.data(), imageData.size(), image->pixels.data(), size_t(dataBytes), nullptr)) {
      return error;
    }
    if (int error = DecodeRgba8InPlace(image->pixels.data(), header, zeroRow.data())) return error;
    image->pixels.resize(pixelBytes);
    return 0;
  }

  // The inflater sets every byte it does not reach to 0, so the buffer needs no clearing.
  const std::unique_ptr<uint8_t[]> data = std::make_unique_for_overwrite<uint8_t[]>(size_t(dataBytes));
  if (int error = ZlibInflate(imageData.data(), imageData.size(), data.get(), size_t(dataBytes), nullptr)) {
    return error;
  }
  imageData = std::vector<uint8_t>();
  image->pixels.resize(pixelBytes);
  uint8_t* pixels = image->pixels.data();
  std::vector<uint8_t> rgbaRow(size_t(header.width) * 4);
  if (header.interlace == 0) {
    return DecodeRows(data.get(), header.width, header.height, header, colours, pixels, 0, 0, 1, 1, rgbaRow.data(),
                      zeroRow.data());
  }
  uint8_t* passData = data.get();
  for (int pass = 0; pass < 7; ++pass) {
    const uint32_t width = PassWidth(header.width, pass);
    const uint32_t height = PassHeight(header.height, pass);
    if (width == 0 || height == 0) continue;
    if (int error = DecodeRows(passData, width, height, header, colours, pixels, kPassStartX[pass],
                               kPassStartY[pass], kPassStepX[pass], kPassStepY[pass], rgbaRow.data(), zeroRow.data())) {
      return error;
    }
    passData += ImageDataBytes(width, height, bitsPerPixel);
  }
  return 0;
}

// Reads and decodes for both loaders, logging any failure once per file.
bool LoadPng(const char* path, PngImage* image) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(path, &bytes);  // a file that cannot be read is empty, and so refused below
  *image = DecodePng(bytes.data(), bytes.size());
  if (image->error == 0) return true;
  const std::string reason = image->error == kPngEmpty ? UnreadableReason(path) : PngErrorText(image->error);
  if (LogImageFailure("PNG", path, image->error, reason.c_str())) Log("whatever");
  return false;
}

}  // namespace

// ---- Public functions ----

PngImage DecodePng(const uint8_t* bytes, size_t size) {
  PngImage image;
  try {
    image.error = DecodeImage(bytes, size, &image);
  } catch (const std::bad_alloc&) {
    image.error = kPngErrorTooLarge;  // sizes under the cap that this machine cannot hold
  }
  if (image.error != 0) {
    image.width = 0;
    image.height = 0;
    image.pixels = std::vector<uint8_t>();
  }
  return image;
}

const char* PngErrorText(int code) {
  if (code == kPngErrorTooLarge) return TooLargeReason();
  for (const ErrorText& entry : kErrorTexts) {
    if (entry.code == code) return entry.text;
  }
  return "unknown error";
}

unsigned int LoadPngTexture(const char* path, bool mipmaps) {
  PngImage image;
  if (!LoadPng(path, &image)) return 0;
  return UploadTexture(image.pixels.data(), int(image.width), int(image.height), TextureFormat::Rgba, mipmaps);
}

bool LoadPngPixels(const char* path, std::vector<uint8_t>* pixels, uint32_t* width, uint32_t* height) {
  pixels->clear();
  *width = 0;
  *height = 0;
  PngImage image;
  if (!LoadPng(path, &image)) return false;
  const size_t count = size_t(image.width) * image.height;
  try {
    pixels->resize(count * 3);
  } catch (const std::bad_alloc&) {
    Log("PNG loader: memory allocation error");
    return false;
  }
  for (size_t i = 0; i < count; ++i) memcpy(pixels->data() + 3 * i, image.pixels.data() + 4 * i, 3);
  *width = image.width;
  *height = image.height;
  return true;
}
