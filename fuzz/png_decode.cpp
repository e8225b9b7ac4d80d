// libFuzzer entry: DecodePng on arbitrary bytes must end in an image or an error code, never
// in a read or write outside its buffers. Files whose header claims more than 4 Mpixels are left
// to fuzz_png_decode_large, so this target stays fast on the paths every image takes: chunks,
// filters, interlacing, palettes, damage.
#include "png_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ClaimedPixels(data, size) > kLargeImagePixels) return -1;
  DecodeAndCheck(data, size);
  return 0;
}
