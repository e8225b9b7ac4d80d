#include "gui/explanations.h"

#include "graphics/draw.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "platform/keys.h"
#include "shell/display.h"
#include "shell/input.h"
#include "track/cursor_drawing.h"

namespace {

void PlaceNext(Explanation& screen, WidgetAction onClick) {
  const Vec2 size = ScreenSize();
  Place(screen.next, {size.x - 240.0f, size.y - 40.0f}, {300.0f, 38.0f}, kSlotFont, 0);
  SetText(screen.next, "NEXT");
  screen.next.onClick = std::move(onClick);
}

// True when Escape was pressed in this step (after NEXT had its turn).
bool Update(Game& game, Explanation& screen) {
  SetCursorShape(game.track.cursor, CursorShape::PointDrag);
  screen.pointer = PointerPosition();
  SetCursorPosition(game.track.cursor, screen.pointer.x, screen.pointer.y);
  UpdateButton(screen.next, screen.pointer.x, screen.pointer.y, PointerButton());
  return KeyPressed(kKeyEscape);
}

void Render(const Game& game, const Explanation& screen, int pictureSlot) {
  const Vec2 size = ScreenSize();
  ClearToColour(255, 255, 255);
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  LoadIdentity();
  Translate(size.x / 2, size.y / 2);
  SetColour(255, 255, 255, 255);
  BindSpriteFrame(pictureSlot, 0);
  const float s = ExplanationHalfSize(size.y);
  DrawCentredQuad(s, -s);
  LoadIdentity();
  RenderTextButton(screen.next);
  RenderOverlay(game);
  DrawCursor(game.track.cursor);
}

}  // namespace

float ExplanationHalfSize(float screenHeight) { return 256.0f < screenHeight / 2 ? 256.0f : screenHeight / 2; }

void InitExplanations(Game& game) {
  PlaceNext(game.trackExplanation, [&game] { ToTrackScreen(game); });
  PlaceNext(game.riderExplanation, [&game] { ToRiderEditor(game); });
}

void TrackExplanationUpdate(Game& game) {
  if (Update(game, game.trackExplanation)) ToRiderChooser(game);
}

void TrackExplanationRender(const Game& game) { Render(game, game.trackExplanation, kSlotTrackExplanation); }

void RiderExplanationUpdate(Game& game) {
  if (Update(game, game.riderExplanation)) ToMainMenu(game);
}

void RiderExplanationRender(const Game& game) { Render(game, game.riderExplanation, kSlotRiderExplanation); }
