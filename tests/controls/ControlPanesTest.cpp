// Controls with panes in an open window: positions and their cascade to
// contained controls, the Visible and Enabled cascades, Close and control
// arrays, parents, and what the native window does with its controls.
#include <gtest/gtest.h>

#include <utility>

#include "ControlWindowFixture.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "support/AlertRecorder.h"
#include "support/WindowsTestSupport.h"
#include "windows/MouseCursor.h"

namespace {

using Strings = std::vector<std::string>;

QV::Rect PaneBounds(RuntimeObject *o) { return Ctl(o)->pane->Bounds(); }

TEST_F(ControlWindow, SizesNeverGoNegativeAndMovingAContainerCarriesWhatItHolds) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 80, 40, 200, 150);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 90, 50, 40, 20);
  RuntimeObject *outside = Add("Outside", kNotInControlArray, 300, 40, 50, 20);
  Open();
  ASSERT_TRUE(Ctl(box)->pane->Contains(Ctl(inner)->pane, true));

  ctlPosSetter(outside, 2, -5);
  EXPECT_EQ(ctlPosGetter(outside, 2), 0);
  EXPECT_EQ(Ctl(outside)->bounds.right, Ctl(outside)->bounds.left);
  ctlPosSetter(outside, 3, -1);
  EXPECT_EQ(ctlPosGetter(outside, 3), 0);

  ctlPosSetter(box, 0, 100);
  EXPECT_EQ(ctlPosGetter(box, 0), 100);
  EXPECT_EQ(ctlPosGetter(box, 2), 200); // the width stays
  EXPECT_EQ(ctlPosGetter(inner, 0), 110);
  EXPECT_EQ(ctlPosGetter(inner, 2), 40);
  EXPECT_EQ(PaneBounds(inner).left, 110); // the pane followed its container
  EXPECT_EQ(ctlPosGetter(outside, 0), 300);
  ctlPosSetter(box, 1, 30);
  EXPECT_EQ(ctlPosGetter(inner, 1), 40);
  EXPECT_EQ(PaneBounds(box).top, 30);

  ctlPosSetter(box, 2, 260); // size changes move nothing else
  EXPECT_EQ(ctlPosGetter(inner, 0), 110);
  EXPECT_EQ(PaneBounds(box).right, 360);
  EXPECT_EQ(ctlPosGetter(box, 7), 0);
}

// A container shows or enables what it holds except what was turned off on
// its own; turning it off reaches everything; no child's flag changes.
TEST_F(ControlWindow, CascadesSpareAChildWhoseOwnFlagIsFalse) {
  struct Flag {
    void (*set)(RuntimeObject *, int32_t, int32_t);
    int32_t (*get)(RuntimeObject *, int32_t);
    bool (SubPane::*paneState)() const;
  } flags[] = {{ControlVisibleSetter, controlVisibleGetter, &SubPane::IsVisible},
               {controlEnabledSetter, controlEnabledGetter, &SubPane::IsEnabled}};
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *on = Add("On", kNotInControlArray, 30, 30, 50, 20);
  RuntimeObject *off = Add("Off", kNotInControlArray, 30, 60, 50, 20);
  RuntimeObject *deep = Add("Deep", kNotInControlArray, 100, 100, 100, 80);
  RuntimeObject *deeper = Add("Deeper", kNotInControlArray, 110, 110, 20, 20);
  Open();
  ASSERT_TRUE(Ctl(deep)->pane->Contains(Ctl(deeper)->pane, false));
  for (const Flag &f : flags) {
    f.set(off, 0, 0);
    auto state = [&](RuntimeObject *o) { return (Ctl(o)->pane->*f.paneState)(); };
    f.set(box, 0, 0);
    EXPECT_FALSE(state(on));
    EXPECT_FALSE(state(off));
    EXPECT_FALSE(state(deeper));
    f.set(box, 0, 1);
    EXPECT_TRUE(state(on));
    EXPECT_FALSE(state(off));
    EXPECT_TRUE(state(deeper));
    f.set(box, 0, 0);
    f.set(box, 0, 1);
    EXPECT_FALSE(state(off));
    EXPECT_FALSE(f.get(off, 0));
    EXPECT_TRUE(f.get(on, 0));
    f.set(off, 0, 1);
  }
}

