// The byte stream over the contents of one file inside a virtual volume: the
// file's data after its 256-byte object header, read and written through an
// open-file handle of the block store. The logical length lives in the object
// header; the stream reads it when it is made and writes it back when it is
// closed or flushed.
#pragma once
#include <cstdint>

#include "foundation/RandomAccessMechanism.h"
#include "foundation/VFSVolume.h"

struct RuntimeObject;

// Stream position 0 is this file position of the block-store file.
inline constexpr int32_t kObjectHeaderSize = 256;

class VFile final : public RandomAccessMechanism {
public:
  VFile() = default;
  ~VFile() override;

  bool ReadData(void *buffer, long count, long &got) override;
  bool WriteData(const void *buffer, long count) override;
  bool Close() override;
  bool IsEOF() override { return mPosition >= mLength; }
  bool SeekFromStart(long offset) override;
  long GetLength() override { return mLength; }
  // The logical length only; the blocks stay as they are.
  bool SetLength(long length) override;
  long GetPosition() override { return mPosition; }
  void FlushToDisk() override;

  // Releases the object held before and keeps a reference to this one.
  void SetVirtVolObject(RuntimeObject *volumeObject);
  // Writes the logical length into the object header when it differs.
  void UpdateFileHeader();

  VFSVolume *mVolume = nullptr;
  RuntimeObject *mVolumeObject = nullptr;
  int16_t mHandle = -1;
  int32_t mPosition = 0;
  bool mSeekNeeded = true;
  int32_t mLength = 0;
};
