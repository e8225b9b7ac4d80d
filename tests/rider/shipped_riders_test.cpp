// The riders in riders/ are the generator's output, and each of them rides as a player expects:
// a clean landing rides on, a landing on the head comes apart, a hard hit at speed
// breaks it, and the pogo bounces higher than the others. The physical checks hold with a
// margin, so a last-bit change in the physics keeps them; the stored ride hashes do not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "rider/simulation.h"
#include "support/game_files.h"
#include "tools/make-riders/designs.h"
#include "track/world.h"

namespace {

constexpr float kDegree = std::numbers::pi_v<float> / 180.0f;
constexpr float kSlopeDegrees = 10.0f;

// ---- tracks, each with the height of its surface under x ----

// A straight 10-degree slope falling towards +x through (0, 0), in 40-unit pencil strokes.
void Slope(World& world) {
  const float drop = 40.0f * std::tan(kSlopeDegrees * kDegree);
  for (int i = -20; i < 1000; ++i)
    AddSolidLine(world, {40.0f * float(i), -drop * float(i)}, {40.0f * float(i + 1), -drop * float(i + 1)}, 1.0f,
                 LineKind::Normal);
}
float SlopeHeight(float x) { return -x * std::tan(kSlopeDegrees * kDegree); }

void Floor(World& world) { AddSolidLine(world, {-3000, 0}, {40000, 0}, 1.0f, LineKind::Normal); }
float FloorHeight(float) { return 0.0f; }

// A ledge ending at x = 0 over a floor 1,600 units below.
void Cliff(World& world) {
  AddSolidLine(world, {-3000, 0}, {0, 0}, 1.0f, LineKind::Normal);
  AddSolidLine(world, {-3000, -1600}, {40000, -1600}, 1.0f, LineKind::Normal);
}

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
const float kJumpLandingDegrees = std::atan(16.0f / 40.0f) / kDegree;

// How a rider is set on its track before the ride: turned about its middle, its lowest point
// a clearance above the surface under it, moving along the surface's downhill direction.
struct Launch {
  float (*height)(float x);                       // the surface; null: the rider stays as built
  float turnDegrees = 0;                          // counter-clockwise, added to the surface's tilt
  float x = 0;                                    // where the rider's middle goes
  float clearance = 0.5f;                         // world units between lowest point and surface
  float speed = 0;                                // world units per step
};

struct Scenario {
  void (*track)(World& world);
  float groundDegrees;                            // downhill direction of the surface ridden at the end
  Launch launch;
  int steps;
};

struct Ride {
  size_t linksBefore = 0, linksAfter = 0;
  float tiltDegrees = 0;                          // vehicle against the ground at the end; 0 = level
  bool crownAbove = true;                         // the rider's top on the upper side of the vehicle
  float rebound = 0;                              // highest the whole rider rose after first touching
  float travelled = 0;                            // focus point, along x
  bool finite = true;
  uint64_t hash = 0;                              // HashBodyPositions at the end

  bool Whole() const { return linksAfter == linksBefore; }
  bool Upright() const { return crownAbove && std::fabs(tiltDegrees) < 45.0f; }
};

float Wrap(float degrees) { return std::remainder(degrees, 360.0f); }

// Turns, lifts and sets the body moving as the launch says, on a surface falling groundDegrees.
void Place(Body& body, const Launch& launch, float groundDegrees) {
  float sumX = 0, sumY = 0;
  for (const BodyPoint& p : body.points) {
    sumX += p.x;
    sumY += p.y;
  }
  const float midX = sumX / float(body.points.size()), midY = sumY / float(body.points.size());
  const float turn = (launch.turnDegrees - groundDegrees) * kDegree;
  const float c = std::cos(turn), s = std::sin(turn);
  float lowest = INFINITY;
  for (BodyPoint& p : body.points) {
    const float dx = p.x - midX, dy = p.y - midY;
    p.x = launch.x + c * dx - s * dy;
    p.y = c * dy + s * dx;
    lowest = std::min(lowest, p.y - p.radius - launch.height(p.x));
  }
  const float vx = launch.speed * std::cos(groundDegrees * kDegree);
  const float vy = -launch.speed * std::sin(groundDegrees * kDegree);
  for (BodyPoint& p : body.points) {
    p.y += launch.clearance - lowest;
    p.prevX = p.x - vx;
    p.prevY = p.y - vy;
  }
}

class ShippedRidersTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    SetExecFolder(VELMORA_SOURCE_DIR "/velmora");
  }

 public:
  // Loads the shipped file into a fresh world, sets it on the scenario's track and rides.
  Ride RideOn(const designs::Design& design, const Scenario& scenario) {
    Body built;                                   // only for the design's landmark ids
    const designs::Landmarks marks = design.build(built);
    auto rider = std::make_unique<CurrentRider>();
    auto world = std::make_unique<World>();
    const std::string path = std::string(ExecFolder()) + "\\riders\\" + design.file;
    EXPECT_EQ(LoadRider(*rider, path.c_str()), FileLoad::Loaded) << design.file;
    RestartRider(*world, *rider);
    scenario.track(*world);
    if (scenario.launch.height) Place(world->rider, scenario.launch, scenario.groundDegrees);
    Ride ride;
    ride.linksBefore = world->rider.links.size();
    const float startX = FocusPoint(*world).x;
    bool touched = false;
    for (int i = 0; i < scenario.steps; ++i) {
      StepRider(*world);
      if (!scenario.launch.height) continue;
      float lowest = INFINITY;
      for (const BodyPoint& p : world->rider.points)
        lowest = std::min(lowest, p.y - p.radius - scenario.launch.height(p.x));
      touched = touched || lowest < 1.5f;
      if (touched) ride.rebound = std::max(ride.rebound, lowest);
    }
    ride.linksAfter = world->rider.links.size();
    ride.travelled = FocusPoint(*world).x - startX;
    for (const BodyPoint& p : world->rider.points) ride.finite = ride.finite && std::isfinite(p.x) && std::isfinite(p.y);
    const BodyPoint* front = FindPointById(world->rider, marks.front);
    const BodyPoint* back = FindPointById(world->rider, marks.back);
    const BodyPoint* crown = FindPointById(world->rider, marks.crown);
    EXPECT_TRUE(front && back && crown) << design.file << " lost a landmark point";
    if (front && back && crown) {
      const float ax = front->x - back->x, ay = front->y - back->y;
      ride.tiltDegrees = Wrap(std::atan2(ay, ax) / kDegree + scenario.groundDegrees);
      ride.crownAbove = ax * (crown->y - back->y) - ay * (crown->x - back->x) > 0.0f;
    }
    ride.hash = HashBodyPositions(world->rider);
    return ride;
  }
};

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
  }
}

