#include "foundation/FilePtr.h"

#include "foundation/AssertionAlert.h"

namespace {
const char kSourcePath[] = "../Universal/FileIO/file";
constexpr int kWriteCheckLine = 571;
constexpr int kSetLengthCheckLine = 603;

bool RefuseChange(int line) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSourcePath, line, "0", nullptr);
  return false;
}
} // namespace

void FilePtr::Open(const void *data, long length) {
  mData = static_cast<const char *>(data);
  mLength = length < 0 ? 0 : length;
  mPosition = 0;
}

bool FilePtr::ReadData(void *buffer, long count, long &got) {
  return ReadFromMemory(mData, mLength, mPosition, buffer, count, got);
}

bool FilePtr::WriteData(const void *, long) { return RefuseChange(kWriteCheckLine); }

bool FilePtr::SetLength(long) { return RefuseChange(kSetLengthCheckLine); }

bool FilePtr::SeekFromStart(long offset) {
  mPosition = ClampedPosition(offset, mLength);
  return true;
}
