#include "graphics/inflate.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "shell/byte_stream.h"

namespace {

// ---- Decode tables ----
//
// A Huffman code is decoded with one lookup of its first rootBits stream bits; codes longer
// than that go through a link entry to a subtable indexed by the following bits. Entry layout:
//   bits 0-4   bits the code takes from the stream (a link entry: rootBits)
//   bits 5-8   extra bits after the code (lengths, distances), or a link's subtable bits
//   bits 9-15  kind flags below; no flag = a bit pattern no code uses
//   bits 16-31 value: literal byte, length or distance base, code-length symbol, subtable start

constexpr uint32_t kSymbol = 1u << 9;             // literal byte or code-length symbol
constexpr uint32_t kBase = 1u << 10;              // length or distance: base + extra bits
constexpr uint32_t kLink = 1u << 11;              // points to a subtable
constexpr uint32_t kEndOfBlock = 1u << 12;
constexpr uint32_t kSkip = 1u << 13;              // literal/length 286 and 287: no output
constexpr uint32_t kBadDistance = 1u << 14;       // distance 30 and 31

constexpr int kLitBits = 11;
constexpr int kDistBits = 8;
constexpr int kCodeLengthBits = 7;                // code-length codes are at most 7 bits long
constexpr int kMaxCodeBits = 15;

// Margins of the fast loop: one round refills twice (7 bytes each, read as 8-byte words) and
// writes at most 2 literals, a 258-byte match and 7 bytes of word-copy overshoot.
constexpr ptrdiff_t kFastInput = 16;
constexpr ptrdiff_t kFastOutput = 300;

// Each subtable holds at least one code longer than rootBits and has at most
// 2^(15 - rootBits) entries, so the root plus one full subtable per symbol always fits.
constexpr int kLitTableSize = (1 << kLitBits) + 288 * (1 << (kMaxCodeBits - kLitBits));
constexpr int kDistTableSize = (1 << kDistBits) + 32 * (1 << (kMaxCodeBits - kDistBits));

constexpr uint32_t Entry(uint32_t flags, uint32_t extra, uint32_t value) {
  return flags | (extra << 5) | (value << 16);
}

struct SymbolEntries {
  uint32_t literal[288];
  uint32_t distance[32];
  uint32_t codeLength[19];
};

constexpr SymbolEntries MakeSymbolEntries() {
  constexpr uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                        31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  constexpr uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                        2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
  constexpr uint16_t kDistanceBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,
                                          33,  49,  65,  97,  129, 193,  257,  385,  513,  769,
                                          1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  SymbolEntries table{};
  for (uint32_t s = 0; s < 256; ++s) table.literal[s] = Entry(kSymbol, 0, s);
  table.literal[256] = Entry(kEndOfBlock, 0, 0);
  for (int s = 0; s < 29; ++s) table.literal[257 + s] = Entry(kBase, kLengthExtra[s], kLengthBase[s]);
  table.literal[286] = table.literal[287] = Entry(kSkip, 0, 0);
  for (int s = 0; s < 30; ++s) {
    // Distance codes 0-3 have no extra bits, then two codes per extra bit: 4,5 -> 1 ... 28,29 -> 13.
    uint32_t extra = s < 4 ? 0 : uint32_t(s / 2 - 1);
    table.distance[s] = Entry(kBase, extra, kDistanceBase[s]);
  }
  table.distance[30] = table.distance[31] = Entry(kBadDistance, 0, 0);
  for (uint32_t s = 0; s < 19; ++s) table.codeLength[s] = Entry(kSymbol, 0, s);
  return table;
}

constexpr SymbolEntries kSymbols = MakeSymbolEntries();

// The order in which a dynamic block lists the code-length code's lengths.
constexpr uint8_t kCodeLengthOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

// ---- State ----

// One inflation; lives for one call.
struct Inflater {
  const uint8_t* in;
  const uint8_t* inEnd;
  uint8_t* outStart;
  uint8_t* out;
  uint8_t* outEnd;
  uint64_t bits;                                  // unread stream bits, first bit lowest
  uint32_t count;                                 // valid bits in `bits` (at most 63)
  uint32_t overrun;                               // zero bytes appended past the input's end
  uint32_t litTable[kLitTableSize];
  uint32_t distTable[kDistTableSize];
  uint32_t codeLengthTable[1 << kCodeLengthBits];
};

// ---- Internal functions ----

void Store64(uint8_t* p, uint64_t value) { memcpy(p, &value, 8); }

uint32_t ReverseBits(uint32_t code, int length) {
  uint32_t reversed = 0;
  for (int i = 0; i < length; ++i, code >>= 1) reversed = (reversed << 1) | (code & 1);
  return reversed;
}

// Canonical Huffman code from lengths (0 = unused symbol) into a root table of 2^rootBits
// entries followed by its subtables. Incomplete codes are allowed (their holes decode as
// error 11); returns false when the lengths over-subscribe the code.
bool BuildTable(uint32_t* table, int rootBits, const uint8_t* lengths, int symbolCount,
                const uint32_t* symbolEntries) {
  int counts[kMaxCodeBits + 1] = {};
  for (int s = 0; s < symbolCount; ++s) counts[lengths[s]]++;
  counts[0] = 0;
  int unusedCodes = 1;
  for (int length = 1; length <= kMaxCodeBits; ++length) {
    unusedCodes = (unusedCodes << 1) - counts[length];
    if (unusedCodes < 0) return false;
  }

  int offsets[kMaxCodeBits + 2] = {};
  for (int length = 1; length <= kMaxCodeBits; ++length) offsets[length + 1] = offsets[length] + counts[length];
  uint16_t sorted[288];
  for (int s = 0; s < symbolCount; ++s) {
    if (lengths[s]) sorted[offsets[lengths[s]]++] = uint16_t(s);
  }

  const uint32_t rootSize = 1u << rootBits;
  std::fill(table, table + rootSize, 0u);
  int remaining[kMaxCodeBits + 1];
  std::copy(counts, counts + kMaxCodeBits + 1, remaining);
  uint32_t code = 0;
  uint32_t nextFree = rootSize;
  uint32_t prefix = ~0u;
  uint32_t subStart = 0;
  int subBits = 0;
  int k = 0;
  for (int length = 1; length <= kMaxCodeBits; ++length, code <<= 1) {
    for (int n = 0; n < counts[length]; ++n, ++code, ++k) {
      uint32_t entry = symbolEntries[sorted[k]] | uint32_t(length);
      uint32_t reversed = ReverseBits(code, length);
      if (length <= rootBits) {
        for (uint32_t i = reversed; i < rootSize; i += 1u << length) table[i] = entry;
      } else {
        uint32_t low = reversed & (rootSize - 1);
        if (low != prefix) {
          // The codes sharing this prefix come next in canonical order; the subtable is wide
          // enough once the codes not yet placed fill its 2^subBits slots.
          subBits = length - rootBits;
          int room = 1 << subBits;
          while (subBits + rootBits < kMaxCodeBits) {
            room -= remaining[subBits + rootBits];
            if (room <= 0) break;
            ++subBits;
            room <<= 1;
          }
          prefix = low;
          subStart = nextFree;
          nextFree += 1u << subBits;
          std::fill(table + subStart, table + nextFree, 0u);
          table[low] = Entry(kLink, uint32_t(subBits), subStart) | uint32_t(rootBits);
        }
        for (uint32_t i = reversed >> rootBits; i < (1u << subBits); i += 1u << (length - rootBits)) {
          table[subStart + i] = entry;
        }
      }
      remaining[length]--;
    }
  }
  return true;
}

// The entry of the code at the bottom of bits (which must hold at least 15 bits).
inline uint32_t Lookup(const uint32_t* table, int rootBits, uint64_t bits) {
  uint32_t entry = table[bits & ((1u << rootBits) - 1)];
  if (entry & kLink) {
    uint32_t subMask = (1u << ((entry >> 5) & 15)) - 1;
    entry = table[(entry >> 16) + (uint32_t(bits >> rootBits) & subMask)];
  }
  return entry;
}

inline uint32_t CodeBits(uint32_t entry) { return entry & 31; }
inline uint32_t ExtraBits(uint32_t entry) { return (entry >> 5) & 15; }

// Tops the bit buffer up to more than 56 bits a byte at a time; past the input's end it adds
// zero bytes and counts them, so reading them can be told from reading input.
void SlowRefill(Inflater& s) {
  while (s.count <= 56) {
    uint64_t byte = 0;
    if (s.in < s.inEnd) {
      byte = *s.in++;
    } else {
      s.overrun++;
    }
    s.bits |= byte << s.count;
    s.count += 8;
  }
}

// Bits in the buffer that came from the input.
inline int InputBits(const Inflater& s) { return int(s.count) - 8 * int(s.overrun); }

inline uint32_t Take(Inflater& s, uint32_t n) {
  uint32_t value = uint32_t(s.bits & ((uint64_t(1) << n) - 1));
  s.bits >>= n;
  s.count -= n;
  return value;
}

// Copies length bytes from dist bytes back, byte by byte (the source may overlap the target).
void CopyMatch(uint8_t* out, uint32_t dist, uint32_t length) {
  const uint8_t* src = out - dist;
  for (uint32_t i = 0; i < length; ++i) out[i] = src[i];
}

// Whether the fast loop may run: its refills read whole words and its copies may write whole
// words past their end.
bool FastPossible(const Inflater& s) {
  return s.inEnd - s.in >= kFastInput && s.outEnd - s.out >= kFastOutput;
}

// Fast decoding of a Huffman block while FastPossible holds. Returns 0 at the end of the block,
// -1 when the careful loop must take over (near the ends, or a symbol it reports errors for),
// or an error code.
int FastBlock(Inflater& s) {
  const uint8_t* in = s.in;
  uint8_t* out = s.out;
  uint64_t bits = s.bits;
  uint32_t count = s.count;
  const uint32_t* litTable = s.litTable;
  const uint32_t* distTable = s.distTable;
  int result = -1;

  // Refill to 56..63 bits with one unaligned load. Bits above count may hold the next bytes
  // of input: the next refill ORs the very same bytes over them.
  auto refill = [&] {
    bits |= LoadLE64(in) << count;
    in += (63 - count) >> 3;
    count |= 56;
  };
  auto consume = [&](uint32_t n) {
    bits >>= n;
    count -= n;
  };

  while (s.inEnd - in >= kFastInput && s.outEnd - out >= kFastOutput) {
    refill();
    uint32_t entry = Lookup(litTable, kLitBits, bits);
    if (entry & kSymbol) {
      // Up to three literals per refill: 56 bits cover three 15-bit codes.
      consume(CodeBits(entry));
      *out++ = uint8_t(entry >> 16);
      entry = Lookup(litTable, kLitBits, bits);
      if (entry & kSymbol) {
        consume(CodeBits(entry));
        *out++ = uint8_t(entry >> 16);
        entry = Lookup(litTable, kLitBits, bits);
        if (entry & kSymbol) {
          consume(CodeBits(entry));
          *out++ = uint8_t(entry >> 16);
          continue;
        }
      }
      // A length needs up to 48 more bits; the input check above leaves room for this load.
      refill();
    }
    if (entry & kBase) {
      uint32_t codeBits = CodeBits(entry);
      uint32_t extra = ExtraBits(entry);
      uint32_t length = (entry >> 16) + (uint32_t(bits >> codeBits) & ((1u << extra) - 1));
      consume(codeBits + extra);

      uint32_t d = Lookup(distTable, kDistBits, bits);
      if (!(d & kBase)) {
        result = (d & kBadDistance) ? kInflateBadDistance : kInflateCodeUnused;
        break;
      }
      codeBits = CodeBits(d);
      extra = ExtraBits(d);
      uint32_t dist = (d >> 16) + (uint32_t(bits >> codeBits) & ((1u << extra) - 1));
      consume(codeBits + extra);
      if (dist > uint32_t(out - s.outStart)) {
        result = kInflateCopyOutside;
        break;
      }

      // Whole-word copies may run up to 7 bytes past the match; the margin covers that and
      // later output overwrites it.
      uint8_t* end = out + length;
      const uint8_t* src = out - dist;
      if (dist >= 8) {
        do {
          memcpy(out, src, 8);  // never overlaps: the match is at least 8 bytes back
          out += 8;
          src += 8;
        } while (out < end);
      } else if (dist == 1) {
        uint64_t run = 0x0101010101010101ull * src[0];
        do {
          Store64(out, run);
          out += 8;
        } while (out < end);
      } else {
        CopyMatch(out, dist, length);
      }
      out = end;
      continue;
    }
    if (entry & kEndOfBlock) {
      consume(CodeBits(entry));
      result = 0;
      break;
    }
    break;  // a skipped symbol or an unused pattern: the careful loop handles it
  }

  s.in = in;
  s.out = out;
  s.count = count;
  s.bits = bits & ((uint64_t(1) << count) - 1);
  return result;
}

// Careful decoding of one Huffman block, symbol by symbol with every check; hands back to the
// fast loop as soon as it can run. Returns 0 at the end of the block, -1 to resume the fast
// loop, or an error code.
int CarefulBlock(Inflater& s) {
  for (;;) {
    SlowRefill(s);
    if (InputBits(s) <= 0) return kInflateCodeCut;
    uint32_t entry = Lookup(s.litTable, kLitBits, s.bits);
    uint32_t codeBits = CodeBits(entry);
    if (!(entry & (kSymbol | kBase | kEndOfBlock | kSkip))) return kInflateCodeUnused;
    if (int(codeBits) > InputBits(s)) return kInflateCodeCut;

    if (entry & kSymbol) {
      if (s.out == s.outEnd) return kInflateLiteralOverflow;
      Take(s, codeBits);
      *s.out++ = uint8_t(entry >> 16);
    } else if (entry & kEndOfBlock) {
      Take(s, codeBits);
      return 0;
    } else if (entry & kSkip) {
      Take(s, codeBits);
    } else {
      uint32_t extra = ExtraBits(entry);
      if (int(codeBits + extra) > InputBits(s)) return kInflateExtraCut;
      Take(s, codeBits);
      uint32_t length = (entry >> 16) + Take(s, extra);

      // After the refill at least 57 bits were there; a length took at most 20, leaving room
      // for a 15-bit distance code and its 13 extra bits.
      if (InputBits(s) <= 0) return kInflateCodeCut;
      uint32_t d = Lookup(s.distTable, kDistBits, s.bits);
      if (d & kBadDistance) return kInflateBadDistance;
      if (!(d & kBase)) return kInflateCodeUnused;
      codeBits = CodeBits(d);
      extra = ExtraBits(d);
      if (int(codeBits) > InputBits(s)) return kInflateCodeCut;
      if (int(codeBits + extra) > InputBits(s)) return kInflateExtraCut;
      Take(s, codeBits);
      uint32_t dist = (d >> 16) + Take(s, extra);
      if (dist > uint32_t(s.out - s.outStart)) return kInflateCopyOutside;
      if (length > uint32_t(s.outEnd - s.out)) return kInflateCopyOutside;
      CopyMatch(s.out, dist, length);
      s.out += length;
    }
    if (FastPossible(s)) return -1;
  }
}

int HuffmanBlock(Inflater& s) {
  for (;;) {
    int result = FastPossible(s) ? FastBlock(s) : -1;
    if (result >= 0) return result;
    result = CarefulBlock(s);
    if (result >= 0) return result;
  }
}

int StoredBlock(Inflater& s) {
  // Drop the rest of the current byte, then hand the whole input bytes still in the bit
  // buffer back to the input.
  Take(s, s.count & 7);
  s.in -= (s.count >> 3) - s.overrun;
  s.bits = 0;
  s.count = 0;
  s.overrun = 0;
  if (s.inEnd - s.in < 4) return kInflateBlockHeaderCut;
  uint32_t len = LoadLE16(s.in);
  uint32_t nlen = LoadLE16(s.in + 2);
  s.in += 4;
  if (len + nlen != 65535) return kInflateStoredLength;
  if (len > uint32_t(s.outEnd - s.out)) return kInflateStoredOverflow;
  if (len > uint32_t(s.inEnd - s.in)) return kInflateStoredCut;
  if (len > 0) memcpy(s.out, s.in, len);  // an empty output may have no buffer at all
  s.out += len;
  s.in += len;
  return 0;
}

void BuildFixedTables(Inflater& s) {
  uint8_t lengths[288];
  std::fill(lengths, lengths + 144, uint8_t(8));
  std::fill(lengths + 144, lengths + 256, uint8_t(9));
  std::fill(lengths + 256, lengths + 280, uint8_t(7));
  std::fill(lengths + 280, lengths + 288, uint8_t(8));
  BuildTable(s.litTable, kLitBits, lengths, 288, kSymbols.literal);
  std::fill(lengths, lengths + 32, uint8_t(5));
  BuildTable(s.distTable, kDistBits, lengths, 32, kSymbols.distance);
}

int ReadDynamicTables(Inflater& s) {
  SlowRefill(s);
  if (InputBits(s) < 14) return kInflateDynamicHeaderCut;
  const int literalCount = int(Take(s, 5)) + 257;
  const int distanceCount = int(Take(s, 5)) + 1;
  const int codeLengthCount = int(Take(s, 4)) + 4;

  uint8_t codeLengthLengths[19] = {};
  for (int i = 0; i < codeLengthCount; ++i) {
    SlowRefill(s);
    if (InputBits(s) < 3) return kInflateLengthsCut;
    codeLengthLengths[kCodeLengthOrder[i]] = uint8_t(Take(s, 3));
  }
  if (!BuildTable(s.codeLengthTable, kCodeLengthBits, codeLengthLengths, 19, kSymbols.codeLength)) {
    return kInflateBadTree;
  }

  // Literal/length and distance lengths form one sequence: a repeat may cross from one to the other.
  uint8_t lengths[288 + 32];
  const int total = literalCount + distanceCount;
  int n = 0;
  while (n < total) {
    SlowRefill(s);
    if (InputBits(s) <= 0) return kInflateLengthsCut;
    uint32_t entry = s.codeLengthTable[s.bits & ((1u << kCodeLengthBits) - 1)];
    if (!(entry & kSymbol)) return kInflateCodeUnused;
    if (int(CodeBits(entry)) > InputBits(s)) return kInflateCodeCut;
    Take(s, CodeBits(entry));
    uint32_t symbol = entry >> 16;
    if (symbol < 16) {
      lengths[n++] = uint8_t(symbol);
      continue;
    }
    // Repeat codes: 16 = previous length 3-6 times, 17 = 3-10 zeros, 18 = 11-138 zeros.
    const uint32_t extraBits = symbol == 16 ? 2 : symbol == 17 ? 3 : 7;
    if (InputBits(s) < int(extraBits)) return kInflateLengthsCut;
    const int repeat = int(Take(s, extraBits)) + (symbol == 18 ? 11 : 3);
    uint8_t value = 0;
    if (symbol == 16) {
      if (n == 0 || n + repeat > total) return kInflateRepeatOverflow;
      value = lengths[n - 1];
    } else if (n + repeat > total) {
      return symbol == 17 ? kInflateZerosOverflow : kInflateLongZerosOverflow;
    }
    std::fill(lengths + n, lengths + n + repeat, value);
    n += repeat;
  }

  if (!BuildTable(s.litTable, kLitBits, lengths, literalCount, kSymbols.literal)) return kInflateBadTree;
  if (!BuildTable(s.distTable, kDistBits, lengths + literalCount, distanceCount, kSymbols.distance)) {
    return kInflateBadTree;
  }
  return 0;
}

}  // namespace

