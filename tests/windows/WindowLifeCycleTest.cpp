// Window objects built by the Window class's constructor on the tests'
// display: implicit instances, controls registered at run time, objects
// declared in a window, accessors that reach the native window, and
// handlers that close or drop the window while the runtime still uses it.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "WindowsTestSupport.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/AlertRecorder.h"
#include "windows/MenuServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"
#include "windows/menus/MenuItemClasses.h"

namespace {

std::vector<std::string> sLog;

std::string NameOf(RuntimeObject *o) {
  auto *c = reinterpret_cast<RuntimeControl *>(o);
  std::string name = stringStorage::CString(c->name);
  return c->index == kNotInControlArray ? name : name + "$" + std::to_string(c->index);
}

// A RectControl subclass whose pane is a plain container in its window.
void MakePane(RuntimeObject *o) {
  auto *c = reinterpret_cast<RuntimeControl *>(o);
  if (c->container)
    c->pane = new ContainerPane(c->container, 0, c->bounds);
}
// The control whose Open closes its window ("" for none).
std::string sCloseOnOpenOf;
void ControlOpened(RuntimeObject *o) {
  sLog.push_back("Open " + NameOf(o) + (AsControl(o)->pane ? " with pane" : ""));
  if (NameOf(o) == sCloseOnOpenOf)
    RuntimeCloseWindow(reinterpret_cast<RuntimeView *>(AsControl(o)->view));
}

ObjectDefinition *PlainControlClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("PlainControl");
    defn.super = RectControlClass();
    defn.objectSize = kControlInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "CreatePane", reinterpret_cast<void *>(MakePane));
    HandleInClass(defn, "Open", reinterpret_cast<void *>(ControlOpened));
  }
  return &defn;
}

// What the next window's handlers do, set by each test.
struct Design {
  QV::Rect bounds{0, 0, 200, 300}; // top, left, bottom, right
  std::function<void(RuntimeView *)> layout, createControls, setupBindings;
} sDesign;

void Layout(RuntimeObject *o) {
  auto *view = reinterpret_cast<RuntimeView *>(o);
  sLog.push_back("Layout");
  view->visible = 1;
  view->bounds = sDesign.bounds;
  if (sDesign.layout)
    sDesign.layout(view);
}
void CreateControls(RuntimeObject *o) {
  sLog.push_back("CreateControls");
  if (sDesign.createControls)
    sDesign.createControls(reinterpret_cast<RuntimeView *>(o));
}
void SetupBindings(RuntimeObject *o) {
  sLog.push_back("SetupBindings");
  if (sDesign.setupBindings)
    sDesign.setupBindings(reinterpret_cast<RuntimeView *>(o));
}
void Opened(RuntimeObject *) { sLog.push_back("Open window"); }
bool sCloseAgainInClose = false;
void Closed(RuntimeObject *o) {
  sLog.push_back("Close window");
  if (sCloseAgainInClose)
    RuntimeCloseWindow(reinterpret_cast<RuntimeView *>(o));
}

bool sDestroyed = false;
void Destroyed(RuntimeObject *) { sDestroyed = true; }

ObjectDefinition *LifeWindowClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("LifeCycleWindow");
    defn.super = WindowBaseClass();
    defn.objectSize = kRuntimeViewInstanceSize;
    defn.staticTables = 1;
    defn.destructor = Destroyed;
    HandleInClass(defn, "Layout", reinterpret_cast<void *>(Layout));
    HandleInClass(defn, "CreateControls", reinterpret_cast<void *>(CreateControls));
    HandleInClass(defn, "SetupBindings", reinterpret_cast<void *>(SetupBindings));
    HandleInClass(defn, "Open", reinterpret_cast<void *>(Opened));
    HandleInClass(defn, "Close", reinterpret_cast<void *>(Closed));
  }
  return &defn;
}

