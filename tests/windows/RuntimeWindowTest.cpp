// The language's windows: a window object of a test subclass shown by its
// native window, its events fired from real input.
#include <gtest/gtest.h>

#include <iterator>

#include "WindowsTestSupport.h"
#include "XQueries.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"
#include "windows/RunLoopRegisters.h"
#include "windows/RuntimeWindow.h"

namespace {

std::string Str(int v) { return std::to_string(v); }

// What the handlers saw, and what they answer.
struct Seen {
  std::vector<std::string> events;
  bool mouseDownAnswer = true;
  bool cancelClose = false;
  bool keyDownAnswer = false;
  int16_t minWidth = 0; // what Layout designs
};
Seen sSeen;

void Note(const std::string &s) { sSeen.events.push_back(s); }

extern "C" int32_t OnMouseDown(RuntimeObject *, int32_t x, int32_t y) {
  Note("MouseDown " + Str(x) + "," + Str(y));
  return sSeen.mouseDownAnswer;
}
extern "C" int32_t OnMouseDrag(RuntimeObject *, int32_t x, int32_t y) {
  Note("MouseDrag " + Str(x) + "," + Str(y));
  return 0;
}
extern "C" int32_t OnMouseUp(RuntimeObject *, int32_t x, int32_t y) {
  Note("MouseUp " + Str(x) + "," + Str(y));
  return 0;
}
extern "C" int32_t OnKeyDown(RuntimeObject *, stringStorage *key) {
  string k = string::Borrow(key);
  Note("KeyDown " + std::string(k.CString(), k.Length()));
  return sSeen.keyDownAnswer;
}
extern "C" int32_t OnCancelClose(RuntimeObject *, int32_t appQuitting) {
  Note("CancelClose " + Str(appQuitting));
  return sSeen.cancelClose;
}
extern "C" int32_t OnClose(RuntimeObject *) { return Note("Close"), 0; }
extern "C" int32_t OnCreateControls(RuntimeObject *) { return Note("CreateControls"), 0; }
extern "C" int32_t OnSetupBindings(RuntimeObject *) { return Note("SetupBindings"), 0; }
extern "C" int32_t OnResized(RuntimeObject *) { return Note("Resized"), 0; }
// The design compiled code applies before the native window is made.
extern "C" int32_t OnLayout(RuntimeObject *object) {
  Note("Layout");
  auto *view = reinterpret_cast<RuntimeView *>(object);
  view->visible = 1;
  view->growIcon = 1;
  view->closeBox = 1;
  QV::SetRect(&view->bounds, 0, 0, 300, 200);
  view->minWidth = sSeen.minWidth;
  return 0;
}

// A window subclass as compiled code would make one, handling its events.
ObjectDefinition *TestWindowClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("TestWindow");
    definition.super = WindowBaseClass();
    definition.objectSize = kRuntimeViewInstanceSize;
    definition.staticTables = 1;
    HandleInClass(definition, "Layout", reinterpret_cast<void *>(OnLayout));
    HandleInClass(definition, "MouseDown", reinterpret_cast<void *>(OnMouseDown));
    HandleInClass(definition, "MouseDrag", reinterpret_cast<void *>(OnMouseDrag));
    HandleInClass(definition, "MouseUp", reinterpret_cast<void *>(OnMouseUp));
    HandleInClass(definition, "KeyDown", reinterpret_cast<void *>(OnKeyDown));
    HandleInClass(definition, "CancelClose", reinterpret_cast<void *>(OnCancelClose));
    HandleInClass(definition, "Close", reinterpret_cast<void *>(OnClose));
    HandleInClass(definition, "CreateControls", reinterpret_cast<void *>(OnCreateControls));
    HandleInClass(definition, "SetupBindings", reinterpret_cast<void *>(OnSetupBindings));
    HandleInClass(definition, "Resized", reinterpret_cast<void *>(OnResized));
  }
  return &definition;
}

class LanguageWindow : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    sSeen = Seen{};
  }
  void TearDown() override {
    FireCloseEvents();
    EXPECT_EQ(gRuntimeViewWindowList, nullptr);
    if (object)
      RuntimeUnlockObject(object);
  }
  // The window object, built by its class's constructor.
  RuntimeViewWindow *Create() {
    object = CreateInstance(TestWindowClass());
    EXPECT_NE(object, nullptr);
    view = reinterpret_cast<RuntimeView *>(object);
    return view->nativeWindow;
  }
  // The window shown; created first unless it was.
  RuntimeViewWindow *Open() {
    RuntimeViewWindow *w = object ? view->nativeWindow : Create();
    EXPECT_TRUE(StepUntil([&] {
      return GTK_WIDGET_MAPPED(w->GetGtkWindow()) &&
             gdk_window_is_viewable(w->GetGtkWindow()->window);
    }));
    for (int i = 0; i < 10; ++i)
      PaneLoopStep();
    return w;
  }
  int Count(const std::string &prefix) {
    int n = 0;
    for (const std::string &e : sSeen.events)
      n += e.rfind(prefix, 0) == 0;
    return n;
  }

  RuntimeObject *object = nullptr;
  RuntimeView *view = nullptr;
};

