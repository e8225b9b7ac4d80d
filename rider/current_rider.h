// The rider in use: filled by the rider chooser, by loading a track and by the rider editor;
// the world rebuilds its rider body from it. Reading and writing .rider files is rider/rider_file.h.
#pragma once
#include <cstdint>

#include "rider/body.h"

struct CurrentRider {
  bool loaded = false;                            // true after a successful load
  char path[259] = {};                            // last rider file saved or loaded, relative to the exec folder
  BodySnapshot snapshot;                          // the rider
  int32_t focusPointId = 0;                       // the point the camera follows and the flag marks
  char spriteSheet[256] = {};                     // sprite sheet file name for slot 15, zero-terminated
};

void ResetCurrentRider(CurrentRider& rider);      // empty snapshot, focus 0, no sheet, not loaded; path kept
void CopyCurrentRider(const CurrentRider& from, CurrentRider& to);  // every field
