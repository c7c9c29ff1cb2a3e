#include "foundation/Memory.h"

#include <cstdlib>
#include <unistd.h>

#include "foundation/MemoryExhaustion.h"

long gTotalAllocLen = 0;
SmallFreeBlock *gSmallFreeLists[kSmallBlockClasses];

namespace {
bool sMemoryLockFlag = false;

// Marks that the allocator has been entered; there is one thread, so this
// guards nothing.
inline void EnterAllocator() {
  if (!sMemoryLockFlag)
    sMemoryLockFlag = true;
}

char *Exhausted(MemFullHandling handling) {
  if (handling == kMemFullReturnNull)
    return nullptr;
  MemoryExhausted();
}

#if !SMALL_BLOCKS_USE_MALLOC
constexpr long kChunkSize = 8192;

char *sChunkCursor = nullptr;
long sChunkBytesLeft = 0;

// Cuts a block of class k from the current chunk, starting a new chunk when
// the current one is too short. The rest of an abandoned chunk is lost.
// Null when no new chunk can be had; the caller applies its policy.
char *CutFromChunk(int k) {
  long blockSize = 4L * k;
  if (sChunkBytesLeft < blockSize) {
    char *chunk = static_cast<char *>(std::malloc(kChunkSize));
    if (!chunk)
      return nullptr;
    sChunkCursor = chunk;
    sChunkBytesLeft = kChunkSize;
  }
  char *block = sChunkCursor;
  sChunkCursor += blockSize;
  sChunkBytesLeft -= blockSize;
  return block;
}
#endif
} // namespace

char *OSalloc(long size, MemFullHandling handling) {
  EnterAllocator();
  char *block = size >= 0 ? static_cast<char *>(std::malloc(static_cast<size_t>(size))) : nullptr;
  return block ? block : Exhausted(handling);
}

void OSfree(char *block) { std::free(block); }

char *OSalloclen(long size, MemFullHandling handling) {
  EnterAllocator();
  if (size <= 0)
    return nullptr;
  if (size > kLargestSmallBlock)
    return OSalloc(size, handling);
#if SMALL_BLOCKS_USE_MALLOC
  // Every block its own malloc block, of the exact size, so that memory
  // checkers see each one.
  char *block = static_cast<char *>(std::malloc(static_cast<size_t>(size)));
#else
  int k = SmallBlockClassOf(size);
  char *block;
  if (SmallFreeBlock *head = gSmallFreeLists[k]) {
    gSmallFreeLists[k] = head->next;
    block = reinterpret_cast<char *>(head);
  } else {
    block = CutFromChunk(k);
  }
#endif
  if (!block)
    return Exhausted(handling);
  // Counted only once the block exists, so a failed request leaves no trace.
  gTotalAllocLen += size;
  return block;
}

void OSfreelen(char *block, long size) {
  EnterAllocator();
  if (!block)
    return;
  if (size > kLargestSmallBlock) {
    OSfree(block);
    return;
  }
  gTotalAllocLen -= size;
#if SMALL_BLOCKS_USE_MALLOC
  std::free(block);
#else
  int k = SmallBlockClassOf(size);
  auto *freed = reinterpret_cast<SmallFreeBlock *>(block);
  freed->next = gSmallFreeLists[k];
  gSmallFreeLists[k] = freed;
#endif
}

void initializeMemoryCriticalSection() { sMemoryLockFlag = true; }

void deleteMemoryCriticalSection() { sMemoryLockFlag = false; }

void MemoryExhausted() {
  if (void (*leave)() = GetMemoryExhaustionHooks().leaveNoDrawingSelected)
    leave();
  ReportMemoryExhausted();
  // Nothing more can be relied upon to allocate, so no clean-up runs.
  _exit(EXIT_FAILURE);
}
