#include "gui/track_toolbar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <tuple>

#include "graphics/sprites.h"
#include "picture_file.h"
#include "support/temp_folder.h"
#include "track_session.h"

namespace {
using ToolbarTest = TrackSessionTest;
int SelectedCount() {
  const auto& buttons = TheGame().toolbar.buttons;
  return int(std::count_if(std::begin(buttons), std::end(buttons), [](const Button& b) { return b.selected; }));
}
}  // namespace

TEST_F(ToolbarTest, ToolButtonsChooseToolsAndHighlightOnlyThemselves) {
  const struct { int button, tool; } cases[] = {{kPanButton, kToolPan},       {kZoomButton, kToolZoom},      {kSceneryButton, kToolScenery},
               {kEraserButton, kToolEraser}, {kDragButton, kToolPointDrag}, {kPencilButton, kToolPencil}};
  for (const auto& c : cases) {
    ClickButton(c.button);
    EXPECT_EQ(bar.currentTool, c.tool) << c.button;
    EXPECT_EQ(bar.buttons[c.button].selected, 1);
    EXPECT_EQ(SelectedCount(), 1);
  }
  // Boost: forward first, then each click toggles the direction and the face.
  for (int click = 0; click < 3; ++click) {
    ClickButton(kBoostButton);
    EXPECT_EQ(bar.currentTool, click % 2 ? kToolBoostBackward : kToolBoostForward);
    EXPECT_EQ(bar.buttons[kBoostButton].frame, click % 2 ? 19 : 6);
  }
  // The pointer over the panel keeps tools from running; leaving it lets them run again.
  Hover(CentreOf(bar.buttons[kPencilButton]));
  EXPECT_EQ(bar.pointerInWorld, 0);
  Hover({600, 400});
  EXPECT_EQ(bar.pointerInWorld, 1);
}

TEST_F(ToolbarTest, PlayStopAndPlayFromStartFaces) {
  // Each play button starts a run on one click and stops it on the next, its face following.
  for (auto [button, stoppedFace] : {std::pair{kPlayButton, 9}, {kPlayFromStartButton, 24}}) {
    SCOPED_TRACE(button);
    ClickButton(button);
    EXPECT_EQ(std::tuple(bar.running, bar.buttons[button].frame, bar.buttons[button].selected), std::tuple(true, 13, true));
    // The pencil loses its highlight but stays the tool.
    EXPECT_EQ(std::pair(bar.buttons[kPencilButton].selected, bar.currentTool), std::pair(false, int(kToolPencil)));
    ClickButton(button);
    EXPECT_EQ(std::pair(bar.running, bar.buttons[button].frame), std::pair(false, stoppedFace));
  }

  ClickButton(kPlayButton);
  ClickButton(kStopButton);
  EXPECT_EQ(std::tuple(bar.running, bar.buttons[kPlayButton].frame, bar.buttons[kPlayFromStartButton].frame,
                       SelectedCount()), std::tuple(false, 9, 24, 0));
}

TEST_F(ToolbarTest, ClearNeedsFourClicksInARow) {
  AddSolidLine(world, {100, 100}, {200, 100}, 1.0f, LineKind::Normal);
  ClickButton(kClearButton);
  // Leaving the button resets count and face.
  Hover({600, 400});
  EXPECT_EQ(std::pair(bar.clearCount, bar.buttons[kClearButton].frame), std::pair(0, 20));
  // Four clicks without leaving it clear the track; the first three only count, on the face.
  for (int i = 1; i <= 4; ++i) {
    ClickButton(kClearButton);
    EXPECT_EQ(bar.buttons[kClearButton].frame, i < 4 ? 20 + i : 20);
    EXPECT_EQ(SolidLineCount(world), i < 4 ? 1 : 0);
  }
  EXPECT_EQ(bar.clearCount, 0);
}

TEST_F(ToolbarTest, SnapAndGhostButtonsToggleWithTheirFaces) {
  for (int click = 0; click < 2; ++click) {
    ClickButton(kSnapButton);
    EXPECT_EQ(std::pair(int(editor.snapEnabled), bar.buttons[kSnapButton].frame), std::pair(click, click ? 3 : 25));
    ClickButton(kGhostButton);
    EXPECT_EQ(std::pair(int(world.ghost.on), bar.buttons[kGhostButton].frame), std::pair(1 - click, click ? 36 : 37));
  }
}

