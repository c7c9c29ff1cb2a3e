// Functions laid out as the language's compiler lays out compiled code, for
// exercising the unwinder without an image: frame pointer, the stack pointer
// kept at ebp-4, exception slots at ebp-8 and ebp-12, handler records and
// nested-region brackets. They lie in a section of their own, which a test
// registers as the image's code. Runtime entry points are reached through a
// table passed in, so that no call displacement lands in the scanned bytes.
#pragma once
#include <cstdint>

#include "runtime/objects/RuntimeObject.h"

using Body = void (*)(void *arg);

struct HandMadeImports {
  void (*lock)(RuntimeObject *);
  void (*unlock)(RuntimeObject *);
  void (*reraise)(RuntimeObject *);
};

extern "C" {
// body(arg) inside a protected region whose handler takes the exception into
// its slot. Answers the slot; *continued is set to 1 when body returned
// normally and the protected code went on.
RuntimeObject *HandMadeProtected(Body body, void *arg, int32_t *continued);
// The same with a handler that takes no exception (slot offset 0).
RuntimeObject *HandMadeProtectedNoSlot(Body body, void *arg, int32_t *continued);
// The same in a frame of more than 4096 bytes.
RuntimeObject *HandMadeProtectedBigFrame(Body body, void *arg, int32_t *continued);
// outer(arg) in the outer region ahead of a nested region, inner(arg) inside
// it. slots[0] receives the outer handler's slot, slots[1] the inner one's.
void HandMadeNested(Body outer, Body inner, void *arg, RuntimeObject **slots);
// A compiled function as the compiler makes every one: it retains its object
// argument `local` on entry, runs body(arg) under its catch-all, releases
// `local`, and passes a caught exception on with a re-raise.
void HandMadeCatchAll(const HandMadeImports *imports, Body body, void *arg, RuntimeObject *local);
}

// Registers the section of these functions as the image's code.
void RegisterHandMadeFramesAsImageCode();
