// Finds a solid line's place in the world's line list from its address, so that removing a line
// costs no walk through the list. Open addressing with linear probing in one flat array: no
// allocation per line. New lines are placed in batches whose slots are fetched together, so a
// table far larger than the cache costs about one memory wait per batch rather than per line.
// It is only ever asked about one address and never walked, so its layout decides nothing in
// the game.
#pragma once
#include <cstddef>
#include <cstdint>
#include <list>
#include <vector>

#include "track/lines.h"

struct LineIndex {
  struct Slot {
    const SolidLine* line = nullptr;              // null: empty slot
    std::list<SolidLine>::iterator position;
  };
  std::vector<Slot> slots;                        // a power of two long, at most three quarters full
  std::vector<Slot> pending;                      // added lately, placed into slots a batch at a time
  size_t count = 0;                               // lines in slots and pending
};

void IndexLine(LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator position);
bool FindIndexedLine(const LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator* position);
bool UnindexLine(LineIndex& index, const SolidLine* line);  // false when the line was not indexed
void ClearLineIndex(LineIndex& index);            // empty, memory released
