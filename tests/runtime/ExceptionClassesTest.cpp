#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HandMadeFrames.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

namespace {

std::string ClassName(RuntimeObject *object) {
  return object ? stringStorage::CString(object->classPtr->name) : "(nil)";
}

std::string Text(stringStorage *s) { return stringStorage::CString(s); }

std::vector<RuntimeObject *> sSeen;
void Record(RuntimeObject *exception) { sSeen.push_back(exception); }

class RaisedExceptions : public testing::Test {
protected:
  void SetUp() override {
    RegisterHandMadeFramesAsImageCode();
    SetUnhandledExceptionHook(Record);
    sSeen.clear();
  }
  void TearDown() override {
    SetUnhandledExceptionHook(nullptr);
    SetExceptionMonitor(nullptr);
    SetImageCodeRange(nullptr, 0);
  }
  // Runs body under a compiled handler; answers what it caught (one reference).
  RuntimeObject *Catch(Body body, void *arg = nullptr) {
    int32_t continued = 0;
    return HandMadeProtected(body, arg, &continued);
  }
};

TEST_F(RaisedExceptions, MessageAndNumberTravelWithTheException) {
  RuntimeObject *caught = Catch([](void *) {
    RaiseExceptionClassWMessage(KeyNotFoundExceptionClass(), string("no such key"), 42);
  });
  ASSERT_NE(caught, nullptr);
  EXPECT_EQ(ClassName(caught), "KeyNotFoundException");
  EXPECT_EQ(caught->refCount, 1) << "the handler holds the last reference";
  stringStorage *message = stringGetter(caught, offsetof(RuntimeExceptionObject, message));
  EXPECT_EQ(Text(message), "no such key");
  RuntimeUnlockString(message);
  EXPECT_EQ(intGetter(caught, offsetof(RuntimeExceptionObject, errorNumber)), 42);
  RuntimeUnlockObject(caught);

  caught = Catch([](void *) { RaiseExceptionClass(OutOfMemoryExceptionClass()); });
  ASSERT_NE(caught, nullptr);
  auto *fields = reinterpret_cast<RuntimeExceptionObject *>(caught);
  EXPECT_EQ(fields->message, nullptr);
  EXPECT_EQ(fields->errorNumber, 0);
  RuntimeUnlockObject(caught);
  EXPECT_TRUE(sSeen.empty());
}

struct RuntimeRaised {
  const char *className;
  ObjectDefinition *(*builder)();
  void (*raise)();
};

class ExceptionsTheRuntimeRaises : public RaisedExceptions,
                                   public testing::WithParamInterface<RuntimeRaised> {};

TEST_P(ExceptionsTheRuntimeRaises, BuilderRegistersTheClassOfItsRaiseFunction) {
  GetParam().builder();
  RuntimeObject *caught = Catch([](void *raise) { reinterpret_cast<void (*)()>(raise)(); },
                                reinterpret_cast<void *>(GetParam().raise));
  EXPECT_EQ(ClassName(caught), GetParam().className);
  RuntimeUnlockObject(caught);
}

INSTANTIATE_TEST_SUITE_P(
    ExceptionClasses, ExceptionsTheRuntimeRaises,
    testing::Values(
        RuntimeRaised{"NilObjectException", NilObjectExceptionClass, RaiseNilObjectException},
        RuntimeRaised{"IllegalCastException", IllegalCastExceptionClass, RaiseIllegalCastException},
        RuntimeRaised{"OutOfBoundsException", OutOfBoundsExceptionClass,
                      RaiseOutOfBoundsException}),
    [](const auto &info) { return std::string(info.param.className); });

TEST(ExceptionClasses, RegisteredByNameWithoutRegardToCaseButThreadAlreadyRunning) {
  AddRuntimeExceptions();
  const char *names[] = {"RuntimeException",
                         "NilObjectException",
                         "NoOpenTransportException",
                         "RegistryAccessErrorException",
                         "ServiceNotAvailableException",
                         "IllegalCastException",
                         "InvalidParentException",
                         "stackOverflowException",
                         "typeMismatchException",
                         "OutOfBoundsException",
                         "OutOfMemoryException",
                         "KeyNotFoundException",
                         "EndException",
                         "UnsupportedFormatException",
                         "KeyChainException",
                         "OLEException"};
  RuntimeClass *root = RuntimeLookupClass(string("runtimeexception").Storage());
  ASSERT_NE(root, nullptr);
  for (const char *name : names) {
    RuntimeClass *cls = RuntimeLookupClass(string(name).Storage());
    ASSERT_NE(cls, nullptr) << name;
    EXPECT_EQ(Text(cls->name), name);
    EXPECT_EQ(cls->instanceSize, 32) << name;
    if (cls != root) {
      EXPECT_EQ(cls->base, root) << name;
    }
  }
  RuntimeClass *overflow = RuntimeLookupClass(string("StackOverflowException").Storage());
  ASSERT_NE(overflow, nullptr);
  EXPECT_EQ(Text(overflow->name), "stackOverflowException");
  EXPECT_EQ(RuntimeLookupClass(string("ThreadAlreadyRunningException").Storage()), nullptr);
  EXPECT_EQ(LookupObjectDefinition(ThreadRunningExceptionClass())->base, root);
  EXPECT_FALSE(EndExceptionClass()->newAllowed);
  EXPECT_TRUE(KeyChainExceptionClass()->newAllowed);
}

TEST(ExceptionClasses, ReleasingAnExceptionReleasesItsMessage) {
  string message("lost");
  stringStorage *storage = message.Storage();
  RuntimeObject *exception = CreateInstance(TypeMismatchExceptionClass());
  stringSetter(exception, offsetof(RuntimeExceptionObject, message), storage);
  EXPECT_EQ(storage->mRefCount, 2);
  RuntimeUnlockObject(exception);
  EXPECT_EQ(storage->mRefCount, 1);
}

TEST_F(RaisedExceptions, MonitorSeesRaisesButNotReraisesAndNilIsIgnored) {
  static std::vector<RuntimeObject *> monitored;
  monitored.clear();
  SetExceptionMonitor([](RuntimeObject *e) { monitored.push_back(e); });
  RuntimeRaiseException(nullptr);
  RuntimeReraiseException(nullptr);
  EXPECT_TRUE(monitored.empty());
  EXPECT_TRUE(sSeen.empty());

  RuntimeObject *exception = CreateInstance(RuntimeExceptionClass());
  RuntimeObject *caught = Catch(reinterpret_cast<Body>(RuntimeReraiseException), exception);
  EXPECT_TRUE(monitored.empty());
  RuntimeUnlockObject(caught);
  caught = Catch(reinterpret_cast<Body>(RuntimeRaiseException), exception);
  EXPECT_EQ(monitored, std::vector<RuntimeObject *>{exception});
  EXPECT_EQ(caught, exception);
  RuntimeUnlockObject(caught);
  RuntimeUnlockObject(exception);
}

TEST(ExceptionClasses, UnhandledExceptionWithoutHookShowsTheAlert) {
  AlertRecorder alerts;
  RuntimeObject *exception = CreateInstance(RuntimeExceptionClass());
  RuntimeUnhandledException(exception);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_EQ(alerts.alerts()[0].condition, "0");
  RuntimeUnlockObject(exception);
}

TEST_F(RaisedExceptions, MissingRaiseClassShowsTheAlertAndRaisesNoObjectOfNoClass) {
  AlertRecorder alerts;
  SetIllegalCastExceptionClass(nullptr);
  EXPECT_TRUE(alerts.saw("exc"));
  SetNilObjectExceptionClass(nullptr);
  alerts.clear();
  RaiseIllegalCastException(); // neither class: nothing can be raised, nothing loops
  EXPECT_TRUE(alerts.saw("exclass"));
  EXPECT_TRUE(sSeen.empty());

  SetNilObjectExceptionClass(LookupObjectDefinition(NilObjectExceptionClass()));
  RuntimeObject *caught = Catch([](void *) { RaiseIllegalCastException(); });
  EXPECT_EQ(ClassName(caught), "NilObjectException");
  RuntimeUnlockObject(caught);
  SetIllegalCastExceptionClass(LookupObjectDefinition(IllegalCastExceptionClass()));
}

} // namespace
