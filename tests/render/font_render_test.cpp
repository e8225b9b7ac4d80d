// Text and sprites drawn by the real GL device under the test's X display, read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "shell/display.h"
#include "support/libpng_reference.h"
#include "support/temp_folder.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

using Bytes = std::vector<uint8_t>;

struct Pixel {
  int r, g, b;
};

Pixel ReadPixel(int x, int y) {
  uint8_t p[4] = {};
  glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
  return {p[0], p[1], p[2]};
}

::testing::AssertionResult Near(Pixel got, Pixel want, int x, int y, int tolerance = 2) {
  if (abs(got.r - want.r) <= tolerance && abs(got.g - want.g) <= tolerance && abs(got.b - want.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is (" << got.r << ", " << got.g
                                       << ", " << got.b << "), want (" << want.r << ", " << want.g << ", "
                                       << want.b << ")";
}

#define EXPECT_PIXEL(x, y, ...) EXPECT_TRUE(Near(ReadPixel(x, y), Pixel{__VA_ARGS__}, x, y))

// An 8-bit RGBA PNG written by libpng, top row first.
void WritePng(const std::string& path, uint32_t width, uint32_t height, const Bytes& rgba) {
  std::vector<Bytes> rows;
  for (uint32_t y = 0; y < height; ++y) {
    rows.emplace_back(rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
  }
  LibpngRecipe recipe;
  recipe.width = width;
  recipe.height = height;
  const Bytes file = LibpngEncode(recipe, rows);
  ASSERT_FALSE(file.empty());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
}

// A 256 x 256 test font, 16 pixels per glyph: "A" fills its cell, "B" only the top half of
// its cell, every other glyph is empty.
Bytes TestFont() {
  Bytes rgba(256 * 256 * 4, 0);
  auto fill = [&](int code, int rows) {
    int left = (code % 16) * 16, top = (code / 16) * 16;
    for (int y = top; y < top + rows; ++y)
      for (int x = left; x < left + 16; ++x)
        for (int c = 0; c < 4; ++c) rgba[(size_t(y) * 256 + x) * 4 + c] = 255;
  };
  fill('A', 16);
  fill('B', 8);
  return rgba;
}

class RenderedText : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(PlatformStartVideo());
    SetScreenWidth(kWidth);
    SetScreenHeight(kHeight);
    ASSERT_TRUE(PlatformCreateWindow("font test", kWidth, kHeight, 32));
    ASSERT_TRUE(CreateDevice());
    std::filesystem::create_directories(folder_.file("sprites"));
    SetExecFolder((folder_.file("velmora")).c_str());
    AssignSpriteTable();
  }
  void TearDown() override {
    ForgetSpriteTextures();
    ReleaseDevice();
    PlatformDestroyWindow();
  }
  // Texturing and blending on, model-view at (x, y), as the screens draw text.
  static void StartText(float x, float y) {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glLoadIdentity();
    glTranslatef(x, y, 0);
  }
  TempFolder folder_;
};

}  // namespace

TEST_F(RenderedText, GlyphsLandAtTheirAdvanceUprightAndShadowed) {
  WritePng(folder_.file("sprites/font.png"), 256, 256, TestFont());
  ClearToColour(0, 0, 255);
  StartText(40, 100);
  // The first bind of the font loads it and binds it in the same call.
  BindSpriteFrame(7, 0);
  ASSERT_TRUE(SpriteLoaded(7));
  ASSERT_NE(SpriteSlotInfo(7)->texture, 0u);
  glColor4ub(255, 255, 255, 255);
  // 32-pixel glyphs 40 pixels apart: A at x 40..72, B at 80..112, a space, A at 160..192.
  PrintText(32, 32, 8, "AB A");
  glFinish();
  EXPECT_PIXEL(56, 116, 255, 255, 255);
  EXPECT_PIXEL(42, 102, 255, 255, 255);
  EXPECT_PIXEL(70, 130, 255, 255, 255);
  EXPECT_PIXEL(76, 116, 0, 0, 255);               // the spacing between A and B
  EXPECT_PIXEL(96, 126, 255, 255, 255);           // the top half of B is filled ...
  EXPECT_PIXEL(96, 106, 0, 0, 255);               // ... the bottom half is not: B stands upright
  EXPECT_PIXEL(136, 116, 0, 0, 255);              // the space
  EXPECT_PIXEL(176, 116, 255, 255, 255);
  EXPECT_PIXEL(56, 136, 0, 0, 255);               // above the line
  EXPECT_PIXEL(56, 96, 0, 0, 255);                // below it

  // Red text with an opaque shadow 4 pixels right and down, and a second line 32 pixels lower.
  ClearToColour(0, 0, 255);
  StartText(40, 150);
  BindSpriteFrame(7, 0);
  PrintShadowText(32, 32, 0, 4, -4, 255, 255, 0, 0, "A\nA");
  glFinish();
  EXPECT_PIXEL(56, 166, 255, 0, 0);               // first line: x 40..72, y 150..182
  EXPECT_PIXEL(74, 166, 0, 0, 0);                 // its shadow's right edge, x 72..76
  EXPECT_PIXEL(56, 148, 255, 0, 0);               // its shadow's bottom edge lies under line two
  EXPECT_PIXEL(56, 134, 255, 0, 0);               // second line: y 118..150
  EXPECT_PIXEL(74, 120, 0, 0, 0);
  EXPECT_PIXEL(56, 116, 0, 0, 0);                 // its shadow's bottom edge, y 114..118
  EXPECT_PIXEL(56, 112, 0, 0, 255);
  EXPECT_PIXEL(20, 134, 0, 0, 255);               // the line feed's own glyph is empty
  EXPECT_PIXEL(80, 166, 0, 0, 255);
  GLfloat colour[4] = {};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[0], 1.0f) << "the text's colour stays current";
  EXPECT_FLOAT_EQ(colour[1], 0.0f);
  EXPECT_FLOAT_EQ(colour[3], 1.0f);

  // A half-transparent shadow lets half the background through.
  ClearToColour(0, 0, 255);
  StartText(40, 150);
  BindSpriteFrame(7, 0);
  PrintShadowText(32, 32, 0, 4, -4, 128, 255, 255, 255, "A");
  glFinish();
  EXPECT_PIXEL(74, 166, 0, 0, 127);
  EXPECT_PIXEL(56, 166, 255, 255, 255);
}

