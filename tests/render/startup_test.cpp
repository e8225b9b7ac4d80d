// The real program under the test's X display: start-up, a frame, and a clean or faulty exit.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "support/temp_folder.h"
#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "track/track_file.h"

// Last: Xlib's macros would otherwise clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "x_windows.h"

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// A copy of the program and its config in folder, started there from the caller's folder; with
// noDisplay, DISPLAY is unset and stderr goes to errorFile.
pid_t Launch(const std::filesystem::path& folder, bool noDisplay = false, const TempFolder* caller = nullptr) {
  std::filesystem::create_directories(folder);
  const auto replace = std::filesystem::copy_options::overwrite_existing;
  std::filesystem::copy_file(VELMORA_BINARY_DIR "/velmora", folder / "velmora", replace);
  std::filesystem::copy_file(VELMORA_SOURCE_DIR "/config.cfg", folder / "config.cfg", replace);
  const pid_t pid = fork();
  if (pid == 0) {
    if (noDisplay) {
      unsetenv("DISPLAY");
      unsetenv("WAYLAND_DISPLAY");
      if (!freopen(caller->file("stderr").c_str(), "w", stderr) || chdir(caller->path.c_str()) != 0) _exit(127);
    }
    const std::string program = (folder / "velmora").string();
    execl(program.c_str(), program.c_str(), nullptr);
    _exit(127);
  }
  return pid;
}

// The exit code, -1000 - the signal that ended it, or -1 when it had to be killed after the time allowed.
int WaitExit(pid_t pid, int seconds) {
  int status = 0;
  for (int i = 0; i < seconds * 20 && waitpid(pid, &status, WNOHANG) == 0; ++i) Sleep(50);
  if (waitpid(pid, &status, WNOHANG) == 0) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
}

// The game running in a clean folder under the test's display.
struct RunningGame {
  TempFolder folder;
  pid_t pid = -1;
  // With its data, the shipped riders and sprites go beside the program first.
  explicit RunningGame(bool withData = false) {
    for (const char* data : {"riders", "sprites"})
      if (withData) std::filesystem::copy(std::filesystem::path(VELMORA_SOURCE_DIR) / data, folder.path / data);
    pid = Launch(folder.path);
  }
  ~RunningGame() {
    if (pid > 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  }
  // Whether line shows in the log within `seconds`.
  bool awaitLog(const std::string& line, int seconds) const {
    for (int i = 0; i < seconds * 20; ++i, Sleep(50))
      if (folder.read("System.log").find(line) != std::string::npos) return true;
    return false;
  }
  // Once the game is up, `settle` ms more (past the warm-up steps).
  bool started(int settle = 700) { return awaitLog("Application activated!", 20) && (Sleep(settle), true); }
  // The next start, with a log of its own.
  void restart() {
    std::filesystem::remove(folder.file("System.log"));
    pid = Launch(folder.path);
  }
  int stopWith(int signal) {
    if (signal) kill(pid, signal);
    return WaitExit(std::exchange(pid, -1), 20);
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

// Expects each line in the log, in this order.
void ExpectInOrder(const std::string& log, const std::vector<std::string>& lines) {
  size_t from = 0;
  for (const std::string& line : lines) {
    const size_t found = log.find(line, from);
    EXPECT_NE(found, std::string::npos) << "missing or out of order: " << line << "\n" << log;
    if (found != std::string::npos) from = found;
  }
}

// The program copied into folder and run there without a display, from a folder of its own,
// where it must end with an error code; returns its stderr.
std::string RunWithoutDisplay(const std::filesystem::path& folder) {
  TempFolder caller;
  EXPECT_GT(WaitExit(Launch(folder, true, &caller), 10), 0) << "an error code, not a hang, a signal or success";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(caller.path), {}), 1)
      << "nothing but stderr is written in the folder the game was started from";
  return caller.read("stderr");
}

}  // namespace

