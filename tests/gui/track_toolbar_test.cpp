#include "gui/track_toolbar.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/sprites.h"
#include "support/libpng_reference.h"
#include "support/temp_folder.h"
#include "track_session.h"

namespace {
class ToolbarTest : public ::testing::Test {
 protected:
  struct Session {
    Session() { ResetSession(); }
  } session_;
  Game& game = TheGame();
  TrackToolbar& bar = game.toolbar;
  TrackScene& scene = game.track;
  World& world = scene.world;
  TrackEditor& editor = scene.editor;
  View& view = scene.view;
  Cursor& cursor = scene.cursor;

  int SelectedCount() {
    int n = 0;
    for (const Button& b : bar.buttons) n += b.selected;
    return n;
  }
};

// A 256 x 256 picture whose pixel (row, col) is (col, row, 99), written with libpng.
std::string WriteGradient(const TempFolder& folder) {
  std::vector<std::vector<uint8_t>> rows(256, std::vector<uint8_t>(256 * 3));
  for (int r = 0; r < 256; ++r)
    for (int c = 0; c < 256; ++c) {
      rows[r][c * 3] = uint8_t(c);
      rows[r][c * 3 + 1] = uint8_t(r);
      rows[r][c * 3 + 2] = 99;
    }
  LibpngRecipe recipe;
  recipe.width = recipe.height = 256;
  recipe.colourType = PNG_COLOR_TYPE_RGB;
  const std::vector<uint8_t> png = LibpngEncode(recipe, rows);
  folder.write("toolbar_gradient.png", std::string(png.begin(), png.end()));
  return folder.file("toolbar_gradient.png");
}
}  // namespace

TEST_F(ToolbarTest, ToolButtonsChooseToolsAndHighlightOnlyThemselves) {
  struct Case {
    int button, tool;
  } cases[] = {{kPanButton, kToolPan},         {kZoomButton, kToolZoom},   {kSceneryButton, kToolScenery},
               {kEraserButton, kToolEraser},   {kDragButton, kToolPointDrag}, {kPencilButton, kToolPencil}};
  for (const Case& c : cases) {
    ClickButton(c.button);
    EXPECT_EQ(bar.currentTool, c.tool) << c.button;
    EXPECT_EQ(bar.buttons[c.button].selected, 1);
    EXPECT_EQ(SelectedCount(), 1);
  }
  // Boost: forward first, then each click toggles the direction and the face.
  ClickButton(kBoostButton);
  EXPECT_EQ(bar.currentTool, kToolBoostForward);
  EXPECT_EQ(bar.buttons[kBoostButton].frame, 6);
  ClickButton(kBoostButton);
  EXPECT_EQ(bar.currentTool, kToolBoostBackward);
  EXPECT_EQ(bar.buttons[kBoostButton].frame, 19);
  ClickButton(kBoostButton);
  EXPECT_EQ(bar.currentTool, kToolBoostForward);
  EXPECT_EQ(bar.buttons[kBoostButton].frame, 6);
  // The pointer over the panel keeps tools from running; leaving it lets them run again.
  Vec2 at = CentreOf(bar.buttons[kPencilButton]);
  PointAt(at.x, at.y);
  Step();
  EXPECT_EQ(bar.pointerInWorld, 0);
  PointAt(600, 400);
  Step();
  EXPECT_EQ(bar.pointerInWorld, 1);
}

TEST_F(ToolbarTest, PlayStopAndPlayFromStartFaces) {
  ClickButton(kPlayButton);
  EXPECT_EQ(bar.running, 1);
  EXPECT_EQ(bar.buttons[kPlayButton].frame, 13);
  EXPECT_EQ(bar.buttons[kPlayButton].selected, 1);
  // The pencil loses its highlight but stays the tool.
  EXPECT_EQ(bar.buttons[kPencilButton].selected, 0);
  EXPECT_EQ(bar.currentTool, kToolPencil);
  ClickButton(kPlayButton);
  EXPECT_EQ(bar.running, 0);
  EXPECT_EQ(bar.buttons[kPlayButton].frame, 9);

  ClickButton(kPlayFromStartButton);
  EXPECT_EQ(bar.running, 1);
  EXPECT_EQ(bar.buttons[kPlayFromStartButton].frame, 13);
  EXPECT_EQ(bar.buttons[kPlayFromStartButton].selected, 1);
  ClickButton(kPlayFromStartButton);
  EXPECT_EQ(bar.running, 0);
  EXPECT_EQ(bar.buttons[kPlayFromStartButton].frame, 24);

  ClickButton(kPlayButton);
  ClickButton(kStopButton);
  EXPECT_EQ(bar.running, 0);
  EXPECT_EQ(bar.buttons[kPlayButton].frame, 9);
  EXPECT_EQ(bar.buttons[kPlayFromStartButton].frame, 24);
  EXPECT_EQ(SelectedCount(), 0);
}

