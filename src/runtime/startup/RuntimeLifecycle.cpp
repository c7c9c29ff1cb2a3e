#include "runtime/startup/RuntimeLifecycle.h"

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/application/ConsoleApplicationObject.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/ProgramArguments.h"
#include "runtime/startup/StandardFonts.h"
#include "runtime/startup/UpperAreaHooks.h"

int32_t gDocumentArgumentCount = -1;

namespace {

bool sDisplayOpened = true;
bool sRunOnce = false;
bool sFinalDialogShowing = false;
FinalDialogPresenter sFinalDialogPresenter = nullptr; // nil: the controls area's

string ClassNameOf(RuntimeObject *object) {
  RuntimeClass *cls = RuntimeClassOf(object);
  return cls ? string::Borrow(cls->name) : string();
}

// Every "%1" of the text replaced by the value.
std::string ReplacePlaceholder(std::string text, const std::string &value) {
  for (size_t at = text.find("%1"); at != std::string::npos;
       at = text.find("%1", at + value.size()))
    text.replace(at, 2, value);
  return text;
}

// The one line a program that needs a display writes where there is none.
std::string NoDisplayMessage(const char *programPath, const char *display) {
  std::string name = programPath ? programPath : "";
  name = name.substr(name.rfind('/') + 1);
  const std::string where = display && *display
                                ? std::string("cannot open the display \"") + display + "\""
                                : std::string("no display is set (DISPLAY)");
  return name + ": " + where + "; this program shows windows and needs one.\n";
}

bool IsEndException(RuntimeObject *exception) {
  return RuntimeObjectIsa(exception, LookupObjectDefinition(EndExceptionClass())) != 0;
}

} // namespace

void SetDisplayOpened(bool opened) { sDisplayOpened = opened; }
bool DisplayOpened() { return sDisplayOpened; }

extern "C" {

void RuntimeRegisterAppObject(RuntimeObject *app) {
  if (!sDisplayOpened) {
    const std::string message = NoDisplayMessage(gArgc > 0 ? gArgv[0] : nullptr, getenv("DISPLAY"));
    (void)!write(2, message.data(), message.size());
    _exit(kNoDisplayExitStatus);
  }
  if (app) {
    RuntimeLockObject(app);
    gApplicationObject = app;
  } else {
    gApplicationObject = CreateInstance(ApplicationClass());
  }
  FireStartupEvents();
}

void RuntimeRegisterConsoleAppObject(RuntimeObject *app, int32_t service) {
  if (app) {
    SetConsoleApplicationObject(app); // the registration's one reference
    return;
  }
  const BuiltinClassHooks &classes = GetBuiltinClassHooks();
  ObjectDefinition *defn = BuiltinClassOrNil((service & 0xFF) ? classes.ServiceApplicationClass
                                                              : classes.ConsoleApplicationClass);
  RuntimeObject *made = defn ? CreateInstance(defn) : nullptr;
  if (!made)
    return;
  // The registration keeps it; the reference of its making is not ours.
  SetConsoleApplicationObject(made);
  RuntimeUnlockObject(made);
}

void RuntimeRun() {
  if (sRunOnce)
    return;
  sRunOnce = true;
  gInMainLoop = 1;
  mainloop();
  gInMainLoop = 0;
  NetTerm();
  SerialShutdown();
}

} // extern "C"

void FireStartupEvents() {
  RuntimeObject *app = gApplicationObject;
  using OpenHandler = void (*)(RuntimeObject *);
  if (auto open = reinterpret_cast<OpenHandler>(FindApplicationHandler(app, kAppOpen)))
    open(app);
  using OpenDocumentHandler = void (*)(RuntimeObject *, RuntimeObject *);
  auto openDocument =
      reinterpret_cast<OpenDocumentHandler>(FindApplicationHandler(app, kAppOpenDocument));
  if (!openDocument)
    return;
  // GTK+ takes its own options out of argv; what it leaves are documents.
  const int32_t count = gDocumentArgumentCount >= 0 ? gDocumentArgumentCount : gArgc;
  for (int32_t i = 1; i < count; ++i) {
    RuntimeObject *item = NewFolderItemForPath(gArgv[i] ? gArgv[i] : "");
    openDocument(app, item);
    RuntimeUnlockObject(item);
  }
}

void UnhandledExceptionFilter(RuntimeObject *exception) {
  if (TryApplicationUnhandledException(exception))
    return;
  if (IsAppShuttingDown() || sFinalDialogShowing)
    return;
  UnhandledException(exception);
}

FinalDialogText FinalDialogTextFor(RuntimeObject *exception) {
  FinalDialogText text;
  const std::string message = ReplacePlaceholder(
      "An exception of class %1 was not handled.  The application must shut down.",
      ClassNameOf(exception).CString());
  text.message = string(message.c_str());
  if (!RuntimeObjectIsa(exception, LookupObjectDefinition(RuntimeExceptionClass())))
    return text;
  auto *fields = reinterpret_cast<RuntimeExceptionObject *>(exception);
  std::string explanation;
  if (stringStorage::Length(fields->message) > 0)
    explanation =
        std::string("Exception Message: ") + stringStorage::CString(fields->message) + "\n";
  if (fields->errorNumber != 0)
    explanation += "Exception Error Number: " + std::to_string(fields->errorNumber);
  text.explanation = string(explanation.c_str());
  return text;
}

void UnhandledException(RuntimeObject *exception) {
  if (IsEndException(exception)) {
    SignalShutdown();
    if (const WindowHooks &hooks = GetWindowHooks(); hooks.FireCloseEvents)
      hooks.FireCloseEvents();
    return;
  }
  // One dialog: an exception raised while it is up (a repeating timer's) is
  // ignored instead of opening another. The shutdown is signalled once it is
  // answered, not before: a raise on a thread's stack shows the dialog in
  // that thread's loop while the main stack goes on turning its own, which
  // would otherwise end under the dialog before it ever appeared.
  if (sFinalDialogShowing)
    return;
  sFinalDialogShowing = true;
  RuntimeLockObject(exception);
  FinalDialogText text = FinalDialogTextFor(exception);
  RuntimeUnlockObject(exception);
  FinalDialogPresenter present = sFinalDialogPresenter;
  if (!present)
    present = GetUpperAreaHooks().presentFinalDialog;
  if (present)
    present(text);
  SignalShutdown();
  sFinalDialogShowing = false;
}

FinalDialogPresenter SetFinalDialogPresenter(FinalDialogPresenter presenter) {
  FinalDialogPresenter previous = sFinalDialogPresenter;
  sFinalDialogPresenter = presenter;
  return previous;
}
