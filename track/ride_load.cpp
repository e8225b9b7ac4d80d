#include "track/ride_load.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/platform.h"
#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "shell/log.h"
#include "track/track_file.h"
#include "track/world.h"

namespace {

// The lines the game logs while a ride loads. A message box the game would show (a section
// refused by its version word) is heard as its title, and marks the load as refused.
struct Heard {
  std::vector<std::string> lines;
  std::vector<std::string> refusedSections;       // why sections were refused, in file order
} heard;

void Hear(const char* text) {
  heard.lines.emplace_back(text);
  if (heard.lines.back() == "loading file: unknown format") heard.refusedSections.push_back(heard.lines.back());
}

void HearMessageBox(const char* title, const char*) {
  heard.lines.emplace_back(title);
  heard.refusedSections.push_back(heard.lines.back());
}

std::vector<std::string> TakeLines() { return std::exchange(heard.lines, {}); }

// What a load logs as it goes, which says nothing about why it failed.
bool IsProgressLine(const std::string& line) {
  return line.rfind("Loading track:", 0) == 0 || line.rfind("Loading rider:", 0) == 0 || line == "Track loaded";
}

RideLoad Refused(const std::vector<std::string>& lines, const char* why = "") {
  RideLoad load;
  for (const std::string& line : lines)
    if (!IsProgressLine(line)) load.refusal.push_back(line);
  load.why = why;
  return load;
}

RideLoad LoadHeard(World& world, CurrentRider& rider, const char* trackArgument, const char* riderArgument,
                   bool fromStart) {
  const std::string trackPath = StoredPathOf(trackArgument);
  const FileLoad track = LoadTrack(world, rider, trackPath.c_str());
  std::vector<std::string> lines = TakeLines();
  if (track != FileLoad::Loaded) return Refused(lines);
  // A refused section leaves a track that is not the file's: nothing ridden on it would count.
  if (!heard.refusedSections.empty()) return Refused(heard.refusedSections, "a section of the track was refused");
  if (SolidLineCount(world) < 1) {
    std::vector<std::string> skipped;
    for (const std::string& line : lines)
      if (line.find(" lines skipped: ") != std::string::npos) skipped.push_back(line);
    return Refused(skipped, "the track has no solid line to ride on");
  }
  if (riderArgument) {
    const std::string riderPath = StoredPathOf(riderArgument);
    if (LoadRider(rider, riderPath.c_str()) != FileLoad::Loaded) return Refused(TakeLines());
    RestartRider(world, rider);
  } else if (!rider.loaded) {
    // The rider the track names was refused (its lines are in the log), or it names none.
    return Refused(lines, "the track names no rider that loads; give one");
  }
  if (fromStart) RestoreStart(world);
  RideLoad load;
  load.loaded = true;
  return load;
}

}  // namespace

std::string StoredPathOf(const char* argument) {
  std::string path = std::filesystem::absolute(argument).lexically_normal().string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

RideLoad LoadRide(World& world, CurrentRider& rider, const char* trackArgument, const char* riderArgument,
                  bool fromStart) {
  heard = Heard{};
  const auto messageBox = Platform().messageBox;
  SetLogListener(Hear);
  Platform().messageBox = HearMessageBox;
  RideLoad load = LoadHeard(world, rider, trackArgument, riderArgument, fromStart);
  SetLogListener(nullptr);
  Platform().messageBox = messageBox;
  heard = Heard{};
  return load;
}

void PrintRideRefusal(const RideLoad& load, const char* program) {
  for (const std::string& line : load.refusal) fprintf(stderr, "%s\n", line.c_str());
  if (!load.why.empty()) fprintf(stderr, "%s: %s\n", program, load.why.c_str());
}
