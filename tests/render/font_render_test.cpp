// Text and sprites drawn by the real GL device under the test's X display, read back pixel by pixel.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "graphics/font.h"
#include "gui/picture_file.h"
#include "render_window.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Pixel { int r, g, b; };
struct Expected { int x, y; Pixel colour; };

void ExpectPixels(std::initializer_list<Expected> pixels, int tolerance = 2) {
  for (const auto& [x, y, want] : pixels) {
    uint8_t p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    EXPECT_TRUE(abs(p[0] - want.r) <= tolerance && abs(p[1] - want.g) <= tolerance && abs(p[2] - want.b) <= tolerance)
        << "pixel (" << x << ", " << y << ") is (" << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2])
        << "), want (" << want.r << ", " << want.g << ", " << want.b << ")";
  }
}

constexpr Pixel kWhite{255, 255, 255}, kBlue{0, 0, 255}, kRed{255, 0, 0}, kBlack{0, 0, 0};

class RenderedText : public RenderWindow<kWidth, kHeight> {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(RenderWindow::SetUp());
    std::filesystem::create_directories(folder_.file("sprites"));
    SetExecFolder((folder_.file("velmora")).c_str());
    AssignSpriteTable();
  }
  // A cleared blue (or black) window, texturing on, white, model-view at (x, y) and the sprite's
  // frame bound (by default the font, blended, as the screens draw text).
  static void Start(float x, float y, uint8_t blue = 255, int slot = 7, int frame = 0, bool blend = true) {
    ClearToColour(0, 0, blue);
    glEnable(GL_TEXTURE_2D);
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    glColor4ub(255, 255, 255, 255);
    glLoadIdentity();
    glTranslatef(x, y, 0);
    BindSpriteFrame(slot, frame);
    ASSERT_NE(SpriteSlotInfo(slot)->texture, 0u);
  }
  TempFolder folder_;
};

}  // namespace

TEST_F(RenderedText, GlyphsLandAtTheirAdvanceUprightAndShadowed) {
  // A 256 x 256 font of 16-pixel cells: "A" fills its cell, "B" only the top half of its cell.
  WritePicture(folder_, "sprites/font.png", 256, 256, [](int row, int col) {
    const int code = row / 16 * 16 + col / 16;
    const uint8_t ink = code == 'A' || (code == 'B' && row % 16 < 8) ? 255 : 0;
    return std::array<uint8_t, 4>{ink, ink, ink, ink};
  });
  // The first bind of the font loads it and binds it in the same call.
  ASSERT_NO_FATAL_FAILURE(Start(40, 100));
  ASSERT_TRUE(SpriteLoaded(7));
  // 32-pixel glyphs 40 pixels apart: A at x 40..72, B at 80..112, a space, A at 160..192.
  PrintText(32, 32, 8, "AB A");
  // A filled; the spacing after it; B's top half filled, its bottom half not (B stands upright);
  // the space; the second A; above the line and below it.
  ExpectPixels({{56, 116, kWhite}, {42, 102, kWhite}, {70, 130, kWhite}, {76, 116, kBlue}, {96, 126, kWhite},
                {96, 106, kBlue}, {136, 116, kBlue}, {176, 116, kWhite}, {56, 136, kBlue}, {56, 96, kBlue}});

  // Red text with an opaque shadow 4 pixels right and down, and a second line 32 pixels lower.
  Start(40, 150);
  PrintShadowText(32, 32, 0, 4, -4, 255, 255, 0, 0, "A\nA");
  // First line x 40..72, y 150..182, its shadow's right edge x 72..76, its bottom edge under line
  // two; second line y 118..150, its shadow's bottom edge y 114..118; the line feed's glyph empty.
  ExpectPixels({{56, 166, kRed}, {74, 166, kBlack}, {56, 148, kRed}, {56, 134, kRed}, {74, 120, kBlack},
                {56, 116, kBlack}, {56, 112, kBlue}, {20, 134, kBlue}, {80, 166, kBlue}});
  GLfloat colour[4] = {};
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_EQ(std::tuple(colour[0], colour[1], colour[3]), std::tuple(1.0f, 0.0f, 1.0f)) << "the text's colour stays current";

  // A half-transparent shadow lets half the background through.
  Start(40, 150);
  PrintShadowText(32, 32, 0, 4, -4, 128, 255, 255, 255, "A");
  ExpectPixels({{74, 166, {0, 0, 127}}, {56, 166, kWhite}});
}

