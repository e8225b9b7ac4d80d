// The real save dialog on a 1024 x 768 screen of its own, driven through the X server as a
// player would: it fits the screen, opens in the game's folder, asks before replacing the file
// its typed name becomes, and leaves numbers in the C locale under a decimal-comma session.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <string>
#include <thread>

#include "platform/window.h"
#include "shell/dialogs.h"
#include "shell/paths.h"
#include "support/decimal_comma_locale.h"
#include "support/temp_folder.h"

// Last: Xlib's macros would otherwise clash with the test framework's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include "x_windows.h"

namespace {

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// An X server with one 1024 x 768 screen, for this test alone, with only the server's built-in
// fonts, as on a machine without X font packages: SDL's own box cannot draw there, so the
// question must come from the GTK fallback.
struct SmallScreen {
  pid_t pid = -1;
  std::string name;
  SmallScreen() {
    int ready[2];
    if (pipe(ready) != 0) return;
    pid = fork();
    if (pid == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-fp", "built-ins", nullptr);
      _exit(127);
    }
    close(ready[1]);
    // The number and its line feed come in two writes; the server stops if the pipe closes first.
    std::string number;
    char c = 0;
    while (read(ready[0], &c, 1) == 1 && c != '\n') number += c;
    close(ready[0]);
    if (!number.empty()) name = ":" + number;
  }
  ~SmallScreen() { if (pid > 0) kill(pid, SIGTERM), waitpid(pid, nullptr, 0); }
};

void Press(Display* display, KeySym key) {
  const KeyCode code = XKeysymToKeycode(display, key);
  XTestFakeKeyEvent(display, code, True, CurrentTime);
  XTestFakeKeyEvent(display, code, False, CurrentTime);
  XFlush(display);
  Sleep(60);
}

}  // namespace

TEST(FileDialog, RealSaveDialogFitsOpensInTheGameFolderAndAsksWithTheFinalName) {
  SmallScreen screen;
  ASSERT_FALSE(screen.name.empty()) << "Xvfb did not start";
  TempFolder game, report;
  game.write("hill.track", "old");
  DecimalCommaLocale german;
  const pid_t pid = fork();
  if (pid == 0) {
    setenv("DISPLAY", screen.name.c_str(), 1);
    // GTK's settings and recent files go to the test's folder, not the user's.
    setenv("GSETTINGS_BACKEND", "memory", 1);
    for (const char* home : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
      setenv(home, report.path.c_str(), 1);
    if (!PlatformStartVideo()) _exit(2);
    SetExecFolder(game.file("velmora").c_str());
    const std::string chosen = SaveTrackDialog();
    FILE* out = fopen(report.file("out").c_str(), "w");
    fprintf(out, "%s\n%s\n%s\n", chosen.c_str(), setlocale(LC_NUMERIC, nullptr), setlocale(LC_MESSAGES, nullptr));
    fclose(out);
    _exit(0);
  }
  Display* display = XOpenDisplay(screen.name.c_str());
  ASSERT_NE(display, nullptr) << screen.name;
  // A window may close between the listing and the reading of its name: Xlib's default handler
  // would end the test there, without killing the dialog's process or the server.
  XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
  const Window dialog = AwaitWindow(display, "SAVE track");
  ASSERT_NE(dialog, 0u) << "no save dialog shown";
  Sleep(500);  // mapped, sized and focused
  XWindowAttributes attributes;
  XGetWindowAttributes(display, dialog, &attributes);
  int x = 0, y = 0;
  Window child;
  XTranslateCoordinates(display, dialog, DefaultRootWindow(display), 0, 0, &x, &y, &child);
  EXPECT_TRUE(x >= 0 && y >= 0 && x + attributes.width <= 1024 && y + attributes.height <= 768)
      << attributes.width << " x " << attributes.height << " at " << x << ", " << y;
  XSetInputFocus(display, dialog, RevertToParent, CurrentTime);
  for (KeySym key : {XK_h, XK_i, XK_l, XK_l}) Press(display, key);
  // Return may first go to the name's completion list, so it is pressed until the dialog closes,
  // each time only after the last press had two seconds to close it: a press too many would
  // answer the question that follows before it can be seen.
  Sleep(400);
  for (int i = 0; i < 10 && FindWindow(display, "SAVE track") == dialog; ++i) {
    Press(display, XK_Return);
    for (int wait = 0; wait < 40 && FindWindow(display, "SAVE track") == dialog; ++wait) Sleep(50);
  }
  const Window question = AwaitWindow(display, "SAVE track", dialog);
  EXPECT_NE(question, 0u) << "no question before replacing hill.track";
  if (question) {
    Sleep(300);
    XSetInputFocus(display, question, RevertToParent, CurrentTime);
    Press(display, XK_Return);
  }
  XCloseDisplay(display);
  for (int i = 0; i < 200 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) Sleep(50);
  if (waitpid(pid, nullptr, WNOHANG) == 0) kill(pid, SIGKILL), waitpid(pid, nullptr, 0);
  EXPECT_EQ(report.read("out"), BackslashPath(game.file("hill.track")) + "\nC\nde_DE\n")
      << "the typed name gains .track in the game's folder; GTK took the locale, numbers stayed C";
}
