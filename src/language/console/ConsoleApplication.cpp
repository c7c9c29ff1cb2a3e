#include "language/console/ConsoleApplication.h"

#include <iterator>

#include "language/LineEndings.h"
#include "language/TextEncodingClasses.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

ObjectHookTemplate ConsoleApplicationHooks[] = {
    {kConsoleOnlyFlags, "Run", "args() as String", "Integer", nullptr, 0},
    {kConsoleOnlyFlags, "UnhandledException", "error As RuntimeException", "", nullptr, 0},
};
enum ServiceEvent { kStopEvent, kPauseEvent, kContinueEvent };
ObjectHookTemplate ServiceApplicationHooks[] = {
    {kConsoleOnlyFlags, "Stop", "shuttingDown as Boolean", "", nullptr, 0},
    {kConsoleOnlyFlags, "Pause", "", "", nullptr, 0},
    {kConsoleOnlyFlags, "Continue", "", "", nullptr, 0},
};

MethodParameter sDoEventsParams[] = {{"milliseconds", &integerType.type, 0, {}, 1, {}, 10, {}}};
PropertyMethod ConsoleApplicationMethods[] = {
    {"DoEvents",
     nullptr,
     sDoEventsParams,
     1,
     {{ACCESSOR(RuntimeDoEvents), {}}, {}},
     0,
     kConsoleOnlyFlags,
     0},
};
ObjectInstanceTemplate ConsoleApplicationProperties[] = {
    {kConsoleAvailableFlag, "ExecutableFile", nullptr, ACCESSOR(AppFolderItemGetter), nullptr, nullptr,
     0, 0},
};

MethodParameter sReadParams[] = {
    {"Count", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"encoding", nullptr, 0, {}, 1, {}, 0, {}},
};
PropertyMethod StdInputMethods[] = {
    {"ReadLine",
     &stringType.type,
     nullptr,
     0,
     {{ACCESSOR(RuntimeStdInputReadLine), {}}, {}},
     0,
     kConsoleOnlyFlags,
     0},
    {"Read",
     &stringType.type,
     sReadParams,
     2,
     {{ACCESSOR(RuntimeStdInputRead), {}}, {}},
     0,
     kConsoleOnlyFlags,
     0},
    {"EOF",
     &booleanType.type,
     nullptr,
     0,
     {{ACCESSOR(RuntimeStdInputEof), {}}, {}},
     0,
     kConsoleAvailableFlag,
     0},
    {"ReadError",
     &booleanType.type,
     nullptr,
     0,
     {{ACCESSOR(RuntimeStdInputError), {}}, {}},
     0,
     kConsoleAvailableFlag,
     0},
};

MethodParameter sMessageParams[] = {{"msg", &stringType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod StdOutputMethods[] = {
    {"WriteLine",
     nullptr,
     sMessageParams,
     1,
     {{ACCESSOR(RuntimeStdOutputStreamWriteLine), {}}, {}},
     0,
     kConsoleOnlyFlags,
     0},
    {"Write",
     nullptr,
     sMessageParams,
     1,
     {{ACCESSOR(RuntimeStdOutputStreamWrite), {}}, {}},
     0,
     kConsoleOnlyFlags,
     0},
    {"Flush", nullptr, nullptr, 0, {{ACCESSOR(RuntimeStdOutFlush), {}}, {}}, 0, kConsoleAvailableFlag, 0},
    {"WriteError",
     &booleanType.type,
     nullptr,
     0,
     {{ACCESSOR(RuntimeStdOutputError), {}}, {}},
     0,
     kConsoleAvailableFlag,
     0},
};

void ConsoleApplicationInit(RuntimeObject *object) {
  reinterpret_cast<ConsoleApplicationObject *>(object)->reserved = 0;
  SetConsoleApplicationObject(object);
}

void BuildClass(ObjectDefinition &defn, const char *name, int32_t size) {
  defn.className = string(name);
  defn.objectSize = size;
  defn.staticTables = 1;
}

// The service events: a nil object shows the alert; the handler runs when
// the object's class has one.
void FireServiceEvent(RuntimeObject *app, ServiceEvent event, bool withArgument) {
  if (!app) {
    ShowAlert(kNilServiceObjectAlert);
    return;
  }
  ServiceApplicationClass(); // the hooks exist once the class is built
  void *code = FindObjectCode(app, ServiceApplicationHooks[event].hook);
  if (!code)
    return;
  if (withArgument)
    reinterpret_cast<void (*)(RuntimeObject *, int32_t)>(code)(app, 0);
  else
    reinterpret_cast<void (*)(RuntimeObject *)>(code)(app);
}

} // namespace

void FireServicePause(RuntimeObject *app) { FireServiceEvent(app, kPauseEvent, false); }
void FireServiceContinue(RuntimeObject *app) { FireServiceEvent(app, kContinueEvent, false); }

ObjectDefinition *ConsoleApplicationClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  ConsoleApplicationProperties[0].type =
      ForeignClassType(GetBuiltinClassHooks().FolderItemClass, "FolderItem");
  BuildClass(defn, "ConsoleApplication", sizeof(ConsoleApplicationObject));
  defn.constructor = ConsoleApplicationInit;
  FillHooks(&defn, ConsoleApplicationHooks, std::size(ConsoleApplicationHooks));
  defn.methods = FillMethods(ConsoleApplicationMethods, std::size(ConsoleApplicationMethods));
  defn.properties =
      FillInstances(ConsoleApplicationProperties, std::size(ConsoleApplicationProperties));
  return &defn;
}