TEST_F(RenderedText, SpritesShowTheirFramesAndTgaAndPictureFiles) {
  // A 3 x 2 TGA at 24 bits: each row is 9 bytes, so the upload must not assume 4-byte rows.
  const Pixel colours[6] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255}};
  std::string tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 24, 0};
  for (const Pixel& p : colours) tga += {char(p.b), char(p.g), char(p.r)};
  folder_.write("sprites/odd.tga", tga);
  AssignSprite(1, "sprites\\odd.tga", 1, 1, true);
  ASSERT_NO_FATAL_FAILURE(Start(0, 0, 0, 1, 0, false));
  // The first stored row at t = 0 is drawn at the bottom with a positive height.
  DrawQuad(300, 200);
  for (int i = 0; i < 6; ++i) ExpectPixels({{50 + (i % 3) * 100, 50 + (i / 3) * 100, colours[i]}});

  // The 3 x 2 cell grid of the same image: cell (2, 1) alone fills the quad.
  AssignSprite(1, "sprites\\odd.tga", 3, 2, false);
  Start(0, 0, 0, 1, 5, false);
  DrawQuad(300, 200);
  ExpectPixels({{150, 100, {255, 0, 255}}});      // s = 5/6, t = 3/4: the texel's centre

  // A BMP through the picture loader: 2 x 1 pixels, black and green, become a 2 x 1 texture
  // whose black half is transparent.
  // File size 62, pixels at 54, a 40-byte header for 2 x 1 pixels of 24 bits uncompressed, one
  // row of 6 bytes padded to 8: black, then green as B, G, R.
  const std::string bmp("BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0"
                        "\0\0\0\0\x08\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0"
                        "\0\0\0\0\xFF\0\0\0",
                        62);
  folder_.write("sprites/two.bmp", bmp);
  AssignSprite(4, "sprites\\two.bmp", 1, 1, false);
  ASSERT_NO_FATAL_FAILURE(Start(0, 0, 255, 4));
  DrawQuad(200, 100);
  ExpectPixels({{50, 50, kBlue}, {150, 50, {0, 255, 0}}});  // the texels' centres, s = 1/4 and 3/4
}

TEST_F(RenderedText, TheDeviceClearsAndDrawsAQuadAndADiscWhereTheProjectionSays) {
  ClearToColour(0, 0, 255);
  glDisable(GL_TEXTURE_2D);
  glColor4ub(255, 0, 0, 255);
  glLoadIdentity();
  glTranslatef(100, 50, 0);
  DrawQuad(40, 30);
  DrawDisc(100, 150, 20);
  // The quad covers x 100..140, y 50..80 from the bottom left; the disc's centre is (100, 150)
  // plus the translation, its radius 20.
  ExpectPixels({{120, 65, kRed}, {90, 65, kBlue}, {210, 200, kRed}, {210, 225, kBlue}}, 0);
  EXPECT_EQ(std::tuple(CircleVertexCount(10), CircleVertexCount(11), CircleVertexCount(0.5f)), std::tuple(10, 6, 0));
}

TEST_F(RenderedText, TheGameFontIsLegibleWhereTheTextIs) {
  const char* gameFont = VELMORA_SOURCE_DIR "/sprites/font.png";
  if (!std::filesystem::exists(gameFont)) GTEST_SKIP() << "sprites/font.png is not made yet";
  std::filesystem::copy_file(gameFont, folder_.file("sprites/font.png"));
  ASSERT_NO_FATAL_FAILURE(Start(20, 100, 0));
  // 48-pixel glyphs: H at x 20..68, a space at 68..116, W at 116..164, "." at 164..212.
  PrintText(48, 48, 0, "H W.");
  const std::vector<uint8_t> rgba = ReadScreen();
  auto lit = [&](int left, int bottom, int width, int height) {
    int count = 0;
    for (int y = bottom; y < bottom + height; ++y)
      for (int x = left; x < left + width; ++x) count += rgba[(size_t(y) * kWidth + x) * 4] > 128;
    return count;
  };
  const int h = lit(20, 100, 48, 48), space = lit(68, 100, 48, 48);
  const int w = lit(116, 100, 48, 48), dot = lit(164, 100, 48, 48);
  EXPECT_TRUE(h > 48 * 48 / 10 && w > 48 * 48 / 10) << "H and W have ink: " << h << ", " << w;
  EXPECT_EQ(space, 0) << "the space is blank";
  EXPECT_TRUE(dot > 0 && dot < h / 2) << "a full stop is small: " << dot;
  EXPECT_EQ(lit(0, 0, kWidth, 95) + lit(0, 153, kWidth, kHeight - 153), 0) << "nothing above or below the line";
  // An H has ink in its upper and its lower third alike.
  EXPECT_TRUE(lit(20, 100, 48, 16) > 0 && lit(20, 132, 48, 16) > 0);
}
