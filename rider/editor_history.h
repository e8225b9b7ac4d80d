// Undo and redo in the rider editor. An action is a press-to-release gesture, a key's press to
// its release, a toolbar click (a setting applied to the selection, a sprite attached or
// removed, a rider loaded): whatever changed the edited body, its focus or its sprite sheet in
// between. Riders are small (at most 256 points), so each action keeps the whole body as it was
// before it, and taking it back puts that copy in place.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

#include "rider/body.h"

struct RiderEditor;

constexpr size_t kMostEditorHistoryBytes = 64u << 20;  // the oldest actions go first beyond this

struct EditorState {
  Body body;
  int32_t focusId = 0;
  char spriteSheet[256] = {};
  size_t bytes = 0;                               // what it keeps, roughly
};

struct EditorHistory {
  std::vector<std::unique_ptr<EditorState>> done;    // each action's state before it, oldest first
  std::vector<std::unique_ptr<EditorState>> undone;  // each undone action's state after it
  std::unique_ptr<EditorState> open;              // the state when the open action began
  size_t bytes = 0;
  size_t mostBytes = kMostEditorHistoryBytes;
};

void BeginEditorAction(EditorHistory& history, const RiderEditor& editor);  // nothing when one is open
// Ends the open action: dropped when the rider is as it was, else it drops the redo branch.
void EndEditorAction(EditorHistory& history, const RiderEditor& editor);
bool EditorActionOpen(const EditorHistory& history);
bool UndoEditorAction(EditorHistory& history, RiderEditor& editor);  // false: nothing to take back
bool RedoEditorAction(EditorHistory& history, RiderEditor& editor);  // false: nothing to do again
