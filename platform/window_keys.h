// The game's key code for a physical key, from what the player's layout puts on it (library
// velmora_platform_window). A pure function, so every layout can be tested without a keyboard.
#pragma once
#include <SDL2/SDL.h>

// Keys whose meaning does not depend on the layout go by position. Letters and digits follow the
// layout (the key that types "r" is key 'R'); where the layout's character is no ASCII letter or
// digit (Cyrillic, Greek, Hebrew, the shifted digit row of AZERTY) they fall back to the key's
// position, so the R position still gives 'R'. 0 = a key the game does not read.
int GameKeyOf(SDL_Keycode layoutKey, SDL_Scancode position);
