// What lies over every screen's own drawing: the messages and the toolbar tooltip. The frame
// steps them once per 10 ms step after the current screen's update; every screen's render draws
// them just before the cursor.
#pragma once

#include "gui/screen_rect.h"

struct Game;

void StepOverlay(Game& game);                     // the messages' time, the tooltip's rest
void RenderOverlay(const Game& game);
// The current screen's toolbar on the screen (px); false on a screen without one.
bool CurrentToolbarRect(const Game& game, ScreenRect* out);
