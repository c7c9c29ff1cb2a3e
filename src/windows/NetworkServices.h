// What windows need of the networking area, which sits beside the GUI areas
// and fills these in by defining them; until it is linked the references are
// nil.
#pragma once

struct RuntimeObject;

// Closes the object's socket when it is one: a ServerSocket stops listening,
// any other socket object closes. Other objects are left alone.
void CloseSocketOfObject(RuntimeObject *object) __attribute__((weak));
