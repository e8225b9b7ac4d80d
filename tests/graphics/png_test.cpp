// The PNG decoder against libpng: files written by libpng in every colour type, depth,
// interlace and filter, decoded by both; damaged files give their error codes.
#include "graphics/png.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/inflate.h"
#include "shell/log.h"
#include "support/libpng_reference.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Format {
  int colourType;
  int depth;
};

const Format kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

struct Recipe {
  uint32_t width = 1;
  uint32_t height = 1;
  int colourType = 6;
  int depth = 8;
  bool interlace = false;
  int filters = PNG_ALL_FILTERS;
  int level = Z_DEFAULT_COMPRESSION;
  int strategy = Z_DEFAULT_STRATEGY;
  int paletteSize = 0;                            // colour type 3
  int paletteAlphas = 0;                          // tRNS entries for a palette
  bool key = false;                               // tRNS colour key (grey, RGB): the first pixel's colour
  uint32_t seed = 1;
};

int ChannelCount(int colourType) {
  switch (colourType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

// Packed scanlines without filter bytes: smooth ramps with noise, so every filter has work.
std::vector<Bytes> MakeRows(const Recipe& recipe) {
  std::mt19937 random(recipe.seed);
  const int channels = ChannelCount(recipe.colourType);
  const uint32_t maxValue = recipe.colourType == 3 ? uint32_t(recipe.paletteSize - 1) : (1u << recipe.depth) - 1;
  const size_t rowBytes = (size_t(recipe.width) * channels * recipe.depth + 7) / 8;
  std::vector<Bytes> rows(recipe.height, Bytes(rowBytes, 0));
  for (uint32_t y = 0; y < recipe.height; ++y) {
    for (uint32_t x = 0; x < recipe.width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const uint32_t ramp = (x * 37 + y * 11 + uint32_t(c) * 50) * (maxValue + 1) / 400;
        uint32_t value = (ramp + random() % 3 + (random() % 7 == 0 ? random() : 0)) % (maxValue + 1);
        if (recipe.key && (x + y) % 3 == 0) value = 0;  // the key colour below, often
        const size_t sample = size_t(x) * channels + c;
        if (recipe.depth == 16) {
          rows[y][2 * sample] = uint8_t(value >> 8);
          rows[y][2 * sample + 1] = uint8_t(value);
        } else if (recipe.depth == 8) {
          rows[y][sample] = uint8_t(value);
        } else {
          const size_t bit = sample * recipe.depth;
          rows[y][bit / 8] |= uint8_t(value << (8 - recipe.depth - bit % 8));
        }
      }
    }
  }
  return rows;
}

Bytes EncodeWithLibpng(const Recipe& recipe) {
  std::vector<Bytes> rows = MakeRows(recipe);
  Bytes file;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the reference file";
    return {};
  }
  png_set_write_fn(png, &file, WriteToVector, nullptr);
  png_set_IHDR(png, info, recipe.width, recipe.height, recipe.depth, recipe.colourType,
               recipe.interlace ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, recipe.filters);
  png_set_compression_level(png, recipe.level);
  png_set_compression_strategy(png, recipe.strategy);
  std::vector<png_color> palette(size_t(recipe.paletteSize));
  for (int i = 0; i < recipe.paletteSize; ++i) {
    palette[size_t(i)] = {png_byte(i * 53), png_byte(255 - i * 7), png_byte(i * i)};
  }
  std::vector<png_byte> alphas(size_t(recipe.paletteAlphas));
  for (int i = 0; i < recipe.paletteAlphas; ++i) alphas[size_t(i)] = png_byte(i * 97 + 3);
  if (recipe.colourType == 3) png_set_PLTE(png, info, palette.data(), recipe.paletteSize);
  if (recipe.colourType == 3 && recipe.paletteAlphas > 0) {
    png_set_tRNS(png, info, alphas.data(), recipe.paletteAlphas, nullptr);
  }
  png_color_16 keyColour{};  // all zero: the colour MakeRows puts on every third pixel
  if (recipe.key) png_set_tRNS(png, info, nullptr, 0, &keyColour);
  png_write_info(png, info);
  std::vector<png_bytep> pointers;
  for (Bytes& row : rows) pointers.push_back(row.data());
  png_write_image(png, pointers.data());
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return file;
}