TEST_F(LanguageWindow, ConstructionTiesTheTwoTogetherAndFiresItsEventsInOrder) {
  RuntimeViewWindow *w = Create();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->GetView(), view);
  EXPECT_EQ(gRuntimeViewWindowList, w);
  EXPECT_EQ(object->refCount, 2);
  EXPECT_TRUE(view->opened);
  uint32_t marked = 0;
  EXPECT_TRUE(w->getProperty(string("RuntimeViewWindow"), &marked));
  EXPECT_EQ(marked, 1u);
  EXPECT_TRUE(w->IsRuntimeWindow());
  EXPECT_EQ(sSeen.events,
            (std::vector<std::string>{"Layout", "CreateControls", "SetupBindings"}));
  int visited = 0;
  IterateLanguageWindows(
      [](RuntimeView *v, void *n) { return ++*static_cast<int *>(n), v != nullptr; }, &visited);
  EXPECT_EQ(visited, 1);
}

TEST_F(LanguageWindow, AWindowClosedDuringAWalkOfTheListIsNotVisitedAfterwards) {
  struct Walk {
    RuntimeViewWindow *a, *b;
    std::vector<RuntimeViewWindow *> seen;
  } walk{Create(), nullptr, {}};
  RuntimeObject *second = CreateInstance(TestWindowClass());
  ASSERT_NE(second, nullptr);
  walk.b = reinterpret_cast<RuntimeView *>(second)->nativeWindow;
  RuntimeUnlockObject(second); // the list holds the window now
  ASSERT_TRUE(IterateRuntimeWindowList(
      [](RuntimeViewWindow *w, void *arg) {
        auto *k = static_cast<Walk *>(arg);
        k->seen.push_back(w);
        if (k->seen.size() == 1)
          (w == k->a ? k->b : k->a)->Close(); // the other one goes
        return true;
      },
      &walk));
  EXPECT_EQ(walk.seen.size(), 1u);
}

