#include "shell/autosave_store.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shell/file_load.h"

namespace {

constexpr char kMarkerPrefix[] = "running-";

std::string Child(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// The run a version belongs to: the number after its last '_'; 0 for a name of another shape.
int RunOf(const std::string& version) {
  const size_t cut = version.rfind('_');
  return cut == std::string::npos ? 0 : atoi(version.c_str() + cut + 1);
}

bool IsVersion(const FolderEntry& entry) { return entry.folder && entry.name[0] != '.' && RunOf(entry.name) > 0; }

// Versions of the folder, oldest first: the listing comes in name order, which is time order for
// names of digits, "-" and "_".
std::vector<std::string> Versions(const std::string& folder) {
  std::vector<FolderEntry> entries;
  std::vector<std::string> versions;
  if (!PlatformListFolder(folder.c_str(), &entries)) return versions;
  for (const FolderEntry& entry : entries)
    if (IsVersion(entry)) versions.push_back(entry.name);
  return versions;
}

// The writer's work: a hidden folder filled and synced, then renamed into place.
void Write(AutosaveSession& session, std::string version, AutosaveEncoder encode) {
  const std::string hidden = Child(session.folder, "." + version);
  const std::string target = Child(session.folder, version);
  PlatformRemoveTree(hidden.c_str());
  bool ok = PlatformMakeFolder(hidden.c_str());
  if (ok)
    for (const AutosaveFile& file : encode()) ok = ok && WriteWholeFile(Child(hidden, file.name).c_str(), file.bytes);
  // A version of the same second is replaced.
  ok = ok && PlatformSyncFolder(hidden.c_str()) && PlatformRemoveTree(target.c_str()) &&
       PlatformRenameFile(hidden.c_str(), target.c_str()) &&
       PlatformSyncFolder(session.folder.c_str());
  if (!ok) PlatformRemoveTree(hidden.c_str());
  std::vector<std::string> ours;
  for (const std::string& name : Versions(session.folder))
    if (RunOf(name) == session.pid) ours.push_back(name);
  for (size_t i = 0; i + kKeptAutosaves < ours.size(); ++i) PlatformRemoveTree(Child(session.folder, ours[i]).c_str());
  session.failed = !ok;
  session.result = ok ? version : "cannot write " + target;
  session.writing = false;
}

}  // namespace

bool OpenAutosaveSession(AutosaveSession& session, const char* storedFolder) {
  session.folder = storedFolder;
  session.pid = PlatformProcessId();
  std::vector<FolderEntry> entries;
  if (!PlatformMakeFolder(storedFolder) || !PlatformListFolder(storedFolder, &entries)) {
    session.folder.clear();
    return false;
  }
  for (const FolderEntry& entry : entries) {
    if (!entry.regular || entry.name.rfind(kMarkerPrefix, 0) != 0) continue;
    const std::string path = Child(session.folder, entry.name);
    const int lock = PlatformLockFile(path.c_str());
    if (lock < 0) continue;                       // a run still going
    session.crashedRuns.push_back(atoi(entry.name.c_str() + strlen(kMarkerPrefix)));
    PlatformRemoveFile(path.c_str());
    PlatformUnlockFile(lock);
  }
  session.marker = PlatformLockFile(Child(session.folder, kMarkerPrefix + std::to_string(session.pid)).c_str());
  if (session.marker < 0) session.folder.clear();
  return session.marker >= 0;
}

std::string AutosaveVersionName(const LocalTime& t, int pid) {
  char name[64];
  snprintf(name, sizeof name, "%04d-%02d-%02d_%02d-%02d-%02d_%d", t.year, t.month + 1, t.day, t.hour, t.minute,
           t.second, pid);
  return name;
}

std::string NewestCrashedVersion(const AutosaveSession& session) {
  if (session.folder.empty()) return "";
  const std::vector<std::string> versions = Versions(session.folder);
  for (auto it = versions.rbegin(); it != versions.rend(); ++it)
    if (std::count(session.crashedRuns.begin(), session.crashedRuns.end(), RunOf(*it))) return *it;
  return "";
}

std::string AutosaveVersionPath(const AutosaveSession& session, const std::string& version) {
  return Child(session.folder, version);
}

bool StartAutosaveWrite(AutosaveSession& session, const std::string& version, AutosaveEncoder encode) {
  if (session.folder.empty() || session.writing) return false;
  if (session.writer.joinable()) session.writer.join();
  session.writing = true;
  session.writer = std::thread(Write, std::ref(session), version, std::move(encode));
  return true;
}

bool TakeAutosaveResult(AutosaveSession& session, std::string* result, bool* failed) {
  if (session.writing || !session.writer.joinable()) return false;
  session.writer.join();
  *result = session.result;
  *failed = session.failed;
  return true;
}

void CloseAutosaveSession(AutosaveSession& session) {
  if (session.writer.joinable()) session.writer.join();
  if (session.folder.empty()) return;
  for (const std::string& version : Versions(session.folder)) {
    const std::string path = Child(session.folder, version);
    if (PlatformAgeSeconds(path.c_str()) > kAutosaveDaysKept * 24 * 3600) PlatformRemoveTree(path.c_str());
  }
  PlatformRemoveFile(Child(session.folder, kMarkerPrefix + std::to_string(session.pid)).c_str());
  PlatformUnlockFile(session.marker);
  session.marker = -1;
  session.folder.clear();
}