TEST_F(RenderedText, SpritesShowTheirFramesAndTgaAndPictureFiles) {
  // A 3 x 2 TGA at 24 bits: each row is 9 bytes, so the upload must not assume 4-byte rows.
  const Pixel colours[6] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  std::string tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0};
  for (const Pixel& p : colours) {
    tga.push_back(char(p.b));
    tga.push_back(char(p.g));
    tga.push_back(char(p.r));
  }
  folder_.write("sprites/odd.tga", tga);
  AssignSprite(1, "sprites\\odd.tga", 1, 1, true);
  ClearToColour(0, 0, 0);
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_BLEND);
  glColor4ub(255, 255, 255, 255);
  glLoadIdentity();
  BindSpriteFrame(1, 0);
  ASSERT_NE(SpriteSlotInfo(1)->texture, 0u);
  // The first stored row at t = 0 is drawn at the bottom with a positive height.
  DrawQuad(300, 200);
  glFinish();
  for (int i = 0; i < 6; ++i) {
    int x = 50 + (i % 3) * 100, y = 50 + (i / 3) * 100;
    EXPECT_PIXEL(x, y, colours[i].r, colours[i].g, colours[i].b) << "texel " << i;
  }

  // The 3 x 2 cell grid of the same image: cell (2, 1) alone fills the quad.
  AssignSprite(1, "sprites\\odd.tga", 3, 2, false);
  ClearToColour(0, 0, 0);
  BindSpriteFrame(1, 5);
  DrawQuad(300, 200);
  glFinish();
  EXPECT_PIXEL(150, 100, 255, 0, 255);           // s = 5/6, t = 3/4: the texel's centre

  // A BMP through the picture loader: 2 x 1 pixels, black and green, become a 2 x 1 texture
  // whose black half is transparent.
  std::string bmp = "BM";
  auto put32 = [&](uint32_t v) {
    for (int i = 0; i < 4; ++i) bmp.push_back(char(v >> (8 * i)));
  };
  auto put16 = [&](uint32_t v) {
    bmp.push_back(char(v));
    bmp.push_back(char(v >> 8));
  };
  put32(62);                                      // file size
  put32(0);
  put32(54);                                      // pixels start after both headers
  put32(40);
  put32(2);                                       // width
  put32(1);                                       // height
  put16(1);
  put16(24);
  put32(0);                                       // no compression
  put32(8);                                       // one row of 6 bytes padded to 8
  for (int i = 0; i < 4; ++i) put32(0);
  bmp += std::string("\0\0\0\0\xFF\0\0\0", 8);  // black, then green as B, G, R
  ASSERT_EQ(bmp.size(), 62u);
  folder_.write("sprites/two.bmp", bmp);
  AssignSprite(4, "sprites\\two.bmp", 1, 1, false);
  ClearToColour(0, 0, 255);
  glEnable(GL_BLEND);
  glLoadIdentity();
  BindSpriteFrame(4, 0);
  ASSERT_NE(SpriteSlotInfo(4)->texture, 0u);
  DrawQuad(200, 100);
  glFinish();
  EXPECT_PIXEL(50, 50, 0, 0, 255);                // the texels' centres, s = 1/4 and 3/4
  EXPECT_PIXEL(150, 50, 0, 255, 0);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

