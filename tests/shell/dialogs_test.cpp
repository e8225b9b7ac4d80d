#include "shell/dialogs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "shell/paths.h"
#include "support/temp_folder.h"

namespace {

// A scripted dialog: records what was asked and answers with the next scripted path.
struct Script {
  std::string answer;
  bool accept = true;
  FileDialogRequest asked{};                      // its filters outlive the call; its folder does not
  std::vector<std::string> folders;               // where each dialog shown opened
  std::vector<bool> replies;                      // the player's answers to "replace?", in order
  std::vector<std::string> questions;
} script;

class DialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    Platform().fileDialog = [](const FileDialogRequest& request, std::string* result) {
      script.asked = request;
      script.folders.push_back(request.folder ? request.folder : "(none)");
      // A second showing after a "no" is cancelled once the replies run out.
      if (script.folders.size() > 1 && script.folders.size() > script.replies.size()) return false;
      *result = script.answer;
      return script.accept;
    };
    Platform().question = [](const char*, const char* text) {
      script.questions.push_back(text);
      return script.replies.size() >= script.questions.size() && script.replies[script.questions.size() - 1];
    };
  }
  void TearDown() override { Platform() = saved_; }
  PlatformServices saved_;
};

}  // namespace

// First in this file: the dialogs remember folders for the whole run, and this is a run's start.
TEST_F(DialogsTest, EachKindOpensInItsLastFolderElseItsHomeInTheGameFolder) {
  TempFolder game;
  SetExecFolder(game.file("velmora").c_str());
  const std::string home = game.path.string();
  const struct {
    const char* (*dialog)();
    std::string answer;                           // "" = cancelled
    std::string opensIn;
  } steps[] = {
      {LoadTrackDialog, "", home},
      {LoadRiderDialog, "", home + "/riders"},
      {LoadTextureDialog, "", home + "/sprites"},
      {LoadRiderDialog, "/home/p/riders/a.rider", home + "/riders"},
      {SaveRiderDialog, "", "/home/p/riders"},
      {SaveTrackDialog, "/home/p/tracks/b.track", home},
      {LoadTrackDialog, "", "/home/p/tracks"},
      {LoadTextureDialog, "", home + "/sprites"},
      {LoadRiderDialog, "", "/home/p/riders"},
  };
  for (const auto& step : steps) {
    script = Script{step.answer, !step.answer.empty(), {}, {}, {}, {}};
    step.dialog();
    ASSERT_EQ(script.folders.size(), 1u);
    EXPECT_EQ(script.folders[0], step.opensIn) << "then answering " << step.answer;
  }
}

// The platform adds the extension to a typed "hill"; the question must see "hill.track".
TEST_F(DialogsTest, SavingOverAnExistingFileAsksWithItsFinalNameAndNoReopensTheDialog) {
  TempFolder tracks;
  tracks.write("hill.track", "old");
  const std::string hill = tracks.file("hill.track");
  std::string stored = hill;
  std::replace(stored.begin(), stored.end(), '/', '\\');
  const struct {
    const char* (*dialog)();
    std::string answer;
    std::vector<bool> replies;
    std::string result;
    size_t questions, showings;
  } cases[] = {
      {SaveTrackDialog, hill, {true}, stored, 1, 1},
      {SaveTrackDialog, hill, {false}, "", 1, 2},
      {SaveTrackDialog, hill, {false, true}, stored, 2, 2},
      {SaveTrackDialog, tracks.file("new.track"), {}, "\\" + stored.substr(1, stored.size() - 11) + "new.track", 0, 1},
      {SaveRiderDialog, hill, {true}, stored, 1, 1},
      {LoadTrackDialog, hill, {}, stored, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer + " replies " + std::to_string(c.replies.size()));
    script = Script{c.answer, true, {}, {}, c.replies, {}};
    EXPECT_EQ(c.dialog(), c.result);
    EXPECT_EQ(std::pair(script.questions.size(), script.folders.size()), std::pair(c.questions, c.showings));
    for (const std::string& question : script.questions)
      EXPECT_NE(question.find("\"hill.track\" already exists"), std::string::npos) << question;
  }
  EXPECT_EQ(tracks.read("hill.track"), "old") << "asking changes nothing on the disk";
}

TEST_F(DialogsTest, EachDialogAsksToSaveOrLoadItsOwnKindOfFile) {
  const struct {
    const char* (*dialog)();
    bool save;
    const char* extension;
  } dialogs[] = {{SaveTrackDialog, true, "track"}, {LoadTrackDialog, false, "track"},
                 {LoadTextureDialog, false, "png"}, {SaveRiderDialog, true, "rider"},
                 {LoadRiderDialog, false, "rider"}};
  for (const auto& d : dialogs) {
    SCOPED_TRACE(d.extension);
    script = Script{"/home/p/tracks/hill." + std::string(d.extension), true, {}, {}, {}, {}};
    EXPECT_EQ(d.dialog(), "\\home\\p\\tracks\\hill." + std::string(d.extension)) << "stored paths use backslashes";
    EXPECT_EQ(script.asked.save, d.save);
    EXPECT_STREQ(script.asked.defaultExtension, d.extension);
    EXPECT_GT(script.asked.filterCount, 0);
  }
  LoadTrackDialog();
  EXPECT_STREQ(script.asked.filters[0].pattern, "*.track;*.demo") << "loading a track offers demos as well";
}

TEST_F(DialogsTest, CancelAndOverlongPathsGiveAnEmptyResult) {
  script = Script{"/home/p/a.rider", true, {}, {}, {}, {}};
  const char* result = LoadRiderDialog();
  EXPECT_STREQ(result, "\\home\\p\\a.rider");
  script = Script{"/ignored", false, {}, {}, {}, {}};
  EXPECT_STREQ(LoadRiderDialog(), "");
  EXPECT_STREQ(result, "") << "one shared buffer: the cancel overwrote the previous result";
  script = Script{"/" + std::string(259, 'x'), true, {}, {}, {}, {}};
  EXPECT_STREQ(LoadRiderDialog(), "") << "a path of 260 characters cannot be stored";
  script = Script{"/" + std::string(258, 'x'), true, {}, {}, {}, {}};
  EXPECT_EQ(std::string(LoadRiderDialog()).size(), 259u);
}
