// What the PNG, TGA and picture loaders share when a file does not become a texture: the size
// cap, the error codes common to all three, and the log line that names the file and says why.
#pragma once
#include <cstdint>
#include <string>

// Either side above this many pixels is refused from the header, before anything is allocated
// or inflated: 8192 x 8192 x 4 bytes is 256 MiB of pixels, a bound every loader's buffers stay near.
constexpr uint32_t kMaxImageSide = 8192;

constexpr int kImageErrorNoData = 48;             // the file is missing, unreadable or empty
constexpr int kImageErrorEmptyImage = 56;         // width or height 0
constexpr int kImageErrorTooLarge = 57;           // a side above kMaxImageSide, or memory ran out

bool ImageSidesAllowed(uint64_t width, uint64_t height);  // both 1..kMaxImageSide
const char* TooLargeReason();                     // the words for kImageErrorTooLarge
// Why the stored path gives no bytes, in words ("No such file or directory", "file is empty").
std::string UnreadableReason(const char* path);
// Logs "<form> loading error: <code> (<path>: <reason>)" the first time this file fails with this
// code in the run; true when it logged, false (nothing written) when it was said before.
bool LogImageFailure(const char* form, const char* path, int code, const char* reason);
