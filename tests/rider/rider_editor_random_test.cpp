// A long seeded run of editing actions mixed with undos and redos. After each action every
// reference the editor holds is empty or names a live record in the body's own lists, and each
// undo or redo brings back exactly the rider the editor had before or after that action.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <type_traits>
#include <vector>

#include "rider/current_rider.h"
#include "rider/editor_history.h"
#include "rider/editor_sprites.h"
#include "rider/physics_log.h"
#include "rider/rider_editor.h"
#include "rider/rider_file.h"
#include "rider/rider_size.h"

namespace {

template <typename Record>
bool InList(const std::list<Record>& records, const Record* record) {
  return std::any_of(records.begin(), records.end(), [&](const Record& r) { return &r == record; });
}

// Empty, or naming a live record of the body (a link with both ends among its points);
// `required` refuses the empty handle.
template <typename Handle>
::testing::AssertionResult Live(const Body& body, Handle h, bool required = false) {
  if (h.id < 0 && !required) return ::testing::AssertionSuccess();
  const auto* r = Resolve(body, h);
  bool live = r != nullptr;
  if constexpr (std::is_same_v<Handle, PointHandle>) live = live && r->alive;
  if constexpr (std::is_same_v<Handle, LinkHandle>)
    live = live && r->active && InList<BodyPoint>(body.points, r->a) && InList<BodyPoint>(body.points, r->b);
  if (live) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "handle " << h.id << " dangles";
}

void CheckReferences(const RiderEditor& e) {
  const Body& b = e.body;
  for (PointHandle h : {e.hoveredPoint, e.chainStart}) ASSERT_TRUE(Live(b, h));
  for (JointHandle h : {e.hoveredJoint, e.selectedJoint}) ASSERT_TRUE(Live(b, h));
  ASSERT_TRUE(Live(b, e.hoveredLink));
  ASSERT_TRUE(Live(b, e.focus, !b.points.empty()));
  ASSERT_LE(e.jointPicks.size(), 2u);
  for (PointHandle h : e.jointPicks) ASSERT_TRUE(Live(b, h, true));
  for (PointHandle h : e.selectedPoints) ASSERT_TRUE(Live(b, h, true));
  for (LinkHandle h : e.selectedLinks) ASSERT_TRUE(Live(b, h, true));
  ASSERT_LE(b.points.size(), kMaxRiderPoints);
  // The sprite order holds links of the body, each once.
  const auto& order = b.spriteOrder.entries;
  for (const Link* l : order) ASSERT_TRUE(InList(b.links, l) && std::count(order.begin(), order.end(), l) == 1);
  ASSERT_TRUE(EditorReferencesLive(e));
}

struct EditRun {
  // One gesture, key or toolbar action, half of the time at a place near a point.
  void Act() {
    RiderEditor& e = *editor;
    float x = Spread(600), y = Spread(600);
    if (!e.body.points.empty() && Pick(2) == 0) {
      const BodyPoint& p = *std::next(e.body.points.begin(), long(Pick(uint32_t(e.body.points.size()))));
      x = p.x + Spread(25);
      y = p.y + Spread(25);
    }
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
      case 18:
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
        break;
      case 19:
        switch (Pick(5)) {
          case 0: ToggleSprites(e); break;
          case 1: MoveSprites(e, int32_t(Pick(3)) - 1, int32_t(Pick(3)) - 1); break;
          case 2: ResizeSprites(e, int32_t(Pick(3)) - 1, int32_t(Pick(3)) - 1); break;
          case 3: StepSpriteDepth(e, Pick(2) ? 1 : -1); break;
          case 4: StepSpriteFrame(e, Pick(2) ? 1 : -1); break;
        }
        break;
      case 20: SetFocusToSelection(e); break;
      case 21: SetLinkBreak(e, SliderToBreak(int32_t(Pick(101)))); break;
      case 22: StepPointGroup(e, Pick(2) ? 1 : -1); break;
      case 23:                                      // the rider as saved, loaded back
        if (Pick(50) == 0) {
          auto rider = std::make_unique<CurrentRider>();
          RiderFromEditor(e, *rider);
          LoadEditorFromRider(e, *rider);
        }
        break;
    }
  }

  uint32_t Pick(uint32_t n) { return std::uniform_int_distribution<uint32_t>(0, n - 1)(rng); }
  float Spread(float r) { return std::uniform_real_distribution<float>(-r, r)(rng); }

  std::mt19937 rng;
  std::unique_ptr<RiderEditor> editor = std::make_unique<RiderEditor>();
};

// The rider as saved, with the counters that decide the ids of the next records.
std::vector<uint8_t> Saved(const RiderEditor& editor) {
  auto rider = std::make_unique<CurrentRider>();
  RiderFromEditor(editor, *rider);
  std::vector<uint8_t> bytes;
  EncodeRiderFile(*rider, &bytes);
  for (int32_t counter : {editor.body.nextPointId, editor.body.highestPointId, editor.body.provisionalNext})
    bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&counter), reinterpret_cast<const uint8_t*>(&counter + 1));
  return bytes;
}

}  // namespace

TEST(RiderEditorRandom, UndoAndRedoBringBackTheRiderOfEachAction) {
  PhysicsLog log;
  EditRun run{std::mt19937(7)};
  RiderEditor& e = *run.editor;
  EditorHistory history;
  std::vector<std::vector<uint8_t>> states{Saved(e)};  // after each action that survives
  std::vector<std::vector<uint8_t>> redo;
  for (int i = 0; i < 1500; ++i) {
    const uint32_t roll = run.Pick(10);
    if (roll == 0) {
      ASSERT_EQ(UndoEditorAction(history, e), states.size() > 1) << "action " << i;
      if (states.size() > 1) redo.push_back(states.back()), states.pop_back();
    } else if (roll == 1) {
      ASSERT_EQ(RedoEditorAction(history, e), !redo.empty()) << "action " << i;
      if (!redo.empty()) states.push_back(redo.back()), redo.pop_back();
    } else {
      const size_t before = history.done.size();
      BeginEditorAction(history, e);
      for (uint32_t k = run.Pick(4); k < 4; ++k) run.Act();
      EndEditorAction(history, e);
      if (history.done.size() == before) {
        ASSERT_EQ(Saved(e), states.back()) << "action " << i << " changed the rider but was not kept";
        continue;
      }
      states.push_back(Saved(e));
      redo.clear();
    }
    ASSERT_EQ(Saved(e), states.back()) << "action " << i;
    ASSERT_NO_FATAL_FAILURE(CheckReferences(e)) << "action " << i;
  }
  EXPECT_GT(states.size(), 20u);
}
