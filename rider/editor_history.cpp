#include "rider/editor_history.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "rider/rider_editor.h"
#include "rider/snapshot_file.h"
#include "shell/byte_stream.h"

namespace {

std::unique_ptr<EditorState> StateOf(const RiderEditor& editor) {
  auto state = std::make_unique<EditorState>();
  CopyBody(editor.body, state->body);
  state->focusId = FocusPointId(editor);
  snprintf(state->spriteSheet, sizeof state->spriteSheet, "%s", editor.spriteSheet);
  state->bytes = sizeof(EditorState) + RecordBytes(editor.body);
  return state;
}

// The body as a rider file stores it, with the id counters that decide the next records' ids.
std::vector<uint8_t> Encoded(const Body& body) {
  BodySnapshot snapshot;
  TakeSnapshot(body, snapshot);
  std::vector<uint8_t> bytes = EncodeSnapshot(snapshot);
  ByteWriter writer{&bytes};
  for (int32_t counter : {body.nextPointId, body.highestPointId, body.provisionalNext}) writer.writeI32(counter);
  return bytes;
}

bool Unchanged(const EditorState& state, const RiderEditor& editor) {
  return state.focusId == FocusPointId(editor) && strcmp(state.spriteSheet, editor.spriteSheet) == 0 &&
         Encoded(state.body) == Encoded(editor.body);
}

// The editor takes the last state of from; its present state goes to the end of to.
bool Swap(EditorHistory& history, RiderEditor& editor, std::vector<std::unique_ptr<EditorState>>& from,
          std::vector<std::unique_ptr<EditorState>>& to) {
  EndGestures(editor);
  EndEditorAction(history, editor);
  if (from.empty()) return false;
  std::unique_ptr<EditorState> present = StateOf(editor);
  const EditorState& state = *from.back();
  RestoreEditorBody(editor, state.body, state.focusId, state.spriteSheet);
  history.bytes += present->bytes;
  history.bytes -= state.bytes;
  from.pop_back();
  to.push_back(std::move(present));
  return true;
}

}  // namespace

void BeginEditorAction(EditorHistory& history, const RiderEditor& editor) {
  if (!history.open) history.open = StateOf(editor);
}

void EndEditorAction(EditorHistory& history, const RiderEditor& editor) {
  std::unique_ptr<EditorState> before = std::move(history.open);
  if (!before || Unchanged(*before, editor)) return;
  for (const auto& dropped : history.undone) history.bytes -= dropped->bytes;
  history.undone.clear();
  history.bytes += before->bytes;
  history.done.push_back(std::move(before));
  size_t oldest = 0;
  while (history.bytes > history.mostBytes && oldest + 1 < history.done.size())
    history.bytes -= history.done[oldest++]->bytes;
  history.done.erase(history.done.begin(), history.done.begin() + long(oldest));
}

bool EditorActionOpen(const EditorHistory& history) { return history.open != nullptr; }

bool UndoEditorAction(EditorHistory& history, RiderEditor& editor) {
  return Swap(history, editor, history.done, history.undone);
}

bool RedoEditorAction(EditorHistory& history, RiderEditor& editor) {
  return Swap(history, editor, history.undone, history.done);
}
