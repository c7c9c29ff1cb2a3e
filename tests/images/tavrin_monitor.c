/* The application's clipboard monitor and clipboard manager with stand-ins
 * for the clipboard and the main window, driven tick by tick: a change of
 * letter case is sent, a text taken from the peer is not sent back (but for
 * the dialling side's one confirmation), and a
 * peer's text that arrives while a clipboard reading waits (the reading
 * runs a nested main loop) wins over that stale reading. Exit status 42 when
 * every check held, the number of the first failed check otherwise, and 77
 * (named on standard error) while the runtime has no Clipboard class. */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"
#include "../../app/TextBytes.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void ClipMonitorTimer_Action(RuntimeObject *self);

ImageGlobals gImage;
static RuntimeObject *sManager;
static stringStorage *sClipboard; /* what the clipboard holds */
static stringStorage *sLastSent;
static int32_t sSent, sFailed, sPeerTextDuringReading;

static void Check(int32_t number, int32_t holds) {
  if (!holds && !sFailed)
    sFailed = number;
}

/* The clipboard's stand-ins. */
int32_t clipboardTextAvailable(RuntimeObject *clipboard) { return 1; }
int32_t clipboardPictureAvailable(RuntimeObject *clipboard) { return 0; }
void clipboardClose(RuntimeObject *clipboard) {}
void clipboardTextSetter(RuntimeObject *clipboard, int32_t index, stringStorage *text) {
  RuntimeLockUnlockStrings(text, sClipboard);
  sClipboard = text;
}
/* Answers what the clipboard holds; with a peer's text due, that text
 * arrives while the reading waits (as in the nested main loop), and the
 * reading then answers the older text it was asked for. */
stringStorage *clipboardTextGetter(RuntimeObject *clipboard, int32_t index) {
  stringStorage *read = RuntimeLockString(sClipboard);
  if (sPeerTextDuringReading) {
    sPeerTextDuringReading = 0;
    ++gImage.remoteUpdates;
    ClipboardManager_UpdateClipboardInfo(sManager, KIT_STRING("Text"), KIT_STRING("fresh remote"),
                                         0);
  }
  return read;
}

/* The main window's stand-ins: a bare object of the window's size (no
 * connection; ConnSourceLocal set when this side dialled), and what would go
 * to the peer is counted. */
static RuntimeObject *sWindow;
RuntimeObject *AppWindowInstance(void) {
  RuntimeLockObject(sWindow);
  return sWindow;
}
void AppWindow_SetInfo(RuntimeObject *self, stringStorage *type, stringStorage *data,
                       int32_t local) {}
void AppWindow_SendClipboard(RuntimeObject *self, stringStorage *type, stringStorage *data) {
  ++sSent;
  RuntimeLockUnlockStrings(data, sLastSent);
  sLastSent = data;
}

static stringStorage *StoredText(void) { return ((ClipboardManagerObject *)sManager)->MyClipData; }

void ImageEntry(void) {
  RuntimeObject *timer;
  RuntimeInit();
  if (!RuntimeLookupClass(KIT_STRING("Clipboard"))) {
    KitWriteError("the runtime has no Clipboard class yet\n");
    _exit(77);
  }
  ClassCounts none = {0, 0, 0, 0, 0};
  sWindow = RuntimeNewObject(
      NewImageClass(0, none, none, KIT_STRING("AppWindow"), sizeof(AppWindowObject), 0));
  sManager = RuntimeNewObject(ClipboardManagerClass());
  timer = RuntimeNewObject(ClipMonitorTimerClass());
  ClipMonitorTimer_Constructor(timer, sManager);

  clipboardTextSetter(0, 0, KIT_STRING("hello"));
  ClipMonitorTimer_Action(timer);
  Check(1, sSent == 1 && TextIs(sLastSent, "hello"));
  ClipMonitorTimer_Action(timer);
  Check(2, sSent == 1); /* no change, nothing sent */
  clipboardTextSetter(0, 0, KIT_STRING("HELLO"));
  ClipMonitorTimer_Action(timer);
  Check(3, sSent == 2 && TextIs(sLastSent, "HELLO")); /* letter case counts */

  /* The peer's text goes on the clipboard and does not come back. */
  ++gImage.remoteUpdates;
  ClipboardManager_UpdateClipboardInfo(sManager, KIT_STRING("Text"), KIT_UTF8_STRING("from peer"),
                                       0);
  Check(4, TextIs(sClipboard, "from peer"));
  ClipMonitorTimer_Action(timer);
  Check(5, sSent == 2);

  /* A reading overtaken by the peer's text is dropped. */
  clipboardTextSetter(0, 0, KIT_STRING("stale local"));
  sPeerTextDuringReading = 1;
  ClipMonitorTimer_Action(timer);
  Check(6, sSent == 2);
  Check(7, TextIs(StoredText(), "fresh remote") && TextIs(sClipboard, "fresh remote"));
  ClipMonitorTimer_Action(timer);
  Check(8, sSent == 2);

  /* A peer's change of letter case is a change too. */
  ClipboardManager_UpdateClipboardInfo(sManager, KIT_STRING("Text"), KIT_STRING("FRESH REMOTE"), 0);
  Check(9, TextIs(sClipboard, "FRESH REMOTE") && sSent == 2);

  /* The side that dialled sends back what it takes from the peer, once. */
  ((AppWindowObject *)sWindow)->ConnSourceLocal = 1;
  ClipboardManager_UpdateClipboardInfo(sManager, KIT_STRING("Text"), KIT_STRING("crossed"), 0);
  Check(10, TextIs(sClipboard, "crossed") && sSent == 3 && TextIs(sLastSent, "crossed"));
  ClipboardManager_UpdateClipboardInfo(sManager, KIT_STRING("Text"), KIT_STRING("crossed"), 0);
  ClipMonitorTimer_Action(timer);
  Check(11, sSent == 3);
  _exit(sFailed ? sFailed : 42);
}
