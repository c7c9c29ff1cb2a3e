#include <unistd.h>

#include <cstring>

#include <gtk/gtk.h>

#include "controls/FolderItemDialog.h"
#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/GTKHelper.h"

namespace {

inline constexpr AlertSite kAbstractDialogAlert{"../Common/FolderItemDialog", 886, "-1 != mType"};

// The bytes of a name the file system gave, as text: UTF-8 when they
// convert, else the bytes as they are (a path that does not convert is
// still the path the user chose).
string FileSystemText(const char *name) {
  string text;
  gchar *utf8 = g_filename_to_utf8(name, -1, nullptr, nullptr, nullptr);
  if (utf8) {
    text.ConstructFromBuffer(utf8, static_cast<int>(strlen(utf8)), kEncodingUTF8);
    g_free(utf8);
  } else {
    text.ConstructFromBuffer(name, static_cast<int>(strlen(name)));
  }
  return text;
}

} // namespace

ChosenPath RunFileSelection(const string &title, const string *presetName) {
  GtkWidget *dialog = gtk_file_selection_new(GTKHelper::ToUTF8(title).CString());
  if (presetName && !presetName->IsEmpty()) {
    // The name's own tag says what it is; GTK+ takes the file system's bytes.
    string utf8 = GTKHelper::ToUTF8(*presetName);
    if (gchar *name = g_filename_from_utf8(utf8.CString(), -1, nullptr, nullptr, nullptr)) {
      gtk_file_selection_set_filename(GTK_FILE_SELECTION(dialog), name);
      g_free(name);
    }
  }
  ChosenPath chosen;
  if (gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK) {
    const gchar *name = gtk_file_selection_get_filename(GTK_FILE_SELECTION(dialog));
    if (name) {
      chosen.chosen = true;
      chosen.path = FileSystemText(name);
    }
  }
  gtk_widget_destroy(dialog);
  return chosen;
}

RuntimeObject *FolderItemDialogData::ShowModal(RuntimeViewWindow *parentWindow) {
  if (type == kNone)
    ShowAlert(kAbstractDialogAlert, "It looks like you're trying to use the abstract "
                                    "FolderItemDialog class instead of a concrete class");
  parent = parentWindow;
  RuntimeUnlockObject(result);
  result = nullptr;
  if (type != kOpen && type != kSave && type != kSelectFolder)
    return nullptr;
  // The file selection starts in the working directory; the change stays.
  if (stringStorage *path = FolderItemAbsolutePath(initialDirectory)) {
    if (stringStorage::Length(path) > 0 && chdir(stringStorage::CString(path)) != 0) {
      // A folder that went meanwhile: the dialog starts where it is.
    }
    RuntimeUnlockString(path);
  }
  const string suggested = string::Borrow(suggestedFileName);
  ChosenPath chosen = RunFileSelection(string::Borrow(title), type == kSave ? &suggested : nullptr);
  if (!chosen.chosen || chosen.path.IsEmpty())
    return nullptr;
  const char *path = chosen.path.CString();
  if (type != kSelectFolder && path[chosen.path.Length() - 1] == '/')
    return nullptr; // a folder is no file to open or save
  result = NewFolderItemForPath(path);
  if (result)
    RuntimeLockObject(result);
  return result;
}

extern "C" {

// The dialog starts with its own colour, not the value's.
int32_t selectColor(int32_t *value, stringStorage *prompt) {
  GtkWidget *dialog = gtk_color_selection_dialog_new(
      GTKHelper::ToUTF8(string::Borrow(prompt)).CString());
  const bool ok = gtk_dialog_run(GTK_DIALOG(dialog)) == GTK_RESPONSE_OK;
  if (ok && value) {
    GdkColor c;
    gtk_color_selection_get_current_color(
        GTK_COLOR_SELECTION(GTK_COLOR_SELECTION_DIALOG(dialog)->colorsel), &c);
    *value = static_cast<int32_t>(((c.red / 257u) << 16) | ((c.green / 257u) << 8) | (c.blue / 257u));
  }
  gtk_widget_destroy(dialog);
  return ok ? 1 : 0;
}

} // extern "C"
