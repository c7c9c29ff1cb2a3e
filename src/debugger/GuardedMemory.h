// Reads and writes of the debuggee's own memory at addresses the debugger
// names, done by the kernel so that an unmapped or read-only address fails
// the call instead of faulting the program (and is not seen by a memory
// checker, as the bytes are never touched by the program's own loads).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// Copies n bytes from the address; false, with nothing copied, when any of
// them cannot be read.
bool ReadGuarded(uintptr_t address, void *out, size_t n);
// Stores n bytes at the address; false, with nothing stored, when any of
// them cannot be written.
bool WriteGuarded(uintptr_t address, const void *in, size_t n);

// The 32-bit word at the address.
inline bool ReadGuardedWord(uintptr_t address, uint32_t *word) {
  return ReadGuarded(address, word, 4);
}
