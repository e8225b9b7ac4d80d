// Track files (.track) and demonstration files (.demo): magic "TOLK_RIDER_TRACK", the solid and
// scenery sections, then optionally the start flag, the start state and the rider's file name.
// A .demo file holds the same sections in another field order with version word 2.
//
// Loading parses the whole file into a staging record first: a damaged file is refused whole
// and leaves the world, its start state, the rider in use and sprite slot 15 as they were.
// Saving writes a temporary file beside the target and renames it over the target only when
// every byte reached the disk, so a failed save never costs the old file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rider/snapshot_file.h"
#include "shell/file_load.h"
#include "shell/notice.h"

struct World;
struct CurrentRider;

constexpr uint32_t kTrackVersion = 1;             // version word of both sections in a .track file
constexpr uint32_t kDemoVersion = 2;              // ... in a .demo file
constexpr uint32_t kSolidLineBytes = 24;
constexpr uint32_t kSceneryLineBytes = 23;
constexpr uint32_t kMaxRiderName = 256;           // rider name buffer, its zero included
// Grid cells the long lines of one file (longer than two cells) may be listed in, solid and
// scenery together, as counted by LineWalkCellsAtMost and SceneryCellsAtMost; a shorter line is
// listed in at most eight, so a file costs at most this plus eight cells a line. A listing costs
// about 100 bytes, and a long line's walk takes about 300 one-unit steps per cell, so a file at
// the limit needs some 200 MB and a few seconds. The longest line the pencil can draw, corner to
// corner of the +-2^23 world, counts about 224,000, so nine of them fit; pencil strokes of 40 to
// 60 units are never priced, and a million of them load.
constexpr int64_t kMaxTrackGridCells = int64_t(1) << 21;

struct StagedSolidLine {
  float x1, y1, x2, y2, thickness;
  uint32_t kind;                                  // LineKind as stored
};

struct StagedSceneryLine {
  float x1, y1, x2, y2, thickness;
  uint8_t r, g, b;
};

// What a section's version word asked for, in file order (shown or logged when the file loads).
enum class TrackNotice {
  DemoAsTrack,                                    // message box: a demo's section under a track name
  TrackAsDemo,                                    // message box: a track's section under a demo name
  UnknownSection,                                 // log line "loading file: unknown format"
};

// A parsed track file, not yet part of any world.
struct TrackFileContent {
  std::vector<StagedSolidLine> solids;            // file order
  std::vector<StagedSceneryLine> scenery;
  std::vector<TrackNotice> notices;
  bool hasStartFlag = false;                      // item 4 present
  uint8_t startFlag = 0;                          // as stored; non-zero: a start state followed
  StagedSnapshot start;                           // the start state when startFlag is non-zero
  bool hasRiderName = false;                      // item 6 present with a name that is not empty
  char riderName[kMaxRiderName] = {};             // relative to the exec folder
};

bool IsDemoPath(const char* path);                // the last four characters are exactly "demo"
// Parses a whole file into out (emptied first). NotOpened: 17 bytes or fewer; Refused: wrong magic or damaged (cut in a
// record, a count or string longer than the bytes left, a rider name over 255 characters, a
// non-finite value, a line thickness above 2^16, a bad start state, lines that would need more
// than kMaxTrackGridCells grid cells: logged). Never allocates more than the bytes can hold.
FileLoad ParseTrackFile(const uint8_t* bytes, size_t size, bool demoPath, TrackFileContent* out);
// The file's bytes for the world's track and the rider's path, in the format of demoPath.
void EncodeTrackFile(const World& world, const CurrentRider& rider, bool demoPath, std::vector<uint8_t>* out);

// Puts a parsed file into the world: its sections' message boxes and log lines, the lines (those
// the world cannot take are skipped with one log line), the demo flag, the start state and flag,
// and the rider it names, loaded into rider and restarted (a name that leaves the program folder
// is not loaded: one log line, and the rider in use is restarted as it is). A rider refused is
// also told to sink. Returns true when the rider was restarted (the file names a rider).
bool ApplyTrackFile(World& world, CurrentRider& rider, const TrackFileContent& content, bool demoPath,
                    const NoticeSink& sink = {});

// Saves the world's track to path; logs as the game does. True when a file was written.
// Nothing is written for an empty path ("Saving cancelled"), a demo world or a world without
// lines. Every outcome but the cancel is also told to sink: saved (with the path), nothing
// saved and why, the disk refused.
bool SaveTrack(const World& world, const CurrentRider& rider, const char* path, const NoticeSink& sink = {});
// Replaces the world's track by the file's content, loads the rider the file names into rider
// and restarts the world's rider (then *riderRestarted is set, when given). Loaded also when a
// section was refused by its version word. A refusal (not a cancel) is also told to sink.
FileLoad LoadTrack(World& world, CurrentRider& rider, const char* path, bool* riderRestarted = nullptr,
                   const NoticeSink& sink = {});
