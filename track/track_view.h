// How the track screen is drawn: the world through the camera and zoom with the lines culled to
// the view, the start flag, the ghost, the rider, the stroke preview and the on-screen display.
// A world point w is drawn at C + zoom (w + camera - C), C the screen centre.
#pragma once

#include "track/world.h"

CullRect VisibleRect(const World& world);         // the world rectangle on screen
CullRect LineCullRect(const World& world);        // the visible rectangle grown by 40 / zoom on every side
uint8_t GhostAlpha(const World& world);           // 130 at the start of the ghost's loop, 2 at its end
// GL. Also toggles the wireframe drawing when D was pressed in this frame.
void RenderWorld(World& world);
