// The game's folders and paths relative to them. Stored paths use "\" separators whatever the
// system; only the platform layer turns them into "/" when it touches the disk.
//
// Three folders matter: the exec folder (the program's own), the data folder (the shipped
// sprites, riders and config.cfg) and the player folder (everything the game writes: the log,
// last_played.track, riders\temp_rider.rider, autosave\, exports\, riders and sprite sheets
// the player copied in). A build or a portable copy in a writable folder keeps all three in one
// place. An installed game (the program in a "bin" folder with "share\velmora" beside it) reads
// its data from there and writes into $XDG_DATA_HOME\velmora, whoever runs it; a portable copy
// in a folder it cannot write also writes there. A stored name such as "riders\a.rider" is looked
// for in the player folder first, then in the data folder, so a player's file shadows a shipped
// one of the same name.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

constexpr size_t kMaxPath = 260;                  // the longest path a record or dialog holds, with its zero

struct GameFolders {
  std::string data;                               // the shipped data
  std::string player;                             // what the game writes; read before data
  std::string config;                             // holds the player's config.cfg; "" = none read
};

// What the system says about where the program runs, all folders with "\" separators.
struct FolderFacts {
  std::string execFolder;
  bool installed = false;                         // execFolder ends in "\bin" and "..\share\velmora" is a folder
  bool execFolderWritable = false;
  std::string xdgDataHome;                        // the variables as set; "" when unset
  std::string xdgConfigHome;
  std::string home;
};

// Pure. An XDG variable that is empty or not absolute counts as unset (HOME\.local\share and
// HOME\.config stand in); without either, player is "" and nothing may be written.
GameFolders FoldersFor(const FolderFacts& facts);
// Gathers the facts for the program at programPath (either separator) and sets the folders.
// False when the exec folder or the player folder is unknown or does not fit kMaxPath.
bool ChooseGameFolders(const char* programPath);
void SetGameFolders(const GameFolders& folders);  // as given; tests and tools
bool MakePlayerFolders();                         // the player folder with riders\ and sprites\; false when it cannot be made
// Cut at the last "\" ("/" are turned into "\" first); the data and player folders become the
// exec folder too, as for a build run. False, and every folder left "", when the program has no
// folder or its folder does not fit kMaxPath: nothing may then be named from it.
bool SetExecFolder(const char* programPath);
const char* ExecFolder();
const char* DataFolder();
const char* PlayerFolder();
const char* ConfigFolder();                       // "" when no player's config.cfg is read
// destination (kMaxPath bytes) = the file a stored name means: player folder + "\" + name when
// that exists, else data folder + "\" + name; false and a log line when too long.
bool MakeAbsolutePath(char* destination, const char* name);
// destination (kMaxPath bytes) = player folder + "\" + name, where the game writes; false and a
// log line when too long.
bool MakePlayerPath(char* destination, const char* name);
// destination (kMaxPath bytes) = path after the player or the data folder and its separator;
// false and a log line when the path starts with neither or does not fit.
bool MakeRelativePath(char* destination, const char* path);
bool IsInsideGameFolders(const char* storedPath);  // inside the player or the data folder (no log line)
// The entries of folder (a stored name such as "riders") in the player folder and in the data
// folder, sorted as PlatformListFolder sorts; a name in both shows once. False when neither can
// be listed.
bool ListGameFolder(const char* folder, std::vector<FolderEntry>* entries);
// True when a name stored in a file, joined to the program folder, names something inside it:
// not absolute (no leading "\" or "/", no drive "X:"), and no ".." part, with either separator,
// that climbs above the folder. Pure: the caller logs what it refuses.
bool StaysInsideProgramFolder(const char* name);
// Calls callback(full path) for every regular file matching pattern's last part (a mask such as
// "*.rider"; a relative pattern lies in the data folder); with recurse, sub-folders (not those starting with ".") first, sorted by name.
// False when a full path cannot be formed.
bool WalkFolder(const char* pattern, const std::function<void(const char* path)>& callback, bool recurse);
