// The sprite table: 20 numbered texture slots, each a picture file with a grid of frames.
// Slots are assigned at start; a slot's texture is loaded on its first bind and again after
// every re-creation of the GL device. Binding selects one frame through the texture matrix.
#pragma once
#include <cstdint>

#include "shell/paths.h"

constexpr int kSpriteSlotCount = 20;              // slots 0..19; any other number is ignored

// What each slot holds. Slot 0 has no file.
enum SpriteSlotName : int {
  kSlotBackground = 1,                            // sprites\back2.png
  kSlotPencil = 2,                                // the pencil tool's picture
  kSlotCursors = 3,                               // 8 cursor frames in a row
  kSlotLineGradient = 4,
  kSlotDot = 5,
  kSlotDefaultRiderSheet = 6,                     // 4 x 4, the sheet slot 15 starts with
  kSlotFont = 7,                                  // 16 x 16 glyph grid
  kSlotButtons = 8,                               // 8 x 8 button frames
  kSlotToolBar = 9,                               // the track screen's tool bar
  kSlotTimeline = 10,                             // the timeline bar's panel and groove
  kSlotColourPicker = 11,                         // the colour picker's gradient box
  kSlotFlag = 12,
  kSlotPoints = 13,                               // the rider's point images, 4 x 4, one frame per group
  kSlotRiderEditorToolBar = 14,
  kSlotRiderSheet = 15,                           // 4 x 4 frames; re-assigned from the rider in use
  kSlotOriginMark = 16,                           // the world origin's marker
  kSlotScroll = 17,
  kSlotTrackExplanation = 18,
  kSlotRiderExplanation = 19,
};

struct SpriteSlot {
  int32_t columns = 1;                            // frames across, at least 1
  int32_t rows = 1;                               // frames down, at least 1
  char path[kMaxPath] = {};                       // exec folder + "\" + file; empty = no file
  bool loaded = false;                            // a load was tried on the current device
  bool mipmaps = true;                            // PNG files only
  uint32_t texture = 0;                           // GL texture name, 0 = none
};

// Start-up: logs "Initializing resource manager", then assigns every slot from the fixed table.
void AssignSpriteTable();
// file relative to the exec folder; columns and rows below 1 are stored as 1. Deletes the
// slot's old texture; the new file loads on the next bind.
void AssignSprite(int slot, const char* file, int columns, int rows, bool mipmaps);
void AssignSpriteStrip(int slot, const char* file, int columns, bool mipmaps);  // one row
bool LoadSprite(int slot);                        // false when nothing usable was loaded
void ForgetSpriteTextures();                      // the device is going: every slot not loaded
// Binds the slot (loading it first when needed) and selects a frame, counted row by row.
void BindSpriteFrame(int slot, int frame);
void BindSpriteCell(int slot, int column, int row);
bool SpriteLoaded(int slot);                      // false outside 0..19
const SpriteSlot* SpriteSlotInfo(int slot);       // null outside 0..19

// The GL side of the table: the real loaders and texture calls, or a test's doubles.
struct SpriteDevice {
  unsigned int (*loadPng)(const char* path, bool mipmaps);     // texture name, 0 on failure
  unsigned int (*loadTga)(const char* path);                   // texture name, 0 on failure
  bool (*loadPicture)(const char* path, unsigned int* name);   // true and the name, or false
  void (*deleteTexture)(unsigned int name);
  void (*bindTexture)(unsigned int name);                      // 0 is skipped
  void (*selectCell)(int across, int down, int column, int row);
};
SpriteDevice& SpriteDeviceTable();                // the table in use
