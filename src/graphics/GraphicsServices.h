// What the window layer needs of the drawing classes of the language and of
// the platform's drawing options.
#pragma once

struct ObjectDefinition;

ObjectDefinition *GraphicsClass(); // the language's Graphics class; nil for now
ObjectDefinition *PictureClass();  // the language's Picture class; nil for now
bool AppearanceManagerInstalled(); // false on this platform
bool KaleidoscopeInstalled();      // false on this platform
