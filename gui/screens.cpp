#include "gui/screens.h"

#include <cstring>
#include <utility>

#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "gui/widgets.h"
#include "rider/current_rider.h"
#include "shell/log.h"

namespace {

const char* NameOf(ScreenId id) {
  switch (id) {
    case ScreenId::MainMenu: return "main menu";
    case ScreenId::GameMenu: return "in-game menu";
    case ScreenId::RiderChooser: return "rider chooser";
    case ScreenId::Track: return "track screen";
    case ScreenId::RiderEditor: return "rider editor";
    case ScreenId::TrackExplanation: return "track explanation";
    case ScreenId::RiderExplanation: return "rider editor explanation";
    case ScreenId::Count: break;
  }
  return "unknown screen";
}

// Drags belong to the screen that began them: none outlives a switch.
void EndTransientDrags(Game& game) {
  EndSliderDrag();
  EndToolbarDrag(game.toolbar);
  EndDrags(game.track.editor);
  EndRiderToolbarDrag(game.riderToolbar);
  EndGestures(game.riderEditor);
  game.riderEditorScreen.leftDown = game.riderEditorScreen.rightDown = false;
  game.riderChooser.thumbDrag = false;
}

}  // namespace

void SetScreen(Game& game, ScreenId id, Screen screen) { game.screens.table[int(id)] = screen; }

bool SwitchScreen(Game& game, ScreenId id) {
  const Screen screen = game.screens.table[int(id)];
  if (!screen.update || !screen.render) {
    Log("%s has no update or render: staying on the current screen", NameOf(id));
    return false;
  }
  EndTransientDrags(game);
  AutosaveOnSwitch(game);
  game.screens.current = screen;
  return true;
}

void UseRiderSheet(const char* sheet) {
  if (strlen(sheet) > 4) AssignSprite(kSlotRiderSheet, sheet, 4, 4, true);
}

int ToMainMenu(Game& game) {
  SwitchScreen(game, ScreenId::MainMenu);
  return 0;
}

int ToGameMenu(Game& game) {
  SwitchScreen(game, ScreenId::GameMenu);
  return 0;
}

int ToRiderChooser(Game& game) {
  if (SwitchScreen(game, ScreenId::RiderChooser)) ScanRiders(game);
  return 0;
}

int ToTrackScreen(Game& game) {
  UseRiderSheet(game.track.rider.spriteSheet);
  SwitchScreen(game, ScreenId::Track);
  return 0;
}

int ToTrackScreenExplained(Game& game) {
  if (std::exchange(game.screens.trackExplained, true)) return ToTrackScreen(game);
  SwitchScreen(game, ScreenId::TrackExplanation);
  return 0;
}

int ToRiderEditorExplained(Game& game) {
  if (std::exchange(game.screens.riderEditorExplained, true)) return ToRiderEditor(game);
  SwitchScreen(game, ScreenId::RiderExplanation);
  return 0;
}

void UpdateCurrentScreen(Game& game) {
  if (game.screens.current.update) game.screens.current.update(game);
  StepRideExport(game);
  StepOverlay(game);
}

void RenderCurrentScreen(const Game& game) {
  if (game.screens.current.render) game.screens.current.render(game);
}
