#include "track/line_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "rider/current_rider.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {
// Random numbers the same on every run, so every run checks the same tracks.
float Next(std::minstd_rand& rng, float lo, float hi) { return std::uniform_real_distribution<float>(lo, hi)(rng); }

bool Skipped(float x1, float y1, float x2, float y2, const CullRect& c) {
  return (x1 < c.minX && x2 < c.minX) || (y1 < c.minY && y2 < c.minY) || (x1 > c.maxX && x2 > c.maxX) ||
         (y1 > c.maxY && y2 > c.maxY);
}

// Does the segment come within `grow` of the rectangle? (Liang-Barsky clip against the grown box.)
bool Touches(float x1, float y1, float x2, float y2, CullRect c, float grow) {
  float t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
  const float p[4] = {-dx, dx, -dy, dy};
  const float q[4] = {x1 - c.minX + grow, c.maxX + grow - x1, y1 - c.minY + grow, c.maxY + grow - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0 && q[i] < 0) return false;
    if (p[i] < 0) t0 = std::max(t0, q[i] / p[i]);
    if (p[i] > 0) t1 = std::min(t1, q[i] / p[i]);
  }
  return t0 <= t1;
}

// The query's lines are the live lines in creation order, each once, none skipped by the cull
// test, and every live line that reaches into the rectangle is among them.
template <typename Line>
void ExpectViewOf(const std::vector<Line>& lines, const std::vector<LineId>& got, const CullRect& cull) {
  LineId last = kNoLine;
  for (LineId id : got) {
    ASSERT_GT(id, last) << "a line out of creation order or twice";
    ASSERT_LT(size_t(id), lines.size());
    const Line& line = lines[size_t(id)];
    ASSERT_TRUE(line.live) << "a removed line is drawn";
    EXPECT_FALSE(Skipped(line.x1, line.y1, line.x2, line.y2, cull));
    last = id;
  }
  for (size_t id = 0; id < lines.size(); ++id) {
    const Line& line = lines[id];
    if (line.live && Touches(line.x1, line.y1, line.x2, line.y2, cull, line.thickness) &&
        !Skipped(line.x1, line.y1, line.x2, line.y2, cull)) {
      EXPECT_TRUE(std::binary_search(got.begin(), got.end(), LineId(id)))
          << "missing line " << line.x1 << "," << line.y1 << " - " << line.x2 << "," << line.y2;
    }
  }
}

void AddRandomLine(World& world, std::minstd_rand& rng, int i) {
  Vec2 a{Next(rng, -4000, 4000), Next(rng, -4000, 4000)};
  float length = Next(rng, 5, i % 50 == 0 ? 3000 : 200);
  float angle = Next(rng, 0, 6.28f);
  Vec2 b = a + Vec2(length * std::cos(angle), length * std::sin(angle));
  float thickness = i % 7 == 0 ? Next(rng, 3, 40) : 1.0f;
  AddSolidLine(world, a, b, thickness, LineKind(i % 3));
  AddSceneryLine(world, b, a, uint8_t(i), 2, 3, thickness);
}

void ExpectAllViews(World& world, LineDrawCache& cache, std::minstd_rand& rng, int views = 12) {
  std::vector<LineId> ids;
  for (int i = 0; i < views; ++i) {
    float w = i < 4 ? Next(rng, 50, 400) : (i < 10 ? Next(rng, 400, 3000) : 20000);
    Vec2 min{Next(rng, -4500, 4000), Next(rng, -4500, 4000)};
    CullRect cull{min.x, min.y, min.x + w, min.y + w * 0.75f};
    CollectSolidLinesInView(world, cull, cache, &ids);
    ExpectViewOf(world.solidLines, ids, cull);
    // The same view again, from the cache.
    std::vector<LineId> again;
    CollectSolidLinesInView(world, cull, cache, &again);
    EXPECT_EQ(again, ids);
    CollectSceneryLinesInView(world, cull, cache, &ids);
    ExpectViewOf(world.sceneryLines, ids, cull);
    if (::testing::Test::HasFailure()) return;
  }
}
}  // namespace

// Long random runs of draws, erases, clears and reloads: after each, every live line in view is
// found once and in creation order. Runs in the normal build too, where freed memory is reused.
TEST(LineDrawing, ViewHoldsEveryVisibleLineOnceInCreationOrderThroughAnyEdits) {
  auto world = std::make_unique<World>();
  LineDrawCache cache;
  CurrentRider rider;
  std::minstd_rand rng(12345);
  for (int i = 0; i < 2000; ++i) AddRandomLine(*world, rng, i);
  ExpectAllViews(*world, cache, rng);
  std::vector<uint8_t> bytes;
  TrackFileContent content;
  for (int op = 0; op < 400 && !::testing::Test::HasFailure(); ++op) {
    const float roll = Next(rng, 0, 100);
    if (roll < 40) {
      for (int i = 0; i < 5; ++i) AddRandomLine(*world, rng, op + i);
    } else if (roll < 85) {
      const Vec2 centre{Next(rng, -4000, 4000), Next(rng, -4000, 4000)};
      const float radius = Next(rng, 5, 400);
      EraseSolidLines(*world, centre, radius);
      EraseSceneryLines(*world, centre, radius);
    } else if (roll < 95) {
      EncodeTrackFile(*world, rider, false, &bytes);
      ASSERT_EQ(ParseTrackFile(bytes.data(), bytes.size(), false, &content), FileLoad::Loaded);
      ApplyTrackFile(*world, rider, content, false);
    } else {
      ClearSolidLines(*world);
      ClearSceneryLines(*world);
      for (int i = 0; i < 300; ++i) AddRandomLine(*world, rng, i);
    }
    ExpectAllViews(*world, cache, rng, 3);
  }
  // A view far from everything holds nothing; a cleared world holds nothing anywhere.
  std::vector<LineId> ids;
  CollectSolidLinesInView(*world, {1e6f, 1e6f, 1e6f + 500, 1e6f + 400}, cache, &ids);
  EXPECT_TRUE(ids.empty());
  ClearSolidLines(*world);
  ClearSceneryLines(*world);
  for (auto collect : {CollectSolidLinesInView, CollectSceneryLinesInView}) {
    collect(*world, {-1e7f, -1e7f, 1e7f, 1e7f}, cache, &ids);
    EXPECT_TRUE(ids.empty());
  }
}

// One cache drawing two worlds in turn never takes one's lines for the other's.
TEST(LineDrawing, ACacheNeverMixesWorlds) {
  World a, b;
  LineDrawCache cache;
  AddSolidLine(a, {0, 0}, {100, 0}, 1.0f, LineKind::Normal);
  AddSolidLine(b, {0, 50}, {100, 50}, 1.0f, LineKind::Normal);
  AddSolidLine(b, {0, 60}, {100, 60}, 1.0f, LineKind::Normal);
  std::vector<LineId> seen;
  CollectSolidLinesInView(a, {-10, -10, 200, 200}, cache, &seen);
  EXPECT_EQ(seen, (std::vector<LineId>{0}));
  CollectSolidLinesInView(b, {-10, -10, 200, 200}, cache, &seen);
  EXPECT_EQ(seen, (std::vector<LineId>{0, 1}));
  RemoveSolidLine(b, 0);
  CollectSolidLinesInView(b, {-10, -10, 200, 200}, cache, &seen);
  EXPECT_EQ(seen, (std::vector<LineId>{1}));
}
