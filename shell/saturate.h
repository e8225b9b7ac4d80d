// Float to 32-bit integer conversions that saturate instead of being undefined out of range.
#pragma once
#include <cstdint>

// Truncates towards zero; NaN gives 0, values beyond the int32 range give its ends.
inline int32_t SaturateToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return int32_t(value);
}
