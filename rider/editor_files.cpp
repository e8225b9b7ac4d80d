#include "rider/editor_files.h"

#include <cstdio>
#include <cstring>

#include "rider/current_rider.h"
#include "rider/rider_editor.h"
#include "rider/rider_file.h"
#include "shell/file_copy.h"
#include "shell/log.h"
#include "shell/paths.h"

namespace {

// The folder whose riders tracks can name.
constexpr char kRiderFolder[] = "riders";

std::vector<uint8_t> SavedFormOf(const RiderEditor& editor) {
  CurrentRider rider;
  EditorRider(editor, rider);
  std::vector<uint8_t> bytes;
  EncodeRiderFile(rider, &bytes);
  return bytes;
}

void TakeRider(RiderEditor& editor, const CurrentRider& rider) {
  LoadEditorFromRider(editor, rider);
  snprintf(editor.path, sizeof editor.path, "%s", rider.path);
  editor.savedForm = SavedFormOf(editor);
}

bool InRiderFolder(const char* relative) {
  return strncmp(relative, kRiderFolder, sizeof kRiderFolder - 1) == 0 && relative[sizeof kRiderFolder - 1] == '\\';
}

}  // namespace

bool EditorHasUnsavedEdits(const RiderEditor& editor) { return SavedFormOf(editor) != editor.savedForm; }

bool TakeRiderInUse(RiderEditor& editor, const CurrentRider& rider) {
  // An editor without a point has nothing to lose.
  const bool keep = !editor.body.points.empty() && EditorHasUnsavedEdits(editor);
  if (keep || !rider.loaded) return false;
  TakeRider(editor, rider);
  return true;
}

void EditorRider(const RiderEditor& editor, CurrentRider& rider) {
  RiderFromEditor(editor, rider);
  rider.loaded = true;
  snprintf(rider.path, sizeof rider.path, "%s", editor.path);
}

bool SaveEditorRider(RiderEditor& editor, CurrentRider& inUse, const char* path, const NoticeSink& sink) {
  CurrentRider saved;
  EditorRider(editor, saved);
  if (!SaveRider(saved, path, sink)) return false;
  if (!InRiderFolder(saved.path)) {
    // Tracks name their rider by a path inside the game's folders: keep a copy where they look.
    char copy[kMaxPath];
    if (CopyIntoPlayerFolder(path, kRiderFolder, copy) && strlen(copy) < sizeof saved.path)
      memcpy(saved.path, copy, strlen(copy) + 1);
    else
      Notice(sink, "tracks saved with this rider will name no rider file");
  }
  SetRestLengthsToCurrent(editor);
  snprintf(editor.path, sizeof editor.path, "%s", saved.path);
  editor.savedForm = SavedFormOf(editor);
  // An empty rider is a file the player may keep, but nothing to ride.
  if (!editor.body.points.empty()) EditorRider(editor, inUse);
  return true;
}

FileLoad LoadEditorRider(RiderEditor& editor, const char* path, const NoticeSink& sink) {
  CurrentRider loaded;
  const FileLoad result = LoadRider(loaded, path, sink);
  if (result == FileLoad::Loaded) TakeRider(editor, loaded);
  return result;
}

FileLoad RestoreEditorRider(RiderEditor& editor, const char* file, const char* name, bool unsaved) {
  const FileLoad result = LoadEditorRider(editor, file);
  if (result != FileLoad::Loaded) return result;
  snprintf(editor.path, sizeof editor.path, "%s", name);
  if (unsaved) editor.savedForm.clear();
  return result;
}

bool HandOverForTestRide(const RiderEditor& editor, CurrentRider& inUse) {
  if (editor.body.points.empty()) {
    Log("the rider editor has no points: no test ride, the rider in use stays");
    return false;
  }
  EditorRider(editor, inUse);
  if (!SaveTempRider(inUse)) Log("test ride from memory: %s was not written", kTempRiderFile);
  return true;
}
