// Long seeded runs of editing actions. After each action every reference the editor holds is
// empty or names a live record in the body's own lists; at the end the rider saves, loads back
// to the same bytes and rides 1,000 steps without a NaN.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "rider/current_rider.h"
#include "rider/editor_sprites.h"
#include "rider/physics_log.h"
#include "rider/rider_editor.h"
#include "rider/rider_file.h"
#include "rider/rider_size.h"
#include "rider/simulation.h"

namespace {

template <typename Record>
bool InList(const std::list<Record>& records, const Record* record) {
  return std::any_of(records.begin(), records.end(), [&](const Record& r) { return &r == record; });
}

// Empty, or resolving to a live member of the body; `required` refuses the empty handle.
::testing::AssertionResult Live(const Body& body, PointHandle h, bool required = false) {
  const BodyPoint* p = Resolve(body, h);
  if (h.id < 0 && !required) return ::testing::AssertionSuccess();
  if (p && p->alive && InList(body.points, p)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "point handle " << h.id << " dangles";
}

::testing::AssertionResult Live(const Body& body, LinkHandle h, bool required = false) {
  const Link* l = Resolve(body, h);
  if (h.id < 0 && !required) return ::testing::AssertionSuccess();
  if (l && l->active && InList(body.links, l) && InList(body.points, static_cast<const BodyPoint*>(l->a)))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "link handle " << h.id << " dangles";
}

::testing::AssertionResult Live(const Body& body, JointHandle h) {
  const AngleJoint* j = Resolve(body, h);
  if (h.id < 0 || (j && InList(body.joints, j))) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "joint handle " << h.id << " dangles";
}

void CheckReferences(const RiderEditor& e) {
  const Body& b = e.body;
  ASSERT_TRUE(Live(b, e.hoveredPoint));
  ASSERT_TRUE(Live(b, e.hoveredLink));
  ASSERT_TRUE(Live(b, e.hoveredJoint));
  ASSERT_TRUE(Live(b, e.chainStart));
  ASSERT_TRUE(Live(b, e.selectedJoint));
  ASSERT_TRUE(Live(b, e.focus, !b.points.empty()));
  ASSERT_LE(e.jointPicks.size(), 2u);
  for (PointHandle h : e.jointPicks) ASSERT_TRUE(Live(b, h, true));
  for (PointHandle h : e.selectedPoints) ASSERT_TRUE(Live(b, h, true));
  for (LinkHandle h : e.selectedLinks) ASSERT_TRUE(Live(b, h, true));
  ASSERT_LE(b.points.size(), kMaxRiderPoints);
  ASSERT_EQ(b.spriteOrder.entries.size(), size_t(std::count_if(b.links.begin(), b.links.end(), [&](const Link& l) {
              return std::find(b.spriteOrder.entries.begin(), b.spriteOrder.entries.end(), &l) !=
                     b.spriteOrder.entries.end();
            })));
  ASSERT_TRUE(EditorReferencesLive(e));
}

class EditRun {
 public:
  explicit EditRun(uint32_t seed) : rng_(seed) {}

  // One gesture, key or toolbar action at a place near a point half of the time.
  void Act() {
    RiderEditor& e = *editor_;
    float x, y;
    Place(&x, &y);
    const bool shift = Pick(4) == 0;
    switch (Pick(24)) {
      case 0: case 1: case 2: LeftPress(e, x, y, shift); break;
      case 3: case 4: case 5: RightPress(e, x, y, shift); break;
      case 6: case 7: case 8: case 9: MouseMove(e, x, y); break;
      case 10: case 11: LeftRelease(e, x, y, shift); break;
      case 12: case 13: RightRelease(e, x, y); break;
      case 14: ArrowStep(e, int32_t(Pick(3)) - 1, int32_t(Pick(3)) - 1); break;
      case 15: if (Pick(3) == 0) DeleteSelection(e); break;
      case 16: e.tool = EditorTool(Pick(3)); break;
      case 17: SetZoom(e, 0.2f + float(Pick(200)) * 0.1f); break;
      case 18: Settings(); break;
      case 19: Sprites(); break;
      case 20: SetFocusToSelection(e); break;
      case 21: SetLinkBreak(e, SliderToBreak(int32_t(Pick(101)))); break;
      case 22: StepPointGroup(e, Pick(2) ? 1 : -1); break;
      case 23: if (Pick(50) == 0) Reload(); break;
    }
  }

  RiderEditor& editor() { return *editor_; }

 private:
  uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng_); }
  float Spread(float r) { return std::uniform_real_distribution<float>(-r, r)(rng_); }

