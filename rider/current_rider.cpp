#include "rider/current_rider.h"

#include <cstring>

void ResetCurrentRider(CurrentRider& rider) {
  ClearSnapshot(rider.snapshot);
  rider.focusPointId = 0;
  rider.spriteSheet[0] = '\0';
  rider.loaded = false;
}

void CopyCurrentRider(const CurrentRider& from, CurrentRider& to) {
  to.loaded = from.loaded;
  memcpy(to.path, from.path, sizeof to.path);
  CopySnapshot(from.snapshot, to.snapshot);
  to.focusPointId = from.focusPointId;
  memcpy(to.spriteSheet, from.spriteSheet, sizeof to.spriteSheet);
}
