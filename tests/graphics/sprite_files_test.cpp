// The committed pictures of sprites/: every file of the sprite table is there, is
// a plain 8-bit RGBA PNG with power-of-two sides of the size sprites/README
// states, and the sheets carry pictures where the game draws frames from them.
// Decoded with libpng (not our own decoder), so this test checks the files alone.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    int colourType = -1;
    int bitDepth = 0;
    std::vector<uint8_t> rgba; // rows top first, 4 bytes per pixel
};

// Reads a PNG with libpng; false when the file is missing or damaged.
bool ReadPicture(const std::string& path, Picture& out) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        std::fclose(file);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    out.width = int(png_get_image_width(png, info));
    out.height = int(png_get_image_height(png, info));
    out.colourType = png_get_color_type(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    if (out.colourType == PNG_COLOR_TYPE_RGB_ALPHA && out.bitDepth == 8) {
        out.rgba.resize(size_t(out.width) * size_t(out.height) * 4);
        for (int y = 0; y < out.height; ++y) png_read_row(png, out.rgba.data() + size_t(y) * size_t(out.width) * 4, nullptr);
        png_read_end(png, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return true;
}

std::string SpritePath(const char* name) {
    return std::string(VELMORA_SOURCE_DIR) + "/sprites/" + name;
}

bool IsPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

// Largest alpha inside one cell of a columns x rows grid.
int CellAlpha(const Picture& p, int columns, int rows, int cell) {
    const int cw = p.width / columns, ch = p.height / rows;
    const int x0 = (cell % columns) * cw, y0 = (cell / columns) * ch;
    int most = 0;
    for (int y = y0; y < y0 + ch; ++y)
        for (int x = x0; x < x0 + cw; ++x) most = std::max<int>(most, p.rgba[(size_t(y) * size_t(p.width) + size_t(x)) * 4 + 3]);
    return most;
}

// Largest alpha on the outermost pixel ring of one cell (the mipmap gutter).
int CellBorderAlpha(const Picture& p, int columns, int rows, int cell) {
    const int cw = p.width / columns, ch = p.height / rows;
    const int x0 = (cell % columns) * cw, y0 = (cell / columns) * ch;
    int most = 0;
    auto at = [&](int x, int y) { return int(p.rgba[(size_t(y) * size_t(p.width) + size_t(x)) * 4 + 3]); };
    for (int i = 0; i < cw; ++i) most = std::max({most, at(x0 + i, y0), at(x0 + i, y0 + ch - 1)});
    for (int i = 0; i < ch; ++i) most = std::max({most, at(x0, y0 + i), at(x0 + cw - 1, y0 + i)});
    return most;
}

struct TableEntry {
    const char* file;
    int width, height;
};

// The sprite table's files with the sizes sprites/README gives.
const TableEntry kTable[] = {
    {"back2.png", 64, 64},          {"pencil.png", 64, 64},           {"cursors.png", 256, 32},
    {"line_gradient2.png", 64, 16}, {"dot.png", 32, 32},              {"to.png", 512, 512},
    {"font.png", 512, 512},         {"buttons1.png", 512, 512},       {"tool_bar.png", 64, 512},
    {"gradient_box.png", 256, 256}, {"flag.png", 128, 128},           {"dots.png", 256, 256},
    {"tool_bar_re.png", 256, 512},  {"nachalo_koord.png", 128, 128},  {"scroll.png", 32, 128},
    {"explain_256_eng.png", 512, 512}, {"explain_re_eng_256.png", 512, 512},
};

TEST(SpriteFiles, EveryTableFileIsAnRgbaPowerOfTwoPngOfTheStatedSize) {
    for (const TableEntry& entry : kTable) {
        SCOPED_TRACE(entry.file);
        Picture p;
        ASSERT_TRUE(ReadPicture(SpritePath(entry.file), p)) << "missing or unreadable";
        EXPECT_EQ(p.colourType, PNG_COLOR_TYPE_RGB_ALPHA);
        EXPECT_EQ(p.bitDepth, 8);
        EXPECT_TRUE(IsPowerOfTwo(p.width)) << p.width;
        EXPECT_TRUE(IsPowerOfTwo(p.height)) << p.height;
        EXPECT_EQ(p.width, entry.width);
        EXPECT_EQ(p.height, entry.height);
        int most = 0;
        for (size_t i = 3; i < p.rgba.size(); i += 4) most = std::max<int>(most, p.rgba[i]);
        EXPECT_GT(most, 0) << "the picture is empty";
    }
}

TEST(SpriteFiles, FontHasBlankControlCellsAndEveryPrintableGlyph) {
    Picture font;
    ASSERT_TRUE(ReadPicture(SpritePath("font.png"), font));
    ASSERT_EQ(font.rgba.size(), size_t(512) * 512 * 4);
    for (int code = 0; code <= 32; ++code) EXPECT_EQ(CellAlpha(font, 16, 16, code), 0) << "code " << code;
    for (int code = 33; code <= 126; ++code)
        EXPECT_GT(CellAlpha(font, 16, 16, code), 128) << "code " << code << " '" << char(code) << "'";
    // No glyph may reach its cell's edge: it would bleed into its neighbours when drawn.
    for (int code = 0; code < 256; ++code) EXPECT_EQ(CellBorderAlpha(font, 16, 16, code), 0) << "code " << code;
    // White on transparent: the game tints the glyphs with the text colour.
    for (size_t i = 0; i < size_t(512) * 512 * 4; i += 4)
        if (font.rgba[i + 3] > 0) {
            ASSERT_TRUE(font.rgba[i] == 255 && font.rgba[i + 1] == 255 && font.rgba[i + 2] == 255) << i;
        }
}

TEST(SpriteFiles, SheetsHavePicturesInEveryFrameTheGameDraws) {
    Picture buttons, cursors, rider, dots;
    ASSERT_TRUE(ReadPicture(SpritePath("buttons1.png"), buttons));
    ASSERT_TRUE(ReadPicture(SpritePath("cursors.png"), cursors));
    ASSERT_TRUE(ReadPicture(SpritePath("to.png"), rider));
    ASSERT_TRUE(ReadPicture(SpritePath("dots.png"), dots));
    ASSERT_FALSE(buttons.rgba.empty());
    ASSERT_FALSE(cursors.rgba.empty());
    ASSERT_FALSE(rider.rgba.empty());
    ASSERT_FALSE(dots.rgba.empty());
    // Frames the two toolbars, the swatch, the slider and the chooser's thumb use.
    const int buttonFrames[] = {0,  1,  3,  4,  5,  6,  7,  8,  9,  10, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
                                25, 26, 28, 29, 31, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46, 47, 48,
                                49, 54, 55};
    for (int frame : buttonFrames) {
        EXPECT_GT(CellAlpha(buttons, 8, 8, frame), 128) << "button frame " << frame;
        EXPECT_EQ(CellBorderAlpha(buttons, 8, 8, frame), 0) << "button frame " << frame << " has no gutter";
    }
    for (int frame = 0; frame < 8; ++frame) EXPECT_GT(CellAlpha(cursors, 8, 1, frame), 128) << "cursor " << frame;
    for (int cell = 0; cell < 16; ++cell) {
        EXPECT_GT(CellAlpha(rider, 4, 4, cell), 128) << "rider cell " << cell;
        EXPECT_EQ(CellBorderAlpha(rider, 4, 4, cell), 0) << "rider cell " << cell << " has no gutter";
    }
    for (int frame : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 13, 14, 15}) {
        EXPECT_GT(CellAlpha(dots, 4, 4, frame), 128) << "dots frame " << frame;
        EXPECT_EQ(CellBorderAlpha(dots, 4, 4, frame), 0) << "dots frame " << frame << " has no gutter";
    }
}

// The game centres each cursor frame at a fixed offset from the pointer, so each
// picture must have its point exactly where that offset puts the pointer: for an
// offset (ox, oy) (y up) the hot spot is at (16 - ox, 16 + oy) from the frame's top left.
TEST(SpriteFiles, CursorPicturesHaveTheirPointsOnTheHotSpots) {
    Picture cursors;
    ASSERT_TRUE(ReadPicture(SpritePath("cursors.png"), cursors));
    ASSERT_FALSE(cursors.rgba.empty());
    struct HotSpot {
        int frame;
        float ox, oy;
    };
    const HotSpot spots[] = {{0, 4, 9}, {1, 4, 9}, {2, 8, 10}, {3, 6, -12}, {4, 0, 0}, {5, 4, 9}, {6, 0, 0}, {7, 0, 0}};
    for (const HotSpot& spot : spots) {
        const int hx = int(16 - spot.ox), hy = int(16 + spot.oy);
        int most = 0;
        for (int y = hy - 1; y <= hy + 1; ++y)
            for (int x = hx - 1; x <= hx + 1; ++x)
                most = std::max<int>(most, cursors.rgba[(size_t(y) * 256 + size_t(spot.frame * 32 + x)) * 4 + 3]);
        EXPECT_GT(most, 128) << "cursor frame " << spot.frame << " has nothing at its hot spot (" << hx << ", " << hy << ")";
    }
    // The arrow's tip is its top-most pixel: nothing above row 3.
    for (int y = 0; y < 3; ++y)
        for (int x = 96; x < 128; ++x) EXPECT_EQ(cursors.rgba[(size_t(y) * 256 + size_t(x)) * 4 + 3], 0) << x << ", " << y;
}

TEST(SpriteFiles, ColourPickerBoxIsOpaqueAndColourful) {
    Picture box;
    ASSERT_TRUE(ReadPicture(SpritePath("gradient_box.png"), box));
    ASSERT_FALSE(box.rgba.empty());
    for (size_t i = 3; i < box.rgba.size(); i += 4) ASSERT_EQ(box.rgba[i], 255) << "pixel " << i / 4;
    // The sampled area runs from white at the top to black at the bottom and
    // holds saturated colours across its middle row.
    auto pixel = [&](int x, int y) { return &box.rgba[(size_t(y) * 256 + size_t(x)) * 4]; };
    const uint8_t* top = pixel(128, 3);
    const uint8_t* bottom = pixel(128, 251);
    EXPECT_GT(top[0] + top[1] + top[2], 3 * 240);
    EXPECT_LT(bottom[0] + bottom[1] + bottom[2], 3 * 15);
    int saturated = 0;
    for (int x = 20; x <= 252; ++x) {
        const uint8_t* p = pixel(x, 127);
        const int hi = std::max({p[0], p[1], p[2]}), lo = std::min({p[0], p[1], p[2]});
        if (hi - lo > 200) ++saturated;
    }
    EXPECT_GT(saturated, 150);
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The committed art must be what the generator makes today: a change to the
// generator without its regenerated pictures (or a hand-edited PNG) fails here.
TEST(SpriteFiles, TheGeneratorRemakesTheCommittedBytes) {
    const std::filesystem::path tool = std::filesystem::path(VELMORA_BINARY_DIR) / "make-sprites";
    if (!std::filesystem::exists(tool)) GTEST_SKIP() << "make-sprites is not built (VELMORA_TOOLS=OFF)";
    const std::filesystem::path out = std::filesystem::path(VELMORA_BINARY_DIR) / "sprite-check";
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    const std::string command = std::string("\"") + tool.string() + "\" \"" + out.string() + "\" > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const TableEntry& entry : kTable) {
        SCOPED_TRACE(entry.file);
        const std::vector<char> made = FileBytes((out / entry.file).string());
        ASSERT_FALSE(made.empty());
        EXPECT_TRUE(made == FileBytes(SpritePath(entry.file))) << "sprites/ is out of date: run make-sprites sprites";
    }
}

} // namespace
