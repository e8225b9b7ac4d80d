#include "gui/track_toolbar.h"

#include <algorithm>
#include <cmath>

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "shell/dialogs.h"
#include "shell/display.h"
#include "shell/paths.h"
#include "track/ghost.h"
#include "track/track_file.h"
#include "track/track_tools.h"

namespace {

// Frames of the button sheet (kSlotButtons, 8 x 8) that the buttons change between.
constexpr int kClearFrame = 20;                   // then 21..23 for the further clicks
constexpr int kPlayFrame = 9;                     // play, idle
constexpr int kRunningFrame = 13;                 // play or play from start while it runs
constexpr int kPlayFromStartFrame = 24;           // play from start, idle
constexpr int kBoostForwardFrame = 6;
constexpr int kBoostBackwardFrame = 19;
constexpr int kSnapOnFrame = 3;
constexpr int kSnapOffFrame = 25;
constexpr int kGhostOffFrame = 36;
constexpr int kGhostOnFrame = 37;

void ClearSelection(TrackToolbar& toolbar) {
  for (Button& button : toolbar.buttons) button.selected = 0;
}

void ChooseTool(TrackToolbar& toolbar, int index, int tool) {
  ClearSelection(toolbar);
  toolbar.buttons[index].selected = 1;
  toolbar.currentTool = tool;
}


// First click: forward boost; further clicks toggle between forward and backward.
void ChooseBoost(TrackToolbar& toolbar) {
  Button& boost = toolbar.buttons[kBoostButton];
  if (!boost.selected) {
    ClearSelection(toolbar);
    boost.frame = kBoostForwardFrame;
    toolbar.currentTool = kToolBoostForward;
    boost.selected = 1;
  } else if (toolbar.currentTool != kToolBoostBackward) {
    boost.frame = kBoostBackwardFrame;
    toolbar.currentTool = kToolBoostBackward;
  } else {
    boost.frame = kBoostForwardFrame;
    toolbar.currentTool = kToolBoostForward;
  }
}

void Play(TrackToolbar& toolbar) {
  ClearSelection(toolbar);
  Button& play = toolbar.buttons[kPlayButton];
  if (toolbar.running) {
    toolbar.running = false;
    play.frame = kPlayFrame;
    play.selected = false;
  } else {
    toolbar.running = true;
    play.frame = kRunningFrame;
    play.selected = true;
  }
  toolbar.buttons[kPlayFromStartButton].frame = kPlayFromStartFrame;
}

void Stop(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  ClearSelection(toolbar);
  toolbar.running = false;
  RestartRiderFromScratch(game.track);
  toolbar.buttons[kPlayButton].frame = kPlayFrame;
  toolbar.buttons[kPlayFromStartButton].frame = kPlayFromStartFrame;
}

void PlayFromStart(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  Button& fromStart = toolbar.buttons[kPlayFromStartButton];
  Button& play = toolbar.buttons[kPlayButton];
  if (toolbar.running && !play.selected) {
    ClearSelection(toolbar);
    toolbar.running = false;
    fromStart.frame = kPlayFromStartFrame;
    fromStart.selected = false;
    play.frame = kPlayFrame;
  } else {
    ClearSelection(toolbar);
    RestoreTrackStart(game.track);
    toolbar.running = true;
    fromStart.frame = kRunningFrame;
    fromStart.selected = true;
    play.frame = kPlayFrame;
  }
}

// A whole track goes only after four clicks in a row on the button; in viewing mode at once.
void Clear(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  Button& clear = toolbar.buttons[kClearButton];
  if (toolbar.currentTool == kToolViewing) {
    BeginSetupEdit(game.track);
    ResetTrackWorld(game.track);
    EndTrackEdit(game.track);
    toolbar.currentTool = kToolPencil;
    return;
  }
  toolbar.clearCount += 1;
  clear.frame = kClearFrame + toolbar.clearCount;
  if (toolbar.clearCount >= 4) {
    // The whole track goes as one action, which can be taken back.
    BeginSetupEdit(game.track);
    ResetTrackWorld(game.track);
    EndTrackEdit(game.track);
    toolbar.clearCount = 0;
    clear.frame = kClearFrame;
  }
}

// Buttons 0-14, the swatch and the menu button follow the demonstration lock.
void SetEditingButtons(TrackToolbar& toolbar, bool enabled) {
  for (int i = 0; i <= 14; ++i) SetEnabled(toolbar.buttons[i], enabled);
  SetEnabled(toolbar.swatch, enabled);
  SetEnabled(toolbar.buttons[kMenuButton], enabled);
}
}  // namespace

