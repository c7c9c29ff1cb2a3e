// The application image loader: reads the image appended to the executable
// (or the loose section files), binds its imports, registers its resources,
// icons and version, and runs its code.
#pragma once
#include <cstdint>

class string;

// The exit status of a process whose image is missing or damaged.
constexpr int kImageLoadFailedStatus = 3;

// Loads the image of the file at path without running it. A missing or
// damaged image is described on standard error and answers false; nothing of
// it runs. Imports that cannot be bound are reported with the assertion alert
// and do not stop loading.
bool LoadImage(const char *path);

// Loads the image, calls its code at offset 0 and, when that returns, runs
// the shutdown tasks. Answers 0, or kImageLoadFailedStatus when the image
// could not be loaded.
int LoadProgram(const char *path);

// The loaded sections; nil before an image is loaded.
void *GetX86CodeSectionBaseAddress();
void *GetX86DataSectionBaseAddress();

// Whether the address lies inside the loaded code; if so, names the image
// function that contains it (the symbol at or below it) and the distance into
// it. Without a symbol at or below, the name is empty and the distance the
// code size. Either out argument may be nil.
bool ResolveX86LoaderSymbol(const void *address, string *name, int32_t *distance);
