/* A window's life as compiled code drives it: a Window subclass ("Life")
 * whose Layout sets its frame and a menu bar (File with a Quit item on
 * Ctrl+Q), whose CreateControls makes three RectControl subclasses (Button1,
 * and Field1 as a control array of two), sets each with one property
 * stream, adds them and installs their Open and Close handlers. Every event
 * is written to standard error, one line each ("Open Field1$0", "CancelClose
 * true"); the loop runs until the last window closes and the image ends
 * with status 0.
 * With WINDOW_LIFE_VETO set the first CancelClose answers True. */
#include "../../app/ClassBuilding.h"
#include "../../app/PropertyStream.h"
#include "../../app/Tavrin.h"
#include "runtime_classes.h"

KIT_LIBRARY_FUNCTION(getenv, "libc.so.6");
char *getenv(const char *name);

int32_t intGetter(RuntimeObject *object, int32_t offset);

ImageGlobals gImage;

enum { kNameOffset = 36, kIndexOffset = 40, kNoControlArray = (int32_t)0x80000000 };

static int32_t sVetoes;

static void Say(const char *text) {
  KitWriteError(text);
  KitWriteError("\n");
}

/* "Event Name" or "Event Name$Index" for a control. */
static void SayOf(const char *event, RuntimeObject *control) {
  stringStorage *name = stringGetter(control, kNameOffset);
  int32_t index = intGetter(control, kIndexOffset), i;
  char line[80];
  int32_t n = 0;
  for (i = 0; event[i] && n < 40; ++i)
    line[n++] = event[i];
  line[n++] = ' ';
  for (i = 0; name && i < name->length && n < 70; ++i)
    line[n++] = (char)name->buffer[1 + i];
  if (index != kNoControlArray && index >= 0 && index < 10) {
    line[n++] = '$';
    line[n++] = (char)('0' + index);
  }
  line[n] = 0;
  RuntimeUnlockString(name);
  Say(line);
}

void OnControlOpen(RuntimeObject *control) { SayOf("Open", control); }
void OnControlClose(RuntimeObject *control) { SayOf("Close", control); }

void LifeOpen(RuntimeObject *self) { (void)self, Say("Open window"); }
void LifeClose(RuntimeObject *self) { (void)self, Say("Close window"); }
void LifeSetupBindings(RuntimeObject *self) { (void)self, Say("SetupBindings"); }

int32_t LifeCancelClose(RuntimeObject *self, int32_t appQuitting) {
  (void)self;
  Say(appQuitting ? "CancelClose true" : "CancelClose false");
  if (getenv("WINDOW_LIFE_VETO") && sVetoes == 0) {
    ++sVetoes;
    return 1;
  }
  return 0;
}

/* An item of the class, named, with its text and command key, appended. */
static void AddMenuItem(RuntimeObject *parent, stringStorage *className, stringStorage *name,
                        stringStorage *text, stringStorage *key) {
  RuntimeObject *item = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(parent);
  KIT_TAKE_OBJECT(item, RuntimeNewObject(RuntimeLookupClass(className)));
  KIT_CHECK_NIL(item);
  RuntimeMenuItemDefaultConstructor(item);
  StreamBegin(&stream, item);
  StreamText(&stream, "Name", name);
  StreamText(&stream, "Text", text);
  if (key)
    StreamText(&stream, "CommandKey", key);
  StreamNumber(&stream, "AutoEnable", 1);
  StreamApply(&stream);
  RuntimeMenuItemAppend(parent, item);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(item);
  KIT_RELEASE_HELD_OBJECT(parent);
  KIT_END();
}

