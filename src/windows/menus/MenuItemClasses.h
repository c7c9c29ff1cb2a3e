// The language's menu classes: MenuItem, MenuBar, the _MenuBarInstaller
// interface and the items with built-in behaviour (QuitMenuItem,
// PrefsMenuItem, AppleMenuItem), with MenuItem's accessors and methods.
#pragma once
#include <cstdint>

#include "runtime/objects/ObjectDefinition.h"
#include "windows/menus/Menu.h"

ObjectDefinition *MenuItemClass();
ObjectDefinition *MenuBarClass();
ObjectDefinition *MenubarInstallerInterface();
ObjectDefinition *QuitMenuItemClass();
ObjectDefinition *PrefsMenuItemClass();
ObjectDefinition *AppleMenuItemClass();
// Registers _MenuBarInstaller, MenuBar and MenuItem, in that order.
void InitMenuClasses();

extern ObjectHook *quitMenuItemActionHook;
extern ObjectHook *prefsMenuItemActionHook;

// A new MenuItem with one reference for the caller.
RunMenuItem *NewMenuItem();

extern "C" {
stringStorage *RuntimeMenuItemNameGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemNameSetter(RunMenuItem *item, int32_t, stringStorage *value);
int32_t RuntimeMenuItemIndexGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemIndexSetter(RunMenuItem *item, int32_t, int32_t value);
RuntimeObject *RuntimeMenuItemTagGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemTagSetter(RunMenuItem *item, int32_t, RuntimeObject *value);
stringStorage *RuntimeMenuItemBalloonHelpGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemBalloonHelpSetter(RunMenuItem *item, int32_t, stringStorage *value);
stringStorage *RuntimeMenuItemDisabledHelpGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemDisabledHelpSetter(RunMenuItem *item, int32_t, stringStorage *value);
stringStorage *RuntimeMenuItemTextGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemTextSetter(RunMenuItem *item, int32_t, stringStorage *value);
int32_t RuntimeMenuItemCheckedGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemCheckedSetter(RunMenuItem *item, int32_t, int32_t value);
int32_t RuntimeMenuItemEnabledGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemEnabledSetter(RunMenuItem *item, int32_t, int32_t value);
int32_t RuntimeMenuItemVisibleGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemVisibleSetter(RunMenuItem *item, int32_t, int32_t value);
stringStorage *RuntimeMenuItemCommandKeyGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemCommandKeySetter(RunMenuItem *item, int32_t, stringStorage *value);
int32_t RuntimeMenuItemBoldGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemBoldSetter(RunMenuItem *item, int32_t, int32_t value);
int32_t RuntimeMenuItemItalicsGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemItalicsSetter(RunMenuItem *item, int32_t, int32_t value);
int32_t RuntimeMenuItemUnderlineGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemUnderlineSetter(RunMenuItem *item, int32_t, int32_t value);
int32_t RuntimeMenuItemAutoEnableGetter(RunMenuItem *item, int32_t);
void RuntimeMenuItemAutoEnableSetter(RunMenuItem *item, int32_t, int32_t value);

void RuntimeEnableMenu(RunMenuItem *item);
void RuntimeCloseMenuItem(RunMenuItem *item);
RunMenuItem *RuntimeMenuItemItem(RunMenuItem *item, int32_t index);
int32_t RuntimeMenuItemCount(RunMenuItem *item);
RunMenuItem *RuntimeMenuItemChild(RunMenuItem *item, stringStorage *name);
void RuntimeMenuItemAppend(RunMenuItem *item, RunMenuItem *child);
void RuntimeMenuItemInsert(RunMenuItem *item, int32_t index, RunMenuItem *child);
void RuntimeMenuItemRemoveIndex(RunMenuItem *item, int32_t index);
void RuntimeMenuItemRemoveItem(RunMenuItem *item, RunMenuItem *child);
void RuntimeMenuItemDefaultConstructor(RunMenuItem *item);
}
