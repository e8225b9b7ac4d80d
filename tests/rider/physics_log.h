// Captures System.log while a test runs: the log goes to a fresh folder and is read back.
#pragma once
#include <unistd.h>

#include <string>

#include "shell/log.h"
#include "support/temp_folder.h"

class PhysicsLog {
 public:
  PhysicsLog() {
    if (!getcwd(cwd_, sizeof cwd_)) cwd_[0] = '\0';
    if (chdir(folder_.path.c_str()) == 0) OpenLog();
  }
  ~PhysicsLog() {
    CloseLog();
    if (cwd_[0] && chdir(cwd_) != 0) cwd_[0] = '\0';
  }
  std::string Text() const { return folder_.read("System.log"); }
  int Count(const std::string& needle) const {
    const std::string text = Text();
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) count += 1;
    return count;
  }

 private:
  TempFolder folder_;
  char cwd_[4096] = {};
};
