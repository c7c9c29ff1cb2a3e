/* OpenDocument items: for each command-line argument the App's handler
 * writes "document: " and the item's AbsolutePath on a line of standard
 * error. Exits with 40 plus the number of documents once Open came first. */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);
stringStorage *fileAbsolutePathGetter(RuntimeObject *item, int32_t param);

static int32_t sOpens, sDocuments;

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
  sDocuments += 1;
  if (!item) {
    KitWriteError("document: (nil)\n");
  } else {
    KIT_TAKE_STRING(path, fileAbsolutePathGetter(item, 0));
    KitWriteError("document: ");
    KitWriteError(path ? (const char *)path->buffer + 1 : "");
    KitWriteError("\n");
  }
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
  if (sOpens != 1)
    _exit(128 | KitFailedCheck(1, "Open fired once"));
  _exit(40 + sDocuments);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
