#include "track/track_copy.h"

#include <algorithm>

namespace {

template <typename Line>
void CopySlice(const std::vector<Line>& from, std::vector<Line>& to, size_t& budget) {
  const size_t done = to.size();
  const size_t count = std::min(budget, from.size() - done);
  to.insert(to.end(), from.begin() + long(done), from.begin() + long(done + count));
  budget -= count;
}

}  // namespace

void BeginTrackCopy(TrackCopy& copy, const World& world, const CurrentRider& rider) {
  copy.lines.solidLines.clear();
  copy.lines.sceneryLines.clear();
  // Room for the whole track at once; its pages are touched only as the slices come.
  copy.lines.solidLines.reserve(world.solidLines.size());
  copy.lines.sceneryLines.reserve(world.sceneryLines.size());
  CopySnapshot(world.startSnapshot, copy.start);
  copy.flag = world.flag;
  copy.startFlagSet = world.startFlagSet;
  copy.demoLoaded = world.demoLoaded;
  CopyCurrentRider(rider, copy.rider);
  copy.stamp = world.linesStamp;
  copy.begun = true;
}

bool ContinueTrackCopy(TrackCopy& copy, const World& world, const CurrentRider& rider, size_t lines) {
  if (!copy.begun || copy.stamp != world.linesStamp) BeginTrackCopy(copy, world, rider);
  CopySlice(world.solidLines, copy.lines.solidLines, lines);
  CopySlice(world.sceneryLines, copy.lines.sceneryLines, lines);
  if (copy.lines.solidLines.size() < world.solidLines.size() ||
      copy.lines.sceneryLines.size() < world.sceneryLines.size())
    return false;
  copy.lines.solidLineCount = world.solidLineCount;
  copy.lines.sceneryLineCount = world.sceneryLineCount;
  return true;
}

void MoveCopyIntoWorld(TrackCopy& copy, World& world) {
  SwapLines(world, copy.lines);
  CopySnapshot(copy.start, world.startSnapshot);
  world.flag = copy.flag;
  world.startFlagSet = copy.startFlagSet;
  world.demoLoaded = copy.demoLoaded;
  copy.begun = false;
}
