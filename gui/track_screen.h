// The track screen: the player draws the track, places and starts the rider and watches it ride.
// Its update runs the toolbar, the current tool and the play cycle once per 10 ms step; its
// render draws the world, the toolbar and the cursor.
#pragma once

void TrackScreenUpdate();
void TrackScreenRender();
void SetTrackScreenEscape(int (*action)());       // what Escape does (the in-game menu by default)
void ResetTrackScreen();                          // step latch and pointer memory (tests, a new run)