void InitTrackToolbar(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  TrackScene& scene = game.track;
  toolbar.anchor = {20.0f, static_cast<float>(ScreenHeight()) - 118.0f};
  auto place = [&](int index, Vec2 pos, int frame, WidgetAction onClick) {
    Button& button = toolbar.buttons[index];
    Place(button, pos, {32.0f, 32.0f}, kSlotButtons, frame);
    button.onClick = std::move(onClick);
  };
  auto choose = [&](int index, int tool) { return [&toolbar, index, tool] { ChooseTool(toolbar, index, tool); }; };
  place(kPlayButton, {0, -192}, kPlayFrame, [&toolbar] { Play(toolbar); });
  place(kStopButton, {32, -192}, 10, [&game] { Stop(game); });
  place(kPanButton, {0, -160}, 8, choose(kPanButton, kToolPan));
  place(kPencilButton, {0, -64}, 7, choose(kPencilButton, kToolPencil));
  place(kZoomButton, {32, -160}, 15, choose(kZoomButton, kToolZoom));
  place(kBoostButton, {32, -64}, kBoostForwardFrame, [&toolbar] { ChooseBoost(toolbar); });
  place(kSceneryButton, {0, -96}, 5, choose(kSceneryButton, kToolScenery));
  place(kEraserButton, {32, -96}, 4, choose(kEraserButton, kToolEraser));
  place(kClearButton, {32, -352}, kClearFrame, [&game] { Clear(game); });
  toolbar.buttons[kClearButton].onLeave = [&toolbar] {
    toolbar.clearCount = 0;
    toolbar.buttons[kClearButton].frame = kClearFrame;
  };
  place(kFlagButton, {32, -224}, 1, [&scene] { SetStartFlag(scene); });
  place(kPlayFromStartButton, {0, -224}, kPlayFromStartFrame, [&game] { PlayFromStart(game); });
  place(kSnapButton, {0, -256}, kSnapOnFrame, [&toolbar, &scene] {
    toolbar.buttons[kSnapButton].frame = ToggleSnap(scene.editor) ? kSnapOnFrame : kSnapOffFrame;
  });
  place(kSaveButton, {32, -320}, 12, [&game] {
    SaveTrack(game.track.world, game.track.rider, SaveTrackDialog(), MessageSink(game.messages));
  });
  place(kLoadButton, {0, -320}, 26, [&game] {
    if (LoadTrackFile(game.track, LoadTrackDialog(), MessageSink(game.messages)))
      UseRiderSheet(game.track.rider.spriteSheet);
  });
  place(kMenuButton, {0, -352}, 28, [&game] { ToGameMenu(game); });
  place(kDragButton, {32, -256}, 29, choose(kDragButton, kToolPointDrag));
  Place(toolbar.buttons[kGhostButton], {6, -378}, {20, 20}, kSlotButtons, kGhostOffFrame);
  toolbar.buttons[kGhostButton].onClick = [&toolbar, &scene] {
    toolbar.buttons[kGhostButton].frame = ToggleGhost(scene.world) ? kGhostOnFrame : kGhostOffFrame;
  };

  Place(toolbar.thickness, {0, -128}, {63, 32}, kSlotButtons, 16);
  SetValue(toolbar.thickness, 0.0f);
  Place(toolbar.swatch, {16, -288}, {32, 32}, kSlotButtons, 17);
  toolbar.swatch.onClick = [&toolbar] { SetEnabled(toolbar.picker, !IsEnabled(toolbar.picker)); };
  Place(toolbar.picker, {63, -320}, {256, 256}, kSlotColourPicker, 0);
  toolbar.picker.onEnter = [&toolbar, &scene] {
    SetCursorShape(scene.cursor, CursorShape::PointDrag);
    toolbar.pickerHover = true;
  };
  toolbar.picker.onClick = [&toolbar] {
    SetEnabled(toolbar.picker, false);
    toolbar.pickerHover = false;
  };
  Place(toolbar.panel, {-5, -389}, {74, 394}, -1, 1);
  toolbar.panel.onEnter = [&toolbar, &scene] {
    toolbar.pointerInWorld = false;
    SetCursorShape(scene.cursor, CursorShape::Arrow);
  };
  toolbar.panel.onLeave = [&toolbar, &scene] {
    toolbar.pointerInWorld = true;
    SetCursorShape(scene.cursor, CursorShape::Pencil);
  };
  Place(toolbar.handle, {0, -28}, {64, 28}, 0, 0);
  toolbar.handle.onPress = [&toolbar] {
    toolbar.grabOffset = PointerPosition() - toolbar.anchor;
    toolbar.dragging = true;
  };
  toolbar.handle.onClick = [&toolbar] { EndToolbarDrag(toolbar); };

  toolbar.buttons[kPencilButton].selected = true;
  SetEnabled(toolbar.picker, false);
  char picture[kMaxPath];
  if (MakeAbsolutePath(picture, "sprites\\gradient_box.png")) LoadImage(toolbar.picker, picture);
}

