#include "graphics/sprites.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/log.h"
#include "support/temp_folder.h"

// Stands in for the GL device: hands out fresh texture names and records every call.
namespace {

struct Call {
  std::string what;                               // "png", "tga", "picture", "delete", "bind", "cell"
  std::string path;
  int a = 0, b = 0, c = 0, d = 0;
  bool operator==(const Call&) const = default;
};

struct FakeDevice {
  std::vector<Call> calls;
  unsigned int nextName = 100;
  bool failLoads = false;
  int liveTextures = 0;                           // made minus deleted
};
FakeDevice fake;

// Records the call, then hands out a fresh name, or 0 while loads fail.
unsigned int Made(const Call& call) {
  fake.calls.push_back(call);
  if (fake.failLoads) return 0;
  ++fake.liveTextures;
  return fake.nextName++;
}

const SpriteDevice kFakeDevice = {
    [](const char* path, bool mipmaps) { return Made({"png", path, mipmaps}); },
    [](const char* path) { return Made({"tga", path}); },
    [](const char* path, unsigned int* name) { return (*name = Made({"picture", path})) != 0; },
    [](unsigned int name) {
      fake.calls.push_back({"delete", "", int(name)});
      --fake.liveTextures;
    },
    [](unsigned int name) { fake.calls.push_back({"bind", "", int(name)}); },
    [](int across, int down, int column, int row) { fake.calls.push_back({"cell", "", across, down, column, row}); },
};

class SpriteTable : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = SpriteDeviceTable();
    SpriteDeviceTable() = kFakeDevice;
    fake = FakeDevice();
    SetExecFolder("\\game\\velmora");
    ForgetSpriteTextures();
    AssignSpriteTable();
  }
  void TearDown() override {
    ForgetSpriteTextures();
    SpriteDeviceTable() = saved_;
  }
  static int Count(const char* what) {
    int n = 0;
    for (const Call& call : fake.calls) n += call.what == what;
    return n;
  }
  SpriteDevice saved_;
};

Call Cell(int across, int down, int column, int row) { return {"cell", "", across, down, column, row}; }

}  // namespace

TEST_F(SpriteTable, FirstBindLoadsAndSelectsTheFrame) {
  // Start-up only assigns names (the device saw nothing). The first bind of the cursor strip,
  // 8 frames across and built without mipmaps, loads it and wraps frame 10 to 2; later binds
  // only bind, and the remainder keeps the frame's sign. On the 8 x 8 button sheet (mipmaps)
  // frame 19 is column 3, row 2. Assigned grids are clamped to at least one cell.
  BindSpriteFrame(3, 10);
  EXPECT_TRUE(SpriteLoaded(3));
  BindSpriteFrame(3, 5);
  BindSpriteFrame(3, -3);
  BindSpriteFrame(8, 19);
  BindSpriteCell(8, 10, 17);
  // A grid of 0 x -4 is one cell; a strip of 6 is 6 x 1.
  AssignSprite(15, "riders\\sheet.png", 0, -4, false);
  AssignSpriteStrip(2, "sprites\\strip.png", 6, true);
  BindSpriteFrame(15, 3);
  BindSpriteFrame(2, 7);
  const std::vector<Call> expected = {
      {"png", "\\game\\sprites\\cursors.png", 0}, {"bind", "", 100}, Cell(8, 1, 2, 0), {"bind", "", 100},
      Cell(8, 1, 5, 0), {"bind", "", 100}, Cell(8, 1, -3, 0), {"png", "\\game\\sprites\\buttons1.png", 1},
      {"bind", "", 101}, Cell(8, 8, 3, 2), {"bind", "", 101}, Cell(8, 8, 2, 1),
      {"png", "\\game\\riders\\sheet.png", 0}, {"bind", "", 102}, Cell(1, 1, 0, 0),
      {"png", "\\game\\sprites\\strip.png", 1}, {"bind", "", 103}, Cell(6, 1, 1, 0)};
  EXPECT_EQ(fake.calls, expected);
}

TEST_F(SpriteTable, SlotsWithoutFileAndOutsideTheTableDoNothing) {
  // Slot 0 has no file; numbers outside 0..19 can come from rider files: nothing is read or
  // written.
  for (int slot : {0, -1, -2, 20, 21, 1000, INT_MAX, INT_MIN}) {
    BindSpriteFrame(slot, 3);
    BindSpriteCell(slot, 1, 1);
    EXPECT_FALSE(LoadSprite(slot) || SpriteLoaded(slot));
    if (slot >= 0 && slot < kSpriteSlotCount) continue;
    EXPECT_EQ(SpriteSlotInfo(slot), nullptr);
    AssignSprite(slot, "sprites\\other.png", 2, 2, true);
  }
  EXPECT_TRUE(fake.calls.empty());
  EXPECT_STREQ(SpriteSlotInfo(19)->path, "\\game\\sprites\\explain_re_eng_256.png");
  EXPECT_STREQ(SpriteSlotInfo(0)->path, "");
}

