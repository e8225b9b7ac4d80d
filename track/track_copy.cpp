#include "track/track_copy.h"

#include <algorithm>
#include <utility>

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
  copy.solidLines.clear();
  copy.sceneryLines.clear();
  // Room for the whole track at once; its pages are touched only as the slices come.
  copy.solidLines.reserve(world.solidLines.size());
  copy.sceneryLines.reserve(world.sceneryLines.size());
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
  CopySlice(world.solidLines, copy.solidLines, lines);
  CopySlice(world.sceneryLines, copy.sceneryLines, lines);
  if (copy.solidLines.size() < world.solidLines.size() || copy.sceneryLines.size() < world.sceneryLines.size())
    return false;
  copy.solidLineCount = world.solidLineCount;
  copy.sceneryLineCount = world.sceneryLineCount;
  return true;
}

void MoveCopyIntoWorld(TrackCopy& copy, World& world) {
  world.solidLines = std::move(copy.solidLines);
  world.sceneryLines = std::move(copy.sceneryLines);
  world.solidLineCount = copy.solidLineCount;
  world.sceneryLineCount = copy.sceneryLineCount;
  CopySnapshot(copy.start, world.startSnapshot);
  world.flag = copy.flag;
  world.startFlagSet = copy.startFlagSet;
  world.demoLoaded = copy.demoLoaded;
  copy.begun = false;
}
