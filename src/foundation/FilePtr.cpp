#include "foundation/FilePtr.h"

void FilePtr::Open(const void *data, long length) {
  mData = static_cast<const char *>(data);
  mLength = length < 0 ? 0 : length;
  mPosition = 0;
}

bool FilePtr::ReadData(void *buffer, long count, long &got) {
  return ReadFromMemory(mData, mLength, mPosition, buffer, count, got);
}

bool FilePtr::WriteData(const void *, long) { return ShowAlert(kFilePtrWriteAlert); }

bool FilePtr::SetLength(long) { return ShowAlert(kFilePtrSetLengthAlert); }

bool FilePtr::SeekFromStart(long offset) {
  mPosition = ClampedPosition(offset, mLength);
  return true;
}
