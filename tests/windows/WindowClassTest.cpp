// The Window class as compiled images rely on it: the run-time property
// table (the indices property streams address), methods, constants and
// export names; and the accessors on a window object that is not open.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ControlClasses.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassRegistration.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"
#include "windows/ControlServices.h"
#include "windows/MenuServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"

namespace {

std::string Text(const string &s) { return std::string(s.CString(), s.Length()); }
std::string Text(stringStorage *s) { return stringStorage::CString(s); }

const std::vector<PropertyRow> &ExpectedProperties() {
  static const std::vector<PropertyRow> rows = {
      {"Visible%b", 0, Code(WindowVisibleGetter), Code(WindowVisibleSetter), 0},
      {"Left%i", 0, Code(windowPosGetter), Code(windowPosSetter), 0},
      {"Top%i", 1, Code(windowPosGetter), Code(windowPosSetter), 0},
      {"Width%i", 2, Code(windowPosGetter), Code(windowPosSetter), 0},
      {"Height%i", 3, Code(windowPosGetter), Code(windowPosSetter), 0},
      {"Placement%i", 0, Code(windowPlacementGetter), Code(windowPlacementSetter), 0},
      {"Title%s", 0, Code(windowTitleGetter), Code(windowTitleSetter), 0},
      {"FullScreen%b", 0, Code(windowFullScreenGetter), Code(windowFullScreenSetter), 0},
      {"MenuBarVisible%b", 0, Code(windowMenusVisibleGetter), Code(windowMenusVisibleSetter), 0},
      {"CloseBox%b", 0, Code(windowCloseBoxGetter), Code(windowCloseBoxSetter), 0},
      {"GrowIcon%b", 0, Code(windowGrowIconGetter), Code(windowGrowIconSetter), 0},
      {"ZoomIcon%b", 0, Code(windowZoomIconGetter), Code(windowZoomIconSetter), 0},
      {"Frame%i", 0, Code(windowFrameGetter), Code(windowFrameSetter), 0},
      {"Composite%b", 28, Code(boolGetter), Code(boolSetter), 2},
      {"LiveResize%b", 0, Code(windowLiveResizeGetter), Code(windowLiveResizeSetter), 0},
      {"Backdrop%o<Picture>", 0, Code(windowBackdropGetter), Code(windowBackdropSetter), 0},
      {"Graphics%o<Graphics>", 0, Code(windowGraphicsGetter), nullptr, 0},
      {"HasBackColor%b", 0, Code(windowHasBackColorGetter), Code(windowHasBackColorSetter), 0},
      {"BackColor%c", 0, Code(windowBackColorGetter), Code(windowBackColorSetter), 0},
      {"BalloonHelp%s", 100, Code(stringGetter), Code(windowBalloonHelpSetter), 0},
      {"MinWidth%i", 0, Code(windowMinMaxWidthHeightGetter), Code(windowMinMaxWidthHeightSetter), 0},
      {"MinHeight%i", 1, Code(windowMinMaxWidthHeightGetter), Code(windowMinMaxWidthHeightSetter),
       0},
      {"MaxWidth%i", 2, Code(windowMinMaxWidthHeightGetter), Code(windowMinMaxWidthHeightSetter), 0},
      {"MaxHeight%i", 3, Code(windowMinMaxWidthHeightGetter), Code(windowMinMaxWidthHeightSetter),
       0},
      {"MacProcId%i", 112, Code(intGetter), Code(intSetter), 0},
      {"MouseCursor%o<MouseCursor>", 96, Code(objGetter), Code(formMouseCursorSetter), 0},
      {"ControlCount%i", 0, Code(windowControlCountGetter), nullptr, 0},
      {"FloaterProcess%s", 108, Code(stringGetter), Code(stringSetter), 0},
      {"MouseX%i", 0, Code(windowMouseXGetter), nullptr, 0},
      {"MouseY%i", 0, Code(windowMouseYGetter), nullptr, 0},
      {"MacWindowPtr%i", 0, Code(windowWindowPtrGetter), nullptr, 0},
      {"WinHWND%i", 0, Code(windowHWNDGetter), nullptr, 0},
      {"DockItem%o<DockItem>", 0, Code(WindowDockItemGetter), nullptr, 1},
      {"MenuBar%o<MenuBar>", 0, Code(WindowMenuBarGetter), Code(WindowMenuBarSetter), 0},
  };
  return rows;
}

TEST(WindowClass, RunTimePropertyTableInTableOrderWithFlagsAndExportNames) {
  CreateControlClasses(); // registers the class and its export names
  RuntimeClass *cls = LookupObjectDefinition(WindowBaseClass());
  ASSERT_NE(cls, nullptr);
  ExpectRunTimeProperties(cls, ExpectedProperties());
  std::vector<const InstanceVariable *> items;
  for (const InstanceVariable *p = WindowBaseClass()->properties; p; p = p->next)
    items.push_back(p);
  ExpectPropertyFlagsAndExports(items, ExpectedProperties());
}

TEST(WindowClass, MethodsConstantsAndEventsInTheirFixedOrders) {
  CreateControlClasses();
  ObjectDefinition *defn = WindowBaseClass();
  EXPECT_EQ(Text(defn->className), "Window");
  EXPECT_EQ(defn->objectSize, 136);
  EXPECT_EQ(defn->super, nullptr);
  std::vector<std::string> methods, events;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    methods.push_back(Text(m->name));
  ExpectMethodsBound(defn);
  for (ObjectHook *h = defn->hooks; h; h = h->next)
    events.push_back(Text(h->name));
  EXPECT_EQ(methods,
            (std::vector<std::string>{"Show", "ShowWithin", "ShowModalWithin", "Hide", "Close",
                                      "Refresh", "RefreshRect", "ShowModal", "NewDragItem",
                                      "AcceptTextDrop", "AcceptPictureDrop", "AcceptFileDrop",
                                      "AcceptMacDataDrop", "Control", "SetFocus", "DrawInto",
                                      "UpdateNow", "_AddControl", "_AddMenuHandler", "Window",
                                      "Operator_Convert"}));
  ASSERT_EQ(events.size(), 24u);
  EXPECT_EQ(events[0], "Layout");
  EXPECT_EQ(events[5], "CancelClose");
  EXPECT_EQ(events[23], "Restore");
  EXPECT_EQ(WindowBaseHooks[kLayoutEvent].flags, 0x40);
  EXPECT_EQ(WindowBaseHooks[kOpenEvent].flags, 0);

  // ShowWithin's facing defaults to -1, DrawInto's asActive to False.
  const ObjectMethod *showWithin = defn->methods->next;
  ASSERT_EQ(showWithin->method.paramCount, 2);
  EXPECT_TRUE(showWithin->method.params[1].hasDefault);
  EXPECT_EQ(showWithin->method.params[1].defaultValue, -1);
  EXPECT_EQ(showWithin->method.params[0].type, defn->AsType());

  // The constants are not registered with the runtime: their rows are read.
  RuntimeClass *cls = LookupObjectDefinition(defn);
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(cls->eventCount, 24);
}

// A window object laid out as compiled code sees it, without the Window
// class's life cycle: it never opens.
ObjectDefinition *ClosedWindowClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("NeverOpenWindow");
    defn.objectSize = kRuntimeViewInstanceSize;
    defn.staticTables = 1;
  }
  return &defn;
}

