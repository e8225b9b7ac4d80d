// The vertical toolbar at the left of the track screen: tool buttons, play, stop and restart,
// file buttons, the thickness slider, the colour swatch with its picker, and the handle that
// drags the whole toolbar. Built once at start; it keeps its position, tool and highlights
// while the player visits other screens.
#pragma once
#include <cstdint>

#include "gui/screen_rect.h"
#include "gui/widgets.h"
#include "shell/vec2.h"

// Indices into the button array (0, 13 and 19 are never placed).
enum ToolbarButton : int {
  kPlayButton = 1,
  kStopButton = 2,
  kPanButton = 3,
  kPencilButton = 4,
  kZoomButton = 5,
  kBoostButton = 6,
  kSceneryButton = 7,
  kEraserButton = 8,
  kClearButton = 9,
  kFlagButton = 10,
  kPlayFromStartButton = 11,
  kSnapButton = 12,
  kSaveButton = 14,
  kLoadButton = 15,
  kMenuButton = 16,
  kDragButton = 17,
  kGhostButton = 18,
  kToolbarButtonCount = 20,
};

struct Game;

struct TrackToolbar {
  Vec2 anchor{20.0f, 650.0f};                     // layout origin (px, y up)
  int32_t currentTool = 1;                        // tool number 0-9 (see track/track_tools.h)
  bool running = false;                           // the rider is simulated every step
  bool dragging = false;                          // the toolbar follows the pointer
  Vec2 grabOffset;                                // pointer - anchor when the drag began
  bool pointerInWorld = true;                     // the pointer is off the toolbar panel: tools run
  bool pickerHover = false;                       // the pointer is over the open colour picker
  int32_t clearCount = 0;                         // clear clicks since the pointer last left the button
  Button buttons[kToolbarButtonCount];
  Slider thickness;
  ColourPicker picker;
  ColourSwatch swatch;
  Button panel;                                   // never drawn: tells the pointer is over the toolbar
  Button handle;                                  // never drawn: drags the toolbar
};

// Once at start: layout, actions bound to the game, picker image.
void InitTrackToolbar(Game& game);
// The demonstration lock, first in every track screen step: tool 8 and most buttons off while a
// .demo track is loaded; back to the pencil when it is not.
void ApplyDemoLock(Game& game);
// One step of the toolbar with the pointer (screen px, y up); false when the pointer is over the
// open colour picker, so that no tool may run in this step.
bool UpdateTrackToolbar(Game& game);
// Space on the track screen: the play buttons show "not running" and the run stops.
void PauseFromKeyboard(TrackToolbar& toolbar);
void EndToolbarDrag(TrackToolbar& toolbar);       // the handle lets go (the screen is left)
void RenderTrackToolbar(const TrackToolbar& toolbar);
// A button's name for its tooltip, with its key when it has one ("ZOOM (Z / X)"); null for an
// index that is never placed.
const char* TrackButtonTip(int index);
// The rectangle the toolbar covers on the screen (px): its picture, its panel and the picker
// while it is open.
ScreenRect TrackToolbarRect(const TrackToolbar& toolbar);
