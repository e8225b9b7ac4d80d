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
constexpr uint64_t kShown = 20;                   // wrong inputs of each kind a thread prints as it meets them

// One function's counts in one thread, summed over the threads at the end.
struct Tally {
  const char* name;                               // "asin" or "acos", for the printed inputs
  uint64_t checked = 0;
  uint64_t settledByMpfr = 0;
  uint64_t mismatches = 0;
  uint64_t doubleRoundsWrong = 0;                 // rounding the C library's double would be wrong
};

bool NearFloatMidpoint(double d) {
  const float r = float(d);
  const double gap = std::abs(d - double(r));
  const float neighbour = std::nextafter(r, d > double(r) ? INFINITY : -INFINITY);
  const double halfUlp = std::abs(double(neighbour) - double(r)) * 0.5;
  return halfUlp - gap <= std::abs(d) * kFilterMargin;
}

void Check(float x, float got, double libraryDouble, float (*mpfr)(float), Tally& tally) {
  ++tally.checked;
  float expected = float(libraryDouble);
  if (NearFloatMidpoint(libraryDouble)) {
    ++tally.settledByMpfr;
    expected = mpfr(x);
    if (expected != float(libraryDouble) && ++tally.doubleRoundsWrong <= kShown)
      std::printf("  %s: the C library's double rounds wrong at %a\n", tally.name, double(x));
  }
  if (std::bit_cast<uint32_t>(got) == std::bit_cast<uint32_t>(expected)) return;
  if (++tally.mismatches <= kShown) std::printf("  %s mismatch at %a\n", tally.name, double(x));
}

void Merge(Tally& total, const Tally& part) {
  total.checked += part.checked;
  total.settledByMpfr += part.settledByMpfr;
  total.mismatches += part.mismatches;
  total.doubleRoundsWrong += part.doubleRoundsWrong;
}

void Report(const Tally& tally) {
  std::printf("%s: %llu inputs, %llu settled by MPFR (%llu the C library's double rounds wrong), %llu mismatches\n",
              tally.name, (unsigned long long)tally.checked, (unsigned long long)tally.settledByMpfr,
              (unsigned long long)tally.doubleRoundsWrong, (unsigned long long)tally.mismatches);
}

}  // namespace

TEST(ExactTrigExhaustive, EveryFloatInMinusOneToOneIsCorrectlyRounded) {
  const auto start = std::chrono::steady_clock::now();
  std::atomic<uint32_t> nextBlock{0};
  Tally asinTotal{"asin"}, acosTotal{"acos"};
  std::mutex totalLock;
  const unsigned threadCount = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::thread> threads;
  for (unsigned t = 0; t < threadCount; ++t)
    threads.emplace_back([&] {
      Tally asinTally{"asin"}, acosTally{"acos"};
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
  Report(asinTotal);
  Report(acosTotal);
  std::printf("%u threads, %.1f s\n", threadCount, seconds);

  const uint64_t everyInput = 2ull * (kOneBits + 1ull);
  EXPECT_EQ(asinTotal.checked, everyInput);
  EXPECT_EQ(acosTotal.checked, everyInput);
  EXPECT_EQ(asinTotal.mismatches, 0u);
  EXPECT_EQ(acosTotal.mismatches, 0u);
}
