// How the image drives its own life after RuntimeInit: it registers its
// application object (firing Open and OpenDocument), turns the run loop once,
// and hands exceptions nobody caught to the last-resort path.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

// The argument count GTK+ left after taking out its own options; -1 before
// gtk_init (the count main received is used then).
extern int32_t gDocumentArgumentCount;

// Whether start-up could open the display; set once by main. A runtime that
// did not start through main (a test) counts as having one.
void SetDisplayOpened(bool opened);
bool DisplayOpened();
// The exit status of a program that needs a display where none could be
// opened.
constexpr int kNoDisplayExitStatus = 1;

extern "C" {
// Registers the application object (a plain Application for nil) with one
// reference, then fires its Open and, when it handles OpenDocument, one
// OpenDocument per command-line argument. Without a display the program
// says so on standard error and ends with kNoDisplayExitStatus.
void RuntimeRegisterAppObject(RuntimeObject *app);
// Registers the console application object (a new ConsoleApplication, or
// ServiceApplication when the service flag's low byte is set, for nil).
void RuntimeRegisterConsoleAppObject(RuntimeObject *app, int32_t service);
// Turns the run loop until shutdown, once per process; later calls return.
void RuntimeRun();
}

// Open, then OpenDocument per argument.
void FireStartupEvents();
// The unhandled-exception hook: the application's UnhandledException event
// first, nothing once shutdown is signalled or while the final dialog is up,
// else UnhandledException.
void UnhandledExceptionFilter(RuntimeObject *exception);
// The last resort: EndException signals the shutdown and closes every
// window; any other exception shows the final dialog (none while one is up)
// and signals the shutdown once it is answered.
void UnhandledException(RuntimeObject *exception);

// The final dialog's texts for an exception.
struct FinalDialogText {
  string message;     // "An exception of class X was not handled. ..."
  string explanation; // the exception's Message and ErrorNumber lines, or empty
};
FinalDialogText FinalDialogTextFor(RuntimeObject *exception);

// Shows the final dialog modally. Replaceable so that tests can record it;
// nil restores the controls area's message dialog (UpperAreaHooks).
using FinalDialogPresenter = void (*)(const FinalDialogText &text);
FinalDialogPresenter SetFinalDialogPresenter(FinalDialogPresenter presenter);
