#include "shell/log.h"

#include <gtest/gtest.h>
#include <malloc.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/decimal_comma_locale.h"
#include "support/temp_folder.h"

namespace {

class LogTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = Platform();
    Platform().localTime = [] { return LocalTime{2026, 2, 5, 9, 5, 3}; };
    getcwd(cwd_, sizeof cwd_);
    chdir(folder_.path.c_str());
  }
  void TearDown() override {
    CloseLog();
    chdir(cwd_);
    Platform() = saved_;
  }
  TempFolder folder_;
  PlatformServices saved_;
  char cwd_[4096] = {};
};

}  // namespace

TEST_F(LogTest, LinesAreStampedFlushedAndEachRunStartsEmpty) {
  OpenLog();
  Log("Log started: %s", LogDate());
  Log("first run");
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] Log started: 5 Mar 2026\n[09:05:03] first run\n")
      << "every line is on disk before the next call";
  CloseLog();
  Log("after close is dropped");

  OpenLog();
  Log("%s", "");
  Log("Exec folder:%s\n", "\\games");
  CloseLog();
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] \n[09:05:03] Exec folder:\\games\n\n")
      << "only the second run's lines; a format ending in a line feed adds an empty line";
}

TEST_F(LogTest, FatalWritesErrorAndMessageThenExitsWithMinusOne) {
  EXPECT_EXIT((OpenLog(), Fatal("Cannot create window")), testing::ExitedWithCode(255), "");
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] ERROR!\n[09:05:03] Cannot create window\n");
}

// A fault raised while this thread holds the allocator's lock: malloc_stats() prints to stderr
// with the main arena locked, and this stderr faults on its first write. A handler that
// allocates, or takes a stdio or time zone lock, would wait on itself for ever.
static void FaultInsideTheAllocator() {
  // A process that never had a second thread allocates without taking the lock at all.
  std::thread([] {}).join();
  std::vector<void*> kept;
  // Empty the thread's cache of freed chunks, so that any allocation needs the arena.
  for (size_t size = 8; size <= 1024; size += 8)
    for (int i = 0; i < 16; ++i) kept.push_back(malloc(size));
  cookie_io_functions_t faulting{};
  faulting.write = [](void*, const char*, size_t) -> ssize_t {
    raise(SIGSEGV);
    return -1;
  };
  stderr = fopencookie(nullptr, "w", faulting);
  setvbuf(stderr, nullptr, _IONBF, 0);
  malloc_stats();
}

TEST_F(LogTest, AFaultInsideTheAllocatorIsLoggedAndEndsTheProcess) {
#ifdef VELMORA_SANITIZE
  GTEST_SKIP() << "under the sanitizers their own handler reports faults";
#endif
  const pid_t pid = fork();
  if (pid == 0) {
    OpenLog();
    Log("running");
    PlatformCatchFaults(LogFault);
    FaultInsideTheAllocator();
    _exit(0);
  }
  int status = 0;
  for (int i = 0; i < 100 && waitpid(pid, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const bool hung = waitpid(pid, &status, WNOHANG) == 0;
  if (hung) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  ASSERT_FALSE(hung) << "the fault handler still runs 5 s later:\n" << folder_.read("System.log");
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 255) << status;
  // The fault's stamps run on from the local time seen when the log opened, a second later at most.
  const std::regex expected(
      "\\[09:05:03\\] running\n\\[09:05:0[34]\\] EXCEPTION_ACCESS_VIOLATION\n"
      "\\[09:05:0[34]\\] ERROR!\n\\[09:05:0[34]\\] Exception!\n");
  const std::string log = folder_.read("System.log");
  EXPECT_TRUE(std::regex_match(log, expected)) << log;
}

// The file dialogs' toolkit takes the player's locale when it starts; log lines keep the point.
TEST_F(LogTest, NumbersKeepTheDecimalPointUnderADecimalCommaLocale) {
  DecimalCommaLocale german;
  ASSERT_NE(setlocale(LC_ALL, ""), nullptr) << "the de_DE locale could not be built";
  char local[16];
  snprintf(local, sizeof local, "%.2f", 1.5);
  ASSERT_STREQ(local, "1,50") << "the locale in force writes a decimal comma";
  OpenLog();
  Log("FPS %7.2f", 59.5);
  CloseLog();
  EXPECT_EQ(folder_.read("System.log"), "[09:05:03] FPS   59.50\n");
}