TEST_F(ControlWindow, ClosingTheMiddleOfAnArrayRenumbersTheRest) {
  RuntimeObject *a = Add("Field", 0, 10, 10, 40, 20);
  RuntimeObject *b = Add("Field", 1, 10, 40, 40, 20);
  RuntimeObject *c = Add("Field", 2, 10, 70, 40, 20);
  RuntimeObject *label = Add("Label", kNotInControlArray, 100, 10, 40, 20);
  Open();
  RuntimeLockObject(b); // watch the map give its reference back
  ControlClose(b);
  EXPECT_EQ(ControlLog(), (Strings{"Close Field$1"}));
  EXPECT_EQ(Ctl(b)->pane, nullptr);
  EXPECT_EQ(b->refCount, 1);
  EXPECT_EQ(Keys(), (Strings{"Field$0", "Label", "Field$1"}));
  EXPECT_EQ(Ctl(a)->index, 0);
  EXPECT_EQ(Ctl(c)->index, 1);
  RuntimeObject *entry = nullptr;
  view->controlMap->GetEntry(string("Field$1"), &entry);
  EXPECT_EQ(entry, c);

  ControlClose(b); // a second Close finds nothing of the map's to release
  EXPECT_EQ(b->refCount, 1);
  EXPECT_EQ(Ctl(c)->index, 1);
  RuntimeUnlockObject(b);

  ControlClose(label);
  EXPECT_EQ(Keys(), (Strings{"Field$0", "Field$1"}));
}

TEST_F(ControlWindow, ClosingAContainerClosesWhatItHoldsAfterItsOwnCloseEvent) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  Add("Inner", kNotInControlArray, 30, 30, 50, 20);
  Add("Outside", kNotInControlArray, 330, 30, 50, 20);
  RuntimeViewWindow *w = Open();
  SubPane *boxPane = Ctl(box)->pane;
  int panes = w->CountChildren();
  SetFocusPane(boxPane);
  ControlClose(box);
  EXPECT_EQ(ControlLog(), (Strings{"Close Box", "Close Inner"}));
  EXPECT_EQ(Keys(), (Strings{"Outside"}));
  EXPECT_EQ(GetFocusPane(), nullptr);
  EXPECT_EQ(w->CountChildren(), panes - 1); // the box pane went, its child with it
}

// A control whose Close closes the control given to it, once.
RuntimeObject *sClosedByCloser = nullptr;

void CloseAnother(RuntimeObject *o) {
  ControlLog().push_back(std::string("Close ") + stringStorage::CString(Ctl(o)->name));
  if (RuntimeObject *other = std::exchange(sClosedByCloser, nullptr))
    ControlClose(other);
}

ObjectDefinition *CloserClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestCloser");
    defn.super = TestControlClass();
    defn.objectSize = kControlInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "Close", reinterpret_cast<void *>(CloseAnother));
  }
  return &defn;
}

// The window's walk over its controls skips one that a handler closed on
// the way: it hears its Close once, not once more when its turn comes.
TEST_F(ControlWindow, AControlClosedByAnotherOnesCloseHearsCloseOnce) {
  AddOf(CloserClass(), "Closer", 10, 10, 40, 20);
  RuntimeObject *later = Add("Later", kNotInControlArray, 60, 10, 40, 20);
  Add("Last", kNotInControlArray, 110, 10, 40, 20);
  RuntimeViewWindow *w = Open();
  sClosedByCloser = later;
  w->Close();
  EXPECT_EQ(ControlLog(), (Strings{"Close Closer", "Close Later", "Close Last"}));
}

