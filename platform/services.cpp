// The services table and its headless defaults, over the C library alone: a tool or test with
// no display gets a working clock and local time and harmless input and dialogs.
#include <ctime>

#include "platform/platform.h"

static void NoKeys(uint8_t keys[256]) {
  for (int i = 0; i < 256; ++i) keys[i] = 0;
}

static void CursorAtOrigin(int* x, int* y) { *x = *y = 0; }

static void IgnoreWarp(int, int) {}

// counter * unit / frequency on a monotonic nanosecond counter, truncated to 32 bits.
static uint32_t Clock(uint32_t unit) {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned __int128 nanoseconds = (unsigned __int128)now.tv_sec * 1000000000u + now.tv_nsec;
  return uint32_t(nanoseconds * unit / 1000000000u);
}

static LocalTime ReadLocalTime() {
  time_t now = time(nullptr);
  tm parts{};
  localtime_r(&now, &parts);
  return {parts.tm_year + 1900, parts.tm_mon, parts.tm_mday, parts.tm_hour, parts.tm_min, parts.tm_sec};
}

static void MessageToStderr(const char* title, const char* text) {
  fprintf(stderr, "%s: %s\n", title ? title : "", text ? text : "");
}

static bool AnswerNo(const char* title, const char* text) {
  MessageToStderr(title, text);
  return false;
}

static bool CancelDialog(const FileDialogRequest&, std::string* result) {
  result->clear();
  return false;
}

static bool NoDesktop(int*, int*) { return false; }

static int NoWheel() { return 0; }

static constexpr PlatformServices kHeadless = {NoKeys,          CursorAtOrigin, IgnoreWarp,   Clock,     ReadLocalTime,
                                               MessageToStderr, AnswerNo,       CancelDialog, NoDesktop, NoWheel};

// The system's services and the table in use: the headless defaults until the window installs
// its own; reset never.
static struct {
  PlatformServices system = kHeadless;
  PlatformServices inUse = kHeadless;
} services;

PlatformServices& Platform() { return services.inUse; }

PlatformServices RealPlatform() { return services.system; }

template <typename Entry>
static void Replace(Entry* inUse, Entry headless, Entry installed) {
  if (*inUse == headless) *inUse = installed;
}

void InstallPlatformServices(const PlatformServices& installed) {
  services.system = installed;
  PlatformServices& table = services.inUse;
  Replace(&table.readKeys, kHeadless.readKeys, installed.readKeys);
  Replace(&table.readCursor, kHeadless.readCursor, installed.readCursor);
  Replace(&table.warpCursor, kHeadless.warpCursor, installed.warpCursor);
  Replace(&table.clock, kHeadless.clock, installed.clock);
  Replace(&table.localTime, kHeadless.localTime, installed.localTime);
  Replace(&table.messageBox, kHeadless.messageBox, installed.messageBox);
  Replace(&table.question, kHeadless.question, installed.question);
  Replace(&table.fileDialog, kHeadless.fileDialog, installed.fileDialog);
  Replace(&table.desktopSize, kHeadless.desktopSize, installed.desktopSize);
  Replace(&table.takeWheel, kHeadless.takeWheel, installed.takeWheel);
}
