#include "shell/app.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/platform.h"
#include "platform/window.h"
#include "shell/config.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/exit.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"

constexpr int kWarmUpSteps = 40;                  // steps 0..40 only feed input and clear
constexpr int kMaxStepsPerFrame = 10;
constexpr int kStepMs = 10;
constexpr int32_t kLongestFrameMs = 1000;         // a stalled or backwards clock counts as this
constexpr int kUnknownRefreshCap = 120;           // frames per second when the display's refresh is unknown

// The frame: set at start, flags changed by the loop; never reset.
static struct {
  GameCalls game;
  bool active = false;
  bool graphicsReady = false;
  bool cursorVisible = true;
  FrameDriver driver;
  FramePacer pacer;
} app;

// ---- Frame driver ----

void RunFrame(FrameDriver& driver, uint32_t now, const FrameCalls& calls) {
  if (!driver.started) driver.firstFrameTime = now;
  ++driver.totalFrames;
  if (++driver.framesSinceLog > 1000) {
    Log("FPS %7.2f", driver.totalFrames * 1000.0 / (double(uint32_t(now - driver.firstFrameTime)) + 1));
    driver.framesSinceLog = 0;
  }
  if (!driver.started) {
    driver.lastTime = now;
    driver.started = true;
  }
  int32_t elapsed = int32_t(now - driver.lastTime);
  if (elapsed < 0 || elapsed > kLongestFrameMs) elapsed = kLongestFrameMs;
  driver.accumulator += elapsed;
  driver.lastTime = now;
  int steps = driver.accumulator / kStepMs;
  driver.accumulator %= kStepMs;
  if (steps > kMaxStepsPerFrame) steps = kMaxStepsPerFrame;
  for (int i = 0; i < steps; ++i) {
    calls.refreshInput();
    if (calls.handShownFps) calls.handShownFps(driver.shownFps);
    if (driver.stepCount > kWarmUpSteps) calls.update();
    if (driver.stepCount % 100 == 0 && driver.framesSinceDisplay > 0) {
      driver.shownFps = driver.framesSinceDisplay;
      driver.framesSinceDisplay = 0;
    }
    ++driver.stepCount;
  }
  if (driver.stepCount > kWarmUpSteps) calls.render();
  else calls.clear();
  ++driver.framesSinceDisplay;
}

// ---- Frame pacing ----

// A frame more than the display shows is work nobody sees: without a working vsync the loop
// would draw hundreds of frames a second and keep a core busy. The eighth above the refresh
// keeps the pacer's deadline ahead of a working vsync's, so the two never line up and skip
// every other refresh; the fixed 10 ms step is untouched, as steps follow the clock.
int ChooseFrameRate(int configured, int refreshHz) {
  if (configured > 0) return configured;
  if (refreshHz <= 0) return kUnknownRefreshCap;
  return refreshHz + (refreshHz + 7) / 8;
}

FramePacer MakeFramePacer(int framesPerSecond) {
  FramePacer pacer;
  pacer.periodUs = uint32_t(1000000 / framesPerSecond);
  return pacer;
}

// Frames start on a fixed schedule while they are on time, so the rate is exactly the cap
// whatever the sleep overshoots; a late frame starts the schedule again from now rather than
// running the missed frames back to back.
uint32_t FrameWait(FramePacer& pacer, uint32_t nowUs) {
  const int32_t ahead = pacer.started ? int32_t(pacer.nextFrameUs - nowUs) : 0;
  pacer.started = true;
  if (ahead > 0 && uint32_t(ahead) <= pacer.periodUs) {
    pacer.nextFrameUs += pacer.periodUs;
    return uint32_t(ahead);
  }
  pacer.nextFrameUs = nowUs + pacer.periodUs;
  return 0;
}

static void StartFramePacing() {
  const int refresh = PlatformRefreshRate();
  const int cap = ChooseFrameRate(FrameRateCap(), refresh);
  app.pacer = MakeFramePacer(cap);
  Log("frames capped at %d per second (display refresh %d Hz)", cap, refresh);
}

static void WaitForNextFrame() {
  const uint32_t wait = FrameWait(app.pacer, Platform().clock(1000000));
  if (wait > 0) std::this_thread::sleep_for(std::chrono::microseconds(wait));
}

static void DriveFrame() {
  static const FrameCalls calls{RefreshInput, app.game.handShownFps, app.game.update, app.game.render,
                                app.game.clearScreen};
  RunFrame(app.driver, Platform().clock(1000), calls);
}

// ---- Graphics up and down ----

static void TakeGraphicsDown() {
  if (app.game.forgetTextures) app.game.forgetTextures();
  if (app.game.releaseDevice) app.game.releaseDevice();
}

static void BringGraphicsUp() {
  if (!app.game.createDevice || !app.game.createDevice()) Fatal("can not init graph");
  if (app.game.clearToBlack) app.game.clearToBlack();
  ResetInput();
}

