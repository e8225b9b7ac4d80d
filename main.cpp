// The program: the game record, made here once, behind the shell's entry point.
#include <cstdio>
#include <memory>

#include "gui/game.h"
#include "shell/app.h"
#include "shell/command_line.h"

namespace {

const char* const kUsage =
    "Usage: velmora [--help | --version]\n"
    "A 2D physics toy: draw a track of lines and watch a soft-body rider ride it.\n"
    "Without options the game opens its window; Esc leads to the menus, EXIT or the window's\n"
    "close button ends it.\n"
    "\n"
    "  --help     print this text and exit\n"
    "  --version  print the version and exit\n"
    "\n"
    "Shipped data is read from share/velmora beside an installed program's bin/ folder, else\n"
    "from the program's own folder. The game writes beside itself when it runs from a build or a\n"
    "portable copy it can write to, else into $XDG_DATA_HOME/velmora (~/.local/share/velmora);\n"
    "an installed game reads $XDG_CONFIG_HOME/velmora/config.cfg (~/.config/velmora) over the\n"
    "shipped config.cfg.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) {
    if (AnswerHelpOrVersion(argc, argv, "velmora", kUsage)) return 0;
    fprintf(stderr, "velmora: unknown option %s\n%s", argv[1], kUsage);
    return 2;
  }
  // Lives until the process ends; the exit path never returns here.
  static std::unique_ptr<Game> game = std::make_unique<Game>();
  RunGame(GameCallsFor(*game));
}
