#include "gui/track_screen.h"

#include <GL/gl.h>

#include "graphics/draw.h"
#include "gui/track_toolbar.h"
#include "platform/keys.h"
#include "shell/app.h"
#include "shell/display.h"
#include "shell/input.h"
#include "rider/ghost.h"
#include "track/cursor.h"
#include "track/track_tools.h"
#include "track/track_view.h"
#include "track/world.h"

// ---- State: reset at start, kept while the player visits other screens ----
namespace {
struct TrackScreen {
  uint8_t stepLatch = 0;                          // M held after it advanced the rider once
  Vec2 mouse;                                     // screen px, y up
  Vec2 motion;                                    // mouse minus its value in the previous step
  int (*escape)() = ToInGameMenu;
};
TrackScreen screen;

// Space, M and the running flag move the rider one step per update (M only once per press);
// otherwise the ghost plays.
void AdvanceRiderOrGhost(World& world, bool running) {
  bool m = KeyDown('M');
  if (KeyDown(kKeySpace) || m || running) {
    if (!screen.stepLatch) {
      StepRider(world);
    } else {
      StepGhost(world);
    }
    if (m) screen.stepLatch = 1;
  } else {
    StepGhost(world);
  }
}
}  // namespace

void TrackScreenUpdate() {
  World& world = TheWorld();
  TrackToolbar& toolbar = TheTrackToolbar();
  ApplyDemoLock();
  float x = 0, y = 0;
  GetMouse(&x, &y);
  Vec2 mouse{x, static_cast<float>(ScreenHeight()) - y};
  screen.motion = mouse - screen.mouse;
  screen.mouse = mouse;
  if (UpdateTrackToolbar()) {
    if (!KeyDown('M')) screen.stepLatch = 0;
    if (toolbar.pointerInWorld) RunTool(world, toolbar.currentTool, mouse);
  }
  if (KeyPressed(kKeySpace)) PauseFromKeyboard();
  AdvanceRiderOrGhost(world, toolbar.running != 0);
  if (KeyDown('R')) RestartRiderFromScratch(world);
  if (KeyPressed(kKeyEscape) && screen.escape) screen.escape();
}

void TrackScreenRender() {
  ClearToColour(255, 255, 255);
  glLoadIdentity();
  RenderWorld(TheWorld());
  glDisable(GL_TEXTURE_2D);
  RenderTrackToolbar();
  glLoadIdentity();
  SetCursorPosition(screen.mouse.x, screen.mouse.y);
  DrawCursor();
}

void SetTrackScreenEscape(int (*action)()) { screen.escape = action; }

void ResetTrackScreen() {
  int (*escape)() = screen.escape;
  screen = TrackScreen{};
  screen.escape = escape;
}
