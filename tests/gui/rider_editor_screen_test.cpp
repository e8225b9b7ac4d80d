// The rider editor screen driven through the input seam in a private exec folder: the way in and
// out, the test ride, the toolbar, the file dialogs and the sprite sheet.
#include "gui/rider_editor_screen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "game_session.h"
#include "rider/editor_files.h"
#include "rider/rider_file.h"

namespace {

class RiderEditorScreenTest : public GameSessionTest {
 protected:
  RiderEditor& editor() { return game.riderEditor; }
  CurrentRider& rider() { return game.track.rider; }
  bool InEditor() { return On(RiderEditorUpdate); }

  BodyPoint& Point(size_t i) { return *std::next(editor().body.points.begin(), long(i)); }
  void ClickRider(int index) { Click(game.riderToolbar.buttons[index]); }
  // A right-button chain on the canvas from a to b (screen px): a new point at each end, or
  // the existing one under the pointer.
  void Chain(Vec2 a, Vec2 b) { Stroke(kKeyRightButton, a, b); }
};

}  // namespace

// The editor takes the rider in use on entry; edits survive a test ride and a change of the
// rider in use until they are saved; after that the editor follows the rider in use again.
TEST_F(RiderEditorScreenTest, TheEditorTakesTheRiderInUseUnlessItHoldsUnsavedEdits) {
  Enter(ToRiderEditor);
  ASSERT_EQ(editor().body.points.size(), 2u);
  EXPECT_EQ(EditorScreenPoint({715, 500}), Vec2(512, 384)) << "the rider in the middle of the view";

  Chain({600, 650}, {700, 650});
  Tap(kKeyEscape);
  EXPECT_EQ(rider().snapshot.points.size(), 4u) << "the test ride rides the edited rider";
  EXPECT_EQ(game.track.world.rider.points.size(), 4u);
  EXPECT_STREQ(rider().path, "") << "the temporary file never names the rider";
  CurrentRider temporary;
  ASSERT_EQ(LoadRider(temporary, Stored("riders\\temp_rider.rider").c_str()), FileLoad::Loaded);
  EXPECT_EQ(temporary.snapshot.points.size(), 4u);

  LoadTestRider(100, 100);
  Enter(ToRiderEditor);
  EXPECT_EQ(editor().body.points.size(), 4u) << "unsaved edits are kept";
  dialogAnswer = folder_.file("riders/mine.rider");
  ClickRider(kRiderSaveButton);
  EXPECT_STREQ(rider().path, "riders\\mine.rider");
  Tap(kKeySpace);
  LoadTestRider(100, 100);
  Enter(ToRiderEditor);
  EXPECT_EQ(editor().body.points.size(), 2u) << "saved edits give way to the rider in use";
  EXPECT_FLOAT_EQ(Point(0).x, 100.0f);
}

TEST_F(RiderEditorScreenTest, WithNoPointTheTestRideLeavesTheRiderInUse) {
  Enter(ToRiderEditor);
  Stroke(kKeyLeftButton, EditorScreenPoint({600, 400}), EditorScreenPoint({800, 600}), 20);
  Tap(kKeyDelete);
  ASSERT_TRUE(editor().body.points.empty());
  Tap(kKeySpace);
  EXPECT_FALSE(InEditor());
  EXPECT_EQ(rider().snapshot.points.size(), 2u);
  EXPECT_EQ(LastLogLine(), "the rider editor has no points: no test ride, the rider in use stays");
  EXPECT_FALSE(std::filesystem::exists(folder_.path / "riders/temp_rider.rider"));
}

// Ctrl+Z takes back one gesture or key at a time (a selection alone is no action; the oldest
// action here is the rider taken in use on entry) and Ctrl+Y does it again. That an undo brings
// back ids and counters exactly, and that a new edit drops what could be done again, is the
// random undo test's.
TEST_F(RiderEditorScreenTest, UndoTakesBackOneEditAtATime) {
  Enter(ToRiderEditor);
  const size_t start = editor().body.points.size();
  Chain({600, 650}, {700, 650});
  Stroke(kKeyLeftButton, {560, 600}, {740, 700}, 20);
  Tap(kKeyDelete);
  const struct {
    int key;
    size_t points;
  } steps[] = {{'Z', start + 2}, {'Z', start}, {'Z', 0},     {'Z', 0},
               {'Y', start},     {'Y', start + 2}, {'Y', start}, {'Z', start + 2}};
  for (const auto& step : steps) {
    TapWithCtrl(step.key);
    EXPECT_EQ(editor().body.points.size(), step.points) << char(step.key);
  }
}

