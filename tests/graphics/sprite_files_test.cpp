// The committed pictures of sprites/: every file the sprite table names is there as a plain
// 8-bit RGBA PNG with power-of-two sides, the sheets carry pictures where the game draws frames
// from them, and the generator remakes them byte for byte. Decoded with libpng (not our own
// decoder), so this test checks the files alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "graphics/sprites.h"
#include "support/libpng_reference.h"
#include "support/temp_folder.h"
#include "track/cursor.h"

namespace {

std::vector<uint8_t> FileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Picture {
  std::vector<uint8_t> file;
  std::vector<uint8_t> rgba;                      // rows top first, 4 bytes per pixel
  uint32_t width = 0, height = 0;                 // pixels
  int alpha(uint32_t x, uint32_t y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

Picture Sprite(const std::string& name) {
  Picture p;
  p.file = FileBytes(std::filesystem::path(VELMORA_SOURCE_DIR) / "sprites" / name);
  EXPECT_TRUE(LibpngDecodeRgba(p.file, &p.rgba, &p.width, &p.height)) << name << " is missing or unreadable";
  return p;
}

// The file names of the start-up sprite table.
std::set<std::string> TableFiles() {
  SetExecFolder("/game/velmora");
  ForgetSpriteTextures();
  AssignSpriteTable();
  std::set<std::string> files;
  for (int slot = 0; slot < kSpriteSlotCount; ++slot) {
    const std::string path = SpriteSlotInfo(slot)->path;
    if (!path.empty()) files.insert(path.substr(path.rfind('\\') + 1));
  }
  return files;
}

// Largest alpha inside one cell of a columns x rows grid, or on its outermost ring of pixels
// (the mipmap gutter).
int CellAlpha(const Picture& p, uint32_t columns, uint32_t rows, uint32_t cell, bool borderOnly = false) {
  const uint32_t cw = p.width / columns, ch = p.height / rows;
  const uint32_t x0 = (cell % columns) * cw, y0 = (cell / columns) * ch;
  int most = 0;
  for (uint32_t y = y0; y < y0 + ch; ++y) {
    for (uint32_t x = x0; x < x0 + cw; ++x) {
      const bool border = x == x0 || y == y0 || x == x0 + cw - 1 || y == y0 + ch - 1;
      if (border || !borderOnly) most = std::max(most, p.alpha(x, y));
    }
  }
  return most;
}

TEST(SpriteFiles, EveryTableFileIsANonEmptyRgbaPowerOfTwoPng) {
  const std::set<std::string> files = TableFiles();
  EXPECT_GE(files.size(), 17u);
  for (const std::string& name : files) {
    SCOPED_TRACE(name);
    const Picture p = Sprite(name);
    ASSERT_GT(p.file.size(), 26u);
    EXPECT_EQ(std::pair(p.file[24], p.file[25]), std::pair(uint8_t(8), uint8_t(6))) << "bit depth, colour type";
    EXPECT_TRUE(p.width > 0 && (p.width & (p.width - 1)) == 0) << p.width;
    EXPECT_TRUE(p.height > 0 && (p.height & (p.height - 1)) == 0) << p.height;
    EXPECT_GT(CellAlpha(p, 1, 1, 0), 0) << "the picture is empty";
  }
}

TEST(SpriteFiles, FontHasBlankControlCellsAndEveryPrintableGlyphInWhite) {
  const Picture font = Sprite("font.png");
  ASSERT_EQ(font.rgba.size(), size_t(512) * 512 * 4);
  for (uint32_t code = 0; code < 256; ++code) {
    SCOPED_TRACE(code);
    if (code <= 32) { EXPECT_EQ(CellAlpha(font, 16, 16, code), 0); }
    if (code > 32 && code < 127) { EXPECT_GT(CellAlpha(font, 16, 16, code), 128); }
    // A glyph reaching its cell's edge would bleed into its neighbours when drawn.
    EXPECT_EQ(CellAlpha(font, 16, 16, code, true), 0);
  }
  // The game tints the glyphs with the text colour.
  for (size_t i = 0; i < font.rgba.size(); i += 4) {
    if (font.rgba[i + 3] > 0) { ASSERT_EQ(font.rgba[i] + font.rgba[i + 1] + font.rgba[i + 2], 3 * 255) << i; }
  }
}

TEST(SpriteFiles, SheetsHavePicturesInEveryFrameTheGameDraws) {
  const struct {
    const char* file;
    uint32_t columns, rows;
    std::vector<uint32_t> frames;
    bool gutter;
  } sheets[] = {
      // The two toolbars, the swatch, the slider and the chooser's thumb.
      {"buttons1.png", 8, 8, {0,  1,  3,  4,  5,  6,  7,  8,  9,  10, 12, 13, 15, 16, 17, 18,
                              19, 20, 21, 22, 23, 24, 25, 26, 28, 29, 31, 32, 33, 34, 35, 36,
                              37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 54, 55}, true},
      {"cursors.png", 8, 1, {0, 1, 2, 3, 4, 5, 6, 7}, false},
      {"to.png", 4, 4, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}, true},
      {"dots.png", 4, 4, {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13, 14, 15}, true},
  };
  for (const auto& sheet : sheets) {
    const Picture p = Sprite(sheet.file);
    ASSERT_FALSE(p.rgba.empty());
    for (uint32_t frame : sheet.frames) {
      SCOPED_TRACE(testing::Message() << sheet.file << " frame " << frame);
      EXPECT_GT(CellAlpha(p, sheet.columns, sheet.rows, frame), 128);
      if (sheet.gutter) { EXPECT_EQ(CellAlpha(p, sheet.columns, sheet.rows, frame, true), 0); }
    }
  }
}

// The cursor is drawn centred on the pointer moved by its shape's offset (y up), so the picture
// must have its point where that offset puts the pointer.
TEST(SpriteFiles, CursorPicturesHaveTheirPointsOnTheHotSpots) {
  const Picture cursors = Sprite("cursors.png");
  ASSERT_EQ(cursors.height, 32u);
  for (int shape : {1, 2, 3, 4, 6, 7, 8, 9}) {
    Cursor c;
    SetCursorShape(c, CursorShape(shape));
    const uint32_t hx = uint32_t(c.frame) * 32 + uint32_t(c.halfWidth - c.offsetX);
    const uint32_t hy = uint32_t(c.halfHeight + c.offsetY);
    int most = 0;
    for (uint32_t y = hy - 1; y <= hy + 1; ++y) {
      for (uint32_t x = hx - 1; x <= hx + 1; ++x) most = std::max(most, cursors.alpha(x, y));
    }
    EXPECT_GT(most, 128) << "shape " << shape << " has nothing at its hot spot (" << hx << ", " << hy << ")";
  }
}

TEST(SpriteFiles, ColourPickerBoxIsOpaqueWhiteToBlackAndColourful) {
  const Picture box = Sprite("gradient_box.png");
  ASSERT_EQ(box.width, 256u);
  for (size_t i = 3; i < box.rgba.size(); i += 4) ASSERT_EQ(box.rgba[i], 255) << "pixel " << i / 4;
  auto pixel = [&](uint32_t x, uint32_t y) { return &box.rgba[(size_t(y) * 256 + x) * 4]; };
  EXPECT_GT(pixel(128, 3)[0] + pixel(128, 3)[1] + pixel(128, 3)[2], 3 * 240);
  EXPECT_LT(pixel(128, 251)[0] + pixel(128, 251)[1] + pixel(128, 251)[2], 3 * 15);
  int saturated = 0;
  for (uint32_t x = 20; x <= 252; ++x) {
    const uint8_t* p = pixel(x, 127);
    saturated += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 200;
  }
  EXPECT_GT(saturated, 150);
}

// A change to the generator without its regenerated pictures (or a hand-edited PNG) fails here.
TEST(SpriteFiles, TheGeneratorRemakesTheCommittedBytes) {
  const std::filesystem::path tool = std::filesystem::path(VELMORA_BINARY_DIR) / "make-sprites";
  if (!std::filesystem::exists(tool)) GTEST_SKIP() << "make-sprites is not built (VELMORA_TOOLS=OFF)";
  TempFolder out;
  const std::string command = "\"" + tool.string() + "\" \"" + out.path.string() + "\" > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  for (const std::string& name : TableFiles()) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> made = FileBytes(out.path / name);
    ASSERT_FALSE(made.empty());
    EXPECT_TRUE(made == Sprite(name).file) << "sprites/ is out of date: run make-sprites sprites";
  }
}

}  // namespace
