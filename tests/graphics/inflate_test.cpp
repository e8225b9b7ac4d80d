// The inflater against zlib's own compressor, and hand-made damaged streams.
#include "graphics/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
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

// Writes DEFLATE bits: fields least significant bit first, Huffman codes most significant first.
struct BitWriter {
  Bytes bytes;
  int used = 0;
  void bits(uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if (used == 0) bytes.push_back(0);
      bytes.back() |= uint8_t(((value >> i) & 1) << used);
      used = (used + 1) & 7;
    }
  }
  void code(uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) bits((code >> i) & 1, 1);
  }
  // Fixed-code literal/length symbol (RFC 1951 3.2.6).
  void fixedSymbol(int symbol) {
    if (symbol < 144) code(0x30 + symbol, 8);
    else if (symbol < 256) code(0x190 + symbol - 144, 9);
    else if (symbol < 280) code(symbol - 256, 7);
    else code(0xc0 + symbol - 280, 8);
  }
};

int InflateInto(const Bytes& stream, size_t outputSize, Bytes* output = nullptr, size_t* written = nullptr) {
  Bytes local(outputSize, 0xAA);
  Bytes& out = output ? *output : local;
  out.assign(outputSize, 0xAA);
  return Inflate(stream.data(), stream.size(), out.data(), out.size(), written);
}

// A dynamic block header with 257 literal/length and 1 distance codes whose code-length code
// gives length 1 to the two symbols named (the others 0). HCLEN = 4 covers symbols 16, 17, 18, 0.
BitWriter DynamicHeader(int first, int second) {
  BitWriter w;
  w.bits(1, 1);
  w.bits(2, 2);
  w.bits(0, 5);
  w.bits(0, 5);
  w.bits(0, 4);
  const int order[4] = {16, 17, 18, 0};
  for (int symbol : order) w.bits(symbol == first || symbol == second ? 1 : 0, 3);
  return w;
}

TEST(Inflate, MatchesZlibOnEveryBlockKindAndDataKind) {
  struct Mode {
    int level;
    int strategy;
  };
  const Mode modes[] = {{0, Z_DEFAULT_STRATEGY}, {1, Z_FIXED},        {6, Z_FIXED},   {6, Z_DEFAULT_STRATEGY},
                        {9, Z_DEFAULT_STRATEGY}, {6, Z_HUFFMAN_ONLY}, {6, Z_RLE}};
  const size_t sizes[] = {1, 7, 300, 5000, 200000};
  bool firstBlockSeen[4] = {};
  for (const Mode& mode : modes) {
    for (int kind = 0; kind < 5; ++kind) {
      for (size_t size : sizes) {
        SCOPED_TRACE(testing::Message() << "level " << mode.level << " strategy " << mode.strategy << " kind "
                                        << kind << " size " << size);
        const Bytes data = MakeData(kind, size, uint32_t(size * 31 + kind));
        const Bytes stream = Compress(data, mode.level, mode.strategy, true);
        firstBlockSeen[(stream[0] >> 1) & 3] = true;
        if (mode.level == 0) {
          EXPECT_EQ((stream[0] >> 1) & 3, 0);
        }
        Bytes out;
        size_t written = 0;
        ASSERT_EQ(InflateInto(stream, data.size(), &out, &written), 0);
        EXPECT_EQ(written, data.size());
        EXPECT_TRUE(out == data);
      }
    }
  }
  // zlib picks the block kind itself; the matrix must have covered stored, fixed and dynamic.
  EXPECT_TRUE(firstBlockSeen[0]);
  EXPECT_TRUE(firstBlockSeen[1]);
  EXPECT_TRUE(firstBlockSeen[2]);
}

TEST(Inflate, ZlibWrapperAndZeroedTail) {
  const Bytes data = MakeData(4, 100000, 7);
  const Bytes stream = Compress(data, 6, Z_DEFAULT_STRATEGY, false);
  Bytes out(data.size() + 1000, 0xAA);
  size_t written = 0;
  ASSERT_EQ(ZlibInflate(stream.data(), stream.size(), out.data(), out.size(), &written), 0);
  EXPECT_EQ(written, data.size());
  EXPECT_TRUE(std::equal(data.begin(), data.end(), out.begin()));
  // Output the stream does not reach reads as zero, even right after a long copy.
  for (size_t i = data.size(); i < out.size(); ++i) ASSERT_EQ(out[i], 0) << i;

  const Bytes runs(5000, 9);
  const Bytes runStream = Compress(runs, 9, Z_DEFAULT_STRATEGY, true);
  ASSERT_EQ(InflateInto(runStream, 6000, &out), 0);
  EXPECT_EQ(out[4999], 9);
  for (size_t i = 5000; i < 6000; ++i) ASSERT_EQ(out[i], 0) << i;
}

