#include "graphics/sprites.h"

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"
#include "graphics/picture.h"
#include "graphics/png.h"
#include "graphics/texture.h"
#include "graphics/tga.h"
#include "shell/log.h"

struct SlotAssignment {
  SpriteSlotName slot;
  const char* file;
  int columns;
  int rows;
  bool mipmaps;
};

// Every picture the game draws. Slots 0 and 10 have no file; the rider sheet is re-assigned
// from the rider in use.
static const SlotAssignment kStartAssignments[] = {
    {kSlotBackground, "sprites\\back2.png", 1, 1, false},
    {kSlotPencil, "sprites\\pencil.png", 1, 1, false},
    {kSlotCursors, "sprites\\cursors.png", 8, 1, false},
    {kSlotLineGradient, "sprites\\line_gradient2.png", 1, 1, false},
    {kSlotDot, "sprites\\dot.png", 1, 1, false},
    {kSlotDefaultRiderSheet, "sprites\\to.png", 4, 4, true},
    {kSlotFont, "sprites\\font.png", 1, 1, true},
    {kSlotButtons, "sprites\\buttons1.png", 8, 8, true},
    {kSlotToolBar, "sprites\\tool_bar.png", 1, 1, false},
    {kSlotTimeline, "sprites\\timeline.png", 1, 1, false},
    {kSlotColourPicker, "sprites\\gradient_box.png", 1, 1, false},
    {kSlotFlag, "sprites\\flag.png", 1, 1, true},
    {kSlotPoints, "sprites\\dots.png", 4, 4, true},
    {kSlotRiderEditorToolBar, "sprites\\tool_bar_re.png", 1, 1, false},
    {kSlotRiderSheet, "sprites\\to.png", 4, 4, true},
    {kSlotOriginMark, "sprites\\nachalo_koord.png", 1, 1, true},
    {kSlotScroll, "sprites\\scroll.png", 1, 1, true},
    {kSlotTrackExplanation, "sprites\\explain_256_eng.png", 1, 1, false},
    {kSlotRiderExplanation, "sprites\\explain_re_eng_256.png", 1, 1, false},
};

// The table: assigned at start, slots not loaded again whenever the GL device goes, texture
// names valid only on the device that made them (so they are dropped with it). Reset never.
static struct {
  SpriteSlot slots[kSpriteSlotCount];
  SpriteDevice device = {LoadPngTexture, LoadTgaTexture, LoadPictureTexture, DeleteTexture, BindTexture,
                         SelectTextureCell};
} spriteState;

static SpriteSlot* Slot(int slot) {
  if (slot < 0 || slot >= kSpriteSlotCount) return nullptr;
  return &spriteState.slots[slot];
}

// Gives the slot's texture back to the device. Names left by a device that is gone were
// cleared by ForgetSpriteTextures, so a non-zero name always belongs to the live device.
static void DropTexture(SpriteSlot* slot) {
  if (slot->texture != 0) spriteState.device.deleteTexture(slot->texture);
  slot->texture = 0;
}

static bool EndsWith(const char* text, const char* ending) {
  size_t length = strlen(text);
  size_t endingLength = strlen(ending);
  return length >= endingLength && strcmp(text + length - endingLength, ending) == 0;
}

// Loads the slot on first use. The first bind after start or a device re-creation loads and
// binds at once, so no draw shows whatever texture and frame were selected before it.
static SpriteSlot* ReadySlot(int slot) {
  SpriteSlot* entry = Slot(slot);
  if (!entry) return nullptr;
  if (!entry->loaded) LoadSprite(slot);
  return entry->loaded ? entry : nullptr;
}

SpriteDevice& SpriteDeviceTable() { return spriteState.device; }

void AssignSpriteTable() {
  Log("Initializing resource manager");
  for (SpriteSlot& slot : spriteState.slots) {
    DropTexture(&slot);
    slot = SpriteSlot();
  }
  for (const SlotAssignment& a : kStartAssignments)
    AssignSprite(a.slot, a.file, a.columns, a.rows, a.mipmaps);
}

void AssignSprite(int slot, const char* file, int columns, int rows, bool mipmaps) {
  SpriteSlot* entry = Slot(slot);
  if (!entry || !file) return;
  DropTexture(entry);
  if (!MakeAbsolutePath(entry->path, file)) entry->path[0] = 0;
  entry->columns = std::max(columns, 1);
  entry->rows = std::max(rows, 1);
  entry->mipmaps = mipmaps;
  entry->loaded = false;
}

void AssignSpriteStrip(int slot, const char* file, int columns, bool mipmaps) {
  AssignSprite(slot, file, columns, 1, mipmaps);
}

bool LoadSprite(int slot) {
  SpriteSlot* entry = Slot(slot);
  if (!entry || entry->path[0] == 0) return false;
  Log("loading texture:%s", entry->path);
  DropTexture(entry);
  const SpriteDevice& device = spriteState.device;
  if (EndsWith(entry->path, "tga") || EndsWith(entry->path, "TGA")) {
    entry->texture = device.loadTga(entry->path);
  } else if (EndsWith(entry->path, "png") || EndsWith(entry->path, "PNG")) {
    entry->texture = device.loadPng(entry->path, entry->mipmaps);
  } else {
    unsigned int name = 0;
    entry->texture = device.loadPicture(entry->path, &name) ? name : 0;
  }
  // A file that failed stays failed until the device is re-created: it draws nothing of its own
  // and is not read and logged again at every bind.
  entry->loaded = true;
  return entry->texture != 0;
}

void ForgetSpriteTextures() {
  for (SpriteSlot& slot : spriteState.slots) {
    slot.loaded = false;
    slot.texture = 0;
  }
}

void BindSpriteFrame(int slot, int frame) {
  const SpriteSlot* entry = Slot(slot);
  if (!entry) return;
  if (entry->rows > 1) {
    BindSpriteCell(slot, frame % entry->columns, frame / entry->columns);
    return;
  }
  entry = ReadySlot(slot);
  if (!entry) return;
  spriteState.device.bindTexture(entry->texture);
  int frames = entry->columns * entry->rows;
  spriteState.device.selectCell(frames, 1, frame % frames, 0);
}

void BindSpriteCell(int slot, int column, int row) {
  const SpriteSlot* entry = ReadySlot(slot);
  if (!entry) return;
  spriteState.device.bindTexture(entry->texture);
  int across = entry->columns;
  int down = entry->rows;
  spriteState.device.selectCell(across, down, column % across, row % down);
}

bool SpriteLoaded(int slot) {
  const SpriteSlot* entry = Slot(slot);
  return entry && entry->loaded;
}

const SpriteSlot* SpriteSlotInfo(int slot) { return Slot(slot); }
