// The program: the game's library behind the shell's entry point.
#include "gui/game.h"
#include "shell/app.h"

int main(int, char** argv) {
  InstallGame();
  RunGame(argv[0]);
}
