#include "graphics/GraphicsServices.h"

bool AppearanceManagerInstalled() { return false; }
bool KaleidoscopeInstalled() { return false; }
