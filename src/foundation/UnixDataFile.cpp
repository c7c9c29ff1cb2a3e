#include "foundation/UnixDataFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
const char kTemporaryFolder[] = "/tmp/";
} // namespace

DataFile *DataFile::New() { return new UnixDataFile; }

UnixDataFile::~UnixDataFile() { Close(); }

bool UnixDataFile::Fail() {
  mLastError = errno;
  return false;
}

bool UnixDataFile::Adopt(FILE *stream) {
  if (!stream)
    return Fail();
  if (mStream)
    fclose(mStream);
  mStream = stream;
  mDirection = kNoDirection;
  return true;
}

// Every stream is opened close-on-exec ("e"): a program the runtime starts
// inherits none of its files.
bool UnixDataFile::Create(const string &path) { return Adopt(fopen(path.CString(), "w+e")); }

bool UnixDataFile::Open(const string &path, int permission) {
  const char *mode;
  switch (permission) {
  case kReadPermission:
    mode = "re";
    break;
  case kReadWritePermission:
    mode = "r+e";
    break;
  default:
    return ShowAlert(kOpenPermissionAlert, kOpenPermissionMessage);
  }
  return Adopt(fopen(path.CString(), mode));
}

bool UnixDataFile::CreateTemporaryFile(const string &name) {
  if (name.Compare(string()) == 0) {
    FILE *stream = tmpfile();
    if (stream)
      fcntl(fileno(stream), F_SETFD, FD_CLOEXEC);
    return Adopt(stream);
  }
  for (int i = 0; i < name.Length(); ++i) {
    if (name.CString()[i] == '/' || name.CString()[i] == '\0') {
      mLastError = EINVAL; // the name must stay inside the temporary folder
      return false;
    }
  }
  string path = string(kTemporaryFolder) + name;
  int descriptor = open(path.CString(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (descriptor < 0)
    return Fail();
  FILE *stream = fdopen(descriptor, "w+");
  if (!stream) {
    Fail();
    close(descriptor);
    unlink(path.CString());
    return false;
  }
  return Adopt(stream);
}

void UnixDataFile::TemporaryClose() {
  if (!mStream)
    return;
  if (fclose(mStream) != 0)
    mLastError = errno;
  mStream = nullptr;
}

void UnixDataFile::TurnTo(int direction) {
  if (mDirection != kNoDirection && mDirection != direction)
    fseek(mStream, 0, SEEK_CUR);
  mDirection = direction;
}

bool UnixDataFile::ReadData(void *buffer, long count, long &got) {
  got = 0;
  if (!buffer) {
    return ShowAlert(kReadBufferAlert);
  }
  if (!mStream || count < 0)
    return false;
  TurnTo(kReading);
  errno = 0;
  size_t read = fread(buffer, 1, static_cast<size_t>(count), mStream);
  got = static_cast<long>(read);
  if (ferror(mStream) && errno != 0)
    mLastError = errno;
  return read > 0;
}

bool UnixDataFile::WriteData(const void *buffer, long count) {
  if (!mStream || count < 0 || (count > 0 && !buffer))
    return false;
  TurnTo(kWriting);
  errno = 0;
  size_t written = fwrite(buffer, 1, static_cast<size_t>(count), mStream);
  if (ferror(mStream) && errno != 0)
    mLastError = errno;
  return written == static_cast<size_t>(count);
}

bool UnixDataFile::IsEOF() { return !mStream || feof(mStream); }

bool UnixDataFile::SeekFromStart(long offset) {
  if (!mStream)
    return false;
  errno = 0;
  if (fseek(mStream, offset, SEEK_SET) != 0) {
    if (errno != 0)
      mLastError = errno;
    return false;
  }
  mDirection = kNoDirection;
  return true;
}

long UnixDataFile::GetPosition() {
  if (!mStream)
    return -1;
  long position = ftell(mStream);
  if (position < 0) {
    Fail();
    return 0;
  }
  return position;
}

long UnixDataFile::GetLength() {
  if (!mStream)
    return -1;
  long position = ftell(mStream);
  if (position < 0 || fseek(mStream, 0, SEEK_END) != 0)
    return Fail(), -1;
  long length = ftell(mStream);
  if (fseek(mStream, position, SEEK_SET) != 0)
    return Fail(), -1;
  mDirection = kNoDirection;
  return length;
}

bool UnixDataFile::SetLength(long length) {
  if (!mStream)
    return false;
  // Bytes still in the stream's buffer would otherwise land after the cut.
  if (fflush(mStream) != 0 || ftruncate(fileno(mStream), length) != 0)
    return Fail();
  return true;
}

void UnixDataFile::FlushToDisk() {
  if (mStream && fflush(mStream) != 0)
    mLastError = errno;
}

void UnixDataFile::FlushBuffer() { FlushToDisk(); }

bool UnixDataFile::Close() {
  // The cleaner would close the file too; detaching it lets this call report
  // what the system said.
  DetachCleaner();
  if (!mStream)
    return false;
  bool flushed = fflush(mStream) == 0;
  if (!flushed)
    mLastError = errno;
  bool closed = fclose(mStream) == 0;
  if (!closed)
    mLastError = errno;
  mStream = nullptr;
  mDirection = kNoDirection;
  return flushed && closed;
}
