#include "gui/game.h"

#include <cstdio>
#include <string>
#include <vector>

#include "graphics/device.h"
#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "platform/platform.h"
#include "rider/rider_file.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "shell/safe_save.h"
#include "track/track_file.h"

namespace {

// The rider the game starts with: riders\sledder.rider (the player's, else the shipped one), else
// the first shipped rider file, by name, that loads.
const char* const kDefaultRider = "riders\\sledder.rider";

}  // namespace

// LoadRider logs why a file was refused; this adds that the search goes on.
void LoadDefaultRider(CurrentRider& rider) {
  char defaultPath[kMaxPath] = {};
  if (MakeAbsolutePath(defaultPath, kDefaultRider) && PlatformIsRegularFile(defaultPath)) {
    if (LoadRider(rider, defaultPath) == FileLoad::Loaded) return;
    Log("rider %s refused, trying the others", defaultPath);
  }
  std::vector<std::string> riderFiles;
  WalkFolder("riders\\*.rider", [&](const char* path) { riderFiles.emplace_back(path); }, false);
  for (const std::string& path : riderFiles) {
    if (path == defaultPath) continue;
    if (LoadRider(rider, path.c_str()) == FileLoad::Loaded) return;
    Log("rider %s refused, trying the next", path.c_str());
  }
  Log("no rider found in the riders folder");
}

void RemoveStaleSaveFiles() {
  // The folders the game saves into by itself: last_played.track in the player folder, the test
  // ride's rider in riders. A save elsewhere, through a dialog, is the player's folder to keep.
  static const char* const kFolders[] = {"", "riders"};
  static const std::vector<std::string> kExtensions = {".track", ".demo", ".rider"};
  for (const char* folder : kFolders) {
    std::string stored = PlayerFolder();
    if (folder[0]) stored += std::string("\\") + folder;
    RemoveStaleSaves(stored.c_str(), kExtensions);
  }
}

void BuildScreens(Game& game) {
  SetScreen(game, ScreenId::MainMenu, {MainMenuUpdate, MainMenuRender});
  SetScreen(game, ScreenId::GameMenu, {GameMenuUpdate, GameMenuRender});
  SetScreen(game, ScreenId::RiderChooser, {RiderChooserUpdate, RiderChooserRender});
  SetScreen(game, ScreenId::Track, {TrackScreenUpdate, TrackScreenRender});
  SetScreen(game, ScreenId::RiderEditor, {RiderEditorUpdate, RiderEditorRender});
  SetScreen(game, ScreenId::TrackExplanation, {TrackExplanationUpdate, TrackExplanationRender});
  SetScreen(game, ScreenId::RiderExplanation, {RiderExplanationUpdate, RiderExplanationRender});
  InitMainMenu(game);
  InitGameMenu(game);
  InitExplanations(game);
  InitTrackToolbar(game);
  InitRiderToolbar(game);
  PlaceTimelineBar(game.timelineBar);
}

void StartGame(Game& game) {
  RemoveStaleSaveFiles();
  AssignSpriteTable();
  ResetInput();
  BuildScreens(game);
  LoadDefaultRider(game.track.rider);
  StartTrackScene(game.track);
  ToMainMenu(game);
  StartAutosave(game);
}

void SaveGameAtExit(const Game& game, const NoticeSink& sink) {
  const World& world = game.track.world;
  // Nothing of the player's to keep: the last track stays as it was, and nobody is told.
  if (world.demoLoaded || (SolidLineCount(world) == 0 && SceneryLineCount(world) == 0)) return;
  char path[kMaxPath];
  if (!MakePlayerPath(path, "last_played.track")) return;
  SaveTrack(world, game.track.rider, path, sink);
}

GameCalls GameCallsFor(Game& game) {
  GameCalls calls;
  calls.createDevice = CreateDevice;
  calls.releaseDevice = ReleaseDevice;
  calls.forgetTextures = ForgetSpriteTextures;
  calls.clearToBlack = [] { ClearToColour(0, 0, 0); };
  calls.clearScreen = ClearScreen;
  calls.present = Present;
  calls.start = [&game] { StartGame(game); };
  calls.update = [&game] {
    UpdateCurrentScreen(game);
    StepAutosave(game);
  };
  calls.render = [&game] { RenderCurrentScreen(game); };
  calls.handShownFps = [&game](int fps) { game.track.view.shownFps = fps; };
  calls.saveAtExit = [&game] {
    SaveGameAtExit(game);
    StopRideExport(game);
    EndAutosave(game);
  };
  return calls;
}
