#include "graphics/tga.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// An 18-byte true-colour header: type 2 (plain) or 10 (run-length).
Bytes Header(uint8_t type, uint32_t width, uint32_t height, uint8_t bits) {
  return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width), uint8_t(width >> 8),
          uint8_t(height), uint8_t(height >> 8), bits, 0};
}

void Append(Bytes* bytes, std::initializer_list<int> values) {
  for (int v : values) bytes->push_back(uint8_t(v));
}

bool Decodes(const Bytes& bytes, TgaImage* image) { return DecodeTga(bytes.data(), bytes.size(), image); }

}  // namespace

TEST(TgaDecoder, UncompressedPixelsTurnFromBgrToRgbInFileOrder) {
  // 3 x 2, 24 bits: pixels are stored B, G, R.
  Bytes file = Header(2, 3, 2, 24);
  Append(&file, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
  TgaImage image;
  ASSERT_TRUE(Decodes(file, &image));
  EXPECT_EQ(image.width, 3u);
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.channels, 3u);
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}));

  // 32 bits keep their alpha; bytes after the pixels are ignored.
  file = Header(2, 1, 2, 32);
  Append(&file, {10, 20, 30, 40, 50, 60, 70, 0, 99, 99});
  ASSERT_TRUE(Decodes(file, &image));
  EXPECT_EQ(image.channels, 4u);
  EXPECT_EQ(image.pixels, (Bytes{30, 20, 10, 40, 70, 60, 50, 0}));

  // Widths above 255 use the size field's high byte: 300 x 1.
  file = Header(2, 300, 1, 24);
  file.resize(file.size() + 900, 7);
  ASSERT_TRUE(Decodes(file, &image));
  EXPECT_EQ(image.pixels.size(), 900u);
}

TEST(TgaDecoder, RunLengthPacketsRepeatOrCopy) {
  // 130 repeats the next pixel 3 times; 2 copies the next 3 pixels; 128 is a run of 1.
  Bytes file = Header(10, 7, 1, 24);
  Append(&file, {130, 1, 2, 3, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 128, 20, 21, 22});
  TgaImage image;
  ASSERT_TRUE(Decodes(file, &image));
  EXPECT_EQ(image.width, 7u);
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10, 22, 21, 20}));

  // Packets run on across rows; 32-bit runs carry alpha.
  file = Header(10, 2, 2, 32);
  Append(&file, {131, 1, 2, 3, 4});
  ASSERT_TRUE(Decodes(file, &image));
  EXPECT_EQ(image.height, 2u);
  EXPECT_EQ(image.pixels, (Bytes{3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4, 3, 2, 1, 4}));

  // The longest run (255 = 128 pixels) fills a 16 x 8 image from four bytes.
  file = Header(10, 16, 8, 24);
  Append(&file, {255, 9, 8, 7});
  ASSERT_TRUE(Decodes(file, &image));
  ASSERT_EQ(image.pixels.size(), 128u * 3);
  EXPECT_EQ(image.pixels[381], 7);
  EXPECT_EQ(image.pixels[383], 9);
}

TEST(TgaDecoder, RefusesWhatItCannotShowFaithfully) {
  TgaImage image;
  Bytes good = Header(2, 2, 1, 24);
  Append(&good, {1, 2, 3, 4, 5, 6});
  ASSERT_TRUE(Decodes(good, &image));

  Bytes withId = good;
  withId[0] = 3;                                  // an image ID field
  Bytes withColourMap = good;
  withColourMap[1] = 1;
  Bytes withOrigin = good;
  withOrigin[8] = 5;
  Bytes paletted = good;
  paletted[2] = 1;
  Bytes greyRunLength = good;
  greyRunLength[2] = 11;
  Bytes sixteenBits = Header(2, 2, 1, 16);
  Append(&sixteenBits, {1, 2, 3, 4});
  Bytes zeroWidth = Header(2, 0, 1, 24);
  Append(&zeroWidth, {1, 2, 3});
  Bytes zeroHeight = Header(10, 1, 0, 24);
  Append(&zeroHeight, {128, 1, 2, 3});
  Bytes shortHeader = Bytes(good.begin(), good.begin() + 17);
  // Pixel data that ends one byte early must not be padded with whatever memory held.
  Bytes cutPixels = Bytes(good.begin(), good.end() - 1);
  Bytes noPixels = Header(2, 2, 1, 32);
  // Run-length streams that end early: no packet, a run without its pixel, a short copy.
  Bytes noPacket = Header(10, 4, 1, 24);
  Append(&noPacket, {129, 1, 2, 3});
  Bytes runWithoutPixel = Header(10, 4, 1, 24);
  Append(&runWithoutPixel, {129, 1, 2, 3, 129, 1, 2});
  Bytes shortCopy = Header(10, 4, 1, 24);
  Append(&shortCopy, {3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  // A packet that writes past the image.
  Bytes overlongRun = Header(10, 4, 1, 24);
  Append(&overlongRun, {132, 1, 2, 3});
  Bytes overlongCopy = Header(10, 2, 1, 24);
  Append(&overlongCopy, {2, 1, 2, 3, 4, 5, 6, 7, 8, 9});
  // Sizes whose bytes are far beyond the cap, with tiny data behind them.
  Bytes huge = Header(2, 65535, 65535, 32);
  Append(&huge, {1, 2, 3, 4});
  Bytes hugeRunLength = Header(10, 65535, 65535, 32);
  Append(&hugeRunLength, {255, 1, 2, 3, 4});
  // Within the cap but promising more pixels than even all-run packets could carry.
  Bytes emptyPromise = Header(10, 16384, 16384, 24);
  Append(&emptyPromise, {255, 1, 2, 3});

  const Bytes* refused[] = {&withId,      &withColourMap,   &withOrigin, &paletted,     &greyRunLength,
                            &sixteenBits, &zeroWidth,       &zeroHeight, &shortHeader,  &cutPixels,
                            &noPixels,    &noPacket,        &runWithoutPixel, &shortCopy, &overlongRun,
                            &overlongCopy, &huge,           &hugeRunLength, &emptyPromise};
  for (size_t i = 0; i < sizeof refused / sizeof refused[0]; ++i) {
    image.pixels.assign(5, 1);
    EXPECT_FALSE(Decodes(*refused[i], &image)) << "case " << i;
    EXPECT_TRUE(image.pixels.empty()) << "case " << i;
    EXPECT_EQ(image.width, 0u) << "case " << i;
  }
  EXPECT_FALSE(DecodeTga(nullptr, 100, &image));
}

TEST(TgaDecoder, LoaderRefusesMissingAndDamagedFiles) {
  // Without a file there is nothing to upload, so no GL context is needed here.
  EXPECT_EQ(LoadTgaTexture(VELMORA_BINARY_DIR "/no_such_sprite.tga"), 0u);
  const char* path = VELMORA_BINARY_DIR "/tga_test_damaged.tga";
  FILE* file = fopen(path, "wb");
  ASSERT_NE(file, nullptr);
  Bytes damaged = Header(2, 4, 4, 24);
  fwrite(damaged.data(), 1, damaged.size(), file);
  fclose(file);
  EXPECT_EQ(LoadTgaTexture(path), 0u);
  remove(path);
}
