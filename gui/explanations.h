// The two explanation screens: a full-screen picture with NEXT, shown before the first visit of
// the track screen and of the rider editor in a run (see the explained switch functions in
// gui/screens.h).
#pragma once
#include "gui/widgets.h"
#include "shell/vec2.h"

struct Game;

struct Explanation {
  TextButton next;
  Vec2 pointer;                                   // screen px, y up, as last updated
};

void InitExplanations(Game& game);                // once at start: NEXT on both
void TrackExplanationUpdate(Game& game);          // NEXT: track screen; Escape: rider chooser
void TrackExplanationRender(const Game& game);
void RiderExplanationUpdate(Game& game);          // NEXT: rider editor; Escape: main menu
void RiderExplanationRender(const Game& game);
// The picture's half size: 256, or half the screen's height on screens 512 px high or less.
float ExplanationHalfSize(float screenHeight);
