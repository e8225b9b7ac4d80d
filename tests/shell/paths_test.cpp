#include "shell/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/file_copy.h"
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

TEST(Paths, FoldersFollowHowTheGameIsInstalled) {
  struct Case {
    const char* what;
    FolderFacts facts;
    GameFolders want;
  };
  const std::string own = "\\home\\u\\.local\\share\\velmora", ownConfig = "\\home\\u\\.config\\velmora";
  const Case cases[] = {
      {"portable: all beside the program", {"\\games\\velmora", false, true, "\\xdg", "\\cfg", "\\home\\u"},
       {"\\games\\velmora", "\\games\\velmora", ""}},
      {"installed, even when it may write there", {"\\usr\\bin", true, true, "\\xdg", "\\cfg", "\\home\\u"},
       {"\\usr\\share\\velmora", "\\xdg\\velmora", "\\cfg\\velmora"}},
      {"installed, no XDG variables", {"\\usr\\local\\bin", true, false, "", "", "\\home\\u"},
       {"\\usr\\local\\share\\velmora", own, ownConfig}},
      {"relative XDG variables count as unset", {"\\usr\\bin", true, false, "xdg", "cfg", "\\home\\u"},
       {"\\usr\\share\\velmora", own, ownConfig}},
      {"a portable copy it cannot write", {"\\opt\\velmora", false, false, "", "", "\\home\\u"},
       {"\\opt\\velmora", own, ownConfig}},
      {"no HOME: nowhere to write", {"\\usr\\bin", true, false, "", "", ""}, {"\\usr\\share\\velmora", "", ""}},
  };
  for (const Case& c : cases) {
    const GameFolders got = FoldersFor(c.facts);
    EXPECT_EQ(got.data, c.want.data) << c.what;
    EXPECT_EQ(got.player, c.want.player) << c.what;
    EXPECT_EQ(got.config, c.want.config) << c.what;
  }
}

TEST(Paths, AnInstallIsFoundByItsShareFolder) {
  TempFolder folder;
  folder.write("share/velmora/config.cfg", "");
  folder.write("bin/velmora", "");
  const std::string saved = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
  setenv("XDG_DATA_HOME", folder.file("xdg").c_str(), 1);
  EXPECT_TRUE(ChooseGameFolders(folder.file("bin/velmora").c_str()));
  saved.empty() ? unsetenv("XDG_DATA_HOME") : setenv("XDG_DATA_HOME", saved.c_str(), 1);
  EXPECT_EQ(DataFolder(), Stored(folder.file("share/velmora")));
  EXPECT_EQ(PlayerFolder(), Stored(folder.file("xdg/velmora")));
  EXPECT_TRUE(MakePlayerFolders());
  EXPECT_TRUE(std::filesystem::is_directory(folder.path / "xdg/velmora/riders"));
}

TEST(Paths, APlayersFileShadowsTheShippedOneOfItsName) {
  TempFolder folder;
  const std::string data = Stored(folder.file("share")), player = Stored(folder.file("own"));
  SetGameFolders({data, player, ""});
  folder.write("share/riders/a.rider", "shipped a");
  folder.write("share/riders/b.rider", "shipped b");
  folder.write("own/riders/a.rider", "own a");
  folder.write("own/riders/c.rider", "own c");
  folder.write("elsewhere/b.rider", "another b");

  char out[kMaxPath];
  const struct {
    const char* name;
    std::string want;
  } reads[] = {{"riders\\a.rider", player + "\\riders\\a.rider"},
               {"riders\\b.rider", data + "\\riders\\b.rider"},
               {"riders\\none.rider", data + "\\riders\\none.rider"}};
  for (const auto& read : reads) {
    ASSERT_TRUE(MakeAbsolutePath(out, read.name));
    EXPECT_EQ(out, read.want) << read.name;
    ASSERT_TRUE(MakeRelativePath(out, read.want.c_str()));
    EXPECT_STREQ(out, read.name) << "stored paths stay relative to either folder";
  }
  ASSERT_TRUE(MakePlayerPath(out, "riders\\b.rider"));
  EXPECT_EQ(out, player + "\\riders\\b.rider") << "writes go to the player's folder";

  std::vector<FolderEntry> listed;
  ASSERT_TRUE(ListGameFolder("riders", &listed));
  std::vector<std::string> names;
  for (const FolderEntry& entry : listed)
    if (entry.regular) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"a.rider", "b.rider", "c.rider"}));

  ASSERT_TRUE(CopyIntoPlayerFolder(Stored(folder.file("elsewhere/b.rider")).c_str(), "riders", out));
  EXPECT_STREQ(out, "riders\\b-2.rider") << "a copy never shadows a shipped file of another content";
  EXPECT_EQ(folder.read("own/riders/b-2.rider"), "another b");
}
