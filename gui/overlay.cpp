#include "gui/overlay.h"

#include <cstring>

#include "graphics/draw.h"
#include "gui/game.h"
#include "platform/keys.h"
#include "shell/display.h"
#include "shell/input.h"

namespace {

bool Showing(const Game& game, ScreenId id) {
  return game.screens.current.update && game.screens.current.update == game.screens.table[int(id)].update;
}

// The rested button's tooltip text and its rectangle on the screen; null when it has none.
const char* TipOf(const Game& game, const Tooltip& tooltip, ScreenRect* button) {
  const Button* buttons = nullptr;
  Vec2 origin;
  const char* text = nullptr;
  if (tooltip.bar == TooltipBar::Track) {
    buttons = game.toolbar.buttons;
    origin = game.toolbar.anchor;
    text = TrackButtonTip(tooltip.button);
  } else if (tooltip.bar == TooltipBar::Rider) {
    buttons = game.riderToolbar.buttons;
    origin = game.riderToolbar.origin;
    text = RiderButtonTip(tooltip.button);
  }
  if (!text) return nullptr;
  const Button& b = buttons[tooltip.button];
  *button = {origin.x + b.x, origin.y + b.y, b.w, b.h};
  return text;
}

}  // namespace

bool CurrentToolbarRect(const Game& game, ScreenRect* out) {
  if (Showing(game, ScreenId::Track)) {
    *out = TrackToolbarRect(game.toolbar);
    return true;
  }
  if (Showing(game, ScreenId::RiderEditor)) {
    *out = RiderToolbarRect(game.riderToolbar);
    return true;
  }
  return false;
}

void StepOverlay(Game& game) {
  StepMessages(game.messages);
  TooltipBar bar = TooltipBar::None;
  int32_t button = -1;
  if (Showing(game, ScreenId::Track)) {
    bar = TooltipBar::Track;
    button = HoveredButton(game.toolbar.buttons, kToolbarButtonCount);
  } else if (Showing(game, ScreenId::RiderEditor)) {
    bar = TooltipBar::Rider;
    button = HoveredButton(game.riderToolbar.buttons, kRiderButtonCount);
  }
  StepTooltip(game.tooltip, bar, button, PointerButton() != 0 || KeyDown(kKeyMiddleButton));
}

void RenderOverlay(const Game& game) {
  LoadIdentity();
  const Vec2 screen = ScreenSize();
  ScreenRect bar;
  const bool hasBar = CurrentToolbarRect(game, &bar);
  RenderMessages(LayOutMessages(game.messages, screen, hasBar ? &bar : nullptr));
  if (!TooltipShown(game.tooltip)) return;
  ScreenRect button;
  if (const char* text = TipOf(game, game.tooltip, &button))
    RenderTooltip(PlaceTooltip(button, int(strlen(text)), screen), text);
}
