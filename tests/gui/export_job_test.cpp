// V on the track screen with the child process seam swapped: the exporter's arguments and the
// copies it is given, then its progress, result and failure as the screen shows them.
#include "gui/export_job.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "graphics/draw.h"
#include "platform/child_process.h"
#include "rider/rider_file.h"
#include "rider/simulation.h"
#include "rider/test_riders.h"
#include "support/game_files.h"
#include "track/track_file.h"
#include "track_session.h"

namespace {

// What the fake child was started with, what it will write and how it ends.
struct FakeChild {
  int starts = 0;
  std::vector<std::string> arguments;
  std::deque<std::string> chunks;                 // handed out one per read
  std::string lastWords;                          // written as it ends: readable once it has ended
  bool ended = false;
  int status = 0;
  int stopped = 0;                                // the id asked to end
};
FakeChild child;

class ExportJobTest : public GameFilesTest {
 protected:
  void SetUp() override {
    GameFilesTest::SetUp();
    saved_ = ChildProcessTable();
    child = FakeChild{};
    ChildProcessTable().start = [](const std::vector<std::string>& arguments, int* id, int* pipe) {
      ++child.starts;
      child.arguments = arguments;
      *id = 41;
      *pipe = 42;
      return true;
    };
    ChildProcessTable().read = [](int, char* buffer, size_t size) -> long {
      if (child.chunks.empty()) return child.ended ? -1 : 0;
      const std::string chunk = child.chunks.front();
      child.chunks.pop_front();
      memcpy(buffer, chunk.data(), std::min(size, chunk.size()));
      return long(chunk.size());
    };
    ChildProcessTable().stop = [](int id) { child.stopped = id; };
    ChildProcessTable().ended = [](int, int* status) {
      *status = child.status;
      if (child.ended && !child.lastWords.empty()) child.chunks.push_back(std::exchange(child.lastWords, ""));
      return child.ended;
    };
    ResetSession();
    CurrentRider& rider = TheGame().track.rider;
    Body body;
    BuildTestRider(body, -150.0f, 40.0f);
    TakeSnapshot(body, rider.snapshot);
    rider.focusPointId = 14;
    rider.loaded = true;
    RideNewRider(TheGame().track);
    BuildTestTrack(TheGame().track.world);
  }
  void TearDown() override {
    ChildProcessTable() = saved_;
    GameFilesTest::TearDown();
  }
  std::string Argument(const std::string& option) const {
    const std::vector<std::string>& a = child.arguments;
    for (size_t i = 0; i + 1 < a.size(); ++i)
      if (a[i] == option) return a[i + 1];
    return "";
  }

  ChildProcesses saved_;
};

// The exporter gets the timeline's ride: its steps (ten seconds when nothing was ridden), and
// copies from which it starts where the timeline started, with --from-start after a stored start.
TEST_F(ExportJobTest, VExportsTheRideOnTheTimeline) {
  TrackScene& scene = TheGame().track;
  ExportJob& job = TheGame().exportJob;
  const struct {
    bool playFromStart;
    int ridden;
    const char* steps;
  } cases[] = {{false, 0, "1000"}, {false, 150, "150"}, {true, 90, "90"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    RestartRiderFromScratch(scene);
    if (c.playFromStart) {
      for (int i = 0; i < 40; ++i) StepTrackRider(scene);
      StoreStart(scene.world);
      RestoreTrackStart(scene);
    }
    for (int i = 0; i < c.ridden; ++i) StepTrackRider(scene);
    job = ExportJob{};
    child = FakeChild{};
    Tap('V');
    ASSERT_EQ(job.phase, ExportPhase::Running);
    ASSERT_GE(child.arguments.size(), 3u);
    EXPECT_EQ(child.arguments[0], Stored("velmora-export"));
    EXPECT_EQ(Argument("-o"), Stored("exports\\ride-1.mp4"));
    EXPECT_EQ(Argument("--steps"), c.steps);
    EXPECT_EQ(Argument("--size"), "1024x768");
    EXPECT_EQ(std::count(child.arguments.begin(), child.arguments.end(), "--from-start"), c.playFromStart ? 1 : 0);
    // The copies, ridden as the exporter rides them, start from the timeline's step 0.
    CurrentRider copyRider;
    World copy;
    ASSERT_EQ(LoadTrack(copy, copyRider, child.arguments[1].c_str()), FileLoad::Loaded);
    ASSERT_EQ(LoadRider(copyRider, child.arguments[2].c_str()), FileLoad::Loaded);
    RestartRider(copy, copyRider);
    if (c.playFromStart) RestoreStart(copy);
    JumpTrackRider(scene, 0);
    EXPECT_EQ(HashBodyPositions(copy.rider), HashBodyPositions(scene.world.rider));
    child.ended = true;
    Step();
  }
}

// Progress comes in pieces without waiting; the bar shows it, and a message the file or why it failed.
TEST_F(ExportJobTest, ProgressAndResultAreShown) {
  ExportJob& job = TheGame().exportJob;
  Tap('V');
  child.chunks = {"velmora-export: frame 30 of 1", "20, 60.0 frames/s, 2 s left\n"};
  Step(3);
  EXPECT_EQ(job.framesDone, 30);
  EXPECT_EQ(job.framesTotal, 120);
  std::vector<DrawCommand> drawn;
  RecordDrawing(&drawn);
  RenderRideExport(job);
  RecordDrawing(nullptr);
  EXPECT_NE(std::find(drawn.begin(), drawn.end(), DrawCommand{DrawKind::DrawQuad, {75.0f, 10.0f}}), drawn.end());
  Tap('V');
  EXPECT_EQ(child.starts, 1);                   // one export at a time
  ToGameMenu(TheGame());
  child.chunks = {"velmora-export: frame 60 of 120, 60.0 frames/s, 1 s left\n"};
  Step();
  EXPECT_EQ(job.framesDone, 60) << "progress is read on every screen";
  ToTrackScreen(TheGame());

  child.ended = true;
  Step();
  EXPECT_EQ(job.phase, ExportPhase::Done);
  ASSERT_EQ(TheGame().messages.shown.size(), 1u);
  EXPECT_EQ(TheGame().messages.shown.back().text.rfind("exported exports\\ride-", 0), 0u)
      << TheGame().messages.shown.back().text;
  EXPECT_FALSE(PlatformIsRegularFile(Stored("exports\\.export.track").c_str()));
  EXPECT_FALSE(PlatformIsRegularFile(Stored("exports\\.export.rider").c_str()));

  Step(kExportResultSteps + 1);
  EXPECT_EQ(job.phase, ExportPhase::Idle);
  child = FakeChild{};
  Tap('V');
  child.chunks = {"velmora-export: frame 3 of 120, 1 frames/s, 9 s left\n"};
  child.lastWords = "velmora-export: no offscreen GL: eglInitialize failed\n";
  child.ended = true;
  child.status = 1;
  Step();
  EXPECT_EQ(job.phase, ExportPhase::Failed);
  EXPECT_EQ(TheGame().messages.shown.back().text, "export failed: velmora-export: no offscreen GL: eglInitialize failed");

  // Leaving the game stops an export under way and removes its copies.
  child = FakeChild{};
  Step(kExportResultSteps + 1);
  Tap('V');
  ASSERT_TRUE(PlatformIsRegularFile(Stored("exports\\.export.track").c_str()));
  StopRideExport(TheGame());
  EXPECT_EQ(child.stopped, 41);
  EXPECT_FALSE(PlatformIsRegularFile(Stored("exports\\.export.track").c_str()));
}

}  // namespace