TEST(Startup, WithoutADisplayFailsAtOnceWithAMessage) {
  TempFolder folder;
  const auto start = std::chrono::steady_clock::now();
  const std::string errors = RunWithoutDisplay(folder.path / "game");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  EXPECT_NE(errors.find("X display"), std::string::npos) << errors;
  EXPECT_NE(folder.read("game/System.log").find("Cannot open the X display"), std::string::npos);
}

// 300 characters of folders: the records cannot hold it, so nothing may be named from it.
TEST(Startup, AFolderPathOf260CharactersOrMoreIsRefused) {
  TempFolder folder;
  std::filesystem::path deep = folder.path;
  while (deep.string().size() < 300) deep /= std::string(40, 'd');
  const bool rootHadSave = std::filesystem::exists("/last_played.track");
  const std::string errors = RunWithoutDisplay(deep);
  EXPECT_NE(errors.find("shorter than 260 characters"), std::string::npos) << errors;
  const std::string logged = folder.read(std::filesystem::relative(deep / "System.log", folder.path));
  EXPECT_NE(logged.find("shorter than 260 characters"), std::string::npos) << logged;
  std::set<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(deep)) files.insert(entry.path().filename());
  EXPECT_EQ(files, (std::set<std::string>{"System.log", "config.cfg", "velmora"}));
  EXPECT_EQ(std::filesystem::exists("/last_played.track"), rootHadSave) << "nothing is saved at the root";
  EXPECT_FALSE(std::filesystem::exists("/System.log"));
}

// With no vsync to wait on (Xvfb has none), an idle screen would draw as fast as it can
// (some 900 frames a second) and keep a core busy (well over one with Mesa's threads); the frame
// cap holds it to 120 frames and a small share of one core. The frame rate the game logs every
// 1000 frames cannot rise with the machine's load, so it is checked exactly; the processor time
// can, so its bound is generous, and sanitizer builds, whose every call costs several times
// more, are spared it. Closing the window then ends the game cleanly, its log in order.
TEST(Startup, IdleGameUsesLittleProcessorTimeAndShutsDownCleanlyWhenClosed) {
  RunningGame game;
  ASSERT_TRUE(game.started(1000)) << game.folder.read("System.log");
  const double before = CpuSeconds(game.pid);
  const auto start = std::chrono::steady_clock::now();
  Sleep(10000);
  const double cpu = CpuSeconds(game.pid) - before;
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("idle main menu: %.2f s of processor time in %.2f s (%.0f%% of a core)\n", cpu, wall,
              100 * cpu / wall);
  EXPECT_GE(before, 0) << "the game's /proc entry is readable";
  EXPECT_EQ(game.stopWith(SIGTERM), 0) << "closing the window ends the game with code 0";
  const std::string log = game.folder.read("System.log");
#if !defined(VELMORA_SANITIZE)
  EXPECT_LE(cpu / wall, 0.5) << log;
#endif
  EXPECT_NE(log.find("frames capped at 120 per second"), std::string::npos) << log;
  ExpectInOrder(log, {
      "Log started: ", "Exec folder:", "-----------exec config.cfg-----------", "set to windowed",
      "width set to 1024", "height set to 768", "vsync enabled", "------------config ok-------------",
      "Main window created,*#,with handle ", "--------Startup--------", "OGL version: ", "Renderer: ",
      "-------startup OK------", "init started", "Initializing resource manager", "Application activated!",
      "--------Shutdown-------", "Graph deinitialized", "------shutdown ok------"});
  EXPECT_EQ(log.find("ERROR!"), std::string::npos) << log;
  const size_t fps = log.rfind("FPS ");
  ASSERT_NE(fps, std::string::npos) << "1000 frames drawn in 11 s" << log;
  EXPECT_LE(std::stod(log.substr(fps + 4)), 121.0) << log;
}