static void Startup() {
  Log("%s", "");  // an empty separator line
  Log("--------Startup--------");
  app.cursorVisible = true;
  app.graphicsReady = true;
  BringGraphicsUp();
  app.cursorVisible = false;
  PlatformShowCursor(false);
  Log("-------startup OK------");
}

static void ReleaseGameDevice() {
  if (app.game.releaseDevice) app.game.releaseDevice();
}

static void Shutdown() {
  Log("%s", "");  // an empty separator line
  Log("--------Shutdown-------");
  if (app.graphicsReady) {
    TakeGraphicsDown();
    app.graphicsReady = false;
  }
  if (PlatformHasWindow()) PlatformDestroyWindow();
  Log("------shutdown ok------");
}

static void Refresh() {
  Log("%s", "");  // an empty separator line
  Log("--------refresh--------");
  TakeGraphicsDown();
  BringGraphicsUp();
  Log("-------Refresh ok------");
}

// ---- Entry point ----

// Every file the game reads or writes, the exit save included, is named from the game's folders
// (shell/paths.h): a folder the records cannot hold (kMaxPath), a player folder that is unknown
// (no HOME) or cannot be made would send them to the filesystem root, the caller's folder or the
// install, so the game refuses to start. The player folder becomes the current folder, where the
// log goes; the box, without a display, goes to stderr.
static void EnterPlayerFolder() {
  const std::string program = PlatformExecutablePath();
  if (ChooseGameFolders(program.c_str()) && MakePlayerFolders() && PlatformChangeDirectory(PlayerFolder())) return;
  const size_t slash = program.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : program.substr(0, slash);
  const bool tooLong = !ExecFolder()[0];
  const std::string text =
      tooLong ? "Cannot start from the folder " + folder + " (" + std::to_string(folder.size()) +
                    " characters): the game's folder must be shorter than " + std::to_string(kMaxPath) +
                    " characters. Move the game to a shorter path."
      : PlayerFolder()[0] ? std::string("Cannot make the folder ") + PlayerFolder() + " for the game's files."
                          : "Cannot find a folder for the game's files: set HOME or XDG_DATA_HOME.";
  // A build or a portable copy keeps its log beside the program; an install never writes there.
  if (tooLong && !folder.empty() && PlatformChangeDirectory(folder.c_str())) {
    OpenLog();
    Log("%s", text.c_str());
    CloseLog();
  }
  PlatformStartVideo();  // the box shows on the display when there is one, else on stderr
  Platform().messageBox("Velmora", text.c_str());
  ExitGame(1);
}

static int MessageLoop() {
  app.active = true;
  Log("Application activated!");
  for (;;) {
    switch (PlatformNextEvent(!app.active)) {
      case PlatformEvent::Empty:
        if (app.active && app.graphicsReady) {
          try {
            DriveFrame();
          } catch (...) {
            Fatal("Exception!");
          }
          if (app.game.present) app.game.present();
          WaitForNextFrame();
        }
        break;
      case PlatformEvent::Destroy:
        app.active = false;
        return 0;
      case PlatformEvent::Activate:
        app.active = true;
        app.cursorVisible = false;
        PlatformShowCursor(false);
        if (app.graphicsReady) Refresh();
        break;
      case PlatformEvent::Deactivate:
        app.active = false;
        app.cursorVisible = true;
        PlatformShowCursor(true);
        break;
      case PlatformEvent::PaintBeforeReady:
        if (!app.graphicsReady) PlatformDrawLoadingText();
        break;
      case PlatformEvent::Other:
        break;
    }
  }
}

void RunGame(const GameCalls& game) {
  app.game = game;
  SetExitSave(game.saveAtExit);
  SetDialogGraphicsSwitch(
      [] {
        if (!app.graphicsReady) return false;
        TakeGraphicsDown();
        return true;
      },
      BringGraphicsUp);
  // A fault may strike inside the allocator, stdio or the window system with their locks held:
  // only the log hears of it, by write(2), and no exit handler or save runs.
  PlatformCatchFaults(LogFault);
  EnterPlayerFolder();
  AddExitHandler(CloseLog);
  OpenLog();
  Log("Log started: %s", LogDate());
  Log("Exec folder:%s\n", ExecFolder());
  Log("Data folder:%s", DataFolder());
  Log("Player folder:%s", PlayerFolder());
  if (!PlatformStartVideo()) {
    Platform().messageBox("Velmora", "Cannot open the X display: start the game from an X session, with DISPLAY set.");
    Fatal("Cannot open the X display");
  }
  ReadConfig();
  if (!PlatformCreateWindow("Velmora", ScreenWidth(), ScreenHeight(), ColourDepth(), Borderless() || Fullscreen()))
    Fatal("Cannot create window");
  Log("Main window created,*#,with handle %d", int(PlatformWindowId()));
  AddExitHandler(Shutdown);
  StartFramePacing();
  Startup();
  Log("init started");
  if (app.game.start) app.game.start();
  AddExitHandler(ReleaseGameDevice);
  ExitGame(MessageLoop());
}