TEST_F(ToolbarTest, DemonstrationLock) {
  AddSolidLine(world, {100, 100}, {200, 100}, 1.0f, LineKind::Normal);
  world.demoLoaded = 1;
  Step();
  EXPECT_EQ(bar.currentTool, kToolViewing);
  EXPECT_EQ((std::tuple(IsEnabled(bar.buttons[kPencilButton]), IsEnabled(bar.swatch), IsEnabled(bar.buttons[kMenuButton]),
                        IsEnabled(bar.buttons[kSaveButton]), IsEnabled(bar.buttons[kLoadButton]))),
            std::tuple(false, false, false, true, true));
  // Viewing mode draws with neither button; the left one zooms with vertical motion.
  Stroke(kKeyRightButton, {300, 300}, {500, 300});
  Stroke(kKeyLeftButton, {300, 300}, {500, 320});
  EXPECT_EQ(SolidLineCount(world), 1);
  EXPECT_NEAR(view.zoom, 1.1f, 1e-4f);
  // Clicking a disabled tool does nothing; the drag button's tool gives way to 8 at the next step.
  ClickButton(kPencilButton);
  EXPECT_EQ(bar.currentTool, kToolViewing);
  ClickButton(kDragButton);
  EXPECT_EQ(bar.currentTool, kToolPointDrag);
  Step();
  EXPECT_EQ(bar.currentTool, kToolViewing);
  // Clear resets the world at once and returns to the pencil.
  ClickButton(kClearButton);
  EXPECT_EQ(std::tuple(SolidLineCount(world), int(world.demoLoaded), bar.currentTool), std::tuple(0, 0, int(kToolPencil)));
  Step();
  EXPECT_TRUE(IsEnabled(bar.buttons[kPencilButton]));
}

TEST_F(ToolbarTest, ColourPickerOpensPicksAndCloses) {
  TempFolder folder;
  // 256 x 256: pixel (row, col) is (col, row, 99).
  ASSERT_TRUE(LoadImage(bar.picker, WritePicture(folder, "gradient.png", 256, 256, [](int row, int col) {
                                      return std::array<uint8_t, 3>{uint8_t(col), uint8_t(row), 99};
                                    }).c_str()));
  Click(bar.swatch);
  EXPECT_TRUE(IsEnabled(bar.picker));
  // Clicking outside closes it and leaves the colour alone.
  Hover({800, 100});
  Tap(kKeyLeftButton);
  EXPECT_FALSE(IsEnabled(bar.picker));
  EXPECT_EQ(editor.sceneryR + editor.sceneryG + editor.sceneryB, 0u);

  Click(bar.swatch);
  ASSERT_TRUE(IsEnabled(bar.picker));
  // Drag inside: column trunc(px - x - 4) + 4, row 256 - trunc(py - y - 4) - 5 (top row 0).
  Vec2 origin = bar.anchor + Vec2(bar.picker.x, bar.picker.y);
  Hover({origin.x + 100, origin.y + 60});
  EXPECT_EQ(bar.pickerHover, 1);
  SetKey(kKeyLeftButton, true);
  Step(2);
  int column = 96 + 4, row = 256 - 56 - 5;
  EXPECT_EQ((std::tuple<int, int, int>(editor.sceneryR, editor.sceneryG, editor.sceneryB)), std::tuple(column, row, 99));
  EXPECT_EQ(bar.swatch.r, column);
  // While over the picker nothing else reacts: no stroke begins.
  EXPECT_EQ(editor.freehandStroke, 0);
  Release(kKeyLeftButton);
  EXPECT_EQ(std::pair(IsEnabled(bar.picker), bar.pickerHover), std::pair(false, false));
}

TEST_F(ToolbarTest, TheSliderSetsTheThicknessForNewLinesAndTheHandleDragsTheToolbar) {
  // Press on the knob's travel and drag far right: value w - 12 = 51, thickness 51 x 0.2 + 1.
  const Vec2 knob = CentreOf(bar.thickness) - Vec2(0, 5);
  Stroke(kKeyLeftButton, knob, knob + Vec2(300, 0));
  EXPECT_NEAR(editor.newLineThickness, 11.2f, 1e-5f);
  const Vec2 before = bar.anchor, handle = CentreOf(bar.handle);
  Stroke(kKeyLeftButton, handle, handle + Vec2(200, -100));
  EXPECT_EQ(bar.anchor, before + Vec2(200, -100));
  EXPECT_EQ(bar.dragging, 0);
}

TEST_F(ToolbarTest, SaveAndLoadButtonsGoThroughTheFileDialogs) {
  static std::string chosen;
  Platform().fileDialog = [](const FileDialogRequest&, std::string* result) {
    *result = chosen;
    return !chosen.empty();
  };
  TempFolder folder;
  chosen = folder.file("toolbar_save.track");
  snprintf(scene.rider.spriteSheet, sizeof scene.rider.spriteSheet, "sprites\\sheet.png");
  AddSolidLine(world, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  // What the save shows: MessagesTest.EachOutcomeShowsItsLogLine; here the track it wrote loads.
  ClickButton(kSaveButton);
  ResetTrackWorld(scene);
  AssignSprite(kSlotRiderSheet, "sprites\\before.png", 4, 4, true);
  ClickButton(kLoadButton);
  // Each line kind's way through the file: TrackFileTest.SavedTrackLoadsBackAndSavesToTheSameBytes.
  ASSERT_EQ(SolidLineCount(world), 1);
  EXPECT_NE(std::string(SpriteSlotInfo(kSlotRiderSheet)->path).find("sheet.png"), std::string::npos)
      << "the loaded track's rider shows its sheet";

  // A cancelled dialog changes nothing.
  chosen.clear();
  ClickButton(kLoadButton);
  ClickButton(kSaveButton);
  EXPECT_EQ(SolidLineCount(world), 1);
  Platform().fileDialog = RealPlatform().fileDialog;
}
