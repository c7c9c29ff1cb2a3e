// What happens when a menu is used: the dispatch of a chosen item to the
// focused control, the window, the application, the item's Action and the
// focused pane; the enabling pass before a menu opens; and the bookkeeping
// of hidden menu bars.
#pragma once
#include <cstdint>

#include "foundation/ShutdownTasks.h"
#include "windows/MenuServices.h"
#include "windows/menus/Menu.h"

class Window;
struct ObjectHook;

// The events of MenuItem (Action, EnableMenu) and of the special items.
extern ObjectHook *menuItemActionHook;
extern ObjectHook *menuItemEnableMenu;

extern "C" {
// True when something handled the command. window: the native window the
// menu belongs to, or nil for the menu window.
int32_t RuntimeMenuItemClick(RunMenuItem *item, int32_t reserved, Window *window);
void enableMenuItems();
RunMenuItem *RuntimeMenuReference(stringStorage *name);
}

void rmbSuspendMenuBar();
void rmbResumeMenuBar();

// Exists while a menu bar is hidden; its deletion at exit restores nothing
// on this platform.
class menuShutdown : public runShutdownTask {
public:
  menuShutdown();
  ~menuShutdown() override;
  static menuShutdown *cMenuShutdown;
};
bool MenuBarIsHidden();