// libpng's own decoding of the same bytes, expanded to 8-bit RGBA.
Bytes DecodeWithLibpng(const Bytes& file, uint32_t* width, uint32_t* height) {
  Bytes pixels;
  if (!LibpngDecodeRgba(file, &pixels, width, height)) ADD_FAILURE() << "libpng could not read it as RGBA";
  return pixels;
}

void ExpectSameAsLibpng(const Recipe& recipe) {
  SCOPED_TRACE(testing::Message() << recipe.width << "x" << recipe.height << " type " << recipe.colourType << " depth "
                                  << recipe.depth << " interlace " << recipe.interlace << " filters " << recipe.filters
                                  << " level " << recipe.level << " strategy " << recipe.strategy << " palette "
                                  << recipe.paletteSize << "/" << recipe.paletteAlphas << " key " << recipe.key);
  const Bytes file = EncodeWithLibpng(recipe);
  ASSERT_FALSE(file.empty());
  uint32_t width = 0;
  uint32_t height = 0;
  const Bytes expected = DecodeWithLibpng(file, &width, &height);
  const PngImage image = DecodePng(file.data(), file.size());
  ASSERT_EQ(image.error, 0);
  EXPECT_EQ(image.width, recipe.width);
  EXPECT_EQ(image.height, recipe.height);
  ASSERT_EQ(image.pixels.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(int(image.pixels[i]), int(expected[i])) << "pixel " << i / 4 << " channel " << i % 4;
  }
}

// ---- Files assembled by hand, for the damage libpng refuses to write ----

Bytes Chunk(const char* type, const Bytes& data) {
  Bytes chunk;
  const uint32_t length = uint32_t(data.size());
  for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(uint8_t(length >> shift));
  for (int i = 0; i < 4; ++i) chunk.push_back(uint8_t(type[i]));
  chunk.insert(chunk.end(), data.begin(), data.end());
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
  crc = crc32(crc, data.data(), uInt(data.size()));
  for (int shift = 24; shift >= 0; shift -= 8) chunk.push_back(uint8_t(crc >> shift));
  return chunk;
}

Bytes Header(uint32_t width, uint32_t height, int depth, int colourType, int interlace = 0) {
  Bytes data;
  for (uint32_t value : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) data.push_back(uint8_t(value >> shift));
  }
  for (int field : {depth, colourType, 0, 0, interlace}) data.push_back(uint8_t(field));
  return data;
}

Bytes ZlibCompress(const Bytes& data) {
  uLongf size = compressBound(uLong(data.size()));
  Bytes out(size);
  EXPECT_EQ(compress(out.data(), &size, data.data(), uLong(data.size())), Z_OK);
  out.resize(size);
  return out;
}

// A whole file: signature, IHDR, the chunks given, IEND.
Bytes Assemble(const Bytes& header, const std::vector<Bytes>& chunks) {
  Bytes file = {137, 80, 78, 71, 13, 10, 26, 10};
  Bytes ihdr = Chunk("IHDR", header);
  file.insert(file.end(), ihdr.begin(), ihdr.end());
  for (const Bytes& chunk : chunks) file.insert(file.end(), chunk.begin(), chunk.end());
  Bytes end = Chunk("IEND", {});
  file.insert(file.end(), end.begin(), end.end());
  return file;
}

int DecodeError(const Bytes& file) { return DecodePng(file.data(), file.size()).error; }

// ---- Tests ----

