// Autosave and recovery in a private exec folder: a version appears a few seconds after a change
// and holds the whole game, a run keeps its newest five, a run that did not end cleanly is
// offered back at the next start and restored whole, and neither a run still going nor one that
// ended cleanly is taken for a crash.
#include "gui/autosave.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "game_session.h"
#include "rider/editor_files.h"
#include "rider/rider_file.h"
#include "track/track_file.h"

namespace {

// The questions the game asked, and the answer it gets.
std::vector<std::string> questions;
bool reply = true;

class AutosaveTest : public GameSessionTest {
 protected:
  void SetUp() override {
    GameSessionTest::SetUp();
    // Every autosave is a second after the one before, so each is a version of its own.
    Platform().localTime = [] {
      static int second = 0;
      second += 1;
      return LocalTime{2026, 11, 8, 18, second / 60 % 60, second % 60};
    };
    Platform().question = [](const char*, const char* text) {
      questions.push_back(text);
      return reply;
    };
    questions.clear();
    reply = true;
  }

  static void Run(int steps) {
    for (int i = 0; i < steps; ++i) {
      Step();
      StepAutosave(TheGame());
    }
  }
  // Steps until the copy and the write under way have ended.
  static void AwaitWrite() {
    const Autosave& autosave = TheGame().autosave;
    for (int i = 0; i < 3000 && (autosave.copying || autosave.session.writing); ++i) {
      Run(1);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    Run(1);
  }
  void Draw(float y) { Stroke(kKeyRightButton, {300, y}, {500, y}); }

  std::vector<std::string> Versions() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path / "autosave"))
      if (entry.is_directory() && entry.path().filename().string()[0] != '.') names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<uint8_t> Saved(const Game& game) const {
    std::vector<uint8_t> bytes;
    EncodeTrackFile(game.track.world, game.track.rider, false, &bytes);
    return bytes;
  }
};

}  // namespace

TEST_F(AutosaveTest, AChangeIsSavedAFewSecondsLaterAndARunKeepsItsNewestFive) {
  StartAutosave(game);
  Draw(300);
  Run(kAutosaveQuietSteps - 20);
  AwaitWrite();
  EXPECT_TRUE(Versions().empty()) << "nothing before the quiet time";
  Run(40);
  AwaitWrite();
  ASSERT_EQ(Versions().size(), 1u);
  // What a version written after the quiet time holds is the recovery test's: it restores one whole.
  EXPECT_TRUE(Logged("Autosaved:autosave\\" + Versions()[0]));

  Run(kAutosaveQuietSteps * 2);
  AwaitWrite();
  EXPECT_EQ(Versions().size(), 1u) << "no change, no new version";
  for (int i = 0; i < 6; ++i) {
    Draw(200.0f + 20.0f * float(i));
    ToGameMenu(game);                             // a switch saves at once
    AwaitWrite();
    ToTrackScreen(game);
    AwaitWrite();
  }
  EXPECT_EQ(Versions().size(), size_t(kKeptAutosaves));
  const std::string before = Versions().back();
  LoadTestRider(100, 100);                        // only the rider changes, just before a switch
  ToGameMenu(game);
  AwaitWrite();
  EXPECT_NE(Versions().back(), before) << "a switch saves a change of the rider too";
  const std::string newest = folder_.read("autosave/" + Versions().back() + "/track.track");
  EXPECT_EQ(std::vector<uint8_t>(newest.begin(), newest.end()), Saved(game));
}

// A crash is played by letting go of the run's marker as the kernel does when a process dies.
TEST_F(AutosaveTest, ARunThatDidNotEndCleanlyIsOfferedBackAndRestoredWhole) {
  StartAutosave(game);
  Draw(300);
  Draw(250);
  SetStartFlag(game.track);
  AddPoint(game.riderEditor.body, 10, 20, 1, 5, 0, 1, 0.5f);
  AddPoint(game.riderEditor.body, 40, 20, 1, 5, 0, 1, 0.5f);
  Run(kAutosaveQuietSteps + kAutosaveCheckSteps * 2);
  AwaitWrite();
  ASSERT_EQ(Versions().size(), 1u);
  const std::vector<uint8_t> track = Saved(game);
  std::vector<uint8_t> rider;
  EncodeRiderFile(game.track.rider, &rider);
  PlatformUnlockFile(game.autosave.session.marker);

  for (const bool answer : {false, true}) {
    SCOPED_TRACE(answer);
    ResetSession();
    reply = answer;
    Game& next = TheGame();
    StartAutosave(next);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_NE(questions[0].find("18:00:"), std::string::npos) << questions[0];
    questions.clear();
    if (!answer) {
      EXPECT_EQ(SolidLineCount(next.track.world), 0);
      PlatformUnlockFile(next.autosave.session.marker);  // and crashes again
      continue;
    }
    EXPECT_EQ(Saved(next), track);
    std::vector<uint8_t> restored;
    EncodeRiderFile(next.track.rider, &restored);
    EXPECT_EQ(restored, rider);
    EXPECT_EQ(next.riderEditor.body.points.size(), 2u);
    EXPECT_TRUE(EditorHasUnsavedEdits(next.riderEditor));
    EXPECT_EQ(next.screens.current.update, TrackScreenUpdate);
  }
}

TEST_F(AutosaveTest, NeitherARunStillGoingNorOneThatEndedCleanlyIsTakenForACrash) {
  // Another copy of the game, still running: its marker is locked and it has a version.
  std::filesystem::create_directories(folder_.path / "autosave/2026-12-08_17-00-00_424242");
  const int other = PlatformLockFile(Stored("autosave\\running-424242").c_str());
  ASSERT_GE(other, 0);
  // An old version of a run long gone, a week and a day old.
  const auto old = folder_.path / "autosave/2026-11-30_17-00-00_434343";
  std::filesystem::create_directories(old);
  std::filesystem::last_write_time(old, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24 * 8));

  StartAutosave(game);
  EXPECT_TRUE(questions.empty());
  Draw(300);
  Run(kAutosaveQuietSteps + 10);
  AwaitWrite();
  EndAutosave(game);
  PlatformUnlockFile(other);
  EXPECT_FALSE(std::filesystem::exists(old)) << "a clean exit removes versions older than a week";
  EXPECT_EQ(Versions().size(), 2u);

  ResetSession();
  StartAutosave(TheGame());
  EXPECT_EQ(questions.size(), 1u) << "only the run that let go of its marker without ending";
  EXPECT_EQ(SolidLineCount(TheGame().track.world), 0) << "its version holds no track: nothing restored";
}
