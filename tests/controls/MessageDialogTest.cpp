// Message dialogs run modally in real windows: their layout, the keys that
// answer them, the roles set through the button objects, the Icon check, and
// the result of a dialog run inside another's run.
#include <gtest/gtest.h>

#include <functional>

#include "controls/MessageDialog.h"
#include "controls/MessageDialogClass.h"
#include "graphics/Graphics.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/WindowsTestSupport.h"

namespace {

std::string Str(long v) { return std::to_string(v); }

MessageDialog::Imp *NewestDialog() {
  for (Window *w = gWindowList; w; w = w->NextWindow())
    if (auto *imp = dynamic_cast<MessageDialog::Imp *>(w))
      return imp;
  return nullptr;
}

bool OnScreen(Window *w) {
  return GTK_WIDGET_MAPPED(w->GetGtkWindow()) && w->GetGtkWindow()->window &&
         gdk_window_is_viewable(w->GetGtkWindow()->window);
}

struct Layout {
  int width = 0, height = 0;
  QV::Rect action{}, cancel{}, alternate{};
  bool cancelShown = false, alternateShown = false;
};

// The layout of the dialog on screen.
Layout LayoutOf(MessageDialog::Imp *imp) {
  Layout l;
  l.width = imp->Width();
  l.height = imp->Height();
  l.action = imp->ButtonPane(kActionButton)->Bounds();
  if (PushButton *p = imp->ButtonPane(kCancelButton))
    l.cancel = p->Bounds(), l.cancelShown = true;
  if (PushButton *p = imp->ButtonPane(kAlternateButton))
    l.alternate = p->Bounds(), l.alternateShown = true;
  return l;
}

// Runs run (which shows a dialog modally); once the dialog's window is on
// screen, its layout goes to laidOut (when given) and act runs with it from
// inside the dialog's loop (to press keys or buttons). A key lost on a loaded
// machine would leave the dialog up for ever: while the same dialog still
// shows a while after act ran, act runs again.
template <typename Run>
auto WhileShown(Run run, std::function<void(MessageDialog::Imp *)> act, Layout *laidOut) {
  struct Watch {
    std::function<void(MessageDialog::Imp *)> act;
    Layout *laidOut;
    MessageDialog::Imp *seen = nullptr;
    gint64 actedAt = 0;
  } watch{std::move(act), laidOut};
  guint source = g_timeout_add(
      20,
      [](gpointer data) -> gboolean {
        auto *w = static_cast<Watch *>(data);
        MessageDialog::Imp *imp = NewestDialog();
        if (!imp || !OnScreen(imp))
          return TRUE;
        const gint64 now = g_get_monotonic_time();
        if (imp == w->seen && now - w->actedAt < 10 * G_USEC_PER_SEC)
          return TRUE;
        if (w->seen && imp != w->seen)
          return TRUE; // a later dialog is not this run's
        if (!w->seen && w->laidOut)
          *w->laidOut = LayoutOf(imp);
        w->seen = imp;
        XDoTool("windowfocus --sync " + Str(XidOf(imp)));
        w->act(imp);
        w->actedAt = g_get_monotonic_time();
        return TRUE;
      },
      &watch);
  auto result = run();
  g_source_remove(source);
  return result;
}

int32_t RunDialog(MessageDialog &d, std::function<void(MessageDialog::Imp *)> act,
                  Layout *laidOut = nullptr) {
  return WhileShown([&] { return d.ShowModal(); }, std::move(act), laidOut);
}

bool Key(const std::string &keys) { return XDoTool("key --window 0 " + keys); }

class Dialogs : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
  }
};

TEST_F(Dialogs, OKAloneIsCentredAndReturnAnswersTheActionButton) {
  MessageDialog d;
  d.message = string("Hi");
  Layout l;
  int32_t response = RunDialog(
      d,
      [&](MessageDialog::Imp *imp) {
        EXPECT_EQ(GetFocusPane(), imp->ButtonPane(kActionButton));
        Key("Return");
      },
      &l);
  EXPECT_EQ(response, kActionButton);
  EXPECT_EQ(l.action.right - l.action.left, 69) << "unless OK is wider than 41 pixels";
  EXPECT_EQ(l.action.left + l.action.right, l.width) << "centred";
  EXPECT_GE(l.height, 94);
  EXPECT_EQ(l.action.bottom, l.height - 12);
  EXPECT_EQ(l.action.top, l.height - 35);
  EXPECT_FALSE(l.cancelShown);
  EXPECT_FALSE(l.alternateShown);
  EXPECT_STREQ(d.actionCaption.CString(), "OK");
}