TEST(PngDecoder, MatchesLibpngInEveryFormatFilterAndInterlace) {
  const uint32_t sizes[][2] = {{1, 1}, {3, 2}, {17, 13}, {40, 33}};
  const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH,
                         PNG_ALL_FILTERS};
  for (const Format& format : kFormats) {
    for (bool interlace : {false, true}) {
      for (int filter : filters) {
        for (const auto& size : sizes) {
          Recipe recipe;
          recipe.width = size[0];
          recipe.height = size[1];
          recipe.colourType = format.colourType;
          recipe.depth = format.depth;
          recipe.interlace = interlace;
          recipe.filters = filter;
          recipe.seed = size[0] * 7 + uint32_t(filter);
          if (format.colourType == 3) recipe.paletteSize = 1 << format.depth;
          ExpectSameAsLibpng(recipe);
        }
      }
    }
  }
}

TEST(PngDecoder, MatchesLibpngWithPalettesAndColourKeys) {
  for (const Format& format : kFormats) {
    for (bool interlace : {false, true}) {
      Recipe recipe;
      recipe.width = 23;
      recipe.height = 19;
      recipe.colourType = format.colourType;
      recipe.depth = format.depth;
      recipe.interlace = interlace;
      if (format.colourType == 3) {
        // A palette shorter than the depth allows, and tRNS covering only part of it.
        recipe.paletteSize = format.depth == 1 ? 2 : (1 << format.depth) - 1;
        recipe.paletteAlphas = recipe.paletteSize > 2 ? recipe.paletteSize / 2 : 1;
        ExpectSameAsLibpng(recipe);
        recipe.paletteAlphas = recipe.paletteSize;
        ExpectSameAsLibpng(recipe);
      } else if (format.colourType == 0 || format.colourType == 2) {
        recipe.key = true;
        ExpectSameAsLibpng(recipe);
      }
    }
  }
}

TEST(PngDecoder, MatchesLibpngOnStoredFixedAndLargeStreams) {
  for (const Format& format : {Format{6, 8}, Format{2, 16}, Format{3, 4}, Format{0, 2}}) {
    for (bool interlace : {false, true}) {
      Recipe recipe;
      recipe.colourType = format.colourType;
      recipe.depth = format.depth;
      recipe.interlace = interlace;
      if (format.colourType == 3) recipe.paletteSize = 16;
      recipe.width = 61;
      recipe.height = 47;
      recipe.level = 0;  // stored blocks
      ExpectSameAsLibpng(recipe);
      recipe.level = 6;
      recipe.strategy = Z_FIXED;
      ExpectSameAsLibpng(recipe);
      recipe.strategy = Z_DEFAULT_STRATEGY;
      recipe.width = 300;  // several IDAT chunks and long streams through the fast loop
      recipe.height = 200;
      ExpectSameAsLibpng(recipe);
    }
  }
}

TEST(PngDecoder, HeaderErrors) {
  // Two rows of one RGB pixel, the second filtered Up.
  const Bytes pixelData = ZlibCompress(Bytes{0, 1, 2, 3, 2, 4, 5, 6});
  const Bytes good = Assemble(Header(1, 2, 8, 2), {Chunk("IDAT", pixelData)});
  {
    const PngImage image = DecodePng(good.data(), good.size());
    ASSERT_EQ(image.error, 0);
    EXPECT_EQ(image.pixels, (Bytes{1, 2, 3, 255, 5, 7, 9, 255}));
  }

  EXPECT_EQ(DecodePng(nullptr, 0).error, 48);
  EXPECT_EQ(DecodePng(good.data(), 0).error, 48);
  EXPECT_EQ(DecodeError(Bytes(good.begin(), good.begin() + 28)), 27);
  Bytes damaged = good;
  damaged[3] = 'x';
  EXPECT_EQ(DecodeError(damaged), 28);
  damaged = good;
  damaged[12] = 'i';
  EXPECT_EQ(DecodeError(damaged), 29);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 2, 8, 5), {Chunk("IDAT", pixelData)})), 31);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 2, 8, 7), {Chunk("IDAT", pixelData)})), 31);
  damaged = good;
  damaged[26] = 1;
  EXPECT_EQ(DecodeError(damaged), 32);
  damaged = good;
  damaged[27] = 1;
  EXPECT_EQ(DecodeError(damaged), 33);
  damaged = good;
  damaged[28] = 2;
  EXPECT_EQ(DecodeError(damaged), 34);
  for (const Format& wrong : {Format{0, 3}, Format{0, 32}, Format{2, 4}, Format{3, 16}, Format{4, 1}, Format{6, 2}}) {
    EXPECT_EQ(DecodeError(Assemble(Header(1, 2, wrong.depth, wrong.colourType), {})), 37)
        << wrong.colourType << "/" << wrong.depth;
  }
  // Width or height 0, and sizes whose pixel count passes the cap, even when the product
  // of the 32-bit fields would wrap.
  EXPECT_EQ(DecodeError(Assemble(Header(0, 2, 8, 2), {Chunk("IDAT", pixelData)})), kPngErrorEmptyImage);
  EXPECT_EQ(DecodeError(Assemble(Header(5, 0, 8, 2), {Chunk("IDAT", pixelData)})), kPngErrorEmptyImage);
  EXPECT_EQ(DecodeError(Assemble(Header(16385, 16384, 8, 6), {Chunk("IDAT", pixelData)})), kPngErrorTooLarge);
  EXPECT_EQ(DecodeError(Assemble(Header(65536, 65536, 8, 6), {Chunk("IDAT", pixelData)})), kPngErrorTooLarge);
  EXPECT_EQ(DecodeError(Assemble(Header(0xffffffffu, 0xffffffffu, 16, 6), {})), kPngErrorTooLarge);
}

