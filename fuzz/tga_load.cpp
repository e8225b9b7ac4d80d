// Feeds arbitrary bytes to the TGA decoder: it must refuse or decode, never read or write out
// of bounds, and a decoded image must hold exactly its pixels.
#include <cstdlib>

#include "graphics/tga.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TgaImage image;
  if (DecodeTga(data, size, &image) == 0) {
    if (image.channels != 3 && image.channels != 4) abort();
    if (image.width < 1 || image.height < 1) abort();
    if (image.pixels.size() != size_t(image.width) * image.height * image.channels) abort();
  } else if (!image.pixels.empty()) {
    abort();
  }
  return 0;
}
