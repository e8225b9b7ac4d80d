#include "shell/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace {
std::vector<std::string> walked;
void Collect(const char* path) { walked.push_back(path); }

std::string Stored(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}
}  // namespace

TEST(Paths, ExecFolderJoinsAndCuts) {
  SetExecFolder("/games/velmora/velmora");
  EXPECT_STREQ(ExecFolder(), "\\games\\velmora");
  char out[kMaxPath];
  ASSERT_TRUE(MakeAbsolutePath(out, "riders\\a.rider"));
  EXPECT_STREQ(out, "\\games\\velmora\\riders\\a.rider");
  ASSERT_TRUE(MakeRelativePath(out, "\\games\\velmora\\riders\\a.rider"));
  EXPECT_STREQ(out, "riders\\a.rider");

  EXPECT_FALSE(MakeRelativePath(out, "\\games\\velmoraX\\a.rider")) << "a sibling folder sharing the prefix";
  EXPECT_FALSE(MakeRelativePath(out, "\\elsewhere\\a.rider"));
  EXPECT_FALSE(MakeRelativePath(out, "\\games"));
  EXPECT_STREQ(out, "");

  std::string longName(300, 'n');
  EXPECT_FALSE(MakeAbsolutePath(out, longName.c_str())) << "too long is refused, never cut";
  EXPECT_STREQ(out, "");
  std::string exactFit(kMaxPath - 1 - strlen("\\games\\velmora\\"), 'f');
  EXPECT_TRUE(MakeAbsolutePath(out, exactFit.c_str()));
  EXPECT_EQ(strlen(out), kMaxPath - 1);
  EXPECT_FALSE(MakeAbsolutePath(out, (exactFit + "f").c_str()));

  SetExecFolder("velmora");
  EXPECT_STREQ(ExecFolder(), "") << "no separator: empty folder";
}

TEST(Paths, WalkVisitsSubFoldersFirstSkipsDottedAndSurvivesLinkLoops) {
  TempFolder folder;
  SetExecFolder((folder.path / "velmora").c_str());
  folder.write("riders/b.rider", "b");
  folder.write("riders/A.RIDER", "a");
  folder.write("riders/notes.txt", "x");
  folder.write("riders/old/c.rider", "c");
  folder.write("riders/.hidden/d.rider", "d");
  folder.write("riders/zeta/e.rider", "e");
  ASSERT_EQ(symlink((folder.path / "riders").c_str(), (folder.path / "riders/loop").c_str()), 0);
  ASSERT_EQ(mkfifo((folder.path / "riders/pipe.rider").c_str(), 0600), 0);
  ASSERT_EQ(mkdir((folder.path / "riders/dir.rider").c_str(), 0700), 0);

  walked.clear();
  EXPECT_EQ(WalkFolder("riders\\*.rider", Collect, true), 1);
  std::string base = Stored(folder.path.string()) + "\\riders\\";
  std::vector<std::string> expected = {base + "old\\c.rider", base + "zeta\\e.rider", base + "A.RIDER",
                                       base + "b.rider"};
  EXPECT_EQ(walked, expected) << "sub-folders first, by name; no dotted folder, FIFO, folder or link loop";

  walked.clear();
  EXPECT_EQ(WalkFolder("riders\\*.rider", Collect, false), 1);
  EXPECT_EQ(walked.size(), 2u);
  walked.clear();
  EXPECT_EQ(WalkFolder("missing\\*.rider", Collect, true), 1) << "an unlistable folder is skipped";
  EXPECT_TRUE(walked.empty());
  EXPECT_EQ(WalkFolder((std::string(300, 'x') + "\\*.rider").c_str(), Collect, true), 0);
}
