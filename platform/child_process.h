// Other programs started by the game, run beside it: each one's standard error comes back
// through a pipe the game reads without ever waiting. A table of functions, so tests start
// nothing and say what the child wrote and how it ended.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

struct ChildProcesses {
  // arguments[0] is the program; arguments are stored paths ("\" become "/") or plain words.
  // True with the child's id and the reading end of its standard error; false when it cannot start.
  bool (*start)(const std::vector<std::string>& arguments, int* id, int* errorPipe);
  long (*read)(int errorPipe, char* buffer, size_t size);  // bytes; 0 nothing yet; -1 closed (pipe closed too)
  bool (*ended)(int id, int* exitStatus);         // true once, when it ended: its status, -1 for a signal
  void (*stop)(int id);                           // asks it to end (SIGTERM); ended still reports it
};

ChildProcesses& ChildProcessTable();              // the system's own unless a test swapped entries
