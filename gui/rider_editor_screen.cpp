#include "gui/rider_editor_screen.h"

#include <cstdio>
#include <cstring>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "platform/keys.h"
#include "platform/platform.h"
#include "rider/editor_drawing.h"
#include "rider/editor_files.h"
#include "rider/editor_sprites.h"
#include "shell/display.h"
#include "shell/file_copy.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/cursor_drawing.h"

namespace {

constexpr float kZoomInPerStep = 1.05f;
constexpr float kZoomOutPerStep = 0.95f;
constexpr char kSheetFolder[] = "sprites";

int HeldAxis(int negative, int positive) { return (KeyDown(positive) ? 1 : 0) - (KeyDown(negative) ? 1 : 0); }

int HeldAxis(int negative, int alternativeNegative, int positive, int alternativePositive) {
  return (KeyDown(positive) || KeyDown(alternativePositive) ? 1 : 0) -
         (KeyDown(negative) || KeyDown(alternativeNegative) ? 1 : 0);
}

// The mouse's gestures go to the current tool while it is over the canvas; a release always
// ends the gesture its press began.
void RunTool(Game& game, Vec2 world) {
  RiderEditor& editor = game.riderEditor;
  RiderEditorScreen& screen = game.riderEditorScreen;
  const bool onCanvas = game.riderToolbar.pointerOnCanvas;
  const bool shift = KeyDown(kKeyShift);
  const bool left = KeyDown(kKeyLeftButton), right = KeyDown(kKeyRightButton);
  if (screen.leftDown && !left) {
    screen.leftDown = false;
    LeftRelease(editor, world.x, world.y, shift);
  }
  if (screen.rightDown && !right) {
    screen.rightDown = false;
    RightRelease(editor, world.x, world.y);
  }
  if (!onCanvas) return;
  if (KeyPressed(kKeyLeftButton) && !right) {
    screen.leftDown = true;
    LeftPress(editor, world.x, world.y, shift);
  } else if (KeyPressed(kKeyRightButton) && !left) {
    screen.rightDown = true;
    RightPress(editor, world.x, world.y, shift);
  } else {
    MouseMove(editor, world.x, world.y);
  }
}

// What can change the rider: a mouse button (a gesture, a toolbar click) or an editing key.
bool EditingInputHeld() {
  for (int key : {kKeyLeftButton, kKeyRightButton, kKeyLeft, kKeyRight, kKeyUp, kKeyDown, kKeyDelete, kKeyPadPlus,
                  kKeyPadMinus, kKeyPad0 + 2, kKeyPad0 + 4, kKeyPad0 + 6, kKeyPad0 + 8, int('I'), int('J'),
                  int('K'), int('L'), int('U'), int('O')})
    if (KeyDown(key)) return true;
  return false;
}

// Ctrl+Z undoes (a gesture in progress ends first and is what it takes back); Ctrl+Y and
// Ctrl+Shift+Z redo.
void UndoKeys(Game& game) {
  const UndoChord chord = UndoChordPressed();
  if (chord == UndoChord::None) return;
  const bool changed = chord == UndoChord::Undo ? UndoEditorAction(game.riderHistory, game.riderEditor)
                                                : RedoEditorAction(game.riderHistory, game.riderEditor);
  if (changed) UseRiderSheet(game.riderEditor.spriteSheet);
  if (!changed) PostMessage(game.messages, chord == UndoChord::Undo ? "Nothing to undo" : "Nothing to redo");
}

void RunKeys(Game& game, Vec2 motion) {
  RiderEditor& editor = game.riderEditor;
  if (KeyPressed('D')) editor.showSprites = !editor.showSprites;
  if (!KeyDown(kKeyControl)) {
    if (KeyDown('Z')) SetZoom(editor, editor.zoom * kZoomInPerStep);
    if (KeyDown('X')) SetZoom(editor, editor.zoom * kZoomOutPerStep);
  }
  if (KeyDown(kKeyMiddleButton)) {
    editor.viewX += motion.x / editor.zoom;
    editor.viewY += motion.y / editor.zoom;
  }
  const int dx = HeldAxis(kKeyLeft, kKeyRight), dy = HeldAxis(kKeyDown, kKeyUp);
  if (dx || dy) ArrowStep(editor, dx, dy);
  if (KeyPressed(kKeyDelete)) DeleteSelection(editor);
  // Sprite size and depth: the numpad, or I K J L and U O on keyboards without one.
  const int narrower = HeldAxis(kKeyPad0 + 2, 'K', kKeyPad0 + 8, 'I');
  const int taller = HeldAxis(kKeyPad0 + 4, 'J', kKeyPad0 + 6, 'L');
  if (narrower || taller) ResizeSprites(editor, -narrower, taller);
  if (KeyPressed(kKeyPadPlus) || KeyPressed('O')) StepSpriteDepth(editor, 1);
  if (KeyPressed(kKeyPadMinus) || KeyPressed('U')) StepSpriteDepth(editor, -1);
}

}  // namespace

