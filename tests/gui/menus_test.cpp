// The menus, the rider chooser and the explanation screens, driven through the input seam in a
// private exec folder: every road between the screens, the chooser's list, picks and scrolling,
// and CONTINUE.
#include "gui/menus.h"

#include <gtest/gtest.h>

#include <string>

#include "game_session.h"
#include "rider/rider_file.h"

namespace {

class MenusTest : public GameSessionTest {
 protected:
  RiderChooser& chooser = game.riderChooser;

  // A widget laid out from the screen's origin, not from a menu anchor.
  void ClickAt(const Widget& widget, Vec2 origin = {}) {
    Hover(origin + Vec2(widget.x + widget.w / 2, widget.y + widget.h / 2));
    Tap(kKeyLeftButton);
  }
  void ClickEntry(int index) { ClickAt(chooser.entries[size_t(index)], chooser.listOrigin); }
  int Highlighted() const {
    for (size_t i = 0; i < chooser.entries.size(); ++i)
      if (chooser.entries[i].selected) return int(i);
    return -1;
  }
};

}  // namespace

TEST_F(MenusTest, MenusSitMidScreenAndTheCaptionNamesTheDay) {
  InstallFakeInput(800, 600);
  Enter(ToMainMenu);
  EXPECT_EQ(game.mainMenu.anchor, Vec2(250, 400));
  char caption[64];
  FormatMenuCaption({2026, 11, 5, 0, 0, 0}, caption, sizeof caption);
  EXPECT_STREQ(caption, "ORLGAMES 5 Dec 2026") << "the platform counts months from 0";
  FormatMenuCaption({2027, 0, 31, 0, 0, 0}, caption, sizeof caption);
  EXPECT_STREQ(caption, "ORLGAMES 31 Jan 2027");
}

// Every button and Escape of every screen, in the order a player meets them: the explanations
// come once each, and leaving one with Escape counts.
TEST_F(MenusTest, EveryRoadLeadsWhereItShould) {
  Enter(ToMainMenu);
  const struct {
    const char* what;
    std::function<void()> act;
    ScreenUpdate lands;
  } road[] = {
      {"Escape on the main menu", [] { Tap(kKeyEscape); }, MainMenuUpdate},
      {"NEW GAME", [&] { Click(game.mainMenu.buttons[kNewGameButton]); }, RiderChooserUpdate},
      {"Escape on the chooser", [] { Tap(kKeyEscape); }, MainMenuUpdate},
      {"NEW GAME again", [&] { Click(game.mainMenu.buttons[kNewGameButton]); }, RiderChooserUpdate},
      {"NEXT with the rider in use", [&] { ClickAt(chooser.next); }, TrackExplanationUpdate},
      {"Escape on the explanation", [] { Tap(kKeyEscape); }, RiderChooserUpdate},
      {"NEXT after the explanation was seen", [&] { ClickAt(chooser.next); }, TrackScreenUpdate},
      {"Escape on the track", [] { Tap(kKeyEscape); }, GameMenuUpdate},
      {"EDIT RIDER", [&] { Click(game.gameMenu.buttons[kGameEditRiderButton]); }, RiderExplanationUpdate},
      {"NEXT on the explanation", [&] { ClickAt(game.riderExplanation.next); }, RiderEditorUpdate},
      {"Escape in the editor", [] { Tap(kKeyEscape); }, GameMenuUpdate},
      {"Escape in the in-game menu", [] { Tap(kKeyEscape); }, MainMenuUpdate},
      {"EDIT RIDER on the main menu", [&] { Click(game.mainMenu.buttons[kMainEditRiderButton]); },
       RiderEditorUpdate},
      {"Space in the editor", [] { Tap(kKeySpace); }, TrackScreenUpdate},
      {"the menu button", [&] { ClickButton(kMenuButton); }, GameMenuUpdate},
      {"BACK TO GAME", [&] { Click(game.gameMenu.buttons[kBackToGameButton]); }, TrackScreenUpdate},
      {"Escape on the track again", [] { Tap(kKeyEscape); }, GameMenuUpdate},
      {"CHANGE RIDER", [&] { Click(game.gameMenu.buttons[kChangeRiderButton]); }, RiderChooserUpdate},
  };
  for (const auto& step : road) {
    SCOPED_TRACE(step.what);
    step.act();
    EXPECT_TRUE(On(step.lands));
  }
  // The rider explanation's Escape leads to the main menu.
  game.screens.riderEditorExplained = false;
  ToRiderEditorExplained(game);
  Tap(kKeyEscape);
  EXPECT_TRUE(On(MainMenuUpdate));
}

// No drag of any screen outlives a switch, whichever switch it is.
TEST_F(MenusTest, EverySwitchEndsEveryDrag) {
  for (auto* to : {ToMainMenu, ToGameMenu, ToRiderChooser, ToTrackScreen, ToTrackScreenExplained,
                   ToRiderEditorExplained, ToRiderEditor}) {
    game.toolbar.dragging = game.riderToolbar.dragging = chooser.thumbDrag = true;
    game.track.editor.freehandStroke = game.riderEditor.moving = game.riderEditor.rectangleOn = true;
    to(game);
    EXPECT_FALSE(game.toolbar.dragging || game.riderToolbar.dragging || chooser.thumbDrag ||
                 game.track.editor.freehandStroke || game.riderEditor.moving || game.riderEditor.rectangleOn);
  }
}

