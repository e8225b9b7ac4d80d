// Message boxes and yes/no questions as GTK dialogs: what the game falls back on when SDL cannot
// show its own box. SDL's X11 box draws with the X server's core fonts, which a machine without
// X font packages lacks; GTK draws with fontconfig's fonts like the file dialogs.
#include <gtk/gtk.h>

#include "platform/window_internal.h"

// Runs a modal message dialog with the given buttons; the response, or GTK_RESPONSE_NONE when
// GTK cannot start.
static int RunMessageDialog(GtkMessageType type, const char* title, const char* text, bool question) {
  if (!PlatformStartGtk()) return GTK_RESPONSE_NONE;
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, type, question ? GTK_BUTTONS_NONE : GTK_BUTTONS_OK,
                                             "%s", text ? text : "");
  gtk_window_set_title(GTK_WINDOW(dialog), title ? title : "");
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  if (question) {
    gtk_dialog_add_buttons(GTK_DIALOG(dialog), "_No", GTK_RESPONSE_NO, "_Yes", GTK_RESPONSE_YES, nullptr);
    gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);  // Enter answers yes, Escape no
  }
  const int response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  return response;
}

bool PlatformShowGtkMessage(const char* title, const char* text) {
  return RunMessageDialog(GTK_MESSAGE_INFO, title, text, false) != GTK_RESPONSE_NONE;
}

bool PlatformAskGtkQuestion(const char* title, const char* text) {
  return RunMessageDialog(GTK_MESSAGE_WARNING, title, text, true) == GTK_RESPONSE_YES;
}
