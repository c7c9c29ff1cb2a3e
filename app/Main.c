/* The image's entry and main function: register the text file type, the
 * application object with its menu bar, open the main window and run. */
#include "Tavrin.h"

ImageGlobals gImage;

static void TavrinMain(void) {
  RuntimeObject *app = 0, *menuBar = 0, *window = 0, *caught = 0;
  int32_t loopEnded __attribute__((unused)) = 0;
  KIT_ENTER();
  gImage.pluginEntryPoints = RuntimeAllocatePluginEntrypointsTable(0);
  RuntimeRegisterFileType(KIT_STRING("text"), KIT_STRING("R*ch"), KIT_STRING("TEXT"), 0);
  KIT_TAKE_OBJECT(app, RuntimeNewObject(AppClass()));
  KIT_CHECK_NIL(app);
  KIT_TAKE_OBJECT(menuBar, MenuBar1Instance());
  AppMenuBarSetter(app, 0, menuBar);
  RuntimeRegisterAppObject(app);
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  KIT_CHECK_NIL(window);
  WindowForceUpdateFrontBuffer(window);
  KIT_TRY(caught) {
    RuntimeRun();
    loopEnded = 1; /* the call may not end the protected region */
  }
  KIT_CATCH(caught) { RuntimeUnhandledException(caught); }
  KIT_END_TRY();
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_RELEASE_OBJECT(menuBar);
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_OBJECT(caught);
  KIT_END();
}

void ImageEntry(void) {
  RuntimeInit();
  TavrinMain();
  gImage.exitResult = RuntimeExit();
}
