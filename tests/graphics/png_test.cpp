// The PNG decoder against libpng: files written by libpng in every colour type, depth,
// interlace and filter, decoded by both; damaged files give their error codes.
#include "graphics/png.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "graphics/inflate.h"
#include "shell/log.h"
#include "support/libpng_reference.h"
#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Format {
  int colourType, depth;
};

const Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

// A palette of the colours given, the first alphas of them with tRNS entries.
void SetPalette(LibpngRecipe& png, int colours, int alphas = 0) {
  png.palette.clear();
  png.paletteAlphas.clear();
  for (int i = 0; i < colours; ++i) png.palette.push_back({png_byte(i * 53), png_byte(255 - i * 7), png_byte(i * i)});
  for (int i = 0; i < alphas; ++i) png.paletteAlphas.push_back(png_byte(i * 97 + 3));
}

LibpngRecipe Make(Format format, uint32_t width, uint32_t height, bool interlace) {
  LibpngRecipe png{.width = width, .height = height, .colourType = format.colourType, .depth = format.depth,
                   .interlace = interlace, .palette = {}, .paletteAlphas = {}};
  if (format.colourType == 3) SetPalette(png, 1 << format.depth);
  return png;
}

// libpng's file of packed scanlines: smooth ramps with noise, so every filter has work; with a
// colour key, every third pixel is the key colour 0.
Bytes Encode(const LibpngRecipe& png, uint32_t seed = 1) {
  std::mt19937 random(seed);
  const int channels = png.colourType == 2 ? 3 : png.colourType == 4 ? 2 : png.colourType == 6 ? 4 : 1;
  const uint32_t maxValue = png.colourType == 3 ? uint32_t(png.palette.size() - 1) : (1u << png.depth) - 1;
  std::vector<Bytes> rows(png.height, Bytes((size_t(png.width) * channels * png.depth + 7) / 8, 0));
  for (uint32_t y = 0; y < png.height; ++y) {
    for (size_t sample = 0; sample < size_t(png.width) * channels; ++sample) {
      const uint32_t x = uint32_t(sample / channels), c = uint32_t(sample % channels);
      const uint32_t ramp = (x * 37 + y * 11 + c * 50) * (maxValue + 1) / 400;
      uint32_t value = (ramp + random() % 3 + (random() % 7 == 0 ? random() : 0)) % (maxValue + 1);
      if (png.zeroKey && (x + y) % 3 == 0) value = 0;
      if (png.depth == 16) rows[y][2 * sample] = uint8_t(value >> 8), rows[y][2 * sample + 1] = uint8_t(value);
      else rows[y][sample * png.depth / 8] |= uint8_t(value << (8 - png.depth - sample * png.depth % 8));
    }
  }
  return LibpngEncode(png, rows);
}

void ExpectSameAsLibpng(const LibpngRecipe& png, uint32_t seed = 1) {
  SCOPED_TRACE(testing::Message() << png.width << "x" << png.height << " type " << png.colourType << "/" << png.depth
                                  << " interlace " << png.interlace << " filters " << png.filters << " palette "
                                  << png.palette.size() << "/" << png.paletteAlphas.size() << " key " << png.zeroKey);
  const Bytes file = Encode(png, seed);
  Bytes expected;
  uint32_t width = 0, height = 0;
  ASSERT_TRUE(LibpngDecodeRgba(file, &expected, &width, &height));
  const PngImage image = DecodePng(file.data(), file.size());
  ASSERT_EQ(image.error, 0);
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(png.width, png.height));
  EXPECT_TRUE(image.pixels == expected);
}

// ---- Files assembled by hand, for the damage libpng refuses to write ----

void PutBigEndian(Bytes* bytes, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes->push_back(uint8_t(value >> shift));
}

