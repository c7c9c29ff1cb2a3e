// What the window layer needs of the drawing classes of the language and of
// the platform's drawing options.
#pragma once

struct ObjectDefinition;

// The language's Graphics and Picture classes.
ObjectDefinition *GraphicsClass();
ObjectDefinition *PictureClass();
inline ObjectDefinition *LanguageGraphicsClass() { return GraphicsClass(); }
inline ObjectDefinition *LanguagePictureClass() { return PictureClass(); }

bool AppearanceManagerInstalled(); // false on this platform
bool KaleidoscopeInstalled();      // false on this platform
