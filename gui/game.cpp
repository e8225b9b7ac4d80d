#include "gui/game.h"

#include <cstdio>
#include <cstring>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/track_screen.h"
#include "gui/track_toolbar.h"
#include "platform/platform.h"
#include "rider/current_rider.h"
#include "rider/rider_file.h"
#include "shell/app.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/cursor.h"
#include "track/line_drawing.h"
#include "track/track_tools.h"
#include "track/world.h"

// The rider the game starts with: riders\sledder.rider, else the first rider file of the folder.
static const char* const kDefaultRider = "riders\\sledder.rider";
static char firstRider[kMaxPath];

static void ClearToBlack() { ClearToColour(0, 0, 0); }

static void RememberFirstRider(const char* path) {
  if (firstRider[0] == 0) snprintf(firstRider, sizeof firstRider, "%s", path);
}

static void LoadDefaultRider() {
  char path[kMaxPath];
  if (MakeAbsolutePath(path, kDefaultRider) && PlatformIsRegularFile(path) &&
      LoadRider(TheCurrentRider(), path) == FileLoad::Loaded)
    return;
  firstRider[0] = 0;
  WalkFolder("riders\\*.rider", RememberFirstRider, false);
  if (firstRider[0] == 0 || LoadRider(TheCurrentRider(), firstRider) != FileLoad::Loaded)
    Log("no rider found in the riders folder");
}

// Slot 15 follows the rider in use; the lines may have been replaced while another screen ran.
static void BeforeTrackScreen() {
  const CurrentRider& rider = TheCurrentRider();
  if (strlen(rider.spriteSheet) > 4) AssignSprite(kRiderSheetSlot, rider.spriteSheet, 4, 4, true);
  ForgetLineOrder();
}

static void HandShownFps(int fps) { SetShownFps(TheWorld(), fps); }

// Until the menus exist, Escape on the track screen ends the game through the normal exit path.
static int EndGame() { Quit(); }

static void InitialiseGame() {
  AssignSpriteTable();
  ResetInput();
  InitTrackToolbar();
  LoadDefaultRider();
  RestartRiderFromScratch(TheWorld());
  SetCursorShape(1);
  ToTrackScreen();
}

void InstallGame() {
  GraphicsCalls graphics;
  graphics.createDevice = CreateDevice;
  graphics.releaseDevice = ReleaseDevice;
  graphics.forgetTextures = ForgetSpriteTextures;
  graphics.clearToBlack = ClearToBlack;
  graphics.clearScreen = ClearScreen;
  graphics.present = Present;
  SetGraphicsCalls(graphics);
  SwitchHooks hooks;
  hooks.beforeTrackScreen = BeforeTrackScreen;
  hooks.handShownFps = HandShownFps;
  SetSwitchHooks(hooks);
  SetScreen(ScreenId::Track, {TrackScreenUpdate, TrackScreenRender});
  SetTrackScreenEscape(EndGame);
  SetGameInit(InitialiseGame);
  AddExitHandler(FreeTrackToolbar);
  AddExitSave(SaveWorldAtExit);
}