  void Place(float* x, float* y) {
    const Body& b = editor_->body;
    if (!b.points.empty() && Pick(2) == 0) {
      const BodyPoint& p = *std::next(b.points.begin(), long(Pick(uint32_t(b.points.size()))));
      *x = p.x + Spread(25);
      *y = p.y + Spread(25);
    } else {
      *x = Spread(600);
      *y = Spread(600);
    }
  }

  void Settings() {
    RiderEditor& e = *editor_;
    switch (Pick(8)) {
      case 0: SetPointRadius(e, SliderToPointSize(int32_t(Pick(101)))); break;
      case 1: SetPointMass(e, SliderToPointSize(int32_t(Pick(101)))); break;
      case 2: ToggleCollides(e); break;
      case 3: ToggleGrip(e); break;
      case 4: SetLinkStiffness(e, SliderToStiffness(int32_t(Pick(101)))); break;
      case 5: StepLinkBreakGroup(e, Pick(2) ? 1 : -1); break;
      case 6: SetLinkKind(e, LinkKind(Pick(4))); break;
      case 7: ToggleMassFollowsRadius(e); break;
    }
  }

  void Sprites() {
    RiderEditor& e = *editor_;
    switch (Pick(5)) {
      case 0: ToggleSprites(e); break;
      case 1: MoveSprites(e, int32_t(Pick(3)) - 1, int32_t(Pick(3)) - 1); break;
      case 2: ResizeSprites(e, int32_t(Pick(3)) - 1, int32_t(Pick(3)) - 1); break;
      case 3: StepSpriteDepth(e, Pick(2) ? 1 : -1); break;
      case 4: StepSpriteFrame(e, Pick(2) ? 1 : -1); break;
    }
  }

  // The rider as saved, loaded back into the editor.
  void Reload() {
    auto rider = std::make_unique<CurrentRider>();
    RiderFromEditor(*editor_, *rider);
    LoadEditorFromRider(*editor_, *rider);
  }

  std::mt19937 rng_;
  std::unique_ptr<RiderEditor> editor_ = std::make_unique<RiderEditor>();
};

std::vector<uint8_t> Encode(const CurrentRider& rider) {
  std::vector<uint8_t> bytes;
  EncodeRiderFile(rider, &bytes);
  return bytes;
}

}  // namespace

TEST(RiderEditorRandom, ReferencesStayLiveAndTheRiderSavesAndRides) {
  PhysicsLog log;                                  // link crashes of deletes stay out of the output
  for (uint32_t seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    EditRun run(seed);
    for (int i = 0; i < 4000; ++i) {
      run.Act();
      ASSERT_NO_FATAL_FAILURE(CheckReferences(run.editor())) << "action " << i;
    }
    RiderEditor& e = run.editor();
    EXPECT_GT(e.body.points.size(), 5u);           // the run built something worth saving
    EXPECT_GT(e.body.links.size(), 3u);

    auto saved = std::make_unique<CurrentRider>();
    RiderFromEditor(e, *saved);
    const std::vector<uint8_t> bytes = Encode(*saved);
    auto content = std::make_unique<RiderFileContent>();
    ASSERT_EQ(ParseRiderFile(bytes.data(), bytes.size(), content.get()), FileLoad::Loaded);
    auto loaded = std::make_unique<CurrentRider>();
    BuildSnapshot(content->snapshot, loaded->snapshot);
    loaded->focusPointId = content->focusPointId;
    std::copy(std::begin(content->spriteSheet), std::end(content->spriteSheet), loaded->spriteSheet);
    EXPECT_EQ(Encode(*loaded), bytes);

    Body body;
    RebuildFromSnapshot(body, loaded->snapshot);
    ASSERT_EQ(body.points.size(), e.body.points.size());
    for (int step = 0; step < 1000; ++step) StepBody(body, Surface{});
    for (const BodyPoint& p : body.points) ASSERT_TRUE(PointIsFinite(p)) << "point " << p.id;
  }
}
