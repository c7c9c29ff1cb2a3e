#include "runtime/application/ApplicationClass.h"

#include <iterator>

#include "foundation/AssertionAlert.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/image/ResourceManager.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassBuilders.h"

RuntimeObject *gApplicationObject = nullptr;


namespace {

// Set while the application's UnhandledException event runs: Quit called
// from there signals the shutdown without raising EndException.
bool sInUnhandledException = false;

constexpr int32_t kAllButBit3 = -9; // the platform mask of ResourceFork and DockItem

ObjectHookTemplate ApplicationHooks[] = {
    {0, "Open", "", "", nullptr, 0},
    {0, "Close", "", "", nullptr, 0},
    {0, "EnableMenuItems", "", "", nullptr, 0},
    {0, "NewDocument", "", "", nullptr, 0},
    {0, "OpenDocument", "item As FolderItem", "", nullptr, 0},
    {0, "HandleAppleEvent", "theEvent As AppleEvent, eventClass As String, eventID As String",
     "Boolean", nullptr, 0},
    {0, "Activate", "", "", nullptr, 0},
    {0, "Deactivate", "", "", nullptr, 0},
    {0, "UnhandledException", "error As RuntimeException", "Boolean", nullptr, 0},
};
static_assert(std::size(ApplicationHooks) == 9);

// Class-typed rows get their types when the class is built: the classes they
// name come from other areas and may not be linked.
ObjectInstanceTemplate ApplicationProperties[] = {
    {0, "MouseCursor", nullptr, ACCESSOR(objGetter), ACCESSOR(appMouseCursorSetter), 24, 0},
    {0, "ResourceFork", nullptr, ACCESSOR(appResourceForkGetter), nullptr, nullptr, 0, kAllButBit3},
    {0, "MDIWindow", nullptr, ACCESSOR(objGetter), ACCESSOR(objSetter), 28, 0},
    {0, "BalloonHelpVisible", &booleanType.type, ACCESSOR(AppBalloonHelpVisibleGetter),
     ACCESSOR(AppBalloonHelpVisibleSetter), 32, 0},
    {0, "MajorVersion", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr, nullptr, 0,
     0},
    {0, "MinorVersion", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr, nullptr, 1,
     0},
    {0, "BugVersion", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr, nullptr, 2,
     0},
    {0, "StageCode", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr, nullptr, 3, 0},
    {0, "NonReleaseVersion", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr,
     nullptr, 4, 0},
    {0, "RegionCode", &integerType.type, ACCESSOR(AppIntegerVersionStuffGetter), nullptr, nullptr, 5,
     0},
    {0, "ShortVersion", &stringType.type, ACCESSOR(AppStringVersionStuffGetter), nullptr, nullptr, 0,
     0},
    {0, "LongVersion", &stringType.type, ACCESSOR(AppStringVersionStuffGetter), nullptr, nullptr, 1, 0},
    {0, "PackageInfo", &stringType.type, ACCESSOR(AppStringVersionStuffGetter), nullptr, nullptr, 2, 0},
    {0, "MenuBar", nullptr, ACCESSOR(AppMenuBarGetter), ACCESSOR(AppMenuBarSetter), 0, 0},
    {0, "DockItem", nullptr, ACCESSOR(AppDockItemGetter), nullptr, nullptr, 0, kAllButBit3},
    {0, "AutoQuit", &booleanType.type, ACCESSOR(AppAutoCloseGetter), ACCESSOR(AppAutoCloseSetter), 0, 0},
    {0, "ExecutableFile", nullptr, ACCESSOR(AppFolderItemGetter), nullptr, nullptr, 0, 0},
};
static_assert(std::size(ApplicationProperties) == 17);

MethodParameter sOpenDocumentParams[] = {{"Item", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sDoEventsParams[] = {{"milliseconds", &integerType.type, 0, {}, 1, {}, -1, {}}};
MethodParameter sAddMenuHandlerParams[] = {
    {"name", &stringType.type, 0, {}, 0, {}, 0, {}},
    {"handler", &externalPtrType.type, 0, {}, 0, {}, 0, {}},
};

PropertyMethod ApplicationMethods[] = {
    {"NewDocument",
     nullptr,
     nullptr,
     0,
     {{ACCESSOR(ApplicationNewDocument), {}}, {}},
     0,
     kConsoleAvailableFlag,
     0},
    {"OpenDocument",
     nullptr,
     sOpenDocumentParams,
     1,
     {{ACCESSOR(ApplicationOpenDocument), {}}, {}},
     0,
     kConsoleAvailableFlag,
     0},
    {"DoEvents", nullptr, sDoEventsParams, 1, {{ACCESSOR(RuntimeDoEvents), {}}, {}}, 0, 0, 0},
    {"_AddMenuHandler",
     nullptr,
     sAddMenuHandlerParams,
     2,
     {{ACCESSOR(ApplicationAddMenuHandler), {}}, {}},
     0,
     0,
     0},
};

// The FolderItem, MouseCursor, MenuBar and other types are other areas'
// classes; they are looked up when Application is built, after them.
void FillClassTypes() {
  const BuiltinClassHooks &classes = GetBuiltinClassHooks();
  ApplicationProperties[0].type = ForeignClassType(classes.MouseCursorClass, "MouseCursor");
  ApplicationProperties[1].type = ForeignClassType(nullptr, "ResourceFork");
  ApplicationProperties[2].type = ForeignClassType(classes.MDIWindowClass, "MDIWindow");
  ApplicationProperties[13].type = ForeignClassType(nullptr, "MenuBar");
  ApplicationProperties[14].type = ForeignClassType(classes.DockItemClass, "DockItem");
  ApplicationProperties[16].type = ForeignClassType(classes.FolderItemClass, "FolderItem");
  sOpenDocumentParams[0].type = ForeignClassType(classes.FolderItemClass, "FolderItem");
}

void ApplicationInitialiser(RuntimeObject *object) {
  ApplicationObject *app = AsApplication(object);
  ObjectDefinition *(*mdiWindow)() = GetBuiltinClassHooks().MDIWindowClass;
  app->mdiWindow = mdiWindow ? CreateInstance(mdiWindow()) : nullptr;
  app->balloonHelpVisible = 0;
  app->menuHandlers = nullptr;
  app->autoQuit = 1;
}

void ApplicationFinaliser(RuntimeObject *object) {
  ApplicationObject *app = AsApplication(object);
  RuntimeUnlockObject(app->mdiWindow);
  app->mdiWindow = nullptr;
  delete app->menuHandlers;
  app->menuHandlers = nullptr;
  RuntimeUnlockObject(app->menuBar);
  app->menuBar = nullptr;
  RuntimeUnlockObject(app->mouseCursor);
  app->mouseCursor = nullptr;
  if (gApplicationObject == object)
    gApplicationObject = nullptr;
}

const VersionInfo *ImageVersion() { return gResourceManager.GetVersionInfo(); }

string VersionText(int32_t index) {
  const VersionInfo *version = ImageVersion();
  return version ? version->Text(index) : string();
}

// A new reference for the caller; the empty string is nil.
stringStorage *NewStringResult(const string &text) { return text.ExtractStringStorage(); }

// One pass over the windows of the language for the quit test.
struct QuitWalk {
  bool vetoed = false;
};

bool AskToClose(RuntimeView *window, void *ref) {
  const WindowHooks &hooks = GetWindowHooks();
  if (hooks.FireCancelCloseEvent && hooks.FireCancelCloseEvent(window, true)) {
    static_cast<QuitWalk *>(ref)->vetoed = true;
    return false;
  }
  return true;
}

bool CloseForQuit(RuntimeView *window, void *) {
  const WindowHooks &hooks = GetWindowHooks();
  if (hooks.CloseNativeWindow && window->nativeWindow)
    hooks.CloseNativeWindow(window->nativeWindow);
  return true;
}

} // namespace

void *FindApplicationHandler(RuntimeObject *app, ApplicationEvent event) {
  if (!app)
    return nullptr;
  ApplicationClass(); // the hooks exist once the class is built
  return FindObjectCode(app, ApplicationHooks[event].hook);
}

ObjectDefinition *ApplicationClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  FillClassTypes();
  defn.className = string("Application");
  defn.objectSize = kApplicationInstanceSize;
  defn.constructor = ApplicationInitialiser;
  defn.destructor = ApplicationFinaliser;
  defn.staticTables = 1;
  FillHooks(&defn, ApplicationHooks, std::size(ApplicationHooks));
  defn.properties = FillInstances(ApplicationProperties, std::size(ApplicationProperties));
  defn.methods = FillMethods(ApplicationMethods, std::size(ApplicationMethods));
  return &defn;
}

namespace {

MethodParameter sReadParams[] = {
    {"Count", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};

PropertyMethod ReadableMethods[] = {
    {"Read", &stringType.type, sReadParams, 2, {}, 0, kConsoleAvailableFlag, 0},
    {"EOF", &booleanType.type, nullptr, 0, {}, 0, kConsoleAvailableFlag, 0},
    {"ReadError", &booleanType.type, nullptr, 0, {}, 0, kConsoleAvailableFlag, 0},
};

MethodParameter sWriteParams[] = {{"text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod WriteableMethods[] = {
    {"Write", nullptr, sWriteParams, 1, {}, 0, kConsoleAvailableFlag, 0},
    {"Flush", nullptr, nullptr, 0, {}, 0, kConsoleAvailableFlag, 0},
    {"WriteError", &booleanType.type, nullptr, 0, {}, 0, kConsoleAvailableFlag, 0},
};

void BuildInterface(ObjectDefinition &defn, const char *name, PropertyMethod *methods, int count) {
  defn.className = string(name);
  defn.isInterface = 1;
  defn.objectSize = sizeof(RuntimeObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.methods = FillMethods(methods, count);
}

} // namespace

ObjectDefinition *ReadableInterface() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    sReadParams[1].type =
        ForeignClassType(GetBuiltinClassHooks().TextEncodingClass, "TextEncoding");
    BuildInterface(defn, "Readable", ReadableMethods, std::size(ReadableMethods));
  }
  return &defn;
}

ObjectDefinition *WriteableInterface() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    BuildInterface(defn, "Writeable", WriteableMethods, std::size(WriteableMethods));
  return &defn;
}

bool TestApplicationQuit() {
  if (!gApplicationObject)
    return true;
  ApplicationObject *app = AsApplication(gApplicationObject);
  if (app->quitting)
    return false;
  app->quitting = 1;
  const WindowHooks &hooks = GetWindowHooks();
  if (hooks.IterateLanguageWindows) {
    QuitWalk walk;
    hooks.IterateLanguageWindows(AskToClose, &walk);
    if (walk.vetoed) {
      app->quitting = 0;
      return false;
    }
    hooks.IterateLanguageWindows(CloseForQuit, nullptr);
  }
  // The windows' Close handlers may have let the application object go.
  if (RuntimeObject *current = gApplicationObject) {
    RuntimeLockObject(current);
    using Handler = void (*)(RuntimeObject *);
    if (auto close = reinterpret_cast<Handler>(FindApplicationHandler(current, kAppClose)))
      close(current);
    AsApplication(current)->quitting = 0;
    RuntimeUnlockObject(current);
  }
  return true;
}

bool TryApplicationUnhandledException(RuntimeObject *exception) {
  // A raise nobody handles inside the handler itself does not go back to it
  // (that would repeat until the stack runs out): it goes to the final dialog.
  if (sInUnhandledException)
    return false;
  sInUnhandledException = true;
  bool handled = false;
  if (!RuntimeObjectIsa(exception, LookupObjectDefinition(EndExceptionClass()))) {
    RuntimeObject *app = getAppObject();
    using Handler = int32_t (*)(RuntimeObject *, RuntimeObject *);
    if (auto handler =
            reinterpret_cast<Handler>(FindApplicationHandler(app, kAppUnhandledException)))
      handled = (handler(app, exception) & 0xFF) != 0;
    RuntimeUnlockObject(app);
  }
  sInUnhandledException = false;
  return handled;
}

extern "C" {

void ApplicationQuit() {
  if (!TestApplicationQuit())
    return;
  if (!sInUnhandledException)
    RaiseExceptionClass(EndExceptionClass());
  SignalShutdown();
}

void ApplicationNewDocument(RuntimeObject *app) {
  using Handler = void (*)(RuntimeObject *);
  if (auto handler = reinterpret_cast<Handler>(FindApplicationHandler(app, kAppNewDocument)))
    handler(app);
}

void ApplicationOpenDocument(RuntimeObject *app, RuntimeObject *item) {
  using Handler = void (*)(RuntimeObject *, RuntimeObject *);
  if (auto handler = reinterpret_cast<Handler>(FindApplicationHandler(app, kAppOpenDocument)))
    handler(app, item);
}

void ApplicationAddMenuHandler(RuntimeObject *app, stringStorage *name, void *handler) {
  if (!app) {
    ShowAlert(kAddMenuHandlerSelfAlert);
    return;
  }
  if (!name) {
    ShowAlert(kAddMenuHandlerNameAlert);
    return;
  }
  if (!handler)
    return;
  ApplicationObject *self = AsApplication(app);
  if (!self->menuHandlers)
    self->menuHandlers = new StringMap<void *>(256);
  self->menuHandlers->AddEntry(string::Borrow(name), handler);
}

void appMouseCursorSetter(RuntimeObject *app, int32_t, RuntimeObject *cursor) {
  ApplicationObject *self = AsApplication(app);
  RuntimeLockObject(cursor);
  RuntimeUnlockObject(self->mouseCursor);
  self->mouseCursor = cursor;
  UpdateMouseCursor();
}

RuntimeObject *appResourceForkGetter(RuntimeObject *, int32_t) {
  ObjectDefinition *fork = FindDefinitionByName(string("ResourceFork"));
  return fork ? CreateInstance(fork) : nullptr;
}

int32_t AppBalloonHelpVisibleGetter(RuntimeObject *app, int32_t) {
  return AsApplication(app)->balloonHelpVisible;
}

void AppBalloonHelpVisibleSetter(RuntimeObject *app, int32_t, int32_t value) {
  AsApplication(app)->balloonHelpVisible = static_cast<uint8_t>(value);
}

int32_t AppIntegerVersionStuffGetter(RuntimeObject *, int32_t index) {
  const VersionInfo *version = ImageVersion();
  return version ? version->Integer(index) : -1;
}

stringStorage *AppStringVersionStuffGetter(RuntimeObject *, int32_t index) {
  return UnixNonIDEStringVer(index);
}

RuntimeObject *AppMenuBarGetter(RuntimeObject *app, int32_t) {
  if (!app) {
    ShowAlert(kAppMenuBarGetterAlert);
    return nullptr;
  }
  RuntimeObject *bar = AsApplication(app)->menuBar;
  RuntimeLockObject(bar);
  return bar;
}

void AppMenuBarSetter(RuntimeObject *app, int32_t, RuntimeObject *menuBar) {
  if (!app) {
    ShowAlert(kAppMenuBarSetterAlert);
    return;
  }
  ApplicationObject *self = AsApplication(app);
  RuntimeLockUnlockObjects(menuBar, self->menuBar);
  self->menuBar = menuBar;
}

// The dock item belongs to the desktop area; on this platform there is none.
RuntimeObject *AppDockItemGetter(RuntimeObject *app, int32_t) {
  if (!app)
    ShowAlert(kAppDockItemAlert);
  return nullptr;
}

int32_t AppAutoCloseGetter(RuntimeObject *app, int32_t) {
  if (!app) {
    ShowAlert(kAppAutoCloseGetterAlert);
    return 0;
  }
  return AsApplication(app)->autoQuit ? 1 : 0;
}

void AppAutoCloseSetter(RuntimeObject *app, int32_t, int32_t value) {
  if (!app) {
    ShowAlert(kAppAutoCloseSetterAlert);
    return;
  }
  AsApplication(app)->autoQuit = (value & 0xFF) != 0;
}

RuntimeObject *AppFolderItemGetter(RuntimeObject *, int32_t) {
  RuntimeObject *item = NewAppFolderItem();
  RUNTIME_CHECK_SHOWING(item, "ret");
  return item;
}

stringStorage *UnixNonIDEStringVer(int32_t index) { return NewStringResult(VersionText(index)); }
int32_t MacNonIDEIntVer(int32_t) { return -1; }
stringStorage *MacNonIDEStringVer(int32_t) { return NewStringResult(string()); }

} // extern "C"
