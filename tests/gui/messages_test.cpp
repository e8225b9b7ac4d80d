// The messages over every screen and the toolbar tooltips, driven through the input seam and the
// file dialogs in a private exec folder: what each outcome shows, how the queue ages on the
// fixed step, and where messages and tooltips go on the screen.
#include "gui/messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game_session.h"
#include "gui/overlay.h"
#include "gui/tooltip.h"
#include "shell/safe_save.h"

namespace {

constexpr Vec2 kScreen{1024.0f, 768.0f};

class MessagesTest : public GameSessionTest {
 protected:
  // The path a file dialog hands over for a file of the exec folder.
  std::string Dialogged(const std::string& name) const { return BackslashPath(folder_.file(name)); }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const Message& message : game.messages.shown) texts.push_back(message.text);
    return texts;
  }
};

std::unique_ptr<FileWriter> FullDisk(const char* path) { return std::make_unique<FailingWriter>(path, 10); }

}  // namespace

// Every outcome the player would otherwise miss shows its log line's words, in order, where the
// log has a line for it; a cancelled dialog shows nothing.
TEST_F(MessagesTest, EachOutcomeShowsItsLogLine) {
  const std::string damaged = "TOLK_RIDER_TRACK and then nothing a file needs";
  folder_.write("broken.track", damaged);
  folder_.write("riders/zz_broken.rider", "TOLK_RIDER_RIDER and then nothing a rider needs");
  TempFolder elsewhere;
  elsewhere.write("broken.png", "not a picture");
  const std::string kDamaged = "File of unknown format or damaged! Not loaded.";
  const struct {
    const char* outcome;
    std::function<void()> act;
    std::vector<std::string> shown;
    bool logged = true;                           // the log has these very lines
  } cases[] = {
      {"nothing to undo", [&] { Enter(ToTrackScreen), TapWithCtrl('Z'); }, {"Nothing to undo"}, false},
      {"track saved",
       [&] {
         Enter(ToTrackScreen);
         AddSolidLine(game.track.world, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
         dialogAnswer = folder_.file("mine.track");
         ClickButton(kSaveButton);
       },
       {"Track saved:" + Dialogged("mine.track")}},
      {"demo saved", [&] { dialogAnswer = folder_.file("mine.demo"), ClickButton(kSaveButton); },
       {"Saving demo:" + Dialogged("mine.demo"), "Track saved"}},
      {"the disk refuses",
       [&] {
         SetSaveWriterMaker(FullDisk);
         dialogAnswer = folder_.file("full.track");
         ClickButton(kSaveButton);
         SetSaveWriterMaker(nullptr);
       },
       {"Cannot create file. Not enough space or disk write protected"}},
      {"cancelled save and load", [&] { dialogAnswer.clear(), ClickButton(kSaveButton), ClickButton(kLoadButton); }, {}},
      {"damaged track", [&] { dialogAnswer = folder_.file("broken.track"), ClickButton(kLoadButton); }, {kDamaged}},
      {"missing track",
       [&] { dialogAnswer = folder_.file("gone.track"), ClickButton(kLoadButton); },
       {"File not opened. User pressed cancel or file damaged"}},
      {"demo not saved",
       [&] {
         dialogAnswer = folder_.file("mine.demo");
         ClickButton(kLoadButton);
         game.messages.shown.clear();
         dialogAnswer = folder_.file("again.track");
         ClickButton(kSaveButton);
         ResetTrackWorld(game.track);
         Step();
       },
       {"Nothing saved: a demo track is for viewing only"}, false},
      {"empty track", [&] { dialogAnswer = folder_.file("empty.track"), ClickButton(kSaveButton); },
       {"Nothing saved: the track is empty"}, false},
      {"rider saved",
       [&] {
         Enter(ToRiderEditor);
         dialogAnswer = folder_.file("riders/mine.rider");
         Click(game.riderToolbar.buttons[kRiderSaveButton]);
       },
       {"Rider saved:" + Dialogged("riders/mine.rider")}, false},
      {"damaged rider",
       [&] { dialogAnswer = folder_.file("riders/zz_broken.rider"), Click(game.riderToolbar.buttons[kRiderLoadButton]); },
       {kDamaged}},
      {"sprite sheet not shown",
       [&] { dialogAnswer = elsewhere.file("broken.png"), Click(game.riderToolbar.buttons[kSpriteSheetButton]); },
       {"sprite sheet sprites\\broken.png cannot be shown: the sheet stays"}},
      {"damaged rider chosen",
       [&] {
         Enter(ToRiderChooser);
         const RiderChooser& chooser = game.riderChooser;
         const TextButton& last = chooser.entries.back();
         ASSERT_NE(chooser.paths.back().find("zz_broken"), std::string::npos);
         Hover(chooser.listOrigin + Vec2(last.x + last.w / 2, last.y + last.h / 2));
         Tap(kKeyLeftButton);
       },
       {kDamaged}},
  };
  for (const auto& c : cases) {
    game.messages.shown.clear();
    c.act();
    EXPECT_EQ(Shown(), c.shown) << c.outcome;
    for (const std::string& text : c.shown) EXPECT_EQ(Logged(text), c.logged) << c.outcome << ": " << text;
  }
}

// Each message goes kMessageSteps steps after it came, counted by the game's steps, the oldest
// first; a full queue lets its oldest go at once.
TEST_F(MessagesTest, MessagesQueueAndGoOnTheFixedStep) {
  PostMessage(game.messages, "first");
  Step(100);
  PostMessage(game.messages, "second %d", 2);
  Step(kMessageSteps - 101);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"first", "second 2"}));
  Step();
  EXPECT_EQ(Shown(), std::vector<std::string>{"second 2"});
  Step(99);
  EXPECT_EQ(Shown(), std::vector<std::string>{"second 2"});
  Step();
  EXPECT_TRUE(Shown().empty());

  for (size_t i = 0; i <= kMaxMessages; ++i) PostMessage(game.messages, "m%zu", i);
  ASSERT_EQ(game.messages.shown.size(), kMaxMessages);
  EXPECT_EQ(game.messages.shown.front().text, "m1");
}

