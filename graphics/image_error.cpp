#include "graphics/image_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>
#include <utility>

#include "platform/platform.h"
#include "shell/log.h"

// Failures already logged, as (stored path, code): a file that fails again, through a second
// slot or after the GL device is re-created, is not reported twice. Reset never.
static struct {
  std::set<std::pair<std::string, int>> reported;
} imageErrorState;

bool ImageSidesAllowed(uint64_t width, uint64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxImageSide && height <= kMaxImageSide;
}

const char* TooLargeReason() { return "larger than 8192 x 8192 pixels, or than free memory"; }

std::string UnreadableReason(const char* path) {
  errno = 0;
  FILE* file = PlatformOpenFile(path, "rb");
  if (!file) return errno != 0 ? strerror(errno) : "cannot be opened";
  fseek(file, 0, SEEK_END);
  const long end = ftell(file);
  fclose(file);
  if (!PlatformIsRegularFile(path)) return "not a regular file";
  if (end == 0) return "file is empty";
  return "cannot be read";
}

bool LogImageFailure(const char* form, const char* path, int code, const char* reason) {
  if (!imageErrorState.reported.emplace(path, code).second) return false;
  Log("%s loading error: %d (%s: %s)", form, code, path, reason);
  return true;
}