TEST_F(ToolbarTest, ClearNeedsFourClicksInARow) {
  AddSolidLine(world, {100, 100}, {200, 100}, 1.0f, LineKind::Normal);
  for (int i = 1; i <= 3; ++i) {
    ClickButton(kClearButton);
    EXPECT_EQ(bar.buttons[kClearButton].frame, 20 + i);
  }
  EXPECT_EQ(SolidLineCount(world), 1);
  // Leaving the button resets count and face; one more click then starts again at 21.
  PointAt(600, 400);
  Step();
  EXPECT_EQ(bar.clearCount, 0);
  EXPECT_EQ(bar.buttons[kClearButton].frame, 20);
  ClickButton(kClearButton);
  EXPECT_EQ(bar.buttons[kClearButton].frame, 21);
  EXPECT_EQ(SolidLineCount(world), 1);
  PointAt(600, 400);
  Step();

  // Four clicks without leaving it clear the track.
  Vec2 at = CentreOf(bar.buttons[kClearButton]);
  PointAt(at.x, at.y);
  Step();
  for (int i = 1; i <= 4; ++i) {
    SetKey(1, true);
    Step();
    SetKey(1, false);
    Step();
    if (i < 4) {
      EXPECT_EQ(bar.buttons[kClearButton].frame, 20 + i);
    }
  }
  EXPECT_EQ(SolidLineCount(world), 0);
  EXPECT_EQ(bar.clearCount, 0);
  EXPECT_EQ(bar.buttons[kClearButton].frame, 20);
}

TEST_F(ToolbarTest, SliderSetsTheThicknessForNewLines) {
  Step();
  EXPECT_FLOAT_EQ(editor.newLineThickness, 1.0f);
  // Press on the knob's travel and drag far right: value w - 12 = 51, thickness 51 x 0.2 + 1.
  Vec2 at = CentreOf(bar.thickness);
  PointAt(at.x, at.y - 5);
  Step();
  SetKey(1, true);
  Step();
  PointAt(at.x + 300, at.y - 5);
  Step(2);
  EXPECT_FLOAT_EQ(GetValue(bar.thickness), 51.0f);
  EXPECT_NEAR(editor.newLineThickness, 11.2f, 1e-5f);
  SetKey(1, false);
  Step();
  EXPECT_FALSE(SliderDragActive());
}

TEST_F(ToolbarTest, SnapAndGhostButtonsToggleWithTheirFaces) {
  ClickButton(kSnapButton);
  EXPECT_EQ(editor.snapEnabled, 0);
  EXPECT_EQ(bar.buttons[kSnapButton].frame, 25);
  ClickButton(kSnapButton);
  EXPECT_EQ(editor.snapEnabled, 1);
  EXPECT_EQ(bar.buttons[kSnapButton].frame, 3);
  ClickButton(kGhostButton);
  EXPECT_EQ(world.ghost.on, 1);
  EXPECT_EQ(bar.buttons[kGhostButton].frame, 37);
  ClickButton(kGhostButton);
  EXPECT_EQ(world.ghost.on, 0);
  EXPECT_EQ(bar.buttons[kGhostButton].frame, 36);
}

TEST_F(ToolbarTest, DemonstrationLock) {
  AddSolidLine(world, {100, 100}, {200, 100}, 1.0f, LineKind::Normal);
  world.demoLoaded = 1;
  Step();
  EXPECT_EQ(bar.currentTool, kToolViewing);
  EXPECT_FALSE(IsEnabled(bar.buttons[kPencilButton]));
  EXPECT_FALSE(IsEnabled(bar.swatch));
  EXPECT_FALSE(IsEnabled(bar.buttons[kMenuButton]));
  EXPECT_TRUE(IsEnabled(bar.buttons[kSaveButton]));
  EXPECT_TRUE(IsEnabled(bar.buttons[kLoadButton]));
  // Clicking a disabled tool does nothing; the drag button's tool gives way to 8 at the next step.
  ClickButton(kPencilButton);
  EXPECT_EQ(bar.currentTool, kToolViewing);
  ClickButton(kDragButton);
  EXPECT_EQ(bar.currentTool, kToolPointDrag);
  Step();
  EXPECT_EQ(bar.currentTool, kToolViewing);
  // Clear resets the world at once and returns to the pencil.
  ClickButton(kClearButton);
  EXPECT_EQ(SolidLineCount(world), 0);
  EXPECT_EQ(world.demoLoaded, 0);
  EXPECT_EQ(bar.currentTool, kToolPencil);
  Step();
  EXPECT_TRUE(IsEnabled(bar.buttons[kPencilButton]));
}