Bytes Chunk(const char* type, const Bytes& data) {
  Bytes chunk;
  PutBigEndian(&chunk, uint32_t(data.size()));
  chunk.insert(chunk.end(), type, type + 4);
  chunk.insert(chunk.end(), data.begin(), data.end());
  const uLong crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4), data.data(), uInt(data.size()));
  PutBigEndian(&chunk, uint32_t(crc));
  return chunk;
}

Bytes Header(uint32_t width, uint32_t height, int depth, int colourType) {
  Bytes data;
  for (uint32_t side : {width, height}) PutBigEndian(&data, side);
  data.insert(data.end(), {uint8_t(depth), uint8_t(colourType), 0, 0, 0});
  return data;
}

Bytes Idat(const Bytes& raw) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  EXPECT_EQ(compress(out.data(), &size, raw.data(), uLong(raw.size())), Z_OK);
  out.resize(size);
  return Chunk("IDAT", out);
}

// A whole file: signature, IHDR, the chunks given, IEND.
Bytes Assemble(const Bytes& header, std::vector<Bytes> chunks) {
  chunks.insert(chunks.begin(), Chunk("IHDR", header));
  chunks.push_back(Chunk("IEND", {}));
  Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
  for (const Bytes& chunk : chunks) file.insert(file.end(), chunk.begin(), chunk.end());
  return file;
}

Bytes Changed(Bytes bytes, std::initializer_list<std::pair<size_t, uint8_t>> changes) {
  for (const auto& [at, value] : changes) bytes[at] = value;
  return bytes;
}

Bytes Cut(const Bytes& bytes, size_t size) { return Bytes(bytes.begin(), bytes.begin() + ptrdiff_t(size)); }

// Two rows of one RGB pixel, the second filtered Up.
const Bytes kTwoRows = {0, 1, 2, 3, 2, 4, 5, 6};

TEST(PngDecoder, MatchesLibpngInEveryFormatFilterAndInterlace) {
  const uint32_t sizes[][2] = {{1, 1}, {3, 2}, {17, 13}, {40, 33}};
  for (const Format& format : kFormats) {
    for (bool interlace : {false, true}) {
      for (int filter : {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH,
                         PNG_ALL_FILTERS}) {
        for (const auto& size : sizes) {
          LibpngRecipe png = Make(format, size[0], size[1], interlace);
          png.filters = filter;
          ExpectSameAsLibpng(png, size[0] * 7 + uint32_t(filter));
        }
      }
      // A palette shorter than the depth allows, with tRNS for part of it and for all of it;
      // a colour key for grey and RGB.
      LibpngRecipe keyed = Make(format, 23, 19, interlace);
      if (format.colourType == 3) {
        const int colours = format.depth == 1 ? 2 : (1 << format.depth) - 1;
        for (int alphas : {colours > 2 ? colours / 2 : 1, colours}) {
          SetPalette(keyed, colours, alphas);
          ExpectSameAsLibpng(keyed);
        }
      } else if (format.colourType == 0 || format.colourType == 2) {
        keyed.zeroKey = true;
        ExpectSameAsLibpng(keyed);
      }
    }
  }
  // Images of several IDAT chunks. Stored and fixed-code streams are the inflater's own matrix.
  for (const Format& format : {Format{6, 8}, Format{2, 16}, Format{3, 4}, Format{0, 2}}) {
    for (bool interlace : {false, true}) ExpectSameAsLibpng(Make(format, 300, 200, interlace));
  }
}

