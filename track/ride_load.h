// A ride loaded for the headless tools (velmora-ride, velmora-export) as the game loads it: the
// track with its lines and start state, the rider it names or the one given, placed as pressing
// play right after loading would, or with fromStart as the play-from-start button would. When a
// file is refused, the game's own lines that tell why are kept for the tool to print.
#pragma once
#include <string>
#include <vector>

struct World;
struct CurrentRider;

struct RideLoad {
  bool loaded = false;
  std::vector<std::string> refusal;               // the game's lines that tell why, in order
  std::string why;                                // the tool's own words after them; may be empty
};

// A path from the command line as the game stores paths: absolute, with "\" separators.
std::string StoredPathOf(const char* argument);
// riderArgument null: the rider the track names. Refused: a file the game refuses, a section
// refused by its version word, a track without a solid line, no rider that loads. Listens to
// the log and the message box only while loading.
RideLoad LoadRide(World& world, CurrentRider& rider, const char* trackArgument, const char* riderArgument,
                  bool fromStart);
// A refusal as the tools print it on standard error: the game's lines, then "PROGRAM: why".
void PrintRideRefusal(const RideLoad& load, const char* program);
