#include "graphics/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

// Records the glyph draws and colour changes instead of calling the display lists.
namespace {

struct Draw {
  bool isColour = false;
  int code = 0;                                   // glyph, or the colour's r, g, b, a below
  float x = 0, y = 0, scaleX = 0, scaleY = 0, offsetX = 0, offsetY = 0;
  int r = 0, g = 0, b = 0, a = 0;
};
std::vector<Draw> draws;

class FontLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FontGlyphSink();
    FontGlyphSink() = {[](uint8_t code, float x, float y, float sx, float sy, float ox, float oy) {
                         draws.push_back({false, code, x, y, sx, sy, ox, oy});
                       },
                       [](uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
                         draws.push_back({true, 0, 0, 0, 0, 0, 0, 0, r, g, b, a});
                       }};
    draws.clear();
  }
  void TearDown() override { FontGlyphSink() = saved_; }
  GlyphSink saved_;
};

std::vector<Draw> Glyphs() {
  std::vector<Draw> glyphs;
  for (const Draw& d : draws) {
    if (!d.isColour) glyphs.push_back(d);
  }
  return glyphs;
}

}  // namespace

TEST_F(FontLayout, PrintTextAdvancesByScalePlusSpacing) {
  PrintText(10, 14, 2, "%s%d", "ab", 7);
  ASSERT_EQ(draws.size(), 3u);
  for (int n = 0; n < 3; ++n) {
    EXPECT_FALSE(draws[n].isColour) << "PrintText leaves the colour to the caller";
    EXPECT_EQ(draws[n].code, "ab7"[n]);
    EXPECT_FLOAT_EQ(draws[n].x, 12.0f * n);
    EXPECT_FLOAT_EQ(draws[n].y, 0);
    EXPECT_FLOAT_EQ(draws[n].scaleX, 10);
    EXPECT_FLOAT_EQ(draws[n].scaleY, 14);
    EXPECT_FLOAT_EQ(draws[n].offsetX + draws[n].offsetY, 0);
  }
  // Negative spacing packs glyphs closer; bytes above 127 name glyphs of the lower grid half.
  draws.clear();
  PrintText(20, 20, -5, "x\xC1\xFF");
  ASSERT_EQ(draws.size(), 3u);
  EXPECT_FLOAT_EQ(draws[2].x, 30);
  EXPECT_EQ(draws[1].code, 0xC1);
  EXPECT_EQ(draws[2].code, 255);

  draws.clear();
  PrintText(10, 10, 0, nullptr);
  PrintText(10, 10, 0, "%s", "");
  PrintShadowText(10, 10, 0, 1, -1, 128, 255, 255, 255, nullptr);
  EXPECT_TRUE(draws.empty());
}

TEST_F(FontLayout, ShadowTextDrawsShadowThenFaceAndStepsDownAtLineFeeds) {
  // Scale 20 x 30, spacing 4, shadow (2, -2) as the on-screen display uses it.
  PrintShadowText(20, 30, 4, 2, -2, 128, 255, 100, 0, "%d\n\n%s", 12, "xy");
  ASSERT_EQ(draws.size(), 24u) << "six glyphs, each a shadow and a face with their colours";
  for (size_t i = 0; i < draws.size(); i += 4) {
    const Draw &shadowColour = draws[i], &shadow = draws[i + 1], &faceColour = draws[i + 2], &face = draws[i + 3];
    ASSERT_TRUE(shadowColour.isColour && faceColour.isColour);
    EXPECT_EQ(shadowColour.r + shadowColour.g + shadowColour.b, 0);
    EXPECT_EQ(shadowColour.a, 128);
    // Two pixels right and down inside a 20 x 30 glyph frame.
    EXPECT_FLOAT_EQ(shadow.offsetX, 0.1f);
    EXPECT_FLOAT_EQ(shadow.offsetY, -2.0f / 30.0f);
    EXPECT_EQ(std::tie(faceColour.r, faceColour.g, faceColour.b, faceColour.a), std::make_tuple(255, 100, 0, 255));
    EXPECT_FLOAT_EQ(face.offsetX + face.offsetY, 0);
    EXPECT_EQ(face.code, shadow.code);
    EXPECT_FLOAT_EQ(face.x, shadow.x);
    EXPECT_FLOAT_EQ(face.y, shadow.y);
  }
  const std::vector<Draw> glyphs = Glyphs();
  const struct {
    int code;
    float x, y;
  } faces[] = {{'1', 0, 0}, {'2', 24, 0}, {'\n', -24, -30}, {'\n', -24, -60}, {'x', 0, -60}, {'y', 24, -60}};
  for (size_t n = 0; n < 6; ++n) {
    SCOPED_TRACE(n);
    // A line feed's own glyph sits one advance left of the next line's start.
    EXPECT_EQ(glyphs[2 * n + 1].code, faces[n].code);
    EXPECT_FLOAT_EQ(glyphs[2 * n + 1].x, faces[n].x);
    EXPECT_FLOAT_EQ(glyphs[2 * n + 1].y, faces[n].y);
  }
  EXPECT_FALSE(draws.back().isColour) << "the colour is left at the text's colour";
}

TEST_F(FontLayout, TextIsCutTo255Characters) {
  std::string longText(300, 'w');
  PrintText(1, 1, 0, "%s", longText.c_str());
  EXPECT_EQ(draws.size(), 255u);
  draws.clear();
  PrintShadowText(1, 1, 0, 0, 0, 0, 0, 0, 0, "%s!", longText.c_str());
  EXPECT_EQ(Glyphs().size(), 2u * 255);

  EXPECT_EQ(FormatText(nullptr), nullptr);
  const char* formatted = FormatText("%s%s", longText.c_str(), longText.c_str());
  ASSERT_NE(formatted, nullptr);
  EXPECT_EQ(strlen(formatted), 255u);
  formatted = FormatText("%d:%02d", 3, 7);
  EXPECT_STREQ(formatted, "3:07");
  // Nothing of the longer text is left behind the new one.
  for (int i = 5; i < kTextCapacity; ++i) ASSERT_EQ(formatted[i], 0) << i;
}
