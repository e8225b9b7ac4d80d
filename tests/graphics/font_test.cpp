#include "graphics/font.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

// Records the glyph draws and colour changes instead of calling the display lists. Shadows,
// line feeds and the colour left current are checked on screen in tests/render/font_render_test.
namespace {

struct Draw {
  bool isColour = false;
  int code = 0;                                   // glyph
  float x = 0, y = 0, scaleX = 0, scaleY = 0, offsetX = 0, offsetY = 0;
  bool operator==(const Draw&) const = default;
};
std::vector<Draw> draws;

class FontLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = FontGlyphSink();
    FontGlyphSink() = {[](uint8_t code, float x, float y, float sx, float sy, float ox, float oy) {
                         draws.push_back({false, code, x, y, sx, sy, ox, oy});
                       },
                       [](uint8_t, uint8_t, uint8_t, uint8_t) { draws.push_back({true}); }};
    draws.clear();
  }
  void TearDown() override { FontGlyphSink() = saved_; }
  GlyphSink saved_;
};

}  // namespace

TEST_F(FontLayout, PrintTextAdvancesByScalePlusSpacing) {
  // PrintText leaves the colour to the caller: glyph draws only, 10 + 2 apart.
  PrintText(10, 14, 2, "%s%d", "ab", 7);
  EXPECT_EQ(draws, (std::vector<Draw>{{false, 'a', 0, 0, 10, 14}, {false, 'b', 12, 0, 10, 14},
                                      {false, '7', 24, 0, 10, 14}}));
  // Negative spacing packs glyphs closer; bytes above 127 name glyphs of the lower grid half.
  draws.clear();
  PrintText(20, 20, -5, "x\xC1\xFF");
  EXPECT_EQ(draws, (std::vector<Draw>{{false, 'x', 0, 0, 20, 20}, {false, 0xC1, 15, 0, 20, 20},
                                      {false, 255, 30, 0, 20, 20}}));

  draws.clear();
  PrintText(10, 10, 0, nullptr);
  PrintText(10, 10, 0, "%s", "");
  PrintShadowText(10, 10, 0, 1, -1, 128, 255, 255, 255, nullptr);
  EXPECT_TRUE(draws.empty());
}

TEST_F(FontLayout, TextIsCutTo255Characters) {
  std::string longText(300, 'w');
  PrintText(1, 1, 0, "%s", longText.c_str());
  EXPECT_EQ(draws.size(), 255u);
  draws.clear();
  PrintShadowText(1, 1, 0, 0, 0, 0, 0, 0, 0, "%s!", longText.c_str());
  EXPECT_EQ(std::count_if(draws.begin(), draws.end(), [](const Draw& d) { return !d.isColour; }), 2 * 255);

  EXPECT_EQ(FormatText(nullptr), nullptr);
  const char* formatted = FormatText("%s%s", longText.c_str(), longText.c_str());
  ASSERT_NE(formatted, nullptr);
  EXPECT_EQ(strlen(formatted), 255u);
  formatted = FormatText("%d:%02d", 3, 7);
  EXPECT_STREQ(formatted, "3:07");
  // Nothing of the longer text is left behind the new one.
  for (int i = 5; i < kTextCapacity; ++i) ASSERT_EQ(formatted[i], 0) << i;
}