void ApplyDemoLock(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  if (game.track.world.demoLoaded) {
    if (toolbar.currentTool != kToolViewing) {
      SetEditingButtons(toolbar, false);
      SetEnabled(toolbar.buttons[kClearButton], true);
      SetEnabled(toolbar.buttons[kPlayButton], true);
      SetEnabled(toolbar.buttons[kStopButton], true);
      toolbar.currentTool = kToolViewing;
    }
  } else {
    SetEditingButtons(toolbar, true);
    if (toolbar.currentTool == kToolViewing) toolbar.currentTool = kToolPencil;
  }
}

bool UpdateTrackToolbar(Game& game) {
  TrackToolbar& toolbar = game.toolbar;
  TrackEditor& editor = game.track.editor;
  int button = PointerButton();
  Vec2 pointer = PointerPosition();
  if (toolbar.dragging) toolbar.anchor = pointer - toolbar.grabOffset;
  Vec2 local = pointer - toolbar.anchor;
  UpdateColourPicker(toolbar.picker, local.x, local.y, button);
  editor.sceneryR = GetR(toolbar.picker);
  editor.sceneryG = GetG(toolbar.picker);
  editor.sceneryB = GetB(toolbar.picker);
  SetColour(toolbar.swatch, GetR(toolbar.picker), GetG(toolbar.picker), GetB(toolbar.picker));
  // The picker may have moved the system cursor.
  pointer = PointerPosition();
  if (!IsEnabled(toolbar.picker)) {
    toolbar.pickerHover = false;
    SetCursorShape(game.track.cursor, CursorShape::Arrow);
  }
  if (toolbar.pickerHover) return false;
  local = pointer - toolbar.anchor;
  UpdateSlider(toolbar.thickness, local.x, local.y, button);
  editor.newLineThickness = GetValue(toolbar.thickness) * 0.2f + 1.0f;
  pointer = PointerPosition();
  SetEnabled(toolbar.buttons[kSaveButton], true);
  local = pointer - toolbar.anchor;
  for (Button& b : toolbar.buttons) UpdateButton(b, local.x, local.y, button);
  UpdateButton(toolbar.panel, local.x, local.y, button);
  UpdateButton(toolbar.handle, local.x, local.y, button);
  UpdateWidget(toolbar.swatch, local.x, local.y, button);
  return true;
}

void PauseFromKeyboard(TrackToolbar& toolbar) {
  ClearSelection(toolbar);
  toolbar.buttons[kPlayButton].frame = kPlayFrame;
  toolbar.running = false;
  toolbar.buttons[kPlayFromStartButton].frame = kPlayFromStartFrame;
}

void EndToolbarDrag(TrackToolbar& toolbar) {
  toolbar.grabOffset = {0.0f, 0.0f};
  toolbar.dragging = false;
}

void RenderTrackToolbar(const TrackToolbar& toolbar) {
  LoadIdentity();
  Translate(toolbar.anchor.x, toolbar.anchor.y);
  EnableTexture(true);
  EnableBlend(true);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotToolBar, 3);
  DrawQuad(64.0f, -512.0f);
  for (const Button& button : toolbar.buttons) RenderButton(button);
  RenderSlider(toolbar.thickness);
  RenderColourSwatch(toolbar.swatch);
  RenderWidget(toolbar.picker);
}

const char* TrackButtonTip(int index) {
  switch (index) {
    case kPlayButton: return "PLAY (SPACE)";
    case kStopButton: return "STOP (R)";
    case kPanButton: return "PAN (MIDDLE BUTTON)";
    case kPencilButton: return "PENCIL";
    case kZoomButton: return "ZOOM (Z / X)";
    case kBoostButton: return "BOOST";
    case kSceneryButton: return "SCENERY";
    case kEraserButton: return "ERASER";
    case kClearButton: return "CLEAR (4 CLICKS)";
    case kFlagButton: return "STORE START";
    case kPlayFromStartButton: return "PLAY FROM START";
    case kSnapButton: return "SNAP";
    case kSaveButton: return "SAVE TRACK";
    case kLoadButton: return "LOAD TRACK";
    case kMenuButton: return "MENU (ESC)";
    case kDragButton: return "POINT DRAG";
    case kGhostButton: return "GHOST";
    default: return nullptr;
  }
}

ScreenRect TrackToolbarRect(const TrackToolbar& toolbar) {
  // The picture hangs 512 px from the anchor; the panel reaches 5 px past it on three sides.
  const Vec2 a = toolbar.anchor;
  ScreenRect rect{a.x - 5.0f, a.y - 512.0f, 74.0f, 517.0f};
  if (IsEnabled(toolbar.picker)) {
    const ScreenRect p{a.x + toolbar.picker.x, a.y + toolbar.picker.y, toolbar.picker.w, toolbar.picker.h};
    const float right = std::max(rect.x + rect.w, p.x + p.w);
    rect.w = right - rect.x;
  }
  return rect;
}
