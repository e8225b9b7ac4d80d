#include "rider/rider_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>

#include "rider/current_rider.h"
#include "rider/rider_size.h"
#include "support/body_builder.h"
#include "support/describe_game.h"
#include "support/game_files.h"

namespace {

constexpr const char* kRefused = "File of unknown format or damaged! Not loaded.";
constexpr const char* kNotOpened = "File not opened. User pressed cancel or file damaged";

// Three points, three links (two with sprites, one of them in a slot outside the table), one
// joint, and some implied motion.
void MakeTestRider(CurrentRider& rider) {
  Body body;
  BodyPoint* a = Add(body, {.group = 1});
  BodyPoint* b = Add(body, {.x = 30, .mass = 2.5f, .radius = 8, .group = 1, .friction = 0.02f});
  BodyPoint* c = Add(body, {.x = 15, .y = 25, .mass = 0.5f, .radius = 5, .collides = 0, .friction = 0.5f});
  a->prevX = -1.5f;
  c->prevY = 26.25f;
  Link* ab = Tie(body, a, b, {.stiffness = 0.9f, .breakGroup = 2});
  Link* bc = Tie(body, b, c, {.stiffness = 0.5f, .breakFactor = 0.3f, .kind = LinkKind::Rope});
  Tie(body, c, a, {.breakGroup = -4, .breakFactor = 0.3f, .kind = LinkKind::Thruster});
  AttachSprite(body, ab, 15, 3, 0.1f, -2, 12, 6, 2);
  AttachSprite(body, bc, 25, 1, 0, 0.5f, 5, 5, 1);
  AddAngleJoint(body, a, b, c, 30, 0.2f);
  TakeSnapshot(body, rider.snapshot);
  rider.focusPointId = 1;
  snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "sprites\\to.png");
}

// A different rider, already loaded, so a refused file is seen to leave it alone.
void MakeOtherRider(CurrentRider& rider) {
  Body body;
  BodyPoint* a = Add(body, {.x = 5, .y = 5});
  Tie(body, a, Add(body, {.x = 25, .y = 5}), {.kind = LinkKind::Strut});
  TakeSnapshot(body, rider.snapshot);
  rider.loaded = true;
  snprintf(rider.path, sizeof rider.path, "riders\\other.rider");
  snprintf(rider.spriteSheet, sizeof rider.spriteSheet, "sprites\\other.png");
}

// Layout of the test rider's file, counted from the format: magic, sheet string, focus id.
constexpr size_t kSheetBytes = 4 + 15;            // "sprites\to.png" and its zero
constexpr size_t kPointCountAt = 17 + kSheetBytes + 4;
constexpr size_t kPointAt = kPointCountAt + 4;    // 37 bytes each
constexpr size_t kLinkCountAt = kPointAt + 3 * 37;
constexpr size_t kLinkAt = kLinkCountAt + 4;      // 57, 57 and 29 bytes
constexpr size_t kJointCountAt = kLinkAt + 57 + 57 + 29;
constexpr size_t kJointAt = kJointCountAt + 4;
constexpr size_t kFileBytes = kJointAt + 20;

// The file with its sheet name replaced by name.
std::string WithSheet(const std::string& bytes, const std::string& name) {
  std::string out = bytes.substr(0, 21) + name + '\0' + bytes.substr(17 + kSheetBytes);
  PutU32(out, 17, uint32_t(name.size() + 1));
  return out;
}

// A copy of the first point, with the given id, as a fourth point no link names.
void AddFourthPoint(std::string& bytes, uint32_t id) {
  bytes.insert(kLinkCountAt, bytes.substr(kPointAt, 37));
  PutU32(bytes, kPointCountAt, 4);
  PutU32(bytes, kLinkCountAt + 28, id);
}

class RiderFileTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    std::filesystem::create_directories(folder_.path / "riders");
    MakeTestRider(source_);
    ASSERT_TRUE(SaveRider(source_, Stored("riders\\test.rider").c_str()));
    good_ = folder_.read("riders/test.rider");
  }

  CurrentRider source_;                           // the test rider, saved as riders\test.rider
  std::string good_;                              // its file's bytes
};

}  // namespace