int ToRiderEditor(Game& game) {
  RiderEditor& editor = game.riderEditor;
  BeginEditorAction(game.riderHistory, editor);
  if (TakeRiderInUse(editor, game.track.rider)) CentreView(editor, ScreenSize());
  EndEditorAction(game.riderHistory, editor);
  UseRiderSheet(editor.spriteSheet);
  SetCursorShape(game.track.cursor, game.riderToolbar.pointerOnCanvas ? CursorShape::PointDrag : CursorShape::Arrow);
  SwitchScreen(game, ScreenId::RiderEditor);
  return 0;
}

void HandOverEditedRider(Game& game) {
  BeginSetupEdit(game.track);
  if (HandOverForTestRide(game.riderEditor, game.track.rider)) RideNewRider(game.track);
  EndTrackEdit(game.track);
}

void RiderEditorUpdate(Game& game) {
  RiderEditorScreen& screen = game.riderEditorScreen;
  const Vec2 before = screen.mouse;
  screen.mouse = PointerPosition();
  UndoKeys(game);
  if (EditingInputHeld()) BeginEditorAction(game.riderHistory, game.riderEditor);
  UpdateRiderToolbar(game);
  const Vec2 world = EditorWorldPoint(game.riderEditor, screen.mouse, ScreenSize());
  RunTool(game, world);
  RunKeys(game, screen.mouse - before);
  if (!EditingInputHeld()) EndEditorAction(game.riderHistory, game.riderEditor);
  SetCursorPosition(game.track.cursor, screen.mouse.x, screen.mouse.y);
  if (KeyPressed(kKeySpace)) {
    HandOverEditedRider(game);
    ToTrackScreen(game);
  } else if (KeyPressed(kKeyEscape)) {
    HandOverEditedRider(game);
    ToGameMenu(game);
  }
}

void RiderEditorRender(const Game& game) {
  ClearToColour(255, 255, 255);
  DrawRiderEditor(game.riderEditor, ScreenSize());
  RenderRiderToolbar(game.riderToolbar, game.riderEditor);
  RenderOverlay(game);
  DrawCursor(game.track.cursor);
}

void SaveEditorRiderAs(Game& game, const char* path) {
  SaveEditorRider(game.riderEditor, game.track.rider, path, MessageSink(game.messages));
}

void LoadEditorRiderFrom(Game& game, const char* path) {
  RiderEditor& editor = game.riderEditor;
  if (LoadEditorRider(editor, path, MessageSink(game.messages)) != FileLoad::Loaded) return;
  CentreView(editor, ScreenSize());
  UseRiderSheet(editor.spriteSheet);
}

bool UseSpriteSheet(RiderEditor& editor, const char* path, const NoticeSink& sink) {
  if (!path || !path[0]) {
    Log("no sprite sheet chosen: the sheet stays");
    return false;
  }
  char relative[kMaxPath] = {};
  bool copied = false;
  if (IsInsideGameFolders(path) ? !MakeRelativePath(relative, path)
                                : !CopyIntoPlayerFolder(path, kSheetFolder, relative, &copied)) {
    Notice(sink, "sprite sheet %s cannot be kept in the game's folders: the sheet stays", path);
    return false;
  }
  if (strlen(relative) >= sizeof editor.spriteSheet) {
    Notice(sink, "sprite sheet name too long to keep: %s", relative);
    return false;
  }
  const SpriteSlot* slot = SpriteSlotInfo(kSlotRiderSheet);
  char shown[kMaxPath] = {};
  if (slot->path[0]) MakeRelativePath(shown, slot->path);
  AssignSprite(kSlotRiderSheet, relative, 4, 4, true);
  if (!LoadSprite(kSlotRiderSheet)) {
    Notice(sink, "sprite sheet %s cannot be shown: the sheet stays", relative);
    char copy[kMaxPath];
    if (copied && MakePlayerPath(copy, relative)) PlatformRemoveFile(copy);
    AssignSprite(kSlotRiderSheet, shown, 4, 4, true);
    return false;
  }
  snprintf(editor.spriteSheet, sizeof editor.spriteSheet, "%s", relative);
  return true;
}
