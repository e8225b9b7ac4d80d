// The rider editor's toolbar: the three tool buttons, the buttons that change the point, link
// and sprite settings (and with them the selection), four sliders, the sprite-sheet and file
// buttons, and the handle that drags it. Built once at start; it keeps its place and highlights
// between visits of the editor.
#pragma once
#include <cstdint>

#include "gui/screen_rect.h"
#include "gui/widgets.h"
#include "rider/body.h"
#include "shell/vec2.h"

// Indices into the button array (0 and 23..31 are never placed).
enum RiderToolbarButton : int {
  kMassFollowsButton = 1,
  kPointToolButton = 2,
  kCollidesButton = 3,
  kGroupDownButton = 4,
  kGroupUpButton = 5,
  kGripButton = 6,
  kLinkToolButton = 7,
  kFirstLinkKindButton = 8,                       // 8..11: spring, rope, strut, thruster
  kBreakGroupDownButton = 12,
  kBreakGroupUpButton = 13,
  kFocusButton = 14,
  kSpriteSheetButton = 15,
  kSpriteFrameDownButton = 16,
  kSpriteFrameUpButton = 17,
  kToggleSpritesButton = 18,
  kShowSpritesButton = 19,
  kRiderSaveButton = 20,
  kRiderLoadButton = 21,
  kJointToolButton = 22,
  kRiderButtonCount = 32,
};

enum RiderToolbarSlider : int {
  kRadiusSlider = 0,
  kMassSlider = 1,
  kStiffnessSlider = 2,
  kBreakSlider = 3,
  kRiderSliderCount = 8,                          // 4..7 are never placed
};

struct Game;
struct RiderEditor;

struct RiderToolbar {
  Vec2 origin{10.0f, 700.0f};                     // layout origin (px, y up)
  bool dragging = false;                          // the toolbar follows the pointer
  Vec2 grabOffset;                                // pointer - origin when the drag began
  bool pointerOnCanvas = true;                    // the pointer is off the panel: the tools run
  Button buttons[kRiderButtonCount];
  Slider sliders[kRiderSliderCount];
  Button panel;                                   // never drawn: tells the pointer is over the toolbar
  Button handle;                                  // never drawn: drags the toolbar
  BodyPoint preview;                              // shows the group of new points
};

// Once at start: layout and the actions bound to the game.
void InitRiderToolbar(Game& game);
// One step: knobs and frames from the settings, the sliders (a moved one sets its value), the
// handle, the panel and the buttons.
void UpdateRiderToolbar(Game& game);
void EndRiderToolbarDrag(RiderToolbar& toolbar);  // the handle lets go (the screen is left)
// The panel, the widgets, the preview point and the values, in screen px.
void RenderRiderToolbar(const RiderToolbar& toolbar, const RiderEditor& editor);
// A button's name for its tooltip, with its key when it has one ("SHOW SPRITES (D)"); null for
// an index that is never placed.
const char* RiderButtonTip(int index);
ScreenRect RiderToolbarRect(const RiderToolbar& toolbar);  // its picture and panel, screen px
