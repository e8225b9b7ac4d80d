// Every float in [-1, 1], both signs, through ExactAsin and ExactAcos against the correctly rounded
// result. Asking MPFR for 4.3 billion results would take hours, so the C library's double asin and
// acos sort the inputs first: where their result lies more than 2^-36 (relative) from a float
// midpoint, an error that large, some 2^17 double ulps, is far beyond any C library's, so its
// rounding to float is the correct one. Every input nearer a midpoint is settled by MPFR. This runs
// for minutes on two cores, so it is no part of ctest's suite: CI runs this program on its own.
#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "rider/exact_trig.h"
#include "support/mpfr_reference.h"

namespace {

constexpr uint32_t kOneBits = 0x3f800000;         // 1.0f: magnitudes 0 ..= this are checked
constexpr uint32_t kBlock = 1u << 20;             // magnitudes handed to a thread at a time
constexpr double kFilterMargin = 0x1p-36;         // relative distance from a midpoint the C library may be trusted with
constexpr size_t kMismatchesShown = 20;

struct Tally {
  uint64_t checked = 0;
  uint64_t settledByMpfr = 0;
  uint64_t mismatches = 0;
  std::vector<float> firstMismatches;
  std::vector<float> doubleRoundsWrong;           // rounding the C library's double result would be wrong
};

bool NearFloatMidpoint(double d) {
  const float r = float(d);
  const double gap = std::abs(d - double(r));
  const float neighbour = std::nextafter(r, d > double(r) ? INFINITY : -INFINITY);
  const double halfUlp = std::abs(double(neighbour) - double(r)) * 0.5;
  return halfUlp - gap <= std::abs(d) * kFilterMargin;
}

void Keep(std::vector<float>& shown, float x) {
  if (shown.size() < kMismatchesShown) shown.push_back(x);
}

void Check(float x, float got, double libraryDouble, float (*mpfr)(float), Tally& tally) {
  ++tally.checked;
  float expected = float(libraryDouble);
  if (NearFloatMidpoint(libraryDouble)) {
    ++tally.settledByMpfr;
    expected = mpfr(x);
    if (expected != float(libraryDouble)) Keep(tally.doubleRoundsWrong, x);
  }
  if (std::bit_cast<uint32_t>(got) == std::bit_cast<uint32_t>(expected)) return;
  ++tally.mismatches;
  Keep(tally.firstMismatches, x);
}

void Merge(Tally& total, const Tally& part) {
  total.checked += part.checked;
  total.settledByMpfr += part.settledByMpfr;
  total.mismatches += part.mismatches;
  for (float x : part.firstMismatches) Keep(total.firstMismatches, x);
  for (float x : part.doubleRoundsWrong) Keep(total.doubleRoundsWrong, x);
}

void Report(const char* name, const Tally& tally) {
  std::printf("%s: %llu inputs, %llu settled by MPFR, %llu mismatches\n", name, (unsigned long long)tally.checked,
              (unsigned long long)tally.settledByMpfr, (unsigned long long)tally.mismatches);
  for (float x : tally.firstMismatches) std::printf("  %s mismatch at %a\n", name, double(x));
  for (float x : tally.doubleRoundsWrong) std::printf("  %s: the C library's double rounds wrong at %a\n", name, double(x));
}

}  // namespace

TEST(ExactTrigExhaustive, EveryFloatInMinusOneToOneIsCorrectlyRounded) {
  const auto start = std::chrono::steady_clock::now();
  std::atomic<uint32_t> nextBlock{0};
  Tally asinTotal, acosTotal;
  std::mutex totalLock;
  const unsigned threadCount = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < threadCount; ++t)
    threads.emplace_back([&] {
      Tally asinTally, acosTally;
      for (uint64_t first; (first = uint64_t(nextBlock.fetch_add(1)) * kBlock) <= kOneBits;) {
        const uint32_t last = uint32_t(std::min<uint64_t>(first + kBlock - 1, kOneBits));
        for (uint32_t bits = uint32_t(first); bits <= last; ++bits)
          for (const uint32_t sign : {0u, 0x80000000u}) {
            const float x = std::bit_cast<float>(bits | sign);
            Check(x, ExactAsin(x), std::asin(double(x)), MpfrAsin, asinTally);
            Check(x, ExactAcos(x), std::acos(double(x)), MpfrAcos, acosTally);
          }
      }
      std::lock_guard<std::mutex> hold(totalLock);
      Merge(asinTotal, asinTally);
      Merge(acosTotal, acosTally);
    });
  for (std::thread& thread : threads) thread.join();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  Report("asin", asinTotal);
  Report("acos", acosTotal);
  std::printf("%u threads, %.1f s\n", threadCount, seconds);

  const uint64_t everyInput = 2ull * (kOneBits + 1ull);
  EXPECT_EQ(asinTotal.checked, everyInput);
  EXPECT_EQ(acosTotal.checked, everyInput);
  EXPECT_EQ(asinTotal.mismatches, 0u);
  EXPECT_EQ(acosTotal.mismatches, 0u);
}
