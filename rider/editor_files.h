// The rider editor and files: what it starts from, the rider in use it hands to a test ride,
// and saving and loading through paths the dialogs chose. Nothing here changes the editor or
// the rider in use unless the file was written or read whole.
#pragma once
#include <cstdint>
#include <vector>

#include "shell/file_load.h"
#include "shell/notice.h"

struct CurrentRider;
struct RiderEditor;

// The editor's rider would save to other bytes than it was loaded or last saved as.
bool EditorHasUnsavedEdits(const RiderEditor& editor);
// On entering the editor: without unsaved edits (or without any point), it takes the rider in
// use (its body, sheet, focus and path); with them, it keeps its own. True when it took it.
bool TakeRiderInUse(RiderEditor& editor, const CurrentRider& rider);
// The edited rider as it would be saved, known by the editor's path.
void EditorRider(const RiderEditor& editor, CurrentRider& rider);
// Save through a dialog's result ("" = cancelled). Only a written file sets the rest lengths to
// the current pose and becomes the rider in use (unless it has no point). A file written outside riders\ is copied into
// it too (a new name when another file has the name), and the rider in use is known by the copy.
// The outcome is also told to sink, as is a copy that could not be made.
bool SaveEditorRider(RiderEditor& editor, CurrentRider& inUse, const char* path, const NoticeSink& sink = {});
// Load through a dialog's result: a refused or cancelled file leaves the editor untouched; a
// loaded one replaces the body and ends every hover, chain, pick and selection of the old one.
// The rider in use is left alone: the test ride hands the editor's rider over. A refusal is
// also told to sink.
FileLoad LoadEditorRider(RiderEditor& editor, const char* path, const NoticeSink& sink = {});
// A restored autosave: the editor takes the rider of file, known by name as where it came from,
// and with unsaved edits when it had them. The editor is untouched when the file is refused.
FileLoad RestoreEditorRider(RiderEditor& editor, const char* file, const char* name, bool unsaved);
// The test ride's rider: false (log line, rider in use unchanged) when the editor has no point.
// Else the rider in use becomes the edited rider, known by the editor's path, and is also saved
// as riders\temp_rider.rider; the ride goes on from memory when that file cannot be written.
bool HandOverForTestRide(const RiderEditor& editor, CurrentRider& inUse);
