#include "gui/game.h"

#include "graphics/device.h"
#include "graphics/sprites.h"
#include "shell/app.h"
#include "shell/input.h"

static void ClearToBlack() { ClearToColour(0, 0, 0); }

static void InitialiseGame() {
  AssignSpriteTable();
  ResetInput();
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
  SetGameInit(InitialiseGame);
}
