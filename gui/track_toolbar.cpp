#include "gui/track_toolbar.h"

#include <GL/gl.h>

#include <cmath>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "shell/app.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/input.h"
#include "shell/paths.h"
#include "track/cursor.h"
#include "track/track_file.h"
#include "track/track_tools.h"
#include "track/world.h"
#include "rider/current_rider.h"
#include "rider/ghost.h"

// ---- State: the one toolbar, built at start, never reset ----
namespace {
TrackToolbar toolbar;

constexpr int kButtonSlot = 8;                    // "sprites\buttons1.png", 8 x 8 frames
constexpr int kPickerSlot = 11;                   // "sprites\gradient_box.png"
constexpr int kToolbarSlot = 9;                   // "sprites\tool_bar.png"
constexpr int kClearFrame = 20;

void ClearSelection() {
  for (Button& button : toolbar.buttons) button.selected = 0;
}

void ChooseTool(int index, int tool) {
  ClearSelection();
  toolbar.buttons[index].selected = 1;
  toolbar.currentTool = tool;
}

int ChoosePan() { ChooseTool(kPanButton, kToolPan); return 0; }
int ChoosePencil() { ChooseTool(kPencilButton, kToolPencil); return 0; }
int ChooseZoom() { ChooseTool(kZoomButton, kToolZoom); return 0; }
int ChooseScenery() { ChooseTool(kSceneryButton, kToolScenery); return 0; }
int ChooseEraser() { ChooseTool(kEraserButton, kToolEraser); return 0; }
int ChooseDrag() { ChooseTool(kDragButton, kToolPointDrag); return 0; }

// First click: forward boost; further clicks toggle between forward and backward.
int ChooseBoost() {
  Button& boost = toolbar.buttons[kBoostButton];
  if (!boost.selected) {
    ClearSelection();
    boost.frame = 6;
    toolbar.currentTool = kToolBoostForward;
    boost.selected = 1;
  } else if (toolbar.currentTool != kToolBoostBackward) {
    boost.frame = 19;
    toolbar.currentTool = kToolBoostBackward;
  } else {
    boost.frame = 6;
    toolbar.currentTool = kToolBoostForward;
  }
  return 0;
}

int Play() {
  ClearSelection();
  Button& play = toolbar.buttons[kPlayButton];
  if (toolbar.running) {
    toolbar.running = 0;
    play.frame = 9;
    play.selected = 0;
  } else {
    toolbar.running = 1;
    play.frame = 13;
    play.selected = 1;
  }
  toolbar.buttons[kPlayFromStartButton].frame = 24;
  return 0;
}

int Stop() {
  ClearSelection();
  toolbar.running = 0;
  RestartRiderFromScratch(TheWorld());
  toolbar.buttons[kPlayButton].frame = 9;
  toolbar.buttons[kPlayFromStartButton].frame = 24;
  return 0;
}

int StoreStartAction() {
  StoreStart(TheWorld());
  return 0;
}

int PlayFromStart() {
  Button& fromStart = toolbar.buttons[kPlayFromStartButton];
  Button& play = toolbar.buttons[kPlayButton];
  if (toolbar.running && !play.selected) {
    ClearSelection();
    toolbar.running = 0;
    fromStart.frame = 24;
    fromStart.selected = 0;
    play.frame = 9;
  } else {
    ClearSelection();
    RestoreTrackStart(TheWorld());
    toolbar.running = 1;
    fromStart.frame = 13;
    fromStart.selected = 1;
    play.frame = 9;
  }
  return 0;
}

int ToggleSnapAction() {
  toolbar.buttons[kSnapButton].frame = ToggleSnap(TheWorld()) ? 3 : 25;
  return 0;
}

int ToggleGhostAction() {
  toolbar.buttons[kGhostButton].frame = ToggleGhost(TheWorld()) ? 37 : 36;
  return 0;
}

// A whole track goes only after four clicks in a row on the button; in viewing mode at once.
int Clear() {
  Button& clear = toolbar.buttons[kClearButton];
  if (toolbar.currentTool == kToolViewing) {
    ResetTrackWorld(TheWorld());
    toolbar.currentTool = kToolPencil;
    return 0;
  }
  toolbar.clearCount += 1;
  clear.frame = kClearFrame + toolbar.clearCount;
  if (toolbar.clearCount >= 4) {
    ResetTrackWorld(TheWorld());
    toolbar.clearCount = 0;
    clear.frame = kClearFrame;
  }
  return 0;
}

int LeaveClear() {
  toolbar.clearCount = 0;
  toolbar.buttons[kClearButton].frame = kClearFrame;
  return 0;
}

int Save() {
  SaveTrack(TheWorld(), TheCurrentRider(), SaveTrackDialog());
  return 0;
}

int Load() {
  LoadTrackFile(TheWorld(), TheCurrentRider(), LoadTrackDialog());
  return 0;
}

int TogglePicker() {
  SetEnabled(toolbar.picker, !IsEnabled(toolbar.picker));
  return 0;
}

int PickerHover() {
  SetCursorShape(8);
  toolbar.pickerHover = 1;
  return 0;
}

int ClosePicker() {
  SetEnabled(toolbar.picker, false);
  toolbar.pickerHover = 0;
  return 0;
}

int EnterPanel() {
  toolbar.pointerInWorld = 0;
  SetCursorShape(4);
  return 0;
}

int LeavePanel() {
  toolbar.pointerInWorld = 1;
  SetCursorShape(1);
  return 0;
}

Vec2 Pointer() {
  float x = 0, y = 0;
  GetMouse(&x, &y);
  return {x, static_cast<float>(ScreenHeight()) - y};
}

int GrabHandle() {
  toolbar.grabOffset = Pointer() - toolbar.anchor;
  toolbar.dragging = 1;
  return 0;
}

int ReleaseHandle() {
  toolbar.grabOffset = {0.0f, 0.0f};
  toolbar.dragging = 0;
  return 0;
}

void PlaceButton(int index, Vec2 pos, int frame, WidgetAction onClick) {
  Button& button = toolbar.buttons[index];
  Place(button, pos, {32.0f, 32.0f}, kButtonSlot, frame);
  button.onClick = onClick;
}

// Buttons 0-14, the swatch and the menu button follow the demonstration lock.
void SetEditingButtons(bool enabled) {
  for (int i = 0; i <= 14; ++i) SetEnabled(toolbar.buttons[i], enabled);
  SetEnabled(toolbar.swatch, enabled);
  SetEnabled(toolbar.buttons[kMenuButton], enabled);
}
}  // namespace

