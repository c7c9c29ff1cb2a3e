/* Start-up events: Open, then OpenDocument once for each argument GTK+ left
 * on the command line (its own options taken out); each document's
 * AbsolutePath goes to standard error as a line "document: <path>". Exits
 * with 40 plus the number of documents when Open came first, once; else
 * 128 + 1. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
stringStorage *fileAbsolutePathGetter(RuntimeObject *item, int32_t param);

static int32_t sOpens, sDocuments, sDocumentBeforeOpen;

void AppOpen(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sOpens += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AppOpenDocument(RuntimeObject *self, RuntimeObject *item) {
  stringStorage *path = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  if (!sOpens)
    sDocumentBeforeOpen = 1;
  sDocuments += 1;
  KIT_TAKE_STRING(path, item ? fileAbsolutePathGetter(item, 0) : 0);
  KitWriteError(item ? "document: " : "document: (nil)");
  KitWriteError(path ? (const char *)path->buffer + 1 : "");
  KitWriteError("\n");
  KIT_CATCH_ALL();
  KIT_RELEASE_STRING(path);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ImageEntry(void) {
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  KIT_TAKE_OBJECT(app, NewApplicationHandling("Open", (void *)AppOpen, "OpenDocument",
                                              (void *)AppOpenDocument));
  if (!app)
    _exit(128 | KitFailedCheck(2, "the Application class and its Open and OpenDocument events"));
  RuntimeRegisterAppObject(app);
  if (sOpens != 1 || sDocumentBeforeOpen)
    _exit(128 | KitFailedCheck(1, "Open fired once, before any OpenDocument"));
  _exit(40 + sDocuments);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
