// What start-up, ShowURL and System call in the desktop area: the class
// builders (the inert classes of other platforms among them), the URL
// launcher and the System object's maker. Filled while the program's static
// objects are made, before main.
#include "desktop/AppleEventClasses.h"
#include "desktop/AutomationClasses.h"
#include "desktop/ClipboardClass.h"
#include "desktop/DragItem.h"
#include "desktop/InertWindowClasses.h"
#include "desktop/KeyChainRegistryClasses.h"
#include "desktop/KeyboardClass.h"
#include "desktop/MovieClasses.h"
#include "desktop/OLEContainer.h"
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
  UpperAreaHooksToFill().newSystemObject = NewSystemObject;
  return true;
}();

} // namespace