TrackToolbar& TheTrackToolbar() { return toolbar; }

void InitTrackToolbar() {
  toolbar.anchor = {20.0f, static_cast<float>(ScreenHeight()) - 118.0f};
  PlaceButton(kPlayButton, {0, -192}, 9, Play);
  PlaceButton(kStopButton, {32, -192}, 10, Stop);
  PlaceButton(kPanButton, {0, -160}, 8, ChoosePan);
  PlaceButton(kPencilButton, {0, -64}, 7, ChoosePencil);
  PlaceButton(kZoomButton, {32, -160}, 15, ChooseZoom);
  PlaceButton(kBoostButton, {32, -64}, 6, ChooseBoost);
  PlaceButton(kSceneryButton, {0, -96}, 5, ChooseScenery);
  PlaceButton(kEraserButton, {32, -96}, 4, ChooseEraser);
  PlaceButton(kClearButton, {32, -352}, kClearFrame, Clear);
  toolbar.buttons[kClearButton].onLeave = LeaveClear;
  PlaceButton(kFlagButton, {32, -224}, 1, StoreStartAction);
  PlaceButton(kPlayFromStartButton, {0, -224}, 24, PlayFromStart);
  PlaceButton(kSnapButton, {0, -256}, 3, ToggleSnapAction);
  PlaceButton(kSaveButton, {32, -320}, 12, Save);
  PlaceButton(kLoadButton, {0, -320}, 26, Load);
  PlaceButton(kMenuButton, {0, -352}, 28, ToInGameMenu);
  PlaceButton(kDragButton, {32, -256}, 29, ChooseDrag);
  Place(toolbar.buttons[kGhostButton], {6, -378}, {20, 20}, kButtonSlot, 36);
  toolbar.buttons[kGhostButton].onClick = ToggleGhostAction;

  Place(toolbar.thickness, {0, -128}, {63, 32}, kButtonSlot, 16);
  SetValue(toolbar.thickness, 0.0f);
  Place(toolbar.swatch, {16, -288}, {32, 32}, kButtonSlot, 17);
  toolbar.swatch.onClick = TogglePicker;
  Place(toolbar.picker, {63, -320}, {256, 256}, kPickerSlot, 0);
  toolbar.picker.onEnter = PickerHover;
  toolbar.picker.onClick = ClosePicker;
  Place(toolbar.panel, {-5, -389}, {74, 394}, -1, 1);
  toolbar.panel.onEnter = EnterPanel;
  toolbar.panel.onLeave = LeavePanel;
  Place(toolbar.handle, {0, -28}, {64, 28}, 0, 0);
  toolbar.handle.onPress = GrabHandle;
  toolbar.handle.onClick = ReleaseHandle;

  toolbar.buttons[kPencilButton].selected = 1;
  SetEnabled(toolbar.picker, false);
  char picture[kMaxPath];
  if (MakeAbsolutePath(picture, "sprites\\gradient_box.png")) LoadImage(toolbar.picker, picture);
}

