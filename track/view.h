// How the track is shown: the camera and zoom that map world units to screen pixels, the
// drawing style of riders and what the on-screen display shows. A world point w is drawn at
// C + zoom (w + camera - C), C the screen centre.
#pragma once
#include <cstdint>

#include "shell/vec2.h"

struct World;

constexpr float kMinZoom = 0.3f;
constexpr float kMaxZoom = 4.0f;

struct View {
  Vec2 camera;                                    // view offset: screen = C + zoom (w + camera - C)
  float zoom = 1.0f;                              // 0.3 .. 4.0
  bool wireframe = false;                         // riders as skeletons instead of sprites
  int32_t shownFps = 0;                           // frames per second for the on-screen display
};

// Lines with both endpoints beyond one side of this rectangle are not drawn (world units).
struct CullRect {
  float minX = 0, minY = 0, maxX = 0, maxY = 0;
};

void StartView(View& view);                       // the camera of a new game, zoom 1
Vec2 WorldPointOf(const View& view, Vec2 screen);  // pointer -> world units
Vec2 ScreenPointOf(const View& view, Vec2 point);  // world units -> screen px
float ClampZoom(float zoom);                      // into 0.3..4.0; NaN gives 0.3
CullRect VisibleRect(const View& view);           // the world rectangle on screen
CullRect LineCullRect(const View& view);          // the visible rectangle grown by 40 / zoom on every side
void CentreOnRider(View& view, const World& world);  // focus point at the centre; skeleton when no sprites
void FollowFocus(View& view, const World& world);  // camera dead-zone follow of the focus point
void CutToFocus(View& view, const World& world);  // focus point at the centre (after a jump in time)
