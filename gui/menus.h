// The two text menus: the main menu (the first screen, with the title and the date caption) and
// the in-game menu (the pause menu of the track screen and the rider editor). Each is eight text
// buttons around an anchor in the middle of the screen; the unused slots are never placed.
#pragma once
#include "gui/widgets.h"
#include "platform/platform.h"
#include "shell/vec2.h"

struct Game;

constexpr int kMenuButtonCount = 8;

struct TextMenu {
  TextButton buttons[kMenuButtonCount];
  Vec2 anchor;                                    // (width / 2 - 150, height / 2 + 100), every step
  Vec2 pointer;                                   // screen px, y up, as last updated
};

// Slots of the main menu's buttons.
enum MainMenuButton : int { kNewGameButton = 0, kContinueButton = 1, kMainEditRiderButton = 2, kMainExitButton = 3,
                            kCaptionButton = 4 };
// Slots of the in-game menu's buttons.
enum GameMenuButton : int { kBackToGameButton = 1, kGameEditRiderButton = 2, kGameExitButton = 3,
                            kChangeRiderButton = 4 };

// "ORLGAMES 8 Dec 2026" from the local date (month 0..11 as the platform gives it).
void FormatMenuCaption(const LocalTime& date, char* out, int size);

void InitMainMenu(Game& game);                    // once at start: layout, texts, actions, caption
void MainMenuUpdate(Game& game);
void MainMenuRender(const Game& game);
void InitGameMenu(Game& game);                    // once at start
void GameMenuUpdate(Game& game);                  // Escape goes to the main menu
void GameMenuRender(const Game& game);
// CONTINUE: the world as it is goes to last_played.track first (nothing for an empty or demo
// world), then that file is loaded; the track screen follows whatever the load reported.
int ContinueLastTrack(Game& game);