// The real path: X pointer and key events through the server, into the game's focused window.
// The pointer moves by warps, as the game's own slider moves it: they make no device events, so
// only a reading straight from the server follows them.
struct RealInput {
  Display* display = XOpenDisplay(nullptr);
  Window main = 0;                                // the game's window
  explicit RealInput(const RunningGame& game) {
    const std::string log = game.folder.read("System.log");
    const size_t handle = log.find("with handle ");
    if (!display || handle == std::string::npos) return;
    main = Window(std::stoul(log.substr(handle + 12)));
    XSetInputFocus(display, main, RevertToParent, CurrentTime);
  }
  ~RealInput() {
    if (display) XCloseDisplay(display);
  }
  void pause(int ms) { XFlush(display), Sleep(ms); }
  void warp(int x, int y, int ms = 30) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    pause(ms);
  }
  void button(unsigned number, bool down) {
    XTestFakeButtonEvent(display, number, down, CurrentTime);
    pause(100);
  }
  // Presses `number` at the path's first point, moves through the others and lets go at the last.
  void drag(unsigned number, std::initializer_list<std::pair<int, int>> path) {
    warp(path.begin()->first, path.begin()->second, 100);
    button(number, true);
    for (auto [x, y] : path) warp(x, y, 100);
    button(number, false);
  }
  // The window titled title other than `other`, focused once it shows, or 0.
  Window focusOn(const char* title, Window other = 0) {
    // A window may close between the listing and the reading of its name: ignore that error.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    const Window window = AwaitWindow(display, title, other);
    if (!window) return 0;
    pause(500);                                   // mapped, sized and focused
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    return window;
  }
  void click(int x, int y) {
    warp(x, y, 100);
    button(1, true);
    button(1, false);
    pause(200);
  }
  void key(KeySym symbol, KeySym modifier = NoSymbol) {
    const KeyCode code = XKeysymToKeycode(display, symbol);
    const KeyCode held = modifier == NoSymbol ? 0 : XKeysymToKeycode(display, modifier);
    if (held) XTestFakeKeyEvent(display, held, True, CurrentTime), pause(50);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    pause(100);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    if (held) pause(50), XTestFakeKeyEvent(display, held, False, CurrentTime);
    pause(200);
  }
};

// The track a game left behind when it ended.
bool ReadLastTrack(const RunningGame& game, TrackFileContent* content) {
  const std::string saved = game.folder.read("last_played.track");
  return ParseTrackFile(reinterpret_cast<const uint8_t*>(saved.data()), saved.size(), false, content) ==
         FileLoad::Loaded;
}

// The window's pixels, read from the server, and counts over boxes of them (X coordinates).
struct Shot {
  XImage* image = nullptr;
  explicit Shot(const RealInput& input) {
    image = XGetImage(input.display, DefaultRootWindow(input.display), 0, 0, 1024, 768, AllPlanes, ZPixmap);
  }
  ~Shot() {
    if (image) XDestroyImage(image);
  }
  template <typename Wanted>
  int count(int x0, int y0, int x1, int y1, Wanted wanted) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        n += wanted(int(p >> 16 & 255), int(p >> 8 & 255), int(p & 255));
      }
    return n;
  }
  int differences(const Shot& other, int x0, int y0, int x1, int y1) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += XGetPixel(image, x, y) != XGetPixel(other.image, x, y);
    return n;
  }
};

bool Orange(int r, int g, int b) { return r > 230 && g > 70 && g < 130 && b < 40; }

// The count of the box's pixels that pass, once it is above least or 10 s have gone by: a loaded
// machine may take a while to draw a screen's first frames.
template <typename Wanted>
int AwaitCount(const RealInput& input, int x0, int y0, int x1, int y1, Wanted wanted, int least) {
  int n = 0;
  for (int tries = 0; tries < 100 && (n = Shot(input).count(x0, y0, x1, y1, wanted)) <= least; ++tries) Sleep(100);
  return n;
}
bool Dark(int r, int g, int b) { return r < 90 && g < 90 && b < 90; }

// Where the buttons are on the 1024 x 768 window (X coordinates, y down): the menus' column, the
// rows of NEW GAME, CONTINUE, EDIT RIDER (in-game menu) and EXIT (in-game menu), NEXT, and the
// chooser's second entry.
constexpr int kMenuX = 512, kNewGameY = 264, kContinueY = 304, kGameEditRiderY = 344, kGameExitY = 504;
constexpr int kNextX = 900, kNextY = 21, kSecondRiderX = 120, kSecondRiderY = 90;
constexpr int kTimelineStartX = 266, kTimelineY = 754;  // the timeline groove's left end
constexpr int kSaveX = 67, kSaveY = 422;                // the track toolbar's save button

