// The 256 key codes the game reads from its input snapshot. Letters and digits are their
// upper-case ASCII codes ('A', '7'); the rest are named here.
#pragma once

constexpr int kKeyLeftButton = 0x01;
constexpr int kKeyRightButton = 0x02;
constexpr int kKeyMiddleButton = 0x04;
constexpr int kKeyBackspace = 0x08;
constexpr int kKeyTab = 0x09;
constexpr int kKeyEnter = 0x0D;
constexpr int kKeyShift = 0x10;                   // either side
constexpr int kKeyControl = 0x11;                 // either side
constexpr int kKeyEscape = 0x1B;
constexpr int kKeySpace = 0x20;
constexpr int kKeyHome = 0x24;
constexpr int kKeyLeft = 0x25;
constexpr int kKeyUp = 0x26;
constexpr int kKeyRight = 0x27;
constexpr int kKeyDown = 0x28;
constexpr int kKeyDelete = 0x2E;
constexpr int kKeyPad0 = 0x60;                    // keypad digits 0x60..0x69, whatever NumLock says
constexpr int kKeyPadPlus = 0x6B;
constexpr int kKeyPadMinus = 0x6D;
