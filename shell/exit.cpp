#include "shell/exit.h"

#include <cstdio>
#include <cstdlib>

#include "shell/log.h"

// ---- State: filled at start, emptied on the way out ----
namespace {
struct Exit {
  void (*handlers[16])() = {};
  int handlerCount = 0;
  std::function<void()> save;
  bool exiting = false;
};
Exit exitState;
}  // namespace

void AddExitHandler(void (*handler)()) {
  Exit& e = exitState;
  if (e.handlerCount < int(sizeof e.handlers / sizeof e.handlers[0])) e.handlers[e.handlerCount++] = handler;
}

void SetExitSave(std::function<void()> save) { exitState.save = std::move(save); }

void ExitGame(int code) {
  Exit& e = exitState;
  // A fault inside an exit handler must not run the handlers again.
  if (e.exiting) _Exit(code);
  e.exiting = true;
  while (e.handlerCount > 0) e.handlers[--e.handlerCount]();
  if (code == 0 && e.save) e.save();
  fflush(nullptr);
  _Exit(code);
}

void Quit() {
  Log("%s", "");  // an empty separator line
  Log("Quit");
  ExitGame(0);
}