void FreeTrackToolbar() { FreeImage(toolbar.picker); }

void ApplyDemoLock() {
  if (TheWorld().demoLoaded) {
    if (toolbar.currentTool != kToolViewing) {
      SetEditingButtons(false);
      SetEnabled(toolbar.buttons[kClearButton], true);
      SetEnabled(toolbar.buttons[kPlayButton], true);
      SetEnabled(toolbar.buttons[kStopButton], true);
      toolbar.currentTool = kToolViewing;
    }
  } else {
    SetEditingButtons(true);
    if (toolbar.currentTool == kToolViewing) toolbar.currentTool = kToolPencil;
  }
}

bool UpdateTrackToolbar() {
  int button = PointerButton();
  Vec2 pointer = Pointer();
  if (toolbar.dragging) toolbar.anchor = pointer - toolbar.grabOffset;
  Vec2 local = pointer - toolbar.anchor;
  UpdateColourPicker(toolbar.picker, local.x, local.y, button);
  SetSceneryColour(TheWorld(), GetR(toolbar.picker), GetG(toolbar.picker), GetB(toolbar.picker));
  SetColour(toolbar.swatch, GetR(toolbar.picker), GetG(toolbar.picker), GetB(toolbar.picker));
  // The picker may have moved the system cursor.
  pointer = Pointer();
  if (!IsEnabled(toolbar.picker)) {
    toolbar.pickerHover = 0;
    SetCursorShape(4);
  }
  if (toolbar.pickerHover) return false;
  local = pointer - toolbar.anchor;
  UpdateSlider(toolbar.thickness, local.x, local.y, button);
  SetNewLineThickness(TheWorld(), GetValue(toolbar.thickness) * 0.2f + 1.0f);
  pointer = Pointer();
  SetMousePosition(TheWorld(), pointer);
  SetEnabled(toolbar.buttons[kSaveButton], true);
  local = pointer - toolbar.anchor;
  for (Button& b : toolbar.buttons) UpdateButton(b, local.x, local.y, button);
  UpdateButton(toolbar.panel, local.x, local.y, button);
  UpdateButton(toolbar.handle, local.x, local.y, button);
  UpdateWidget(toolbar.swatch, local.x, local.y, button);
  return true;
}

void PauseFromKeyboard() {
  ClearSelection();
  toolbar.buttons[kPlayButton].frame = 9;
  toolbar.running = 0;
  toolbar.buttons[kPlayFromStartButton].frame = 24;
}

void RenderTrackToolbar() {
  glLoadIdentity();
  glTranslatef(toolbar.anchor.x, toolbar.anchor.y, 0.0f);
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glColor4ub(255, 255, 255, 255);
  BindSpriteFrame(kToolbarSlot, 3);
  DrawQuad(64.0f, -512.0f);
  for (const Button& button : toolbar.buttons) RenderButton(button);
  RenderSlider(toolbar.thickness);
  RenderColourSwatch(toolbar.swatch);
  RenderWidget(toolbar.picker);
}
