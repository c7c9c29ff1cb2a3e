// The one console application object of a console program: the register
// that RuntimeRegisterConsoleAppObject and every new ConsoleApplication
// (language/console) set. It lives here, below both, so that start-up
// reaches it without knowing the console classes.
#pragma once
#include "runtime/objects/RuntimeObject.h"

// Set keeps a reference to the new object and releases the old one; Get
// answers it without a reference.
void SetConsoleApplicationObject(RuntimeObject *app);
RuntimeObject *GetConsoleApplicationObject();
