#include "shell/log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/platform.h"
#include "shell/exit.h"

// The log stream: opened once at start, closed by an exit handler; reset never.
static struct {
  FILE* file = nullptr;
  void (*listener)(const char* text) = nullptr;
  char stamp[16] = {};
  char date[16] = {};
} logState;

static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

static const char* LogTimeStamp();                // "09:05:03" (the stamp buffer, overwritten per call)

static void WriteLine(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  int length = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text(length > 0 ? size_t(length) : 0, '\0');
  if (length > 0) vsnprintf(text.data(), text.size() + 1, format, args);
  if (logState.listener) logState.listener(text.c_str());
  if (!logState.file) return;
  fprintf(logState.file, "[%s] %s\n", LogTimeStamp(), text.c_str());
  fflush(logState.file);
}

const char* MonthName(int month) { return kMonths[((month % 12) + 12) % 12]; }

static const char* LogTimeStamp() {
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

void SetLogListener(void (*listener)(const char* text)) { logState.listener = listener; }

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine(format, args);
  va_end(args);
}

void Fatal(const char* format, ...) {
  if (logState.file) fprintf(logState.file, "[%s] ERROR!\n", LogTimeStamp());
  va_list args;
  va_start(args, format);
  WriteLine(format, args);
  va_end(args);
  ExitGame(-1);
}
