// The last resort for exceptions nobody caught: the application's
// UnhandledException event, then the final dialog (recorded here) and the
// shutdown.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ObjectModelFixtures.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/RuntimeLifecycle.h"

namespace {

std::vector<FinalDialogText> sDialogs;
std::function<void()> sDuringDialog;
void RecordDialog(const FinalDialogText &text) {
  sDialogs.push_back(text);
  if (sDuringDialog)
    sDuringDialog();
}

RuntimeObject *NewException(ObjectDefinition *cls, const char *message, int32_t number) {
  RuntimeObject *exception = CreateInstance(cls);
  auto *fields = reinterpret_cast<RuntimeExceptionObject *>(exception);
  fields->message = string(message).ExtractStringStorage();
  fields->errorNumber = number;
  return exception;
}

int32_t sHandlerAnswer = 0;
int sHandlerCalls = 0;
bool sHandlerQuits = false;
std::function<void()> sInHandler;
int32_t UnhandledHandler(RuntimeObject *, RuntimeObject *) {
  ++sHandlerCalls;
  if (sHandlerQuits)
    ApplicationQuit();
  if (sInHandler)
    sInHandler();
  return sHandlerAnswer;
}

int sRaises = 0;
void CountRaise(RuntimeObject *) { ++sRaises; }

// An Application subclass that handles UnhandledException.
RuntimeObject *NewHandlingApplication() {
  return RuntimeNewObject(SubclassHandling(LookupObjectDefinition(ApplicationClass()),
                                          "HandlingApp", 52, "UnhandledException",
                                          reinterpret_cast<void *>(UnhandledHandler)));
}

TEST(UnhandledException, FinalDialogTextsNameTheClassTheMessageAndTheNumber) {
  struct Case {
    const char *message;
    int32_t number;
    const char *explanation;
  } cases[] = {
      {"disk full", 0, "Exception Message: disk full\n"},
      {"", 7, "Exception Error Number: 7"},
      {"disk full", -3, "Exception Message: disk full\nException Error Number: -3"},
      {"", 0, ""},
  };
  for (const Case &c : cases) {
    ObjectHolder exception(NewException(NilObjectExceptionClass(), c.message, c.number));
    FinalDialogText text = FinalDialogTextFor(exception.get());
    EXPECT_STREQ(text.message.CString(), "An exception of class NilObjectException was not "
                                         "handled.  The application must shut down.");
    EXPECT_STREQ(text.explanation.CString(), c.explanation) << c.message << c.number;
  }
}

// The shutdown these tests end in is never undone, so each one needs a
// process where it was not signalled yet (ctest runs every test alone). Each
// records the final dialog and registers an application that handles
// UnhandledException.
class UnhandledSequence : public testing::Test {
protected:
  void SetUp() override {
    if (IsAppShuttingDown())
      GTEST_SKIP() << "the shutdown was signalled by an earlier test in this process";
    SetFinalDialogPresenter(RecordDialog);
    sDialogs.clear();
    sHandlerCalls = 0;
    sRaises = 0;
    gApplicationObject = NewHandlingApplication();
    mRegistered = true;
  }
  void TearDown() override {
    if (!mRegistered)
      return;
    sDuringDialog = nullptr;
    sInHandler = nullptr;
    sHandlerQuits = false;
    RuntimeUnlockObject(gApplicationObject);
    SetFinalDialogPresenter(nullptr);
  }
  bool mRegistered = false;
};

TEST_F(UnhandledSequence, ApplicationHandlerFirstThenOneDialogThenNothingAndNoneForEnd) {
  ObjectHolder first(NewException(RuntimeExceptionClass(), "first", 0));

  sHandlerAnswer = 1; // True: the loop keeps turning
  UnhandledExceptionFilter(first.get());
  EXPECT_EQ(sHandlerCalls, 1);
  EXPECT_TRUE(sDialogs.empty());
  EXPECT_FALSE(IsAppShuttingDown());

  // While the dialog is up the loop still turns (the shutdown follows the
  // answer), and a further exception opens no second dialog.
  sHandlerAnswer = 0x100; // only the low byte counts: False
  ObjectHolder during(NewException(RuntimeExceptionClass(), "during", 0));
  bool shuttingDownWhileShown = true;
  sDuringDialog = [&] {
    shuttingDownWhileShown = IsAppShuttingDown();
    UnhandledExceptionFilter(during.get());
  };
  UnhandledExceptionFilter(first.get());
  sDuringDialog = nullptr;
  EXPECT_EQ(sHandlerCalls, 3); // the first, then the one raised during the dialog
  ASSERT_EQ(sDialogs.size(), 1u);
  EXPECT_STREQ(sDialogs[0].explanation.CString(), "Exception Message: first\n");
  EXPECT_FALSE(shuttingDownWhileShown);
  EXPECT_TRUE(IsAppShuttingDown());

  ObjectHolder second(NewException(RuntimeExceptionClass(), "second", 0));
  UnhandledExceptionFilter(second.get()); // asks the handler, but no second dialog
  EXPECT_EQ(sHandlerCalls, 4);
  EXPECT_EQ(sDialogs.size(), 1u);

  // An EndException never reaches the application's handler, and shows no
  // dialog even when it gets to the last resort.
  ObjectHolder end(CreateInstance(EndExceptionClass()));
  UnhandledExceptionFilter(end.get());
  EXPECT_EQ(sHandlerCalls, 4);
  UnhandledException(end.get());
  EXPECT_EQ(sDialogs.size(), 1u);
}

TEST_F(UnhandledSequence, QuitInsideTheHandlerSignalsTheShutdownWithoutRaising) {
  ObjectHolder exception(NewException(RuntimeExceptionClass(), "quit", 0));
  sHandlerQuits = true;
  sHandlerAnswer = 1;
  SetExceptionMonitor(CountRaise);
  UnhandledExceptionFilter(exception.get());
  SetExceptionMonitor(nullptr);
  EXPECT_EQ(sHandlerCalls, 1);
  EXPECT_EQ(sRaises, 0);
  EXPECT_TRUE(IsAppShuttingDown());
  EXPECT_TRUE(sDialogs.empty());
}

// A raise that nothing handles inside the handler reaches the filter again
// (as the unwinder sends it there): it goes to the final dialog instead of
// back into the handler. The test stops the handler after a few rounds so
// that the fault shows as a count, not as an overflowing stack.
TEST_F(UnhandledSequence, RaiseInsideTheHandlerGoesToTheFinalDialog) {
  ObjectHolder outer(NewException(RuntimeExceptionClass(), "outer", 0));
  ObjectHolder inner(NewException(RuntimeExceptionClass(), "inner", 0));
  sHandlerAnswer = 1;
  sInHandler = [&] {
    if (sHandlerCalls < 5)
      UnhandledExceptionFilter(inner.get());
  };
  UnhandledExceptionFilter(outer.get());
  sInHandler = nullptr;
  EXPECT_EQ(sHandlerCalls, 1);
  ASSERT_EQ(sDialogs.size(), 1u);
  EXPECT_STREQ(sDialogs[0].explanation.CString(), "Exception Message: inner\n");
  // Out of the handler, the next exception reaches it again.
  UnhandledExceptionFilter(outer.get());
  EXPECT_EQ(sHandlerCalls, 2);
}

} // namespace