TEST_F(LanguageWindow, MouseDownTakesTheCaptureForDragsAndOneMouseUp) {
  RuntimeViewWindow *w = Open();
  sSeen.events.clear();
  ASSERT_TRUE(XDoToolUntil("mousemove --window " + Str(XidOf(w)) + " 30 40 mousedown 1",
                           [&] { return Count("MouseDown") >= 1; }));
  ASSERT_TRUE(StepUntil([&] { return Count("MouseDrag") >= 3; }));
  EXPECT_EQ(sSeen.events.front(), "MouseDown 30,40");
  EXPECT_EQ(sSeen.events[1], "MouseDrag 30,40");
  ASSERT_TRUE(XDoToolUntil("mousemove 10 10 mouseup 1", [&] { return Count("MouseUp") >= 1; }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(Count("MouseUp"), 1);
  EXPECT_EQ(sSeen.events.back(),
            "MouseUp " + Str(10 - view->bounds.left) + "," + Str(10 - view->bounds.top))
      << "content coordinates, outside";
  EXPECT_EQ(GetCaptureMouse(), nullptr);
}

TEST_F(LanguageWindow, KeyDownGetsOneCharacterOnce) {
  RuntimeViewWindow *w = Open();
  ASSERT_TRUE(XDoToolUntil("windowfocus --sync " + Str(XidOf(w)), [&] {
    return GetFocusPane() == w;
  })) << "no pane takes the focus";
  sSeen.events.clear();
  ASSERT_TRUE(XDoToolUntil("key --window 0 x", [&] { return Count("KeyDown") >= 1; }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(sSeen.events, (std::vector<std::string>{"KeyDown x"}));
}

TEST_F(LanguageWindow, MovesAndResizesReachTheWindowObject) {
  Create();
  QV::Rect placed = view->bounds;
  RuntimeViewWindow *w = Open();
  EXPECT_EQ(view->bounds.left, placed.left) << "showing kept the place it was given";
  EXPECT_EQ(view->bounds.top, placed.top);
  ASSERT_TRUE(XDoToolUntil("windowmove " + Str(XidOf(w)) + " 150 120",
                           [&] { return view->bounds.left == 150 && view->bounds.top == 120; }));
  sSeen.events.clear();
  ASSERT_TRUE(XDoToolUntil("windowsize " + Str(XidOf(w)) + " 500 400",
                           [&] { return Count("Resized") == 1; }));
  EXPECT_EQ(view->bounds.right - view->bounds.left, 500);
  EXPECT_EQ(view->bounds.bottom - view->bounds.top, 400);
  EXPECT_EQ(view->laidOutBounds.right - view->laidOutBounds.left, 500);
}

TEST_F(LanguageWindow, MinWidthReachesTheSizeHints) {
  sSeen.minWidth = 200;
  RuntimeViewWindow *w = Open();
  XSize min;
  ASSERT_TRUE(StepUntil([&] { return XMinimumSizeHint(XidOf(w), &min); }));
  EXPECT_EQ(min.width, 200);
  QV::Rect limits{0, 0, 0, 0};
  w->RestrictSize(&limits);
  EXPECT_EQ(limits.left, 200);
  EXPECT_EQ(limits.top, 0);
}

// What a window manager's close button sends.
void SendDelete(Window *w) {
  GdkEvent *e = gdk_event_new(GDK_DELETE);
  e->any.window = GDK_WINDOW(g_object_ref(w->GetGtkWindow()->window));
  gtk_main_do_event(e);
  gdk_event_free(e);
}

TEST_F(LanguageWindow, CancelCloseKeepsTheWindowAndItsWidgets) {
  RuntimeViewWindow *w = Open();
  sSeen.events.clear();
  sSeen.cancelClose = true;
  SendDelete(w);
  EXPECT_EQ(sSeen.events, (std::vector<std::string>{"CancelClose 0"}));
  EXPECT_EQ(gRuntimeViewWindowList, w);
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(w->GetGtkWindow())) << "GTK+ did not destroy it";

  sSeen.cancelClose = false;
  sSeen.events.clear();
  SendDelete(w);
  EXPECT_EQ(sSeen.events, (std::vector<std::string>{"CancelClose 0", "Close"}));
  EXPECT_EQ(gRuntimeViewWindowList, nullptr);
  EXPECT_EQ(view->nativeWindow, nullptr);
  EXPECT_EQ(object->refCount, 1);
}

TEST_F(LanguageWindow, AWindowProtectedElsewhereOutlivesItsCloseBoxWithItsWidgetsWhole) {
  RuntimeViewWindow *w = Open();
  int destroyed = 0;
  g_signal_connect_swapped(w->GetGtkWindow(), "destroy", G_CALLBACK(+[](int *n) { ++*n; }),
                           &destroyed);
  w->Protect(); // as a handler further up the stack holds it
  sSeen.events.clear();
  SendDelete(w);
  EXPECT_EQ(sSeen.events, (std::vector<std::string>{"CancelClose 0", "Close"}));
  EXPECT_EQ(gRuntimeViewWindowList, w) << "still held";
  EXPECT_EQ(destroyed, 0) << "GTK+ left the widgets to the window";
  EXPECT_TRUE(GTK_IS_WINDOW(w->GetGtkWindow()));
  EXPECT_TRUE(w->UnprotectCausesDeath());
  EXPECT_EQ(gRuntimeViewWindowList, nullptr);
  EXPECT_EQ(destroyed, 1) << "destroyed once, by the window";
}

TEST_F(LanguageWindow, ClosingTwiceAndClosingEverythingCloseOnce) {
  RuntimeViewWindow *w = Create();
  w->Protect();
  w->Close();
  w->Close();
  EXPECT_EQ(Count("Close"), 1);
  FireCloseEvents(); // the protected window stays listed; the walk must end
  EXPECT_EQ(Count("Close"), 1);
  EXPECT_TRUE(w->UnprotectCausesDeath());
  EXPECT_EQ(gRuntimeViewWindowList, nullptr);

  AlertRecorder alerts;
  EXPECT_EQ(FireCancelCloseEvent(nullptr, 1), 0);
  EXPECT_TRUE(alerts.saw("form"));
  sSeen.cancelClose = true;
  EXPECT_EQ(FireCancelCloseEvent(object, 7), 1);
  EXPECT_EQ(sSeen.events.back(), "CancelClose 1");
}

TEST(WindowClass, NameSizeEventsAndConstants) {
  ObjectDefinition *defn = WindowBaseClass();
  EXPECT_EQ(std::string(defn->className.CString()), "Window");
  EXPECT_EQ(defn->objectSize, 136);
  int events = 0;
  for (ObjectHook *h = defn->hooks; h; h = h->next)
    ++events;
  EXPECT_EQ(events, 24);
  EXPECT_EQ(std::string(WindowBaseHooks[kCancelCloseEvent].hook->name.CString()), "CancelClose");
  EXPECT_EQ(std::string(WindowBaseHooks[kRestoreEvent].name), "Restore");
}

} // namespace
