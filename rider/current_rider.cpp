#include "rider/current_rider.h"

void ResetCurrentRider(CurrentRider& rider) {
  ClearSnapshot(rider.snapshot);
  rider.focusPointId = 0;
  rider.spriteSheet[0] = '\0';
  rider.loaded = false;
}
