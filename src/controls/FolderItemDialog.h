// The language's file dialogs (FolderItemDialog and its subclasses
// OpenDialog, SaveAsDialog and SelectFolderDialog) and the colour picker:
// each runs a stock GTK+ dialog to its end and hands back what was chosen.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

class RuntimeViewWindow;
struct ObjectDefinition;
struct stringStorage;

struct FolderItemDialogData {
  enum Type : int32_t { kNone = -1, kOpen = 0, kSave = 1, kSelectFolder = 2 };

  RuntimeObject header;
  int32_t type;
  int32_t top;
  int32_t left;
  stringStorage *title;
  stringStorage *actionButtonCaption;
  stringStorage *cancelButtonCaption;
  stringStorage *suggestedFileName;
  stringStorage *promptText;
  stringStorage *filter;
  RuntimeObject *initialDirectory; // counted
  RuntimeObject *result;           // counted
  void *platformItems;             // never filled on this platform
  int32_t platformCount;
  int32_t platformSelected;
  RuntimeViewWindow *parent; // stored, not used on this platform
  stringStorage *platformText;

  // Runs the dialog: the chosen item (one reference for the caller, one
  // kept as Result) or nil. The base class alerts and answers nil.
  RuntimeObject *ShowModal(RuntimeViewWindow *parentWindow);
  // Releases the references and strings the object holds.
  void Destroy();
};
constexpr int32_t kFolderItemDialogInstanceSize = 88;
static_assert(sizeof(FolderItemDialogData) == kFolderItemDialogInstanceSize);
static_assert(offsetof(FolderItemDialogData, type) == 24);
static_assert(offsetof(FolderItemDialogData, top) == 28);
static_assert(offsetof(FolderItemDialogData, left) == 32);
static_assert(offsetof(FolderItemDialogData, title) == 36);
static_assert(offsetof(FolderItemDialogData, actionButtonCaption) == 40);
static_assert(offsetof(FolderItemDialogData, filter) == 56);
static_assert(offsetof(FolderItemDialogData, initialDirectory) == 60);
static_assert(offsetof(FolderItemDialogData, result) == 64);
static_assert(offsetof(FolderItemDialogData, platformItems) == 68);
static_assert(offsetof(FolderItemDialogData, parent) == 80);
static_assert(offsetof(FolderItemDialogData, platformText) == 84);

// What the GTK+ file selection answered: a path, or nothing.
struct ChosenPath {
  bool chosen = false;
  string path;
};
// Runs a GTK+ file selection titled so, preset with the name when given
// (converted from its tag to the file system's encoding; a name that does
// not convert presets nothing). The chosen name keeps its bytes where
// they are no UTF-8 of the file system.
ChosenPath RunFileSelection(const string &title, const string *presetName);

// Registers FolderItemDialog, OpenDialog, SaveAsDialog and
// SelectFolderDialog, in this order.
void InitFolderItemDialogClasses();
ObjectDefinition *FolderItemDialogClass();
ObjectDefinition *OpenDialogClass();
ObjectDefinition *SaveAsDialogClass();
ObjectDefinition *SelectFolderDialogClass();

extern "C" {
RuntimeObject *FolderItemDialogShowModal(RuntimeObject *dialog);
RuntimeObject *FolderItemDialogShowWithin(RuntimeObject *dialog, RuntimeObject *window);
int32_t selectColor(int32_t *value, stringStorage *prompt);
RuntimeObject *RuntimeGetOpenFolderItem(stringStorage *filter);
RuntimeObject *RuntimeGetSaveFolderItem(stringStorage *filter, stringStorage *defaultName);
RuntimeObject *RuntimeSelectFolder();
}
