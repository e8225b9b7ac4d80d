#include "gui/rider_chooser.h"

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "rider/rider_file.h"
#include "shell/display.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/cursor_drawing.h"

namespace {

constexpr char kRiderFolder[] = "riders";
constexpr char kRiderExtension[] = ".rider";
constexpr int kThumbFrame = 31;
constexpr float kThumbTop = 10.0f;                // the thumb's lowest y; its highest is height - 80
constexpr float kWheelEntries = 3.0f;             // list lines per wheel notch

bool EndsWith(const std::string& name, const char* tail) {
  const size_t n = strlen(tail);
  return name.size() >= n && name.compare(name.size() - n, n, tail) == 0;
}

float ThumbTravel(float height) { return height - 80.0f - kThumbTop; }

void SetScroll(RiderChooser& chooser, float scroll, float height) {
  chooser.scroll = std::clamp(scroll, 0.0f, 1.0f);
  chooser.thumb.y = kThumbTop + (1.0f - chooser.scroll) * ThumbTravel(height);
}

void Pick(Game& game, int index) {
  RiderChooser& chooser = game.riderChooser;
  // A refused file (logged by the loader) is no choice: the rider in use and its highlight stay.
  BeginSetupEdit(game.track);
  const char* path = chooser.paths[size_t(index)].c_str();
  const bool loaded = LoadRider(game.track.rider, path, MessageSink(game.messages)) == FileLoad::Loaded;
  if (loaded) RideNewRider(game.track);
  EndTrackEdit(game.track);
  if (!loaded) return;
  for (TextButton& entry : chooser.entries) entry.selected = false;
  chooser.entries[size_t(index)].selected = true;
}

}  // namespace

float EntryBottom(const RiderChooser& chooser, int index) {
  return chooser.listOrigin.y - kChooserEntryHeight * float(index);
}

bool EntryLive(float bottom, float screenHeight) { return bottom > 10.0f && bottom < screenHeight - 60.0f; }

void ScanRiders(Game& game) {
  RiderChooser& chooser = game.riderChooser;
  const Vec2 screen = ScreenSize();
  Log("searching riders");
  chooser.entries.clear();
  chooser.paths.clear();
  chooser.clicked = -1;
  std::vector<FolderEntry> files;
  ListGameFolder(kRiderFolder, &files);
  for (const FolderEntry& file : files) {
    if (!file.regular || !EndsWith(file.name, kRiderExtension)) continue;
    // Tracks and the rider in use keep a rider as "riders\<name>": a name they cannot hold is
    // never offered.
    const std::string relative = std::string(kRiderFolder) + "\\" + file.name;
    char path[kMaxPath];
    if (file.name.find('\\') != std::string::npos || relative.size() >= sizeof CurrentRider{}.path ||
        !MakeAbsolutePath(path, relative.c_str())) {
      Log("rider file skipped, its name cannot be stored: %s", file.name.c_str());
      continue;
    }
    const int index = int(chooser.entries.size());
    TextButton& entry = chooser.entries.emplace_back();
    Place(entry, {0.0f, -kChooserEntryHeight * float(index)}, {300.0f, kChooserEntryHeight}, kSlotFont, 0);
    SetTextFitted(entry, file.name.c_str());
    entry.depth = entry.offset = 1.0f;
    entry.selected = relative == game.track.rider.path;
    entry.onClick = [&chooser, index] { chooser.clicked = index; };
    chooser.paths.push_back(path);
    Log("%s", file.name.c_str());
  }
  Place(chooser.next, {screen.x - 240.0f, screen.y - 40.0f}, {300.0f, 38.0f}, kSlotFont, 0);
  SetText(chooser.next, "NEXT");
  chooser.next.onClick = [&game] {
    if (game.track.rider.loaded) ToTrackScreenExplained(game);
  };
  Place(chooser.thumb, {-1.0f, screen.y - 90.0f}, {40.0f, 34.0f}, kSlotButtons, kThumbFrame);
  chooser.thumb.depth = chooser.thumb.offset = 1.0f;
  chooser.thumb.onPress = [&chooser] { chooser.thumbDrag = true; };
  chooser.thumb.onClick = [&chooser] { chooser.thumbDrag = false; };
  chooser.thumbDrag = false;
}

void RiderChooserUpdate(Game& game) {
  RiderChooser& chooser = game.riderChooser;
  const float height = float(ScreenHeight());
  SetCursorShape(game.track.cursor, CursorShape::PointDrag);
  const Vec2 before = chooser.pointer;
  chooser.pointer = PointerPosition();
  const int button = PointerButton();
  if (chooser.thumbDrag) {
    // The pointer stays over the thumb sideways; only its vertical motion drags.
    UndoMouseMotionX();
    chooser.pointer = PointerPosition();
    const float thumbY = std::clamp(chooser.thumb.y + chooser.pointer.y - before.y, kThumbTop, kThumbTop + ThumbTravel(height));
    SetScroll(chooser, 1.0f - (thumbY - kThumbTop) / ThumbTravel(height), height);
  }
  const int count = int(chooser.entries.size());
  if (const int notches = WheelSteps(); notches != 0 && count > 1)
    SetScroll(chooser, chooser.scroll - float(notches) * kWheelEntries / float(count - 1), height);
  // At the far end the last entry sits on the list's top line, still in view.
  chooser.listOrigin.y = (height - 80.0f) + float(std::max(count - 1, 0)) * chooser.scroll * kChooserEntryHeight;
  UpdateButton(chooser.thumb, chooser.pointer.x, chooser.pointer.y, button);
  if (!chooser.thumb.hovered) chooser.thumbDrag = false;
  const Vec2 local = chooser.pointer - chooser.listOrigin;
  for (int i = 0; i < count; ++i) {
    if (EntryLive(EntryBottom(chooser, i), height)) UpdateButton(chooser.entries[size_t(i)], local.x, local.y, button);
    if (chooser.clicked == i) {
      chooser.clicked = -1;
      Pick(game, i);
    }
  }
  UpdateButton(chooser.next, chooser.pointer.x, chooser.pointer.y, button);
  SetCursorPosition(game.track.cursor, chooser.pointer.x, chooser.pointer.y);
  if (KeyPressed(kKeyEscape)) ToMainMenu(game);
}

void RiderChooserRender(const Game& game) {
  const RiderChooser& chooser = game.riderChooser;
  const Vec2 screen = ScreenSize();
  ClearToColour(255, 255, 255);
  LoadIdentity();
  Translate(chooser.listOrigin.x, chooser.listOrigin.y);
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  for (size_t i = 0; i < chooser.entries.size(); ++i)
    if (EntryLive(EntryBottom(chooser, int(i)), screen.y)) RenderListEntry(chooser.entries[i]);
  LoadIdentity();
  RenderTextButton(chooser.next);
  Translate(0.0f, screen.y - 40.0f);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotFont, 0);
  PrintShadowText(30.0f, 30.0f, 0.0f, 2.0f, -2.0f, 100, 255, 100, 0, "CHOOSE:");
  LoadIdentity();
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotScroll, 0);
  Translate(0.0f, screen.y - 40.0f);
  DrawQuad(32.0f, -(screen.y - 50.0f));           // the groove, from the top down to y = 10
  LoadIdentity();
  RenderButton(chooser.thumb);
  RenderOverlay(game);
  DrawCursor(game.track.cursor);
}
