// A push button in a window of the language, made as the window makes its
// controls: its GotFocus handler closing the button itself.
#include "ControlWindowFixture.h"

#include "../windows/WindowsTestSupport.h"
#include "controls/ControlEntryPoints.h"
#include "controls/PushButtonClass.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

int sGotFocus = 0;

// Closes the button that got the focus, inside its own event.
void CloseOnGotFocus(RuntimeObject *button) {
  ++sGotFocus;
  ControlClose(button);
}

ObjectDefinition *ClosingButtonClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("ClosingButton");
    defn.super = PushButtonClass();
    defn.objectSize = kPushButtonInstanceSize;
    defn.staticTables = 1;
    auto *item = new ObjectHookInstance;
    item->name = string("GotFocus");
    item->code = reinterpret_cast<void *>(CloseOnGotFocus);
    defn.hookInstances = item;
  }
  return &defn;
}

using PushButtonsInWindows = ControlWindow;

TEST_F(PushButtonsInWindows, AGotFocusHandlerClosingItsButtonReturnsWithThePaneAlive) {
  sGotFocus = 0;
  RuntimeObject *button = CreateInstance(ClosingButtonClass());
  RuntimeControl *c = Ctl(button);
  c->view = window;
  stringSetter(button, 36, string("Closing").Storage());
  ctlPosSetter(button, 0, 20);
  ctlPosSetter(button, 1, 20);
  ctlPosSetter(button, 2, 100);
  ctlPosSetter(button, 3, 30);
  ControlVisibleSetter(button, 0, 1);
  controlEnabledSetter(button, 0, 1);
  // Added to the open window as WindowAddControl adds it: in the window's
  // pane, with its pane made at once.
  Open();
  c->container = view->nativeWindow;
  view->controlMap->AddEntry(string("Closing"), button);
  CreateNewControlPane(button);
  ASSERT_NE(c->pane, nullptr);
  SubPaneWatcher watch(c->pane);
  // The window gives its first button the focus as it shows; otherwise it
  // gets it as a click or Tab gives it, through GTK+'s "grab-focus".
  ASSERT_TRUE(StepUntil([&] {
    if (watch.pane() && !sGotFocus && GTK_WIDGET_MAPPED(watch.pane()->GetWidget()))
      gtk_widget_grab_focus(watch.pane()->GetWidget());
    return watch.pane() == nullptr;
  }));
  EXPECT_EQ(sGotFocus, 1);
  EXPECT_EQ(watch.pane(), nullptr) << "the pane goes once the handler returned";
  EXPECT_TRUE(Keys().empty()) << "Close took the button out of the window";
}

} // namespace
