#include "gui/menus.h"

#include <cstdio>

#include "graphics/draw.h"
#include "graphics/font.h"
#include "graphics/sprites.h"
#include "gui/game.h"
#include "gui/overlay.h"
#include "platform/keys.h"
#include "shell/display.h"
#include "shell/exit.h"
#include "shell/input.h"
#include "shell/log.h"
#include "shell/paths.h"
#include "track/cursor_drawing.h"

namespace {

struct MenuEntry {
  int slot;
  const char* text;
  Vec2 at, size;
};

void Place(TextMenu& menu, const MenuEntry& entry, WidgetAction onClick) {
  TextButton& button = menu.buttons[entry.slot];
  Place(button, entry.at, entry.size, kSlotFont, 0);
  SetText(button, entry.text);
  button.onClick = std::move(onClick);
}

// The menus' column hangs from here, in the middle of the screen as it is now.
Vec2 MenuAnchor() {
  const Vec2 screen = ScreenSize();
  return {screen.x * 0.5f - 150.0f, screen.y * 0.5f + 100.0f};
}

void UpdateMenu(Game& game, TextMenu& menu) {
  menu.anchor = MenuAnchor();
  SetCursorShape(game.track.cursor, CursorShape::PointDrag);
  menu.pointer = PointerPosition();
  SetCursorPosition(game.track.cursor, menu.pointer.x, menu.pointer.y);
  const Vec2 local = menu.pointer - menu.anchor;
  const int button = PointerButton();
  // An action may switch screens; the rest of the buttons still take this step.
  for (TextButton& b : menu.buttons) UpdateButton(b, local.x, local.y, button);
}

void RenderMenu(const TextMenu& menu) {
  ClearToColour(255, 255, 255);
  LoadIdentity();
  Translate(menu.anchor.x, menu.anchor.y);
  EnableTexture(true);
  EnableBlend(true);
  UseAlphaBlend();
  for (const TextButton& button : menu.buttons) RenderTextButton(button);
}

void RenderCursor(const Game& game) {
  RenderOverlay(game);
  DrawCursor(game.track.cursor);
}

}  // namespace

void FormatMenuCaption(const LocalTime& date, char* out, int size) {
  snprintf(out, size_t(size), "ORLGAMES %d %s %04d", date.day, MonthName(date.month), date.year);
}

void InitMainMenu(Game& game) {
  TextMenu& menu = game.mainMenu;
  Place(menu, {kNewGameButton, "NEW GAME", {0, 0}, {300, 40}}, [&game] { ToRiderChooser(game); });
  Place(menu, {kContinueButton, "CONTINUE", {0, -40}, {300, 40}}, [&game] { ContinueLastTrack(game); });
  Place(menu, {kMainEditRiderButton, "EDIT RIDER", {-50, -80}, {400, 40}}, [&game] { ToRiderEditorExplained(game); });
  Place(menu, {kMainExitButton, "EXIT", {0, -200}, {300, 40}}, [] { Quit(); });
  char caption[64];
  FormatMenuCaption(Platform().localTime(), caption, sizeof caption);
  Place(menu, {kCaptionButton, caption, {-50, -320}, {400, 24}}, nullptr);
  menu.buttons[kCaptionButton].depth = menu.buttons[kCaptionButton].offset = 1.0f;
  menu.anchor = MenuAnchor();
}

void MainMenuUpdate(Game& game) { UpdateMenu(game, game.mainMenu); }

void MainMenuRender(const Game& game) {
  RenderMenu(game.mainMenu);
  LoadIdentity();
  const Vec2 screen = ScreenSize();
  Translate(screen.x / 2 - 290.0f, screen.y / 2 + 180.0f);
  BindSpriteFrame(kSlotFont, 0);
  PrintShadowText(40.0f, 40.0f, 0.0f, 2.0f, -2.0f, 128, 100, 100, 100, "VELMORA");
  RenderCursor(game);
}

void InitGameMenu(Game& game) {
  TextMenu& menu = game.gameMenu;
  Place(menu, {kBackToGameButton, "BACK TO GAME", {-20, -40}, {340, 40}}, [&game] { ToTrackScreen(game); });
  Place(menu, {kGameEditRiderButton, "EDIT RIDER", {0, -80}, {300, 40}}, [&game] { ToRiderEditorExplained(game); });
  Place(menu, {kChangeRiderButton, "CHANGE RIDER", {0, -120}, {300, 40}}, [&game] { ToRiderChooser(game); });
  Place(menu, {kGameExitButton, "EXIT", {0, -240}, {300, 40}}, [] { Quit(); });
}

void GameMenuUpdate(Game& game) {
  UpdateMenu(game, game.gameMenu);
  if (KeyPressed(kKeyEscape)) ToMainMenu(game);
}

void GameMenuRender(const Game& game) {
  RenderMenu(game.gameMenu);
  RenderCursor(game);
}

int ContinueLastTrack(Game& game) {
  SaveGameAtExit(game, MessageSink(game.messages));
  char path[kMaxPath];
  if (MakePlayerPath(path, "last_played.track")) LoadTrackFile(game.track, path, MessageSink(game.messages));
  return ToTrackScreen(game);
}