// Wherever the toolbar is, the messages stay inside the screen and off it; a message too long
// for one row wraps, and without a toolbar they sit in the bottom right corner, newest lowest.
TEST_F(MessagesTest, MessagesKeepOffTheToolbarAndInsideTheScreen) {
  Messages messages;
  PostMessage(messages, "Track saved:%s", Dialogged("a/rather/long/folder/name/that/goes/on/mine.track").c_str());
  PostMessage(messages, "Nothing saved: the track is empty");
  const ScreenRect trackBar{15, 250, 74, 517}, riderBar{15, 250, 266, 517};
  const ScreenRect bars[] = {trackBar, riderBar, {940, 0, 74, 517}, {900, 251, 74, 517},
                             {700, 200, 266, 517}, {400, 10, 266, 517}, {-100, 700, 266, 517}};
  for (const ScreenRect& bar : bars) {
    const MessageLayout layout = LayOutMessages(messages, kScreen, &bar);
    ASSERT_GE(layout.rows.size(), 3u) << bar.x << ", " << bar.y;
    for (size_t i = 0; i < layout.rows.size(); ++i) {
      const ScreenRect row{layout.at[i].x, layout.at[i].y, float(layout.rows[i].size()) * kMessageGlyph,
                           kMessageGlyph};
      EXPECT_FALSE(Overlap(row, bar)) << layout.rows[i] << " at " << row.x << ", " << row.y;
      EXPECT_TRUE(row.x >= 0 && row.y >= 0 && row.x + row.w <= kScreen.x && row.y + row.h <= kScreen.y)
          << layout.rows[i] << " at " << row.x << ", " << row.y;
    }
  }
  const MessageLayout free = LayOutMessages(messages, kScreen, nullptr);
  ASSERT_EQ(free.rows.back(), "Nothing saved: the track is empty");
  EXPECT_EQ(free.at.back().y, kMessageBottom);
  EXPECT_LE(free.at.back().x + float(free.rows.back().size()) * kMessageGlyph, kScreen.x - kMessageMargin);
  EXPECT_GT(free.at.front().y, free.at.back().y) << "the oldest row on top";
}

// Resting on a toolbar button for kTooltipSteps steps shows its name; a press hides it until
// the pointer leaves; another button starts the count again.
TEST_F(MessagesTest, TooltipsComeAfterHalfASecondAndGoOnAPress) {
  Enter(ToTrackScreen);
  Hover(CentreOf(game.toolbar.buttons[kZoomButton]));
  Step(kTooltipSteps - 2);
  EXPECT_FALSE(TooltipShown(game.tooltip));
  Step();
  ASSERT_TRUE(TooltipShown(game.tooltip));
  EXPECT_STREQ(TrackButtonTip(game.tooltip.button), "ZOOM (Z / X)");
  Tap(kKeyLeftButton);
  Step(kTooltipSteps);
  EXPECT_FALSE(TooltipShown(game.tooltip)) << "pressed: hidden while the pointer stays";
  Hover(CentreOf(game.toolbar.buttons[kPencilButton]));
  Step(kTooltipSteps - 1);
  ASSERT_TRUE(TooltipShown(game.tooltip));
  EXPECT_STREQ(TrackButtonTip(game.tooltip.button), "PENCIL");
  Hover({600, 400});
  EXPECT_FALSE(TooltipShown(game.tooltip));

  Enter(ToRiderEditor);
  Hover(CentreOf(game.riderToolbar.buttons[kShowSpritesButton]));
  Step(kTooltipSteps);
  ASSERT_TRUE(TooltipShown(game.tooltip));
  EXPECT_STREQ(RiderButtonTip(game.tooltip.button), "SHOW SPRITES (D)");
}

// A tooltip sits right of its button, left of it where the right side has no room, and is
// clamped inside the screen at the top and bottom edges.
TEST_F(MessagesTest, TooltipsStayInsideTheScreen) {
  const struct {
    ScreenRect button;
    bool right;
  } cases[] = {
      {{20, 400, 32, 32}, true}, {{990, 400, 32, 32}, false}, {{600, 750, 32, 32}, true},
      {{600, -20, 32, 32}, true}, {{1000, 760, 32, 32}, false}, {{700, 300, 32, 32}, false},
  };
  for (const auto& c : cases) {
    const int characters = c.button.x == 700 ? 24 : 12;
    const ScreenRect box = PlaceTooltip(c.button, characters, kScreen);
    EXPECT_TRUE(box.x >= 0 && box.y >= 0 && box.x + box.w <= kScreen.x && box.y + box.h <= kScreen.y)
        << c.button.x << ", " << c.button.y;
    EXPECT_FALSE(Overlap(box, c.button)) << c.button.x << ", " << c.button.y;
    EXPECT_EQ(box.x > c.button.x, c.right) << c.button.x << ", " << c.button.y;
  }
}
