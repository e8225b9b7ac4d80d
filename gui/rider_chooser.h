// The rider chooser: the rider files of riders/ as a list of names that scrolls with a thumb at
// the left edge or the mouse wheel. A pick loads the rider at once and puts it on the track; the
// rider in use is highlighted, so NEXT (on to the track) works from the start.
#pragma once
#include <string>
#include <vector>

#include "gui/widgets.h"
#include "shell/vec2.h"

struct Game;

constexpr float kChooserEntryHeight = 20.0f;      // px between list lines

struct RiderChooser {
  std::vector<TextButton> entries;                // one per rider file, in the folder's order
  std::vector<std::string> paths;                 // each entry's file (stored path); the text may be cut, this never
  float scroll = 0;                               // 0 = the list's top, 1 = its far end; kept across visits
  Vec2 listOrigin{40.0f, 0.0f};                   // the entries hang from here; y follows the scroll
  Vec2 pointer;                                   // screen px, y up, as last updated
  TextButton next;
  Button thumb;
  bool thumbDrag = false;
  int clicked = -1;                               // entry clicked in this step, -1 for none
};

// Lists riders\*.rider again (names that no file can store are logged as skipped), highlights
// the rider in use and puts NEXT and the thumb in place. A missing folder gives an empty list.
void ScanRiders(Game& game);
void RiderChooserUpdate(Game& game);
void RiderChooserRender(const Game& game);
// The lower edge of entry `index` (screen px), and whether it is shown and takes the pointer:
// strictly between 10 and the screen height - 60.
float EntryBottom(const RiderChooser& chooser, int index);
bool EntryLive(float bottom, float screenHeight);