TEST(PngDecoder, ChunkErrors) {
  const Bytes header = Header(1, 2, 8, 2);
  const Bytes pixelData = ZlibCompress(Bytes{0, 1, 2, 3, 2, 4, 5, 6});
  const Bytes good = Assemble(header, {Chunk("IDAT", pixelData)});
  // A file cut inside a chunk's header, inside its data, and with IEND missing.
  EXPECT_EQ(DecodeError(Bytes(good.begin(), good.begin() + 36)), 30);
  EXPECT_EQ(DecodeError(Bytes(good.begin(), good.begin() + 45)), 35);
  EXPECT_EQ(DecodeError(Bytes(good.begin(), good.end() - 12)), 30);
  Bytes huge = good;
  huge[33] = 0x7f;  // IDAT length 2^31-ish
  EXPECT_EQ(DecodeError(huge), 35);
  huge[33] = 0xff;
  huge[34] = 0xff;
  huge[35] = 0xff;
  huge[36] = 0xff;
  EXPECT_EQ(DecodeError(huge), 35);

  const Bytes idat = Chunk("IDAT", pixelData);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 3), {Chunk("PLTE", Bytes(257 * 3)), idat})), 38);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 3), {Chunk("PLTE", Bytes(2 * 3)), Chunk("tRNS", {1, 2, 3})})), 39);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 3), {Chunk("tRNS", {1})})), 39);  // before any PLTE
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 0), {Chunk("tRNS", {0, 1, 2, 3})})), 40);
  EXPECT_EQ(DecodeError(Assemble(header, {Chunk("tRNS", {0, 1})})), 41);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 6), {Chunk("tRNS", {0, 1})})), 42);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 4), {Chunk("tRNS", {0, 1})})), 42);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 3), {Chunk("bKGD", {0, 0})})), 43);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 0), {Chunk("bKGD", {0})})), 44);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 4), {Chunk("bKGD", {0, 0, 0})})), 44);
  EXPECT_EQ(DecodeError(Assemble(header, {Chunk("bKGD", {0, 0})})), 45);
  EXPECT_EQ(DecodeError(Assemble(Header(1, 1, 8, 6), {Chunk("bKGD", {0, 0})})), 45);
  // Well-formed background chunks and unknown chunks change nothing.
  EXPECT_EQ(DecodeError(Assemble(header, {Chunk("bKGD", {0, 1, 0, 2, 0, 3}), Chunk("zzZz", {9, 9}), idat})), 0);
}

