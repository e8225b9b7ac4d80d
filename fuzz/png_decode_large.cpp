// libFuzzer entry: DecodePng on files whose header claims more than 4 Mpixels, up to the
// 8192 x 8192 cap and past it. One input may cost about 800 MB (16-bit RGBA: 512 MiB of
// scanlines and 256 MiB of pixels), inside the fuzzer's memory limit, and a second or more, so
// this target is slow by nature and fuzz_png_decode covers the smaller images quickly. Its seeds
// (fuzz/seeds/make_seeds.py) are large images in files of a few kB.
#include "png_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (ClaimedPixels(data, size) <= kLargeImagePixels) return -1;
  DecodeAndCheck(data, size);
  return 0;
}
