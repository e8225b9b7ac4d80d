#include "gui/rider_toolbar.h"

#include <cmath>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/rider_editor_screen.h"
#include "rider/body_drawing.h"
#include "rider/editor_sprites.h"
#include "rider/rider_editor.h"
#include "shell/dialogs.h"
#include "shell/display.h"

namespace {

// Frames of the button sheet (kSlotButtons, 8 x 8).
constexpr int kMassFollowsOnFrame = 32;
constexpr int kMassFollowsOffFrame = 33;
constexpr int kCheckOffFrame = 36;
constexpr int kCheckOnFrame = 37;
constexpr int kFirstKindFrame = 40;               // 40..43; the chosen kind 44..47
constexpr int kChosenKindOffset = 4;
constexpr int kSliderKnobFrame = 16;

constexpr Vec2 kPreviewAt{128.0f, -54.0f};        // the group preview point, from the origin
constexpr float kPreviewRadius = 15.0f;

void ChooseTool(Game& game, int index, EditorTool tool) {
  for (Button& button : game.riderToolbar.buttons) button.selected = false;
  game.riderToolbar.buttons[index].selected = true;
  game.riderEditor.tool = tool;
}

// Frames that follow the settings, and the knobs set back from them.
void Refresh(RiderToolbar& toolbar, const RiderEditor& editor) {
  const EditorSettings& s = editor.settings;
  toolbar.buttons[kMassFollowsButton].frame = s.massFollowsRadius ? kMassFollowsOnFrame : kMassFollowsOffFrame;
  toolbar.buttons[kCollidesButton].frame = s.pointCollides ? kCheckOnFrame : kCheckOffFrame;
  toolbar.buttons[kGripButton].frame = s.grip ? kCheckOnFrame : kCheckOffFrame;
  toolbar.buttons[kShowSpritesButton].frame = editor.showSprites ? kCheckOnFrame : kCheckOffFrame;
  for (int kind = 0; kind < 4; ++kind)
    toolbar.buttons[kFirstLinkKindButton + kind].frame =
        kFirstKindFrame + kind + (int(s.linkKind) == kind ? kChosenKindOffset : 0);
  SetValue(toolbar.sliders[kRadiusSlider], float(PointSizeToSlider(s.pointRadius)));
  SetValue(toolbar.sliders[kMassSlider], float(PointSizeToSlider(s.pointMass)));
  SetValue(toolbar.sliders[kStiffnessSlider], float(StiffnessToSlider(s.linkStiffness)));
  SetValue(toolbar.sliders[kBreakSlider], float(BreakToSlider(s.linkBreak)));
  toolbar.preview.group = s.pointGroup;
}

int SliderValue(const Slider& slider) { return int(std::trunc(GetValue(slider))); }

void ApplyMovedSliders(RiderToolbar& toolbar, RiderEditor& editor) {
  if (WasChanged(toolbar.sliders[kRadiusSlider]))
    SetPointRadius(editor, SliderToPointSize(SliderValue(toolbar.sliders[kRadiusSlider])));
  if (WasChanged(toolbar.sliders[kMassSlider]) && !editor.settings.massFollowsRadius)
    SetPointMass(editor, SliderToPointSize(SliderValue(toolbar.sliders[kMassSlider])));
  if (WasChanged(toolbar.sliders[kStiffnessSlider]))
    SetLinkStiffness(editor, SliderToStiffness(SliderValue(toolbar.sliders[kStiffnessSlider])));
  if (WasChanged(toolbar.sliders[kBreakSlider]))
    SetLinkBreak(editor, SliderToBreak(SliderValue(toolbar.sliders[kBreakSlider])));
}

void RenderValues(const RiderEditor& editor) {
  const EditorSettings& s = editor.settings;
  char breakText[16];
  FormatBreakValue(s.linkBreak, breakText, sizeof breakText);
  BindSpriteFrame(kSlotFont, 0);
  SetColour(0, 0, 0, 255);
  PushTransform();
  Translate(120.0f, -162.0f);
  PrintText(15.0f, 15.0f, 0.0f, "%7.5f", double(s.linkStiffness));
  PopTransform();
  PushTransform();
  Translate(120.0f, -194.0f);
  PrintText(15.0f, 15.0f, 0.0f, "%s", breakText);
  PopTransform();
  SetColour(50, 50, 50, 255);
  PushTransform();
  if (s.linkBreakGroup == 0) {
    Translate(118.0f, -130.0f);
    PrintText(10.0f, 16.0f, 0.0f, "NO");
  } else {
    const float scale = s.linkBreakGroup < 10 ? 32.0f : 16.0f;
    Translate(s.linkBreakGroup < 10 ? 117.0f : 114.0f, s.linkBreakGroup < 10 ? -138.0f : -130.0f);
    PrintText(scale * 0.7f, scale, 0.0f, "%d", s.linkBreakGroup);
  }
  PopTransform();
  SetColour(255, 255, 255, 255);
  if (SpriteLoaded(kSlotRiderSheet)) {
    BindSpriteFrame(kSlotRiderSheet, s.spriteFrame);
    PushTransform();
    Translate(216.0f, -320.0f);
    DrawCentredQuad(32.0f, 32.0f);
    PopTransform();
  }
}

}  // namespace

