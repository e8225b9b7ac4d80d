#include "rider/rider_size.h"

#include "shell/log.h"

bool RiderSizeAllowed(uint64_t pointCount) {
  if (pointCount <= kMaxRiderPoints) return true;
  Log("Rider too big: %llu points, the limit is %u", (unsigned long long)pointCount, kMaxRiderPoints);
  return false;
}
