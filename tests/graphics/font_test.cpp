#include "graphics/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

// Records the glyph draws instead of calling the display lists.
namespace {

struct Draw {
  bool isColour = false;
  int code = 0;
  float x = 0, y = 0, scaleX = 0, scaleY = 0, offsetX = 0, offsetY = 0;
  int r = 0, g = 0, b = 0, a = 0;
};
std::vector<Draw> draws;

void RecordGlyph(uint8_t code, float x, float y, float scaleX, float scaleY, float offsetX, float offsetY) {
  Draw d;
  d.code = code;
  d.x = x;
  d.y = y;
  d.scaleX = scaleX;
  d.scaleY = scaleY;
  d.offsetX = offsetX;
  d.offsetY = offsetY;
  draws.push_back(d);
}

void RecordColour(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
  Draw d;
  d.isColour = true;
  d.r = r;
  d.g = g;
  d.b = b;
  d.a = a;
  draws.push_back(d);
}

class FontLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FontGlyphSink();
    FontGlyphSink() = {RecordGlyph, RecordColour};
    draws.clear();
  }
  void TearDown() override { FontGlyphSink() = saved_; }
  GlyphSink saved_;
};

std::vector<Draw> Glyphs() {
  std::vector<Draw> glyphs;
  for (const Draw& d : draws)
    if (!d.isColour) glyphs.push_back(d);
  return glyphs;
}

}  // namespace

TEST_F(FontLayout, PrintTextAdvancesByScalePlusSpacing) {
  PrintText(10, 14, 2, "%s%d", "ab", 7);
  ASSERT_EQ(draws.size(), 3u);
  const char expected[] = "ab7";
  for (int n = 0; n < 3; ++n) {
    EXPECT_FALSE(draws[n].isColour) << "PrintText leaves the colour to the caller";
    EXPECT_EQ(draws[n].code, expected[n]);
    EXPECT_FLOAT_EQ(draws[n].x, 12.0f * n);
    EXPECT_FLOAT_EQ(draws[n].y, 0);
    EXPECT_FLOAT_EQ(draws[n].scaleX, 10);
    EXPECT_FLOAT_EQ(draws[n].scaleY, 14);
    EXPECT_FLOAT_EQ(draws[n].offsetX, 0);
    EXPECT_FLOAT_EQ(draws[n].offsetY, 0);
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
  EXPECT_TRUE(draws.empty());
}

TEST_F(FontLayout, ShadowTextDrawsShadowThenColourAndFollowsLineFeeds) {
  PrintShadowText(10, 10, 0, 1, -1, 128, 255, 100, 0, "AB\nC");
  ASSERT_EQ(draws.size(), 16u) << "four glyphs, each a shadow and a face with their colours";
  for (size_t i = 0; i < draws.size(); i += 4) {
    const Draw& shadowColour = draws[i];
    const Draw& shadow = draws[i + 1];
    const Draw& faceColour = draws[i + 2];
    const Draw& face = draws[i + 3];
    ASSERT_TRUE(shadowColour.isColour);
    EXPECT_EQ(shadowColour.r + shadowColour.g + shadowColour.b, 0);
    EXPECT_EQ(shadowColour.a, 128);
    // One pixel right and down inside a 10-pixel glyph frame is a tenth of a glyph.
    EXPECT_FLOAT_EQ(shadow.offsetX, 0.1f);
    EXPECT_FLOAT_EQ(shadow.offsetY, -0.1f);
    ASSERT_TRUE(faceColour.isColour);
    EXPECT_EQ(faceColour.r, 255);
    EXPECT_EQ(faceColour.g, 100);
    EXPECT_EQ(faceColour.b, 0);
    EXPECT_EQ(faceColour.a, 255);
    EXPECT_FLOAT_EQ(face.offsetX, 0);
    EXPECT_FLOAT_EQ(face.offsetY, 0);
    EXPECT_EQ(face.code, shadow.code);
    EXPECT_FLOAT_EQ(face.x, shadow.x);
    EXPECT_FLOAT_EQ(face.y, shadow.y);
  }
  std::vector<Draw> glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 8u);
  EXPECT_EQ(glyphs[1].code, 'A');
  EXPECT_FLOAT_EQ(glyphs[1].x, 0);
  EXPECT_FLOAT_EQ(glyphs[3].x, 10);
  EXPECT_FLOAT_EQ(glyphs[3].y, 0);
  // The line feed's own glyph sits one advance left of the second line's start.
  EXPECT_EQ(glyphs[5].code, '\n');
  EXPECT_FLOAT_EQ(glyphs[5].x, -10);
  EXPECT_FLOAT_EQ(glyphs[5].y, -10);
  EXPECT_EQ(glyphs[7].code, 'C');
  EXPECT_FLOAT_EQ(glyphs[7].x, 0);
  EXPECT_FLOAT_EQ(glyphs[7].y, -10);
}

TEST_F(FontLayout, ShadowTextLinesStepDownByTheGlyphHeight) {
  // Scale 20 x 30, spacing 4, shadow (2, -2) as the on-screen display uses it.
  PrintShadowText(20, 30, 4, 2, -2, 100, 1, 2, 3, "%d\n\n%s", 12, "xy");
  std::vector<Draw> glyphs = Glyphs();
  ASSERT_EQ(glyphs.size(), 12u);
  const Draw& shadowOfOne = glyphs[0];
  EXPECT_FLOAT_EQ(shadowOfOne.offsetX, 0.1f);
  EXPECT_FLOAT_EQ(shadowOfOne.offsetY, -2.0f / 30.0f);
  EXPECT_FLOAT_EQ(glyphs[3].x, 24);               // '2'
  EXPECT_FLOAT_EQ(glyphs[9].x, 0);                // 'x' on the third line
  EXPECT_FLOAT_EQ(glyphs[9].y, -60);
  EXPECT_FLOAT_EQ(glyphs[11].x, 24);              // 'y'
  EXPECT_FLOAT_EQ(glyphs[11].y, -60);
  EXPECT_FALSE(draws.back().isColour);
  EXPECT_EQ(draws[draws.size() - 2].r, 1) << "the colour is left at the text's colour";

  draws.clear();
  PrintShadowText(10, 10, 0, 1, -1, 128, 255, 255, 255, nullptr);
  EXPECT_TRUE(draws.empty());
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
  // A formatted caption printed with "%s" draws as it reads.
  draws.clear();
  PrintText(8, 8, 1, "%s", FormatText("lines %d", 42));
  ASSERT_EQ(draws.size(), 8u);
  EXPECT_EQ(draws[6].code, '4');
  EXPECT_FLOAT_EQ(draws[7].x, 63);
}
