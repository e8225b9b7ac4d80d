// The rider editor screen: the toolbar, the current tool with the mouse over the canvas, the
// view and the editor's keys once per 10 ms step; the canvas, the toolbar and the cursor per
// frame. The editing itself is rider/rider_editor.h.
#pragma once
#include "shell/notice.h"
#include "shell/vec2.h"

struct Game;
struct RiderEditor;

struct RiderEditorScreen {
  Vec2 mouse;                                     // screen px, y up
  bool leftDown = false;                          // a left press went to the current tool
  bool rightDown = false;                         // a right press went to the current tool
};

// Switch function: without unsaved edits the editor takes the rider in use first; its sheet
// goes into the rider sheet slot.
int ToRiderEditor(Game& game);
void RiderEditorUpdate(Game& game);
void RiderEditorRender(const Game& game);
// Before Space (to the track screen) and Escape (to the in-game menu): the edited rider becomes
// the rider in use, saved as riders\temp_rider.rider, and is put on the track; with no point
// nothing changes.
void HandOverEditedRider(Game& game);

// The toolbar's file actions, each with a dialog's result ("" = cancelled).
void SaveEditorRiderAs(Game& game, const char* path);
void LoadEditorRiderFrom(Game& game, const char* path);
// The sheet becomes the editor's only once its picture shows in the rider sheet slot; a sheet
// outside the program folder is copied into sprites\ first. False (log line, also told to sink
// unless cancelled) leaves both.
bool UseSpriteSheet(RiderEditor& editor, const char* path, const NoticeSink& sink = {});
