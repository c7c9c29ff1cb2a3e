// What start-up and ShowURL call in the desktop area: the Clipboard class's
// registrar, the builders of the inert classes of other platforms and the
// URL launcher. Filled while the program's static objects are made, before
// main.
#include "desktop/AppleEventClasses.h"
#include "desktop/AutomationClasses.h"
#include "desktop/ClipboardClass.h"
#include "desktop/InertWindowClasses.h"
#include "desktop/KeyChainRegistryClasses.h"
#include "desktop/MovieClasses.h"
#include "desktop/OLEContainer.h"
#include "desktop/URLLaunching.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.CreateClipboardClass = CreateClipboardClass;
  classes.RegistryItemClass = RegistryItemClass;
  classes.KeyChainClass = KeyChainClass;
  classes.KeyChainItemClass = KeyChainItemClass;
  classes.OLEObjectClass = OLEObjectClass;
  classes.OLEParameterClass = OLEParameterClass;
  classes.RegisterAppleEventClasses = RegisterAppleEventClasses;
  classes.MDIWindowClass = MDIWindowClass;
  classes.DockItemClass = DockItemClass;
  classes.OLEContainerClass = OLEContainerClass;
  classes.MoviePlayerClass = MoviePlayerClass;
  classes.MoviePlayerActionClass = MoviePlayerActionClass;
  classes.NotePlayerClass = NotePlayerClass;
  classes.MovieClass = MovieClass;
  UpperAreaHooksToFill().launchURL = LaunchURL;
  return true;
}();

} // namespace
