#include "runtime/feedback/AssertionAlertGTK.h"

#include <gtk/gtk.h>

namespace {
bool sDialogShowing = false;
}

void PresentAssertionAlertInDialog(const AssertionAlert &alert) {
  if (sDialogShowing || !gdk_display_get_default()) {
    PrintAssertionAlert(alert);
    return;
  }
  sDialogShowing = true;
  // The text goes in as an argument, never as the format: conditions and
  // messages may hold '%'.
  GtkWidget *dialog =
      gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_ERROR, GTK_BUTTONS_OK_CANCEL,
                             "%s", FormatAssertionAlertText(alert).c_str());
  gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  sDialogShowing = false;
  FinishAssertionAlert(response == GTK_RESPONSE_CANCEL ? AssertionAlertAnswer::kQuit
                                                       : AssertionAlertAnswer::kContinue);
}
