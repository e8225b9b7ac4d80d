// The game as the shell sees it: screens, start-up work, graphics calls and exit steps.
#pragma once

void InstallGame();                               // before RunGame