// What libpng never writes: a stream that ends early, chunks the decoder must step over, and
// damage, each file with its error code and its pixels (none on an error).
TEST(PngDecoder, HandMadeFilesGiveTheirPixelsOrErrorCodes) {
  Bytes shortTail(2 * 3 * 4, 0);  // a stream that ends early: the rest is filter None, black, clear
  for (int i = 0; i < 8; ++i) shortTail[size_t(i)] = uint8_t(i < 4 ? 10 * (i + 1) : 10 * (i - 3) + 1);
  const Bytes rgb = Header(1, 2, 8, 2), idat = Idat(kTwoRows);
  const Bytes good = Assemble(rgb, {idat});
  const Bytes twoColours = Chunk("PLTE", {1, 2, 3, 4, 5, 6});
  // A 1 x 1 image of a colour type with the one chunk given, or a 1 x 2 one with no chunk at all.
  auto tRNS = [](int type, const Bytes& data) { return Assemble(Header(1, 1, 8, type), {Chunk("tRNS", data)}); };
  auto bKGD = [](int type, const Bytes& data) { return Assemble(Header(1, 1, 8, type), {Chunk("bKGD", data)}); };
  auto bare = [](int depth, int type) { return Assemble(Header(1, 2, depth, type), {}); };
  const struct {
    const char* what;
    Bytes file;
    int error;
    Bytes pixels = {};
  } cases[] = {
      {"short stream", Assemble(Header(2, 3, 8, 6), {Idat({1, 10, 20, 30, 40, 1, 1, 1, 1})}), 0, shortTail},
      {"bKGD and unknown chunks", Assemble(rgb, {Chunk("bKGD", {0, 1, 0, 2, 0, 3}), Chunk("zzZz", {9, 9}), idat}), 0,
       {1, 2, 3, 255, 5, 7, 9, 255}},
      {"empty", {}, 48}, {"cut inside IHDR", Cut(good, 28), 27}, {"signature", Changed(good, {{3, 'x'}}), 28},
      {"first chunk not IHDR", Changed(good, {{12, 'i'}}), 29}, {"colour type 5", Changed(good, {{25, 5}}), 31},
      {"colour type 7", Changed(good, {{25, 7}}), 31}, {"compression method", Changed(good, {{26, 1}}), 32},
      {"filter method", Changed(good, {{27, 1}}), 33}, {"interlace method", Changed(good, {{28, 2}}), 34},
      {"grey depth 3", bare(3, 0), 37}, {"grey depth 32", bare(32, 0), 37}, {"RGB depth 4", bare(4, 2), 37},
      {"palette depth 16", bare(16, 3), 37}, {"grey alpha depth 1", bare(1, 4), 37}, {"RGBA depth 2", bare(2, 6), 37},
      {"width 0", Assemble(Header(0, 2, 8, 2), {idat}), kPngErrorEmptyImage},
      {"height 0", Assemble(Header(5, 0, 8, 2), {idat}), kPngErrorEmptyImage},
      // Either side over 8192 is refused from IHDR, however few pixels the other side gives.
      {"one column over the cap", Assemble(Header(8193, 1, 8, 6), {idat}), kPngErrorTooLarge},
      {"one row over the cap", Assemble(Header(1, 8193, 1, 0), {idat}), kPngErrorTooLarge},
      {"pixel count wraps 32 bits", Assemble(Header(65536, 65536, 8, 6), {idat}), kPngErrorTooLarge},
      {"largest fields", Assemble(Header(0xffffffffu, 0xffffffffu, 16, 6), {}), kPngErrorTooLarge},
      {"cut in a chunk header", Cut(good, 36), 30}, {"cut in chunk data", Cut(good, 45), 35},
      {"no IEND", Cut(good, good.size() - 12), 30}, {"chunk length 2^31", Changed(good, {{33, 0x7f}}), 35},
      {"chunk length 2^32 - 1", Changed(good, {{33, 0xff}, {34, 0xff}, {35, 0xff}, {36, 0xff}}), 35},
      {"PLTE of 257", Assemble(Header(1, 1, 8, 3), {Chunk("PLTE", Bytes(257 * 3)), idat}), 38},
      {"tRNS longer than PLTE", Assemble(Header(1, 1, 8, 3), {Chunk("PLTE", Bytes(6)), Chunk("tRNS", {1, 2, 3})}), 39},
      {"tRNS before PLTE", tRNS(3, {1}), 39}, {"grey tRNS size", tRNS(0, {0, 1, 2, 3}), 40},
      {"RGB tRNS size", tRNS(2, {0, 1}), 41}, {"RGBA tRNS", tRNS(6, {0, 1}), 42},
      {"grey alpha tRNS", tRNS(4, {0, 1}), 42}, {"palette bKGD size", bKGD(3, {0, 0}), 43},
      {"grey bKGD size", bKGD(0, {0}), 44}, {"grey alpha bKGD size", bKGD(4, {0, 0, 0}), 44},
      {"RGB bKGD size", bKGD(2, {0, 0}), 45}, {"RGBA bKGD size", bKGD(6, {0, 0}), 45},
      {"no IDAT", Assemble(rgb, {}), kInflateZlibShort},
      {"filter type 5", Assemble(rgb, {Idat({0, 1, 2, 3, 5, 4, 5, 6})}), 36},
      {"more data than the image", Assemble(rgb, {Idat({0, 1, 2, 3, 0, 4, 5, 6, 7})}), kInflateLiteralOverflow},
      {"8-bit index past PLTE", Assemble(Header(2, 1, 8, 3), {twoColours, Idat({0, 1, 2})}), 46},
      {"no PLTE", Assemble(Header(2, 1, 8, 3), {Idat({0, 1, 1})}), 46},
      {"2-bit index past PLTE", Assemble(Header(2, 1, 2, 3), {twoColours, Idat({0, 0x70})}), 47},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const PngImage image = DecodePng(c.file.data(), c.file.size());
    EXPECT_EQ(image.error, c.error);
    EXPECT_EQ(image.pixels, c.pixels);
  }
}

