// A German locale (decimal comma) built into a temporary folder and named by the environment for
// one test, as a player's session would name it: the machine need not have it installed, only
// the locale sources of Debian's "locales". setlocale(LC_ALL, "") then picks it.
#pragma once
#include <clocale>
#include <cstdlib>
#include <string>

#include "support/temp_folder.h"

struct DecimalCommaLocale {
  TempFolder folder;

  DecimalCommaLocale() {
    // -c: the ISO-8859-1 build warns about characters it cannot hold and still writes the locale.
    const std::string command = "localedef -c -i de_DE -f ISO-8859-1 " + folder.file("de_DE") + " 2>/dev/null";
    if (system(command.c_str()) < 0) return;
    setenv("LOCPATH", folder.path.c_str(), 1);
    setenv("LC_ALL", "de_DE", 1);
  }
  ~DecimalCommaLocale() {
    setlocale(LC_ALL, "C");
    unsetenv("LC_ALL");
    unsetenv("LOCPATH");
  }
};
