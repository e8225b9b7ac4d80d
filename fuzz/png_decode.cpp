// libFuzzer entry: DecodePng on arbitrary bytes must end in an image or an error code, never
// in a read or write outside its buffers.
#include <cstddef>
#include <cstdint>

#include "graphics/png.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A valid header may ask for up to 1 GiB of pixels that a few bytes of data then leave blank;
  // sizes between 4 Mpixels and the cap are skipped to keep runs fast and inside the fuzzer's
  // memory limit. Sizes above the cap are still decoded: they must be refused.
  if (size >= 24) {
    const uint64_t width = (uint64_t(data[16]) << 24) | (data[17] << 16) | (data[18] << 8) | data[19];
    const uint64_t height = (uint64_t(data[20]) << 24) | (data[21] << 16) | (data[22] << 8) | data[23];
    const uint64_t pixels = width * height;
    if (pixels > (uint64_t(1) << 22) && pixels <= kPngMaxPixels) return 0;
  }
  const PngImage image = DecodePng(data, size);
  const bool consistent = image.error == 0 ? image.pixels.size() == size_t(image.width) * image.height * 4
                                           : image.pixels.empty() && image.width == 0 && image.height == 0;
  if (!consistent) __builtin_trap();
  return 0;
}
