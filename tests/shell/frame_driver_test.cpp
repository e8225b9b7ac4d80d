#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <utility>

#include "shell/app.h"

namespace {

// Counts what a frame called, in place of the input, the screens and the device.
struct Calls {
  int refreshes = 0, updates = 0, renders = 0, clears = 0, lastFps = -1;
} calls;

FrameCalls Counting() {
  calls = {};
  return {[] { ++calls.refreshes; }, [](int fps) { calls.lastFps = fps; }, [] { ++calls.updates; },
          [] { ++calls.renders; }, [] { ++calls.clears; }};
}

}  // namespace

TEST(FrameDriver, TurnsMillisecondsIntoCappedSteps) {
  FrameDriver driver;
  FrameCalls frame = Counting();
  RunFrame(driver, 5000, frame);
  EXPECT_EQ(driver.stepCount, 0) << "the first frame only sets the clock";
  RunFrame(driver, 5025, frame);
  EXPECT_EQ(std::pair(driver.stepCount, driver.accumulator), std::pair(2, 5));
  RunFrame(driver, 5032, frame);
  EXPECT_EQ(std::pair(driver.stepCount, driver.accumulator), std::pair(3, 2));
  RunFrame(driver, 5532, frame);
  EXPECT_EQ(std::tuple(driver.stepCount, driver.accumulator, calls.refreshes), std::tuple(13, 2, 13))
      << "500 ms run exactly 10 steps, only the remainder below 10 ms is kept, input is refreshed every step";

  // A clock that jumps backwards or stalls for minutes counts as one long frame, not as
  // billions of milliseconds or a negative remainder.
  for (uint32_t now : {4000u, 4000u + 600000u}) {
    RunFrame(driver, now, frame);
    EXPECT_EQ(driver.stepCount, now == 4000 ? 23 : 33);
    EXPECT_TRUE(driver.accumulator >= 0 && driver.accumulator < 10) << driver.accumulator;
  }
}

TEST(FrameDriver, WarmUpClearsUntilStep41ThenUpdatesAndRenders) {
  FrameDriver driver;
  FrameCalls frame = Counting();
  uint32_t now = 100;
  RunFrame(driver, now, frame);
  while (driver.stepCount < 41) {
    EXPECT_EQ(calls.updates + calls.renders, 0);
    now += 10;
    RunFrame(driver, now, frame);
  }
  // Steps 0..40 never update, the first frame and those of steps 0..39 only clear, then it renders.
  EXPECT_EQ(std::tuple(calls.updates, calls.clears, calls.renders), std::tuple(0, 41, 1));
  now += 10;
  RunFrame(driver, now, frame);
  EXPECT_EQ(std::pair(calls.updates, calls.renders), std::pair(1, 2)) << "the 42nd step is the first to update";
  RunFrame(driver, now, frame);
  EXPECT_EQ(std::pair(calls.updates, calls.renders), std::pair(1, 3)) << "a frame without a step still renders";
}

TEST(FrameDriver, ShownFpsIsFramesBetweenHundredSteps) {
  FrameDriver driver;
  FrameCalls frame = Counting();
  uint32_t now = 0;
  RunFrame(driver, now, frame);
  RunFrame(driver, now += 5, frame);
  EXPECT_EQ(driver.shownFps, 0) << "0 until the first step that is a multiple of 100";
  RunFrame(driver, now += 5, frame);
  EXPECT_EQ(std::pair(driver.stepCount, driver.shownFps), std::pair(1, 2)) << "step 0 shows the two frames before it";
  // Two frames per step from here on: 10 ms steps, a frame every 5 ms.
  while (driver.stepCount <= 100) {
    EXPECT_EQ(driver.shownFps, 2);
    RunFrame(driver, now += 5, frame);
  }
  EXPECT_EQ(driver.shownFps, 200) << "frames drawn between step 0 and step 100";
  EXPECT_EQ(calls.lastFps, 2) << "step 100 was handed the value shown before it";
  RunFrame(driver, now += 10, frame);
  EXPECT_EQ(calls.lastFps, 200);
}

// The message loop on a fake clock for 10 s: a frame's update and drawing take workUs, a working
// vsync returns the present at the next refresh (refreshUs > 0), a sleep overshoots by 80 us, and
// the microsecond clock wraps midway. Returns frames drawn, frames held, steps run and the whole
// 10 ms periods between the first frame and the last.
static std::array<int64_t, 4> RunPaced(int framesPerSecond, uint32_t workUs, uint32_t refreshUs) {
  FrameDriver driver;
  FramePacer pacer = MakeFramePacer(framesPerSecond);
  FrameCalls frame = Counting();
  int64_t frames = 0, waits = 0, elapsed = 0, lastFrame = 0;
  for (; elapsed < 10000000; ++frames) {
    lastFrame = elapsed;
    RunFrame(driver, uint32_t(elapsed / 1000), frame);
    elapsed += workUs;
    if (refreshUs) elapsed = (elapsed / refreshUs + 1) * refreshUs;
    if (uint32_t wait = FrameWait(pacer, uint32_t(0xFFFFFFFFu - 5000000u + elapsed))) {
      elapsed += wait + 80;
      ++waits;
    }
  }
  return {frames, waits, driver.stepCount, lastFrame / 10000};
}

TEST(FramePacing, CapsFramesKeepsStepsAndLeavesVsyncAlone) {
  EXPECT_EQ(ChooseFrameRate(0, 0), 120) << "unknown refresh";
  EXPECT_EQ(ChooseFrameRate(0, 60), 68) << "the refresh and an eighth";
  EXPECT_EQ(ChooseFrameRate(90, 60), 90) << "max_fps wins";
  struct Case {
    int cap;
    uint32_t workUs, refreshUs;
    int frames;                                   // in 10 s, within 2 (the first frame is not held)
    bool held;
  } cases[] = {
      {120, 1000, 0, 1200, true},                 // vsync off, a light frame: held to the cap
      {68, 300, 0, 680, true},
      {68, 1000, 16667, 600, false},              // a working vsync sets the pace alone
      {120, 20000, 0, 500, false},                // frames slower than the cap are never held
  };
  for (const Case& c : cases) {
    const auto [frames, waits, steps, periods] = RunPaced(c.cap, c.workUs, c.refreshUs);
    EXPECT_NEAR(frames, c.frames, 2) << c.cap << " fps, " << c.workUs << " us";
    EXPECT_EQ(waits > 0, c.held) << c.cap << " fps, " << c.workUs << " us";
    EXPECT_EQ(steps, periods) << "one step per 10 ms whatever the pace";
  }
}