void InitRiderToolbar(Game& game) {
  RiderToolbar& toolbar = game.riderToolbar;
  RiderEditor& editor = game.riderEditor;
  toolbar.origin = {20.0f, float(ScreenHeight()) - 118.0f};
  auto place = [&](int index, Vec2 pos, float size, int frame, float depth, WidgetAction onClick) {
    Button& button = toolbar.buttons[index];
    Place(button, pos, {size, size}, kSlotButtons, frame);
    button.depth = button.offset = depth;
    button.onClick = std::move(onClick);
  };
  place(kMassFollowsButton, {118, -93}, 20, kMassFollowsOnFrame, 4, [&editor] { ToggleMassFollowsRadius(editor); });
  place(kPointToolButton, {0, -64}, 32, 34, 4, [&game] { ChooseTool(game, kPointToolButton, EditorTool::Point); });
  place(kCollidesButton, {196, -46}, 20, kCheckOnFrame, 4, [&editor] { ToggleCollides(editor); });
  place(kGroupDownButton, {88, -68}, 28, 38, 4, [&editor] { StepPointGroup(editor, -1); });
  place(kGroupUpButton, {140, -68}, 28, 39, 4, [&editor] { StepPointGroup(editor, 1); });
  place(kGripButton, {196, -68}, 20, kCheckOnFrame, 4, [&editor] { ToggleGrip(editor); });
  place(kLinkToolButton, {0, -138}, 32, 35, 4, [&game] { ChooseTool(game, kLinkToolButton, EditorTool::Link); });
  for (int kind = 0; kind < 4; ++kind)
    place(kFirstLinkKindButton + kind, {126.0f + 32.0f * kind, -238}, 32, kFirstKindFrame + kind, 0,
          [&editor, kind] { SetLinkKind(editor, LinkKind(kind)); });
  place(kBreakGroupDownButton, {88, -138}, 28, 38, 4, [&editor] { StepLinkBreakGroup(editor, -1); });
  place(kBreakGroupUpButton, {140, -138}, 28, 39, 4, [&editor] { StepLinkBreakGroup(editor, 1); });
  place(kFocusButton, {40, -60}, 20, 48, 1, [&editor] { SetFocusToSelection(editor); });
  place(kSpriteSheetButton, {64, -272}, 32, 49, 2, [&game] {
    UseSpriteSheet(game.riderEditor, LoadTextureDialog(), MessageSink(game.messages));
  });
  place(kSpriteFrameDownButton, {108, -274}, 28, 38, 4, [&editor] { StepSpriteFrame(editor, -1); });
  place(kSpriteFrameUpButton, {160, -274}, 28, 39, 4, [&editor] { StepSpriteFrame(editor, 1); });
  place(kToggleSpritesButton, {132, -272}, 32, 54, 2, [&editor] { ToggleSprites(editor); });
  place(kShowSpritesButton, {196, -268}, 20, kCheckOnFrame, 4, [&editor] { editor.showSprites = !editor.showSprites; });
  place(kRiderSaveButton, {32, -352}, 32, 12, 4, [&game] { SaveEditorRiderAs(game, SaveRiderDialog()); });
  place(kRiderLoadButton, {0, -352}, 32, 26, 4, [&game] { LoadEditorRiderFrom(game, LoadRiderDialog()); });
  place(kJointToolButton, {0, -320}, 32, 55, 4, [&game] { ChooseTool(game, kJointToolButton, EditorTool::Joint); });

  const Vec2 sliderAt[4] = {{0, -96}, {140, -96}, {0, -166}, {0, -198}};
  for (int i = 0; i < 4; ++i) {
    Place(toolbar.sliders[i], sliderAt[i], {112, 32}, kSlotButtons, kSliderKnobFrame);
    SetValue(toolbar.sliders[i], 100.0f);
  }

  Place(toolbar.panel, {-5, -357}, {266, 362}, -1, 1);
  toolbar.panel.onEnter = [&game] {
    game.riderToolbar.pointerOnCanvas = false;
    SetCursorShape(game.track.cursor, CursorShape::Arrow);
  };
  toolbar.panel.onLeave = [&game] {
    game.riderToolbar.pointerOnCanvas = true;
    SetCursorShape(game.track.cursor, CursorShape::PointDrag);
  };
  Place(toolbar.handle, {0, -28}, {256, 28}, 0, 0);
  toolbar.handle.onPress = [&toolbar] {
    toolbar.grabOffset = PointerPosition() - toolbar.origin;
    toolbar.dragging = true;
  };
  toolbar.handle.onClick = [&toolbar] { EndRiderToolbarDrag(toolbar); };

  toolbar.preview = MakePoint(kPreviewAt.x, kPreviewAt.y, 1.0f, kPreviewRadius, 0);
}