TEST_F(Dialogs, ButtonsGoActionAlternateCancelAndEscapeAnswersTheCancelButton) {
  MessageDialog d;
  d.cancelShown = 1;
  d.alternateShown = 1;
  Layout l;
  int32_t response = RunDialog(d, [&](MessageDialog::Imp *) { Key("Escape"); }, &l);
  EXPECT_EQ(response, kCancelButton);
  ASSERT_TRUE(l.cancelShown && l.alternateShown);
  EXPECT_EQ(l.alternate.left, l.action.right + 8);
  EXPECT_EQ(l.cancel.left, l.alternate.right + 8);
  // A short message: the window is 68 wider than the buttons together.
  EXPECT_EQ(l.width, l.cancel.right - l.action.left + 68);
}

TEST_F(Dialogs, ALongMessageWidensTheWindowToItsWidthPlus68) {
  MessageDialog d;
  d.message = string("A message much wider than one OK button could ever be, by far");
  int32_t textWidth = 0;
  Layout l;
  int32_t response = RunDialog(
      d,
      [&](MessageDialog::Imp *imp) {
        Graphics *measure = imp->getGraphics();
        measure->TextFont(string("System"));
        measure->TextSize(0);
        textWidth = measure->StringWidth(d.message);
        measure->Release();
        imp->ButtonPane(kActionButton)->PressButton();
      },
      &l);
  EXPECT_EQ(response, kActionButton);
  ASSERT_GT(textWidth, 0);
  EXPECT_EQ(l.width, textWidth + 68);
}

TEST_F(Dialogs, AMessageWiderThanTheScreenWrapsAndTheDialogStaysOnScreen) {
  MessageDialog d;
  std::string text;
  for (int i = 0; i < 1200; ++i)
    text += "word ";
  d.message = string(text.c_str());
  Layout l;
  QV::Rect placed{};
  const int screenWidth = gdk_screen_width(), screenHeight = gdk_screen_height();
  int32_t response = RunDialog(
      d,
      [&](MessageDialog::Imp *imp) {
        placed = imp->ScreenBounds();
        imp->ButtonPane(kActionButton)->PressButton();
      },
      &l);
  EXPECT_EQ(response, kActionButton);
  EXPECT_LE(l.width, screenWidth);
  EXPECT_GT(l.height, 94) << "the message took several lines";
  EXPECT_LE(l.height, screenHeight);
  EXPECT_GE(placed.left, 0);
  EXPECT_GE(placed.top, 0);
  EXPECT_LE(placed.right, screenWidth);
  EXPECT_LE(placed.bottom, screenHeight);
  EXPECT_NEAR(l.action.left + l.action.right, l.width, 1) << "the OK button centred, inside";
  EXPECT_GT(l.action.left, 0);
}

TEST_F(Dialogs, ShowModalAnswersTheButtonObjectTheKeyChose) {
  RuntimeObject *dialog = CreateInstance(MessageDialogClass());
  ASSERT_NE(dialog, nullptr);
  RuntimeObject *action = MDButtonGetter(dialog, kActionButton);
  RuntimeObject *cancel = MDButtonGetter(dialog, kCancelButton);
  MDBBooleanSetter(cancel, 0, 1); // shown
  for (const char *key : {"Return", "Escape"}) {
    RuntimeObject *pressed = WhileShown([&] { return MessageDialogShowModal(dialog); },
                                        [&](MessageDialog::Imp *) { Key(key); }, nullptr);
    EXPECT_EQ(pressed, std::string(key) == "Return" ? action : cancel) << key;
    RuntimeUnlockObject(pressed);
  }
  RuntimeUnlockObject(cancel);
  RuntimeUnlockObject(action);
  RuntimeUnlockObject(dialog);
}

TEST_F(Dialogs, DefaultFalseOnTheCancelButtonLeavesNoDefaultAndNoFocus) {
  RuntimeObject *dialog = CreateInstance(MessageDialogClass());
  ASSERT_NE(dialog, nullptr);
  RuntimeObject *cancel = MDButtonGetter(dialog, kCancelButton);
  RuntimeObject *action = MDButtonGetter(dialog, kActionButton);
  MDBBooleanSetter(cancel, 0, 1);
  EXPECT_EQ(MDBBooleanGetter(action, 1), 1) << "the action button is the default at first";
  MDBBooleanSetter(cancel, 1, 0);
  EXPECT_EQ(MDBBooleanGetter(action, 1), 0);
  MessageDialog &d = *reinterpret_cast<MessageDialog *>(dialog);
  SubPane *focus = nullptr, *defaultPane = reinterpret_cast<SubPane *>(1);
  int32_t response = RunDialog(d, [&](MessageDialog::Imp *imp) {
    focus = GetFocusPane();
    defaultPane = imp->getDefaultPane();
    Key("Return"); // presses nothing
    Key("Escape");
  });
  EXPECT_EQ(response, kCancelButton);
  EXPECT_EQ(defaultPane, nullptr);
  EXPECT_TRUE(focus == nullptr || dynamic_cast<PushButton *>(focus) == nullptr)
      << "no button has the focus";
  RuntimeUnlockObject(cancel);
  RuntimeUnlockObject(action);
  RuntimeUnlockObject(dialog);
}

