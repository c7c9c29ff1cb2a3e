/*
 * ClipMonitorTimer: reads the local clipboard every 200 ms and reports what
 * it holds to the clipboard manager as a local content.
 */
#include "ClassBuilding.h"
#include "Tavrin.h"

enum { kPollPeriod = 200, kMultipleMode = 2 };

static ClipMonitorTimerObject *Monitor(RuntimeObject *self) {
  return (ClipMonitorTimerObject *)self;
}

void ClipMonitorTimer_Constructor(RuntimeObject *self, RuntimeObject *manager) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_OBJECT(manager);
  KIT_CHECK_NIL(self);
  KIT_ASSIGN_OBJECT(Monitor(self)->MyClipboardManager, manager);
  timerPeriodSetter(self, 0, kPollPeriod);
  timerModeSetter(self, 0, kMultipleMode);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_OBJECT(manager);
  KIT_END();
}

/* Asking GTK+ for the clipboard runs a nested main loop while the owner
 * answers, and a text from the peer can arrive meanwhile; once it is taken
 * and put on the clipboard, what this reading got is older than that text
 * and is dropped, so that it neither overwrites the peer's text nor goes
 * back to the peer. */
void ClipMonitorTimer_Action(RuntimeObject *self) {
  RuntimeObject *clipboard = 0, *window = 0, *connection = 0;
  stringStorage *type = 0, *data = 0;
  int32_t remoteUpdatesBefore = gImage.remoteUpdates, vanished = 0, attempt;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(clipboard, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("Clipboard"))));
  KIT_CHECK_NIL(clipboard);
  if (clipboardTextAvailable(clipboard)) {
    KIT_ASSIGN_STRING(type, KIT_STRING("Text"));
    /* A reading that gives nothing is an empty text only when the clipboard
     * still offers text afterwards: an owner that quit between offering its
     * text and giving it, refused it, or gave bytes that are not UTF-8 (the
     * clipboard then offers no text) leaves nothing read, and an empty text
     * must not stand in for it. An owner that quit may have been followed
     * by a new one at once: its text is read again before an empty one is
     * believed. */
    for (attempt = 0; attempt < 2 && !data && !vanished; ++attempt) {
      KIT_TAKE_STRING(data, clipboardTextGetter(clipboard, 0));
      if (!data && !clipboardTextAvailable(clipboard))
        vanished = 1;
    }
  } else if (clipboardPictureAvailable(clipboard)) {
    KIT_ASSIGN_STRING(type, KIT_STRING("Picture"));
  } else {
    KIT_ASSIGN_STRING(type, KIT_STRING("Unsupported Type"));
  }
  clipboardClose(clipboard);
  if (vanished)
    KIT_LEAVE();
  /* Frames that came while the owner was answering are taken first: the
   * sockets are serviced between run-loop steps, not inside the read. */
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  KIT_CHECK_NIL(window);
  KIT_ASSIGN_OBJECT(connection, ((AppWindowObject *)window)->MyConnection);
  if (connection)
    socketPoll(connection);
  if (gImage.remoteUpdates != remoteUpdatesBefore)
    KIT_LEAVE();
  KIT_CHECK_NIL(Monitor(self)->MyClipboardManager);
  ClipboardManager_UpdateClipboardInfo(Monitor(self)->MyClipboardManager, type, data, 1);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(clipboard);
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_OBJECT(connection);
  KIT_RELEASE_STRING(type);
  KIT_RELEASE_STRING(data);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static void ClipMonitorTimerDestructor(RuntimeObject *self) {
  RuntimeUnlockObject(Monitor(self)->MyClipboardManager);
}

RuntimeClass *ClipMonitorTimerClass(void) {
  ClassCounts counts = {2, 0, 1, 2, 4}, own = {2, 0, 0, 0, 1};
  RuntimeClass *cls;
  int32_t method;
  KIT_ENTER();
  if (gImage.clipMonitorTimer)
    KIT_LEAVE();
  cls = NewImageClass(RuntimeLookupClass(KIT_STRING("Timer")), counts, own,
                      KIT_STRING("ClipMonitorTimer"), 60, ClipMonitorTimerDestructor);
  KIT_CHECK_NIL(cls);
  gImage.clipMonitorTimer = cls;
  method = FirstOwnMethod(cls);
  SetMethod(cls, method, (void *)ClipMonitorTimer_Constructor,
            KIT_STRING("Constructor%%o<ClipMonitorTimer>o<ClipboardManager>"));
  SetMethod(cls, method + 1, (void *)ClipMonitorTimer_Action, KIT_STRING("#Action%%o<ClipMonitorTimer>"));
  HandleInheritedEvent(cls, "Action", (void *)ClipMonitorTimer_Action);
  SetFieldProperty(cls, FirstOwnProperty(cls),
                   KIT_STRING("MyClipboardManager%o<ClipboardManager>%"), 56);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.clipMonitorTimer;
}
