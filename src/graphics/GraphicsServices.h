// What the window layer needs of the drawing classes of the language and of
// the platform's drawing options.
#pragma once

struct ObjectDefinition;

// The language's Graphics and Picture classes. Weak, so that the window layer
// links without them: without Graphics a window has no Paint event object,
// without Picture no backdrop.
ObjectDefinition *GraphicsClass() __attribute__((weak));
ObjectDefinition *PictureClass() __attribute__((weak));
inline ObjectDefinition *LanguageGraphicsClass() {
  return GraphicsClass ? GraphicsClass() : nullptr;
}
inline ObjectDefinition *LanguagePictureClass() { return PictureClass ? PictureClass() : nullptr; }

bool AppearanceManagerInstalled(); // false on this platform
bool KaleidoscopeInstalled();      // false on this platform