TEST(Inflate, ZlibHeaderErrors) {
  Bytes out(16);
  auto run = [&](Bytes stream) { return ZlibInflate(stream.data(), stream.size(), out.data(), out.size(), nullptr); };
  EXPECT_EQ(run({}), kInflateZlibShort);
  EXPECT_EQ(run({0x78}), kInflateZlibShort);
  EXPECT_EQ(run({0x78, 0x00}), kInflateHeaderCheck);         // 0x7800 is not a multiple of 31
  EXPECT_EQ(run({0x77, 0x09}), kInflateHeaderMethod);        // method 7 (0x7709 = 31 * 983)
  EXPECT_EQ(run({0x88, 0x1c}), kInflateHeaderMethod);        // window field 8 (0x881c = 31 * 1124)
  EXPECT_EQ(run({0x78, 0x20, 0x00}), kInflateHeaderDictionary);  // 0x7820 = 31 * 992
  EXPECT_EQ(run({0x78, 0x01}), kInflateBlockHeaderCut);      // a good header and nothing after it
}

TEST(Inflate, StoredBlockErrors) {
  EXPECT_EQ(InflateInto({}, 10), kInflateBlockHeaderCut);
  EXPECT_EQ(InflateInto({0x01, 0x05, 0x00}, 10), kInflateBlockHeaderCut);               // LEN/NLEN cut
  EXPECT_EQ(InflateInto({0x01, 0x05, 0x00, 0x00, 0x00}, 10), kInflateStoredLength);     // NLEN not ~LEN
  EXPECT_EQ(InflateInto({0x01, 0x05, 0x00, 0xfa, 0xff, 1, 2, 3, 4, 5}, 3), kInflateStoredOverflow);
  EXPECT_EQ(InflateInto({0x01, 0x05, 0x00, 0xfa, 0xff, 1, 2}, 10), kInflateStoredCut);
  Bytes out;
  EXPECT_EQ(InflateInto({0x01, 0x03, 0x00, 0xfc, 0xff, 1, 2, 3}, 5, &out), 0);
  EXPECT_EQ(out, (Bytes{1, 2, 3, 0, 0}));
  // A stored block after a fixed block starts at the next whole byte.
  BitWriter w;
  w.bits(0, 1);
  w.bits(1, 2);
  w.fixedSymbol('A');
  w.fixedSymbol(256);
  w.bits(1, 1);
  w.bits(0, 2);
  w.used = 0;
  for (int b : {0x02, 0x00, 0xfd, 0xff, int('B'), int('C')}) w.bytes.push_back(uint8_t(b));
  EXPECT_EQ(InflateInto(w.bytes, 3, &out), 0);
  EXPECT_EQ(out, (Bytes{'A', 'B', 'C'}));
  EXPECT_EQ(InflateInto({0x07}, 10), kInflateBadBlockType);
  // An empty stored block needs no output buffer at all.
  const Bytes empty = {0x01, 0x00, 0x00, 0xff, 0xff};
  size_t written = 1;
  EXPECT_EQ(Inflate(empty.data(), empty.size(), nullptr, 0, &written), 0);
  EXPECT_EQ(written, 0u);
}

TEST(Inflate, FixedBlockErrorsAndSkippedSymbols) {
  Bytes out;
  {
    BitWriter w;  // 'A', symbol 286 (no output), 'B', end
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedSymbol('A');
    w.fixedSymbol(286);
    w.fixedSymbol('B');
    w.fixedSymbol(287);
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 2, &out), 0);
    EXPECT_EQ(out, (Bytes{'A', 'B'}));
  }
  {
    BitWriter w;  // a copy with nothing before it
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedSymbol(257);
    w.code(0, 5);
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateCopyOutside);
  }
  {
    BitWriter w;  // distance 2 after one literal reaches before the start
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedSymbol('x');
    w.fixedSymbol(257);
    w.code(1, 5);
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateCopyOutside);
  }
  {
    BitWriter w;  // distance symbol 30
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedSymbol('x');
    w.fixedSymbol(257);
    w.code(30, 5);
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateBadDistance);
  }
  {
    BitWriter w;  // three literals into two bytes
    w.bits(1, 1);
    w.bits(1, 2);
    for (int c : {int('a'), int('b'), int('c'), 256}) w.fixedSymbol(c);
    EXPECT_EQ(InflateInto(w.bytes, 2), kInflateLiteralOverflow);
  }
  {
    BitWriter w;  // a copy of 10 into room for 5
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedSymbol('a');
    w.fixedSymbol(264);
    w.code(0, 5);
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 11, &out), 0);
    EXPECT_EQ(out, Bytes(11, 'a'));
    EXPECT_EQ(InflateInto(w.bytes, 5), kInflateCopyOutside);
  }
  {
    BitWriter w;  // a 9-bit literal cut after 5 of its bits
    w.bits(0, 1);
    w.bits(1, 2);
    w.fixedSymbol(200);
    w.bytes.resize(1);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateCodeCut);
  }
  {
    BitWriter w;  // length 284 whose 5 extra bits are cut: 3 + 9 + 8 bits, then 4 of the 5
    w.bits(0, 1);
    w.bits(1, 2);
    w.fixedSymbol(200);
    w.fixedSymbol(284);
    w.bits(0, 4);
    ASSERT_EQ(w.bytes.size(), 3u);
    EXPECT_EQ(InflateInto(w.bytes, 400), kInflateExtraCut);
  }
  {
    BitWriter w;  // a block that is not the last, then nothing
    w.bits(0, 1);
    w.bits(1, 2);
    w.fixedSymbol('a');
    w.fixedSymbol(256);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateBlockHeaderCut);
  }
}

