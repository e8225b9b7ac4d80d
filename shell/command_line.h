// What every command-line program owes --help and --version.
#pragma once

// Prints `usage` on stdout for --help (or -h), or "PROGRAM VERSION" for --version, when that
// is the only argument. Returns whether it printed, in which case the program exits 0.
bool AnswerHelpOrVersion(int argc, char** argv, const char* program, const char* usage);
