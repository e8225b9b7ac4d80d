// System.log: the game's one diagnostic channel, recreated on every run in the exec folder.
#pragma once

void OpenLog();                                   // deletes an old System.log, opens a fresh one
void CloseLog();                                  // exit handler; further Log calls do nothing
void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));  // "[hh:mm:ss] text\n", flushed
// From a fault handler: "[hh:mm:ss] name", "ERROR!", "Exception!" by write(2) alone, so a fault
// inside the allocator, stdio or the time zone code cannot hang it; async-signal-safe.
void LogFault(const char* name);
[[noreturn]] void Fatal(const char* format, ...) __attribute__((format(printf, 1, 2)));  // ERROR! line, message, exit -1
const char* LogDate();                            // "5 Mar 2026" (static buffer, overwritten per call)
const char* MonthName(int month);                 // 0 = "Jan" .. 11 = "Dec"; English, never the locale's
// While one lives, Log drops its lines (steps replayed by the ride's timeline have logged theirs
// already). Nests.
struct QuietLog {
  QuietLog();
  ~QuietLog();
  QuietLog(const QuietLog&) = delete;
  QuietLog& operator=(const QuietLog&) = delete;
};
// Also hands every line's text (without stamp and line feed) to listener, log file or not;
// a headless tool listens this way. Null stops it.
void SetLogListener(void (*listener)(const char* text));
