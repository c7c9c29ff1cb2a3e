#include "runtime/image/ExecutableMemoryPosix.h"

#include <sys/mman.h>

namespace {
// mmap and munmap take no mapping of 0 bytes.
size_t MappedSize(size_t size) { return size ? size : 1; }
} // namespace

void *AllocateExecutableMemory(size_t size) {
  size = MappedSize(size);
  void *memory =
      mmap(nullptr, size, PROT_READ | PROT_WRITE | PROT_EXEC, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return memory == MAP_FAILED ? nullptr : memory;
}

void ReleaseExecutableMemory(void *memory, size_t size) {
  if (memory)
    munmap(memory, MappedSize(size));
}