// A control of the plain class allocated for the window, each right of
// the one before.
int32_t sNextLeft = 10;
RuntimeObject *NewControl(RuntimeView *view, int32_t index = kNotInControlArray) {
  RuntimeObject *o = WindowAllocateObject(view, LookupObjectDefinition(PlainControlClass()));
  ctlPosSetter(o, 0, sNextLeft);
  sNextLeft += 50;
  ctlPosSetter(o, 1, 10);
  ctlPosSetter(o, 2, 40);
  ctlPosSetter(o, 3, 20);
  ControlVisibleSetter(o, 0, 1);
  intSetter(o, 40, index);
  return o;
}

void AddNew(RuntimeView *view, const char *name, int32_t index = kNotInControlArray) {
  RuntimeObject *o = NewControl(view, index);
  WindowAddControl(view, string(name).Storage(), o);
  RuntimeUnlockObject(o);
}

std::vector<std::string> Keys(RuntimeView *view) {
  std::vector<std::string> keys;
  StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
  while (it->Next())
    keys.push_back(it->Key().CString());
  delete it;
  return keys;
}

// An object of a compiled class implementing _PaneChild: what the window
// hands it is logged.
int32_t sChildIndex = 0;
void ChildSetWindow(RuntimeObject *, RuntimeObject *window) {
  sLog.push_back(std::string("_SetWindow ") + (window ? "window" : "nil"));
}
int32_t ChildIndex(RuntimeObject *) { return sChildIndex; }
void ChildSetIndex(RuntimeObject *, int32_t index) {
  sChildIndex = index;
  sLog.push_back("_SetIndex " + std::to_string(index));
}
RuntimeObject *ChildWindow(RuntimeObject *) { return nullptr; }
// And one implementing _MenuBarInstaller.
void InstallBar(RuntimeObject *, RuntimeObject *bar) {
  sLog.push_back(std::string("_Install ") + (bar ? "bar" : "nil"));
}

#define CHILD_METHOD(name, f)                                                                      \
  { name, nullptr, nullptr, 0, {{reinterpret_cast<void *>(f), nullptr, {}}, {}}, 0, 0, 0 }
PropertyMethod sChildMethods[] = {
    CHILD_METHOD("_SetWindow", ChildSetWindow),
    CHILD_METHOD("Window", ChildWindow),
    CHILD_METHOD("_Index", ChildIndex),
    CHILD_METHOD("_SetIndex", ChildSetIndex),
};
PropertyMethod sInstallerMethods[] = {CHILD_METHOD("_Install", InstallBar)};

ObjectDefinition *PaneChildClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("WindowPaneChild");
    defn.objectSize = sizeof(RuntimeObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(sChildMethods, std::size(sChildMethods));
    defn.addInterface(PaneChildInterface());
  }
  return &defn;
}

ObjectDefinition *InstallerClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("WindowBarInstaller");
    defn.objectSize = sizeof(RuntimeObject);
    defn.staticTables = 1;
    defn.methods = FillMethods(sInstallerMethods, std::size(sInstallerMethods));
    defn.addInterface(MenubarInstallerInterface());
  }
  return &defn;
}

class WindowLifeCycle : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    CreateControlClasses();
    sLog.clear();
    sDesign = Design{};
    sDestroyed = false;
    sNextLeft = 10;
    sCloseOnOpenOf.clear();
    sCloseAgainInClose = false;
  }
  void TearDown() override {
    FireCloseEvents();
    for (RuntimeObject *o : mWindows)
      RuntimeUnlockObject(o);
  }
  // A new window object of the class, built by its constructor; the test
  // holds the creation reference until the end.
  RuntimeView *New() {
    RuntimeObject *o = RuntimeNewObject(LookupObjectDefinition(LifeWindowClass()));
    EXPECT_NE(o, nullptr);
    mWindows.push_back(o);
    return reinterpret_cast<RuntimeView *>(o);
  }
  RuntimeView *NewShown() {
    RuntimeView *view = New();
    WindowDefaultConstructor(view);
    EXPECT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(view->nativeWindow->GetGtkWindow()); }));
    return view;
  }
  std::vector<RuntimeObject *> mWindows;
};