void UpdateRiderToolbar(Game& game) {
  RiderToolbar& toolbar = game.riderToolbar;
  RiderEditor& editor = game.riderEditor;
  Refresh(toolbar, editor);
  const int button = PointerButton();
  Vec2 local = PointerPosition() - toolbar.origin;
  for (Slider& slider : toolbar.sliders) UpdateSlider(slider, local.x, local.y, button);
  ApplyMovedSliders(toolbar, editor);
  local = PointerPosition() - toolbar.origin;
  UpdateButton(toolbar.handle, local.x, local.y, button);
  if (toolbar.dragging) {
    toolbar.origin = PointerPosition() - toolbar.grabOffset;
    toolbar.origin.x = std::fmax(toolbar.origin.x, -1.0f);
    toolbar.origin.y = std::fmin(toolbar.origin.y, float(ScreenHeight()) + 1.0f);
  }
  local = PointerPosition() - toolbar.origin;
  UpdateButton(toolbar.panel, local.x, local.y, button);
  for (Button& b : toolbar.buttons) UpdateButton(b, local.x, local.y, button);
  Refresh(toolbar, editor);
}

void EndRiderToolbarDrag(RiderToolbar& toolbar) {
  toolbar.grabOffset = {0.0f, 0.0f};
  toolbar.dragging = false;
}

void RenderRiderToolbar(const RiderToolbar& toolbar, const RiderEditor& editor) {
  LoadIdentity();
  Translate(toolbar.origin.x, toolbar.origin.y);
  EnableTexture(true);
  EnableBlend(true);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(kSlotRiderEditorToolBar, 0);
  DrawQuad(256.0f, -512.0f);
  for (const Button& button : toolbar.buttons) RenderButton(button);
  for (const Slider& slider : toolbar.sliders) RenderSlider(slider);
  SetColour(255, 255, 255, 255);
  DrawBodyPoint(toolbar.preview);
  RenderValues(editor);
  LoadIdentity();
}

const char* RiderButtonTip(int index) {
  switch (index) {
    case kMassFollowsButton: return "MASS FOLLOWS RADIUS";
    case kPointToolButton: return "POINT TOOL";
    case kCollidesButton: return "HIT";
    case kGroupDownButton: return "GROUP DOWN";
    case kGroupUpButton: return "GROUP UP";
    case kGripButton: return "GRIP";
    case kLinkToolButton: return "LINK TOOL";
    case kFirstLinkKindButton: return "SPRING";
    case kFirstLinkKindButton + 1: return "ROPE";
    case kFirstLinkKindButton + 2: return "STRUT";
    case kFirstLinkKindButton + 3: return "JET";
    case kBreakGroupDownButton: return "BREAK GROUP DOWN";
    case kBreakGroupUpButton: return "BREAK GROUP UP";
    case kFocusButton: return "FOCUS";
    case kSpriteSheetButton: return "SPRITE SHEET";
    case kSpriteFrameDownButton: return "SPRITE FRAME DOWN";
    case kSpriteFrameUpButton: return "SPRITE FRAME UP";
    case kToggleSpritesButton: return "SPRITE ON / OFF";
    case kShowSpritesButton: return "SHOW SPRITES (D)";
    case kRiderSaveButton: return "SAVE RIDER";
    case kRiderLoadButton: return "LOAD RIDER";
    case kJointToolButton: return "JOINT TOOL";
    default: return nullptr;
  }
}

ScreenRect RiderToolbarRect(const RiderToolbar& toolbar) {
  // The picture hangs 512 px from the origin; the panel reaches 5 px past it on three sides.
  return {toolbar.origin.x - 5.0f, toolbar.origin.y - 512.0f, 266.0f, 517.0f};
}
