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

TEST_F(DialogsTest, EachDialogAsksWithItsTitleFiltersAndExtension) {
  script = Script{"/home/p/tracks/hill.track", true, {}, {}};
  EXPECT_STREQ(SaveTrackDialog(), "\\home\\p\\tracks\\hill.track") << "stored paths use backslashes";
  EXPECT_TRUE(script.asked.save);
  EXPECT_STREQ(script.asked.title, "SAVE track");
  EXPECT_EQ(script.asked.filterCount, 2);
  EXPECT_STREQ(script.asked.defaultExtension, "track");

  LoadTrackDialog();
  EXPECT_FALSE(script.asked.save);
  EXPECT_STREQ(script.asked.title, "LOAD track");
  EXPECT_EQ(script.firstFilter, "*.track;*.demo");
  EXPECT_EQ(script.asked.filterCount, 3);

  LoadTextureDialog();
  EXPECT_STREQ(script.asked.title, "LOAD PNG Texture");
  EXPECT_STREQ(script.asked.defaultExtension, "png");
  SaveRiderDialog();
  EXPECT_TRUE(script.asked.save);
  EXPECT_STREQ(script.asked.title, "SAVE Rider");
  LoadRiderDialog();
  EXPECT_STREQ(script.asked.title, "LOAD Rider");
  EXPECT_STREQ(script.asked.defaultExtension, "rider");
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
