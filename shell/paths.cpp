#include "shell/paths.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/log.h"

// The game's folders: set once at start from the program path (tests set them anew); never reset.
static struct {
  std::string exec;
  GameFolders game;
} folders;

static std::string Stored(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// An XDG base folder: the variable when it names an absolute folder, else HOME + fallback.
static std::string BaseFolder(const std::string& variable, const std::string& home, const char* fallback) {
  if (!variable.empty() && variable[0] == '\\') return variable;
  if (!home.empty() && home[0] == '\\') return home + fallback;
  return "";
}

static bool StartsWithFolder(const char* path, const std::string& folder) {
  return !folder.empty() && strncmp(path, folder.c_str(), folder.size()) == 0 && path[folder.size()] == '\\';
}

static bool Join(char* destination, const std::string& folder, const char* name) {
  int length = snprintf(destination, kMaxPath, "%s\\%s", folder.c_str(), name);
  if (length < 0 || size_t(length) >= kMaxPath) {
    destination[0] = 0;
    Log("path too long: %s\\%s", folder.c_str(), name);
    return false;
  }
  return true;
}

GameFolders FoldersFor(const FolderFacts& facts) {
  const std::string dataHome = BaseFolder(facts.xdgDataHome, facts.home, "\\.local\\share");
  const std::string configHome = BaseFolder(facts.xdgConfigHome, facts.home, "\\.config");
  const std::string ownData = dataHome.empty() ? "" : dataHome + "\\velmora";
  const std::string ownConfig = configHome.empty() ? "" : configHome + "\\velmora";
  if (facts.installed) {
    const std::string prefix = facts.execFolder.substr(0, facts.execFolder.rfind('\\'));
    return {prefix + "\\share\\velmora", ownData, ownConfig};
  }
  if (facts.execFolderWritable) return {facts.execFolder, facts.execFolder, ""};
  return {facts.execFolder, ownData, ownConfig};
}

bool ChooseGameFolders(const char* programPath) {
  if (!SetExecFolder(programPath)) return false;
  FolderFacts facts;
  facts.execFolder = folders.exec;
  const size_t cut = facts.execFolder.rfind('\\');
  facts.installed = cut != std::string::npos && facts.execFolder.substr(cut + 1) == "bin" &&
                    PlatformIsFolder((facts.execFolder.substr(0, cut) + "\\share\\velmora").c_str());
  facts.execFolderWritable = PlatformCanWriteFolder(facts.execFolder.c_str());
  facts.xdgDataHome = Stored(PlatformEnvironment("XDG_DATA_HOME"));
  facts.xdgConfigHome = Stored(PlatformEnvironment("XDG_CONFIG_HOME"));
  facts.home = Stored(PlatformEnvironment("HOME"));
  SetGameFolders(FoldersFor(facts));
  const GameFolders& chosen = folders.game;
  return !chosen.player.empty() && chosen.player.size() < kMaxPath && chosen.data.size() < kMaxPath &&
         chosen.config.size() < kMaxPath;
}

void SetGameFolders(const GameFolders& game) { folders.game = game; }

bool MakePlayerFolders() {
  const std::string& player = folders.game.player;
  return !player.empty() && PlatformMakeFolder(player.c_str()) && PlatformMakeFolder((player + "\\riders").c_str()) &&
         PlatformMakeFolder((player + "\\sprites").c_str());
}

bool SetExecFolder(const char* programPath) {
  std::string path = Stored(programPath ? programPath : "");
  size_t cut = path.rfind('\\');
  path = cut == std::string::npos ? "" : path.substr(0, cut);
  const bool fits = cut != std::string::npos && path.size() < kMaxPath;
  folders.exec = fits ? path : "";
  folders.game = {folders.exec, folders.exec, ""};
  return fits;
}

const char* ExecFolder() { return folders.exec.c_str(); }
const char* DataFolder() { return folders.game.data.c_str(); }
const char* PlayerFolder() { return folders.game.player.c_str(); }
const char* ConfigFolder() { return folders.game.config.c_str(); }

bool MakeAbsolutePath(char* destination, const char* name) {
  if (!folders.game.player.empty() && folders.game.player != folders.game.data && Join(destination, folders.game.player, name) &&
      (PlatformIsRegularFile(destination) || PlatformIsFolder(destination)))
    return true;
  return Join(destination, folders.game.data, name);
}

bool MakePlayerPath(char* destination, const char* name) { return Join(destination, folders.game.player, name); }

bool MakeRelativePath(char* destination, const char* path) {
  destination[0] = 0;
  const std::string* folder = StartsWithFolder(path, folders.game.player) ? &folders.game.player
                              : StartsWithFolder(path, folders.game.data) ? &folders.game.data
                                                                          : nullptr;
  if (!folder) {
    Log("path is outside the game's folders: %s", path);
    return false;
  }
  const char* rest = path + folder->size() + 1;
  if (strlen(rest) >= kMaxPath) {
    Log("path too long: %s", path);
    return false;
  }
  snprintf(destination, kMaxPath, "%s", rest);
  return true;
}

bool IsInsideGameFolders(const char* storedPath) {
  return StartsWithFolder(storedPath, folders.game.player) || StartsWithFolder(storedPath, folders.game.data);
}

// The order of PlatformListFolder: by name without case, then by the bytes.
static bool ListedBefore(const FolderEntry& a, const FolderEntry& b) {
  const auto caseless = [](char x, char y) { return tolower((unsigned char)x) < tolower((unsigned char)y); };
  if (std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(), caseless)) return true;
  if (std::lexicographical_compare(b.name.begin(), b.name.end(), a.name.begin(), a.name.end(), caseless)) return false;
  return a.name < b.name;
}

bool ListGameFolder(const char* folder, std::vector<FolderEntry>* entries) {
  std::vector<FolderEntry> own, shipped;
  const bool listedOwn = PlatformListFolder((folders.game.player + "\\" + folder).c_str(), &own);
  const bool listedShipped = folders.game.data != folders.game.player &&
                             PlatformListFolder((folders.game.data + "\\" + folder).c_str(), &shipped);
  entries->clear();
  // Both lists are sorted the same way; a shipped entry goes in unless the player's list has its name.
  std::merge(own.begin(), own.end(), shipped.begin(), shipped.end(), std::back_inserter(*entries),
             ListedBefore);
  entries->erase(std::unique(entries->begin(), entries->end(),
                             [](const FolderEntry& a, const FolderEntry& b) { return a.name == b.name; }),
                 entries->end());
  return listedOwn || listedShipped;
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
  if (full.empty() || full[0] != '\\') full = folders.game.data + "\\" + full;
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
