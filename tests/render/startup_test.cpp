// The real program under the test's X display: start-up, a frame, and a clean or faulty exit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_folder.h"
#include "track/track_file.h"

// Last: Xlib's macros would otherwise clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

// A copy of the program and its config in a clean folder, started there.
struct RunningGame {
  TempFolder folder;
  pid_t pid = -1;

  RunningGame() {
    std::filesystem::copy_file(VELMORA_BINARY_DIR "/velmora", folder.file("velmora"));
    std::filesystem::copy_file(VELMORA_SOURCE_DIR "/config.cfg", folder.file("config.cfg"));
    pid = fork();
    if (pid == 0) {
      std::string program = folder.file("velmora");
      execl(program.c_str(), program.c_str(), nullptr);
      _exit(127);
    }
  }
  ~RunningGame() {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
  }
  bool waitForLog(const std::string& text, int seconds = 20) {
    for (int i = 0; i < seconds * 20; ++i) {
      if (folder.read("System.log").find(text) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  int stopWith(int signal) {
    if (signal) kill(pid, signal);
    int status = 0;
    for (int i = 0; i < 400 && waitpid(pid, &status, WNOHANG) == 0; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
  }
};

// Processor time (user and system) the process has used so far, in seconds: fields 14 and 15
// of /proc/PID/stat, after the name in parentheses.
double CpuSeconds(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), {}), skip;
  std::istringstream fields(stat.substr(stat.rfind(')') + 1));
  for (int field = 3; field < 14; ++field) fields >> skip;
  double user = -1, system = -1;
  fields >> user >> system;
  return (user + system) / double(sysconf(_SC_CLK_TCK));
}

// Positions of the lines in order; -1 for a missing one.
std::vector<long> Positions(const std::string& log, const std::vector<std::string>& lines) {
  std::vector<long> at;
  size_t from = 0;
  for (const std::string& line : lines) {
    size_t found = log.find(line, from);
    at.push_back(found == std::string::npos ? -1 : long(found));
    if (found != std::string::npos) from = found;
  }
  return at;
}

// The program copied into folder and run there with DISPLAY unset, its stderr kept; killed after
// the time allowed. Returns the exit code, or -1 when it had to be killed.
int RunWithoutDisplay(const std::filesystem::path& folder, std::string* errors, int seconds = 10) {
  std::filesystem::create_directories(folder);
  std::filesystem::copy_file(VELMORA_BINARY_DIR "/velmora", folder / "velmora");
  std::filesystem::copy_file(VELMORA_SOURCE_DIR "/config.cfg", folder / "config.cfg");
  TempFolder caller;
  const std::string errorFile = caller.file("stderr");
  const pid_t pid = fork();
  if (pid == 0) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    if (!freopen(errorFile.c_str(), "w", stderr) || chdir(caller.path.c_str()) != 0) _exit(127);
    const std::string program = (folder / "velmora").string();
    execl(program.c_str(), program.c_str(), nullptr);
    _exit(127);
  }
  int status = 0;
  for (int i = 0; i < seconds * 20 && waitpid(pid, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  int code = -1;
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  } else if (WIFEXITED(status)) {
    code = WEXITSTATUS(status);
  }
  *errors = caller.read("stderr");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(caller.path), {}), 1)
      << "nothing but stderr is written in the folder the game was started from";
  return code;
}

}  // namespace

TEST(Startup, WithoutADisplayFailsAtOnceWithAMessage) {
  TempFolder folder;
  std::string errors;
  const auto start = std::chrono::steady_clock::now();
  const int code = RunWithoutDisplay(folder.path / "game", &errors);
  const auto took = std::chrono::steady_clock::now() - start;
  EXPECT_NE(code, -1) << "still running after 10 s";
  EXPECT_NE(code, 0);
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_NE(errors.find("X display"), std::string::npos) << errors;
  EXPECT_NE(folder.read("game/System.log").find("Cannot open the X display"), std::string::npos);
}

// 300 characters of folders: the records cannot hold it, so nothing may be named from it.
TEST(Startup, AFolderPathOf260CharactersOrMoreIsRefused) {
  TempFolder folder;
  std::filesystem::path deep = folder.path;
  while (deep.string().size() < 300) deep /= std::string(40, 'd');
  std::string errors;
  const bool rootHadSave = std::filesystem::exists("/last_played.track");
  const int code = RunWithoutDisplay(deep, &errors);
  EXPECT_NE(code, -1) << "still running after 10 s";
  EXPECT_NE(code, 0);
  EXPECT_NE(errors.find("shorter than 260 characters"), std::string::npos) << errors;
  std::ifstream log(deep / "System.log");
  const std::string logged(std::istreambuf_iterator<char>(log), {});
  EXPECT_NE(logged.find("shorter than 260 characters"), std::string::npos) << logged;
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(deep)) files.push_back(entry.path().filename());
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{"System.log", "config.cfg", "velmora"}));
  EXPECT_EQ(std::filesystem::exists("/last_played.track"), rootHadSave) << "nothing is saved at the root";
  EXPECT_FALSE(std::filesystem::exists("/System.log"));
}

