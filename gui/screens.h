// The screen state machine: exactly one screen is current, a pair of functions that update the
// game once per 10 ms step and draw it once per frame. Screens change only through the switch
// functions below, which widgets use as click actions.
#pragma once

struct Game;
struct CurrentRider;

using ScreenUpdate = void (*)(Game& game);
using ScreenRender = void (*)(const Game& game);  // reads the game and draws; never changes it

struct Screen {
  ScreenUpdate update = nullptr;
  ScreenRender render = nullptr;
};

// The screens the game has.
enum class ScreenId { Track, RiderEditor, Count };

struct Screens {
  Screen table[int(ScreenId::Count)];             // filled once at start
  Screen current;                                 // none until the first switch
};

void SetScreen(Game& game, ScreenId id, Screen screen);
// Makes the screen current; a screen without an update or a render is refused with a log line
// and the current one stays. Every transient drag of the screen left ends. False when refused.
bool SwitchScreen(Game& game, ScreenId id);
int ToTrackScreen(Game& game);                    // the rider sheet follows the rider in use; returns 0
void UseRiderSheet(const CurrentRider& rider);    // its sheet into the rider sheet slot (names over 4 characters)
void UpdateCurrentScreen(Game& game);
void RenderCurrentScreen(const Game& game);
