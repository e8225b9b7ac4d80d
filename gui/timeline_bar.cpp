#include "gui/timeline_bar.h"

#include <algorithm>
#include <cmath>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "platform/keys.h"
#include "shell/display.h"
#include "shell/input.h"

namespace {

constexpr float kMargin = 10.0f;                  // px from the screen's edges
constexpr float kGrooveInset = 12.0f;             // px from the groove widget's ends to its travel
constexpr int kKnobFrame = 16;                    // the sliders' knob in the button sheet
constexpr int kShiftStride = 10;                  // steps per arrow press with Shift
constexpr double kSecondsPerStep = 0.01;

constexpr int64_t kShortestScale = 1000;          // steps the whole groove stands for at least (10 s)

float TravelStart(const TimelineBar& bar) { return bar.groove.x + kGrooveInset; }
float TravelWidth(const TimelineBar& bar) { return bar.groove.w - 2 * kGrooveInset; }
// Steps the groove's travel stands for: the ride so far, and 10 s before it is that long.
double Scale(const Timeline& timeline) { return double(std::max(timeline.furthest, kShortestScale)); }

}  // namespace

void PlaceTimelineBar(TimelineBar& bar) {
  const float width = float(ScreenWidth());
  const float x = kMargin + kTimelineTextWidth;
  Place(bar.groove, {x, 0.0f}, {std::max(width - x - kMargin, 2 * kGrooveInset + 1), kTimelineBarHeight}, -1, 0);
}

int64_t StepAtBar(const TimelineBar& bar, const Timeline& timeline, float x) {
  const float fraction = std::clamp((x - TravelStart(bar)) / TravelWidth(bar), 0.0f, 1.0f);
  return std::min(std::llround(double(fraction) * Scale(timeline)), (long long)timeline.furthest);
}

bool UpdateTimelineBar(Game& game) {
  TimelineBar& bar = game.timelineBar;
  TrackScene& scene = game.track;
  const Vec2 pointer = game.trackScreen.mouse;
  const bool inside = IsInside(bar.groove, pointer.x, pointer.y);
  if (inside && KeyPressed(kKeyLeftButton)) bar.dragging = true;
  if (!KeyDown(kKeyLeftButton)) bar.dragging = false;
  int64_t target = scene.timeline.step;
  if (bar.dragging) target = StepAtBar(bar, scene.timeline, pointer.x);
  const int64_t stride = KeyDown(kKeyShift) ? kShiftStride : 1;
  if (KeyDown(kKeyLeft)) target -= stride;
  if (KeyDown(kKeyRight)) target += stride;
  if (KeyPressed(kKeyHome)) target = 0;
  if (bar.dragging || KeyDown(kKeyLeft) || KeyDown(kKeyRight) || KeyPressed(kKeyHome)) PauseFromKeyboard(game.toolbar);
  if (target != scene.timeline.step) JumpTrackRider(scene, std::max<int64_t>(target, 0));
  return bar.dragging || (inside && PointerButton() == 0 && !KeyDown(kKeyMiddleButton));
}

void RenderTimelineBar(const TimelineBar& bar, const Timeline& timeline) {
  LoadIdentity();
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotTimeline, 0);
  PushTransform();
  Translate(kMargin, kTimelineBarHeight);
  DrawQuad(bar.groove.x + bar.groove.w - kMargin, -kTimelineBarHeight);
  PopTransform();
  // The groove, the part ridden so far, then the knob at the step shown.
  const float x0 = TravelStart(bar), width = TravelWidth(bar);
  const float shown = float(std::min(double(timeline.step) / Scale(timeline), 1.0));
  const float ridden = width * float(double(timeline.furthest) / Scale(timeline));
  EnableTexture(false);
  const float mid = kTimelineBarHeight / 2;
  SetColour(195, 202, 212, 255);
  const float groove[8] = {x0 - 3, mid - 3, x0 + width + 3, mid - 3, x0 + width + 3, mid + 3, x0 - 3, mid + 3};
  DrawVertices(Primitive::Quads, groove, 4);
  SetColour(255, 100, 0, 200);
  const float band[8] = {x0, mid - 2, x0 + ridden, mid - 2, x0 + ridden, mid + 2, x0, mid + 2};
  DrawVertices(Primitive::Quads, band, 4);
  EnableTexture(true);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotButtons, kKnobFrame);
  PushTransform();
  Translate(x0 + width * shown, mid - 1);
  DrawCentredQuad(12.0f, -12.0f);
  PopTransform();
  BindSpriteFrame(kSlotFont, 0);
  SetColour(50, 50, 50, 255);
  PushTransform();
  Translate(kMargin + 8.0f, 8.0f);
  PrintText(11.0f, 12.0f, 0.0f, "%7.2f s %lld/%lld", double(timeline.step) * kSecondsPerStep,
            (long long)timeline.step, (long long)timeline.furthest);
  PopTransform();
  SetColour(255, 255, 255, 255);
}
