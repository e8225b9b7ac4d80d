#include "gui/tooltip.h"

#include <algorithm>
#include <cstring>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/widgets.h"

int32_t HoveredButton(const Button* buttons, int32_t count) {
  int32_t hovered = -1;
  for (int32_t i = 0; i < count; ++i)
    if (buttons[i].visible && buttons[i].enabled && buttons[i].hovered) hovered = i;
  return hovered;
}

void StepTooltip(Tooltip& tooltip, TooltipBar bar, int32_t button, bool mouseHeld) {
  if (bar == TooltipBar::None) button = -1;
  if (button < 0) bar = TooltipBar::None;
  if (bar != tooltip.bar || button != tooltip.button) tooltip = {bar, button, 0, false};
  if (button < 0) return;
  // Held while it comes onto the button (a drag passing over) counts as a press too.
  if (mouseHeld) tooltip.pressed = true;
  if (tooltip.steps < kTooltipSteps) ++tooltip.steps;
}

bool TooltipShown(const Tooltip& tooltip) {
  return tooltip.button >= 0 && tooltip.steps >= kTooltipSteps && !tooltip.pressed;
}

ScreenRect PlaceTooltip(const ScreenRect& button, int characters, Vec2 screen) {
  ScreenRect box;
  box.w = float(characters) * kTooltipGlyph + 2 * kTooltipPad;
  box.h = kTooltipGlyph + 2 * kTooltipPad;
  box.x = button.x + button.w + kTooltipGap;
  if (box.x + box.w > screen.x) box.x = button.x - kTooltipGap - box.w;
  box.x = std::clamp(box.x, 0.0f, std::max(0.0f, screen.x - box.w));
  box.y = std::clamp(button.y + (button.h - box.h) / 2, 0.0f, std::max(0.0f, screen.y - box.h));
  return box;
}

void RenderTooltip(const ScreenRect& box, const char* text) {
  LoadIdentity();
  Translate(box.x, box.y);
  EnableBlend(true);
  UseAlphaBlend();
  EnableTexture(false);
  SetColour(40, 40, 40, 220);
  DrawQuad(box.w, box.h);
  EnableTexture(true);
  BindSpriteFrame(kSlotFont, 0);
  Translate(kTooltipPad, kTooltipPad);
  SetColour(255, 255, 255, 255);
  PrintText(kTooltipGlyph, kTooltipGlyph, 0.0f, "%s", text);
  LoadIdentity();
}
