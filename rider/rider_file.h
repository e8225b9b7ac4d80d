// Rider files (.rider): magic "TOLK_RIDER_RIDER", the sprite sheet's file name, the focus point
// id and the body snapshot. Loading parses the whole file into a staging record first: a damaged
// file is refused whole and leaves the rider in use as it was. Saving
// writes a temporary file beside the target and renames it over the target only when every
// byte reached the disk.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "rider/snapshot_file.h"
#include "shell/file_load.h"
#include "shell/notice.h"

struct CurrentRider;

constexpr uint32_t kMaxSpriteSheetName = 256;     // sprite sheet name buffer, its zero included
extern const char* const kTempRiderFile;          // "riders\temp_rider.rider", saved before a test ride

// A parsed rider file, not yet the rider in use.
struct RiderFileContent {
  char spriteSheet[kMaxSpriteSheetName] = {};
  int32_t focusPointId = 0;
  StagedSnapshot snapshot;
};

// Parses a whole file. NotOpened: shorter than 18 bytes; Refused: wrong magic or damaged (cut
// anywhere, a sprite sheet name over 255 characters or without its zero, a bad snapshot).
FileLoad ParseRiderFile(const uint8_t* bytes, size_t size, RiderFileContent* out);
void EncodeRiderFile(const CurrentRider& rider, std::vector<uint8_t>* out);

// Saves rider to filePath (a stored path under the exec folder) and keeps that path, relative
// to the exec folder, in rider.path. Logs as the game does; true when the file was written.
// "Rider saved:" with the path, or the disk's refusal, is also told to sink.
bool SaveRider(CurrentRider& rider, const char* filePath, const NoticeSink& sink = {});
// Saves rider as riders\temp_rider.rider under the exec folder, as the rider editor does before
// a test ride; the rider stays known by its own path. True when the file was written.
bool SaveTempRider(const CurrentRider& rider);
// Loads filePath into rider: snapshot, focus point id, sprite sheet name, path relative to the
// exec folder; loaded = true. A sheet name that leaves the program folder is dropped with a log
// line. Showing the sheet is the screen's business. A refusal (not a cancel) is also told to sink.
FileLoad LoadRider(CurrentRider& rider, const char* filePath, const NoticeSink& sink = {});
