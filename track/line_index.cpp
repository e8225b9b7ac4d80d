#include "track/line_index.h"

namespace {

constexpr size_t kFirstSize = 64;                 // slots of the first table

size_t HomeOf(const SolidLine* line, size_t mask) {
  // Fibonacci hashing of the address (records are at least 16-byte aligned).
  const uint64_t key = uint64_t(reinterpret_cast<uintptr_t>(line)) >> 4;
  return size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

void PutIntoEmpty(std::vector<LineIndex::Slot>& slots, const LineIndex::Slot& slot) {
  const size_t mask = slots.size() - 1;
  size_t at = HomeOf(slot.line, mask);
  while (slots[at].line) at = (at + 1) & mask;
  slots[at] = slot;
}

void Grow(LineIndex& index) {
  std::vector<LineIndex::Slot> larger(index.slots.empty() ? kFirstSize : index.slots.size() * 2);
  for (const LineIndex::Slot& slot : index.slots)
    if (slot.line) PutIntoEmpty(larger, slot);
  index.slots.swap(larger);
}

// The slot holding line, or the table size when it is not there.
size_t SlotOf(const LineIndex& index, const SolidLine* line) {
  if (index.slots.empty()) return 0;
  const size_t mask = index.slots.size() - 1;
  for (size_t at = HomeOf(line, mask);; at = (at + 1) & mask) {
    if (index.slots[at].line == line) return at;
    if (!index.slots[at].line) return index.slots.size();
  }
}

}  // namespace

void IndexLine(LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator position) {
  if ((index.count + 1) * 4 > index.slots.size() * 3) Grow(index);
  PutIntoEmpty(index.slots, {line, position});
  index.count += 1;
}

bool FindIndexedLine(const LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator* position) {
  const size_t at = SlotOf(index, line);
  if (at >= index.slots.size()) return false;
  *position = index.slots[at].position;
  return true;
}

bool UnindexLine(LineIndex& index, const SolidLine* line) {
  size_t hole = SlotOf(index, line);
  if (hole >= index.slots.size()) return false;
  const size_t mask = index.slots.size() - 1;
  index.slots[hole] = {};
  index.count -= 1;
  // Backward shift: later entries of the run move into the hole unless their home lies
  // cyclically after the hole, so every entry stays reachable from its home.
  for (size_t at = (hole + 1) & mask; index.slots[at].line; at = (at + 1) & mask) {
    const size_t home = HomeOf(index.slots[at].line, mask);
    const bool homeBetween = hole <= at ? (home > hole && home <= at) : (home > hole || home <= at);
    if (homeBetween) continue;
    index.slots[hole] = index.slots[at];
    index.slots[at] = {};
    hole = at;
  }
  return true;
}

void ClearLineIndex(LineIndex& index) {
  std::vector<LineIndex::Slot>().swap(index.slots);
  index.count = 0;
}