TEST_F(ControlWindow, ACloseAfterTheWindowClosedReleasesNothing) {
  RuntimeObject *kept = Add("Kept", kNotInControlArray, 10, 10, 40, 20);
  RuntimeObject *gone = Add("Gone", kNotInControlArray, 60, 10, 40, 20);
  RuntimeLockObject(kept);
  RuntimeLockObject(gone);
  Open()->Close();
  EXPECT_EQ(Keys(), (Strings{"Kept", "Gone"})); // listed, no longer counted
  RuntimeUnlockObject(gone); // its last reference takes it out of the map
  EXPECT_EQ(Keys(), (Strings{"Kept"}));
  EXPECT_EQ(kept->refCount, 1); // the map's reference went with the window
  EXPECT_EQ(Ctl(kept)->pane, nullptr); // and its pane with the pane tree
  ControlVisibleSetter(kept, 0, 0);    // only stores now
  ctlPosSetter(kept, 0, 30);
  AlertRecorder recorder;
  ControlClose(kept);
  EXPECT_EQ(kept->refCount, 1);
  EXPECT_EQ(Ctl(kept)->pane, nullptr);
  EXPECT_EQ(recorder.count(), 0u);
  EXPECT_TRUE(Keys().empty());
  RuntimeUnlockObject(kept);
}

TEST_F(ControlWindow, ParentIsTheControlWhosePaneHoldsThisOneDirectly) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *group = Add("Group", kNotInControlArray, 30, 30, 200, 100);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 40, 40, 50, 20);
  RuntimeObject *free = Add("Free", kNotInControlArray, 330, 30, 50, 20);
  EXPECT_EQ(ControlParentGetter(inner, 0), nullptr); // no pane yet
  Open();
  RuntimeObject *parent = ControlParentGetter(inner, 0);
  EXPECT_EQ(parent, group);
  RuntimeUnlockObject(parent);
  EXPECT_EQ(ControlParentGetter(free, 0), nullptr);

  // Nil for a control on the window already: nothing, not even a show.
  ControlVisibleSetter(free, 0, 0);
  Ctl(free)->visible = 1;
  ControlParentSetter(free, 0, nullptr);
  EXPECT_FALSE(Ctl(free)->pane->IsVisible());

  // A disabled new parent disables a child that is enabled itself.
  controlEnabledSetter(box, 0, 0);
  controlEnabledSetter(inner, 0, 1);
  ControlParentSetter(inner, 0, box);
  parent = ControlParentGetter(inner, 0);
  EXPECT_EQ(parent, box);
  RuntimeUnlockObject(parent);
  EXPECT_FALSE(Ctl(inner)->pane->IsEnabled());

  ControlParentSetter(inner, 0, nullptr); // back onto the window, enabled
  EXPECT_EQ(ControlParentGetter(inner, 0), nullptr);
  EXPECT_TRUE(Ctl(inner)->pane->IsEnabled());
}

TEST_F(ControlWindow, AParentInAnotherWindowRaisesAndChangesNothing) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 40, 40, 50, 20);
  Open();
  RuntimeObject *other = CreateInstance(TestWindowClass());
  auto *otherView = reinterpret_cast<RuntimeView *>(other);
  QV::SetRect(&otherView->bounds, 500, 60, 800, 300);
  otherView->controlMap = new StringMap<RuntimeObject *>;
  RuntimeViewWindow::Open(otherView, Window::kWindowTypeDocument);
  RuntimeObject *stranger = CreateInstance(TestControlClass());
  Ctl(stranger)->view = other;
  Ctl(stranger)->visible = Ctl(stranger)->enabled = 1;
  QV::SetRect(&Ctl(stranger)->bounds, 10, 10, 100, 100);
  CreateNewControlPane(stranger);
  {
    RaisedClasses raised;
    ControlParentSetter(inner, 0, stranger);
    EXPECT_EQ(raised.Names(), (Strings{"InvalidParentException"}));
  }
  RuntimeObject *parent = ControlParentGetter(inner, 0);
  EXPECT_EQ(parent, box);
  RuntimeUnlockObject(parent);
  otherView->nativeWindow->Close();
  delete otherView->controlMap;
  otherView->controlMap = nullptr;
  RuntimeUnlockObject(stranger);
  RuntimeUnlockObject(other);
}

TEST_F(ControlWindow, AControlMadeItsOwnParentOrItsChildsChildRaisesAndKeepsItsParent) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *group = Add("Group", kNotInControlArray, 30, 30, 200, 100);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 40, 40, 50, 20);
  RuntimeViewWindow *w = Open();
  struct {
    RuntimeObject *control, *newParent, *keeps;
  } cases[] = {{group, group, box}, {box, inner, nullptr}, {group, inner, box}};
  for (const auto &c : cases) {
    {
      RaisedClasses raised;
      ControlParentSetter(c.control, 0, c.newParent);
      EXPECT_EQ(raised.Names(), (Strings{"InvalidParentException"}));
    }
    RuntimeObject *parent = ControlParentGetter(c.control, 0);
    EXPECT_EQ(parent, c.keeps);
    RuntimeUnlockObject(parent);
  }
  // The tree is still a tree: a walk of it ends.
  EXPECT_TRUE(w->Contains(Ctl(inner)->pane, true));
  EXPECT_FALSE(Ctl(inner)->pane->Contains(Ctl(box)->pane, true));
}