TEST(Startup, LogsInOrderRunsAndShutsDownCleanlyWhenClosed) {
  RunningGame game;
  ASSERT_TRUE(game.waitForLog("Application activated!")) << game.folder.read("System.log");
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // past the warm-up steps
  EXPECT_EQ(game.stopWith(SIGTERM), 0) << "closing the window ends the game with code 0";
  std::string log = game.folder.read("System.log");
  std::vector<std::string> expected = {
      "Log started: ", "Exec folder:", "-----------exec config.cfg-----------", "set to windowed",
      "width set to 1024", "height set to 768", "vsync enabled", "------------config ok-------------",
      "Main window created,*#,with handle ", "--------Startup--------", "OGL version: ", "Renderer: ",
      "-------startup OK------", "init started", "Initializing resource manager", "Application activated!",
      "--------Shutdown-------", "Graph deinitialized", "------shutdown ok------"};
  std::vector<long> at = Positions(log, expected);
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_GE(at[i], 0) << "missing or out of order: " << expected[i];
  EXPECT_EQ(log.find("ERROR!"), std::string::npos) << log;
}

// With no vsync to wait on (Xvfb has none), an idle track screen would draw as fast as it can
// and keep a core busy (well over one with Mesa's threads); the frame cap holds it to a small
// share of one. The bound is generous, for a loaded machine.
TEST(Startup, IdleTrackScreenUsesLittleProcessorTime) {
  RunningGame game;
  ASSERT_TRUE(game.waitForLog("Application activated!")) << game.folder.read("System.log");
  std::this_thread::sleep_for(std::chrono::seconds(1));  // past the warm-up steps
  const double before = CpuSeconds(game.pid);
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(10));
  const double cpu = CpuSeconds(game.pid) - before;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("idle track screen: %.2f s of processor time in %.2f s (%.0f%% of a core)\n", cpu, wall,
              100 * cpu / wall);
  EXPECT_GE(before, 0) << "the game's /proc entry is readable";
  EXPECT_LE(cpu / wall, 0.5) << game.folder.read("System.log");
  EXPECT_NE(game.folder.read("System.log").find("frames capped at "), std::string::npos);
}

// The real path: X pointer and key events through the server. A stroke drawn with the left button
// held becomes lines, and Escape leaves through the normal exit, which keeps them in
// last_played.track. The pointer moves by warps, as the game's own slider moves it: they make no
// device events, so only a reading straight from the server follows them.
TEST(Startup, ARealStrokeBecomesLinesThatEscapeKeeps) {
  RunningGame game;
  ASSERT_TRUE(game.waitForLog("Application activated!")) << game.folder.read("System.log");
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // past the warm-up steps
  Display* display = XOpenDisplay(nullptr);
  ASSERT_NE(display, nullptr);
  const std::string log = game.folder.read("System.log");
  const size_t handle = log.find("with handle ");
  ASSERT_NE(handle, std::string::npos);
  XSetInputFocus(display, Window(std::stoul(log.substr(handle + 12))), RevertToParent, CurrentTime);
  auto pause = [display](int ms) {
    XFlush(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  };
  const Window root = DefaultRootWindow(display);
  XWarpPointer(display, None, root, 0, 0, 0, 0, 300, 300);
  pause(100);
  XTestFakeButtonEvent(display, 1, True, CurrentTime);
  pause(100);
  for (int i = 1; i <= 20; ++i) {
    XWarpPointer(display, None, root, 0, 0, 0, 0, 300 + i * 15, 300 + i * 5);
    pause(30);
  }
  XTestFakeButtonEvent(display, 1, False, CurrentTime);
  pause(200);
  const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
  XTestFakeKeyEvent(display, escape, True, CurrentTime);
  pause(100);
  XTestFakeKeyEvent(display, escape, False, CurrentTime);
  XCloseDisplay(display);
  EXPECT_EQ(game.stopWith(0), 0) << game.folder.read("System.log");
  const std::string saved = game.folder.read("last_played.track");
  TrackFileContent content;
  ASSERT_EQ(ParseTrackFile(reinterpret_cast<const uint8_t*>(saved.data()), saved.size(), false, &content),
            FileLoad::Loaded);
  EXPECT_GE(content.solids.size(), 5u) << "a 300-pixel stroke is a line every 40 units";
}

TEST(Startup, AProcessorFaultIsLoggedByNameAndEndsWith255) {
#ifdef VELMORA_SANITIZE
  GTEST_SKIP() << "under the sanitizers their own handler reports faults";
#endif
  RunningGame game;
  ASSERT_TRUE(game.waitForLog("Application activated!"));
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(game.stopWith(SIGSEGV), 255);
  std::string log = game.folder.read("System.log");
  std::vector<long> at = Positions(log, {"EXCEPTION_ACCESS_VIOLATION", "ERROR!", "Exception!"});
  for (long position : at) EXPECT_GE(position, 0) << log;
  EXPECT_FALSE(std::filesystem::exists(game.folder.file("last_played.track")))
      << "after a fault nothing is saved over the player's last track";
}
