// The kernel copies the bytes: process_vm_readv/writev on the own process
// where the kernel offers them, otherwise through a pipe (a write from the
// address, or a read into it, fails with EFAULT when it is not accessible).
// Both are raw system calls, so no library wrapper inspects the address.
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include "debugger/GuardedMemory.h"

namespace {

constexpr size_t kPage = 4096;

bool sNoVMCalls = false;
int sPipe[2] = {-1, -1};

bool PipeReady() {
  if (sPipe[0] >= 0)
    return true;
  return syscall(SYS_pipe2, sPipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

void DrainPipe() {
  char scrap[256];
  while (syscall(SYS_read, sPipe[0], scrap, sizeof scrap) > 0) {
  }
}

// One copy of at most a page: 1 done, 0 refused, -1 not offered.
int VMCopy(bool write, uintptr_t address, void *local, size_t n) {
  if (sNoVMCalls)
    return -1;
  struct iovec mine = {local, n};
  struct iovec theirs = {reinterpret_cast<void *>(address), n};
  const long done = syscall(write ? SYS_process_vm_writev : SYS_process_vm_readv, getpid(), &mine,
                            1, &theirs, 1, 0);
  if (done < 0 && errno == ENOSYS) {
    sNoVMCalls = true;
    return -1;
  }
  return done == long(n) ? 1 : 0;
}

bool PipeCopy(bool write, uintptr_t address, void *local, size_t n) {
  if (!PipeReady())
    return false;
  void *from = write ? local : reinterpret_cast<void *>(address);
  void *to = write ? reinterpret_cast<void *>(address) : local;
  if (syscall(SYS_write, sPipe[1], from, n) != long(n)) {
    DrainPipe();
    return false;
  }
  const bool copied = syscall(SYS_read, sPipe[0], to, n) == long(n);
  DrainPipe();
  return copied;
}

// Copies in pieces that do not cross a page boundary; stops at the first
// piece that fails.
bool Copy(bool write, uintptr_t address, char *local, size_t n) {
  while (n > 0) {
    const size_t piece = std::min(n, kPage - (address % kPage));
    if (address + piece < address)
      return false; // wraps around the address space
    const int vm = VMCopy(write, address, local, piece);
    if (vm == 0 || (vm < 0 && !PipeCopy(write, address, local, piece)))
      return false;
    address += piece;
    local += piece;
    n -= piece;
  }
  return true;
}

} // namespace

bool ReadGuarded(uintptr_t address, void *out, size_t n) {
  std::string bytes(n, '\0');
  if (!Copy(false, address, bytes.data(), n))
    return false;
  std::memcpy(out, bytes.data(), n);
  return true;
}

bool WriteGuarded(uintptr_t address, const void *in, size_t n) {
  if (n == 0)
    return true;
  const uintptr_t end = address + n;
  if (end < address)
    return false; // wraps around the address space
  // Each page the bytes touch must take a write before any is stored: its
  // first touched byte is read and stored back unchanged.
  for (uintptr_t at = address; at < end && at >= address; at = (at / kPage + 1) * kPage) {
    char probe;
    if (!Copy(false, at, &probe, 1) || !Copy(true, at, &probe, 1))
      return false;
  }
  std::string bytes(static_cast<const char *>(in), n);
  return Copy(true, address, bytes.data(), n);
}
