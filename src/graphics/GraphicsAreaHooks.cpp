// What start-up calls in the graphics area: the builders of its classes.
// Filled while the program's static objects are made, before main.
#include "graphics/PictureServices.h"
#include "graphics/PrinterSetupObject.h"
#include "graphics/RGBSurface.h"
#include "graphics/RuntimeGraphics.h"
#include "graphics/Shapes2D.h"
#include "runtime/startup/BuiltinClassBuilders.h"

namespace {

[[maybe_unused]] const bool sFilled = [] {
  BuiltinClassHooks &classes = BuiltinClassHooksToFill();
  classes.CreateObject2DClasses = CreateObject2DClasses;
  classes.InitPictureClass = InitPictureClass;
  classes.GraphicsClass = GraphicsClass;
  classes.RGBSurfaceClass = RGBSurfaceClass;
  classes.PrinterSetupClass = PrinterSetupClass;
  return true;
}();

} // namespace
