#include "rider/exact_trig.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

// Both functions rest on one series, asin(s) = sum over n >= 0 of c_n s^(2n+1) with
// c_n = (2n)! / (4^n (n!)^2 (2n + 1)), used only for |s| <= 1/2 where a term shrinks by at least
// 4 each step. Above 1/2 the argument is reduced exactly:
//   asin(a) = pi/2 - 2 asin(s),  acos(a) = 2 asin(s),  acos(-a) = pi - 2 asin(s),
//   with s = sqrt((1 - a) / 2)   ((1 - a) is exact for a in [1/2, 1], so is the halving).
// The fast path sums the series in double (relative error below 2^-49) and rounds to float.
// When that double lies within 2^-46 of a float midpoint the rounding could go either way, and
// the same formulas are evaluated again in double-double (about 2^-100), whose value decides.
// A float input is never an exact midpoint's arcsine or arccosine (the values are transcendental
// for x other than 0 and 1), so the accurate value always falls on one side.

namespace {

// hi + lo, with |lo| at most half an ulp of hi.
struct DoubleDouble {
  double hi;
  double lo;
};

constexpr double kHalfPiHi = 0x1.921fb54442d18p0;  // pi/2 rounded to double
constexpr double kHalfPiLo = 0x1.1a62633145c07p-54;  // pi/2 - kHalfPiHi, to double
constexpr double kFastError = 0x1p-46;             // the fast path's relative error, with margin
constexpr double kSplitter = 0x1p27 + 1.0;         // splits a double into two 26-bit halves
constexpr int kFastTerms = 26;                     // c_1 .. c_26: the tail is below 2^-63 at s^2 = 1/4
constexpr int kAccurateTermCap = 80;               // the accurate sum stops well before this

constexpr std::array<double, kFastTerms + 1> MakeSeries() {
  std::array<double, kFastTerms + 1> c{};
  double central = 1.0;                            // (2n)! / (4^n (n!)^2)
  for (int n = 0; n <= kFastTerms; ++n) {
    if (n > 0) central = central * double(2 * n - 1) / double(2 * n);
    c[size_t(n)] = central / double(2 * n + 1);
  }
  return c;
}
constexpr std::array<double, kFastTerms + 1> kSeries = MakeSeries();

// How many series terms past the first the fast path needs: the first one left out,
// c_(N+1) s^(2N+2), stays below 2^-62 of s.
struct Tier {
  double maxSquare;                                // s^2 at most this
  int terms;
};
constexpr Tier kTiers[] = {{0x1p-62, 0}, {0x1p-30, 2}, {0x1p-15, 4}, {0x1p-8, 8}, {0x1p-4, 15}, {0.25, kFastTerms}};

// ---- double ----

double SeriesFast(double s) {
  const double s2 = s * s;
  int terms = kFastTerms;
  for (const Tier& tier : kTiers)
    if (s2 <= tier.maxSquare) {
      terms = tier.terms;
      break;
    }
  if (terms == 0) return s;
  double p = kSeries[size_t(terms)];
  for (int n = terms - 1; n >= 1; --n) p = p * s2 + kSeries[size_t(n)];
  return s + s * (s2 * p);
}

// The next float from r towards +inf (up) or -inf.
float FloatNeighbour(float r, bool up) {
  uint32_t bits = std::bit_cast<uint32_t>(r);
  if ((bits << 1) == 0) return up ? std::numeric_limits<float>::denorm_min() : -std::numeric_limits<float>::denorm_min();
  const bool negative = (bits >> 31) != 0;
  bits = up != negative ? bits + 1 : bits - 1;
  return std::bit_cast<float>(bits);
}

// True when rounding d to float could change if d moved by its relative error bound.
bool NearFloatMidpoint(double d) {
  const float r = float(d);
  const double rd = r;
  const double gap = std::abs(d - rd);             // exact: d and rd are within a float ulp
  const double halfUlp = std::abs(double(FloatNeighbour(r, d > rd)) - rd) * 0.5;
  return halfUlp - gap <= std::abs(d) * kFastError;
}

// ---- double-double ----

DoubleDouble QuickTwoSum(double a, double b) {     // |a| >= |b| or a == 0
  const double s = a + b;
  return {s, b - (s - a)};
}

DoubleDouble TwoSum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

DoubleDouble TwoProduct(double a, double b) {      // Dekker's product: needs every step rounded
  const double ca = kSplitter * a;
  const double ah = ca - (ca - a);
  const double al = a - ah;
  const double cb = kSplitter * b;
  const double bh = cb - (cb - b);
  const double bl = b - bh;
  const double p = a * b;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

DoubleDouble Add(DoubleDouble a, DoubleDouble b) {
  DoubleDouble s = TwoSum(a.hi, b.hi);
  const DoubleDouble t = TwoSum(a.lo, b.lo);
  s = QuickTwoSum(s.hi, s.lo + t.hi);
  return QuickTwoSum(s.hi, s.lo + t.lo);
}

DoubleDouble Multiply(DoubleDouble a, DoubleDouble b) {
  const DoubleDouble p = TwoProduct(a.hi, b.hi);
  return QuickTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

DoubleDouble MultiplySmall(DoubleDouble a, double b) {
  const DoubleDouble p = TwoProduct(a.hi, b);
  return QuickTwoSum(p.hi, p.lo + a.lo * b);
}

DoubleDouble DivideSmall(DoubleDouble a, double b) {
  const double q = a.hi / b;
  const DoubleDouble p = TwoProduct(q, b);
  const double rest = ((a.hi - p.hi) - p.lo) + a.lo;  // a.hi - p.hi is exact: q b is within an ulp of a.hi
  return QuickTwoSum(q, rest / b);
}

DoubleDouble Twice(DoubleDouble a) { return {a.hi * 2.0, a.lo * 2.0}; }
DoubleDouble Negate(DoubleDouble a) { return {-a.hi, -a.lo}; }

DoubleDouble SqrtAccurate(double z) {
  if (z == 0.0) return {0.0, 0.0};
  const double h = std::sqrt(z);                   // IEEE sqrt: correctly rounded on every build
  const DoubleDouble square = TwoProduct(h, h);
  const double rest = (z - square.hi) - square.lo;  // z - h^2, exact to the last bit that matters
  return QuickTwoSum(h, rest / (2.0 * h));
}

DoubleDouble SeriesAccurate(DoubleDouble s) {
  const DoubleDouble s2 = Multiply(s, s);
  DoubleDouble power = s;                          // s^(2n+1)
  DoubleDouble central{1.0, 0.0};                  // (2n)! / (4^n (n!)^2)
  DoubleDouble sum = s;
  for (int n = 1; n <= kAccurateTermCap; ++n) {
    central = DivideSmall(MultiplySmall(central, double(2 * n - 1)), double(2 * n));
    power = Multiply(power, s2);
    const DoubleDouble term = DivideSmall(Multiply(central, power), double(2 * n + 1));
    sum = Add(sum, term);
    if (std::abs(term.hi) <= std::abs(sum.hi) * 0x1p-110) break;
  }
  return sum;
}

// The float nearest to v.hi + v.lo. Only when v.hi sits exactly on a float midpoint can v.lo
// change the answer, and then its sign picks the side.
float RoundToFloat(DoubleDouble v) {
  const float r = float(v.hi);
  const double rd = r;
  if (rd == v.hi || v.lo == 0.0) return r;
  const float other = FloatNeighbour(r, v.hi > rd);
  if ((rd + double(other)) * 0.5 != v.hi) return r;  // the midpoint has 25 bits: exact in double
  return (v.lo > 0.0) == (other > r) ? other : r;
}

float AsinMagnitudeAccurate(double a) {
  if (a <= 0.5) return RoundToFloat(SeriesAccurate({a, 0.0}));
  const DoubleDouble series = SeriesAccurate(SqrtAccurate((1.0 - a) * 0.5));
  return RoundToFloat(Add({kHalfPiHi, kHalfPiLo}, Negate(Twice(series))));
}

float AcosAccurate(double x) {
  if (std::abs(x) <= 0.5) return RoundToFloat(Add({kHalfPiHi, kHalfPiLo}, Negate(SeriesAccurate({x, 0.0}))));
  const DoubleDouble twice = Twice(SeriesAccurate(SqrtAccurate((1.0 - std::abs(x)) * 0.5)));
  if (x > 0.0) return RoundToFloat(twice);
  return RoundToFloat(Add({2.0 * kHalfPiHi, 2.0 * kHalfPiLo}, Negate(twice)));
}

}  // namespace

float ExactAsin(float x) {
  if (!(x >= -1.0f && x <= 1.0f)) return std::numeric_limits<float>::quiet_NaN();
  if (x == 0.0f) return x;                         // keeps the sign of zero
  const double a = std::abs(double(x));
  const double d = a <= 0.5 ? SeriesFast(a) : (kHalfPiHi - 2.0 * SeriesFast(std::sqrt((1.0 - a) * 0.5))) + kHalfPiLo;
  const float magnitude = NearFloatMidpoint(d) ? AsinMagnitudeAccurate(a) : float(d);
  return x < 0.0f ? -magnitude : magnitude;
}

float ExactAcos(float x) {
  if (!(x >= -1.0f && x <= 1.0f)) return std::numeric_limits<float>::quiet_NaN();
  const double xd = x;
  double d;
  if (std::abs(xd) <= 0.5) {
    d = (kHalfPiHi - SeriesFast(xd)) + kHalfPiLo;
  } else {
    const double twice = 2.0 * SeriesFast(std::sqrt((1.0 - std::abs(xd)) * 0.5));
    d = xd > 0.0 ? twice : (2.0 * kHalfPiHi - twice) + 2.0 * kHalfPiLo;
  }
  return NearFloatMidpoint(d) ? AcosAccurate(xd) : float(d);
}
