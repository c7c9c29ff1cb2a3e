#include "runtime/ExecutableMemoryPosix.h"

#include <sys/mman.h>

void *AllocateExecutableMemory(size_t size) {
  if (size == 0)
    size = 1;
  void *memory = mmap(nullptr, size, PROT_READ | PROT_WRITE | PROT_EXEC,
                      MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return memory == MAP_FAILED ? nullptr : memory;
}