TEST_F(SpriteTable, ReassigningGivesTheOldTextureBack) {
  // Switching riders re-assigns slot 15 every time: the texture count must not grow.
  for (int round = 0; round < 5; ++round) {
    AssignSprite(15, round % 2 ? "riders\\a.png" : "riders\\b.png", 4, 4, true);
    EXPECT_TRUE(!SpriteLoaded(15) && SpriteSlotInfo(15)->texture == 0u);
    BindSpriteFrame(15, 5);
    EXPECT_EQ(fake.liveTextures, 1) << "round " << round;
  }
  EXPECT_EQ(std::pair(Count("png"), Count("delete")), std::pair(5, 4));
  EXPECT_EQ(fake.calls.back().what, "cell");
  EXPECT_EQ(fake.calls[fake.calls.size() - 3].path, "\\game\\riders\\b.png");

  // Loading a loaded slot again replaces its texture without leaking the old one.
  EXPECT_TRUE(LoadSprite(15));
  EXPECT_EQ(fake.liveTextures, 1);

  // The start-up assignment run again gives every texture back as well.
  BindSpriteFrame(7, 0);
  EXPECT_EQ(fake.liveTextures, 2);
  AssignSpriteTable();
  EXPECT_EQ(fake.liveTextures, 0);
}

TEST_F(SpriteTable, DeviceLossForgetsWithoutDeleting) {
  BindSpriteFrame(7, 0);
  BindSpriteFrame(13, 3);
  EXPECT_EQ(Count("png"), 2);
  ForgetSpriteTextures();
  for (int slot = 0; slot < kSpriteSlotCount; ++slot) EXPECT_FALSE(SpriteLoaded(slot));
  // The names died with the device: re-assigning must not hand them to the new one.
  AssignSprite(13, "sprites\\dots.png", 4, 4, true);
  EXPECT_EQ(Count("delete"), 0);
  // Each slot loads again on its next use.
  BindSpriteFrame(7, 0);
  BindSpriteFrame(7, 0);
  EXPECT_EQ(Count("png"), 3);
}

TEST_F(SpriteTable, FailedLoadsAreNotRetried) {
  fake.failLoads = true;
  const std::pair<int, const char*> files[] = {
      {1, "sprites\\back2.tga"}, {2, "sprites\\pencil.TGA"}, {4, "sprites\\photo.jpg"}, {5, "sprites\\dot.Png"}};
  for (const auto& [slot, file] : files) AssignSprite(slot, file, 1, 1, true);
  for (int slot : {1, 2, 4, 5, 12}) {
    for (int i = 0; i < 3; ++i) BindSpriteFrame(slot, 0);
    EXPECT_TRUE(SpriteLoaded(slot) && SpriteSlotInfo(slot)->texture == 0u) << "slot " << slot;
  }
  // One attempt per slot, routed by the case-sensitive extension; ".Png" is neither form.
  EXPECT_EQ(std::tuple(Count("tga"), Count("picture"), Count("png")), std::tuple(2, 2, 1));
  EXPECT_FALSE(LoadSprite(4));
  // A failed slot binds name 0, which the device skips, but still selects its frame.
  for (const Call& call : fake.calls) {
    if (call.what == "bind") { EXPECT_EQ(call.a, 0); }
  }
  EXPECT_EQ(Count("cell"), 15);
}

TEST(SpriteFiles, MissingArtIsNamedOncePerFileWithItsReason) {
  // A game folder without sprites/ but for two damaged files, loaded through the real loaders
  // twice (a new GL device in between); failures upload nothing, so no GL context is needed.
  TempFolder folder;
  folder.write("sprites/font.png", "words where a picture should be, not a PNG");
  folder.write("sprites/old.tga", "not a picture either");
  SetExecFolder((folder.path / "velmora").c_str());
  ForgetSpriteTextures();
  AssignSpriteTable();
  AssignSprite(kSlotOriginMark, "sprites\\old.tga", 1, 1, false);
  AssignSprite(kSlotScroll, "sprites\\photo.jpg", 1, 1, false);
  static std::vector<std::string> errors;
  errors.clear();
  SetLogListener([](const char* text) {
    if (strstr(text, "loading error")) errors.push_back(text);
  });
  const int slots[] = {kSlotDefaultRiderSheet, kSlotFont, kSlotRiderSheet, kSlotOriginMark, kSlotScroll};
  for (int round = 0; round < 2; ++round) {
    for (int slot : slots) EXPECT_FALSE(LoadSprite(slot)) << "slot " << slot;
    ForgetSpriteTextures();
  }
  SetLogListener(nullptr);
  const std::string sprites = std::string(ExecFolder()) + "\\sprites\\";
  // Slot order; to.png serves slots 6 and 15 and is named once.
  const std::vector<std::string> expected = {
      "PNG loading error: 48 (" + sprites + "to.png: No such file or directory)",
      "PNG loading error: 28 (" + sprites + "font.png: not a PNG file)",
      "TGA loading error: 58 (" + sprites + "old.tga: not an uncompressed or run-length true-colour TGA)",
      "Picture loading error: 48 (" + sprites + "photo.jpg: No such file or directory)"};
  EXPECT_EQ(errors, expected);
}
