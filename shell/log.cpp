#include "shell/log.h"

#include <locale.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <string>

#include "platform/platform.h"
#include "shell/exit.h"

// The log stream: opened once at start, closed by an exit handler; reset never.
static struct {
  FILE* file = nullptr;
  int descriptor = -1;                            // the file's, for the fault handler; -1 when closed
  long localOffset = 0;                           // seconds from UTC to the log's local time
  void (*listener)(const char* text) = nullptr;
  int quiet = 0;                                  // live QuietLog scopes
  char stamp[16] = {};
  char date[16] = {};
} logState;

constexpr long kSecondsPerDay = 86400;

static const char* const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

static const char* LogTimeStamp();                // "09:05:03" (the stamp buffer, overwritten per call)

// The C locale, for this thread's formatting only: the toolkit behind the file dialogs sets the
// process locale to the player's, and a log line must read "59.50" under a decimal comma too.
static locale_t CLocale() {
  static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
  return c;
}

static void WriteLine(const char* format, va_list args) {
  if (logState.quiet > 0) return;
  const locale_t previous = uselocale(CLocale());
  va_list measure;
  va_copy(measure, args);
  int length = vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text(length > 0 ? size_t(length) : 0, '\0');
  if (length > 0) vsnprintf(text.data(), text.size() + 1, format, args);
  uselocale(previous);
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
  logState.descriptor = logState.file ? fileno(logState.file) : -1;
  const LocalTime t = Platform().localTime();
  logState.localOffset = (t.hour * 3600L + t.minute * 60L + t.second) - long(time(nullptr) % kSecondsPerDay);
}

void CloseLog() {
  logState.descriptor = -1;
  if (logState.file) fclose(logState.file);
  logState.file = nullptr;
}

void SetLogListener(void (*listener)(const char* text)) { logState.listener = listener; }

QuietLog::QuietLog() { logState.quiet += 1; }

QuietLog::~QuietLog() { logState.quiet -= 1; }

void Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLine(format, args);
  va_end(args);
}

void LogFault(const char* name) {
  if (logState.descriptor < 0) return;
  // The realtime clock is safe to read here; local time is not, so the stamp adds the offset
  // to local time taken when the log was opened (a daylight saving change since is not seen).
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const long second = ((long(now.tv_sec % kSecondsPerDay) + logState.localOffset) % kSecondsPerDay + kSecondsPerDay) %
                      kSecondsPerDay;
  const long parts[3] = {second / 3600, second / 60 % 60, second % 60};
  char stamp[] = "[00:00:00] ";
  for (int i = 0; i < 3; ++i) {
    stamp[1 + 3 * i] = char('0' + parts[i] / 10);
    stamp[2 + 3 * i] = char('0' + parts[i] % 10);
  }
  const char* const lines[] = {name, "ERROR!", "Exception!"};
  for (const char* text : lines) {
    char line[128];
    size_t length = 0;
    for (const char* c = stamp; *c; ++c) line[length++] = *c;
    for (const char* c = text; *c && length < sizeof line - 1; ++c) line[length++] = *c;
    line[length++] = '\n';
    if (write(logState.descriptor, line, length) < 0) return;
  }
}

void Fatal(const char* format, ...) {
  if (logState.file) fprintf(logState.file, "[%s] ERROR!\n", LogTimeStamp());
  va_list args;
  va_start(args, format);
  WriteLine(format, args);
  va_end(args);
  ExitGame(-1);
}