// ---- Loaders ----

std::vector<std::string> logged;

TEST(PngLoaders, PixelsAndFailureLogLines) {
  TempFolder folder;
  logged.clear();
  SetLogListener([](const char* text) { logged.push_back(text); });
  // 3 x 2 RGBA; the loader keeps R, G, B.
  const Bytes raw = {0, 10, 20, 30, 40, 60, 70, 80, 90, 110, 120, 130, 140,
                     0, 13, 23, 33, 43, 63, 73, 83, 93, 113, 123, 133, 143};
  auto put = [&](const char* name, const Bytes& bytes) {
    folder.write(name, std::string(bytes.begin(), bytes.end()));
    return folder.file(name);
  };
  const std::string good = put("good.png", Assemble(Header(3, 2, 8, 6), {Idat(raw)}));
  Bytes pixels;
  uint32_t width = 0, height = 0;
  ASSERT_EQ(LoadPngPixels(good.c_str(), &pixels, &width, &height), 1);
  EXPECT_EQ(std::pair(width, height), std::pair(3u, 2u));
  EXPECT_EQ(pixels, (Bytes{10, 20, 30, 60, 70, 80, 110, 120, 130, 13, 23, 33, 63, 73, 83, 113, 123, 133}));
  EXPECT_TRUE(logged.empty());

  const std::string missing = folder.file("missing.png");
  EXPECT_EQ(LoadPngPixels(missing.c_str(), &pixels, &width, &height), 0);
  EXPECT_EQ(std::pair(pixels.size(), width), std::pair(size_t(0), 0u));
  const std::string wrong = put("wrong.png", Changed(Assemble(Header(3, 2, 8, 6), {}), {{1, 'Q'}}));
  EXPECT_EQ(LoadPngTexture(wrong.c_str(), true), 0u);
  const std::string huge = put("huge.png", Assemble(Header(20000, 20000, 8, 6), {}));
  EXPECT_EQ(LoadPngPixels(huge.c_str(), &pixels, &width, &height), 0);
  SetLogListener(nullptr);
  const std::vector<std::string> expected = {
      "PNG loading error: 48 (" + missing + ": No such file or directory)", "whatever",
      "PNG loading error: 28 (" + wrong + ": not a PNG file)", "whatever",
      "PNG loading error: 57 (" + huge + ": larger than 8192 x 8192 pixels, or than free memory)", "whatever"};
  EXPECT_EQ(logged, expected);
}

}  // namespace
