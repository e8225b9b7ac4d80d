// Rider files from memory: any bytes are parsed without a fault, an accepted rider is built
// into a body, and its file form parses back to the same file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "rider/current_rider.h"
#include "rider/rider_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CurrentRider* rider = new CurrentRider;
  static Body* body = new Body;
  RiderFileContent content;
  if (ParseRiderFile(data, size, &content) != FileLoad::Loaded) return 0;
  BuildSnapshot(content.snapshot, rider->snapshot);
  rider->focusPointId = content.focusPointId;
  snprintf(rider->spriteSheet, sizeof rider->spriteSheet, "%s", content.spriteSheet);
  RebuildFromSnapshot(*body, rider->snapshot);
  std::vector<uint8_t> saved;
  EncodeRiderFile(*rider, &saved);
  RiderFileContent again;
  if (ParseRiderFile(saved.data(), saved.size(), &again) != FileLoad::Loaded) abort();
  if (again.snapshot.points.size() != content.snapshot.points.size() ||
      again.snapshot.links.size() != content.snapshot.links.size() ||
      again.snapshot.joints.size() != content.snapshot.joints.size())
    abort();
  return 0;
}
