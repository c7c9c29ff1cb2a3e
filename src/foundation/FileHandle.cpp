#include "foundation/FileHandle.h"

#include <climits>
#include <cstring>

namespace {
// Slack added when a write grows the handle.
constexpr long kGrowthSlack = 2048;
} // namespace

FileHandle::~FileHandle() { DisposeOwnedHandle(); }

void FileHandle::DisposeOwnedHandle() {
  if (mOwnsHandle && mHandle)
    QV::DisposeHandle(mHandle);
  mHandle = nullptr;
}

void FileHandle::Reset() {
  DisposeOwnedHandle();
  mHandle = QV::NewHandle(0);
  mOwnsHandle = true;
  mCapacity = mPosition = mLength = 0;
  mFailed = false;
}

void FileHandle::Open(QV::Handle handle) {
  DisposeOwnedHandle();
  mHandle = handle;
  mOwnsHandle = false;
  mPosition = 0;
  mLength = mCapacity = QV::GetHandleSize(handle);
}

QV::Handle FileHandle::ExtractHandle() {
  if (mFailed)
    return nullptr;
  QV::Handle handle = mHandle ? mHandle : QV::NewHandle(0);
  QV::SetHandleSize(handle, static_cast<int32_t>(mLength));
  mHandle = nullptr;
  mOwnsHandle = true;
  mCapacity = mPosition = mLength = 0;
  return handle;
}

void FileHandle::ReserveExactly(long size) {
  if (size <= mCapacity)
    return;
  QV::SetHandleSize(mHandle, static_cast<int32_t>(size));
  mCapacity = size;
}

bool FileHandle::ReadData(void *buffer, long count, long &got) {
  const char *data = mHandle ? *mHandle : nullptr;
  return ReadFromMemory(data, mLength, mPosition, buffer, count, got);
}

bool FileHandle::WriteData(const void *buffer, long count) {
  // The common case first: a typed write that fits in the handle as it is.
  if (count > 0 && count <= 8 && count <= mCapacity - mPosition && mHandle && !mFailed) {
    long end = mPosition + count;
    char *target = *mHandle + mPosition;
    if (count == 4)
      memcpy(target, buffer, 4);
    else if (count == 8)
      memcpy(target, buffer, 8);
    else
      memcpy(target, buffer, static_cast<size_t>(count));
    ApplyEncryption(target, static_cast<int>(count));
    if (end > mLength)
      mLength = end;
    mPosition = end;
    return true;
  }
  if (mFailed || count < 0)
    return false;
  if (!mHandle) {
    if (mLength != 0) {
      mFailed = true;
      return false;
    }
    mHandle = QV::NewHandle(0);
    mOwnsHandle = true;
  }
  if (count == 0)
    return true;
  if (count > LONG_MAX - kGrowthSlack - mPosition) {
    mFailed = true; // no handle can be that large
    return false;
  }
  long end = mPosition + count;
  if (end > mLength) {
    if (end > mCapacity)
      ReserveExactly(end + kGrowthSlack);
    mLength = end;
  }
  char *target = *mHandle + mPosition;
  memcpy(target, buffer, static_cast<size_t>(count));
  ApplyEncryption(target, static_cast<int>(count));
  mPosition = end;
  return true;
}

bool FileHandle::SeekFromStart(long offset) {
  mPosition = ClampedPosition(offset, mLength);
  return true;
}

bool FileHandle::SetLength(long length) {
  if (length < 0)
    length = 0;
  if (!mHandle) {
    mHandle = QV::NewHandle(0);
    mOwnsHandle = true;
  }
  ReserveExactly(length);
  if (length > mLength)
    memset(*mHandle + mLength, 0, static_cast<size_t>(length - mLength));
  mLength = length;
  if (mPosition > mLength)
    mPosition = mLength;
  return true;
}
