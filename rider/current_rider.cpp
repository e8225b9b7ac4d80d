#include "rider/current_rider.h"

CurrentRider& TheCurrentRider() {
  // Made at first use, lives until exit.
  static CurrentRider rider;
  return rider;
}

void ResetCurrentRider(CurrentRider& rider) {
  ClearSnapshot(rider.snapshot);
  rider.focusPointId = 0;
  rider.spriteSheet[0] = '\0';
  rider.loaded = false;
}