TEST_F(ControlWindow, InitialParentAndTabPanelIndexReachTheContainedControls) {
  RuntimeObject *box = Add("Box", kNotInControlArray, 20, 20, 300, 200);
  RuntimeObject *inner = Add("Inner", kNotInControlArray, 40, 40, 50, 20);
  Open();
  RuntimeObject *late = Add("Late", kNotInControlArray, 0, 0, 10, 10);
  RuntimeObject *placed = CreateInstance(TestControlClass());
  Ctl(placed)->view = window;
  ControlInitialParentSetter(placed, 0, string("bOX").Storage());
  EXPECT_EQ(Ctl(placed)->initialParent, Ctl(box));
  ControlInitialParentSetter(placed, 0, string("nobody").Storage());
  EXPECT_EQ(Ctl(placed)->initialParent, Ctl(box));

  ControlTabPanelIndexSetter(box, 0, 2);
  EXPECT_EQ(Ctl(box)->tabPanelIndex, 2);
  EXPECT_EQ(Ctl(inner)->tabPanelIndex, 2);
  EXPECT_EQ(Ctl(box)->pane->GetTabPanelIndex(), 2);
  EXPECT_EQ(Ctl(late)->tabPanelIndex, 0);
  RuntimeUnlockObject(placed);
}

TEST_F(ControlWindow, PaneStatesAndPaneOnlyPropertiesFollowTheFlags) {
  RuntimeObject *c = Add("C", kNotInControlArray, 10, 10, 40, 20);
  EXPECT_EQ(controlMouseXGetter(c, 0), 0);
  EXPECT_EQ(controlMouseYGetter(c, 0), 0);
  EXPECT_FALSE(controlActiveGetter(c, 0));
  EXPECT_EQ(controlMacControlHandleGetter(c, 0), 0);
  controlAutoDeactivateSetter(c, 0, 1);
  Open();
  EXPECT_TRUE(Ctl(c)->pane->AutoDeactivate());
  controlAutoDeactivateSetter(c, 0, 0);
  EXPECT_FALSE(Ctl(c)->pane->AutoDeactivate());
  EXPECT_TRUE(controlActiveGetter(c, 0));

  RuntimeObject *window2 = controlWindowGetter(c, 0);
  EXPECT_EQ(window2, window);
  EXPECT_EQ(window->refCount, 3); // test, native window, getter
  RuntimeUnlockObject(window2);

  RuntimeObject *cursor = getArrowCursor();
  controlMouseCursorSetter(c, 0, cursor);
  EXPECT_EQ(cursor->refCount, 2);
  EXPECT_EQ(Ctl(c)->pane->getMouseCursor(), reinterpret_cast<MouseCursorObject *>(cursor)->record);
  controlMouseCursorSetter(c, 0, nullptr);
  EXPECT_EQ(cursor->refCount, 1);
  EXPECT_EQ(Ctl(c)->pane->getMouseCursor(), nullptr);
  RuntimeUnlockObject(cursor);
}

