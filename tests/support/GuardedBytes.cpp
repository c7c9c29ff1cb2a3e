#include "support/GuardedBytes.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>

GuardedBytes::GuardedBytes(const std::string &bytes) : mSize(bytes.size()) {
  size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  size_t dataPages = (mSize + page - 1) / page + 1;
  mMappingSize = (dataPages + 1) * page;
  mMapping =
      mmap(nullptr, mMappingSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mMapping == MAP_FAILED)
    abort();
  unsigned char *guard = static_cast<unsigned char *>(mMapping) + dataPages * page;
  if (mprotect(guard, page, PROT_NONE) != 0)
    abort();
  unsigned char *begin = guard - mSize;
  memcpy(begin, bytes.data(), mSize);
  mBegin = begin;
}

GuardedBytes::~GuardedBytes() { munmap(mMapping, mMappingSize); }
