#include <gtest/gtest.h>

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
  EXPECT_EQ(driver.stepCount, 13) << "500 ms run exactly 10 steps";
  EXPECT_EQ(driver.accumulator, 2) << "only the remainder below 10 ms is kept";
  EXPECT_EQ(calls.refreshes, 13) << "input is refreshed every step";

  // A clock that jumps backwards or stalls for minutes counts as one long frame, not as
  // billions of milliseconds or a negative remainder.
  RunFrame(driver, 4000, frame);
  EXPECT_EQ(driver.stepCount, 23);
  EXPECT_GE(driver.accumulator, 0);
  EXPECT_LT(driver.accumulator, 10);
  RunFrame(driver, 4000 + 600000, frame);
  EXPECT_EQ(driver.stepCount, 33);
  EXPECT_LT(driver.accumulator, 10);
}

TEST(FrameDriver, WarmUpClearsUntilStep41ThenUpdatesAndRenders) {
  FrameDriver driver;
  FrameCalls frame = Counting();
  uint32_t now = 100;
  RunFrame(driver, now, frame);
  while (driver.stepCount < 41) {
    EXPECT_EQ(calls.updates, 0);
    EXPECT_EQ(calls.renders, 0);
    now += 10;
    RunFrame(driver, now, frame);
  }
  EXPECT_EQ(calls.updates, 0) << "steps 0..40 never update";
  EXPECT_EQ(calls.clears, 41) << "the first frame and the frames of steps 0..39 only clear";
  EXPECT_EQ(calls.renders, 1) << "once 41 steps have run, the frame renders";
  now += 10;
  RunFrame(driver, now, frame);
  EXPECT_EQ(calls.updates, 1) << "the 42nd step is the first to update";
  EXPECT_EQ(calls.renders, 2);
  RunFrame(driver, now, frame);
  EXPECT_EQ(calls.updates, 1) << "a frame without a step still renders";
  EXPECT_EQ(calls.renders, 3);
}

TEST(FrameDriver, ShownFpsIsFramesBetweenHundredSteps) {
  FrameDriver driver;
  FrameCalls frame = Counting();
  uint32_t now = 0;
  RunFrame(driver, now, frame);
  RunFrame(driver, now += 5, frame);
  EXPECT_EQ(driver.shownFps, 0) << "0 until the first step that is a multiple of 100";
  RunFrame(driver, now += 5, frame);
  EXPECT_EQ(driver.stepCount, 1);
  EXPECT_EQ(driver.shownFps, 2) << "step 0 shows the two frames drawn before it";
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
