// The game record: every piece of the running game's state, made in one place at start and
// handed to every screen's update and render. Nothing else in the game keeps state of its own
// but the sprite table and the log (process resources), so a test makes a fresh Game instead
// of resetting modules by hand.
#pragma once

#include "gui/autosave.h"
#include "gui/explanations.h"
#include "gui/export_job.h"
#include "gui/menus.h"
#include "gui/messages.h"
#include "gui/rider_chooser.h"
#include "gui/rider_editor_screen.h"
#include "gui/rider_toolbar.h"
#include "gui/screens.h"
#include "gui/timeline_bar.h"
#include "gui/tooltip.h"
#include "gui/track_screen.h"
#include "gui/track_toolbar.h"
#include "rider/editor_history.h"
#include "rider/rider_editor.h"
#include "shell/app.h"
#include "track/line_drawing.h"
#include "track/track_scene.h"

struct Game {
  Screens screens;                                // the screen pairs and the current one; set at start
  TrackScene track;                               // world, rider in use, editor, view, cursor: whole run
  TrackToolbar toolbar;                           // laid out at start; keeps tool and position across screens
  TrackScreen trackScreen;                        // the track screen's step memory
  TimelineBar timelineBar;                        // placed at start along the screen's bottom
  RiderEditor riderEditor;                        // the rider being built: kept across visits
  RiderToolbar riderToolbar;                      // laid out at start; keeps place and highlights
  RiderEditorScreen riderEditorScreen;            // the editor screen's step memory
  EditorHistory riderHistory;                     // the editor's actions that can be taken back: whole run
  TextMenu mainMenu;                              // laid out at start, with the day's caption
  TextMenu gameMenu;                              // laid out at start
  RiderChooser riderChooser;                      // listed anew on every visit; keeps its scroll
  Explanation trackExplanation;                   // laid out at start
  Explanation riderExplanation;                   // laid out at start
  Autosave autosave;                              // the session, what was last seen and the copy under way
  ExportJob exportJob;                            // the ride being exported by V, and its result for a while
  Messages messages;                              // outcomes on screen; each goes after kMessageSteps
  Tooltip tooltip;                                // the toolbar button rested on; forgotten off it
  mutable LineDrawCache drawCache;                // render scratch: the lines found for the last frame

  Game() = default;
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;
};

// Start-up after the display settings are read and the device is up: screens, menus, toolbars,
// the default rider, the main menu current.
void StartGame(Game& game);
// Every screen's pair into the table, and every screen's widgets laid out with their actions.
void BuildScreens(Game& game);
// What the frame calls for this game: device, start-up, steps, frames and the exit-time save.
GameCalls GameCallsFor(Game& game);
// last_played.track unless the track came from a .demo or has no line; the outcome also to sink.
void SaveGameAtExit(const Game& game, const NoticeSink& sink = {});
// Removes the temporary files of saves killed midway from the folders the game saves into.
void RemoveStaleSaveFiles();
// riders\sledder.rider, else every rider file of the folder by name until one loads; each
// refusal and a folder without any usable rider are logged, and the rider is then left as it was.
void LoadDefaultRider(CurrentRider& rider);
