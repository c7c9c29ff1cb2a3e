// The last resort for exceptions nobody caught: the application's
// UnhandledException event, then the final dialog (recorded here) and the
// shutdown.
#include <gtest/gtest.h>

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
void RecordDialog(const FinalDialogText &text) { sDialogs.push_back(text); }

RuntimeObject *NewException(ObjectDefinition *cls, const char *message, int32_t number) {
  RuntimeObject *exception = CreateInstance(cls);
  auto *fields = reinterpret_cast<RuntimeExceptionObject *>(exception);
  fields->message = string(message).ExtractStringStorage();
  fields->errorNumber = number;
  return exception;
}

int32_t sHandlerAnswer = 0;
int sHandlerCalls = 0;
int32_t UnhandledHandler(RuntimeObject *, RuntimeObject *) {
  ++sHandlerCalls;
  return sHandlerAnswer;
}

// An Application subclass that handles UnhandledException.
RuntimeObject *NewHandlingApplication() {
  RuntimeClass *base = LookupObjectDefinition(ApplicationClass());
  RuntimeClass *cls = MakeClass(base, "HandlingApp", 52);
  for (int32_t i = 0; i < cls->eventCount; ++i)
    if (string::Borrow(cls->events[i].name).Compare(string("UnhandledException")) == 0)
      cls->events[i].vector = reinterpret_cast<void *>(UnhandledHandler);
  return RuntimeNewObject(cls);
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

// One sequence, since the shutdown it ends in is never undone.
TEST(UnhandledException, ApplicationHandlerFirstThenOneDialogThenNothingAndNoneForEnd) {
  SetFinalDialogPresenter(RecordDialog);
  sDialogs.clear();
  gApplicationObject = NewHandlingApplication();
  ObjectHolder first(NewException(RuntimeExceptionClass(), "first", 0));

  sHandlerAnswer = 1; // True: the loop keeps turning
  UnhandledExceptionFilter(first.get());
  EXPECT_EQ(sHandlerCalls, 1);
  EXPECT_TRUE(sDialogs.empty());
  EXPECT_FALSE(IsAppShuttingDown());

  sHandlerAnswer = 0x100; // only the low byte counts: False
  UnhandledExceptionFilter(first.get());
  EXPECT_EQ(sHandlerCalls, 2);
  ASSERT_EQ(sDialogs.size(), 1u);
  EXPECT_STREQ(sDialogs[0].explanation.CString(), "Exception Message: first\n");
  EXPECT_TRUE(IsAppShuttingDown());

  ObjectHolder second(NewException(RuntimeExceptionClass(), "second", 0));
  UnhandledExceptionFilter(second.get()); // asks the handler, but no second dialog
  EXPECT_EQ(sHandlerCalls, 3);
  EXPECT_EQ(sDialogs.size(), 1u);

  // An EndException never reaches the application's handler, and shows no
  // dialog even when it gets to the last resort.
  ObjectHolder end(CreateInstance(EndExceptionClass()));
  UnhandledExceptionFilter(end.get());
  EXPECT_EQ(sHandlerCalls, 3);
  UnhandledException(end.get());
  EXPECT_EQ(sDialogs.size(), 1u);

  RuntimeUnlockObject(gApplicationObject);
  SetFinalDialogPresenter(nullptr);
}

} // namespace