ObjectDefinition *ServiceApplicationClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  BuildClass(defn, "ServiceApplication", kServiceApplicationInstanceSize);
  defn.super = ConsoleApplicationClass();
  FillHooks(&defn, ServiceApplicationHooks, std::size(ServiceApplicationHooks));
  return &defn;
}

ObjectDefinition *StdInputStreamClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sReadParams[1].type = TextEncodingClass()->AsType();
  BuildClass(defn, "StandardInputStream", sizeof(StandardInputStreamObject));
  defn.methods = FillMethods(StdInputMethods, std::size(StdInputMethods));
  defn.addInterface(ReadableInterface());
  return &defn;
}

ObjectDefinition *StdOutputStreamClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  BuildClass(defn, "StandardOutputStream", sizeof(StandardOutputStreamObject));
  defn.methods = FillMethods(StdOutputMethods, std::size(StdOutputMethods));
  defn.addInterface(WriteableInterface());
  return &defn;
}

extern "C" {

void RuntimeConsolePrint(stringStorage *) {}
void RuntimeConsolePrintError(stringStorage *) {}
stringStorage *RuntimeConsoleInput() { return nullptr; }
stringStorage *RuntimeConsoleInputAmount(int32_t) { return nullptr; }
RuntimeObject *RuntimeGetStdIn() { return nullptr; }
RuntimeObject *RuntimeGetStdOut() { return nullptr; }
RuntimeObject *RuntimeGetStdErr() { return nullptr; }

stringStorage *RuntimeStdInputReadLine(RuntimeObject *) { return RuntimeConsoleInput(); }

stringStorage *RuntimeStdInputRead(RuntimeObject *, int32_t count, TextEncodingObject *encoding) {
  stringStorage *text = RuntimeConsoleInputAmount(count);
  if (text && encoding)
    text->mEncoding = static_cast<uint32_t>(GetEncodingFromTEObject(encoding));
  return text;
}

int32_t RuntimeStdInputEof(RuntimeObject *) { return 0; }
int32_t RuntimeStdInputError(RuntimeObject *) { return 0; }
int32_t RuntimeStdOutputError(RuntimeObject *) { return 0; }
void RuntimeStdOutputStreamWrite(RuntimeObject *, stringStorage *) {}
void RuntimeStdOutFlush(RuntimeObject *) {}

void RuntimeStdOutputStreamWriteLine(RuntimeObject *stream, stringStorage *message) {
  if (stream && reinterpret_cast<StandardOutputStreamObject *>(stream)->toConsole) {
    RuntimeConsolePrint(message);
    return;
  }
  const string line = string::Borrow(message) + string::Adopt(RuntimeEndOfLine());
  RuntimeConsolePrintError(line.Storage());
}

RuntimeObject *ServiceApplicationInitializer(RuntimeObject *app) {
  if (!app)
    ShowAlert(kNilServiceObjectAlert);
  return app;
}

void ServiceApplicationQuit(RuntimeObject *app, int32_t) { FireServiceEvent(app, kStopEvent, true); }

} // extern "C"
