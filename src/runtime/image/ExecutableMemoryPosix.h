// Memory the processor may execute: the loaded image's code and the small
// stubs the loader generates. Only the code of an image that was refused is
// ever released.
#pragma once
#include <cstddef>

// Zero-filled, readable, writable and executable; nil when the system refuses.
void *AllocateExecutableMemory(size_t size);

// Releases memory from AllocateExecutableMemory with the size it was asked for.
void ReleaseExecutableMemory(void *memory, size_t size);