class UnopenedWindow : public testing::Test {
protected:
  void SetUp() override {
    object = CreateInstance(ClosedWindowClass());
    ASSERT_NE(object, nullptr);
    view = reinterpret_cast<RuntimeView *>(object);
  }
  void TearDown() override {
    if (view->controlMap) {
      StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
      RuntimeObject *o = nullptr;
      while (it->Next(&o))
        RuntimeUnlockObject(o);
      delete it;
      delete view->controlMap;
      view->controlMap = nullptr;
    }
    RuntimeUnlockString(view->title);
    RuntimeUnlockObject(object);
  }
  RuntimeObject *object = nullptr;
  RuntimeView *view = nullptr;
};

TEST_F(UnopenedWindow, ANewWindowReadsZeroesAndAnEmptyTitle) {
  EXPECT_FALSE(WindowVisibleGetter(view, 0));
  EXPECT_EQ(windowFrameGetter(view, 0), 0);
  EXPECT_EQ(windowPlacementGetter(view, 0), 0);
  for (int32_t which = 0; which < 4; ++which)
    EXPECT_EQ(windowMinMaxWidthHeightGetter(view, which), 0) << which;
  EXPECT_EQ(windowTitleGetter(view, 0), nullptr);
  EXPECT_EQ(windowGraphicsGetter(view, 0), nullptr) << "not open";
  EXPECT_EQ(windowMouseXGetter(view, 0), 0);
}

TEST_F(UnopenedWindow, PositionAndSizeKeepTheOtherEdgesIn16Bits) {
  struct Step {
    int32_t which, value;
    int16_t left, top, right, bottom;
  } steps[] = {
      {0, 20, 20, 0, 20, 0},      {2, 300, 20, 0, 320, 0},    {1, 40, 20, 40, 320, 40},
      {3, 100, 20, 40, 320, 140}, {0, 50, 50, 40, 350, 140},  {1, 10, 50, 10, 350, 110},
      {2, 70000, 50, 10, 4514, 110}, // 50 + 70000 kept to 16 bits
  };
  for (const Step &s : steps) {
    windowPosSetter(view, s.which, s.value);
    EXPECT_EQ(view->bounds.left, s.left) << s.which << " " << s.value;
    EXPECT_EQ(view->bounds.top, s.top) << s.which << " " << s.value;
    EXPECT_EQ(view->bounds.right, s.right) << s.which << " " << s.value;
    EXPECT_EQ(view->bounds.bottom, s.bottom) << s.which << " " << s.value;
  }
  EXPECT_EQ(windowPosGetter(view, 0), 50);
  EXPECT_EQ(windowPosGetter(view, 3), 100);
  EXPECT_EQ(windowPosGetter(view, 4), 0);
}