TEST_F(WindowLifeCycle, TheImplicitInstanceIsTheFirstMadeAfterAskingUntilItCloses) {
  string name("LifeCycleWindow");
  EXPECT_EQ(RuntimeGetImplicitWindow(name.Storage()), nullptr);
  EXPECT_EQ(RuntimeGetImplicitWindow(name.Storage()), nullptr) << "still being made";
  RuntimeView *first = New();
  RuntimeView *second = New();
  RuntimeObject *found = RuntimeGetImplicitWindow(name.Storage());
  EXPECT_EQ(found, &first->header);
  RuntimeUnlockObject(found);
  EXPECT_EQ(first->header.refCount, 3) << "the test's, the native window's and the list's";
  RuntimeCloseWindow(second);
  found = RuntimeGetImplicitWindow(name.Storage());
  EXPECT_EQ(found, &first->header) << "another instance closing changes nothing";
  RuntimeUnlockObject(found);
  RuntimeCloseWindow(first);
  EXPECT_EQ(first->header.refCount, 1);
  EXPECT_EQ(RuntimeGetImplicitWindow(name.Storage()), nullptr);
  RuntimeView *third = New();
  found = RuntimeGetImplicitWindow(name.Storage());
  EXPECT_EQ(found, &third->header);
  RuntimeUnlockObject(found);
  RuntimeCloseWindow(third);
}

TEST_F(WindowLifeCycle, ConstructionFiresInOrderAndControlsOpenBeforeTheWindow) {
  sDesign.createControls = [](RuntimeView *view) {
    AddNew(view, "Button1");
    AddNew(view, "Field1", 0);
    AddNew(view, "Field1", 1);
  };
  RuntimeView *view = New();
  EXPECT_EQ(sLog, (std::vector<std::string>{"Layout", "CreateControls", "SetupBindings"}));
  EXPECT_TRUE(view->opened);
  EXPECT_EQ(Keys(view), (std::vector<std::string>{"Button1", "Field1$0", "Field1$1"}));
  sLog.clear();
  WindowDefaultConstructor(view);
  EXPECT_EQ(sLog, (std::vector<std::string>{"Open Button1 with pane", "Open Field1$0 with pane",
                                            "Open Field1$1 with pane", "Open window"}));
  EXPECT_EQ(windowControlCountGetter(view, 0), 3);
}

TEST_F(WindowLifeCycle, ControlsAddedAfterOpeningJoinAnArrayAndOpenAtOnce) {
  sDesign.createControls = [](RuntimeView *view) {
    AddNew(view, "Field1", 0);
    AddNew(view, "Field1", 1);
    AddNew(view, "Label9");
  };
  RuntimeView *view = NewShown();
  sLog.clear();
  RuntimeObject *field = NewControl(view);
  WindowAddControl(view, string("Field1").Storage(), field);
  EXPECT_EQ(sLog, (std::vector<std::string>{"Open Field1$2 with pane"})) << "before it returns";
  EXPECT_EQ(AsControl(field)->index, 2);
  EXPECT_EQ(field->refCount, 3) << "the test's, the map's and its pane's";
  EXPECT_EQ(AsControl(field)->pane->GetParent(), view->nativeWindow);
  RuntimeUnlockObject(field);
  AddNew(view, "Label9");
  EXPECT_EQ(Keys(view), (std::vector<std::string>{"Field1$0", "Field1$1", "Label9", "Field1$2",
                                                  "Label9$0"}));
}

TEST_F(WindowLifeCycle, AControlClosingItsWindowInOpenEndsTheOpening) {
  sDesign.createControls = [](RuntimeView *view) {
    AddNew(view, "Button1");
    AddNew(view, "Field1", 0);
    AddNew(view, "Field1", 1);
  };
  RuntimeView *view = New();
  sLog.clear();
  sCloseOnOpenOf = "Field1$0";
  WindowDefaultConstructor(view);
  EXPECT_EQ(sLog, (std::vector<std::string>{"Open Button1 with pane", "Open Field1$0 with pane",
                                            "Close window"}));
  EXPECT_EQ(view->nativeWindow, nullptr);
}

