// libFuzzer entry: DecodePng on arbitrary bytes must end in an image or an error code, never
// in a read or write outside its buffers. Every size is decoded: the 8192 x 8192 cap bounds one
// input at about 800 MB (16-bit RGBA: 512 MiB of scanlines and 256 MiB of pixels), inside the
// fuzzer's memory limit, and the generated seeds (fuzz/seeds/make_seeds.py) lead it to large,
// cheap images from 4 Mpixels up to the cap and just past it.
#include <cstddef>
#include <cstdint>

#include "graphics/png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const PngImage image = DecodePng(data, size);
  const bool consistent = image.error == 0 ? image.pixels.size() == size_t(image.width) * image.height * 4
                                           : image.pixels.empty() && image.width == 0 && image.height == 0;
  if (!consistent) __builtin_trap();
  return 0;
}