namespace {

// ---- the rides every shipped rider is held to ----

const Scenario kSlopeFromRest{Slope, kSlopeDegrees, {.height = SlopeHeight}, 2000};
const Scenario kOnItsHead{Floor, 0, {.height = FloorHeight, .turnDegrees = 180, .clearance = 150, .speed = 4}, 300};
const Scenario kOffTheCliff{Cliff, 0, {.height = FloorHeight, .x = -200, .speed = 15}, 700};
const Scenario kTheJump{Jump, kJumpLandingDegrees, {}, 1000};   // ends on the landing slope
const Scenario kDropOntoFloor{Floor, 0, {.height = FloorHeight}, 400};   // from the height asked

struct ShippedRider {
  const char* file;
  uint64_t jumpHash;                              // HashBodyPositions after kTheJump
};

// The rides are the game's content: a change of a hash is a change of a rider's ride.
constexpr ShippedRider kShipped[] = {
    {"sledder.rider", 0x7f042bac2e31622cull},
    {"pogo.rider", 0x5445b7097e3d0ff4ull},
    {"crate_cart.rider", 0xcaec9e249248b0aeull},
};
void PrintTo(const ShippedRider& rider, std::ostream* out) { *out << rider.file; }

const designs::Design& DesignOf(const char* file) {
  for (const designs::Design& design : designs::kDesigns)
    if (std::string(design.file) == file) return design;
  ADD_FAILURE() << file << " is not a design";
  return designs::kDesigns[0];
}

class EachShippedRider : public ShippedRidersTest, public testing::WithParamInterface<ShippedRider> {};

INSTANTIATE_TEST_SUITE_P(Riders, EachShippedRider, testing::ValuesIn(kShipped), [](const auto& info) {
  const std::string file = info.param.file;
  return file.substr(0, file.find('.'));
});

}  // namespace

// What a player expects of every rider: whole and upright where it should ride on, in pieces
// where it should come apart; the jump also keeps its stored ride. The drop onto the jump's
// landing is the hard landing at speed every rider must take.
TEST_P(EachShippedRider, RidesOnWhereItShouldAndComesApartWhereItShould) {
  const struct {
    const char* what;
    const Scenario& scenario;
    bool ridesOn;
    float leastTravel;                            // world units along x, when it rides on
  } rides[] = {{"a slope from rest", kSlopeFromRest, true, 1500.0f}, {"the jump", kTheJump, true, 3000.0f},
               {"landing on its head", kOnItsHead, false, 0.0f}, {"off a cliff", kOffTheCliff, false, 0.0f}};
  for (const auto& r : rides) {
    SCOPED_TRACE(r.what);
    const Ride ride = RideOn(DesignOf(GetParam().file), r.scenario);
    EXPECT_TRUE(ride.finite);
    if (!r.ridesOn) {
      EXPECT_LT(ride.linksAfter, ride.linksBefore) << "tilt " << ride.tiltDegrees << " degrees";
      continue;
    }
    EXPECT_TRUE(ride.Whole()) << ride.linksAfter << " of " << ride.linksBefore << " links left";
    EXPECT_TRUE(ride.Upright()) << "tilt " << ride.tiltDegrees << " degrees, crown above " << ride.crownAbove;
    EXPECT_GT(ride.travelled, r.leastTravel);
    if (&r.scenario == &kTheJump) {
      EXPECT_EQ(ride.hash, GetParam().jumpHash) << std::hex << "ride hash 0x" << ride.hash;
    }
  }
}

// Bounciness is how high the whole rider rises off a flat floor after falling onto it from
// rest, averaged over four drop heights (one drop says little: a soft body lands a little
// differently each time). The pogo goes more than 1.6 times as high as any other rider (24.8
// units against the sledder's 8.0 and the crate cart's 6.6 when the designs were made).
float Bounciness(ShippedRidersTest& test, const designs::Design& design) {
  float sum = 0;
  for (float height : {60.0f, 90.0f, 120.0f, 150.0f}) {
    Scenario drop = kDropOntoFloor;
    drop.launch.clearance = height;
    const Ride ride = test.RideOn(design, drop);
    EXPECT_TRUE(ride.Whole()) << design.file << " dropped " << height;
    sum += ride.rebound;
  }
  return sum / 4.0f;
}

TEST_F(ShippedRidersTest, ThePogoBouncesHighestOffAFloor) {
  const float pogo = Bounciness(*this, DesignOf("pogo.rider"));
  EXPECT_GT(pogo, 15.0f);
  for (const char* other : {"sledder.rider", "crate_cart.rider"})
    EXPECT_GT(pogo, 1.6f * Bounciness(*this, DesignOf(other))) << "pogo " << pogo << " against " << other;
}
