#include "shell/command_line.h"

#include <cstdio>
#include <cstring>

bool AnswerHelpOrVersion(int argc, char** argv, const char* program, const char* usage) {
  if (argc != 2) return false;
  if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0) {
    fputs(usage, stdout);
    return true;
  }
  if (strcmp(argv[1], "--version") == 0) {
    printf("%s %s\n", program, VELMORA_VERSION);
    return true;
  }
  return false;
}
