// The program: the game record, made here once, behind the shell's entry point.
#include <memory>

#include "gui/game.h"
#include "shell/app.h"

int main() {
  // Lives until the process ends; the exit path never returns here.
  static std::unique_ptr<Game> game = std::make_unique<Game>();
  RunGame(GameCallsFor(*game));
}
