// Memory the processor may execute: the loaded image's code and the small
// stubs the loader generates. It is never released.
#pragma once
#include <cstddef>

// Zero-filled, readable, writable and executable; nil when the system refuses.
void *AllocateExecutableMemory(size_t size);
