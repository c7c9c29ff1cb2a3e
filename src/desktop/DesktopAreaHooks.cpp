// What start-up, ShowURL and System call in the desktop area: the class
// builders, the URL launcher and the System object's maker. Filled while the
// program's static objects are made, before main.
#include "desktop/ClipboardClass.h"
#include "desktop/DragItem.h"
#include "desktop/KeyboardClass.h"
#include "desktop/ScreenClass.h"
#include "desktop/SoundClass.h"
#include "desktop/SystemClass.h"
#include "desktop/URLLaunching.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.CreateClipboardClass = CreateClipboardClass;
  classes.SystemClass = SystemClass;
  classes.NetworkInterfaceClass = NetworkInterfaceClass;
  classes.QTInstallStatusClass = QTInstallStatusClass;
  classes.KeyboardClass = KeyboardClass;
  classes.ScreenClass = ScreenClass;
  classes.DragItemClass = DragItemClass;
  classes.SoundClass = SoundClass;
  UpperAreaHooksToFill().launchURL = LaunchURL;
  UpperAreaHooksToFill().newSystemObject = NewSystemObject;
  return true;
}();

} // namespace
