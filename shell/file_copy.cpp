#include "shell/file_copy.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/file_load.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "shell/safe_save.h"

namespace {

constexpr int kMostNames = 999;                   // name-2 .. name-999 are tried before giving up

}  // namespace

bool CopyIntoPlayerFolder(const char* source, const char* folder, char* relative, bool* created) {
  relative[0] = 0;
  if (created) *created = false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(source, &bytes)) {
    Log("cannot copy %s: it cannot be read", source);
    return false;
  }
  std::string name = source;
  name = name.substr(name.find_last_of("\\/") + 1);
  const size_t dot = name.rfind('.');
  const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
  const std::string extension = stem.size() == name.size() ? "" : name.substr(stem.size());
  for (int n = 1; n <= kMostNames; ++n) {
    const std::string candidate =
        std::string(folder) + "\\" + (n == 1 ? name : stem + "-" + std::to_string(n) + extension);
    char existing[kMaxPath], target[kMaxPath];
    if (candidate.size() >= kMaxPath || !MakeAbsolutePath(existing, candidate.c_str()) ||
        !MakePlayerPath(target, candidate.c_str()))
      return false;
    if (PlatformIsRegularFile(existing)) {
      std::vector<uint8_t> bytesThere;
      if (!ReadWholeFile(existing, &bytesThere) || bytesThere != bytes) continue;
      Log("%s is already in the game's folders as %s", source, candidate.c_str());
    } else {
      if (!SaveBytesSafely(target, bytes.data(), bytes.size())) return false;
      if (created) *created = true;
      Log("copied %s to %s", source, candidate.c_str());
    }
    snprintf(relative, kMaxPath, "%s", candidate.c_str());
    return true;
  }
  Log("cannot copy %s: %s holds too many files of that name", source, folder);
  return false;
}
