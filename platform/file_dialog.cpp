// The open and save dialogs, as GTK 3 file chooser dialogs.
#include <gtk/gtk.h>

#include <algorithm>
#include <clocale>
#include <cstring>
#include <string>
#include <vector>

#include "platform/window_internal.h"

// The extension of a filter's first pattern: "*.track;*.demo" gives "track".
static std::string PatternExtension(const char* pattern) {
  std::string first(pattern, strcspn(pattern, ";"));
  size_t dot = first.rfind('.');
  return dot == std::string::npos ? "" : first.substr(dot + 1);
}

static GtkFileFilter* MakeFilter(const FileFilter& filter) {
  GtkFileFilter* made = gtk_file_filter_new();
  gtk_file_filter_set_name(made, filter.description);
  std::string patterns = filter.pattern;
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string::npos) end = patterns.size();
    std::string one = patterns.substr(start, end - start);
    if (!one.empty()) gtk_file_filter_add_pattern(made, one.c_str());
    start = end + 1;
  }
  return made;
}

static void DrainGtkEvents() {
  while (gtk_events_pending()) gtk_main_iteration();
}

// GTK sets the whole process locale from the environment when it starts. The game writes and
// reads numbers (config.cfg, the log) with a decimal point, so numbers go back to the C locale;
// messages and the rest keep the player's.
bool PlatformStartGtk() {
  static const bool ready = [] {
    const bool started = gtk_init_check(nullptr, nullptr);
    setlocale(LC_NUMERIC, "C");
    return started;
  }();
  return ready;
}

// The chooser remembers the size it last had, and its first size is taken from the font: on a
// 1024 x 768 screen that is 1096 x 822, with the buttons off the screen. The largest size is
// the monitor's work area less a margin for the frame, and the dialog opens centred on it.
constexpr int kScreenMargin = 48;                 // pixels kept free on each axis

static void FitOnScreen(GtkWindow* window) {
  GdkDisplay* display = gdk_display_get_default();
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (!monitor) monitor = gdk_display_get_monitor(display, 0);
  if (!monitor) return;
  GdkRectangle area;
  gdk_monitor_get_workarea(monitor, &area);
  GdkGeometry largest{};
  largest.max_width = std::max(area.width - kScreenMargin, 320);
  largest.max_height = std::max(area.height - kScreenMargin, 240);
  gtk_window_set_geometry_hints(window, nullptr, &largest, GDK_HINT_MAX_SIZE);
  gtk_window_set_default_size(window, std::min(largest.max_width, 900), std::min(largest.max_height, 600));
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
}

bool PlatformShowFileDialog(const FileDialogRequest& request, std::string* result) {
  result->clear();
  if (!PlatformStartGtk()) return false;
  GtkWidget* widget = gtk_file_chooser_dialog_new(
      request.title, nullptr, request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
      GTK_RESPONSE_CANCEL, request.save ? "_Save" : "_Open", GTK_RESPONSE_ACCEPT, nullptr);
  gtk_dialog_set_default_response(GTK_DIALOG(widget), GTK_RESPONSE_ACCEPT);
  FitOnScreen(GTK_WINDOW(widget));
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(widget);
  // GTK's own check would see the name before its extension is added: the caller asks instead.
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, FALSE);
  if (request.folder && *request.folder) gtk_file_chooser_set_current_folder(chooser, request.folder);
  std::vector<GtkFileFilter*> filters;
  for (int i = 0; i < request.filterCount; ++i) {
    filters.push_back(MakeFilter(request.filters[i]));
    gtk_file_chooser_add_filter(chooser, filters.back());
  }
  if (!filters.empty()) gtk_file_chooser_set_filter(chooser, filters.front());
  bool chosen = false;
  if (gtk_dialog_run(GTK_DIALOG(widget)) == GTK_RESPONSE_ACCEPT) {
    if (char* name = gtk_file_chooser_get_filename(chooser)) {
      *result = name;
      g_free(name);
      chosen = true;
    }
    // A saved name typed without an extension takes the chosen filter's (so picking the demo
    // filter saves a .demo), else the default one.
    size_t slash = result->rfind('/');
    if (chosen && request.save && result->find('.', slash == std::string::npos ? 0 : slash) == std::string::npos) {
      std::string extension = request.defaultExtension ? request.defaultExtension : "";
      GtkFileFilter* picked = gtk_file_chooser_get_filter(chooser);
      for (size_t i = 0; i < filters.size(); ++i)
        if (filters[i] == picked) extension = PatternExtension(request.filters[i].pattern);
      if (!extension.empty()) *result += "." + extension;
    }
  }
  gtk_widget_destroy(widget);
  DrainGtkEvents();
  return chosen;
}
