// The inflater against zlib's own compressor, and hand-made damaged streams.
#include "graphics/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// Raw DEFLATE (no zlib wrapper) or a zlib stream, by zlib itself.
Bytes Compress(const Bytes& data, int level, int strategy, bool raw) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, raw ? -15 : 15, 9, strategy), Z_OK);
  Bytes out(deflateBound(&z, uLong(data.size())) + 16);
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = uInt(data.size());
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Test data of several kinds: noise, text-like, runs and repeats at every short distance.
Bytes MakeData(int kind, size_t size, uint32_t seed) {
  std::mt19937 random(seed);
  Bytes data(size);
  for (size_t i = 0; i < size; ++i) {
    switch (kind) {
      case 0: data[i] = uint8_t(random()); break;
      case 1: data[i] = uint8_t("the rider falls off the line "[random() % 29]); break;
      case 2: data[i] = uint8_t((i / 700) & 0xff); break;                      // long runs: distance 1
      case 3: data[i] = uint8_t((i % (1 + (i / 5000) % 9)) * 37 + (random() % 50 == 0)); break;  // distances 1..9
      default: data[i] = uint8_t(i < 64 ? random() : data[i - 1 - random() % 64] + (random() % 16 == 0)); break;
    }
  }
  return data;
}

// One step of a hand-written DEFLATE stream: B fields go least significant bit first, C Huffman
// codes most significant first, S a fixed-code symbol as RFC 1951 3.2.6 codes it, and kAlign
// pads to the next whole byte as a stored block does.
struct Op {
  uint32_t value;
  int count;  // bits: negative for a Huffman code, 0 to align
};
using Ops = std::vector<Op>;
Op B(uint32_t value, int count) { return {value, count}; }
Op C(uint32_t code, int length) { return {code, -length}; }
Op S(int s) {
  return s < 144 ? C(0x30 + s, 8) : s < 256 ? C(0x190 + s - 144, 9) : s < 280 ? C(s - 256, 7) : C(0xc0 + s - 280, 8);
}
const Op kAlign = {0, 0};

Ops operator+(Ops a, const Ops& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Ops Times(int n, const Ops& ops) {
  Ops all;
  for (int i = 0; i < n; ++i) all = all + ops;
  return all;
}

Ops Raw(std::initializer_list<int> bytes) {
  Ops ops;
  for (int b : bytes) ops.push_back(B(uint32_t(b), 8));
  return ops;
}

Bytes Stream(const Ops& ops) {
  Bytes bytes;
  int used = 0;  // bits of the last byte
  for (const Op& op : ops) {
    if (op.count == 0) used = 0;
    for (int i = 0; i < std::abs(op.count); ++i) {
      if (used == 0) bytes.push_back(0);
      bytes.back() |= uint8_t(((op.value >> (op.count > 0 ? i : -op.count - 1 - i)) & 1) << used);
      used = (used + 1) & 7;
    }
  }
  return bytes;
}

const Ops kFixedLast = {B(1, 1), B(1, 2)};
const Ops kFixedMore = {B(0, 1), B(1, 2)};

// A final dynamic block header with 257 literal/length and 1 distance codes, hclen + 4
// code-length code lengths in their stored order: 1 bit for the symbols named, else 0.
Ops DynamicHeader(std::initializer_list<int> oneBit, int hclen = 0) {
  const int order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  Ops ops = {B(1, 1), B(2, 2), B(0, 5), B(0, 5), B(uint32_t(hclen), 4)};
  for (int i = 0; i < hclen + 4; ++i) ops.push_back(B(uint32_t(std::count(oneBit.begin(), oneBit.end(), order[i])), 3));
  return ops;
}

TEST(Inflate, MatchesZlibOnEveryBlockKindAndDataKindWithAZeroedTail) {
  const struct {
    int level, strategy;
  } modes[] = {{0, Z_DEFAULT_STRATEGY}, {1, Z_FIXED},        {6, Z_FIXED}, {6, Z_DEFAULT_STRATEGY},
               {9, Z_DEFAULT_STRATEGY}, {6, Z_HUFFMAN_ONLY}, {6, Z_RLE}};
  bool firstBlockSeen[4] = {};
  for (const auto& mode : modes) {
    for (int kind = 0; kind < 5; ++kind) {
      for (size_t size : {1, 7, 300, 5000, 200000}) {
        // Odd kinds go through the zlib wrapper, whose 2-byte header comes before the first block.
        const bool raw = kind % 2 == 0;
        SCOPED_TRACE(testing::Message() << "level " << mode.level << " strategy " << mode.strategy << " kind "
                                        << kind << " size " << size << " raw " << raw);
        const Bytes data = MakeData(kind, size, uint32_t(size * 31 + kind));
        const Bytes stream = Compress(data, mode.level, mode.strategy, raw);
        const int firstBlock = (stream[raw ? 0 : 2] >> 1) & 3;
        firstBlockSeen[firstBlock] = true;
        if (mode.level == 0) { EXPECT_EQ(firstBlock, 0); }
        // Output the stream does not reach reads as zero, even right after a long copy.
        Bytes out(data.size() + 1000, 0xAA);
        size_t written = 0;
        ASSERT_EQ((raw ? Inflate : ZlibInflate)(stream.data(), stream.size(), out.data(), out.size(), &written), 0);
        EXPECT_EQ(written, data.size());
        EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin()));
        EXPECT_TRUE(std::all_of(out.begin() + ptrdiff_t(data.size()), out.end(), [](uint8_t b) { return b == 0; }));
      }
    }
  }
  // zlib picks the block kind itself; the matrix must have covered stored, fixed and dynamic.
  EXPECT_TRUE(firstBlockSeen[0] && firstBlockSeen[1] && firstBlockSeen[2]);
}

