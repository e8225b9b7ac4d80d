// A fresh folder under /tmp for one test, removed afterwards, and paths written the game's way.
#pragma once
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

// A path as the game stores it: "\" between folders.
inline std::string BackslashPath(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    char pattern[] = "/tmp/velmora-test-XXXXXX";
    path = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::string file(const std::string& name) const { return (path / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::filesystem::create_directories((path / name).parent_path());
    std::ofstream(path / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};
