#include "shell/log.h"

#include <cstdarg>
#include <cstdio>

#include "platform/platform.h"
#include "shell/app.h"

// The log stream: opened once at start, closed by an exit handler; reset never.
static struct {
  FILE* file = nullptr;
  char stamp[16] = {};
  char date[16] = {};
} logState;

static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

static void WriteLine(const char* format, va_list args) {
  fprintf(logState.file, "[%s] ", LogTimeStamp());
  vfprintf(logState.file, format, args);
  fputc('\n', logState.file);
  fflush(logState.file);
}

const char* MonthName(int month) { return kMonths[((month % 12) + 12) % 12]; }

const char* LogTimeStamp() {
  LocalTime t = Platform().localTime();
  snprintf(logState.stamp, sizeof logState.stamp, "%02i:%02i:%02i", t.hour, t.minute, t.second);
  return logState.stamp;
}

const char* LogDate() {
  LocalTime t = Platform().localTime();
  snprintf(logState.date, sizeof logState.date, "%d %s %04d", t.day, MonthName(t.month), t.year);
  return logState.date;
}

void OpenLog() {
  if (FILE* old = PlatformOpenFile("System.log", "rb")) {
    fclose(old);
    PlatformRemoveFile("System.log");
  }
  logState.file = PlatformOpenFile("System.log", "wb");
}

void CloseLog() {
  if (logState.file) fclose(logState.file);
  logState.file = nullptr;
}

void Log(const char* format, ...) {
  if (!logState.file) return;
  va_list args;
  va_start(args, format);
  WriteLine(format, args);
  va_end(args);
}

void Fatal(const char* format, ...) {
  if (logState.file) {
    fprintf(logState.file, "[%s] ERROR!\n", LogTimeStamp());
    va_list args;
    va_start(args, format);
    WriteLine(format, args);
    va_end(args);
  }
  ExitGame(-1);
}
