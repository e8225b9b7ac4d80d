#include "platform/window_keys.h"

#include "platform/keys.h"

// Key codes of the keys whose meaning does not depend on the keyboard layout.
static int FixedKeyCode(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_KP_1 && code <= SDL_SCANCODE_KP_9) return kKeyPad0 + 1 + (code - SDL_SCANCODE_KP_1);
  switch (code) {
    case SDL_SCANCODE_KP_0: return kKeyPad0;
    case SDL_SCANCODE_KP_PLUS: return kKeyPadPlus;
    case SDL_SCANCODE_KP_MINUS: return kKeyPadMinus;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return kKeyShift;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return kKeyControl;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return 0x12;
    case SDL_SCANCODE_ESCAPE: return kKeyEscape;
    case SDL_SCANCODE_SPACE: return kKeySpace;
    case SDL_SCANCODE_HOME: return kKeyHome;
    case SDL_SCANCODE_LEFT: return kKeyLeft;
    case SDL_SCANCODE_UP: return kKeyUp;
    case SDL_SCANCODE_RIGHT: return kKeyRight;
    case SDL_SCANCODE_DOWN: return kKeyDown;
    case SDL_SCANCODE_DELETE: return kKeyDelete;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_KP_ENTER: return kKeyEnter;
    case SDL_SCANCODE_BACKSPACE: return kKeyBackspace;
    case SDL_SCANCODE_TAB: return kKeyTab;
    default: break;
  }
  if (code >= SDL_SCANCODE_F1 && code <= SDL_SCANCODE_F12) return 0x70 + (code - SDL_SCANCODE_F1);
  return 0;
}

// SDL's scancodes run A..Z and 1..9, 0 in keyboard order.
static int PositionKeyCode(SDL_Scancode code) {
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  return 0;
}

int GameKeyOf(SDL_Keycode layoutKey, SDL_Scancode position) {
  if (int fixed = FixedKeyCode(position)) return fixed;
  if (layoutKey >= 'a' && layoutKey <= 'z') return int(layoutKey - 'a' + 'A');
  if (layoutKey >= '0' && layoutKey <= '9') return int(layoutKey);
  return PositionKeyCode(position);
}

