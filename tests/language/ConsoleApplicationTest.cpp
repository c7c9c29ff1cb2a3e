// The console classes: inert standard streams and console functions, the one
// console application object, and the service events.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>

#include "language/console/ConsoleApplication.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/RuntimeLifecycle.h"
#include "support/AlertRecorder.h"


namespace {

// What the process writes to standard output and error while `body` runs.
std::string OutputOf(const std::function<void()> &body) {
  fflush(stdout);
  fflush(stderr);
  FILE *capture = tmpfile();
  const int savedOut = dup(1), savedErr = dup(2);
  dup2(fileno(capture), 1);
  dup2(fileno(capture), 2);
  body();
  fflush(stdout);
  fflush(stderr);
  dup2(savedOut, 1);
  dup2(savedErr, 2);
  close(savedOut);
  close(savedErr);
  std::string text;
  rewind(capture);
  for (int c; (c = fgetc(capture)) != EOF;)
    text += static_cast<char>(c);
  fclose(capture);
  return text;
}

TEST(ConsoleStreams, AreInertAndWriteNothing) {
  ObjectHolder in(CreateInstance(StdInputStreamClass()));
  ObjectHolder out(CreateInstance(StdOutputStreamClass()));
  ObjectHolder console(CreateInstance(StdOutputStreamClass()));
  reinterpret_cast<StandardOutputStreamObject *>(console.get())->toConsole = 1;
  stringStorage *message = string("hello").ExtractStringStorage();
  struct Case {
    const char *what;
    std::function<intptr_t()> call;
  } cases[] = {
      {"Print", [&] { return RuntimeConsolePrint(message), 0; }},
      {"WriteLine to the error output", [&] { return RuntimeStdOutputStreamWriteLine(out.get(), message), 0; }},
      {"WriteLine to the console", [&] { return RuntimeStdOutputStreamWriteLine(console.get(), message), 0; }},
      {"Write", [&] { return RuntimeStdOutputStreamWrite(out.get(), message), 0; }},
      {"Flush", [&] { return RuntimeStdOutFlush(out.get()), 0; }},
      {"Input", [] { return reinterpret_cast<intptr_t>(RuntimeConsoleInput()); }},
      {"ReadLine", [&] { return reinterpret_cast<intptr_t>(RuntimeStdInputReadLine(in.get())); }},
      {"Read", [&] { return reinterpret_cast<intptr_t>(RuntimeStdInputRead(in.get(), 10, nullptr)); }},
      {"EOF", [&] { return intptr_t{RuntimeStdInputEof(in.get())}; }},
      {"ReadError", [&] { return intptr_t{RuntimeStdInputError(in.get())}; }},
      {"WriteError", [&] { return intptr_t{RuntimeStdOutputError(out.get())}; }},
      {"stdin", [] { return reinterpret_cast<intptr_t>(RuntimeGetStdIn()); }},
      {"stdout", [] { return reinterpret_cast<intptr_t>(RuntimeGetStdOut()); }},
      {"stderr", [] { return reinterpret_cast<intptr_t>(RuntimeGetStdErr()); }},
  };
  AlertRecorder alerts;
  for (const Case &c : cases) {
    intptr_t result = -1;
    EXPECT_EQ(OutputOf([&] { result = c.call(); }), "") << c.what;
    EXPECT_EQ(result, 0) << c.what; // nothing, the empty string, false or nil
  }
  EXPECT_EQ(alerts.count(), 0u);
  RuntimeUnlockString(message);
}

TEST(ConsoleStreams, ImplementTheirInterfacesWithTheDeclaredSizes) {
  struct Case {
    ObjectDefinition *(*builder)();
    const char *name;
    int32_t size;
  } cases[] = {
      {ConsoleApplicationClass, "ConsoleApplication", 28},
      {ServiceApplicationClass, "ServiceApplication", 88},
      {StdInputStreamClass, "StandardInputStream", 28},
      {StdOutputStreamClass, "StandardOutputStream", 28},
  };
  for (const Case &c : cases) {
    RuntimeClass *cls = LookupObjectDefinition(c.builder());
    ASSERT_NE(cls, nullptr) << c.name;
    EXPECT_STREQ(stringStorage::CString(cls->name), c.name);
    EXPECT_EQ(cls->instanceSize, c.size) << c.name;
  }
  EXPECT_EQ(LookupObjectDefinition(StdInputStreamClass())->interfaceCount, 1);
  EXPECT_EQ(LookupObjectDefinition(StdOutputStreamClass())->interfaceCount, 1);
  EXPECT_EQ(ServiceApplicationClass()->super, ConsoleApplicationClass());
}

TEST(ConsoleApplicationObject, EveryNewInstanceBecomesCurrentAndReleasesTheLast) {
  RuntimeObject *first = CreateInstance(ConsoleApplicationClass());
  EXPECT_EQ(GetConsoleApplicationObject(), first);
  EXPECT_EQ(first->refCount, 2);
  RuntimeObject *second = CreateInstance(ConsoleApplicationClass());
  EXPECT_EQ(GetConsoleApplicationObject(), second);
  EXPECT_EQ(first->refCount, 1);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
  SetConsoleApplicationObject(nullptr);
}

TEST(ConsoleApplicationObject, RegisteringNilMakesTheInstanceTheFlagSelects) {
  RuntimeRegisterConsoleAppObject(nullptr, 1);
  ASSERT_NE(GetConsoleApplicationObject(), nullptr);
  EXPECT_STREQ(stringStorage::CString(GetConsoleApplicationObject()->classPtr->name),
               "ServiceApplication");
  RuntimeRegisterConsoleAppObject(nullptr, 0);
  ASSERT_NE(GetConsoleApplicationObject(), nullptr);
  EXPECT_STREQ(stringStorage::CString(GetConsoleApplicationObject()->classPtr->name),
               "ConsoleApplication");
  SetConsoleApplicationObject(nullptr);
}

TEST(ConsoleApplicationObject, RegistrationHoldsOneReferenceAndNoneIsLeftOverForNil) {
  RuntimeObject *first = CreateInstance(ConsoleApplicationClass());
  RuntimeObject *second = CreateInstance(ConsoleApplicationClass());
  RuntimeRegisterConsoleAppObject(first, 0); // ours and the registration's
  EXPECT_EQ(GetConsoleApplicationObject(), first);
  EXPECT_EQ(first->refCount, 2);
  EXPECT_EQ(second->refCount, 1);
  RuntimeRegisterConsoleAppObject(first, 0); // registering again adds nothing
  EXPECT_EQ(first->refCount, 2);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
  RuntimeRegisterConsoleAppObject(nullptr, 0); // the registration's only
  ASSERT_NE(GetConsoleApplicationObject(), nullptr);
  EXPECT_EQ(GetConsoleApplicationObject()->refCount, 1);
  SetConsoleApplicationObject(nullptr);
}

std::string sFired;
void OnStop(RuntimeObject *, int32_t shuttingDown) { sFired += "Stop(" + std::to_string(shuttingDown) + ")"; }
void OnPause(RuntimeObject *) { sFired += "Pause"; }
void OnContinue(RuntimeObject *) { sFired += "Continue"; }

TEST(ServiceApplication, FiresItsEventsToHandlersAndAlertsForNil) {
  RuntimeClass *base = LookupObjectDefinition(ServiceApplicationClass());
  RuntimeClass *sub = MakeClass(base, "TestService", 88);
  const std::pair<const char *, void *> handlers[] = {
      {"Stop", reinterpret_cast<void *>(OnStop)},
      {"Pause", reinterpret_cast<void *>(OnPause)},
      {"Continue", reinterpret_cast<void *>(OnContinue)},
  };
  for (int32_t i = 0; i < sub->eventCount; ++i)
    for (const auto &[name, code] : handlers)
      if (string::Borrow(sub->events[i].name).Compare(string(name)) == 0)
        sub->events[i].vector = code;
  RuntimeObject *service = RuntimeNewObject(sub);
  sFired.clear();
  EXPECT_EQ(ServiceApplicationInitializer(service), service);
  ServiceApplicationQuit(service, 1);
  FireServicePause(service);
  FireServiceContinue(service);
  EXPECT_EQ(sFired, "Stop(0)PauseContinue");

  AlertRecorder alerts;
  EXPECT_EQ(ServiceApplicationInitializer(nullptr), nullptr);
  ServiceApplicationQuit(nullptr, 0);
  FireServicePause(nullptr);
  FireServiceContinue(nullptr);
  ASSERT_EQ(alerts.count(), 4u);
  for (const RecordedAlert &alert : alerts.alerts())
    EXPECT_TRUE(ShownAt(alert, kNilServiceObjectAlert));
  RuntimeUnlockObject(service);
  SetConsoleApplicationObject(nullptr);
}

} // namespace