// ---- Public functions ----

int Inflate(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* written) {
  auto state = std::make_unique<Inflater>();
  Inflater& s = *state;
  s.in = input;
  s.inEnd = input + inputSize;
  s.outStart = output;
  s.out = output;
  s.outEnd = output + outputSize;
  s.bits = 0;
  s.count = 0;
  s.overrun = 0;

  int error = 0;
  bool last = false;
  while (!last && error == 0) {
    SlowRefill(s);
    if (InputBits(s) < 3) {
      error = kInflateBlockHeaderCut;
      break;
    }
    last = Take(s, 1) != 0;
    uint32_t type = Take(s, 2);
    if (type == 0) {
      error = StoredBlock(s);
    } else if (type == 1) {
      BuildFixedTables(s);
      error = HuffmanBlock(s);
    } else if (type == 2) {
      error = ReadDynamicTables(s);
      if (error == 0) error = HuffmanBlock(s);
    } else {
      error = kInflateBadBlockType;
    }
  }
  if (written) *written = size_t(s.out - s.outStart);
  // Whole-word copies may have written a few bytes past the end of the output produced.
  if (error == 0 && s.out != s.outEnd) memset(s.out, 0, size_t(s.outEnd - s.out));
  return error;
}

int ZlibInflate(const uint8_t* input, size_t inputSize, uint8_t* output, size_t outputSize, size_t* written) {
  if (written) *written = 0;
  if (inputSize < 2) return kInflateZlibShort;
  const uint32_t method = input[0];
  const uint32_t flags = input[1];
  if ((method * 256 + flags) % 31 != 0) return kInflateHeaderCheck;
  if ((method & 15) != 8 || (method >> 4) > 7) return kInflateHeaderMethod;
  if (flags & 32) return kInflateHeaderDictionary;
  return Inflate(input + 2, inputSize - 2, output, outputSize, written);
}