// Only a written file changes anything; one written elsewhere is also kept in riders\ under a
// name no other file has, and a load that fails leaves the edited body as it was.
TEST_F(RiderEditorScreenTest, SavesAndLoadsChangeThingsOnlyWhenTheFileIsWhole) {
  Enter(ToRiderEditor);
  Hover(EditorScreenPoint({700, 500}));
  Tap(kKeyLeftButton);
  Tap(kKeyLeft, 50);                               // the pose moves: rest lengths differ from it
  const float rest = editor().body.links.front().restLength;
  ClickRider(kRiderSaveButton);
  EXPECT_FLOAT_EQ(editor().body.links.front().restLength, rest) << "a cancelled save changes nothing";
  EXPECT_FLOAT_EQ(rider().snapshot.points.front().x, 700.0f);

  TempFolder elsewhere;
  folder_.write("riders/far.rider", "a different rider of the same name");
  dialogAnswer = elsewhere.file("far.rider");
  ClickRider(kRiderSaveButton);
  EXPECT_GT(editor().body.links.front().restLength, rest + 10);
  EXPECT_STREQ(rider().path, "riders\\far-2.rider") << "the copy's bytes and its free name are the paths test's";

  folder_.write("riders/broken.rider", "TOLK_RIDER_RIDER and then nothing a rider needs");
  for (const std::string& refused : {std::string(), folder_.file("riders/broken.rider")}) {
    dialogAnswer = refused;
    ClickRider(kRiderLoadButton);
    EXPECT_EQ(editor().body.points.size(), 2u);
    EXPECT_EQ(editor().selectedPoints.size(), 1u) << "the old body's selection stays";
  }
  dialogAnswer = folder_.file("riders/far-2.rider");
  Tap(kKeyRight, 50);
  ClickRider(kRiderLoadButton);
  EXPECT_FALSE(EditorHasUnsavedEdits(editor())) << "the edits made since the save are gone";
}

// After a test ride the stored start belongs to the new rider: its own pose with its focus at
// the flag, not the old body. The ride goes on from memory when the temporary file cannot be
// written.
TEST_F(RiderEditorScreenTest, TheStartFlagKeepsItsPlaceForTheNewRider) {
  StoreStart(game.track.world);
  const Vec2 flag = game.track.world.flag;
  Enter(ToRiderEditor);
  Chain({600, 650}, {700, 650});
  std::filesystem::create_directories(folder_.path / "riders/temp_rider.rider");
  Tap(kKeySpace);
  EXPECT_TRUE(Logged("test ride from memory: riders\\temp_rider.rider was not written"));
  ASSERT_EQ(game.track.world.startSnapshot.points.size(), 4u);
  RestoreTrackStart(game.track);
  EXPECT_EQ(FocusPoint(game.track.world), flag);
  EXPECT_EQ(game.track.world.rider.points.size(), 4u);
  EXPECT_EQ(LastLogLine(), "the start flag keeps its place: the new rider starts there");
}

