// Do-nothing bodies until the drawing subsystem supplies the language's
// Graphics and Picture classes: without them a window has no Paint context
// and no backdrop. Weak, so the real definitions take their place.
#include "graphics/GraphicsServices.h"

__attribute__((weak)) ObjectDefinition *GraphicsClass() { return nullptr; }
__attribute__((weak)) ObjectDefinition *PictureClass() { return nullptr; }
bool AppearanceManagerInstalled() { return false; }
bool KaleidoscopeInstalled() { return false; }
