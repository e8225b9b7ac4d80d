// The screen state machine: exactly one screen is current, a pair of functions that update the
// game once per 10 ms step and draw it once per frame. Screens change only through the switch
// functions below, which widgets use as click actions. Each returns 0.
#pragma once

struct Game;

using ScreenUpdate = void (*)(Game& game);
using ScreenRender = void (*)(const Game& game);  // reads the game and draws; never changes it

struct Screen {
  ScreenUpdate update = nullptr;
  ScreenRender render = nullptr;
};

// The screens the game has.
enum class ScreenId {
  MainMenu,
  GameMenu,
  RiderChooser,
  Track,
  RiderEditor,
  TrackExplanation,
  RiderExplanation,
  Count
};

struct Screens {
  Screen table[int(ScreenId::Count)];             // filled once at start
  Screen current;                                 // none until the first switch
  bool trackExplained = false;                    // the explained switch to the track was used this run
  bool riderEditorExplained = false;              // the same for the rider editor
};

void SetScreen(Game& game, ScreenId id, Screen screen);
// Makes the screen current; a screen without an update or a render is refused with a log line
// and the current one stays. Every transient drag of the screen left ends. False when refused.
bool SwitchScreen(Game& game, ScreenId id);
int ToMainMenu(Game& game);
int ToGameMenu(Game& game);
int ToRiderChooser(Game& game);                   // lists the riders again
int ToTrackScreen(Game& game);                    // the rider sheet follows the rider in use
// The first call in a run shows the explanation screen, whose NEXT leads on; later calls switch
// straight through. The rider editor's own switch is ToRiderEditor (gui/rider_editor_screen.h).
int ToTrackScreenExplained(Game& game);
int ToRiderEditorExplained(Game& game);
void UseRiderSheet(const char* sheet);            // into the rider sheet slot (names over 4 characters)
void UpdateCurrentScreen(Game& game);
void RenderCurrentScreen(const Game& game);