// The window side: controls hidden or disabled in their containers when
// the panes are made, mouse tracking over controls, and locked edges.
TEST_F(ControlWindow, TheNativeWindowHidesDisablesTracksAndResizesItsControls) {
  RuntimeObject *hiddenBox = Add("HiddenBox", kNotInControlArray, 10, 10, 100, 100, false);
  RuntimeObject *inHidden = Add("InHidden", kNotInControlArray, 20, 20, 30, 30);
  RuntimeObject *offBox = Add("OffBox", kNotInControlArray, 120, 10, 100, 100, true, false);
  RuntimeObject *inOff = Add("InOff", kNotInControlArray, 130, 20, 30, 30);
  RuntimeObject *grow = Add("Grow", kNotInControlArray, 10, 200, 100, 30);
  RuntimeObject *corner = Add("Corner", kNotInControlArray, 300, 250, 40, 20);
  controlLockLeftSetter(grow, 0, 1);
  controlLockRightSetter(grow, 0, 1);
  controlLockRightSetter(corner, 0, 1);
  controlLockBottomSetter(corner, 0, 1);
  EXPECT_TRUE(controlLockBottomGetter(corner, 0));
  EXPECT_FALSE(controlLockTopGetter(corner, 0));
  RuntimeViewWindow *w = Open();
  EXPECT_FALSE(Ctl(hiddenBox)->pane->IsVisible());
  EXPECT_FALSE(Ctl(inHidden)->pane->IsVisible());
  EXPECT_TRUE(Ctl(inHidden)->visible);
  EXPECT_FALSE(Ctl(inOff)->pane->IsEnabled());
  EXPECT_TRUE(Ctl(offBox)->pane->IsVisible());

  w->HandleMouseMove(25, 215); // inside Grow
  w->HandleMouseMove(26, 216);
  w->HandleMouseMove(25, 25); // over the hidden box: nothing there shows
  EXPECT_EQ(ControlLog(), (Strings{"MouseEnter Grow", "MouseMove Grow 15,15", "MouseMove Grow 16,16",
                                   "MouseExit Grow"}));

  QV::Rect wider = view->laidOutBounds;
  wider.right = static_cast<int16_t>(wider.right + 50);
  wider.bottom = static_cast<int16_t>(wider.bottom + 30);
  w->HonorControlLocking(wider);
  EXPECT_EQ(ctlPosGetter(grow, 0), 10);
  EXPECT_EQ(ctlPosGetter(grow, 2), 150);
  EXPECT_EQ(ctlPosGetter(corner, 0), 350);
  EXPECT_EQ(ctlPosGetter(corner, 1), 280);
  EXPECT_EQ(ctlPosGetter(corner, 2), 40);
  EXPECT_EQ(PaneBounds(corner).left, 350);
}

TEST_F(ControlWindow, DropTypesRegisterOnThePane) {
  RuntimeObject *c = Add("C", kNotInControlArray, 10, 10, 40, 20);
  controlAcceptTextDrop(c); // no pane yet: nothing to register on
  Open();
  SubPane *pane = Ctl(c)->pane;
  EXPECT_FALSE(pane->SupportsDropType(string("TEXT")));
  controlAcceptTextDrop(c);
  controlAcceptPictureDrop(c);
  controlAcceptMacDataDrop(c, string("ABCD").Storage());
  for (const char *type : {"utxt", "TEXT", "PICT", "ABCD"})
    EXPECT_TRUE(pane->SupportsDropType(string(type))) << type;
  EXPECT_FALSE(pane->HasFileTypes());
  controlAcceptFileDrop(c, string("text/plain").Storage());
  EXPECT_TRUE(pane->HasFileTypes());
}

TEST_F(ControlWindow, MenuHandlersAreKeptByNameAndReplaced) {
  RuntimeObject *c = Add("C", kNotInControlArray, 10, 10, 40, 20);
  int first = 0, second = 0;
  ControlAddMenuHandler(c, string("FileQuit").Storage(), nullptr);
  EXPECT_EQ(Ctl(c)->mMenuHandlers, nullptr);
  ControlAddMenuHandler(c, string("FileQuit").Storage(), &first);
  ControlAddMenuHandler(c, string("filequit").Storage(), &second);
  void *handler = nullptr;
  ASSERT_NE(Ctl(c)->mMenuHandlers, nullptr);
  EXPECT_TRUE(Ctl(c)->mMenuHandlers->GetEntry(string("FileQuit"), &handler));
  EXPECT_EQ(handler, &second);
  EXPECT_EQ(Ctl(c)->mMenuHandlers->EntryCount(), 1);
  AlertRecorder recorder;
  ControlAddMenuHandler(c, nullptr, &first);
  ControlAddMenuHandler(nullptr, string("x").Storage(), &first);
  ASSERT_EQ(recorder.count(), 2u);
  EXPECT_EQ(recorder.alerts()[0].condition, "name");
  EXPECT_EQ(recorder.alerts()[1].condition, "self");
}

} // namespace