TEST(PngDecoder, ImageDataErrors) {
  const Bytes rgb = Header(1, 2, 8, 2);
  auto withData = [&](const Bytes& header, const Bytes& zlibData, const std::vector<Bytes>& before = {}) {
    std::vector<Bytes> chunks = before;
    chunks.push_back(Chunk("IDAT", zlibData));
    return DecodeError(Assemble(header, chunks));
  };
  EXPECT_EQ(DecodeError(Assemble(rgb, {})), kInflateZlibShort);  // no IDAT at all
  EXPECT_EQ(withData(rgb, {0x78}), kInflateZlibShort);
  EXPECT_EQ(withData(rgb, {0x78, 0x00, 0x03, 0x00}), kInflateHeaderCheck);
  EXPECT_EQ(withData(rgb, {0x77, 0x09, 0x03, 0x00}), kInflateHeaderMethod);
  EXPECT_EQ(withData(rgb, {0x78, 0x20, 0x03, 0x00}), kInflateHeaderDictionary);
  EXPECT_EQ(withData(rgb, ZlibCompress(Bytes{0, 1, 2, 3, 5, 4, 5, 6})), 36);  // filter type 5
  // More data than the image holds.
  EXPECT_EQ(withData(rgb, ZlibCompress(Bytes{0, 1, 2, 3, 0, 4, 5, 6, 7})), kInflateLiteralOverflow);
  // Palette indices outside the palette: 8 bits and 2 bits.
  const Bytes twoColours = Chunk("PLTE", {1, 2, 3, 4, 5, 6});
  EXPECT_EQ(withData(Header(2, 1, 8, 3), ZlibCompress(Bytes{0, 1, 2}), {twoColours}), 46);
  EXPECT_EQ(withData(Header(2, 1, 8, 3), ZlibCompress(Bytes{0, 1, 1}), {}), 46);  // no PLTE at all
  EXPECT_EQ(withData(Header(2, 1, 2, 3), ZlibCompress(Bytes{0, 0x70}), {twoColours}), 47);  // indices 1, then 3
  const PngImage image = [&] {
    const Bytes file =
        Assemble(Header(2, 1, 2, 3), {twoColours, Chunk("tRNS", {77}), Chunk("IDAT", ZlibCompress(Bytes{0, 0x40}))});
    return DecodePng(file.data(), file.size());
  }();
  ASSERT_EQ(image.error, 0);
  EXPECT_EQ(image.pixels, (Bytes{4, 5, 6, 255, 1, 2, 3, 77}));

  // A stream that ends early leaves the rest of the image zero: filter None, black, clear.
  const Bytes rgba = Header(2, 3, 8, 6);
  const PngImage shortImage = [&] {
    const Bytes file = Assemble(rgba, {Chunk("IDAT", ZlibCompress(Bytes{1, 10, 20, 30, 40, 1, 1, 1, 1}))});
    return DecodePng(file.data(), file.size());
  }();
  ASSERT_EQ(shortImage.error, 0);
  Bytes expected(2 * 3 * 4, 0);
  const uint8_t firstRow[8] = {10, 20, 30, 40, 11, 21, 31, 41};
  memcpy(expected.data(), firstRow, 8);
  EXPECT_EQ(shortImage.pixels, expected);
}