// Only .rider files directly in riders/, by name whatever the case; names no file can store are
// logged, long texts are cut but never their paths; no folder is an empty list that works.
TEST_F(MenusTest, TheChooserListsWhatATrackCanName) {
  const std::string longName = std::string(150, 'l') + ".rider";
  for (const std::string& name : {std::string("b.rider"), std::string("A.rider"), std::string("back\\slash.rider"),
                                  std::string(249, 'x') + ".rider", longName, std::string("notes.txt"),
                                  std::string("sub/deep.rider")})
    folder_.write("riders/" + name, "bytes");
  Enter(ToRiderChooser);
  ASSERT_EQ(chooser.entries.size(), 3u);
  EXPECT_STREQ(chooser.entries[0].text, "A.rider");
  EXPECT_STREQ(chooser.entries[1].text, "b.rider");
  EXPECT_EQ(chooser.entries[2].length, 127);
  EXPECT_EQ(chooser.paths[2], Stored("riders\\" + longName));
  EXPECT_TRUE(Logged("rider file skipped, its name cannot be stored: back\\slash.rider"));
  EXPECT_TRUE(Logged("rider file skipped, its name cannot be stored: " + std::string(249, 'x') + ".rider"));

  std::filesystem::remove_all(folder_.path / "riders");
  Enter(ToRiderChooser);
  EXPECT_TRUE(chooser.entries.empty());
  ClickAt(chooser.next);
  EXPECT_TRUE(On(TrackExplanationUpdate)) << "the rider in use is ready without a pick";
}

// A pick loads the rider at once and moves the highlight; a refused file is no choice.
TEST_F(MenusTest, APickRidesAtOnceAndARefusedOneChangesNothing) {
  folder_.write("riders/pogo.rider", ShippedRider("pogo.rider"));
  folder_.write("riders/sledder.rider", ShippedRider("sledder.rider"));
  folder_.write("riders/broken.rider", ShippedRider("pogo.rider").substr(0, 40));
  CurrentRider sledder;
  ASSERT_EQ(LoadRider(game.track.rider, Stored("riders\\sledder.rider").c_str()), FileLoad::Loaded);
  ASSERT_EQ(LoadRider(sledder, Stored("riders\\sledder.rider").c_str()), FileLoad::Loaded);
  Enter(ToRiderChooser);
  ASSERT_EQ(chooser.entries.size(), 3u);
  EXPECT_EQ(Highlighted(), 2) << "the rider in use";
  ClickEntry(1);
  EXPECT_STREQ(game.track.rider.path, "riders\\pogo.rider");
  EXPECT_EQ(Highlighted(), 1);
  EXPECT_NE(game.track.world.rider.points.size(), sledder.snapshot.points.size()) << "pogo is on the track";
  // The damaged one; what its refusal shows is MessagesTest.EachOutcomeShowsItsLogLine's.
  ClickEntry(0);
  EXPECT_STREQ(game.track.rider.path, "riders\\pogo.rider");
  EXPECT_EQ(Highlighted(), 1);
}

// Hundreds of riders: the thumb and the wheel scroll, and at the far end the last rider is
// still in view.
TEST_F(MenusTest, TheListScrollsToItsLastEntryAndNoFurther) {
  for (int i = 0; i < 300; ++i) folder_.write("riders/r" + std::to_string(1000 + i) + ".rider", "bytes");
  Enter(ToRiderChooser);
  const float height = 768;
  auto live = [&] {
    int n = 0;
    for (int i = 0; i < 300; ++i) n += EntryLive(EntryBottom(chooser, i), height);
    return n;
  };
  EXPECT_EQ(live(), 34);
  EXPECT_TRUE(EntryLive(EntryBottom(chooser, 0), height));
  const Vec2 thumb{chooser.thumb.x + 20, chooser.thumb.y + 17};
  Stroke(kKeyLeftButton, thumb, thumb - Vec2(0, 1000), 10);
  EXPECT_FLOAT_EQ(chooser.scroll, 1.0f);
  EXPECT_FLOAT_EQ(EntryBottom(chooser, 299), height - 80) << "the last entry on the list's top line";
  EXPECT_TRUE(EntryLive(EntryBottom(chooser, 299), height));
  Fake().wheel = 1;
  Step();
  EXPECT_FLOAT_EQ(chooser.scroll, 1.0f - 3.0f / 299.0f);
  Fake().wheel = 500;
  Step();
  EXPECT_FLOAT_EQ(chooser.scroll, 0.0f);
  EXPECT_FLOAT_EQ(chooser.thumb.y, height - 80);
}

// CONTINUE keeps this run's work, and says so: the world goes to last_played.track before that
// file loads. A damaged file leaves a working track screen and the world as it was.
TEST_F(MenusTest, ContinueKeepsThisRunsWork) {
  AddSolidLine(game.track.world, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  StoreStart(game.track.world);
  ToMainMenu(game);
  Click(game.mainMenu.buttons[kContinueButton]);
  EXPECT_TRUE(On(TrackScreenUpdate));
  EXPECT_EQ(SolidLineCount(game.track.world), 1);
  EXPECT_TRUE(game.track.world.startFlagSet);
  ASSERT_EQ(game.messages.shown.size(), 1u);
  EXPECT_EQ(game.messages.shown.front().text, "Track saved:" + Stored("last_played.track"));
  const std::string saved = folder_.read("last_played.track");

  ResetTrackWorld(game.track);
  folder_.write("last_played.track", saved.substr(0, saved.size() / 2));
  ToMainMenu(game);
  Click(game.mainMenu.buttons[kContinueButton]);
  EXPECT_TRUE(On(TrackScreenUpdate));
  EXPECT_EQ(SolidLineCount(game.track.world), 0);
  EXPECT_TRUE(Logged("File of unknown format or damaged! Not loaded."));
}
