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
  uint64_t cLibraryFloatWrong = 0;                // the C library's asinf/acosf is not correctly rounded
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

float Reference(float x, double libraryDouble, float (*mpfr)(float), Tally& tally) {
  if (!NearFloatMidpoint(libraryDouble)) return float(libraryDouble);
  ++tally.settledByMpfr;
  const float exact = mpfr(x);
  if (exact != float(libraryDouble) && tally.doubleRoundsWrong.size() < kMismatchesShown)
    tally.doubleRoundsWrong.push_back(x);
  return exact;
}

void Check(float x, float got, float expected, float cLibrary, Tally& tally) {
  ++tally.checked;
  if (cLibrary != expected) ++tally.cLibraryFloatWrong;
  if (std::bit_cast<uint32_t>(got) == std::bit_cast<uint32_t>(expected)) return;
  ++tally.mismatches;
  if (tally.firstMismatches.size() < kMismatchesShown) tally.firstMismatches.push_back(x);
}

void CheckBlock(uint32_t first, uint32_t last, Tally& asinTally, Tally& acosTally) {
  for (uint32_t bits = first; bits <= last; ++bits)
    for (const uint32_t sign : {0u, 0x80000000u}) {
      const float x = std::bit_cast<float>(bits | sign);
      Check(x, ExactAsin(x), Reference(x, std::asin(double(x)), MpfrAsin, asinTally), std::asin(x), asinTally);
      Check(x, ExactAcos(x), Reference(x, std::acos(double(x)), MpfrAcos, acosTally), std::acos(x), acosTally);
    }
}

void Report(const char* name, const Tally& tally) {
  std::printf("%s: %llu inputs, %llu settled by MPFR, C library float wrong on %llu (%.3f%%), %llu mismatches\n", name,
              (unsigned long long)tally.checked, (unsigned long long)tally.settledByMpfr,
              (unsigned long long)tally.cLibraryFloatWrong, 100.0 * double(tally.cLibraryFloatWrong) / double(tally.checked),
              (unsigned long long)tally.mismatches);
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
      for (;;) {
        const uint64_t first = uint64_t(nextBlock.fetch_add(1)) * kBlock;
        if (first > kOneBits) break;
        const uint32_t last = uint32_t(std::min<uint64_t>(first + kBlock - 1, kOneBits));
        CheckBlock(uint32_t(first), last, asinTally, acosTally);
      }
      std::lock_guard<std::mutex> hold(totalLock);
      for (auto [total, part] : {std::pair{&asinTotal, &asinTally}, std::pair{&acosTotal, &acosTally}}) {
        total->checked += part->checked;
        total->settledByMpfr += part->settledByMpfr;
        total->cLibraryFloatWrong += part->cLibraryFloatWrong;
        total->mismatches += part->mismatches;
        for (float x : part->firstMismatches)
          if (total->firstMismatches.size() < kMismatchesShown) total->firstMismatches.push_back(x);
        for (float x : part->doubleRoundsWrong)
          if (total->doubleRoundsWrong.size() < kMismatchesShown) total->doubleRoundsWrong.push_back(x);
      }
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