// The toolbar's buttons and sliders reach the settings and the selected link, and the buttons'
// faces follow the settings. A changed link rides as the first test's test ride shows; what a
// slider's value means is the editor settings test's.
TEST_F(RiderEditorScreenTest, ToolbarButtonsAndSlidersReachTheSettingsAndTheSelection) {
  Enter(ToRiderEditor);
  for (const Button& button : game.riderToolbar.buttons) EXPECT_FALSE(button.selected) << "no tool shown at first";
  ClickRider(kLinkToolButton);
  EXPECT_EQ(editor().tool, EditorTool::Link);
  EXPECT_TRUE(game.riderToolbar.buttons[kLinkToolButton].selected);
  Hover(EditorScreenPoint({715, 505}));
  Tap(kKeyLeftButton);
  const Slider& stiffness = game.riderToolbar.sliders[kStiffnessSlider];
  const Vec2 stiffKnob = game.riderToolbar.origin + Vec2(stiffness.x + 8 + GetValue(stiffness), stiffness.y + 16);
  Stroke(kKeyLeftButton, stiffKnob, stiffKnob - Vec2(50, 0), 5);
  const float chosen = editor().settings.linkStiffness;
  EXPECT_LT(chosen, 0.5f);
  EXPECT_FLOAT_EQ(editor().body.links.front().stiffness, chosen) << "the selected link takes it";

  ClickRider(kFirstLinkKindButton + 2);
  EXPECT_EQ(editor().settings.linkKind, LinkKind::Strut);
  for (int kind = 0; kind < 4; ++kind)
    EXPECT_EQ(game.riderToolbar.buttons[kFirstLinkKindButton + kind].frame, 40 + kind + (kind == 2 ? 4 : 0));
  ClickRider(kGripButton);
  EXPECT_EQ(game.riderToolbar.buttons[kGripButton].frame, 37);
  EXPECT_FLOAT_EQ(editor().settings.pointFriction, 0.1f);

  // The break slider's knob 6 px left of its end: 94, as the widget test maps a pointer.
  const Slider& slider = game.riderToolbar.sliders[kBreakSlider];
  const Vec2 knob = game.riderToolbar.origin + Vec2(slider.x + 8 + GetValue(slider), slider.y + 16);
  Stroke(kKeyLeftButton, knob, knob - Vec2(6, 0), 1);
  EXPECT_FLOAT_EQ(editor().settings.linkBreak, 0.94f * 0.94f);

  // The handle stops the toolbar at x = -1 and one pixel above the screen's top.
  const Vec2 handle = CentreOf(game.riderToolbar.handle);
  Stroke(kKeyLeftButton, handle, handle + Vec2(-500, 500), 50);
  EXPECT_EQ(game.riderToolbar.origin, Vec2(-1.0f, 769.0f));
}

// Sprite size and depth have keys on the main keyboard as well as on the numpad.
TEST_F(RiderEditorScreenTest, SpriteKeysWorkWithAndWithoutANumpad) {
  Enter(ToRiderEditor);
  ClickRider(kLinkToolButton);
  Hover(EditorScreenPoint({715, 505}));
  Tap(kKeyLeftButton);
  ClickRider(kToggleSpritesButton);
  const Link& link = editor().body.links.front();
  Hover(EditorScreenPoint({900, 300}));
  const struct {
    int numpad, main;
    float halfW, halfH;
    int depth;
  } keys[] = {{kKeyPad0 + 8, 'I', -0.2f, 0, 0}, {kKeyPad0 + 2, 'K', 0.2f, 0, 0}, {kKeyPad0 + 6, 'L', 0, 0.2f, 0},
              {kKeyPad0 + 4, 'J', 0, -0.2f, 0}, {kKeyPadPlus, 'O', 0, 0, 1}, {kKeyPadMinus, 'U', 0, 0, -1}};
  for (const auto& key : keys) {
    for (int code : {key.numpad, key.main}) {
      SCOPED_TRACE(code);
      const float w = link.spriteHalfW, h = link.spriteHalfH;
      const int depth = link.spriteDepth;
      Tap(code);
      EXPECT_NEAR(link.spriteHalfW - w, key.halfW, 1e-5f);
      EXPECT_NEAR(link.spriteHalfH - h, key.halfH, 1e-5f);
      EXPECT_EQ(link.spriteDepth - depth, key.depth);
    }
  }
}

// A sheet becomes the editor's only once it shows; one from outside the program folder is copied
// into the sprites folder first, and the copy of a sheet that does not show is removed again.
TEST_F(RiderEditorScreenTest, ASpriteSheetIsTakenOnlyWhenItShows) {
  Enter(ToRiderEditor);
  TempFolder elsewhere;
  elsewhere.write("broken.png", "not a picture");
  elsewhere.write("sheet.png", "\x89PNG picture");
  for (const std::string& refused : {std::string(), elsewhere.file("broken.png")}) {
    dialogAnswer = refused;
    ClickRider(kSpriteSheetButton);
    EXPECT_STREQ(editor().spriteSheet, "");
  }
  EXPECT_FALSE(std::filesystem::exists(folder_.path / "sprites/broken.png"));
  dialogAnswer = elsewhere.file("sheet.png");
  ClickRider(kSpriteSheetButton);
  EXPECT_STREQ(editor().spriteSheet, "sprites\\sheet.png") << "shown from the copy";
  EXPECT_NE(std::string(SpriteSlotInfo(kSlotRiderSheet)->path).find("sheet.png"), std::string::npos);
}
