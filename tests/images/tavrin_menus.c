/* The application's menu bar built through the runtime's menu entry points:
 * one instance, File and Edit on the bar, each item found by its name, of
 * its class, with its text and command key. Exit status 42 when every check
 * held, else the number of the first that failed. */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"
#include "class_names.h"
#include "runtime_classes.h"
#include "tavrin_properties.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

ImageGlobals gImage;
static int32_t sFailed;

static void Check(int32_t number, int32_t holds) {
  if (!holds && !sFailed)
    sFailed = number;
}

/* The item of that name, of that class, with that text and command key. */
static int32_t ItemIs(RuntimeObject *bar, stringStorage *name, const char *className,
                      const char *text, const char *commandKey) {
  RuntimeObject *item = RuntimeMenuItemLookup(bar, name);
  int32_t holds = item && ClassNameIs(item, className) && StringPropertyIs(item, "Text", text) &&
                  StringPropertyIs(item, "CommandKey", commandKey);
  RuntimeUnlockObject(item);
  return holds;
}

void ImageEntry(void) {
  RuntimeObject *bar, *again, *menu;
  RuntimeInit();
  bar = MenuBar1Instance();
  again = MenuBar1Instance();
  Check(1, bar && bar == again && ClassNameIs(bar, "MenuBar1"));
  if (sFailed)
    _exit(sFailed);
  menu = RuntimeMenuItemItem(bar, 0);
  Check(2, StringPropertyIs(menu, "Text", "&File"));
  RuntimeUnlockObject(menu);
  menu = RuntimeMenuItemItem(bar, 1);
  Check(3, StringPropertyIs(menu, "Text", "&Edit"));
  RuntimeUnlockObject(menu);
  Check(4, ItemIs(bar, KIT_STRING("AboutItem"), "AppleMenuItem", "About", ""));
  Check(5, ItemIs(bar, KIT_STRING("FileQuit"), "QuitMenuItem", "Quit", "Q"));
  Check(6, ItemIs(bar, KIT_STRING("EditUndo"), "MenuItem", "Undo", "Z"));
  Check(7, ItemIs(bar, KIT_STRING("EditPaste"), "MenuItem", "Paste", "V"));
  Check(8, ItemIs(bar, KIT_STRING("EditClear"), "MenuItem", "Clear", ""));
  _exit(sFailed ? sFailed : 42);
}