TEST(PngDecoder, DamagedFilesNeverReadOutside) {
  // Every cut and many byte changes of real files decode or fail with a code; the sanitizers
  // watch each decode for any access outside its buffers.
  std::mt19937 random(5);
  for (const Format& format : {Format{6, 8}, Format{3, 2}, Format{0, 16}}) {
    for (bool interlace : {false, true}) {
      Recipe recipe;
      recipe.width = 37;
      recipe.height = 21;
      recipe.colourType = format.colourType;
      recipe.depth = format.depth;
      recipe.interlace = interlace;
      if (format.colourType == 3) recipe.paletteSize = 3;
      const Bytes file = EncodeWithLibpng(recipe);
      for (size_t cut = 0; cut < file.size(); cut += 1 + cut / 50) {
        const Bytes part(file.begin(), file.begin() + cut);
        const PngImage image = DecodePng(part.data(), part.size());
        if (cut + 12 <= file.size()) {
          EXPECT_NE(image.error, 0) << cut;  // everything before IEND's own header is needed
        }
        if (image.error != 0) {
          EXPECT_TRUE(image.pixels.empty());
        }
      }
      for (int round = 0; round < 300; ++round) {
        Bytes damaged = file;
        const int flips = 1 + round % 4;
        for (int i = 0; i < flips; ++i) {
          // Any byte but the width and height: a damaged size only makes a big blank image.
          size_t at = 8 + random() % (damaged.size() - 8);
          if (at >= 16 && at < 24) at += 8;
          damaged[at] ^= uint8_t(1 + random() % 255);
        }
        const PngImage image = DecodePng(damaged.data(), damaged.size());
        if (image.error == 0) {
          EXPECT_EQ(image.pixels.size(), size_t(image.width) * image.height * 4);
        }
      }
    }
  }
}

// ---- Loaders ----

struct LogCapture {
  std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::path folder;
  LogCapture() {
    folder = std::filesystem::temp_directory_path() / ("velmora_png_test_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    OpenLog();
  }
  ~LogCapture() {
    CloseLog();
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
  // The log's lines without their time stamps.
  std::vector<std::string> lines() {
    std::ifstream in(folder / "System.log");
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) result.push_back(line.size() > 11 ? line.substr(11) : line);
    return result;
  }
  std::string write(const char* name, const Bytes& bytes) {
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return (folder / name).string();
  }
};

TEST(PngLoaders, PixelsAndFailureLogLines) {
  LogCapture capture;
  // 3 x 2 RGBA whose first pixel is (10, 20, 30, 40).
  Bytes raw;
  for (int y = 0; y < 2; ++y) {
    raw.push_back(0);
    for (int x = 0; x < 3; ++x) {
      for (int c = 0; c < 4; ++c) raw.push_back(uint8_t(10 * (c + 1) + x * 50 + y * 3));
    }
  }
  const std::string good = capture.write("good.png", Assemble(Header(3, 2, 8, 6), {Chunk("IDAT", ZlibCompress(raw))}));
  std::vector<uint8_t> pixels;
  uint32_t width = 0;
  uint32_t height = 0;
  ASSERT_EQ(LoadPngPixels(good.c_str(), &pixels, &width, &height), 1);
  EXPECT_EQ(width, 3u);
  EXPECT_EQ(height, 2u);
  ASSERT_EQ(pixels.size(), 18u);
  EXPECT_EQ(pixels[0], 10);
  EXPECT_EQ(pixels[1], 20);
  EXPECT_EQ(pixels[2], 30);
  EXPECT_EQ(pixels[3], 60);   // second pixel: alpha dropped between them
  EXPECT_EQ(pixels[9], 13);   // first pixel of the second row
  EXPECT_TRUE(capture.lines().empty());

  EXPECT_EQ(LoadPngPixels((capture.folder / "missing.png").string().c_str(), &pixels, &width, &height), 0);
  EXPECT_TRUE(pixels.empty());
  EXPECT_EQ(width, 0u);
  Bytes wrongSignature = Assemble(Header(3, 2, 8, 6), {});
  wrongSignature[1] = 'Q';
  const std::string wrong = capture.write("wrong.png", wrongSignature);
  EXPECT_EQ(LoadPngTexture(wrong.c_str(), true), 0u);
  const std::string huge = capture.write("huge.png", Assemble(Header(20000, 20000, 8, 6), {}));
  EXPECT_EQ(LoadPngPixels(huge.c_str(), &pixels, &width, &height), 0);
  EXPECT_EQ(LoadPngTexture(huge.c_str(), false), 0u);

  const std::vector<std::string> expected = {"PNG loading error: 48", "whatever",
                                             "PNG loading error: 28", "whatever",
                                             "PNG loader: memory allocation error",
                                             "PNG loader: memory allocation error"};
  EXPECT_EQ(capture.lines(), expected);
}

}  // namespace