TEST_F(WindowLifeCycle, ACloseHandlerClosingAgainClosesOnce) {
  RuntimeView *view = NewShown();
  sCloseAgainInClose = true;
  sLog.clear();
  RuntimeCloseWindow(view);
  EXPECT_EQ(sLog, (std::vector<std::string>{"Close window"}));
  EXPECT_EQ(view->header.refCount, 1);
}

// Objects of compiled classes that implement the window-owned interfaces:
// a pane child is bound and keyed by its own index until the window opens,
// by the next free one afterwards; an installer gets the window's bar.
TEST_F(WindowLifeCycle, PaneChildrenAndBarInstallersDeclaredInTheWindow) {
  sDesign.createControls = [](RuntimeView *view) {
    RuntimeObject *child = WindowAllocateObject(view, LookupObjectDefinition(PaneChildClass()));
    sChildIndex = 3; // its design-time index
    WindowAddControl(view, string("Helper").Storage(), child);
    RuntimeUnlockObject(child);
  };
  sChildIndex = 0;
  RuntimeView *view = New();
  EXPECT_EQ(Keys(view), (std::vector<std::string>{"Helper$3"}));
  EXPECT_EQ(sLog, (std::vector<std::string>{"Layout", "CreateControls", "_SetWindow window",
                                            "_SetIndex -2147483648", "SetupBindings"}));
  sLog.clear();
  RuntimeObject *late = WindowAllocateObject(view, LookupObjectDefinition(PaneChildClass()));
  WindowAddControl(view, string("Helper").Storage(), late);
  EXPECT_EQ(sLog.back(), "_SetIndex 0") << "the first free member after opening";
  EXPECT_EQ(Keys(view), (std::vector<std::string>{"Helper$3", "Helper$0"}));
  EXPECT_EQ(windowControlCountGetter(view, 0), 0);
  RuntimeUnlockObject(late);

  sLog.clear();
  RuntimeObject *installer = WindowAllocateObject(view, LookupObjectDefinition(InstallerClass()));
  EXPECT_EQ(sLog, (std::vector<std::string>{"_Install nil"})) << "the window has no bar";
  RuntimeUnlockObject(installer);
}

// A member made at run time over its array's first member would land in
// that member's pane: it moves out to the window.
TEST_F(WindowLifeCycle, ARunTimeMemberDoesNotNestInsideItsSibling) {
  sDesign.createControls = [](RuntimeView *view) {
    RuntimeObject *big = NewControl(view, 0);
    ctlPosSetter(big, 2, 200);
    ctlPosSetter(big, 3, 100);
    WindowAddControl(view, string("Field1").Storage(), big);
    RuntimeUnlockObject(big);
  };
  RuntimeView *view = NewShown();
  sNextLeft = 20;
  RuntimeObject *small = NewControl(view);
  WindowAddControl(view, string("Field1").Storage(), small);
  EXPECT_EQ(AsControl(small)->pane->GetParent(), view->nativeWindow);
  RuntimeUnlockObject(small);
}

// An object declared in the window that is not a control goes into the
// map under its name; one that replaces another gives the other's
// reference back.
TEST_F(WindowLifeCycle, ReplacingAnEntryReleasesTheObjectItHeld) {
  static RuntimeObject *first, *second;
  first = CreateInstance(ObjectClass());
  second = CreateInstance(ObjectClass());
  sDesign.createControls = [](RuntimeView *view) {
    WindowAddControl(view, string("Helper").Storage(), first);
    WindowAddControl(view, string("Helper").Storage(), second);
  };
  RuntimeView *view = New();
  EXPECT_EQ(first->refCount, 1) << "the map let go of the object it no longer lists";
  EXPECT_EQ(second->refCount, 2);
  EXPECT_EQ(windowControlCountGetter(view, 0), 0) << "no control among them";
  RuntimeCloseWindow(view);
  EXPECT_EQ(second->refCount, 1);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
}

