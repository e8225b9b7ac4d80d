#include <string>
#include <vector>

#include "gui/game.h"
#include "rider/current_rider.h"
#include "game_session.h"

namespace {

// The right magic and then too few bytes: refused as damaged, not as missing.
std::string Damaged() { return ShippedRider("pogo.rider").substr(0, 40); }

class StartFilesTest : public GameFilesTest {};

}  // namespace

TEST_F(StartFilesTest, TriesEveryRiderUntilOneLoads) {
  // Each case: the files in riders/ (name, bytes), the rider in use ("" for none) and how many
  // refused files are logged as such.
  struct Case { std::vector<std::pair<std::string, std::string>> files; const char* loaded; int refusals; } cases[] = {
      {{{"aaa.rider", Damaged()}, {"pogo.rider", ShippedRider("pogo.rider")}}, "riders\\pogo.rider", 1},
      {{{"sledder.rider", Damaged()}, {"a.rider", Damaged()}, {"b.rider", Damaged()},
        {"crate.rider", ShippedRider("crate_cart.rider")}},
       "riders\\crate.rider", 3},
      {{{"sledder.rider", ShippedRider("sledder.rider")}, {"a.rider", Damaged()}}, "riders\\sledder.rider", 0},
      {{{"a.rider", Damaged()}, {"sledder.rider", Damaged()}}, "", 2},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(folder_.path / "riders");
    for (const auto& [name, bytes] : c.files) folder_.write("riders/" + name, bytes);
    OpenLog();
    CurrentRider rider;
    LoadDefaultRider(rider);
    EXPECT_EQ(rider.loaded, c.loaded[0] != 0) << c.loaded;
    EXPECT_STREQ(rider.path, c.loaded);
    int refusals = 0;
    for (const std::string& line : LogLines())
      if (line.rfind("rider ", 0) == 0 && line.find(" refused, trying the ") != std::string::npos) ++refusals;
    EXPECT_EQ(refusals, c.refusals) << c.loaded;
    EXPECT_EQ(Logged("no rider found in the riders folder"), c.loaded[0] == 0) << c.loaded;
  }
}

TEST_F(StartFilesTest, StaleSavesAreRemovedAndNothingElse) {
  const std::vector<std::string> stale = {"last_played.track.saving", "my.demo.saving", "riders/temp_rider.rider.saving",
                                          "riders/a b.rider.saving", "riders/old.track.saving"};
  const std::vector<std::string> kept = {"last_played.track", "notes.saving", ".track.saving", "x.track.saving.bak",
                                         "x.track.savings", "x.TRACK.saving", "x.track.Saving", "x.png.saving",
                                         "riders/r.saving", "tracks/t.track.saving", "riders/sub/s.rider.saving"};
  for (const std::string& name : stale) folder_.write(name, "partial");
  for (const std::string& name : kept) folder_.write(name, "keep");
  std::filesystem::create_directories(folder_.path / "folder.track.saving");
  OpenLog();
  RemoveStaleSaveFiles();
  for (const std::string& name : stale) {
    EXPECT_FALSE(std::filesystem::exists(folder_.path / name)) << name;
    EXPECT_TRUE(Logged("removed " + Stored(BackslashPath(name)) + ", left by a save that did not finish")) << name;
  }
  for (const std::string& name : kept) EXPECT_EQ(folder_.read(name), "keep") << name;
  EXPECT_TRUE(std::filesystem::is_directory(folder_.path / "folder.track.saving")) << "a folder is never a save";
}
