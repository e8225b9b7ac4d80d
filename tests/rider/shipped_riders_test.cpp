// The riders in riders/ are the generator's output, and each of them really rides: it travels
// down a gentle slope in one piece and breaks when dropped from high onto a floor.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "support/game_files.h"
#include "tools/make-riders/designs.h"
#include "track/world.h"

namespace {

struct Ride {
  int crashes = 0;                                // "link crashed" lines logged during the ride
  float startX = 0, endX = 0;                     // focus point
  size_t linksBefore = 0, linksAfter = 0;
  bool finite = true;
};

class ShippedRidersTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    SetExecFolder(VELMORA_SOURCE_DIR "/velmora");
  }

  // Loads the shipped file into a fresh world with the given track, then presses play.
  Ride RideOn(const designs::Design& design, void (*track)(World& world), int steps) {
    auto rider = std::make_unique<CurrentRider>();
    auto world = std::make_unique<World>();
    const std::string path = std::string(ExecFolder()) + "\\riders\\" + design.file;
    EXPECT_EQ(LoadRider(*rider, path.c_str()), FileLoad::Loaded) << design.file;
    RestartRider(*world, *rider);
    track(*world);
    Ride ride;
    ride.startX = FocusPoint(*world).x;
    ride.linksBefore = world->rider.links.size();
    const size_t logged = LogLines().size();
    for (int i = 0; i < steps; ++i) StepRider(*world);
    const std::vector<std::string> lines = LogLines();
    for (size_t i = logged; i < lines.size(); ++i) ride.crashes += lines[i].rfind("link crashed. k = ", 0) == 0;
    ride.endX = FocusPoint(*world).x;
    ride.linksAfter = world->rider.links.size();
    for (const BodyPoint& p : world->rider.points) ride.finite = ride.finite && std::isfinite(p.x) && std::isfinite(p.y);
    return ride;
  }
};

// A gentle slope of about 6 degrees drawn in 40-unit pencil strokes, passing 30 units below the
// rider's start, as a player draws the first line under a new rider.
void GentleSlope(World& world) {
  Vec2 from{-200.0f, -9.0f};
  for (int i = 0; i < 400; ++i) {
    const Vec2 to{from.x + 40.0f, from.y - 4.2f};
    AddSolidLine(world, from, to, 1.0f, LineKind::Normal);
    from = to;
  }
}

// Floors 200 units below the rider (a landing every rider takes) and 1500 units below.
template <int kDepth>
void FloorBelow(World& world) { AddSolidLine(world, {-3000, -kDepth}, {3000, -kDepth}, 1.0f, LineKind::Normal); }

// A run-in down a slope of 17 degrees starting 30 units below the rider, a kicker, a gap of
// 250 units and a long landing slope of 22 degrees starting 200 units lower.
void Jump(World& world) {
  Vec2 from{-200.0f, 30.0f};
  auto stroke = [&](Vec2 to) {
    AddSolidLine(world, from, to, 1.0f, LineKind::Normal);
    from = to;
  };
  for (int i = 0; i < 20; ++i) stroke({from.x + 40.0f, from.y - 12.0f});
  for (int i = 0; i < 4; ++i) stroke({from.x + 40.0f, from.y + 2.0f * float(i)});
  from = {from.x + 250.0f, from.y - 200.0f};
  for (int i = 0; i < 200; ++i) stroke({from.x + 40.0f, from.y - 16.0f});
}

}  // namespace

TEST_F(ShippedRidersTest, TheFilesAreTheGeneratorsOutput) {
  for (const designs::Design& design : designs::kDesigns) {
    CurrentRider rider;
    designs::MakeRider(design, rider);
    std::vector<uint8_t> bytes;
    EncodeRiderFile(rider, &bytes);
    std::ifstream in(std::string(VELMORA_SOURCE_DIR) + "/riders/" + design.file, std::ios::binary);
    const std::string shipped((std::istreambuf_iterator<char>(in)), {});
    EXPECT_TRUE(shipped == std::string(bytes.begin(), bytes.end()))
        << design.file << " is stale: run make-riders riders from the source folder";
    EXPECT_STREQ(rider.spriteSheet, "sprites\\to.png");
    EXPECT_NE(FindSnapshotPoint(rider.snapshot, rider.focusPointId), nullptr) << design.file;
    for (const Link& link : rider.snapshot.links)
      if (link.hasSprite) {
        EXPECT_EQ(link.spriteSlot, 15) << design.file;
        EXPECT_TRUE(link.spriteFrame >= 0 && link.spriteFrame < 16) << design.file;
      }
  }
}

TEST_F(ShippedRidersTest, EachRiderTravelsAGentleSlopeInOnePieceAndBreaksOnACrashDrop) {
  for (const designs::Design& design : designs::kDesigns) {
    const Ride slope = RideOn(design, GentleSlope, 2000);
    EXPECT_TRUE(slope.finite) << design.file;
    EXPECT_EQ(slope.crashes, 0) << design.file << " stays whole on a gentle slope";
    EXPECT_EQ(slope.linksAfter, slope.linksBefore) << design.file;
    EXPECT_GT(slope.endX - slope.startX, 1500.0f) << design.file << " travels down the slope";

    const Ride landing = RideOn(design, FloorBelow<200>, 600);
    EXPECT_EQ(landing.crashes, 0) << design.file << " lands a 200-unit drop in one piece";

    const Ride drop = RideOn(design, FloorBelow<1500>, 800);
    EXPECT_TRUE(drop.finite) << design.file;
    EXPECT_GT(drop.crashes, 0) << design.file << " breaks when dropped 1500 units";
    EXPECT_LT(drop.linksAfter, drop.linksBefore) << design.file;
  }
}

TEST_F(ShippedRidersTest, TheDefaultRiderTakesAJumpAndRidesOn) {
  const Ride jump = RideOn(designs::kDesigns[0], Jump, 3000);
  EXPECT_TRUE(jump.finite);
  EXPECT_EQ(jump.crashes, 0) << "lands the jump in one piece";
  EXPECT_GT(jump.endX - jump.startX, 3000.0f) << "and rides on down the landing";
}