TEST_F(WindowLifeCycle, AHandlerClosingTheWindowDuringConstructionEndsItThere) {
  sDesign.createControls = [](RuntimeView *view) {
    AddNew(view, "Button1");
    RuntimeCloseWindow(view);
  };
  RuntimeView *view = New();
  EXPECT_EQ(view->nativeWindow, nullptr);
  EXPECT_EQ(gRuntimeViewWindowList, nullptr);
  EXPECT_EQ(sLog, (std::vector<std::string>{"Layout", "CreateControls", "Close window"}))
      << "SetupBindings is skipped";
  WindowDefaultConstructor(view);
  EXPECT_EQ(sLog.size(), 3u) << "a closed window opens nothing";
  EXPECT_EQ(view->header.refCount, 1);

  sLog.clear();
  sDesign.createControls = nullptr;
  sDesign.setupBindings = [](RuntimeView *view) { RuntimeCloseWindow(view); };
  view = New();
  EXPECT_EQ(view->nativeWindow, nullptr);
  EXPECT_EQ(sLog.back(), "Close window");
}

// Closing the window inside ShowModal may take the last other reference
// to the window object: the loop still reads the object afterwards.
TEST_F(WindowLifeCycle, ShowModalHoldsTheWindowObjectThatItsCloseWouldFree) {
  using Modal = std::function<void(RuntimeView *)>;
  for (const Modal &modal : {Modal(RuntimeShowModal),
                             Modal([](RuntimeView *v) { RuntimeShowModalWithinWindow(v, nullptr); })}) {
    sDestroyed = false;
    RuntimeView *view = New();
    mWindows.clear(); // the native window's reference is the only one left
    RuntimeUnlockObject(&view->header);
    static bool destroyedInClose;
    destroyedInClose = true;
    g_idle_add(
        [](gpointer data) -> gboolean {
          RuntimeCloseWindow(static_cast<RuntimeView *>(data));
          destroyedInClose = sDestroyed;
          return FALSE;
        },
        view);
    modal(view);
    EXPECT_FALSE(destroyedInClose) << "the modal loop did not hold the object";
    EXPECT_TRUE(sDestroyed) << "and let go of it afterwards";
  }
}

TEST_F(WindowLifeCycle, SizeFullScreenAndGraphicsReachTheOpenWindow) {
  RuntimeView *view = NewShown();
  RuntimeViewWindow *w = view->nativeWindow;
  windowPosSetter(view, 0, 20);
  windowPosSetter(view, 2, 300);
  EXPECT_EQ(view->bounds.right, 320);
  EXPECT_EQ(w->Width(), 300);
  EXPECT_EQ(w->Height(), view->bounds.bottom - view->bounds.top);

  ScreenSource previous = SetScreenSource(ScreenSource{
      [] { return 1; },
      [](int32_t, ScreenRect *s) {
        *s = ScreenRect{0, 0, 800, 600, 0, 0, 800, 600};
        return true;
      }});
  const QV::Rect before = view->bounds;
  windowFullScreenSetter(&view->header, 0, 1);
  EXPECT_TRUE(windowFullScreenGetter(view, 0));
  EXPECT_EQ(w->Width(), 800);
  EXPECT_EQ(w->Height(), 600);
  windowPosSetter(view, 0, 90);
  windowPosSetter(view, 3, 90);
  EXPECT_EQ(view->bounds.left, before.left) << "full-screen mode ignores Left and Height";
  windowFullScreenSetter(&view->header, 0, 0);
  EXPECT_FALSE(windowFullScreenGetter(view, 0));
  EXPECT_EQ(view->bounds.left, before.left);
  EXPECT_EQ(view->bounds.right, before.right);
  EXPECT_EQ(w->Width(), 300);

  // Without a screen nothing is recorded: Left goes on working.
  SetScreenSource(ScreenSource{[] { return 0; }, [](int32_t, ScreenRect *) { return false; }});
  windowFullScreenSetter(&view->header, 0, 1);
  EXPECT_FALSE(windowFullScreenGetter(view, 0));
  windowPosSetter(view, 0, 40);
  EXPECT_EQ(view->bounds.left, 40);
  SetScreenSource(previous);

  RuntimeObject *g = windowGraphicsGetter(view, 0);
  RuntimeObject *again = windowGraphicsGetter(view, 0);
  EXPECT_NE(g, nullptr);
  EXPECT_EQ(g, again) << "one Graphics object for the window's life";
  RuntimeUnlockObject(g);
  RuntimeUnlockObject(again);
  RuntimeCloseWindow(view);
  EXPECT_EQ(windowGraphicsGetter(view, 0), nullptr) << "a closed window has none";
}

