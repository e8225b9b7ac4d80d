// The disk: stored paths use "\" separators; the system wants "/".
#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sys/file.h>
#include <time.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/platform.h"

static std::string NativePath(const char* storedPath) {
  std::string path = storedPath ? storedPath : "";
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

FILE* PlatformOpenFile(const char* storedPath, const char* mode) {
  return fopen(NativePath(storedPath).c_str(), mode);
}

bool PlatformIsRegularFile(const char* storedPath) {
  struct stat info;
  return stat(NativePath(storedPath).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool PlatformIsFolder(const char* storedPath) {
  struct stat info;
  return stat(NativePath(storedPath).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformCanWriteFolder(const char* storedPath) {
  return PlatformIsFolder(storedPath) && access(NativePath(storedPath).c_str(), W_OK | X_OK) == 0;
}

bool PlatformRemoveFile(const char* storedPath) { return unlink(NativePath(storedPath).c_str()) == 0; }

bool PlatformRenameFile(const char* from, const char* to) {
  return rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

bool PlatformSyncFile(FILE* file) {
  if (fflush(file) != 0) return false;
  return fsync(fileno(file)) == 0;
}

bool PlatformListFolder(const char* storedFolder, std::vector<FolderEntry>* entries) {
  std::string folder = NativePath(storedFolder && *storedFolder ? storedFolder : ".");
  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  entries->clear();
  while (dirent* entry = readdir(dir)) {
    FolderEntry item{entry->d_name, false, false};
    std::string full = folder + "/" + item.name;
    struct stat linkInfo, info;
    if (lstat(full.c_str(), &linkInfo) != 0) continue;
    // A link to a folder is neither walked into nor reported, so a link loop cannot hang a walk.
    item.folder = S_ISDIR(linkInfo.st_mode);
    item.regular = stat(full.c_str(), &info) == 0 && S_ISREG(info.st_mode);
    entries->push_back(std::move(item));
  }
  closedir(dir);
  std::sort(entries->begin(), entries->end(), [](const FolderEntry& a, const FolderEntry& b) {
    int order = strcasecmp(a.name.c_str(), b.name.c_str());
    return order != 0 ? order < 0 : a.name < b.name;
  });
  return true;
}

std::string PlatformExecutablePath() {
  char buffer[PATH_MAX + 1];
  ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
  if (length <= 0) return "";
  buffer[length] = 0;
  return buffer;
}

std::string PlatformEnvironment(const char* name) {
  const char* value = getenv(name);
  return value ? value : "";
}

bool PlatformChangeDirectory(const char* storedPath) { return chdir(NativePath(storedPath).c_str()) == 0; }

bool PlatformMakeFolder(const char* storedPath) {
  std::error_code error;
  std::filesystem::create_directories(NativePath(storedPath), error);
  return std::filesystem::is_directory(NativePath(storedPath), error);
}

bool PlatformRemoveTree(const char* storedPath) {
  std::error_code error;
  std::filesystem::remove_all(NativePath(storedPath), error);
  return !error && !std::filesystem::exists(std::filesystem::symlink_status(NativePath(storedPath), error));
}

bool PlatformSyncFolder(const char* storedPath) {
  const int folder = open(NativePath(storedPath).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder < 0) return false;
  const bool synced = fsync(folder) == 0;
  close(folder);
  return synced;
}

double PlatformAgeSeconds(const char* storedPath) {
  struct stat info;
  if (stat(NativePath(storedPath).c_str(), &info) != 0) return -1;
  timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  return double(now.tv_sec - info.st_mtim.tv_sec) + double(now.tv_nsec - info.st_mtim.tv_nsec) * 1e-9;
}

int PlatformLockFile(const char* storedPath) {
  const int file = open(NativePath(storedPath).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (file < 0) return -1;
  if (flock(file, LOCK_EX | LOCK_NB) != 0) {
    close(file);
    return -1;
  }
  return file;
}

void PlatformUnlockFile(int lock) {
  if (lock >= 0) close(lock);
}

int PlatformProcessId() { return int(getpid()); }
