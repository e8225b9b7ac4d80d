// A fresh folder under /tmp for one test, removed afterwards.
#pragma once
#include <filesystem>
#include <fstream>
#include <string>

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
