/* MenuBar1: the File menu (About, Quit) and the Edit menu of every window
 * and of the application. Quit and the Edit items act through the
 * runtime's standard menu behaviour. */
#include "ClassBuilding.h"
#include "PropertyStream.h"
#include "Tavrin.h"

enum { kBar = -1, kFileMenu = 0, kEditMenu = 1, kNoControlArrayItem = (int32_t)0x80000000 };

/* Creates one item and appends it to the bar or to the bar's menu at that
 * position. */
static void AddItem(RuntimeObject *bar, int32_t menu, stringStorage *className,
                    stringStorage *name, stringStorage *text, stringStorage *commandKey) {
  RuntimeObject *item = 0, *parent = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(bar);
  KIT_CHECK_NIL(bar);
  KIT_TAKE_OBJECT(item, RuntimeNewObject(RuntimeLookupClass(className)));
  KIT_CHECK_NIL(item);
  RuntimeMenuItemDefaultConstructor(item);
  StreamBegin(&stream, item);
  StreamNumber(&stream, "Index", kNoControlArrayItem);
  if (name)
    StreamText(&stream, "Name", name);
  StreamText(&stream, "Text", text);
  if (commandKey)
    StreamText(&stream, "CommandKey", commandKey);
  StreamNumber(&stream, "AutoEnable", 1);
  StreamApply(&stream);
  if (menu == kBar)
    KIT_ASSIGN_OBJECT(parent, bar);
  else
    KIT_TAKE_OBJECT(parent, RuntimeMenuItemItem(bar, menu));
  KIT_CHECK_NIL(parent);
  RuntimeMenuItemAppend(parent, item);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(item);
  KIT_RELEASE_OBJECT(parent);
  KIT_RELEASE_HELD_OBJECT(bar);
  KIT_END();
}

void MenuBar1_MenuBar1(RuntimeObject *self) {
  stringStorage *item = KIT_STRING("MenuItem");
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  AddItem(self, kBar, item, KIT_STRING("FileMenu"), KIT_STRING("&File"), 0);
  AddItem(self, kFileMenu, KIT_STRING("AppleMenuItem"), KIT_STRING("AboutItem"),
          KIT_STRING("About"), 0);
  AddItem(self, kFileMenu, KIT_STRING("QuitMenuItem"), KIT_STRING("FileQuit"), KIT_STRING("Quit"),
          KIT_STRING("Q"));
  AddItem(self, kBar, item, KIT_STRING("EditMenu"), KIT_STRING("&Edit"), 0);
  AddItem(self, kEditMenu, item, KIT_STRING("EditUndo"), KIT_STRING("Undo"), KIT_STRING("Z"));
  AddItem(self, kEditMenu, item, 0, KIT_STRING("-"), 0);
  AddItem(self, kEditMenu, item, KIT_STRING("EditCut"), KIT_STRING("Cut"), KIT_STRING("X"));
  AddItem(self, kEditMenu, item, KIT_STRING("EditCopy"), KIT_STRING("Copy"), KIT_STRING("C"));
  AddItem(self, kEditMenu, item, KIT_STRING("EditPaste"), KIT_STRING("Paste"), KIT_STRING("V"));
  AddItem(self, kEditMenu, item, KIT_STRING("EditClear"), KIT_STRING("Clear"), 0);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* The one menu bar, built on first use (one more reference each time). */
RuntimeObject *MenuBar1Instance(void) {
  RuntimeObject *bar;
  KIT_ENTER();
  if (!gImage.menuBar1Instance) {
    bar = RuntimeNewObject(MenuBar1Class());
    KIT_CHECK_NIL(bar);
    gImage.menuBar1Instance = bar; /* the global keeps the creation's reference */
    MenuBar1_MenuBar1(bar);
  }
  RuntimeLockObject(gImage.menuBar1Instance);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.menuBar1Instance;
}

RuntimeClass *MenuBar1Class(void) {
  ClassCounts counts = {1, 0, 2, 13, 14}, own = {1, 0, 0, 0, 0};
  RuntimeClass *cls;
  KIT_ENTER();
  if (gImage.menuBar1)
    KIT_LEAVE();
  cls = NewImageClass(RuntimeLookupClass(KIT_STRING("MenuBar")), counts, own,
                      KIT_STRING("MenuBar1"), 76, 0);
  KIT_CHECK_NIL(cls);
  gImage.menuBar1 = cls;
  SetMethod(cls, FirstOwnMethod(cls), (void *)MenuBar1_MenuBar1, KIT_STRING("MenuBar1%%o<MenuBar1>"));
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.menuBar1;
}
