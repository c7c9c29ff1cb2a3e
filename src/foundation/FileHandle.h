// A read-write byte stream in memory, over a handle that grows as it is
// written. The stream owns the handle it makes; one it is given to open stays
// the caller's.
#pragma once
#include "foundation/QVMemory.h"
#include "foundation/RandomAccessMechanism.h"

class FileHandle final : public RandomAccessMechanism {
public:
  FileHandle() = default;
  ~FileHandle() override;

  // Drops the current data and starts over with an empty handle of its own.
  void Reset();
  // Reads and writes the given handle (not owned) from position 0.
  void Open(QV::Handle handle);
  // Hands the data over in a handle trimmed to the length, and empties the
  // stream; null after a failed write.
  QV::Handle ExtractHandle();
  QV::Handle GetHandle() const { return mHandle; }

  bool ReadData(void *buffer, long count, long &got) override;
  // Grows the handle 2048 bytes beyond what a write needs, so that runs of
  // small writes seldom move the data. A failed write fails every later one.
  bool WriteData(const void *buffer, long count) override;
  bool Close() override { return !mFailed; }
  bool IsEOF() override { return mPosition >= mLength; }
  // Clamped to [0, length]; always true.
  bool SeekFromStart(long offset) override;
  long GetLength() override { return mLength; }
  // Negative lengths count as 0; bytes added at the end read as zeros.
  bool SetLength(long length) override;
  long GetPosition() override { return mPosition; }

private:
  void DisposeOwnedHandle();
  // Makes the handle hold at least size bytes (exactly size when it grows).
  void ReserveExactly(long size);

  long mCapacity = 0; // bytes allocated in the handle
  long mPosition = 0;
  long mLength = 0;
  bool mFailed = false;
  bool mOwnsHandle = true;
  QV::Handle mHandle = nullptr;
};
