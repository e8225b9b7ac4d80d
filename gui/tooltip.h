// The name of a toolbar button, and its key if it has one, shown beside the button once the
// pointer has rested on it for half a second. Leaving the button or pressing a mouse button
// hides it; it never takes input.
#pragma once
#include <cstdint>

#include "gui/screen_rect.h"
#include "shell/vec2.h"

struct Button;

constexpr int32_t kTooltipSteps = 50;             // 0.5 s of 10 ms steps on one button
constexpr float kTooltipGlyph = 14.0f;            // glyph size and advance, px
constexpr float kTooltipPad = 4.0f;               // px of backdrop around the text
constexpr float kTooltipGap = 6.0f;               // px between the button and the tooltip

// Which toolbar the tooltip's button belongs to.
enum class TooltipBar { None, Track, Rider };

struct Tooltip {
  TooltipBar bar = TooltipBar::None;              // the toolbar of the button rested on
  int32_t button = -1;                            // its index in that toolbar's array; -1: none
  int32_t steps = 0;                              // steps the pointer has rested on it
  bool pressed = false;                           // a press since it came: hidden until it leaves
};

// The button under the pointer: the last enabled, hovered one of the array (drawn on top); -1
// when there is none.
int32_t HoveredButton(const Button* buttons, int32_t count);
// One step with the button the pointer is on (bar None or button -1: on none) and whether a
// mouse button is held.
void StepTooltip(Tooltip& tooltip, TooltipBar bar, int32_t button, bool mouseHeld);
bool TooltipShown(const Tooltip& tooltip);        // rested long enough and not pressed
// The tooltip box (text plus backdrop) of `characters` characters for a button at `button`
// (screen px): right of it, or left of it when that would leave the screen, level with the
// button's middle, and clamped inside the screen.
ScreenRect PlaceTooltip(const ScreenRect& button, int characters, Vec2 screen);
// Draws text in the box; identity transform, texturing and blending left on.
void RenderTooltip(const ScreenRect& box, const char* text);
