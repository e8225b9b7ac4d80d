// ExactAsin and ExactAcos against MPFR on the inputs where rounding a double result goes wrong and
// on an even sample of all floats in [-1, 1]. Every float in [-1, 1] is checked by
// tests/exhaustive, which CI runs on its own.
#include "rider/exact_trig.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "support/mpfr_reference.h"

namespace {

constexpr uint32_t kOneBits = 0x3f800000;         // 1.0f
constexpr uint32_t kSampleStride = 65521;         // a prime: the sample meets every mantissa pattern

void ExpectBoth(float x) {
  EXPECT_EQ(std::bit_cast<uint32_t>(ExactAsin(x)), std::bit_cast<uint32_t>(MpfrAsin(x))) << "asin " << std::hexfloat << x;
  EXPECT_EQ(std::bit_cast<uint32_t>(ExactAcos(x)), std::bit_cast<uint32_t>(MpfrAcos(x))) << "acos " << std::hexfloat << x;
}

}  // namespace

// The double acos of these lands on a float midpoint, or so near one that rounding it to float
// depends on the C library's last bit.
TEST(ExactTrig, HardCasesAreCorrectlyRounded) {
  const float hard[] = {0x1.110b46p-26f, 0x1.04c444p-12f};
  for (float x : hard) {
    ExpectBoth(x);
    ExpectBoth(-x);
  }
}

TEST(ExactTrig, SampleOfEveryBinadeIsCorrectlyRounded) {
  for (uint32_t bits = 0; bits <= kOneBits; bits += kSampleStride) {
    ExpectBoth(std::bit_cast<float>(bits));
    ExpectBoth(-std::bit_cast<float>(bits));
  }
  const float edges[] = {1.0f, -1.0f, 0.5f, -0.5f, std::nextafter(0.5f, 1.0f), std::nextafter(0.5f, 0.0f),
                         std::nextafter(1.0f, 0.0f), std::numeric_limits<float>::denorm_min(), 0x1p-126f};
  for (float x : edges) ExpectBoth(x);
  EXPECT_EQ(std::bit_cast<uint32_t>(ExactAsin(-0.0f)), std::bit_cast<uint32_t>(-0.0f));
  EXPECT_EQ(ExactAcos(1.0f), 0.0f);
}

TEST(ExactTrig, OutsideMinusOneToOneIsNaN) {
  const float outside[] = {std::nextafter(1.0f, 2.0f), -2.0f, INFINITY, NAN};
  for (float x : outside) {
    EXPECT_TRUE(std::isnan(ExactAsin(x))) << x;
    EXPECT_TRUE(std::isnan(ExactAcos(x))) << x;
  }
}
