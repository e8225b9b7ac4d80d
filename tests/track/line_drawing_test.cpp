#include "track/line_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "track/world.h"

namespace {
// A small deterministic generator, so every run checks the same tracks.
struct Lcg {
  uint32_t state;
  float Next(float lo, float hi) {
    state = state * 1664525u + 1013904223u;
    return lo + (hi - lo) * float(state >> 8) / float(1u << 24);
  }
};

bool Skipped(float x1, float y1, float x2, float y2, const CullRect& c) {
  return (x1 < c.minX && x2 < c.minX) || (y1 < c.minY && y2 < c.minY) || (x1 > c.maxX && x2 > c.maxX) ||
         (y1 > c.maxY && y2 > c.maxY);
}

// Does the segment come within `grow` of the rectangle? (Liang-Barsky clip against the grown box.)
bool Touches(float x1, float y1, float x2, float y2, CullRect c, float grow) {
  c = {c.minX - grow, c.minY - grow, c.maxX + grow, c.maxY + grow};
  float t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
  float p[4] = {-dx, dx, -dy, dy};
  float q[4] = {x1 - c.minX, c.maxX - x1, y1 - c.minY, c.maxY - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    float t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  return t0 <= t1;
}

// The query's lines are the list's lines in list order, each once, none skipped by the cull
// test, and every line that reaches into the rectangle is among them.
template <typename Line>
void ExpectViewOf(const std::list<Line>& list, const std::vector<const Line*>& got, const CullRect& cull) {
  std::vector<const Line*> order;
  for (const Line& line : list) order.push_back(&line);
  size_t at = 0;
  for (const Line* line : got) {
    auto found = std::find(order.begin() + at, order.end(), line);
    ASSERT_NE(found, order.end()) << "a line out of order, twice, or not in the list";
    at = size_t(found - order.begin()) + 1;
    EXPECT_FALSE(Skipped(line->x1, line->y1, line->x2, line->y2, cull));
  }
  for (const Line& line : list) {
    if (Touches(line.x1, line.y1, line.x2, line.y2, cull, line.thickness) &&
        !Skipped(line.x1, line.y1, line.x2, line.y2, cull)) {
      EXPECT_NE(std::find(got.begin(), got.end(), &line), got.end())
          << "missing line " << line.x1 << "," << line.y1 << " - " << line.x2 << "," << line.y2;
    }
  }
}

void FillWorld(World& world, Lcg& rng, int count) {
  for (int i = 0; i < count; ++i) {
    Vec2 a{rng.Next(-4000, 4000), rng.Next(-4000, 4000)};
    float length = rng.Next(5, i % 50 == 0 ? 3000 : 200);
    float angle = rng.Next(0, 6.28f);
    Vec2 b = a + Vec2(length * std::cos(angle), length * std::sin(angle));
    float thickness = i % 7 == 0 ? rng.Next(3, 40) : 1.0f;
    AddSolidLine(world, a, b, thickness, LineKind(i % 3));
    AddSceneryLine(world, b, a, uint8_t(i), 2, 3, thickness);
  }
}

void ExpectAllViews(World& world, Lcg& rng) {
  std::vector<const SolidLine*> solids;
  std::vector<const SceneryLine*> sceneries;
  for (int i = 0; i < 12; ++i) {
    float w = i < 4 ? rng.Next(50, 400) : (i < 10 ? rng.Next(400, 3000) : 20000);
    Vec2 min{rng.Next(-4500, 4000), rng.Next(-4500, 4000)};
    CullRect cull{min.x, min.y, min.x + w, min.y + w * 0.75f};
    CollectSolidLinesInView(world, cull, &solids);
    ExpectViewOf(world.solidLines, solids, cull);
    CollectSceneryLinesInView(world, cull, &sceneries);
    ExpectViewOf(world.sceneryLines, sceneries, cull);
    if (::testing::Test::HasFailure()) return;
  }
}
}  // namespace

TEST(LineDrawing, ViewHoldsEveryVisibleLineOnceInListOrder) {
  World world;
  Lcg rng{12345};
  FillWorld(world, rng, 3000);
  ExpectAllViews(world, rng);

  // Lines appended after a draw are picked up.
  FillWorld(world, rng, 200);
  ExpectAllViews(world, rng);

  // Removals found from the lists' length and ends, without being told.
  std::vector<const SolidLine*> some;
  int n = 0;
  for (const SolidLine& line : world.solidLines)
    if (n++ % 5 == 0) some.push_back(&line);
  for (const SolidLine* line : some) RemoveSolidLine(world, line);
  EraseSceneryLines(world, {0, 0}, 1500);
  ExpectAllViews(world, rng);

  // The last line replaced by a new one (which may take its address), then told.
  RemoveSolidLine(world, &world.solidLines.back());
  AddSolidLine(world, {-100, -100}, {100, 100}, 1.0f, LineKind::Normal);
  world.sceneryLines.pop_back();
  world.sceneryLineCount -= 1;
  AddSceneryLine(world, {-100, 100}, {100, -100}, 9, 9, 9, 1.0f);
  ForgetLineOrder();
  ExpectAllViews(world, rng);
  std::vector<const SolidLine*> solids;
  CollectSolidLinesInView(world, {-10, -10, 10, 10}, &solids);
  ASSERT_FALSE(solids.empty());
  EXPECT_EQ(solids.back(), &world.solidLines.back());

  // A view far from everything holds nothing; a cleared world holds nothing anywhere.
  CollectSolidLinesInView(world, {1e6f, 1e6f, 1e6f + 500, 1e6f + 400}, &solids);
  EXPECT_TRUE(solids.empty());
  ClearSolidLines(world);
  ClearSceneryLines(world);
  CollectSolidLinesInView(world, {-1e7f, -1e7f, 1e7f, 1e7f}, &solids);
  EXPECT_TRUE(solids.empty());
  std::vector<const SceneryLine*> sceneries;
  CollectSceneryLinesInView(world, {-1e7f, -1e7f, 1e7f, 1e7f}, &sceneries);
  EXPECT_TRUE(sceneries.empty());
}

TEST(LineDrawing, AStillViewSeesLinesComeAndGo) {
  World world;
  Lcg rng{777};
  FillWorld(world, rng, 2000);
  CullRect cull{100, 100, 400, 300};
  std::vector<const SolidLine*> seen;
  std::vector<const SceneryLine*> sceneries;
  CollectSolidLinesInView(world, cull, &seen);
  CollectSceneryLinesInView(world, cull, &sceneries);
  size_t before = seen.size(), sceneryBefore = sceneries.size();
  // The same view again after a line was added in it, and after it was removed.
  const SolidLine* added = AddSolidLine(world, {200, 200}, {250, 210}, 1.0f, LineKind::Normal);
  AddSceneryLine(world, {200, 150}, {260, 150}, 5, 6, 7, 1.0f);
  CollectSolidLinesInView(world, cull, &seen);
  CollectSceneryLinesInView(world, cull, &sceneries);
  ASSERT_EQ(seen.size(), before + 1);
  EXPECT_EQ(seen.back(), added);
  ASSERT_EQ(sceneries.size(), sceneryBefore + 1);
  EXPECT_EQ(sceneries.back(), &world.sceneryLines.back());
  RemoveSolidLine(world, added);
  CollectSolidLinesInView(world, cull, &seen);
  EXPECT_EQ(seen.size(), before);
  ExpectViewOf(world.solidLines, seen, cull);
}

TEST(LineDrawing, SwitchingWorldsRebuildsTheIndex) {
  World a, b;
  AddSolidLine(a, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  AddSolidLine(b, {0, 50}, {100, 50}, 1.0f, LineKind::Normal);
  AddSolidLine(b, {0, 60}, {100, 60}, 1.0f, LineKind::Normal);
  std::vector<const SolidLine*> seen;
  CollectSolidLinesInView(a, {-10, -10, 200, 200}, &seen);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], &a.solidLines.front());
  CollectSolidLinesInView(b, {-10, -10, 200, 200}, &seen);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], &b.solidLines.front());
  EXPECT_EQ(seen[1], &b.solidLines.back());
}