TEST_F(RiderFileTest, SavedRiderLoadsBackFieldForFieldAndSavesToTheSameBytes) {
  EXPECT_STREQ(source_.path, "riders\\test.rider") << "the path is kept relative to the exec folder";
  EXPECT_EQ(LastLogLine(), "Saving rider:" + Stored("riders\\test.rider")) << "no line on success";
  ASSERT_EQ(good_.size(), kFileBytes) << "points 37 bytes, links 29 or 57 with a sprite, joints 20";
  EXPECT_EQ(good_.substr(0, kPointAt), std::string("TOLK_RIDER_RIDER\0\x0f\0\0\0sprites\\to.png\0\1\0\0\0\3\0\0\0", kPointAt))
      << "magic, sheet name, focus id 1, 3 points";
  EXPECT_EQ(good_[kLinkAt + 28], 1) << "first link carries a sprite";
  EXPECT_EQ(good_.substr(kLinkAt + 29, 4), std::string("\x0f\0\0\0", 4)) << "its slot";
  EXPECT_EQ(good_.substr(kLinkAt + 57 + 29, 4), std::string("\x19\0\0\0", 4)) << "slot 25 kept as stored";
  EXPECT_EQ(good_[kLinkAt + 114 + 28], 0) << "third link has none";

  CurrentRider loaded;
  EXPECT_EQ(LoadRider(loaded, Stored("riders\\test.rider").c_str()), FileLoad::Loaded);
  EXPECT_EQ(LastLogLine(), "Loading rider:" + Stored("riders\\test.rider"));
  source_.loaded = true;
  EXPECT_EQ(DescribeRider(loaded), DescribeRider(source_)) << "path, focus, sheet and every record";

  ASSERT_TRUE(SaveRider(loaded, Stored("riders\\again.rider").c_str()));
  EXPECT_EQ(folder_.read("riders/again.rider"), good_) << "a loaded rider saves back byte for byte";
  // The rider editor's test ride saves to its fixed file.
  ASSERT_TRUE(SaveTempRider(loaded));
  EXPECT_STREQ(loaded.path, "riders\\again.rider") << "the test ride's file never renames the rider";
  EXPECT_EQ(folder_.read("riders/temp_rider.rider"), good_);
}

TEST_F(RiderFileTest, CancelMissingFilesEveryCutAndEveryDamagedValueChangeNothing) {
  CurrentRider rider;
  MakeOtherRider(rider);
  const std::string before = DescribeRider(rider);
  EXPECT_EQ(LoadRider(rider, ""), FileLoad::Cancelled);
  EXPECT_EQ(LastLogLine(), "Loading cancelled");
  EXPECT_EQ(LoadRider(rider, Stored("riders\\missing.rider").c_str()), FileLoad::NotOpened);
  EXPECT_EQ(LastLogLine(), kNotOpened);
  ASSERT_EQ(DescribeRider(rider), before);

  // Each result's log line is checked above and in the damage table.
  for (size_t cut = 0; cut < good_.size(); ++cut) {
    folder_.write("riders/cut.rider", good_.substr(0, cut));
    FileLoad result = LoadRider(rider, Stored("riders\\cut.rider").c_str());
    EXPECT_EQ(result, cut < 18 ? FileLoad::NotOpened : FileLoad::Refused) << "cut at " << cut;
    ASSERT_EQ(DescribeRider(rider), before) << "cut at " << cut;
  }

  using Edit = std::function<void(std::string&)>;
  auto u32 = [](size_t at, uint32_t value) -> Edit { return [=](std::string& b) { PutU32(b, at, value); }; };
  auto f32 = [](size_t at, float value) -> Edit { return [=](std::string& b) { PutF32(b, at, value); }; };
  auto fourth = [](uint32_t id) -> Edit { return [=](std::string& b) { AddFourthPoint(b, id); }; };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    const char* what;
    Edit apply;
  } damages[] = {
      {"flipped magic", [](std::string& b) { b[3] ^= 0x20; }}, {"the magic's zero byte", [](std::string& b) { b[16] = 'x'; }},
      {"huge point count", u32(kPointCountAt, 0x7fffffff)},     {"point count one too many", u32(kPointCountAt, 4)},
      {"huge link count", u32(kLinkCountAt, 0x40000000)},       {"huge joint count", u32(kJointCountAt, 2)},
      {"huge sheet length", u32(17, 0xfffffff0)},               {"sheet length past its zero", u32(17, 14)},
      {"sheet name of 300 characters, over the 255 the record holds",
       [](std::string& b) { b = WithSheet(b, std::string(300, 'a')); }},
      {"NaN x", f32(kPointAt, nan)},                            {"infinite previous y", f32(kPointAt + 12, INFINITY)},
      {"negative radius", f32(kPointAt + 37 + 16, -1)},         {"radius beyond 2^16", f32(kPointAt + 16, 70000)},
      {"negative mass", f32(kPointAt + 20, -0.5f)},             {"infinite friction", f32(kPointAt + 24, -INFINITY)},
      // Bad ids on a point no link names, so the refusal cannot come from a link's missing end.
      {"a fourth point with a negative id", fourth(uint32_t(-5))}, {"a fourth point repeating the first", fourth(0)},
      {"a fourth point with an id beyond 2^30", fourth((1u << 30) + 1)},
      {"link to a missing point", u32(kLinkAt + 4, 99)},        {"NaN stiffness", f32(kLinkAt + 16, nan)},
      {"infinite sprite size", f32(kLinkAt + 49, INFINITY)},    {"joint on a missing point", u32(kJointAt + 8, 77)},
      {"NaN joint angle", f32(kJointAt + 16, nan)},
  };
  for (const auto& damage : damages) {
    std::string bytes = good_;
    damage.apply(bytes);
    folder_.write("riders/bad.rider", bytes);
    EXPECT_EQ(LoadRider(rider, Stored("riders\\bad.rider").c_str()), FileLoad::Refused) << damage.what;
    EXPECT_EQ(LastLogLine(), kRefused) << damage.what;
    ASSERT_EQ(DescribeRider(rider), before) << damage.what;
  }

  // The largest name that fits, 255 characters, still loads.
  folder_.write("riders/fits.rider", WithSheet(good_, std::string(255, 's')));
  EXPECT_EQ(LoadRider(rider, Stored("riders\\fits.rider").c_str()), FileLoad::Loaded);
  EXPECT_EQ(strlen(rider.spriteSheet), 255u);
}

