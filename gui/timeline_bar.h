// The timeline bar along the bottom of the track screen: the time and step shown, the furthest
// step ridden, and a groove to drag the rider to any step of its ride. Left and Right step back
// and forth (Shift: ten at a time), Home goes to the start; each of them pauses the ride.
#pragma once
#include <cstdint>

#include "gui/widgets.h"

struct Game;
struct Timeline;

constexpr float kTimelineBarHeight = 28.0f;       // px, at the screen's bottom edge
constexpr float kTimelineTextWidth = 250.0f;      // px left of the groove for the time and steps

struct TimelineBar {
  Widget groove;                                  // never drawn as a widget: where a drag may begin
  bool dragging = false;                          // a left press began on the groove and is held
};

void PlaceTimelineBar(TimelineBar& bar);          // along the bottom of the screen as it is now
// One step of the bar and its keys; true while the bar drags, or while the pointer rests on it
// with no button held, so that no tool may start there. A gesture begun elsewhere passes over.
bool UpdateTimelineBar(Game& game);
void RenderTimelineBar(const TimelineBar& bar, const Timeline& timeline);
// The step a pointer at x (screen px) on the groove stands for, 0..furthest. The groove stands
// for the ride so far, or for 10 seconds while the ride is shorter.
int64_t StepAtBar(const TimelineBar& bar, const Timeline& timeline, float x);