TEST_F(RenderedText, TheGameFontIsLegibleWhereTheTextIs) {
  const char* gameFont = VELMORA_SOURCE_DIR "/sprites/font.png";
  if (!std::filesystem::exists(gameFont)) GTEST_SKIP() << "sprites/font.png is not made yet";
  std::filesystem::copy_file(gameFont, folder_.file("sprites/font.png"));
  ClearToColour(0, 0, 0);
  StartText(20, 100);
  BindSpriteFrame(7, 0);
  ASSERT_NE(SpriteSlotInfo(7)->texture, 0u);
  glColor4ub(255, 255, 255, 255);
  // 48-pixel glyphs: H at x 20..68, a space at 68..116, W at 116..164, "." at 164..212.
  PrintText(48, 48, 0, "H W.");
  glFinish();
  std::vector<uint8_t> rgba(size_t(kWidth) * kHeight * 4);
  glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  auto lit = [&](int left, int bottom, int width, int height) {
    int count = 0;
    for (int y = bottom; y < bottom + height; ++y)
      for (int x = left; x < left + width; ++x) count += rgba[(size_t(y) * kWidth + x) * 4] > 128;
    return count;
  };
  int h = lit(20, 100, 48, 48), space = lit(68, 100, 48, 48), w = lit(116, 100, 48, 48);
  int dot = lit(164, 100, 48, 48);
  EXPECT_GT(h, 48 * 48 / 10) << "H has ink";
  EXPECT_GT(w, 48 * 48 / 10) << "W has ink";
  EXPECT_EQ(space, 0) << "the space is blank";
  EXPECT_GT(dot, 0);
  EXPECT_LT(dot, h / 2) << "a full stop is small";
  EXPECT_EQ(lit(0, 0, kWidth, 95) + lit(0, 153, kWidth, kHeight - 153), 0) << "nothing above or below the line";
  // An H has ink in its upper and its lower third alike.
  EXPECT_GT(lit(20, 100, 48, 16), 0);
  EXPECT_GT(lit(20, 132, 48, 16), 0);
}
