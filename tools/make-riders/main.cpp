// make-riders: writes the riders that ship with the game into a folder (normally riders/ of
// the source tree), the same bytes on every run.
//
//   make-riders FOLDER
#include <cstdio>
#include <string>
#include <vector>

#include "rider/rider_file.h"
#include "shell/safe_save.h"
#include "tools/make-riders/designs.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    fputs("usage: make-riders FOLDER\n", stderr);
    return 2;
  }
  for (const designs::Design& design : designs::kDesigns) {
    CurrentRider rider;
    designs::MakeRider(design, rider);
    std::vector<uint8_t> bytes;
    EncodeRiderFile(rider, &bytes);
    const std::string path = std::string(argv[1]) + "/" + design.file;
    if (!SaveBytesSafely(path.c_str(), bytes.data(), bytes.size())) {
      fprintf(stderr, "make-riders: cannot write %s\n", path.c_str());
      return 1;
    }
    printf("%s: %zu points, %zu links, %zu joints, %zu bytes\n", path.c_str(), rider.snapshot.points.size(),
           rider.snapshot.links.size(), rider.snapshot.joints.size(), bytes.size());
  }
  return 0;
}