TEST_F(Dialogs, ADialogRunInsideAnothersRunLeavesTheOuterResultAlone) {
  MessageDialog outer, inner;
  inner.cancelShown = 1;
  int32_t innerResponse = -5;
  // The outer dialog is answered first; a dialog run from a timer before
  // the outer loop ends must leave that answer alone.
  int32_t response = RunDialog(outer, [&](MessageDialog::Imp *outerImp) {
    outerImp->ButtonPane(kActionButton)->PressButton();
    innerResponse = RunDialog(inner, [](MessageDialog::Imp *imp) {
      imp->ButtonPane(kCancelButton)->PressButton();
    });
  });
  EXPECT_EQ(innerResponse, kCancelButton);
  EXPECT_EQ(response, kActionButton);
}

TEST_F(Dialogs, ClosingTheWindowEndsTheRunWithoutAButton) {
  MessageDialog d;
  int32_t response = RunDialog(d, [](MessageDialog::Imp *imp) {
    Window::DeleteCallBack(nullptr, nullptr, imp);
  });
  EXPECT_EQ(response, kNoButton);
}

// The classes' accessors without a run; exceptions raised outside compiled
// code reach the unhandled hook, which records class and message.
class DialogObjects : public testing::Test {
protected:
  void SetUp() override {
    OutOfBoundsExceptionClass();
    Raised().clear();
    SetUnhandledExceptionHook([](RuntimeObject *e) {
      auto *fields = reinterpret_cast<RuntimeExceptionObject *>(e);
      Raised().push_back(std::string(stringStorage::CString(e->classPtr->name)) + ": " +
                         stringStorage::CString(fields->message));
    });
  }
  void TearDown() override { SetUnhandledExceptionHook(nullptr); }
  static Names &Raised() {
    static Names raised;
    return raised;
  }
};

TEST_F(DialogObjects, IconOutsideMinusOneToThreeRaisesWithItsMessageAndStays) {
  RuntimeObject *dialog = CreateInstance(MessageDialogClass());
  MDIconSetter(dialog, 0, 3);
  MDIconSetter(dialog, 0, 4);
  EXPECT_EQ(reinterpret_cast<MessageDialog *>(dialog)->icon, 3);
  EXPECT_EQ(Raised(), (Names{"OutOfBoundsException: The integer value 4 is not in the range of "
                              "enumerated icons for the MessageDialog class."}));
  RuntimeUnlockObject(dialog);
}

TEST_F(DialogObjects, ButtonObjectsOutlivingTheirDialogReadNeutralAndIgnoreAssignments) {
  RuntimeObject *dialog = CreateInstance(MessageDialogClass());
  RuntimeObject *action = MDButtonGetter(dialog, kActionButton);
  RuntimeObject *cancel = MDButtonGetter(dialog, kCancelButton);
  MDBCaptionSetter(cancel, 0, string("Stop").Storage());
  stringStorage *caption = MDBCaptionGetter(cancel, 0);
  EXPECT_STREQ(stringStorage::CString(caption), "Stop");
  RuntimeUnlockString(caption);
  EXPECT_EQ(MDBBooleanGetter(action, 0), 1);
  MDBBooleanSetter(action, 0, 0);
  EXPECT_EQ(MDBBooleanGetter(action, 0), 1) << "the action button is always shown";

  RuntimeUnlockObject(dialog);
  EXPECT_EQ(MDBBooleanGetter(action, 0), 0);
  EXPECT_EQ(MDBBooleanGetter(cancel, 2), 0);
  MDBBooleanSetter(cancel, 1, 1);
  MDBCaptionSetter(cancel, 0, string("Again").Storage());
  EXPECT_EQ(MDBCaptionGetter(cancel, 0), nullptr);
  RuntimeUnlockObject(action);
  RuntimeUnlockObject(cancel);
}

} // namespace
