// Pointers and relocatable handles of the toolbox vocabulary. A handle is a
// small record {data, size} reached through one indirection; its data never
// moves, so locking does nothing. Data that cannot be allocated ends the
// process (kMemFullQuit): callers of these functions count on success.
#pragma once
#include <cstddef>
#include <cstdint>

namespace QV {

struct HandleRecord {
  char *data;   // from malloc
  int32_t size; // bytes of data
};
static_assert(sizeof(HandleRecord) == 8);
static_assert(offsetof(HandleRecord, data) == 0 && offsetof(HandleRecord, size) == 4);

// Points at a HandleRecord, whose first word is the data pointer.
using Handle = char **;

char *NewPtr(int32_t size);
char *NewPtrClear(int32_t size);
void DisposePtr(char *pointer);
// Note the order: source first.
void BlockMoveData(const void *src, void *dst, int32_t n);

Handle NewHandle(int32_t size); // data not cleared
Handle NewHandleClear(int32_t size);
Handle TempNewHandle(int32_t size, int16_t *error); // error is left as it is
int32_t GetHandleSize(Handle handle);               // 0 for null
// Moves the data to a block of the new size, keeping what fits; added bytes
// are not cleared.
void SetHandleSize(Handle handle, int32_t size);
// Replaces *handle by a new handle holding a copy of its data; a handle of
// size 0 stays and the answer is false.
bool HandToHand(Handle *handle);
void DisposeHandle(Handle handle);
inline void HLock(Handle) {}
inline void HUnlock(Handle) {}

} // namespace QV
