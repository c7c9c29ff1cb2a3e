/*
 * ClipboardManager: the last clipboard content this copy knows of, where it
 * came from, and what a change of it sets off: text from the peer goes onto
 * the clipboard, a local change goes to the peer, and the window shows it.
 */
#include "ClassBuilding.h"
#include "Tavrin.h"
#include "TextBytes.h"

static ClipboardManagerObject *Manager(RuntimeObject *self) {
  return (ClipboardManagerObject *)self;
}

/* A new Clipboard object (one reference). */
static RuntimeObject *NewClipboard(void) {
  return RuntimeNewObject(RuntimeLookupClass(KIT_STRING("Clipboard")));
}

/* The data are compared byte for byte, so a change of letter case is a
 * change and reaches the peer; a text read back from the clipboard after the
 * peer's text was put there is byte-identical and is not sent again. */
void ClipboardManager_UpdateClipboardInfo(RuntimeObject *self, stringStorage *type,
                                          stringStorage *data, int32_t local) {
  RuntimeObject *clipboard = 0, *window = 0;
  int32_t changed;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(type);
  KIT_HOLD_STRING(data);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(clipboard, NewClipboard());
  changed = !SameBytes(data, Manager(self)->MyClipData) ||
            RuntimeStringCompare(type, Manager(self)->MyClipType) != 0;
  if (changed) {
    KIT_ASSIGN_STRING(Manager(self)->MyClipType, type);
    KIT_ASSIGN_STRING(Manager(self)->MyClipData, data);
    Manager(self)->MyClipLocal = local != 0;
    KIT_TAKE_OBJECT(window, AppWindowInstance());
    KIT_CHECK_NIL(window);
    if (!local) {
      KIT_CHECK_NIL(clipboard);
      clipboardTextSetter(clipboard, 0, Manager(self)->MyClipData);
      /* Two changes made at once cross on the wire, and each side would
       * end on the other's text. The side that dialled settles it: it
       * sends back each text it takes from the peer, so the peer ends on
       * whatever the dialler ends on. The peer takes nothing from a text
       * it already holds, so the confirmation goes no further. */
      if (((AppWindowObject *)window)->ConnSourceLocal)
        AppWindow_SendClipboard(window, type, data);
    } else {
      AppWindow_SendClipboard(window, type, data);
    }
    ClipboardManager_UpdateAppWindow(self);
  }
  if (clipboard)
    clipboardClose(clipboard);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(clipboard);
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(type);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

void ClipboardManager_UpdateAppWindow(RuntimeObject *self) {
  RuntimeObject *window = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  AppWindow_SetInfo(window, Manager(self)->MyClipType, Manager(self)->MyClipData,
                    Manager(self)->MyClipLocal);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ClipboardManager_ForceSend(RuntimeObject *self) {
  RuntimeObject *window = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  AppWindow_SendClipboard(window, Manager(self)->MyClipType, Manager(self)->MyClipData);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static void ClipboardManagerDestructor(RuntimeObject *self) {
  RuntimeUnlockString(Manager(self)->MyClipType);
  RuntimeUnlockString(Manager(self)->MyClipData);
}

RuntimeClass *ClipboardManagerClass(void) {
  ClassCounts counts = {3, 0, 0, 1, 3}, own = {3, 0, 0, 0, 3};
  RuntimeClass *cls;
  KIT_ENTER();
  if (gImage.clipboardManager)
    KIT_LEAVE();
  cls = NewImageClass(0, counts, own, KIT_STRING("ClipboardManager"), 36,
                      ClipboardManagerDestructor);
  KIT_CHECK_NIL(cls);
  gImage.clipboardManager = cls;
  SetMethod(cls, 0, (void *)ClipboardManager_UpdateClipboardInfo,
            KIT_STRING("UpdateClipboardInfo%%o<ClipboardManager>ssb"));
  SetMethod(cls, 1, (void *)ClipboardManager_UpdateAppWindow,
            KIT_STRING("UpdateAppWindow%%o<ClipboardManager>"));
  SetMethod(cls, 2, (void *)ClipboardManager_ForceSend, KIT_STRING("ForceSend%%o<ClipboardManager>"));
  SetFieldProperty(cls, 0, KIT_STRING("MyClipType%s%"), 24);
  SetFieldProperty(cls, 1, KIT_STRING("MyClipData%s%"), 28);
  SetFieldProperty(cls, 2, KIT_STRING("MyClipLocal%b%"), 32);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.clipboardManager;
}
