// Gathers the log's lines while a test runs, through the log's listener: nothing is written.
#pragma once
#include <string>
#include <vector>

#include "shell/log.h"

class PhysicsLog {
 public:
  PhysicsLog() {
    Lines().clear();
    SetLogListener([](const char* text) { Lines().push_back(text); });
  }
  ~PhysicsLog() { SetLogListener(nullptr); }
  int Count(const std::string& needle) const {
    int count = 0;
    for (const std::string& line : Lines())
      for (size_t at = line.find(needle); at != std::string::npos; at = line.find(needle, at + 1)) count += 1;
    return count;
  }

 private:
  static std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
  }
};
