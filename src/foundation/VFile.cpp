#include "foundation/VFile.h"

#include <climits>

#include "foundation/VolumeObjectReferences.h"

VFile::~VFile() {
  if (mHandle >= 0)
    Close();
  ReleaseVolumeObject(mVolumeObject);
  mVolumeObject = nullptr;
}

bool VFile::SeekFromStart(long offset) {
  if (!mVolume || mHandle < 0 || offset < 0 || offset > INT32_MAX - kObjectHeaderSize)
    return false;
  if (!mVolume->SetFilePosition(mHandle, static_cast<double>(offset) + kObjectHeaderSize))
    return false;
  mPosition = static_cast<int32_t>(offset);
  mSeekNeeded = false;
  return true;
}

bool VFile::ReadData(void *buffer, long count, long &got) {
  got = 0;
  if (!mVolume || mHandle < 0)
    return false;
  if (count < 0)
    return true;
  if (count > mLength - mPosition)
    count = mLength - mPosition;
  if (count <= 0)
    return true;
  if (mSeekNeeded && !SeekFromStart(mPosition))
    return false;
  double bytes = static_cast<double>(count);
  const bool ok = mVolume->ReadFileData(mHandle, &bytes, buffer);
  const int32_t read = bytes > 0 && bytes <= count ? static_cast<int32_t>(bytes) : 0;
  mPosition += read;
  got = read;
  if (!ok)
    mSeekNeeded = true;
  return ok;
}

bool VFile::WriteData(const void *buffer, long count) {
  if (!mVolume || mHandle < 0)
    return false;
  if (count > INT32_MAX - kObjectHeaderSize - mPosition)
    return false;
  if (mSeekNeeded && !SeekFromStart(mPosition))
    return false;
  const bool ok = mVolume->WriteFileData(mHandle, buffer, static_cast<double>(count));
  if (ok && count > 0)
    mPosition += static_cast<int32_t>(count);
  else if (!ok)
    mSeekNeeded = true; // the store may have moved part way
  if (mPosition > mLength)
    mLength = mPosition;
  return ok;
}

bool VFile::SetLength(long length) {
  mLength = length < 0 ? 0 : length > INT32_MAX ? INT32_MAX : static_cast<int32_t>(length);
  return true;
}

void VFile::UpdateFileHeader() {
  if (!mVolume || mHandle < 0)
    return;
  double stored = 0;
  if (mVolume->SetFilePosition(mHandle, 0) &&
      (!mVolume->ReadFileDouble(mHandle, stored) || stored != mLength) &&
      mVolume->SetFilePosition(mHandle, 0))
    mVolume->WriteFileDouble(mHandle, static_cast<double>(mLength));
  mSeekNeeded = true;
}

void VFile::FlushToDisk() {
  if (!mVolume || mHandle < 0)
    return;
  UpdateFileHeader();
  mVolume->FlushToDisk();
}

bool VFile::Close() {
  if (!mVolume || mHandle < 0)
    return false;
  UpdateFileHeader();
  mVolume->CloseFile(mHandle);
  // What was written is handed to the system before Close returns.
  mVolume->FlushStream();
  mHandle = -1;
  ReleaseVolumeObject(mVolumeObject);
  mVolumeObject = nullptr;
  mVolume = nullptr;
  return true;
}

void VFile::SetVirtVolObject(RuntimeObject *volumeObject) {
  RetainVolumeObject(volumeObject);
  ReleaseVolumeObject(mVolumeObject);
  mVolumeObject = volumeObject;
}
