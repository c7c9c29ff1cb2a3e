/* An application the way this system's programs run: an Application subclass
 * with Open and Close handlers and AutoQuit off; Open makes a Timer subclass
 * with Period 200, then Mode 2; the third Action calls Quit. Reports through
 * the exit status after RuntimeRun returns: 42 when every check held, else
 * 128 plus one bit per failed check:
 *   1  Open fired once, before RuntimeRun
 *   2  Action fired three times
 *   4  Close fired once
 *   8  the application object kept only the image's own reference
 *  16  the Application and Timer classes were found */
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

void ApplicationQuit(void);

static int32_t sOpens, sCloses, sActions, sClassesMissing;
static RuntimeObject *sTimer;

void TimerAction(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sActions += 1;
  if (sActions == 3)
    ApplicationQuit(); /* raises EndException: no dialog, the loop ends */
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AppOpen(RuntimeObject *self) {
  RuntimeClass *timerClass;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sOpens += 1;
  timerClass = SubclassOf(KIT_STRING("Timer"));
  if (!timerClass || !HandleEvent(timerClass, "Action", (void *)TimerAction)) {
    sClassesMissing = 1;
    KIT_LEAVE();
  }
  KIT_TAKE_OBJECT(sTimer, RuntimeNewObject(timerClass));
  timerPeriodSetter(sTimer, 0, 200);
  timerModeSetter(sTimer, 0, 2);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AppClose(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  sCloses += 1;
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ImageEntry(void) {
  int32_t failed = 0, opensBeforeRun = 0;
  RuntimeObject *app = 0;
  KIT_ENTER();
  RuntimeInit();
  KIT_TAKE_OBJECT(app, NewApplicationHandling("Open", (void *)AppOpen, "Close", (void *)AppClose));
  if (!app)
    _exit(128 | KitFailedCheck(16, "the Application class and its Open and Close events"));
  AppAutoCloseSetter(app, 0, 0);
  RuntimeRegisterAppObject(app);
  opensBeforeRun = sOpens;
  RuntimeRun();
  if (opensBeforeRun != 1 || sOpens != 1)
    failed |= KitFailedCheck(1, "Open fired once, before RuntimeRun");
  if (sActions != 3)
    failed |= KitFailedCheck(2, "Action fired three times");
  if (sCloses != 1)
    failed |= KitFailedCheck(4, "Close fired once");
  if (app->refCount != 1)
    failed |= KitFailedCheck(8, "the application object kept only the image's reference");
  if (sClassesMissing)
    failed |= KitFailedCheck(16, "the Timer class and its Action event");
  _exit(failed ? 128 | failed : 42);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}
