// Track files from memory: any bytes are parsed without a fault, an accepted file is put into a
// world, and what the world then saves parses again.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/platform.h"
#include "rider/current_rider.h"
#include "shell/paths.h"
#include "track/track_file.h"
#include "track/world.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CurrentRider& rider = *new CurrentRider;
  static World* world = [] {
    Platform().messageBox = [](const char*, const char*) {};
    SetExecFolder("/nonexistent/velmora-fuzz/velmora");   // rider names lead nowhere
    return new World;
  }();
  for (bool demo : {false, true}) {
    TrackFileContent content;
    if (ParseTrackFile(data, size, demo, &content) != FileLoad::Loaded) continue;
    ApplyTrackFile(*world, rider, content, demo);
    std::vector<uint8_t> saved;
    EncodeTrackFile(*world, rider, demo, &saved);
    TrackFileContent again;
    if (ParseTrackFile(saved.data(), saved.size(), demo, &again) != FileLoad::Loaded) abort();
    if (again.solids.size() != size_t(world->solidLineCount) || again.scenery.size() != size_t(world->sceneryLineCount))
      abort();
  }
  return 0;
}
