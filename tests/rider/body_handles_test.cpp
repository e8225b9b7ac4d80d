// Handles held across long random runs of body operations. Every point carries a unique tag in
// its radius and every link one in its stiffness, so the test knows which record a handle was
// made for without trusting ids or addresses (freed list nodes are reused at once by the
// allocator, so a stale pointer would usually land on a newer record).
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "rider/body.h"
#include "rider/link_breaking.h"
#include "support/body_builder.h"

namespace {

template <typename Handle>
struct Held {
  Handle handle;
  float tag;                                      // radius of the point, stiffness of the link
  int epoch;                                      // the test's count of clears and rebuilds when made
};

// Each handle resolves to its own record, found in the list, exactly while that record is there
// and the body has not been cleared or rebuilt since the handle was made.
template <typename Record, typename Handle>
void CheckHeld(Body& body, const std::list<Record>& records, float Record::*tag,
               const std::vector<Held<Handle>>& held, int epoch) {
  for (const Held<Handle>& entry : held) {
    const Record* resolved = Resolve(body, entry.handle);
    bool present = false, member = false;
    for (const Record& record : records) {
      present = present || record.*tag == entry.tag;
      member = member || &record == resolved;
    }
    ASSERT_EQ(resolved != nullptr, present && entry.epoch == epoch) << "tag " << entry.tag;
    if (!resolved) continue;
    ASSERT_TRUE(member) << "tag " << entry.tag;
    ASSERT_EQ(resolved->*tag, entry.tag);
    ASSERT_EQ(Resolve(static_cast<const Body&>(body), entry.handle), resolved);
  }
}

class HandleRun {
 public:
  explicit HandleRun(uint32_t seed) : rng_(seed) {}

  void Operate() {
    switch (Pick(9)) {
      case 0: case 1: AddTaggedPoint(); break;
      case 2: AddTaggedLink(); break;
      case 3: if (body_.points.size() >= 3) AddAngleJoint(body_, RandomPoint(), RandomPoint(), RandomPoint(), 45, 0.1f); break;
      case 4: if (!body_.links.empty()) AttachSprite(body_, RandomLink(), 15, 1, 0, 0, 4, 4, int32_t(Pick(3))); break;
      case 5: Break(); break;
      case 6: if (Pick(4) == 0) { ClearBody(body_); epoch_ += 1; } break;
      case 7: TakeSnapshot(body_, snapshot_); break;
      case 8: RebuildFromSnapshot(body_, snapshot_); epoch_ += 1; break;
    }
    if (BodyPoint* p = body_.points.empty() ? nullptr : RandomPoint()) Keep(points_, {HandleOf(body_, *p), p->radius, epoch_});
    if (Link* l = body_.links.empty() ? nullptr : RandomLink()) Keep(links_, {HandleOf(body_, *l), l->stiffness, epoch_});
  }

  void Check() {
    CheckHeld(body_, body_.points, &BodyPoint::radius, points_, epoch_);
    CheckHeld(body_, body_.links, &Link::stiffness, links_, epoch_);
  }

 private:
  uint32_t Pick(uint32_t count) { return uint32_t(rng_() % count); }

  BodyPoint* RandomPoint() { return &*std::next(body_.points.begin(), Pick(uint32_t(body_.points.size()))); }
  Link* RandomLink() { return &*std::next(body_.links.begin(), Pick(uint32_t(body_.links.size()))); }

  float NextTag() { return float(++serial_); }

  void AddTaggedPoint() { Add(body_, {.x = float(Pick(200)), .y = float(Pick(200)), .radius = NextTag()}); }

  // A link on a pair that already has one overwrites it in place: its handles follow the new tag.
  void AddTaggedLink() {
    if (body_.points.size() < 2) return;
    BodyPoint* a = RandomPoint();
    BodyPoint* b = RandomPoint();
    const float tag = NextTag();
    float replaced = 0;
    for (const Link& link : body_.links)
      if ((link.a == a && link.b == b) || (link.a == b && link.b == a)) replaced = link.stiffness;
    Tie(body_, a, b, {.stiffness = tag});
    for (Held<LinkHandle>& held : links_)
      if (replaced != 0 && held.tag == replaced) held.tag = tag;
  }

  // A link broken or a point killed, then the clean-up the step or the editor runs.
  void Break() {
    if (Pick(2) == 0 && !body_.links.empty()) RandomLink()->active = false;
    if (Pick(3) == 0 && !body_.points.empty()) RandomPoint()->alive = false;
    CleanUpBody(body_, Pick(2) == 0);
  }

  template <typename Handle>
  void Keep(std::vector<Held<Handle>>& held, Held<Handle> entry) {
    if (held.size() < 48) held.push_back(entry); else held[Pick(48)] = entry;
  }

  std::mt19937 rng_;
  Body body_;
  BodySnapshot snapshot_;
  int epoch_ = 0;
  int serial_ = 0;
  std::vector<Held<PointHandle>> points_;
  std::vector<Held<LinkHandle>> links_;
};

}  // namespace

// That an empty handle names nothing, the rider editor's hover test sees wherever nothing is hovered.
TEST(BodyHandles, ResolveOnlyToTheirOwnLiveRecordThroughRandomRuns) {
  for (uint32_t seed = 1; seed <= 12; ++seed) {
    HandleRun run(seed);
    for (int step = 0; step < 2500; ++step) {
      run.Operate();
      run.Check();
      if (testing::Test::HasFatalFailure()) FAIL() << "seed " << seed << " step " << step;
    }
  }
}
