#include "shell/log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "platform/platform.h"
#include "support/temp_folder.h"

namespace {

class LogTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    Platform().localTime = [] { return LocalTime{2026, 2, 5, 9, 5, 3}; };
    getcwd(cwd_, sizeof cwd_);
    chdir(folder_.path.c_str());
  }
  void TearDown() override {
    CloseLog();
    chdir(cwd_);
    Platform() = saved_;
  }
  TempFolder folder_;
  PlatformServices saved_;
  char cwd_[4096] = {};
};

}  // namespace

TEST_F(LogTest, LinesAreStampedFlushedAndEachRunStartsEmpty) {
  OpenLog();
  Log("Log started: %s", LogDate());
  Log("first run");
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] Log started: 5 Mar 2026\n[09:05:03] first run\n")
      << "every line is on disk before the next call";
  CloseLog();
  Log("after close is dropped");

  OpenLog();
  Log("%s", "");
  Log("Exec folder:%s\n", "\\games");
  CloseLog();
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] \n[09:05:03] Exec folder:\\games\n\n")
      << "only the second run's lines; a format ending in a line feed adds an empty line";
}

TEST_F(LogTest, FatalWritesErrorAndMessageThenExitsWithMinusOne) {
  EXPECT_EXIT(
      {
        OpenLog();
        Fatal("Cannot create window");
      },
      testing::ExitedWithCode(255), "");
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] ERROR!\n[09:05:03] Cannot create window\n");
  EXPECT_STREQ(MonthName(11), "Dec");
  EXPECT_STREQ(MonthName(0), "Jan");
}
