// The open and save dialogs, as GTK 3 native file choosers.
#include <gtk/gtk.h>

#include <cstring>
#include <string>

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

bool PlatformShowFileDialog(const FileDialogRequest& request, std::string* result) {
  result->clear();
  static bool ready = gtk_init_check(nullptr, nullptr);
  if (!ready) return false;
  GtkFileChooserNative* dialog = gtk_file_chooser_native_new(
      request.title, nullptr, request.save ? GTK_FILE_CHOOSER_ACTION_SAVE : GTK_FILE_CHOOSER_ACTION_OPEN,
      request.save ? "_Save" : "_Open", "_Cancel");
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, TRUE);
  std::vector<GtkFileFilter*> filters;
  for (int i = 0; i < request.filterCount; ++i) {
    filters.push_back(MakeFilter(request.filters[i]));
    gtk_file_chooser_add_filter(chooser, filters.back());
  }
  if (!filters.empty()) gtk_file_chooser_set_filter(chooser, filters.front());
  bool chosen = false;
  if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(dialog)) == GTK_RESPONSE_ACCEPT) {
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
  g_object_unref(dialog);
  DrainGtkEvents();
  return chosen;
}
