// The correctly rounded float arcsine and arccosine from MPFR: the reference ExactAsin and
// ExactAcos are held to. MPFR's exponent range is narrowed to float's for each call, so that
// results below 2^-126 round as float subnormals do.
#pragma once
#include <mpfr.h>

inline float MpfrRoundedToFloat(float x, int (*function)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t)) {
  mpfr_set_emin(-148);                             // 2^-149, float's smallest subnormal, is 0.5 * 2^-148
  mpfr_set_emax(128);
  mpfr_t in, out;
  mpfr_init2(in, 24);
  mpfr_init2(out, 24);
  mpfr_set_flt(in, x, MPFR_RNDN);
  const int inexact = function(out, in, MPFR_RNDN);
  mpfr_subnormalize(out, inexact, MPFR_RNDN);
  const float result = mpfr_get_flt(out, MPFR_RNDN);
  mpfr_clear(in);
  mpfr_clear(out);
  return result;
}

inline float MpfrAsin(float x) { return MpfrRoundedToFloat(x, mpfr_asin); }
inline float MpfrAcos(float x) { return MpfrRoundedToFloat(x, mpfr_acos); }
