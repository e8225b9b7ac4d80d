// The application frame: start-up, the message loop and the fixed-step frame driver. What a
// step and a frame do is the game's (GameCalls): the frame only counts time and calls it.
#pragma once
#include <cstdint>
#include <functional>

#include "shell/exit.h"

// The game as the frame sees it: the layers above fill this in and hand it to RunGame.
struct GameCalls {
  std::function<bool()> createDevice;             // false: "can not init graph"
  std::function<void()> releaseDevice;
  std::function<void()> forgetTextures;           // mark every sprite slot not loaded
  std::function<void()> clearToBlack;
  std::function<void()> clearScreen;
  std::function<void()> present;
  std::function<void()> start;                    // once after the device is up: the game's own start-up
  std::function<void()> update;                   // one 10 ms step of the current screen
  std::function<void()> render;                   // one frame of the current screen
  std::function<void(int fps)> handShownFps;      // per step, the frame rate to show
  std::function<void()> saveAtExit;               // on a clean exit only
};

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
  std::function<void()> refreshInput;
  std::function<void(int fps)> handShownFps;      // may be empty
  std::function<void()> update;
  std::function<void()> render;
  std::function<void()> clear;
};
// One drawn frame at clock reading now (ms): steps, updates, render or clear.
void RunFrame(FrameDriver& driver, uint32_t now, const FrameCalls& calls);

// Frame pacing: frames start at most framesPerSecond times a second. A present that waited for
// the display (working vsync) already spent the frame's time, and the pacer then waits no more.
struct FramePacer {
  uint32_t periodUs = 0;                          // 1000000 / frames per second
  uint32_t nextFrameUs = 0;                       // clock reading (us) the next frame may start at
  bool started = false;
};
// The cap in frames per second: configured (max_fps) when set, else refreshHz plus an eighth,
// else 120 when the refresh is unknown (refreshHz <= 0).
int ChooseFrameRate(int configured, int refreshHz);
FramePacer MakeFramePacer(int framesPerSecond);   // framesPerSecond >= 1
// After a frame is presented at clock reading nowUs (us, wrapping): how long to wait (us) before
// the next frame starts; 0 when this frame already took its period or longer.
uint32_t FrameWait(FramePacer& pacer, uint32_t nowUs);

[[noreturn]] void RunGame(const GameCalls& game);  // the entry point's whole work
