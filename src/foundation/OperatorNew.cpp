// The global operator new and delete: every object comes from the small-block
// allocator with a size word and a guard word in front of it, so that a
// release of a block that is not live is caught.
#include <climits>
#include <new>

#include "foundation/Memory.h"

namespace {
// size + header must still be a valid, positive request.
constexpr size_t kLargestObject = LONG_MAX - sizeof(ObjectBlockHeader);

void *NewObject(size_t size, MemFullHandling handling) {
  if (size > kLargestObject) {
    if (handling == kMemFullReturnNull)
      return nullptr;
    MemoryExhausted();
  }
  long blockSize = static_cast<long>(size + sizeof(ObjectBlockHeader));
  auto *header = reinterpret_cast<ObjectBlockHeader *>(OSalloclen(blockSize, handling));
  if (!header)
    return nullptr;
  header->size = static_cast<uint32_t>(size);
  header->guard = kLiveBlockGuard;
  return header + 1;
}

void DeleteObject(void *object) {
  if (!object)
    return;
  ObjectBlockHeader *header = static_cast<ObjectBlockHeader *>(object) - 1;
  if (header->guard != kLiveBlockGuard) {
    // Released twice, never ours, or its header overwritten: the size word
    // cannot be trusted, so the block is left where it is.
    ShowAlert(kOverwroteBlockAlert, kOverwroteBlockMessage);
    return;
  }
  header->guard = kReleasedBlockGuard;
  OSfreelen(reinterpret_cast<char *>(header),
            static_cast<long>(header->size + sizeof(ObjectBlockHeader)));
}
} // namespace

void *operator new(size_t size) { return NewObject(size, kMemFullQuit); }
void *operator new[](size_t size) { return NewObject(size, kMemFullQuit); }
void *operator new(size_t size, const std::nothrow_t &) noexcept {
  return NewObject(size, kMemFullReturnNull);
}
void *operator new[](size_t size, const std::nothrow_t &) noexcept {
  return NewObject(size, kMemFullReturnNull);
}

void operator delete(void *object) noexcept { DeleteObject(object); }
void operator delete[](void *object) noexcept { DeleteObject(object); }
void operator delete(void *object, size_t) noexcept { DeleteObject(object); }
void operator delete[](void *object, size_t) noexcept { DeleteObject(object); }
void operator delete(void *object, const std::nothrow_t &) noexcept { DeleteObject(object); }
void operator delete[](void *object, const std::nothrow_t &) noexcept { DeleteObject(object); }
