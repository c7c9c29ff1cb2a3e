// The debugger link has one fixed local path and one fixed TCP port: tests
// that use either hold this lock, shared by every test program, for as long
// as they run.
#pragma once
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class DebugLinkLock {
public:
  DebugLinkLock() : mFd(open("/tmp/debugger-link.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666)) {
    if (mFd >= 0)
      flock(mFd, LOCK_EX);
  }
  ~DebugLinkLock() {
    if (mFd >= 0)
      close(mFd); // releases the lock
  }
  DebugLinkLock(const DebugLinkLock &) = delete;
  DebugLinkLock &operator=(const DebugLinkLock &) = delete;

private:
  int mFd;
};