TEST_F(ToolbarTest, ColourPickerOpensPicksAndCloses) {
  TempFolder folder;
  ASSERT_TRUE(LoadImage(bar.picker, WriteGradient(folder).c_str()));
  Click(bar.swatch);
  EXPECT_TRUE(IsEnabled(bar.picker));
  // Clicking outside closes it and leaves the colour alone.
  PointAt(800, 100);
  Step();
  SetKey(1, true);
  Step();
  SetKey(1, false);
  Step();
  EXPECT_FALSE(IsEnabled(bar.picker));
  EXPECT_EQ(editor.sceneryR + editor.sceneryG + editor.sceneryB, 0u);

  Click(bar.swatch);
  ASSERT_TRUE(IsEnabled(bar.picker));
  // Drag inside: column trunc(px - x - 4) + 4, row 256 - trunc(py - y - 4) - 5 (top row 0).
  Vec2 origin = bar.anchor + Vec2(bar.picker.x, bar.picker.y);
  PointAt(origin.x + 100, origin.y + 60);
  Step();
  EXPECT_EQ(bar.pickerHover, 1);
  SetKey(1, true);
  Step(2);
  int column = 96 + 4, row = 256 - 56 - 5;
  EXPECT_EQ(editor.sceneryR, uint32_t(column));
  EXPECT_EQ(editor.sceneryG, uint32_t(row));
  EXPECT_EQ(editor.sceneryB, 99u);
  EXPECT_EQ(bar.swatch.r, column);
  // While over the picker nothing else reacts: no stroke begins.
  EXPECT_EQ(editor.freehandStroke, 0);
  SetKey(1, false);
  Step();
  EXPECT_FALSE(IsEnabled(bar.picker));
  EXPECT_EQ(bar.pickerHover, 0);
}

TEST_F(ToolbarTest, HandleDragsTheWholeToolbar) {
  Vec2 before = bar.anchor;
  Vec2 at = CentreOf(bar.handle);
  PointAt(at.x, at.y);
  Step();
  SetKey(1, true);
  Step();
  EXPECT_EQ(bar.dragging, 1);
  PointAt(at.x + 200, at.y - 100);
  Step();
  EXPECT_FLOAT_EQ(bar.anchor.x, before.x + 200);
  EXPECT_FLOAT_EQ(bar.anchor.y, before.y - 100);
  SetKey(1, false);
  Step();
  EXPECT_EQ(bar.dragging, 0);
}

TEST_F(ToolbarTest, SaveAndLoadButtonsGoThroughTheFileDialogs) {
  static std::string chosen;
  static int dialogs = 0;
  dialogs = 0;
  Platform().fileDialog = [](const FileDialogRequest&, std::string* result) {
    ++dialogs;
    if (chosen.empty()) return false;
    *result = chosen;
    return true;
  };
  TempFolder folder;
  chosen = folder.file("toolbar_save.track");
  snprintf(scene.rider.spriteSheet, sizeof scene.rider.spriteSheet, "sprites\\sheet.png");
  AddSolidLine(world, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  AddSolidLine(world, {100, 0}, {200, 50}, 1.0f, LineKind::BoostForward);
  ClickButton(kSaveButton);
  EXPECT_EQ(dialogs, 1);
  FILE* saved = fopen(chosen.c_str(), "rb");
  ASSERT_NE(saved, nullptr);
  fclose(saved);

  ResetTrackWorld(scene);
  AssignSprite(kSlotRiderSheet, "sprites\\before.png", 4, 4, true);
  ClickButton(kLoadButton);
  EXPECT_EQ(dialogs, 2);
  ASSERT_EQ(SolidLineCount(world), 2);
  EXPECT_NE(std::string(SpriteSlotInfo(kSlotRiderSheet)->path).find("sheet.png"), std::string::npos)
      << "the loaded track's rider shows its sheet";
  EXPECT_EQ(world.solidLines.back().kind, LineKind::BoostForward);

  // A cancelled dialog changes nothing.
  chosen.clear();
  ClickButton(kLoadButton);
  ClickButton(kSaveButton);
  EXPECT_EQ(dialogs, 4);
  EXPECT_EQ(SolidLineCount(world), 2);
  Platform().fileDialog = RealPlatform().fileDialog;
}
