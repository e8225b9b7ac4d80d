#include "graphics/picture.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Rgb { uint8_t r, g, b; };

void Put(Bytes* bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes->push_back(uint8_t(value >> (8 * i)));
}

// A 24-bit Windows bitmap: rows stored bottom row first, B, G, R, each row padded to 4 bytes.
// colourAt(x, y) gives the pixel with y = 0 at the picture's top.
Bytes MakeBmp(int width, int height, const std::function<Rgb(int, int)>& colourAt, bool withPixels = true) {
  const uint32_t rowSize = (uint32_t(width) * 3 + 3) / 4 * 4;
  const uint32_t pixelBytes = withPixels ? rowSize * uint32_t(height) : 0;
  Bytes bmp = {'B', 'M'};
  // File size, reserved, pixel offset, info size, width, height, planes, bits, no compression,
  // pixel bytes, 72 dpi across and down, no palette.
  for (auto [value, size] : std::initializer_list<std::pair<uint32_t, int>>{
           {54 + pixelBytes, 4}, {0, 4}, {54, 4}, {40, 4}, {uint32_t(width), 4}, {uint32_t(height), 4}, {1, 2},
           {24, 2}, {0, 4}, {pixelBytes, 4}, {2835, 4}, {2835, 4}, {0, 4}, {0, 4}}) {
    Put(&bmp, value, size);
  }
  for (int y = height - 1; withPixels && y >= 0; --y) {
    const size_t start = bmp.size();
    for (int x = 0; x < width; ++x) {
      const Rgb c = colourAt(x, y);
      bmp.insert(bmp.end(), {c.b, c.g, c.r});
    }
    bmp.resize(start + rowSize, 0);
  }
  return bmp;
}

// Top half (200, 10, 30); bottom half pure black on the left, (1, 0, 0) on the right.
Rgb TestPicture(int x, int y) {
  if (y < 15) return {200, 10, 30};
  return x < 50 ? Rgb{0, 0, 0} : Rgb{1, 0, 0};
}

const uint8_t* Texel(const PictureImage& image, uint32_t x, uint32_t y) {
  return image.pixels.data() + (size_t(y) * image.width + x) * 4;
}

}  // namespace

TEST(PictureLoader, TextureSizeIsTheNearestPowerOfTwoOnALogScale) {
  // {size, largest size, texture size}. The switch between 128 and 256 lies at 128 * sqrt(2)
  // = 181.02; above the largest size the largest size itself is used, and log2(3000) + 0.5 =
  // 12.05 rounds up to 4096 yet never past the largest size.
  const uint32_t cases[][3] = {{48, 4096, 64},     {40, 4096, 32},     {100, 4096, 128},  {1, 4096, 1},
                               {3, 4096, 4},       {5, 4096, 4},       {6, 4096, 8},      {181, 4096, 128},
                               {182, 4096, 256},   {4096, 4096, 4096}, {5000, 4096, 4096}, {100, 64, 64},
                               {3000, 4096, 4096}, {3000, 3000, 3000}, {3000, 2500, 2500}};
  for (const auto& c : cases) EXPECT_EQ(PictureTextureSize(c[0], c[1]), c[2]) << c[0] << " up to " << c[1];
}

TEST(PictureLoader, ScalesToPowersOfTwoBottomRowFirstWithBlackTransparent) {
  Bytes bmp = MakeBmp(100, 30, TestPicture);
  PictureImage image;
  ASSERT_EQ(DecodePicture(bmp.data(), bmp.size(), 4096, &image), 0);
  ASSERT_EQ(std::tuple(image.pictureWidth, image.pictureHeight, image.width, image.height, image.pixels.size()),
            std::tuple(100u, 30u, 128u, 32u, size_t(128 * 32 * 4)));
  // Row 0 is the picture's bottom row: black (transparent) on the left, (1, 0, 0) on the right.
  auto texel = [&](uint32_t x, uint32_t y) { return Bytes(Texel(image, x, y), Texel(image, x, y) + 4); };
  int transparent = 0;
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) {
      const uint8_t* p = Texel(image, x, y);
      bool black = p[0] == 0 && p[1] == 0 && p[2] == 0;
      ASSERT_EQ(p[3], black ? 0 : 255) << x << "," << y;
      transparent += black;
      // Texel x samples picture x = (x + 0.5) * 100 / 128 - 0.5 and texel y picture row
      // (31 - y + 0.5) * 30 / 32 - 0.5 (row 0 at the top): the ranges below see one colour.
      if (x < 60 && y < 14) { EXPECT_TRUE(black) << x << "," << y; }
      if (x >= 68 && y < 14) { EXPECT_EQ(texel(x, y), (Bytes{1, 0, 0, 255})) << x << "," << y << " almost black"; }
      if (y > 18) { EXPECT_EQ(texel(x, y), (Bytes{200, 10, 30, 255})) << x << "," << y; }
    }
  }
  EXPECT_TRUE(transparent > 60 * 14 && transparent < 128 * 16) << transparent;

  // A driver that allows only 64 texels across gets exactly 64.
  ASSERT_EQ(DecodePicture(bmp.data(), bmp.size(), 64, &image), 0);
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(64u, 32u));
  EXPECT_EQ(Texel(image, 63, 31)[0], 200);
  EXPECT_EQ(Texel(image, 0, 0)[3], 0);
}

TEST(PictureLoader, SeeThroughPixelsBecomeBlackAndTransparent) {
  // A 2 x 1 true-colour TGA with alpha: a see-through red pixel and an opaque one.
  const Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 1, 0, 32, 8,  // header
                     0, 0, 200, 0, 50, 100, 200, 255};                     // B, G, R, A twice
  PictureImage image;
  ASSERT_EQ(DecodePicture(tga.data(), tga.size(), 4096, &image), 0);
  EXPECT_EQ(std::pair(image.width, image.height), std::pair(2u, 1u));
  EXPECT_EQ(image.pixels, (Bytes{0, 0, 0, 0, 200, 100, 50, 255}));
}

TEST(PictureLoader, RefusesDamagedAndOversizedPictures) {
  PictureImage image;
  Bytes noise = {'B', 'X', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  EXPECT_EQ(DecodePicture(noise.data(), noise.size(), 4096, &image), kPictureErrorUndecodable);
  EXPECT_EQ(DecodePicture(nullptr, 0, 4096, &image), kImageErrorNoData);
  Bytes one = MakeBmp(1, 1, [](int, int) { return Rgb{5, 6, 7}; });
  EXPECT_EQ(DecodePicture(one.data(), 0, 4096, &image), kImageErrorNoData);
  ASSERT_EQ(DecodePicture(one.data(), one.size(), 4096, &image), 0);
  EXPECT_EQ(image.pixels, (Bytes{5, 6, 7, 255}));
  // Either side over 8192 is refused from the header (stbi_info) before any pixel is decoded,
  // whether the pixels are there or not.
  for (auto [width, height, withPixels] : {std::tuple{8193, 1, true}, {1, 8193, true}, {20000, 20000, false}}) {
    Bytes huge = MakeBmp(width, height, TestPicture, withPixels);
    EXPECT_EQ(DecodePicture(huge.data(), huge.size(), 16384, &image), kImageErrorTooLarge) << width << " x " << height;
    EXPECT_TRUE(image.pixels.empty());
  }
  TempFolder folder;
  unsigned int name = 7;
  EXPECT_EQ(LoadPictureTexture(folder.file("no_such_picture.jpg").c_str(), &name), 0);
}
