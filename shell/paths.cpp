#include "shell/paths.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/log.h"

// The exec folder: set once at start from the program path; never reset.
static char execFolder[kMaxPath] = "";

bool SetExecFolder(const char* programPath) {
  std::string path = programPath ? programPath : "";
  for (char& c : path)
    if (c == '/') c = '\\';
  size_t cut = path.rfind('\\');
  path = cut == std::string::npos ? "" : path.substr(0, cut);
  const bool fits = cut != std::string::npos && path.size() < kMaxPath;
  snprintf(execFolder, sizeof execFolder, "%s", fits ? path.c_str() : "");
  return fits;
}

const char* ExecFolder() { return execFolder; }

bool MakeAbsolutePath(char* destination, const char* name) {
  int length = snprintf(destination, kMaxPath, "%s\\%s", execFolder, name);
  if (length < 0 || size_t(length) >= kMaxPath) {
    destination[0] = 0;
    Log("path too long: %s\\%s", execFolder, name);
    return false;
  }
  return true;
}

bool MakeRelativePath(char* destination, const char* path) {
  size_t folder = strlen(execFolder);
  destination[0] = 0;
  if (strncmp(path, execFolder, folder) != 0 || path[folder] != '\\') {
    Log("path is outside the exec folder: %s", path);
    return false;
  }
  const char* rest = path + folder + 1;
  if (strlen(rest) >= kMaxPath) {
    Log("path too long: %s", path);
    return false;
  }
  snprintf(destination, kMaxPath, "%s", rest);
  return true;
}

bool StaysInsideProgramFolder(const char* name) {
  if (name[0] == '\\' || name[0] == '/') return false;
  if (isalpha((unsigned char)name[0]) && name[1] == ':') return false;
  // Depth below the folder, part by part: "a\..\b" stays inside, "a\..\..\b" leaves.
  int depth = 0;
  for (const char* part = name; *part;) {
    size_t length = strcspn(part, "\\/");
    if (length == 2 && part[0] == '.' && part[1] == '.') {
      if (--depth < 0) return false;
    } else if (length > 0 && !(length == 1 && part[0] == '.')) {
      ++depth;
    }
    part += length;
    if (*part) ++part;
  }
  return true;
}

// Wildcard match of a file name against a mask with "*" and "?", ignoring case.
static bool MatchesMask(const char* name, const char* mask) {
  if (*mask == 0) return *name == 0;
  if (*mask == '*') return MatchesMask(name, mask + 1) || (*name && MatchesMask(name + 1, mask));
  if (*name == 0) return false;
  if (*mask != '?' && tolower((unsigned char)*mask) != tolower((unsigned char)*name)) return false;
  return MatchesMask(name + 1, mask + 1);
}

bool WalkFolder(const char* pattern, const std::function<void(const char* path)>& callback, bool recurse) {
  std::string full = pattern;
  if (full.empty() || full[0] != '\\') full = std::string(execFolder) + "\\" + full;
  if (full.size() >= kMaxPath) return false;
  size_t cut = full.rfind('\\');
  std::string folder = full.substr(0, cut), mask = full.substr(cut + 1);
  std::vector<FolderEntry> entries;
  if (!PlatformListFolder(folder.c_str(), &entries)) return true;  // a folder that cannot be listed is skipped
  if (recurse)
    for (const FolderEntry& entry : entries)
      if (entry.folder && entry.name[0] != '.') {
        std::string inner = folder + "\\" + entry.name + "\\" + mask;
        if (inner.size() < kMaxPath) WalkFolder(inner.c_str(), callback, true);
      }
  for (const FolderEntry& entry : entries) {
    std::string file = folder + "\\" + entry.name;
    if (entry.regular && !entry.folder && MatchesMask(entry.name.c_str(), mask.c_str()) && file.size() < kMaxPath)
      callback(file.c_str());
  }
  return true;
}
