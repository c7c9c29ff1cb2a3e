#include "database/DatabaseFilePosix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

void (*gDatabaseFileWriteHook)(int64_t offset, int32_t count, const void *bytes) = nullptr;

DatabaseFile::~DatabaseFile() { Close(); }

bool DatabaseFile::Fail(const char *operation) {
  mFailure = string(operation) + string(": ") + string(std::strerror(errno ? errno : EIO));
  return false;
}

bool DatabaseFile::Lock(int operation) {
  while (::flock(mDescriptor, operation | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    int error = errno;
    Close();
    if (error == EWOULDBLOCK) {
      errno = 0;
      mFailure = string("open: the file is in use by another database handle");
      return false;
    }
    errno = error;
    return Fail("lock");
  }
  return true;
}

bool DatabaseFile::Create(const string &path) {
  Close();
  mPath = path;
  mReadOnly = false;
  // Truncated only once the lock is ours: a file another handle uses stays whole.
  mDescriptor = ::open64(path.CString(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (mDescriptor < 0) return Fail("create");
  if (!Lock(LOCK_EX)) return false;
  return ::ftruncate64(mDescriptor, 0) == 0 || Fail("create");
}

bool DatabaseFile::Open(const string &path) {
  Close();
  mPath = path;
  mReadOnly = false;
  mDescriptor = ::open64(path.CString(), O_RDWR | O_CLOEXEC);
  if (mDescriptor < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
    mDescriptor = ::open64(path.CString(), O_RDONLY | O_CLOEXEC);
    mReadOnly = mDescriptor >= 0;
  }
  if (mDescriptor < 0) return Fail("open");
  // Writers hold the file alone; readers share it with readers only.
  if (!Lock(mReadOnly ? LOCK_SH : LOCK_EX)) return false;
  struct stat64 info;
  if (::fstat64(mDescriptor, &info) != 0) return Fail("open");
  if (!S_ISREG(info.st_mode)) {
    errno = EINVAL;
    Close();
    return Fail("open");
  }
  return true;
}

bool DatabaseFile::ReadAt(int64_t offset, void *buffer, int32_t count) {
  auto *bytes = static_cast<uint8_t *>(buffer);
  while (count > 0) {
    ssize_t got = ::pread64(mDescriptor, bytes, size_t(count), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Fail("read");
    if (got == 0) {
      errno = 0;
      mFailure = string("read: the file ends early");
      return false;
    }
    bytes += got;
    count -= int32_t(got);
    offset += got;
  }
  return true;
}

bool DatabaseFile::WriteAt(int64_t offset, const void *buffer, int32_t count) {
  if (mReadOnly) {
    errno = EBADF;
    return Fail("write");
  }
  if (gDatabaseFileWriteHook) gDatabaseFileWriteHook(offset, count, buffer);
  const auto *bytes = static_cast<const uint8_t *>(buffer);
  while (count > 0) {
    ssize_t put = ::pwrite64(mDescriptor, bytes, size_t(count), offset);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return Fail("write");
    bytes += put;
    count -= int32_t(put);
    offset += put;
  }
  return true;
}

int64_t DatabaseFile::Length() {
  struct stat64 info;
  if (::fstat64(mDescriptor, &info) != 0) {
    Fail("length");
    return -1;
  }
  return info.st_size;
}

bool DatabaseFile::SetLength(int64_t length) {
  if (gDatabaseFileWriteHook) gDatabaseFileWriteHook(-1, 0, nullptr);
  return ::ftruncate64(mDescriptor, length) == 0 || Fail("set length");
}

bool DatabaseFile::Flush() {
  if (mReadOnly) return true;
  if (gDatabaseFileWriteHook) gDatabaseFileWriteHook(-2, 0, nullptr);
  return ::fsync(mDescriptor) == 0 || Fail("flush");
}

void DatabaseFile::Close() {
  if (mDescriptor >= 0) ::close(mDescriptor);
  mDescriptor = -1;
}

bool RemoveDatabaseFile(const string &path) {
  return ::unlink(path.CString()) == 0 || errno == ENOENT;
}

bool SyncFolderOf(const string &path) {
  string folder(".");
  for (int i = path.Length(); i-- > 0;) {
    if (path.CString()[i] == '/') {
      folder.ConstructFromBuffer(path.CString(), i ? i : 1);
      break;
    }
  }
  if (gDatabaseFileWriteHook) gDatabaseFileWriteHook(-2, 0, nullptr);
  int descriptor = ::open64(folder.CString(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return false;
  bool ok = ::fsync(descriptor) == 0;
  ::close(descriptor);
  return ok;
}

bool DatabaseFileExists(const string &path) {
  struct stat64 info;
  return ::stat64(path.CString(), &info) == 0;
}