TEST_F(UnopenedWindow, LimitsAreStoredIn16Bits) {
  struct Case {
    int32_t which, value, reads;
  } cases[] = {{0, 70000, 4464}, {1, 200, 200}, {2, -1, -1}, {3, 32768, -32768}};
  for (const Case &c : cases) {
    windowMinMaxWidthHeightSetter(view, c.which, c.value);
    EXPECT_EQ(windowMinMaxWidthHeightGetter(view, c.which), c.reads) << c.which;
  }
  EXPECT_EQ(view->minWidth, 4464);
  AlertRecorder alerts;
  windowMinMaxWidthHeightSetter(nullptr, 0, 1);
  EXPECT_EQ(windowMinMaxWidthHeightGetter(nullptr, 0), 0);
  EXPECT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(alerts.saw("window"));
}

TEST_F(UnopenedWindow, FullScreenBeforeOpeningIsOnlyPendingAndLeavesTheBounds) {
  windowPosSetter(view, 2, 200);
  windowFullScreenSetter(object, 0, 1);
  EXPECT_FALSE(windowFullScreenGetter(view, 0)) << "reads false until the window exists";
  EXPECT_TRUE(view->pendingFullScreen);
  windowPosSetter(view, 0, 30);
  EXPECT_EQ(view->bounds.left, 30) << "only a window in full-screen mode ignores Left";
  windowFullScreenSetter(object, 0, 0);
  EXPECT_FALSE(view->pendingFullScreen);
}

TEST_F(UnopenedWindow, TitleLiveResizeAndTheNilWindowAlerts) {
  windowTitleSetter(view, 0, string("Main").Storage());
  stringStorage *title = windowTitleGetter(view, 0);
  EXPECT_EQ(Text(title), "Main");
  RuntimeUnlockString(title);
  windowLiveResizeSetter(view, 0, 1);
  EXPECT_TRUE(windowLiveResizeGetter(view, 0)) << "kept until the window exists";

  AlertRecorder alerts;
  windowTitleSetter(nullptr, 0, nullptr);
  EXPECT_TRUE(alerts.saw("view"));
  windowFullScreenSetter(nullptr, 0, 1);
  EXPECT_EQ(WindowMenuBarGetter(nullptr, 0), nullptr);
  EXPECT_EQ(WindowDockItemGetter(nullptr, 0), nullptr);
  EXPECT_TRUE(alerts.saw("win"));
  EXPECT_EQ(alerts.count(), 4u);
}

// The unhandled-exception hook records what reached it.
struct Raised {
  Raised() {
    Names().clear();
    SetUnhandledExceptionHook(
        [](RuntimeObject *e) { Names().push_back(stringStorage::CString(e->classPtr->name)); });
  }
  ~Raised() { SetUnhandledExceptionHook(nullptr); }
  static std::vector<std::string> &Names() {
    static std::vector<std::string> names;
    return names;
  }
};

TEST_F(UnopenedWindow, ControlCountAndControlSkipWhatIsNotAControl) {
  CreateControlClasses();
  view->controlMap = new StringMap<RuntimeObject *>(256);
  RuntimeObject *socket = CreateInstance(ClosedWindowClass()); // any object that is no control
  RuntimeObject *button = CreateInstance(ControlClass());
  view->controlMap->AddEntry(string("Socket1"), socket);
  view->controlMap->AddEntry(string("Button1"), button);
  EXPECT_EQ(windowControlCountGetter(view, 0), 1);
  RuntimeObject *first = windowControl(view, 0);
  EXPECT_EQ(first, button);
  RuntimeUnlockObject(first);

  OutOfBoundsExceptionClass(); // the class the runtime raises
  Raised raised;
  for (int32_t index : {1, -1}) {
    EXPECT_EQ(windowControl(view, index), nullptr) << index;
  }
  EXPECT_EQ(raised.Names(), (std::vector<std::string>{"OutOfBoundsException",
                                                      "OutOfBoundsException"}));
}

TEST(WindowClassFrames, FramesMapToNativeTypesAndDefaultPlacements) {
  struct Case {
    int32_t frame;
    Window::WindowType type;
    int32_t placement;
  } cases[] = {
      {0, Window::kWindowTypeDocument, 4},       {1, Window::kWindowTypeMovableModal, 2},
      {2, Window::kWindowTypeModal, 2},          {3, Window::kWindowTypeFloating, 0},
      {4, Window::kWindowTypePlainBox, 2},       {5, Window::kWindowTypeShadowedBox, 2},
      {6, Window::kWindowTypeRounded, 4},        {7, Window::kWindowTypeGlobalFloating, 0},
      {8, Window::kWindowTypeSheet, 0},          {9, Window::kWindowTypeMetal, 4},
      {10, Window::kWindowTypeDrawer, 0},        {11, Window::kWindowTypeDocument, 4},
      {-1, Window::kWindowTypeDocument, 4},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(NativeWindowTypeOfFrame(c.frame), c.type) << c.frame;
    EXPECT_EQ(DefaultPlacementOfFrame(c.frame), c.placement) << c.frame;
  }
}

} // namespace