TEST(Inflate, HandWrittenStreams) {
  const struct {
    const char* what;
    Ops ops;
    size_t size;
    int error;
    std::string output = {};  // checked on success
    bool zlib = false;        // through ZlibInflate, its 2-byte header first
  } cases[] = {
      {"zlib: no header", {}, 16, kInflateZlibShort, "", true},
      {"zlib: one header byte", Raw({0x78}), 16, kInflateZlibShort, "", true},
      {"zlib: 0x7800 is not a multiple of 31", Raw({0x78, 0x00}), 16, kInflateHeaderCheck, "", true},
      {"zlib: method 7 (0x7709 = 31 * 983)", Raw({0x77, 0x09}), 16, kInflateHeaderMethod, "", true},
      {"zlib: window field 8 (0x881c = 31 * 1124)", Raw({0x88, 0x1c}), 16, kInflateHeaderMethod, "", true},
      {"zlib: preset dictionary (0x7820 = 31 * 992)", Raw({0x78, 0x20, 0x00}), 16, kInflateHeaderDictionary, "", true},
      {"zlib: a good header and nothing after it", Raw({0x78, 0x01}), 16, kInflateBlockHeaderCut, "", true},
      {"no input", {}, 10, kInflateBlockHeaderCut},
      {"stored LEN/NLEN cut", Raw({0x01, 0x05, 0x00}), 10, kInflateBlockHeaderCut},
      {"stored NLEN not ~LEN", Raw({0x01, 0x05, 0x00, 0x00, 0x00}), 10, kInflateStoredLength},
      {"stored past the output", Raw({0x01, 0x05, 0x00, 0xfa, 0xff, 1, 2, 3, 4, 5}), 3, kInflateStoredOverflow},
      {"stored past the input", Raw({0x01, 0x05, 0x00, 0xfa, 0xff, 1, 2}), 10, kInflateStoredCut},
      {"stored after fixed starts on a whole byte",
       kFixedMore + Ops{S('A'), S(256), B(1, 1), B(0, 2), kAlign} + Raw({0x02, 0x00, 0xfd, 0xff, 'B', 'C'}), 3,
       0, "ABC"},
      {"block type 3", Raw({0x07}), 10, kInflateBadBlockType},
      {"symbols 286 and 287 write nothing", kFixedLast + Ops{S('A'), S(286), S('B'), S(287), S(256)}, 2, 0, "AB"},
      {"copy with nothing before it", kFixedLast + Ops{S(257), C(0, 5), S(256)}, 10, kInflateCopyOutside},
      {"distance 2 after one literal", kFixedLast + Ops{S('x'), S(257), C(1, 5), S(256)}, 10, kInflateCopyOutside},
      {"distance symbol 30", kFixedLast + Ops{S('x'), S(257), C(30, 5), S(256)}, 10, kInflateBadDistance},
      {"three literals into two", kFixedLast + Ops{S('a'), S('b'), S('c'), S(256)}, 2, kInflateLiteralOverflow},
      {"copy of 10 into room for 5", kFixedLast + Ops{S('a'), S(264), C(0, 5), S(256)}, 5, kInflateCopyOutside},
      // The first 5 of literal 200's 9 code bits (1 1100 1000).
      {"literal code cut", kFixedMore + Ops{C(0x1c, 5)}, 10, kInflateCodeCut},
      // 3 + 9 + 8 bits, then 4 of length 284's 5 extra bits: three whole bytes.
      {"extra bits cut", kFixedMore + Ops{S(200), S(284), B(0, 4)}, 400, kInflateExtraCut},
      {"no block after a non-final one", kFixedMore + Ops{S('a'), S(256)}, 10, kInflateBlockHeaderCut},
      // In DynamicHeader({16, 0}) symbol 0 has code 0 and 16 code 1; in ({17, 18}) 17 has 0, 18 has 1.
      {"repeat with no previous length", DynamicHeader({16, 0}) + Ops{C(1, 1), B(0, 2)}, 10, kInflateRepeatOverflow},
      {"repeats past 258 lengths", DynamicHeader({16, 0}) + Ops{C(0, 1)} + Times(43, {C(1, 1), B(3, 2)}), 10,
       kInflateRepeatOverflow},
      {"short zeros past 258: 138 + 109 + 10 + 3",
       DynamicHeader({17, 18}) + Ops{C(1, 1), B(127, 7), C(1, 1), B(98, 7), C(0, 1), B(7, 3), C(0, 1), B(0, 3)}, 10,
       kInflateZerosOverflow},
      {"long zeros past 258: 138 + 138", DynamicHeader({17, 18}) + Ops{C(1, 1), B(127, 7), C(1, 1), B(127, 7)}, 10,
       kInflateLongZerosOverflow},
      {"every length zero", DynamicHeader({17, 18}) + Ops{C(1, 1), B(127, 7), C(1, 1), B(109, 7), B(0, 8)}, 10,
       kInflateCodeUnused},
      {"one one-bit code, pattern 1 unused", DynamicHeader({18}) + Ops{C(1, 1), B(0, 8)}, 10, kInflateCodeUnused},
      {"three one-bit code-length codes", DynamicHeader({16, 17, 18}) + Ops{B(0, 8)}, 10, kInflateBadTree},
      {"three one-bit literal codes", DynamicHeader({18, 1}, 14) + Times(3, {C(0, 1)}) +
       Ops{C(1, 1), B(127, 7), C(1, 1), B(106, 7)}, 10, kInflateBadTree},
      {"dynamic header cut", Ops{B(1, 1), B(2, 2), B(0, 5)}, 10, kInflateDynamicHeaderCut},
      {"19 code-length lengths announced, one there",
       Ops{B(1, 1), B(2, 2), B(0, 5), B(0, 5), B(15, 4), B(0, 3)}, 10, kInflateLengthsCut},
      {"lengths end before 258", DynamicHeader({16, 0}) + Ops{C(0, 1)}, 10, kInflateLengthsCut},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Bytes stream = Stream(c.ops);
    Bytes out(c.size, 0xAA);
    ASSERT_EQ((c.zlib ? ZlibInflate : Inflate)(stream.data(), stream.size(), out.data(), out.size(), nullptr), c.error);
    if (c.error == 0) { EXPECT_EQ(std::string(out.begin(), out.end()), c.output); }
  }
  // An empty stored block needs no output buffer at all.
  const Bytes empty = {0x01, 0x00, 0x00, 0xff, 0xff};
  size_t written = 1;
  EXPECT_EQ(Inflate(empty.data(), empty.size(), nullptr, 0, &written), 0);
  EXPECT_EQ(written, 0u);
}

TEST(Inflate, DamagedStreamsNeverReadOrWriteOutside) {
  // Every cut and many byte flips of real streams end in a result or an error code, with the
  // sanitizers watching for any access outside the buffers.
  const Bytes data = MakeData(4, 20000, 3);
  for (int strategy : {Z_DEFAULT_STRATEGY, Z_FIXED}) {
    const Bytes stream = Compress(data, 6, strategy, true);
    for (size_t cut = 0; cut < stream.size(); cut += 1 + cut / 64) {
      const Bytes shorter(stream.begin(), stream.begin() + cut);  // exact size: ASan sees any overread
      Bytes out(data.size());
      EXPECT_NE(Inflate(shorter.data(), shorter.size(), out.data(), out.size(), nullptr), 0) << cut;
    }
    std::mt19937 random(11);
    for (int round = 0; round < 400; ++round) {
      Bytes damaged = stream;
      for (int flips = 0; flips < 3; ++flips) damaged[random() % damaged.size()] ^= uint8_t(1 + random() % 255);
      Bytes out(data.size() / (1 + round % 3));
      Inflate(damaged.data(), damaged.size(), out.data(), out.size(), nullptr);
    }
  }
}

}  // namespace
