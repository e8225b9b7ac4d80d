// The application frame: start-up, the message loop, the fixed-step frame driver and the
// screen state machine. A screen is a pair of plain functions: update per 10 ms step,
// render per drawn frame.
#pragma once
#include <cstdint>

using ScreenFunction = void (*)();
using SwitchFunction = int (*)();                 // installs a screen pair, returns 0

struct Screen {
  ScreenFunction update = nullptr;
  ScreenFunction render = nullptr;
};

// The screens the game is made of; subsystems above the shell fill them in at start (before
// the first frame) through SetScreen. Unset pairs are empty screens.
enum class ScreenId { MainMenu, InGameMenu, RiderChooser, Track, RiderEditor, TrackExplanation,
                      RiderExplanation, Count };
void SetScreen(ScreenId id, Screen screen);
// Hooks the switch functions run on the way (sprite slot 15 from the rider in use, the chooser's
// rider list); each may be null.
struct SwitchHooks {
  void (*beforeTrackScreen)() = nullptr;
  void (*beforeRiderEditor)() = nullptr;
  void (*afterRiderChooser)() = nullptr;
  void (*handShownFps)(int fps) = nullptr;        // per step, to the track world
};
// The graphics device as the frame sees it (the graphics layer fills these in).
struct GraphicsCalls {
  bool (*createDevice)() = nullptr;
  void (*releaseDevice)() = nullptr;
  void (*forgetTextures)() = nullptr;             // mark every sprite slot not loaded
  void (*clearToBlack)() = nullptr;
  void (*clearScreen)() = nullptr;
  void (*present)() = nullptr;
};
void SetGraphicsCalls(const GraphicsCalls& calls);
void SetSwitchHooks(const SwitchHooks& hooks);
// The game initialisation: runs once after the device is up (sprite table, screen initialisers).
void SetGameInit(void (*init)());

int ToMainMenu();
int ToInGameMenu();
int ToRiderChooser();
int ToTrackScreen();
int ToRiderEditor();
int ToTrackScreenExplained();                     // explanation screen on the first call of a run
int ToRiderEditorExplained();
Screen CurrentScreen();

// Frame driver arithmetic, separate from the clock so it can be driven by a fake one.
struct FrameDriver {
  int32_t stepCount = 0;                          // steps since start, never reset
  int32_t framesSinceDisplay = 0;
  int32_t shownFps = 0;
  int32_t accumulator = 0;                        // ms not yet consumed (below 10 after a frame)
  uint32_t lastTime = 0;
  uint32_t firstFrameTime = 0;
  uint32_t totalFrames = 0;
  uint32_t framesSinceLog = 0;
  bool started = false;
};
// What a frame calls; the real game passes the input refresh, the screen stubs and the clear.
struct FrameCalls {
  void (*refreshInput)();
  void (*handShownFps)(int fps);                  // may be null
  void (*update)();
  void (*render)();
  void (*clear)();
};
// One drawn frame at clock reading now (ms): steps, updates, render or clear.
void RunFrame(FrameDriver& driver, uint32_t now, const FrameCalls& calls);

// Exit: handlers run in reverse order of registration, then (on a clean exit only) the
// exit-time saves. A crash or Fatal skips the saves so a good file is never overwritten.
void AddExitHandler(void (*handler)());
void AddExitSave(void (*save)());
[[noreturn]] void ExitGame(int code);             // code -1 leaves the process with status 255
[[noreturn]] void Quit();                         // "Quit" in the log, exit code 0
void Startup();                                   // brings the graphics up
void Shutdown();                                  // takes them down, destroys the window
void Refresh();                                   // after a return to the foreground
void TakeGraphicsDown();
void BringGraphicsUp();                           // Fatal "can not init graph" on failure
bool GraphicsReady();
[[noreturn]] void RunGame();                    // the entry point's whole work
