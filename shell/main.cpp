// The program: the game's library behind the shell's entry point.
#include "gui/game.h"
#include "shell/app.h"

int main() {
  InstallGame();
  RunGame();
}
