// What start-up and ShowURL call in the desktop area: the Clipboard class's
// registrar and the URL launcher. Filled while the program's static objects
// are made, before main.
#include "desktop/ClipboardClass.h"
#include "desktop/URLLaunching.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooksToFill().CreateClipboardClass = CreateClipboardClass;
  UpperAreaHooksToFill().launchURL = LaunchURL;
  return true;
}();

} // namespace
