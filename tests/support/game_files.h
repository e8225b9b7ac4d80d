// A private exec folder with its own System.log for tests of the game's files: paths, log lines
// and message boxes are all observed, and the process-wide state they touch is put back.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <sstream>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "shell/log.h"
#include "shell/file_stream.h"
#include "shell/paths.h"
#include "shell/safe_save.h"
#include "support/temp_folder.h"

// Overwrites a stored little-endian field of a file's bytes, to damage it on purpose.
inline void PutU32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = char(value >> (8 * i));
}
inline void PutF32(std::string& bytes, size_t at, float value) { PutU32(bytes, at, std::bit_cast<uint32_t>(value)); }

// Fails every write once limit bytes have gone through: a disk that fills up midway.
class FailingWriter : public FileWriter {
 public:
  FailingWriter(const char* path, uint32_t limit) : FileWriter(path), limit_(limit) {}
  bool write(const void* buffer, uint32_t count) override {
    if (written_ + count > limit_) {
      FileWriter::write(buffer, limit_ - written_);
      written_ = limit_;
      return false;
    }
    written_ += count;
    return FileWriter::write(buffer, count);
  }

 private:
  uint32_t limit_;
  uint32_t written_ = 0;
};

inline std::vector<std::string>& ShownMessageBoxes() {
  static std::vector<std::string> titles;
  return titles;
}

class GameFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    Platform().messageBox = [](const char* title, const char* text) {
      ShownMessageBoxes().push_back(std::string(title) + "|" + text);
    };
    ShownMessageBoxes().clear();
    getcwd(cwd_, sizeof cwd_);
    chdir(folder_.path.c_str());
    SetExecFolder((folder_.path.string() + "/velmora").c_str());
    OpenLog();
  }
  void TearDown() override {
    CloseLog();
    SetSaveWriterMaker(nullptr);
    chdir(cwd_);
    Platform() = saved_;
  }
  // The log's lines so far, without their time stamps.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::istringstream in(folder_.read("System.log"));
    for (std::string line; std::getline(in, line);) lines.push_back(line.size() > 11 ? line.substr(11) : "");
    return lines;
  }
  std::string LastLogLine() const {
    const std::vector<std::string> lines = LogLines();
    return lines.empty() ? "" : lines.back();
  }
  bool Logged(const std::string& text) const {
    const std::vector<std::string> lines = LogLines();
    return std::find(lines.begin(), lines.end(), text) != lines.end();
  }
  // A stored path ("\" separators) for a file in the test's exec folder.
  std::string Stored(const std::string& name) const { return std::string(ExecFolder()) + "\\" + name; }

  TempFolder folder_;
  PlatformServices saved_;
  char cwd_[4096] = {};
};
