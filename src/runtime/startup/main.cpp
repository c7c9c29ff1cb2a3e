// Program entry: prepares the runtime, initialises GTK+ where a display can
// be opened and hands control to the image loader, which runs the
// application image appended to this executable and, when it returns, the
// shutdown tasks. Without a display a console program runs as usual (the
// toolkit's main loop still serves its timers); a program that registers an
// application object ends there with a message (RuntimeRegisterAppObject).
#include <gtk/gtk.h>

#include "foundation/Memory.h"
#include "foundation/String.h"
#include "runtime/feedback/AssertionAlertGTK.h"
#include "runtime/image/ExecutablePathPosix.h"
#include "runtime/image/LoaderX86.h"
#include "runtime/startup/ProgramArguments.h"
#include "runtime/startup/RuntimeStartup.h"

int main(int argc, char **argv) {
  initializeMemoryCriticalSection();
  InitializeStringCriticalSection();
  gArgc = argc;
  gArgv = argv;
  InitRuntimeServices();

  gtk_set_locale();
  const bool display = gtk_init_check(&argc, &argv);
  gDocumentArgumentCount = argc;
  SetDisplayOpened(display);
  if (display) {
    g_object_set(gtk_settings_get_default(), "gtk-font-name", "Sans 9", nullptr);
    SetAssertionAlertPresenter(PresentAssertionAlertInDialog);
    GTKHelper::Init();
  }

  // Only a missing or damaged image ends the process with a failure status.
  return LoadProgram(CurrentExecutablePath(argv[0]).c_str());
}
