#include "gui/export_job.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "platform/child_process.h"
#include "platform/platform.h"
#include "rider/rider_file.h"
#include "shell/display.h"
#include "shell/file_load.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/track_file.h"

namespace {

// The copies the exporter reads, beside the files it writes in the player folder; removed when
// it ends.
const char* const kTrackCopy = "exports\\.export.track";
const char* const kRiderCopy = "exports\\.export.rider";

std::string Absolute(const char* name) {
  char path[kMaxPath] = {};
  return MakePlayerPath(path, name) ? path : "";
}

bool SamePose(const BodySnapshot& a, const BodySnapshot& b) {
  if (a.points.size() != b.points.size()) return false;
  for (auto p = a.points.begin(), q = b.points.begin(); p != a.points.end(); ++p, ++q)
    if (p->id != q->id || p->x != q->x || p->y != q->y || p->prevX != q->prevX || p->prevY != q->prevY) return false;
  return true;
}

// The track as the exporter must ride it. A timeline that starts from the rider in use as its
// file places it needs the track as it is; one that starts anywhere else (a stored start, a pose
// pinned at step 0) goes in the copy as its start state, ridden with --from-start.
bool WriteTrackCopy(TrackScene& scene, const std::string& path, bool* fromStart) {
  World& world = scene.world;
  const auto first = scene.timeline.checkpoints.find(0);
  *fromStart = first != scene.timeline.checkpoints.end() && !SamePose(first->second.pose, scene.rider.snapshot);
  std::vector<uint8_t> bytes;
  if (!*fromStart) {
    EncodeTrackFile(world, scene.rider, false, &bytes);
    return WriteWholeFile(path.c_str(), bytes);
  }
  BodySnapshot start;
  CopySnapshot(world.startSnapshot, start);
  const Vec2 flag = world.flag;
  const uint8_t flagSet = world.startFlagSet;
  CopySnapshot(first->second.pose, world.startSnapshot);
  if (!flagSet) world.flag = StartPoint(world, world.focusPointId);
  world.startFlagSet = 1;
  EncodeTrackFile(world, scene.rider, false, &bytes);
  CopySnapshot(start, world.startSnapshot);
  world.flag = flag;
  world.startFlagSet = flagSet;
  return WriteWholeFile(path.c_str(), bytes);
}

// exports\ride-N.mp4 for the first N from 1 not taken.
std::string NextOutput() {
  for (int n = 1;; ++n) {
    char name[64];
    snprintf(name, sizeof name, "exports\\ride-%d.mp4", n);
    const std::string path = Absolute(name);
    if (path.empty() || !PlatformIsRegularFile(path.c_str())) return path;
  }
}

void Fail(ExportJob& job, const std::string& why) {
  job.phase = ExportPhase::Failed;
  job.why = why;
  job.stepsShown = 0;
  Log("export failed: %s", why.c_str());
}

void Start(Game& game) {
  ExportJob& job = game.exportJob;
  TrackScene& scene = game.track;
  job = ExportJob{};
  if (!scene.rider.loaded) return Fail(job, "no rider to export");
  if (!PlatformMakeFolder(Absolute("exports").c_str())) return Fail(job, "cannot make the exports folder");
  const std::string track = Absolute(kTrackCopy), rider = Absolute(kRiderCopy);
  bool fromStart = false;
  std::vector<uint8_t> riderBytes;
  EncodeRiderFile(scene.rider, &riderBytes);
  if (!WriteTrackCopy(scene, track, &fromStart) || !WriteWholeFile(rider.c_str(), riderBytes))
    return Fail(job, "cannot write the ride's copies in exports");
  job.file = NextOutput();
  const int64_t steps = scene.timeline.furthest > 0 ? scene.timeline.furthest : kExportStepsWhenNotRidden;
  // The frame as the track screen's, at its zoom; 4:2:0 video wants even sides.
  const int width = ScreenWidth() & ~1, height = ScreenHeight() & ~1;
  char size[32], zoom[32];
  snprintf(size, sizeof size, "%dx%d", width, height);
  snprintf(zoom, sizeof zoom, "%.3f", double(ClampZoom(scene.view.zoom)));
  std::vector<std::string> arguments = {std::string(ExecFolder()) + "\\velmora-export", track, rider, "-o", job.file,
                                        "--steps", std::to_string(steps), "--size", size, "--zoom", zoom};
  if (fromStart) arguments.push_back("--from-start");
  if (!ChildProcessTable().start(arguments, &job.child, &job.errorPipe)) return Fail(job, "cannot start velmora-export");
  job.phase = ExportPhase::Running;
  Log("exporting %llu steps to %s", static_cast<unsigned long long>(steps), job.file.c_str());
}

void TakeLine(ExportJob& job, const std::string& line) {
  long long done = 0, total = 0;
  if (sscanf(line.c_str(), "velmora-export: frame %lld of %lld", &done, &total) == 2) {
    job.framesDone = done;
    job.framesTotal = total;
  } else if (!line.empty()) {
    job.lastWords = line;
  }
}

void Poll(ExportJob& job) {
  // Asked first: once it has ended, all it wrote is in the pipe, its last words too.
  int status = 0;
  const bool ended = ChildProcessTable().ended(job.child, &status);
  char buffer[4096];
  for (long count; job.errorPipe >= 0 && (count = ChildProcessTable().read(job.errorPipe, buffer, sizeof buffer)) != 0;) {
    if (count < 0) {
      job.errorPipe = -1;
      break;
    }
    job.pending.append(buffer, size_t(count));
    for (size_t end; (end = job.pending.find('\n')) != std::string::npos;) {
      TakeLine(job, job.pending.substr(0, end));
      job.pending.erase(0, end + 1);
    }
  }
  if (!ended) return;
  PlatformRemoveFile(Absolute(kTrackCopy).c_str());
  PlatformRemoveFile(Absolute(kRiderCopy).c_str());
  if (status != 0) return Fail(job, job.lastWords.empty() ? "velmora-export stopped" : job.lastWords);
  job.phase = ExportPhase::Done;
  job.stepsShown = 0;
  Log("exported %s", job.file.c_str());
}

// The file's name after its folder, as the player finds it beside the game.
const char* ShownName(const std::string& path) {
  const size_t slash = path.rfind('\\', path.rfind('\\') - 1);
  return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

void UpdateRideExport(Game& game) {
  if (game.exportJob.phase != ExportPhase::Running && KeyPressed('V')) Start(game);
}

void StepRideExport(Game& game) {
  ExportJob& job = game.exportJob;
  if (job.phase == ExportPhase::Running) Poll(job);
  else if (job.phase != ExportPhase::Idle && ++job.stepsShown > kExportResultSteps) job = ExportJob{};
  // The end is told once, among the other messages, in the words of its log line.
  if (job.told || (job.phase != ExportPhase::Done && job.phase != ExportPhase::Failed)) return;
  job.told = true;
  if (job.phase == ExportPhase::Done)
    PostMessage(game.messages, "exported %s", ShownName(job.file));
  else
    PostMessage(game.messages, "export failed: %s", job.why.c_str());
}

void RenderRideExport(const ExportJob& job) {
  if (job.phase != ExportPhase::Running) return;
  constexpr float kBarWidth = 300.0f, kBarHeight = 10.0f;  // pixels
  // Above the timeline bar, clear of the frame rate and line count at the top.
  const float x = ScreenCentre().x - kBarWidth * 0.5f, y = 70.0f;
  LoadIdentity();
  const float done = job.framesTotal > 0 ? float(job.framesDone) / float(job.framesTotal) : 0.0f;
  EnableTexture(false);
  EnableBlend(true);
  SetColour(0, 0, 0, 90);
  Translate(x, y);
  DrawQuad(kBarWidth, kBarHeight);
  SetColour(255, 100, 0, 255);
  DrawQuad(kBarWidth * done, kBarHeight);
  LoadIdentity();
  EnableTexture(true);
  EnableBlend(true);
  BindSpriteFrame(kSlotFont, 0);
  Translate(x, y + 16.0f);
  PrintShadowText(16.0f, 16.0f, 0.0f, 2.0f, -2.0f, 128, 255, 100, 0, "exporting %s", ShownName(job.file));
  EnableTexture(false);
  LoadIdentity();
}

void StopRideExport(Game& game) {
  ExportJob& job = game.exportJob;
  if (job.phase != ExportPhase::Running) return;
  // The exporter removes what it had written when asked to end.
  ChildProcessTable().stop(job.child);
  PlatformRemoveFile(Absolute(kTrackCopy).c_str());
  PlatformRemoveFile(Absolute(kRiderCopy).c_str());
  Log("export of %s stopped: the game is leaving", job.file.c_str());
  job = ExportJob{};
}