TEST_F(WindowLifeCycle, FullScreenSetInLayoutOpensInFullScreenMode) {
  ScreenSource previous = SetScreenSource(ScreenSource{
      [] { return 1; },
      [](int32_t, ScreenRect *s) {
        *s = ScreenRect{0, 0, 640, 480, 0, 0, 640, 480};
        return true;
      }});
  sDesign.layout = [](RuntimeView *view) {
    windowFullScreenSetter(&view->header, 0, 1);
    EXPECT_FALSE(windowFullScreenGetter(view, 0)) << "not open yet";
  };
  RuntimeView *view = New();
  SetScreenSource(previous);
  EXPECT_TRUE(windowFullScreenGetter(view, 0));
  EXPECT_EQ(view->nativeWindow->Width(), 640);
}

TEST_F(WindowLifeCycle, ShowModalLeavesVisibleAloneAndHideEndsIt) {
  sDesign.layout = [](RuntimeView *view) { view->visible = 0; };
  RuntimeView *view = New();
  EXPECT_FALSE(view->nativeWindow->IsVisible()) << "Layout hid it";
  g_idle_add(
      [](gpointer data) -> gboolean {
        auto *v = static_cast<RuntimeView *>(data);
        sLog.push_back(v->visible ? "visible" : "not visible");
        v->nativeWindow->HideWindow();
        return FALSE;
      },
      view);
  RuntimeShowModal(view);
  EXPECT_EQ(sLog.back(), "not visible");
  RuntimeShowWindow(view);
  EXPECT_TRUE(view->visible);
}

TEST_F(WindowLifeCycle, MenuHandlersAndObjectsDeclaredInTheWindow) {
  RuntimeView *view = NewShown();
  AlertRecorder alerts;
  auto handler = reinterpret_cast<void *>(+[](RuntimeObject *, int32_t) { return 1; });
  WindowAddMenuHandler(view, string("FileSave").Storage(), handler);
  void *found = nullptr;
  ASSERT_NE(view->mMenuHandlers, nullptr);
  EXPECT_TRUE(view->mMenuHandlers->GetEntry(string("filesave"), &found));
  EXPECT_EQ(found, handler);
  WindowAddMenuHandler(view, string("FileOpen").Storage(), nullptr);
  EXPECT_FALSE(view->mMenuHandlers->HasEntry(string("FileOpen")));
  WindowAddMenuHandler(nullptr, string("x").Storage(), handler);
  WindowAddMenuHandler(view, nullptr, handler);
  WindowAddControl(nullptr, nullptr, nullptr);
  EXPECT_TRUE(alerts.saw("self"));
  EXPECT_TRUE(alerts.saw("name"));
  EXPECT_EQ(alerts.count(), 3u);

  RuntimeObject *control = WindowAllocateObject(view, LookupObjectDefinition(PlainControlClass()));
  EXPECT_EQ(AsControl(control)->view, &view->header) << "bound, not counted";
  EXPECT_EQ(view->header.refCount, 2) << "the test's and the native window's";
  RuntimeUnlockObject(control);
  RuntimeObject *plain = WindowAllocateObject(view, LookupObjectDefinition(ObjectClass()));
  EXPECT_NE(plain, nullptr);
  RuntimeUnlockObject(plain);
}

} // namespace