TEST(Inflate, DynamicHeaderErrors) {
  {
    BitWriter w = DynamicHeader(16, 0);  // symbol 0 gets code 0, symbol 16 code 1
    w.code(1, 1);                        // repeat with no previous length
    w.bits(0, 2);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateRepeatOverflow);
  }
  {
    BitWriter w = DynamicHeader(16, 0);
    w.code(0, 1);                        // one length of 0, then repeats of 6 up to 259 > 258
    for (int i = 0; i < 43; ++i) {
      w.code(1, 1);
      w.bits(3, 2);
    }
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateRepeatOverflow);
  }
  {
    BitWriter w = DynamicHeader(17, 18);  // 17 gets code 0, 18 code 1
    w.code(1, 1);
    w.bits(127, 7);                       // 138 zeros
    w.code(1, 1);
    w.bits(98, 7);                        // 109 more: 247
    w.code(0, 1);
    w.bits(7, 3);                         // 10 more: 257
    w.code(0, 1);
    w.bits(0, 3);                         // 3 more: 260 > 258
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateZerosOverflow);
  }
  {
    BitWriter w = DynamicHeader(17, 18);
    w.code(1, 1);
    w.bits(127, 7);
    w.code(1, 1);
    w.bits(127, 7);                       // 276 > 258
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateLongZerosOverflow);
  }
  {
    BitWriter w = DynamicHeader(17, 18);  // every length zero: no code at all
    w.code(1, 1);
    w.bits(127, 7);
    w.code(1, 1);
    w.bits(109, 7);                       // exactly 258
    w.bits(0, 8);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateCodeUnused);
  }
  {
    BitWriter w = DynamicHeader(18, -1);  // one code of one bit: pattern 1 is unused
    w.code(1, 1);
    w.bits(0, 8);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateCodeUnused);
  }
  {
    BitWriter w;  // three one-bit codes over-subscribe the code-length code
    w.bits(1, 1);
    w.bits(2, 2);
    w.bits(0, 5);
    w.bits(0, 5);
    w.bits(0, 4);
    for (int i = 0; i < 3; ++i) w.bits(1, 3);
    w.bits(0, 3);
    w.bits(0, 8);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateBadTree);
  }
  EXPECT_EQ(InflateInto({0x05}, 10), kInflateDynamicHeaderCut);  // final dynamic block, 5 bits left
  {
    BitWriter w;  // 19 code-length lengths announced, input ends after a few
    w.bits(1, 1);
    w.bits(2, 2);
    w.bits(0, 5);
    w.bits(0, 5);
    w.bits(15, 4);
    w.bits(0, 3);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateLengthsCut);
  }
  {
    BitWriter w = DynamicHeader(16, 0);  // the lengths run out before 258 are read
    w.code(0, 1);
    EXPECT_EQ(InflateInto(w.bytes, 10), kInflateLengthsCut);
  }
}

TEST(Inflate, OverSubscribedLiteralCode) {
  // Code-length code: symbols 1 and 18 of one bit each (1 -> code 0, 18 -> code 1); then
  // three literals of length 1 and zeros for the rest.
  BitWriter w;
  w.bits(1, 1);
  w.bits(2, 2);
  w.bits(0, 5);
  w.bits(0, 5);
  w.bits(14, 4);  // 18 entries, up to symbol 1 in the order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1
  const int order[18] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
  for (int symbol : order) w.bits(symbol == 18 || symbol == 1 ? 1 : 0, 3);
  for (int i = 0; i < 3; ++i) w.code(0, 1);
  w.code(1, 1);
  w.bits(127, 7);  // 138 zeros: 141
  w.code(1, 1);
  w.bits(106, 7);  // 117 zeros: 258
  EXPECT_EQ(InflateInto(w.bytes, 10), kInflateBadTree);
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
