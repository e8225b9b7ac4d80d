#include "platform/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace {

std::string NativeArgument(std::string argument) {
  for (char& c : argument)
    if (c == '\\') c = '/';
  return argument;
}

bool Start(const std::vector<std::string>& arguments, int* id, int* errorPipe) {
  if (arguments.empty()) return false;
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  std::vector<std::string> native;
  for (const std::string& argument : arguments) native.push_back(NativeArgument(argument));
  std::vector<char*> argv;
  for (std::string& argument : native) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  if (error != 0) {
    close(ends[0]);
    return false;
  }
  fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  *id = pid;
  *errorPipe = ends[0];
  return true;
}

long Read(int errorPipe, char* buffer, size_t size) {
  const ssize_t count = read(errorPipe, buffer, size);
  if (count > 0) return long(count);
  if (count < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
  close(errorPipe);
  return -1;
}

bool Ended(int id, int* exitStatus) {
  int status = 0;
  if (waitpid(pid_t(id), &status, WNOHANG) != pid_t(id)) return false;
  *exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return true;
}

void Stop(int id) { kill(pid_t(id), SIGTERM); }

}  // namespace

ChildProcesses& ChildProcessTable() {
  static ChildProcesses table{Start, Read, Ended, Stop};
  return table;
}
