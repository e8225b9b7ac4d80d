#include "shell/dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace {

// A scripted dialog: records what was asked and answers with the next scripted path.
struct Script {
  std::string answer;
  bool accept = true;
  FileDialogRequest asked{};
  std::string firstFilter;
} script;

class DialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    Platform().fileDialog = [](const FileDialogRequest& request, std::string* result) {
      script.asked = request;
      script.firstFilter = request.filterCount > 0 ? request.filters[0].pattern : "";
      *result = script.answer;
      return script.accept;
    };
  }
  void TearDown() override { Platform() = saved_; }
  PlatformServices saved_;
};

}  // namespace

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
    script = Script{"/home/p/tracks/hill." + std::string(d.extension), true, {}, {}};
    EXPECT_EQ(d.dialog(), "\\home\\p\\tracks\\hill." + std::string(d.extension)) << "stored paths use backslashes";
    EXPECT_EQ(script.asked.save, d.save);
    EXPECT_STREQ(script.asked.defaultExtension, d.extension);
    EXPECT_GT(script.asked.filterCount, 0);
  }
  LoadTrackDialog();
  EXPECT_EQ(script.firstFilter, "*.track;*.demo") << "loading a track offers demos as well";
}

TEST_F(DialogsTest, CancelAndOverlongPathsGiveAnEmptyResult) {
  script = Script{"/home/p/a.rider", true, {}, {}};
  const char* result = LoadRiderDialog();
  EXPECT_STREQ(result, "\\home\\p\\a.rider");
  script = Script{"/ignored", false, {}, {}};
  EXPECT_STREQ(LoadRiderDialog(), "");
  EXPECT_STREQ(result, "") << "one shared buffer: the cancel overwrote the previous result";
  script = Script{"/" + std::string(259, 'x'), true, {}, {}};
  EXPECT_STREQ(LoadRiderDialog(), "") << "a path of 260 characters cannot be stored";
  script = Script{"/" + std::string(258, 'x'), true, {}, {}};
  EXPECT_EQ(std::string(LoadRiderDialog()).size(), 259u);
}
