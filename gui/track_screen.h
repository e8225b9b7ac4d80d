// The track screen: the player draws the track, places and starts the rider and watches it ride.
// Its update runs the toolbar, the current tool and the play cycle once per 10 ms step; its
// render draws the scene, the toolbar and the cursor.
#pragma once
#include <cstdint>

#include "shell/vec2.h"

struct Game;

struct TrackScreen {
  bool stepLatch = false;                         // M held after it advanced the rider once
  Vec2 mouse;                                     // screen px, y up
};

void TrackScreenUpdate(Game& game);
void TrackScreenRender(const Game& game);