TEST_F(RiderFileTest, CountsOfZeroOrBelowMeanNoRecords) {
  std::string bytes = std::string("TOLK_RIDER_RIDER\0", 17) + std::string("\1\0\0\0\0", 5) +
                      std::string("\7\0\0\0", 4) + std::string("\xfd\xff\xff\xff", 4) + std::string(4, '\0') +
                      std::string("\x80\0\0\x80", 4);
  folder_.write("riders/empty.rider", bytes);
  CurrentRider rider;
  MakeOtherRider(rider);
  EXPECT_EQ(LoadRider(rider, Stored("riders\\empty.rider").c_str()), FileLoad::Loaded);
  EXPECT_EQ(rider.focusPointId, 7);
  EXPECT_EQ(DescribeSnapshot(rider.snapshot), "counts 0/0/0\n");
  EXPECT_STREQ(rider.spriteSheet, "");
}

// The safe save itself (old file kept, temporary file gone) is the track file's failed-save test.
TEST_F(RiderFileTest, AFailedSaveKeepsTheRidersPath) {
  CurrentRider rider;
  MakeOtherRider(rider);
  SetSaveWriterMaker([](const char* path) -> std::unique_ptr<FileWriter> {
    return std::make_unique<FailingWriter>(path, 100);
  });
  EXPECT_FALSE(SaveRider(rider, Stored("riders\\keep.rider").c_str())) << "the disk fills after 100 bytes";
  SetSaveWriterMaker(nullptr);
  EXPECT_STREQ(rider.path, "riders\\other.rider");
  EXPECT_FALSE(SaveRider(rider, ""));
  EXPECT_EQ(LastLogLine(), "Saving cancelled");
}

TEST_F(RiderFileTest, APathOutsideTheExecFolderIsNotKeptCut) {
  const std::string outside = std::string(ExecFolder()) + "-other\\x.rider";
  std::filesystem::create_directories(folder_.path.string() + "-other");
  ASSERT_TRUE(SaveRider(source_, outside.c_str())) << "the player's rider is still written";
  EXPECT_STREQ(source_.path, "") << "no path that names another file";
  EXPECT_EQ(LastLogLine(), "path is outside the game's folders: " + outside);

  CurrentRider loaded;
  EXPECT_EQ(LoadRider(loaded, outside.c_str()), FileLoad::Loaded);
  EXPECT_STREQ(loaded.path, "");
  std::filesystem::remove_all(folder_.path.string() + "-other");
}

// A rider of more points than a step can afford is refused with its count and the limit; one
// at the limit loads.
TEST_F(RiderFileTest, RiderAboveThePointLimitIsRefusedAndOneAtItLoads) {
  const struct {
    uint32_t points;
    FileLoad result;
  } cases[] = {{kMaxRiderPoints, FileLoad::Loaded}, {kMaxRiderPoints + 1, FileLoad::Refused}};
  for (const auto& c : cases) {
    CurrentRider source;
    Body body;
    for (uint32_t i = 0; i < c.points; ++i) Add(body, {.x = float(i)});
    TakeSnapshot(body, source.snapshot);
    ASSERT_TRUE(SaveRider(source, Stored("riders\\big.rider").c_str()));
    CurrentRider rider;
    EXPECT_EQ(LoadRider(rider, Stored("riders\\big.rider").c_str()), c.result) << c.points;
    const std::string tooBig = "Rider too big: " + std::to_string(c.points) + " points, the limit is 256";
    EXPECT_EQ(Logged(tooBig), c.result == FileLoad::Refused) << c.points;
  }
}

TEST_F(RiderFileTest, ASheetNameThatLeavesTheProgramFolderIsDroppedAndTheRiderLoads) {
  const std::string absolute = folder_.path.string() + "/sprites/to.png";
  const struct { std::string sheet; bool kept; } cases[] = {
      {"..\\sprites\\to.png", false},        {"../sprites/to.png", false},
      {"sprites\\..\\..\\to.png", false},    {"\\" + absolute.substr(1), false},
      {absolute, false},                     {"C:\\sprites\\to.png", false},
      {"sprites\\..\\sprites\\to.png", true}, {"sprites/./to.png", true}};
  for (const auto& c : cases) {
    folder_.write("riders/sheet.rider", WithSheet(good_, c.sheet));
    CurrentRider loaded;
    EXPECT_EQ(LoadRider(loaded, Stored("riders\\sheet.rider").c_str()), FileLoad::Loaded) << c.sheet;
    EXPECT_EQ(loaded.spriteSheet, c.kept ? c.sheet : "") << c.sheet;
    EXPECT_EQ(Logged("sprite sheet leaves the program folder, not used: " + c.sheet), !c.kept) << c.sheet;
  }
}
