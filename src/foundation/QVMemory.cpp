#include "foundation/QVMemory.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/Memory.h"

namespace QV {

namespace {

// A negative size is a caller's fault; it gets an empty block rather than an
// allocation that can only fail.
long CheckedSize(int32_t size) { return RUNTIME_CHECK(size >= 0) ? size : 0; }

HandleRecord *Record(Handle handle) { return reinterpret_cast<HandleRecord *>(handle); }

Handle NewHandleHolding(char *data, int32_t size) {
  auto *record = reinterpret_cast<HandleRecord *>(OSalloclen(sizeof(HandleRecord), kMemFullQuit));
  record->data = data;
  record->size = size;
  return reinterpret_cast<Handle>(record);
}

} // namespace

char *NewPtr(int32_t size) { return OSalloc(CheckedSize(size), kMemFullQuit); }

char *NewPtrClear(int32_t size) {
  long checked = CheckedSize(size);
  char *pointer = OSalloc(checked, kMemFullQuit);
  std::memset(pointer, 0, static_cast<size_t>(checked));
  return pointer;
}

void DisposePtr(char *pointer) { OSfree(pointer); }

void BlockMoveData(const void *src, void *dst, int32_t n) { umemmove(dst, src, n); }

Handle NewHandle(int32_t size) {
  long checked = CheckedSize(size);
  return NewHandleHolding(OSalloc(checked, kMemFullQuit), static_cast<int32_t>(checked));
}

Handle NewHandleClear(int32_t size) {
  Handle handle = NewHandle(size);
  std::memset(*handle, 0, static_cast<size_t>(Record(handle)->size));
  return handle;
}

Handle TempNewHandle(int32_t size, int16_t *) { return NewHandle(size); }

int32_t GetHandleSize(Handle handle) { return handle ? Record(handle)->size : 0; }

void SetHandleSize(Handle handle, int32_t size) {
  if (!handle)
    return;
  HandleRecord *record = Record(handle);
  long checked = CheckedSize(size);
  if (checked == record->size)
    return;
  char *data = OSalloc(checked, kMemFullQuit);
  std::memcpy(data, record->data,
              static_cast<size_t>(checked < record->size ? checked : record->size));
  OSfree(record->data);
  record->data = data;
  record->size = static_cast<int32_t>(checked);
}

bool HandToHand(Handle *handle) {
  int32_t size = GetHandleSize(*handle);
  if (size == 0)
    return false;
  Handle copy = NewHandle(size);
  std::memcpy(*copy, **handle, static_cast<size_t>(size));
  *handle = copy;
  return true;
}

void DisposeHandle(Handle handle) {
  if (!handle)
    return;
  OSfree(Record(handle)->data);
  OSfreelen(reinterpret_cast<char *>(handle), sizeof(HandleRecord));
}

} // namespace QV