// A new player's whole road with real X input: NEW GAME, a rider picked, NEXT past the
// explanation, a line drawn (and a stroke taken back with Ctrl+Z), the line ridden, the
// timeline back to the start, Escape, EDIT RIDER past its explanation, two points added
// and test-ridden, EXIT; then a new start, where CONTINUE brings the track and the rider back.
// Each screen is recognised by its pixels; the files by their content.
TEST(Startup, ANewPlayersWholeRoad) {
  RunningGame game(true);
  ASSERT_TRUE(game.started()) << game.folder.read("System.log");
  {
    RealInput input(game);
    ASSERT_NE(input.display, nullptr);
    input.warp(10, 700, 300);
    EXPECT_GT(AwaitCount(input, 300, 240, 720, 290, Orange, 500), 500) << "the main menu";
    input.click(kMenuX, kNewGameY);
    EXPECT_GT(AwaitCount(input, 0, 0, 210, 40, Orange, 300), 300) << "the chooser";
    input.click(kSecondRiderX, kSecondRiderY);
    input.click(kNextX, kNextY);
    EXPECT_GT(AwaitCount(input, 270, 140, 550, 175, Orange, 500), 500) << "the track explanation";
    input.click(kNextX, kNextY);
    EXPECT_GT(AwaitCount(input, 25, 122, 80, 140, Dark, 300), 300) << "the track screen's toolbar";
    input.drag(3, {{300, 560}, {900, 620}});
    input.drag(1, {{400, 250}, {600, 200}});      // a second stroke, taken back with Ctrl+Z
    input.key(XK_z, XK_Control_L);
    // Saved through the real dialog: its message shows in the corner.
    EXPECT_LT(Shot(input).count(600, 680, 1024, 738, Orange), 20) << "no message before the save";
    input.click(kSaveX, kSaveY);
    const Window dialog = input.focusOn("SAVE track");
    ASSERT_NE(dialog, 0u) << "no save dialog";
    for (KeySym key : {XK_h, XK_i, XK_l, XK_l}) input.key(key);
    for (int i = 0; i < 10 && FindWindow(input.display, "SAVE track") == dialog; ++i) input.key(XK_Return);
    EXPECT_GT(AwaitCount(input, 600, 680, 1024, 738, Orange, 200), 200) << "the save's message";
    EXPECT_TRUE(std::filesystem::exists(game.folder.file("hill.track")));
    input.warp(kTimelineStartX, kTimelineY, 200);
    const Shot still(input);
    input.key(XK_space);
    XTestFakeKeyEvent(input.display, XKeysymToKeycode(input.display, XK_space), True, CurrentTime);
    input.pause(1500);
    XTestFakeKeyEvent(input.display, XKeysymToKeycode(input.display, XK_space), False, CurrentTime);
    input.pause(200);
    EXPECT_GT(Shot(input).differences(still, 150, 100, 1024, 720), 500) << "the rider rode";
    // Dragging the timeline to its start shows the rider where the ride began, drawn as it was.
    input.drag(1, {{kTimelineStartX + 300, kTimelineY}, {kTimelineStartX + 150, kTimelineY},
                   {kTimelineStartX, kTimelineY}});
    EXPECT_LE(Shot(input).differences(still, 150, 100, 1024, 720), 10) << "the rider back at step 0";
    input.key(XK_Escape);
    input.click(kMenuX, kGameEditRiderY);
    input.click(kNextX, kNextY);
    EXPECT_GT(AwaitCount(input, 25, 122, 270, 140, Dark, 1500), 1500) << "the rider editor's toolbar";
    input.drag(3, {{700, 150}, {800, 120}, {850, 100}});
    input.key(XK_space);
    input.key(XK_Escape);
    input.click(kMenuX, kGameExitY);
  }
  EXPECT_EQ(game.stopWith(0), 0) << game.folder.read("System.log");
  CurrentRider shipped, ridden;
  ASSERT_EQ(LoadRider(shipped, (std::string(VELMORA_SOURCE_DIR) + "/riders/pogo.rider").c_str()), FileLoad::Loaded);
  ASSERT_EQ(LoadRider(ridden, game.folder.file("riders/temp_rider.rider").c_str()), FileLoad::Loaded);
  EXPECT_EQ(ridden.snapshot.points.size(), shipped.snapshot.points.size() + 2);
  TrackFileContent content;
  ASSERT_TRUE(ReadLastTrack(game, &content));
  EXPECT_EQ(content.solids.size(), 1u) << "the line drawn, not the stroke taken back";
  EXPECT_STREQ(content.riderName, "riders\\pogo.rider") << "the rider's own file, never the test ride's";

  game.restart();
  ASSERT_TRUE(game.started()) << game.folder.read("System.log");
  {
    RealInput input(game);
    input.click(kMenuX, kContinueY);
    input.warp(10, 700, 300);
    EXPECT_GT(AwaitCount(input, 300, 500, 900, 680, Dark, 300), 300) << "the line is back";
  }
  EXPECT_EQ(game.stopWith(SIGTERM), 0);
  ExpectInOrder(game.folder.read("System.log"),
                {"Loading track:", "last_played.track", "Loading rider:", "riders\\pogo.rider"});
}

