#include "track/line_index.h"

#include <gtest/gtest.h>

#include <list>
#include <map>

TEST(LineIndex, FindsEveryIndexedLineThroughGrowthAndRemovals) {
  std::list<SolidLine> lines;
  LineIndex index;
  std::map<const SolidLine*, std::list<SolidLine>::iterator> model;
  std::list<SolidLine>::iterator found;
  EXPECT_FALSE(FindIndexedLine(index, nullptr, &found));
  EXPECT_FALSE(UnindexLine(index, &*lines.emplace(lines.end())));
  lines.clear();
  uint32_t state = 7;
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  // Many adds with removals in between, so that probe runs wrap and shift.
  for (int round = 0; round < 20000; ++round) {
    if (model.empty() || next() % 3 != 0) {
      auto position = lines.emplace(lines.end());
      IndexLine(index, &*position, position);
      model[&*position] = position;
    } else {
      auto victim = model.begin();
      std::advance(victim, next() % model.size());
      EXPECT_TRUE(UnindexLine(index, victim->first));
      EXPECT_FALSE(FindIndexedLine(index, victim->first, &found));
      lines.erase(victim->second);
      model.erase(victim);
    }
  }
  EXPECT_EQ(index.count, model.size());
  EXPECT_LE((index.count - index.pending.size()) * 4, index.slots.size() * 3);
  for (const auto& [line, position] : model) {
    ASSERT_TRUE(FindIndexedLine(index, line, &found));
    EXPECT_EQ(found, position);
  }
  SolidLine stranger;
  EXPECT_FALSE(FindIndexedLine(index, &stranger, &found));
  EXPECT_FALSE(UnindexLine(index, &stranger));
  for (const auto& entry : model) EXPECT_TRUE(UnindexLine(index, entry.first));
  EXPECT_EQ(index.count, 0u);
  for (const LineIndex::Slot& slot : index.slots) EXPECT_EQ(slot.line, nullptr);
  ClearLineIndex(index);
  EXPECT_TRUE(index.slots.empty());
}
