// A window of the test's own X server and EditField objects in it, made as
// a window's property stream leaves them before CreatePane.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/String.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "support/WindowsTestSupport.h"
#include "text/EditControlGTK.h"
#include "text/EditFieldClass.h"
#include "text/EditFieldObject.h"

// The bytes of a string handed over with one reference, which is released.
inline std::string Bytes(stringStorage *s) {
  string text = string::Adopt(s);
  return std::string(text.CString(), text.Length());
}

class EditFieldFixture : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    mWindow = new RecordingWindow(MakeRect(100, 100, 500, 400));
    ASSERT_TRUE(StepUntil([&] {
      GtkWidget *w = mWindow->GetGtkWindow();
      return GTK_WIDGET_MAPPED(w) && w->window && gdk_window_is_viewable(w->window);
    }));
  }
  void TearDown() override {
    if (!mWindow)
      return;
    mWindow->Close();
    StepUntil([] { return true; });
    // The window's close took the panes.
    for (RuntimeObject *field : mFields) {
      AsEditField(field)->control.pane = nullptr;
      RuntimeUnlockObject(field);
    }
  }

  RuntimeObject *NewField(int left, int top, int width, int height, bool multiLine) {
    RuntimeObject *object = CreateInstance(EditClass());
    EditControlObject *field = AsEditField(object);
    field->control.container = mWindow;
    field->control.bounds = MakeRect(left, top, left + width, top + height);
    field->control.visible = field->control.enabled = 1;
    field->control.index = INT32_MIN;
    field->multiLine = multiLine;
    field->border = 1;
    field->font.size = 12;
    field->backColor = 0xFFFFFF;
    mFields.push_back(object);
    return object;
  }
  static EditControlGTK *PaneOf(RuntimeObject *field) {
    return static_cast<EditControlGTK *>(EditPaneOf(field));
  }
  // Gives the pane the keyboard focus and waits until GTK+ agrees.
  // The keyboard's focus, in the window (given again until it arrives) and
  // on the field.
  bool Focus(RuntimeObject *field) {
    PaneOf(field)->SetFocus();
    GtkWidget *input = PaneOf(field)->TextView() ? GTK_WIDGET(PaneOf(field)->TextView())
                                                 : GTK_WIDGET(PaneOf(field)->Entry());
    return XDoToolUntil("windowfocus --sync " + std::to_string(XidOf(mWindow)), [&] {
      return gtk_window_has_toplevel_focus(GTK_WINDOW(mWindow->GetGtkWindow())) &&
             GTK_WIDGET_HAS_FOCUS(input) && GetFocusPane() == PaneOf(field);
    });
  }
  static std::string TextOf(RuntimeObject *field) { return Bytes(editTextGetter(field, 0)); }

  RecordingWindow *mWindow = nullptr;
  std::vector<RuntimeObject *> mFields;
};
