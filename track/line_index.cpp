#include "track/line_index.h"

namespace {

constexpr size_t kFirstSize = 64;                 // slots of the first table
constexpr size_t kBatch = 32;                     // lines placed together

size_t HomeOf(const SolidLine* line, size_t mask) {
  // Fibonacci hashing of the address (records are at least 16-byte aligned).
  const uint64_t key = uint64_t(reinterpret_cast<uintptr_t>(line)) >> 4;
  return size_t((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
}

// Places a batch of entries: first asks for every home slot, then fills them, so the memory
// waits overlap.
void PlaceBatch(std::vector<LineIndex::Slot>& slots, const LineIndex::Slot* batch, size_t n) {
  const size_t mask = slots.size() - 1;
  size_t homes[kBatch];
  for (size_t i = 0; i < n; ++i) {
    homes[i] = HomeOf(batch[i].line, mask);
    __builtin_prefetch(&slots[homes[i]], 1);
  }
  for (size_t i = 0; i < n; ++i) {
    size_t at = homes[i];
    while (slots[at].line) at = (at + 1) & mask;
    slots[at] = batch[i];
  }
}

void PlaceAll(std::vector<LineIndex::Slot>& slots, const std::vector<LineIndex::Slot>& entries) {
  LineIndex::Slot batch[kBatch];
  size_t n = 0;
  for (const LineIndex::Slot& entry : entries) {
    if (!entry.line) continue;
    batch[n++] = entry;
    if (n == kBatch) {
      PlaceBatch(slots, batch, n);
      n = 0;
    }
  }
  PlaceBatch(slots, batch, n);
}

// Places the pending lines, growing the table first when they would fill it beyond three quarters.
void Flush(LineIndex& index) {
  if (index.pending.empty()) return;
  if (index.slots.empty() || index.count * 4 > index.slots.size() * 3) {
    size_t size = index.slots.empty() ? kFirstSize : index.slots.size();
    while (index.count * 4 > size * 3) size *= 2;
    std::vector<LineIndex::Slot> larger(size);
    PlaceAll(larger, index.slots);
    index.slots.swap(larger);
  }
  PlaceAll(index.slots, index.pending);
  index.pending.clear();
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

// The pending entry of line, or the pending count when it is not there.
size_t PendingOf(const LineIndex& index, const SolidLine* line) {
  size_t at = 0;
  while (at < index.pending.size() && index.pending[at].line != line) at += 1;
  return at;
}

}  // namespace

void IndexLine(LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator position) {
  if (index.pending.capacity() < kBatch) index.pending.reserve(kBatch);
  index.pending.push_back({line, position});
  index.count += 1;
  if (index.pending.size() == kBatch) Flush(index);
}

bool FindIndexedLine(const LineIndex& index, const SolidLine* line, std::list<SolidLine>::iterator* position) {
  const size_t waiting = PendingOf(index, line);
  if (waiting < index.pending.size()) {
    *position = index.pending[waiting].position;
    return true;
  }
  const size_t at = SlotOf(index, line);
  if (at >= index.slots.size()) return false;
  *position = index.slots[at].position;
  return true;
}

bool UnindexLine(LineIndex& index, const SolidLine* line) {
  const size_t waiting = PendingOf(index, line);
  if (waiting < index.pending.size()) {
    index.pending[waiting] = index.pending.back();
    index.pending.pop_back();
    index.count -= 1;
    return true;
  }
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
  index.pending.clear();
  index.count = 0;
}
