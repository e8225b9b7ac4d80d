// Processor faults: caught on an alternate stack, named, and handed to the game to end it.
#include <signal.h>

#include <cstdlib>

#include "platform/platform.h"

#ifndef VELMORA_SANITIZE
// Set once at start; never reset.
static void (*faultHandler)(const char* name) = nullptr;

static void OnSignal(int signal, siginfo_t* info, void*) {
  const char* name = "unknown";
  if (signal == SIGSEGV || signal == SIGBUS) name = "EXCEPTION_ACCESS_VIOLATION";
  if (signal == SIGFPE) {
    if (info->si_code == FPE_INTDIV) name = "EXCEPTION_INT_DIVIDE_BY_ZERO";
    if (info->si_code == FPE_FLTDIV) name = "EXCEPTION_FLT_DIVIDE_BY_ZERO";
  }
  if (faultHandler) faultHandler(name);
  _Exit(255);  // a fault is never resumed
}

void PlatformCatchFaults(void (*onFault)(const char* name)) {
  faultHandler = onFault;
  static char altStack[64 * 1024];
  stack_t stack{};
  stack.ss_sp = altStack;
  stack.ss_size = sizeof altStack;
  sigaltstack(&stack, nullptr);
  struct sigaction action{};
  action.sa_sigaction = OnSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGSEGV, &action, nullptr);
  sigaction(SIGBUS, &action, nullptr);
  sigaction(SIGFPE, &action, nullptr);
}
#else
void PlatformCatchFaults(void (*)(const char*)) {}  // the sanitizers report faults themselves
#endif
