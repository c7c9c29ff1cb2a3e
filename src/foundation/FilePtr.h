// A read-only byte stream over a buffer that the caller owns and keeps alive.
#pragma once
#include "foundation/AssertionAlert.h"
#include "foundation/RandomAccessMechanism.h"

// The alerts of a refused write and a refused resize.
inline constexpr char kFilePtrAlertSource[] = "../Universal/FileIO/file";
inline constexpr AlertSite kFilePtrWriteAlert{kFilePtrAlertSource, 571, "0"};
inline constexpr AlertSite kFilePtrSetLengthAlert{kFilePtrAlertSource, 603, "0"};

class FilePtr final : public RandomAccessMechanism {
public:
  FilePtr() = default;

  // Reads from the length bytes at data, starting at position 0.
  void Open(const void *data, long length);

  bool ReadData(void *buffer, long count, long &got) override;
  // Writing and resizing alert and fail: the buffer is read only.
  bool WriteData(const void *buffer, long count) override;
  bool SetLength(long length) override;
  bool Close() override { return true; }
  bool IsEOF() override { return mPosition >= mLength; }
  // Clamped to [0, length]; always true.
  bool SeekFromStart(long offset) override;
  long GetLength() override { return mLength; }
  long GetPosition() override { return mPosition; }

private:
  long mPosition = 0;
  const char *mData = nullptr;
  long mLength = 0;
};
