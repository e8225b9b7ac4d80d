// The sprite table: 20 numbered texture slots, each a picture file with a grid of frames.
// Slots are assigned at start; a slot's texture is loaded on its first bind and again after
// every re-creation of the GL device. Binding selects one frame through the texture matrix.
#pragma once
#include <cstdint>

#include "shell/paths.h"

constexpr int kSpriteSlotCount = 20;              // slots 0..19; any other number is ignored

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
  int (*loadPicture)(const char* path, unsigned int* name);    // 1 and the name, or 0
  void (*deleteTexture)(unsigned int name);
  void (*bindTexture)(unsigned int name);                      // 0 is skipped
  // Texture matrix = scale (1 / across, 1 / down), then translate (column, row).
  void (*selectCell)(int across, int down, int column, int row);
};
SpriteDevice& SpriteDeviceTable();                // the table in use
SpriteDevice RealSpriteDevice();
