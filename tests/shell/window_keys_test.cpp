#include "platform/window_keys.h"

#include <gtest/gtest.h>

#include "platform/keys.h"

// (what the layout types, where the key sits) -> the game's key, for the layouts players use.
TEST(WindowKeys, LettersAndDigitsFollowTheLayoutElseTheKeyPosition) {
  const struct {
    const char* why;
    SDL_Keycode layoutKey;
    SDL_Scancode position;
    int expected;
  } cases[] = {
      {"US layout", 'r', SDL_SCANCODE_R, 'R'}, {"US digit", '7', SDL_SCANCODE_7, '7'},
      {"AZERTY: the A position types q", 'q', SDL_SCANCODE_A, 'Q'},
      {"Dvorak: the layout's letter wins", 'p', SDL_SCANCODE_R, 'P'},
      {"Cyrillic: the R position types \u043a", 0x43A, SDL_SCANCODE_R, 'R'}, {"Cyrillic D", 0x432, SDL_SCANCODE_D, 'D'},
      {"Greek Z", 0x3B6, SDL_SCANCODE_Z, 'Z'}, {"Hebrew X", 0x5E1, SDL_SCANCODE_X, 'X'},
      {"Hebrew M", 0x5E6, SDL_SCANCODE_M, 'M'}, {"AZERTY digit row types &", '&', SDL_SCANCODE_1, '1'},
      {"AZERTY 0 position types \u00e0", 0xE0, SDL_SCANCODE_0, '0'},
      {"punctuation stays unread", ';', SDL_SCANCODE_SEMICOLON, 0},
      {"Escape by position", SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, kKeyEscape},
      {"keypad 5", SDLK_KP_5, SDL_SCANCODE_KP_5, kKeyPad0 + 5},
  };
  for (const auto& c : cases) EXPECT_EQ(GameKeyOf(c.layoutKey, c.position), c.expected) << c.why;
}