void LifeLayout(RuntimeObject *self) {
  RuntimeObject *bar = 0, *file = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  Say("Layout");
  KIT_TAKE_OBJECT(bar, RuntimeNewObject(RuntimeLookupClass(KIT_STRING("MenuBar"))));
  KIT_CHECK_NIL(bar);
  AddMenuItem(bar, KIT_STRING("MenuItem"), KIT_STRING("FileMenu"), KIT_STRING("&File"), 0);
  KIT_TAKE_OBJECT(file, RuntimeMenuItemItem(bar, 0));
  KIT_CHECK_NIL(file);
  AddMenuItem(file, KIT_STRING("QuitMenuItem"), KIT_STRING("FileQuit"), KIT_STRING("Quit"), KIT_STRING("Q"));
  WindowMenuBarSetter(self, 0, bar);
  StreamBegin(&stream, self);
  StreamText(&stream, "Title", KIT_STRING("Life"));
  StreamNumber(&stream, "Width", 300);
  StreamNumber(&stream, "Height", 120);
  StreamNumber(&stream, "CloseBox", 1);
  StreamNumber(&stream, "MenuBarVisible", 1);
  StreamNumber(&stream, "Visible", 1);
  StreamApply(&stream);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(bar);
  KIT_RELEASE_OBJECT(file);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* One control of a subclass of the built-in class, set with one stream
 * and added under the name, with its Open and Close handlers. */
static void AddControl(RuntimeObject *self, stringStorage *baseName, stringStorage *name,
                       int32_t index, int32_t left) {
  RuntimeObject *control = 0;
  RuntimeClass *cls;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  cls = SubclassOf(baseName);
  KIT_CHECK_NIL(cls);
  KIT_TAKE_OBJECT(control, WindowAllocateObject(self, cls));
  KIT_CHECK_NIL(control);
  RectControlDefaultConstructor(control);
  StreamBegin(&stream, control);
  StreamNumber(&stream, "Index", index);
  StreamNumber(&stream, "Left", left);
  StreamNumber(&stream, "Top", 20);
  StreamNumber(&stream, "Width", 80);
  StreamNumber(&stream, "Height", 22);
  StreamNumber(&stream, "Visible", 1);
  StreamNumber(&stream, "Enabled", 1);
  StreamApply(&stream);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Open"), (void *)OnControlOpen);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Close"), (void *)OnControlClose);
  WindowAddControl(self, name, control);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void LifeCreateControls(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  Say("CreateControls");
  AddControl(self, KIT_STRING("PushButton"), KIT_STRING("Button1"), kNoControlArray, 10);
  AddControl(self, KIT_STRING("EditField"), KIT_STRING("Field1"), 0, 100);
  AddControl(self, KIT_STRING("EditField"), KIT_STRING("Field1"), 1, 190);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

static RuntimeClass *LifeClass(void) {
  RuntimeClass *cls = SubclassOf(KIT_STRING("Window"));
  if (!cls)
    return 0;
  cls->name = RuntimeLockString(KIT_STRING("Life"));
  if (!HandleEvent(cls, "Layout", (void *)LifeLayout) ||
      !HandleEvent(cls, "CreateControls", (void *)LifeCreateControls) ||
      !HandleEvent(cls, "SetupBindings", (void *)LifeSetupBindings) ||
      !HandleEvent(cls, "Open", (void *)LifeOpen) || !HandleEvent(cls, "Close", (void *)LifeClose) ||
      !HandleEvent(cls, "CancelClose", (void *)LifeCancelClose))
    return 0;
  return cls;
}

static void Run(void) {
  RuntimeObject *app = 0, *window = 0;
  RuntimeClass *cls, *appClass;
  KIT_ENTER();
  appClass = SubclassOf(KIT_STRING("Application"));
  cls = LifeClass();
  if (!appClass || !cls) {
    Say("failed check: the Application and Window classes with their events");
    KIT_LEAVE();
  }
  KIT_TAKE_OBJECT(app, RuntimeNewObject(appClass));
  AppAutoCloseSetter(app, 0, 1);
  RuntimeRegisterAppObject(app);
  KIT_TAKE_OBJECT(window, RuntimeGetImplicitWindow(KIT_STRING("Life")));
  if (!window) {
    KIT_TAKE_OBJECT(window, RuntimeNewObject(cls));
    KIT_CHECK_NIL(window);
    WindowDefaultConstructor(window);
  }
  RuntimeRun();
  Say("end");
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_OBJECT(app);
  KIT_END();
}

void ImageEntry(void) {
  RuntimeInit();
  Run();
  gImage.exitResult = RuntimeExit();
}
