// Keyboard and mouse, sampled once per 10 ms step into a snapshot the screens query.
// Virtual-key codes: mouse buttons 1 (left), 2 (right), 4 (middle); see platform/keys.h.
#pragma once

void ResetInput();                                // mouse (0,0); previous keys = keys now
void RefreshInput();                              // once per step, before the screen update
bool KeyDown(int vk);                             // false outside 0..255
bool KeyPressed(int vk);                          // down in this step, up in the one before
// The undo chords pressed this step: Ctrl+Z undoes, Ctrl+Y or Ctrl+Shift+Z redoes.
enum class UndoChord { None, Undo, Redo };
UndoChord UndoChordPressed();
int WheelSteps();                                 // wheel notches turned before this step; + away from the player
void GetMouse(float* x, float* y);                // screen pixels, origin top-left, y down, clamped
void WarpMouse(float dx, float dy);               // moves the stored position and the system cursor
void UndoMouseMotionX();                          // takes back the last step's horizontal motion
