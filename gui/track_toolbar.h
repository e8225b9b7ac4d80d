// The vertical toolbar at the left of the track screen: tool buttons, play, stop and restart,
// file buttons, the thickness slider, the colour swatch with its picker, and the handle that
// drags the whole toolbar. Built once at start; it keeps its position, tool and highlights
// while the player visits other screens.
#pragma once
#include <cstdint>

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

struct TrackToolbar {
  Vec2 anchor{20.0f, 650.0f};                     // layout origin (px, y up)
  int32_t currentTool = 1;                        // tool number 0-9 (see track/track_tools.h)
  uint8_t running = 0;                            // the rider is simulated every step
  uint8_t dragging = 0;                           // the toolbar follows the pointer
  Vec2 grabOffset;                                // pointer - anchor when the drag began
  uint8_t pointerInWorld = 1;                     // the pointer is off the toolbar panel: tools run
  uint8_t pickerHover = 0;                        // the pointer is over the open colour picker
  int32_t clearCount = 0;                         // clear clicks since the pointer last left the button
  Button buttons[kToolbarButtonCount];
  Slider thickness;
  ColourPicker picker;
  ColourSwatch swatch;
  Button panel;                                   // never drawn: tells the pointer is over the toolbar
  Button handle;                                  // never drawn: drags the toolbar
};

TrackToolbar& TheTrackToolbar();                  // the one toolbar, lives for the whole run
void InitTrackToolbar();                          // once at start: layout, actions, picker image
void FreeTrackToolbar();                          // exit: releases the picker's pixels
// The demonstration lock, first in every track screen step: tool 8 and most buttons off while a
// .demo track is loaded; back to the pencil when it is not.
void ApplyDemoLock();
// One step of the toolbar with the pointer (screen px, y up); false when the pointer is over the
// open colour picker, so that no tool may run in this step.
bool UpdateTrackToolbar();
// Space on the track screen: the play buttons show "not running" and the run stops.
void PauseFromKeyboard();
void RenderTrackToolbar();                        // GL; inside the track screen's render
