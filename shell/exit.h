// Leaving the game: exit handlers run in reverse order of registration, then (on a clean exit
// only) the game's exit-time save. A crash or Fatal skips the save, so a good file is never
// overwritten by a broken game.
#pragma once
#include <functional>

void AddExitHandler(void (*handler)());           // at most 16
void SetExitSave(std::function<void()> save);
[[noreturn]] void ExitGame(int code);             // code -1 leaves the process with status 255
[[noreturn]] void Quit();                         // "Quit" in the log, exit code 0
