#include <gtest/gtest.h>

#include <gtk/gtk.h>

#include "runtime/feedback/AssertionAlertGTK.h"

namespace {
const AssertionAlert kAlert{kAssertionCode,        4,
                            "../Common/loaderX86", 184,
                            "foundFunction",       "Function 'x%s' was not exported"};
}

TEST(AssertionAlertDialog, TextNamesNumberFileLineConditionAndMessage) {
  EXPECT_EQ(FormatAssertionAlertText(kAlert),
            "Failed Assertion: 4\nPress OK to Continue\nPress Cancel to Quit.\n\n"
            "Please report what caused this error\nalong with the information below.\n\n"
            "../Common/loaderX86: 184\nFailure Condition: foundFunction\n"
            "Function 'x%s' was not exported");
  AssertionAlert bare{kAssertionCode, 2, "f", 1, nullptr, nullptr};
  EXPECT_EQ(FormatAssertionAlertText(bare).substr(FormatAssertionAlertText(bare).rfind("f: 1")),
            "f: 1\nFailure Condition: \n");
}

TEST(AssertionAlertDialog, ContinueReturnsAndQuitEndsTheProcessWithAFailureStatus) {
  FinishAssertionAlert(AssertionAlertAnswer::kContinue);
  EXPECT_EXIT(FinishAssertionAlert(AssertionAlertAnswer::kQuit),
              testing::ExitedWithCode(kAssertionAlertQuitStatus), "");
  EXPECT_NE(kAssertionAlertQuitStatus, 0);
}

TEST(AssertionAlertDialog, WithoutADisplayTheAlertGoesToStandardErrorAndReturns) {
  // GTK+ is not initialised in this process, so there is no display.
  testing::internal::CaptureStderr();
  PresentAssertionAlertInDialog(kAlert);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_NE(said.find("Failure Condition: foundFunction"), std::string::npos) << said;
}

namespace {

// Answers the alert dialog from inside its own loop, as a user would. A
// nested alert raised first must not open a second dialog.
struct Answer {
  gint response;
  bool raiseNestedAlert;
  int dialogsSeen = 0;
};

gboolean AnswerShowingDialogs(gpointer data) {
  auto *answer = static_cast<Answer *>(data);
  if (answer->raiseNestedAlert) {
    answer->raiseNestedAlert = false;
    PresentAssertionAlertInDialog(kAlert);
  }
  GList *windows = gtk_window_list_toplevels();
  GtkWidget *dialog = nullptr;
  for (GList *item = windows; item; item = item->next)
    if (GTK_IS_MESSAGE_DIALOG(item->data) && gtk_widget_get_visible(GTK_WIDGET(item->data)))
      ++answer->dialogsSeen, dialog = GTK_WIDGET(item->data);
  g_list_free(windows);
  if (!dialog)
    return TRUE; // not shown yet
  gtk_dialog_response(GTK_DIALOG(dialog), answer->response);
  return FALSE;
}

class AssertionAlertOnScreen : public testing::Test {
protected:
  void SetUp() override {
    if (!gtk_init_check(nullptr, nullptr))
      GTEST_SKIP() << "no display";
  }
};

} // namespace

TEST_F(AssertionAlertOnScreen, OkGoesOnAndANestedAlertGoesToStandardError) {
  Answer answer{GTK_RESPONSE_OK, true};
  g_timeout_add(50, AnswerShowingDialogs, &answer);
  testing::internal::CaptureStderr();
  PresentAssertionAlertInDialog(kAlert);
  std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer.dialogsSeen, 1);
  EXPECT_NE(said.find("Failure Condition: foundFunction"), std::string::npos);

  Answer closed{GTK_RESPONSE_DELETE_EVENT, false};
  g_timeout_add(50, AnswerShowingDialogs, &closed);
  PresentAssertionAlertInDialog(kAlert); // closing the dialog goes on too
  EXPECT_EQ(closed.dialogsSeen, 1);
}

TEST_F(AssertionAlertOnScreen, CancelEndsTheProcessWithAFailureStatus) {
  Answer answer{GTK_RESPONSE_CANCEL, false};
  auto showAndCancel = [&] {
    g_timeout_add(50, AnswerShowingDialogs, &answer);
    PresentAssertionAlertInDialog(kAlert);
  };
  EXPECT_EXIT(showAndCancel(), testing::ExitedWithCode(kAssertionAlertQuitStatus), "");
}
