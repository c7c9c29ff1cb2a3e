// Menu items made and read as compiled code does, and a counter of the
// GTK+ criticals raised while it lives.
#pragma once
#include <string>

#include <gtk/gtk.h>

#include "windows/menus/MenuItemClasses.h"
#include "windows/menus/XMenuGTK.h"

// A new item (one reference for the caller) with a name, text and index.
RunMenuItem *MakeItem(const char *name, const char *text = nullptr, int32_t index = kNoMenuIndex,
                      ObjectDefinition *cls = nullptr);
// Appends a new item to parent (whose list then holds it) and answers it.
RunMenuItem *AddItem(RunMenuItem *parent, const char *name, const char *text = nullptr,
                     int32_t index = kNoMenuIndex);
void Release(RunMenuItem *item);
std::string NameOf(RunMenuItem *item);
// The mnemonic text of the item's label, "" for none.
std::string LabelOf(RunMenuItem *item);
bool LabelSensitive(RunMenuItem *item);
// Whether the accelerator group activates the item with the key and mods.
bool HasAccelerator(RunMenuItem *item, guint key, GdkModifierType mods);

class CriticalCounter {
public:
  CriticalCounter();
  ~CriticalCounter();
  CriticalCounter(const CriticalCounter &) = delete;
  CriticalCounter &operator=(const CriticalCounter &) = delete;
  int count() const;
  const std::string &last() const;

private:
  GLogFunc mPrevious;
  gpointer mPreviousData;
};
