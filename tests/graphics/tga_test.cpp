#include "graphics/tga.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// An 18-byte true-colour header: type 2 (plain) or 10 (run-length).
Bytes Header(uint8_t type, uint32_t width, uint32_t height, uint8_t bits) {
  return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
          uint8_t(height), uint8_t(height >> 8), bits, 0};
}

Bytes With(Bytes bytes, std::initializer_list<int> values) {
  for (int v : values) bytes.push_back(uint8_t(v));
  return bytes;
}

Bytes Changed(Bytes bytes, size_t at, uint8_t value) {
  bytes[at] = value;
  return bytes;
}

// A run-length header followed by runs of one 24-bit pixel that cover every pixel.
Bytes AllRuns(uint32_t width, uint32_t height) {
  Bytes bytes = Header(10, width, height, 24);
  for (uint64_t left = uint64_t(width) * height; left > 0; left -= std::min<uint64_t>(left, 128))
    bytes.insert(bytes.end(), {uint8_t(127 + std::min<uint64_t>(left, 128)), 1, 2, 3});
  return bytes;
}

bool Decodes(const Bytes& bytes, TgaImage* image) { return DecodeTga(bytes.data(), bytes.size(), image) == 0; }

}  // namespace

// Pixels turn from B, G, R to R, G, B in file order; whatever the decoder cannot show faithfully
// is refused with its code and leaves the image empty.
TEST(TgaDecoder, DecodesBothFormsAndRefusesTheRest) {
  Bytes wide = Header(2, 300, 1, 24);
  wide.resize(wide.size() + 900, 7);
  Bytes longestRun;
  for (int i = 0; i < 128; ++i) longestRun.insert(longestRun.end(), {7, 8, 9});
  const Bytes good = With(Header(2, 2, 1, 24), {1, 2, 3, 4, 5, 6});
  const int form = kTgaErrorForm, depth = kTgaErrorDepth, cut = kTgaErrorPixelsCut;
  const struct {
    const char* what;
    Bytes file;
    int error;
    uint32_t width = 0, height = 0, channels = 0;
    Bytes pixels = {};
  } cases[] = {
      {"2 x 1 at 24 bits", good, 0, 2, 1, 3, {3, 2, 1, 6, 5, 4}},
      {"3 x 2 at 24 bits, stored B, G, R",
       With(Header(2, 3, 2, 24), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}), 0, 3, 2, 3,
       {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
      {"32 bits keep their alpha; bytes after the pixels are ignored",
       With(Header(2, 1, 2, 32), {10, 20, 30, 40, 50, 60, 70, 0, 99, 99}), 0, 1, 2, 4, {30, 20, 10, 40, 70, 60, 50, 0}},
      {"widths above 255 use the size field's high byte", wide, 0, 300, 1, 3, Bytes(900, 7)},
      // 130 repeats the next pixel 3 times; 2 copies the next 3 pixels; 128 is a run of 1.
      {"runs and copies", With(Header(10, 7, 1, 24), {130, 1, 2, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 128, 20, 21, 22}),
       0, 7, 1, 3, {3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 22, 21, 20}},
      {"packets run on across rows; 32-bit runs carry alpha", With(Header(10, 2, 2, 32), {131, 1, 2, 3, 4}), 0, 2, 2,
       4, {3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}},
      {"the longest run (255 = 128 pixels) fills 16 x 8", With(Header(10, 16, 8, 24), {255, 9, 8, 7}), 0, 16, 8, 3,
       longestRun},
      {"image ID field", Changed(good, 0, 3), form}, {"colour map", Changed(good, 1, 1), form},
      {"origin", Changed(good, 8, 5), form}, {"paletted", Changed(good, 2, 1), form},
      {"grey run-length", Changed(good, 2, 11), form}, {"16 bits", With(Header(2, 2, 1, 16), {1, 2, 3, 4}), depth},
      {"width 0", With(Header(2, 0, 1, 24), {1, 2, 3}), kImageErrorEmptyImage},
      {"height 0", With(Header(10, 1, 0, 24), {128, 1, 2, 3}), kImageErrorEmptyImage},
      {"short header", Bytes(good.begin(), good.begin() + 17), form}, {"no bytes", Bytes(), kImageErrorNoData},
      // Pixel data that ends early must not be padded with whatever memory held.
      {"pixels cut by one byte", Bytes(good.begin(), good.end() - 1), cut}, {"no pixels", Header(2, 2, 1, 32), cut},
      {"no packet", With(Header(10, 4, 1, 24), {129, 1, 2, 3}), cut},
      {"run without its pixel", With(Header(10, 4, 1, 24), {129, 1, 2, 3, 129, 1, 2}), cut},
      {"short copy", With(Header(10, 4, 1, 24), {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}), cut},
      {"run past the image", With(Header(10, 4, 1, 24), {132, 1, 2, 3}), cut},
      {"copy past the image", With(Header(10, 2, 1, 24), {2, 1, 2, 3, 4, 5, 6, 7, 8, 9}), cut},
      // Either side over 8192 is refused from the header, even with every pixel there.
      {"one column over the cap", AllRuns(8193, 1), kImageErrorTooLarge},
      {"one row over the cap", AllRuns(1, 8193), kImageErrorTooLarge},
      {"huge", With(Header(2, 65535, 65535, 32), {1, 2, 3, 4}), kImageErrorTooLarge},
      // Within the cap but promising more pixels than even all-run packets could carry.
      {"empty promise", With(Header(10, 8192, 8192, 24), {255, 1, 2, 3}), cut},
  };
  TgaImage image;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    image.pixels.assign(5, 1);
    EXPECT_EQ(DecodeTga(c.file.data(), c.file.size(), &image), c.error);
    EXPECT_EQ(std::tuple(image.width, image.height, image.channels), std::tuple(c.width, c.height, c.channels));
    EXPECT_EQ(image.pixels, c.pixels);
  }
  ASSERT_TRUE(Decodes(AllRuns(8192, 1), &image));
  EXPECT_EQ(image.width, 8192u);
  EXPECT_EQ(DecodeTga(nullptr, 100, &image), kImageErrorNoData);
}