// Killed in the middle of a stroke, the game offers its autosave at the next start; Enter takes
// it, and the line drawn well before the kill is back.
TEST(Startup, AfterAKillTheNextStartOffersTheAutosave) {
  RunningGame game(true);
  ASSERT_TRUE(game.started()) << game.folder.read("System.log");
  {
    RealInput input(game);
    ASSERT_NE(input.display, nullptr);
    input.click(kMenuX, kNewGameY);
    input.click(kNextX, kNextY);
    input.click(kNextX, kNextY);
    EXPECT_GT(AwaitCount(input, 25, 122, 80, 140, Dark, 300), 300) << "the track screen's toolbar";
    input.drag(3, {{300, 560}, {900, 620}});
    ASSERT_TRUE(game.awaitLog("Autosaved:", 15)) << game.folder.read("System.log");
    input.warp(300, 300, 100);
    input.button(3, true);
    input.warp(600, 250, 100);
  }
  EXPECT_EQ(game.stopWith(SIGKILL), -1000 - SIGKILL);

  game.restart();
  ASSERT_TRUE(game.awaitLog("did not end cleanly", 20)) << game.folder.read("System.log");
  {
    RealInput input(game);
    ASSERT_NE(input.display, nullptr);
    ASSERT_NE(input.focusOn("Velmora", input.main), 0u) << "no question shown";
    input.key(XK_Return);
  }
  EXPECT_TRUE(game.awaitLog("Autosave restored:", 10)) << game.folder.read("System.log");
  EXPECT_TRUE(game.started(200));
  EXPECT_EQ(game.stopWith(SIGTERM), 0);
  TrackFileContent content;
  ASSERT_TRUE(ReadLastTrack(game, &content));
  ASSERT_EQ(content.solids.size(), 1u) << "the line drawn before the autosave, not the stroke cut by the kill";
  EXPECT_GT(content.solids[0].x2 - content.solids[0].x1, 500.0f);
}

TEST(Startup, AProcessorFaultIsLoggedByNameAndEndsWith255) {
#ifdef VELMORA_SANITIZE
  GTEST_SKIP() << "under the sanitizers their own handler reports faults";
#endif
  RunningGame game;
  ASSERT_TRUE(game.started(200));
  EXPECT_EQ(game.stopWith(SIGSEGV), 255);
  ExpectInOrder(game.folder.read("System.log"), {"EXCEPTION_ACCESS_VIOLATION", "ERROR!", "Exception!"});
  EXPECT_FALSE(std::filesystem::exists(game.folder.file("last_played.track")))
      << "after a fault nothing is saved over the player's last track";
}
