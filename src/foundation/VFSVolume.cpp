#include "foundation/VFSVolume.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <memory>

#include "foundation/ByteOrder.h"

namespace {

constexpr int32_t kMaximumOpenFiles = 32767;

// A double read from the file counts only when it is finite, whole and
// within [low, high].
bool WholeInRange(double value, int64_t low, int64_t high, int64_t &out) {
  if (!std::isfinite(value) || value != std::floor(value) || value < static_cast<double>(low) ||
      value > static_cast<double>(high))
    return false;
  out = static_cast<int64_t>(value);
  return true;
}

void StoreDouble(char *at, double value, bool bigEndian) {
  hstoredouble8(at, bigEndian ? SwapEndianDouble(value) : value);
}

double LoadDouble(const char *at, bool bigEndian) {
  double value;
  std::memcpy(&value, at, 8);
  return bigEndian ? SwapEndianDouble(value) : value;
}

} // namespace

VFSVolume::VFSVolume() { Initialize(); }

void VFSVolume::Initialize() {
  mValid = false;
  mMetadataPosition = -1;
  mMinReuseSize = 256;
  mNewBlockSize = 1024;
  mMaxReuseSize = 16384;
  for (VFSFileRef *record : mOpenFiles)
    delete record;
  mOpenFiles.resize(0);
  delete mBlockMap;
  mBlockMap = new BlockMap;
  mZeroFillNewBlocks = true;
  mVersion = kVolumeVersion;
  mMapStored = false;
  mMapRebuilt = false;
}

VFSVolume *VFSVolume::Create(RandomAccessMechanism *stream, bool ownsStream) {
  if (!stream) {
    ShowAlert(kVFSDiskFileAlert);
    return nullptr;
  }
  bool ok = stream->SetLength(0);
  VFSVolume *volume = new VFSVolume;
  stream->SetBigEndian();
  stream->mSwapDoubles = 1;
  volume->mStream = stream;
  volume->mOwnsStream = ownsStream;
  volume->mFileLength = 0;

  char bytes[kVolumeHeaderSize];
  nstorelong(bytes, kVolumeMagic);
  nstorelong(bytes + 4, kVolumeVersion);
  ok = ok && stream->SeekFromStart(0) && stream->WriteData(bytes, sizeof bytes);
  const VFSBlockHeader header{kBlockMagic, kMetadataIdnum, 0,
                              static_cast<double>(kNewMetadataBlockLength), 0};
  ok = ok && volume->WriteHeader(header);
  volume->mMetadataPosition = kVolumeHeaderSize + kBlockHeaderSize;
  char data[12];
  nstorelong(data, kFirstNewIdnum);
  nstorelong(data + 4, 0);
  nstorelong(data + 8, kBlockTrailer);
  ok = ok && stream->WriteData(data, sizeof data);
  volume->mFileLength = kVolumeHeaderSize + kNewMetadataBlockLength;
  volume->mBlockMap->AddEntry(kMetadataIdnum, kVolumeHeaderSize, 0);
  volume->mValid = ok;
  return volume;
}

VFSVolume::VFSVolume(RandomAccessMechanism *stream, bool ownsStream) {
  Initialize();
  if (!stream) {
    ShowAlert(kVFSDiskFileAlert);
    return;
  }
  mStream = stream;
  stream->SetBigEndian();
  const long length = stream->GetLength();
  char bytes[kVolumeHeaderSize];
  long got = 0;
  bool ok = length >= 0 && length <= kMaximumVolumeLength && stream->SeekFromStart(0) &&
            stream->ReadData(bytes, sizeof bytes, got) && got == sizeof bytes &&
            nloadlong(bytes) == kVolumeMagic;
  const uint32_t version = ok ? nloadlong(bytes + 4) : 0;
  if (!ok || version == 0 || version > kNewestReadableVersion) {
    if (ownsStream)
      delete stream;
    mStream = nullptr;
    return;
  }
  mFileLength = length;
  stream->mSwapDoubles = version >= kFirstBigEndianDoublesVersion ? 1 : 0;
  mVersion = version;
  mOwnsStream = ownsStream;

  VFSBlockHeader first;
  if (!ReadHeaderAt(kVolumeHeaderSize, first) || first.mIdnum != kMetadataIdnum ||
      first.mSequence != 0)
    return;
  mMetadataPosition = kVolumeHeaderSize + kBlockHeaderSize;
  mValid = true;
  if (LoadStoredBlockMap()) {
    mMapStored = true;
    return;
  }
  RebuildBlockMapFromScratch();
  UpdateBlockMap();
}

VFSVolume::~VFSVolume() {
  if (mValid && mStream)
    UpdateBlockMap();
  for (VFSFileRef *record : mOpenFiles)
    delete record;
  if (mStream) {
    mStream->Close();
    if (mOwnsStream)
      delete mStream;
  }
  delete mBlockMap;
}

bool VFSVolume::SeekTo(int64_t offset) {
  if (offset < 0 || offset > mFileLength || offset > kMaximumVolumeLength)
    return false;
  return mStream->SeekFromStart(static_cast<long>(offset));
}

bool VFSVolume::ReadHeaderAt(int64_t start, VFSBlockHeader &header) {
  if (!mStream || start < kVolumeHeaderSize || start + kBlockHeaderSize > mFileLength ||
      !SeekTo(start))
    return false;
  char bytes[kBlockHeaderSize];
  long got = 0;
  if (!mStream->ReadData(bytes, sizeof bytes, got) || got != sizeof bytes)
    return false;
  const bool bigDoubles = mStream->mBigEndian && mStream->mSwapDoubles;
  VFSBlockHeader read;
  read.mMagic = nloadlong(bytes + kBlockMagicOffset);
  read.mIdnum = nloadlong(bytes + kBlockIdnumOffset);
  read.mSequence = nloadlong(bytes + kBlockSequenceOffset);
  read.mBlockLength = LoadDouble(bytes + kBlockLengthOffset, bigDoubles);
  read.mNextBlock = LoadDouble(bytes + kBlockNextOffset, bigDoubles);
  int64_t length = 0, next = 0;
  if (read.mMagic != kBlockMagic ||
      !WholeInRange(read.mBlockLength, kMinimumBlockLength, mFileLength - start, length) ||
      !WholeInRange(read.mNextBlock, 0, mFileLength - kMinimumBlockLength, next))
    return false;
  if (next != 0 && (next == start || next < kVolumeHeaderSize))
    return false;
  header = read;
  return true;
}

bool VFSVolume::ReadHeader(VFSBlockHeader *header) {
  if (!header) {
    ShowAlert(kVFSOutHeaderAlert);
    return false;
  }
  return mStream && ReadHeaderAt(mStream->GetPosition(), *header);
}

bool VFSVolume::ReadHeader(VFSFileRef *record) {
  if (!record)
    return false;
  VFSBlockHeader header;
  if (!ReadHeaderAt(static_cast<int64_t>(record->mBlockStart), header) ||
      header.mIdnum != record->mBlockHeader.mIdnum ||
      header.mSequence != record->mBlockHeader.mSequence ||
      header.mBlockLength != record->mBlockHeader.mBlockLength) {
    record->mBlockHeader.mIdnum = kFreeBlockIdnum;
    return false;
  }
  record->mBlockHeader = header;
  return true;
}

void VFSVolume::EncodeHeader(const VFSBlockHeader &header, char *bytes) const {
  const bool bigDoubles = mStream->mBigEndian && mStream->mSwapDoubles;
  nstorelong(bytes + kBlockMagicOffset, header.mMagic);
  nstorelong(bytes + kBlockIdnumOffset, header.mIdnum);
  nstorelong(bytes + kBlockSequenceOffset, header.mSequence);
  StoreDouble(bytes + kBlockLengthOffset, header.mBlockLength, bigDoubles);
  StoreDouble(bytes + kBlockNextOffset, header.mNextBlock, bigDoubles);
}

bool VFSVolume::WriteHeader(const VFSBlockHeader &header) {
  if (!mStream)
    return false;
  char bytes[kBlockHeaderSize];
  EncodeHeader(header, bytes);
  return mStream->WriteData(bytes, sizeof bytes);
}

bool VFSVolume::WriteHeaderAt(int64_t start, const VFSBlockHeader &header) {
  return SeekTo(start) && WriteHeader(header);
}

bool VFSVolume::LoadStoredBlockMap() {
  char sizeBytes[4];
  if (!ReadMetadataBytes(kBlockMapSizeDataOffset, sizeBytes, 4))
    return false;
  const int64_t size = nloadlong(sizeBytes);
  if (size < kBlockMapRecordHeaderSize || size > mFileLength)
    return false;
  std::unique_ptr<char[]> record(new (std::nothrow) char[size]);
  if (!record || !ReadMetadataBytes(kBlockMapRecordDataOffset, record.get(), size) ||
      !mBlockMap->ConstructBlockMapFromBuffer(record.get(), static_cast<int32_t>(size))) {
    mBlockMap->Clear();
    return false;
  }
  for (int32_t i = 0; i < mBlockMap->Count(); ++i) {
    const int64_t start = mBlockMap->Entry(i).mBlockStart;
    if (start < kVolumeHeaderSize || start + kMinimumBlockLength > mFileLength) {
      mBlockMap->Clear();
      return false;
    }
  }
  return true;
}

void VFSVolume::RebuildBlockMapFromScratch() {
  if (!mStream)
    return;
  mMapRebuilt = true;
  InvalidateStoredMap();
  mBlockMap->Clear();
  int64_t position = kVolumeHeaderSize;
  const int64_t steps = MaxWalkSteps();
  VFSBlockHeader header;
  for (int64_t step = 0; step < steps && position < mFileLength; ++step) {
    if (!ReadHeaderAt(position, header))
      break;
    const bool free = header.mIdnum == kFreeBlockIdnum;
    mBlockMap->AddEntry(header.mIdnum, static_cast<uint32_t>(position),
                        free ? 0 : header.mSequence);
    position += static_cast<int64_t>(header.mBlockLength);
  }
  // Only an append cut short leaves less than one new block of unreadable
  // bytes at the end: drop them, so that the next append starts clean.
  if (position > kVolumeHeaderSize && position < mFileLength &&
      mFileLength - position < kTornAppendLimit && mStream->SetLength(static_cast<long>(position)))
    mFileLength = position;
}

bool VFSVolume::RebuildAfterMiss() {
  if (mMapRebuilt)
    return false;
  RebuildBlockMapFromScratch();
  return true;
}

bool VFSVolume::InvalidateStoredMap() {
  if (!mMapStored)
    return true;
  mMapStored = false;
  const char zero[4] = {0, 0, 0, 0};
  return WriteMetadataBytes(kBlockMapSizeDataOffset, zero, 4);
}

bool VFSVolume::WriteMetadataBytes(int64_t dataOffset, const void *bytes, int64_t count) {
  const int16_t handle = OpenFile(kMetadataIdnum);
  const bool ok = handle >= 0 && SetFilePosition(handle, static_cast<double>(dataOffset)) &&
                  WriteFileData(handle, bytes, static_cast<double>(count));
  CloseFile(handle);
  return ok;
}

bool VFSVolume::ReadMetadataBytes(int64_t dataOffset, void *bytes, int64_t count) {
  const int16_t handle = OpenFile(kMetadataIdnum);
  double got = static_cast<double>(count);
  const bool ok = handle >= 0 && SetFilePosition(handle, static_cast<double>(dataOffset)) &&
                  ReadFileData(handle, &got, bytes) && got == static_cast<double>(count);
  CloseFile(handle);
  return ok;
}

void VFSVolume::UpdateBlockMap() {
  if (!mValid || !mStream || mMapStored)
    return;
  // The record is complete before its size makes it count. Blocks that file 1
  // takes to hold a grown record are not in it; they are found again through
  // file 1's chain.
  char *record = nullptr;
  const int32_t size = mBlockMap->WriteBlockMapToBuffer(record);
  const bool ok = WriteMetadataBytes(kBlockMapRecordDataOffset, record, size);
  delete[] record;
  if (!ok)
    return;
  char sizeBytes[4];
  nstorelong(sizeBytes, static_cast<uint32_t>(size));
  mMapStored = false;
  if (WriteMetadataBytes(kBlockMapSizeDataOffset, sizeBytes, 4))
    mMapStored = true;
}

void VFSVolume::FlushToDisk() {
  UpdateBlockMap();
  if (mStream)
    mStream->FlushToDisk();
}

void VFSVolume::FlushStream() {
  if (mStream)
    mStream->FlushToDisk();
}

void VFSVolume::SetBlockSizePrefs(double minimum, double newSize, double maximum) {
  mMinReuseSize = minimum;
  mNewBlockSize = newSize;
  mMaxReuseSize = maximum;
}

bool VFSVolume::SharesFile(const VFSFileRef &record) const {
  for (const VFSFileRef *other : mOpenFiles)
    if (other && other != &record && other->mBlockHeader.mIdnum == record.mBlockHeader.mIdnum)
      return true;
  return false;
}

bool VFSVolume::IsFileOpen(uint32_t idnum) const {
  for (const VFSFileRef *record : mOpenFiles)
    if (record && record->mBlockHeader.mIdnum == idnum)
      return true;
  return false;
}

double VFSVolume::FindReusableBlock(double &outLength) {
  outLength = 0;
  // Only a block whose header on disk says it is free is reused.
  for (int32_t i = 0; mBlockMap->FreeCount() > 0 && i < mBlockMap->Count(); ++i) {
    const MapObject entry = mBlockMap->Entry(i);
    if (entry.mIdnum != kFreeBlockIdnum || entry.mSequence != 0)
      continue;
    VFSBlockHeader header;
    const bool read = ReadHeaderAt(entry.mBlockStart, header);
    if (!read || header.mIdnum != kFreeBlockIdnum) {
      if (RebuildAfterMiss()) {
        i = -1;
        continue;
      }
      if (!read)
        mBlockMap->RemoveEntryByBlockStart(entry.mBlockStart);
      else
        mBlockMap->ChangeEntryByBlockStart(entry.mBlockStart, header.mIdnum, header.mSequence);
      --i;
      continue;
    }
    if (header.mBlockLength >= mMinReuseSize && header.mBlockLength <= mMaxReuseSize) {
      outLength = header.mBlockLength;
      return entry.mBlockStart;
    }
  }
  return -1;
}

double VFSVolume::AppendBlock(uint32_t idnum, uint32_t sequence, const char *data, int64_t count,
                              int64_t &consumed, double &outLength) {
  consumed = 0;
  outLength = 0;
  int64_t size = 0;
  const int64_t start = mFileLength;
  if (!WholeInRange(mNewBlockSize, kMinimumBlockLength, kMaximumVolumeLength, size) ||
      start + size > kMaximumVolumeLength)
    return -1;
  // One write, header first: an append cut short leaves fewer bytes than the
  // block needs, which the next map rebuild recognises and cuts off.
  std::unique_ptr<char[]> block(new (std::nothrow) char[size]());
  if (!block)
    return -1;
  const int64_t taken = data ? std::min(count, size - kBlockOverhead) : 0;
  const VFSBlockHeader header{kBlockMagic, idnum, sequence, static_cast<double>(size), 0};
  EncodeHeader(header, block.get());
  if (taken > 0)
    std::memcpy(block.get() + kBlockHeaderSize, data, taken);
  nstorelong(block.get() + size - kBlockTrailerSize, kBlockTrailer);
  if (!SeekTo(start) || !mStream->WriteData(block.get(), static_cast<long>(size)))
    return -1;
  mFileLength = start + size;
  mBlockMap->AddEntry(idnum, static_cast<uint32_t>(start), sequence);
  consumed = taken;
  outLength = static_cast<double>(size);
  return static_cast<double>(start);
}

double VFSVolume::FindOrAllocateBlock(double &outLength) {
  outLength = 0;
  if (!mValid || !mStream || !InvalidateStoredMap())
    return -1;
  const double reused = FindReusableBlock(outLength);
  if (reused >= 0)
    return reused;
  int64_t consumed = 0;
  return AppendBlock(kFreeBlockIdnum, 0, nullptr, 0, consumed, outLength);
}

double VFSVolume::ClaimBlock(uint32_t idnum, uint32_t sequence, const char *data, int64_t count,
                             int64_t &consumed, double &outLength) {
  consumed = 0;
  if (!mValid || !mStream || !InvalidateStoredMap())
    return -1;
  const double reused = FindReusableBlock(outLength);
  if (reused < 0)
    return AppendBlock(idnum, sequence, data, count, consumed, outLength);
  mBlockMap->ChangeEntryByBlockStart(static_cast<uint32_t>(reused), idnum, sequence);
  const VFSBlockHeader header{kBlockMagic, idnum, sequence, outLength, 0};
  return WriteHeaderAt(static_cast<int64_t>(reused), header) ? reused : -1;
}

bool VFSVolume::FindFileFirstBlock(uint32_t idnum, VFSBlockHeader &header, double &blockStart) {
  if (!mStream || idnum == kFreeBlockIdnum)
    return false;
  if (idnum == kMetadataIdnum) {
    int64_t position = kVolumeHeaderSize;
    const int64_t steps = MaxWalkSteps();
    for (int64_t step = 0; step < steps; ++step) {
      VFSBlockHeader read;
      if (!ReadHeaderAt(position, read))
        return false;
      if (read.mIdnum == kMetadataIdnum && read.mSequence == 0) {
        header = read;
        blockStart = static_cast<double>(position);
        return true;
      }
      position += static_cast<int64_t>(read.mBlockLength);
    }
    return false;
  }
  for (;;) {
    double start = -1;
    if (mBlockMap->FindBlockStartByID(idnum, start, 0, 0) < 0)
      return false;
    VFSBlockHeader read;
    if (ReadHeaderAt(static_cast<int64_t>(start), read) && read.mIdnum == idnum &&
        read.mSequence == 0) {
      header = read;
      blockStart = start;
      return true;
    }
    if (!RebuildAfterMiss())
      return false;
  }
}

uint32_t VFSVolume::CreateFile() {
  if (!mValid || !mStream || !InvalidateStoredMap())
    return 0;
  char bytes[4];
  long got = 0;
  if (!SeekTo(static_cast<int64_t>(mMetadataPosition)) || !mStream->ReadData(bytes, 4, got) ||
      got != 4)
    return 0;
  uint32_t idnum = nloadlong(bytes);
  // A damaged counter must not hand out the free or metadata idnum, nor one
  // that a file already has.
  if (idnum < kFirstNewIdnum)
    idnum = kFirstNewIdnum;
  double ignored;
  for (int32_t tries = 0; mBlockMap->FindBlockStartByID(idnum, ignored, 0, 0) >= 0; ++tries)
    if (tries > mBlockMap->Count() || ++idnum == 0)
      return 0;
  nstorelong(bytes, idnum + 1);
  if (!SeekTo(static_cast<int64_t>(mMetadataPosition)) || !mStream->WriteData(bytes, 4))
    return 0;
  double length = 0;
  int64_t consumed = 0;
  if (ClaimBlock(idnum, 0, nullptr, 0, consumed, length) < 0)
    return 0;
  return idnum;
}

bool VFSVolume::DeleteFile(uint32_t idnum) {
  if (!mValid || !mStream || idnum == kMetadataIdnum || IsFileOpen(idnum))
    return false;
  VFSBlockHeader header;
  double first = 0;
  if (!FindFileFirstBlock(idnum, header, first) || !InvalidateStoredMap())
    return false;
  int64_t start = static_cast<int64_t>(first);
  const int64_t steps = MaxWalkSteps();
  const char zero[4] = {0, 0, 0, 0};
  for (int64_t step = 0; step < steps; ++step) {
    if (!SeekTo(start + kBlockIdnumOffset) || !mStream->WriteData(zero, 4))
      break;
    mBlockMap->ChangeEntryByBlockStart(static_cast<uint32_t>(start), kFreeBlockIdnum, 0);
    const int64_t next = static_cast<int64_t>(header.mNextBlock);
    const uint32_t sequence = header.mSequence;
    if (next == 0 || !ReadHeaderAt(next, header) || header.mIdnum != idnum ||
        header.mSequence != sequence + 1)
      break;
    start = next;
  }
  return true;
}

int16_t VFSVolume::OpenFile(uint32_t idnum) {
  if (!mValid || mOpenFiles.count() >= kMaximumOpenFiles)
    return -1;
  VFSBlockHeader header;
  double start = 0;
  if (!FindFileFirstBlock(idnum, header, start))
    return -1;
  int32_t slot = mOpenFiles.count() - 1;
  while (slot >= 0 && mOpenFiles[slot])
    --slot;
  if (slot < 0) {
    slot = mOpenFiles.count();
    mOpenFiles.push_back(nullptr);
  }
  mOpenFiles[slot] = new VFSFileRef{header, 0, start, kBlockHeaderSize, start};
  return static_cast<int16_t>(slot);
}

void VFSVolume::CloseFile(int16_t handle) {
  if (handle < 0 || handle >= mOpenFiles.count())
    return;
  delete mOpenFiles[handle];
  mOpenFiles[handle] = nullptr;
}

VFSFileRef *VFSVolume::LiveRecord(int16_t handle) const {
  if (!mValid || !mStream || handle < 0 || handle >= mOpenFiles.count())
    return nullptr;
  VFSFileRef *record = mOpenFiles[handle];
  return record && record->mBlockHeader.mIdnum != kFreeBlockIdnum ? record : nullptr;
}

bool VFSVolume::StepToNextBlock(VFSFileRef &record, bool &atEnd) {
  atEnd = false;
  // Another record of the same file may have grown the chain since this
  // record read the header.
  if (record.mBlockHeader.mNextBlock == 0 && SharesFile(record) && !ReadHeader(&record))
    return false;
  const int64_t next = static_cast<int64_t>(record.mBlockHeader.mNextBlock);
  if (next == 0) {
    atEnd = true;
    return false;
  }
  VFSBlockHeader header;
  if (!ReadHeaderAt(next, header) || header.mIdnum != record.mBlockHeader.mIdnum ||
      header.mSequence != record.mBlockHeader.mSequence + 1) {
    record.mBlockHeader.mIdnum = kFreeBlockIdnum;
    return false;
  }
  record.mBlockHeader = header;
  record.mBlockStart = static_cast<double>(next);
  record.mPosWithinBlock = kBlockHeaderSize;
  return true;
}

bool VFSVolume::SetFilePosition(int16_t handle, double position) {
  VFSFileRef *found = LiveRecord(handle);
  if (!found || std::isnan(position))
    return false;
  if (position == found->mFilePosition)
    return true;
  int64_t target = 0;
  if (!WholeInRange(position, 0, kMaximumVolumeLength, target))
    return false;
  VFSFileRef record = *found;
  int64_t dataStart = static_cast<int64_t>(record.mFilePosition) -
                      (static_cast<int64_t>(record.mPosWithinBlock) - kBlockHeaderSize);
  int64_t dataEnd = dataStart + static_cast<int64_t>(record.mBlockHeader.mBlockLength) -
                    kBlockOverhead;
  if (target < dataStart) {
    VFSBlockHeader header;
    if (!ReadHeaderAt(static_cast<int64_t>(record.mFirstBlockStart), header) ||
        header.mIdnum != record.mBlockHeader.mIdnum || header.mSequence != 0) {
      found->mBlockHeader.mIdnum = kFreeBlockIdnum;
      return false;
    }
    record.mBlockHeader = header;
    record.mBlockStart = record.mFirstBlockStart;
    record.mPosWithinBlock = kBlockHeaderSize;
    record.mFilePosition = 0;
    dataStart = 0;
    dataEnd = static_cast<int64_t>(header.mBlockLength) - kBlockOverhead;
  }
  while (target >= dataEnd) {
    bool atEnd = false;
    if (!StepToNextBlock(record, atEnd)) {
      if (atEnd && target == dataEnd)
        break;
      if (!atEnd)
        found->mBlockHeader.mIdnum = kFreeBlockIdnum;
      return false;
    }
    dataStart = dataEnd;
    dataEnd = dataStart + static_cast<int64_t>(record.mBlockHeader.mBlockLength) - kBlockOverhead;
  }
  const int64_t within = kBlockHeaderSize + (target - dataStart);
  if (within < kBlockHeaderSize ||
      within > static_cast<int64_t>(record.mBlockHeader.mBlockLength) - kBlockTrailerSize) {
    ShowAlert(kVFSPositionAlert);
    return false;
  }
  record.mPosWithinBlock = static_cast<double>(within);
  record.mFilePosition = static_cast<double>(target);
  *found = record;
  return true;
}

bool VFSVolume::ExtendChain(VFSFileRef &record, const char *data, int64_t count,
                            int64_t &consumed) {
  double length = 0;
  const uint32_t sequence = record.mBlockHeader.mSequence + 1;
  // Claimed before the chain points to it (a new block carries its first
  // data already).
  const double start =
      ClaimBlock(record.mBlockHeader.mIdnum, sequence, data, count, consumed, length);
  if (start < 0)
    return false;
  VFSBlockHeader current = record.mBlockHeader;
  current.mNextBlock = start;
  if (!WriteHeaderAt(static_cast<int64_t>(record.mBlockStart), current))
    return false;
  record.mBlockHeader = {kBlockMagic, current.mIdnum, sequence, length, 0};
  record.mBlockStart = start;
  record.mPosWithinBlock = static_cast<double>(kBlockHeaderSize + consumed);
  record.mFilePosition += static_cast<double>(consumed);
  return true;
}

bool VFSVolume::Transfer(VFSFileRef &record, void *buffer, int64_t count, bool writing,
                         int64_t &done) {
  done = 0;
  char *bytes = static_cast<char *>(buffer);
  for (;;) {
    const int64_t length = static_cast<int64_t>(record.mBlockHeader.mBlockLength);
    const int64_t within = static_cast<int64_t>(record.mPosWithinBlock);
    int64_t step = length - within - kBlockTrailerSize;
    if (step > count - done)
      step = count - done;
    if (step > 0) {
      if (!SeekTo(static_cast<int64_t>(record.mBlockStart) + within))
        return false;
      long moved = 0;
      bool ok;
      if (writing) {
        ok = mStream->WriteData(bytes + done, static_cast<long>(step));
        moved = ok ? static_cast<long>(step) : 0;
      } else {
        ok = mStream->ReadData(bytes + done, static_cast<long>(step), moved) && moved == step;
      }
      done += moved;
      record.mFilePosition += static_cast<double>(moved);
      record.mPosWithinBlock += static_cast<double>(moved);
      if (!ok)
        return false;
    }
    if (done == count)
      return true;
    bool atEnd = false;
    if (StepToNextBlock(record, atEnd))
      continue;
    int64_t consumed = 0;
    if (!atEnd || !writing || !ExtendChain(record, bytes + done, count - done, consumed))
      return false;
    done += consumed;
  }
}

bool VFSVolume::ReadFileData(int16_t handle, double *ioBytes, void *buffer) {
  if (!ioBytes || !buffer) {
    ShowAlert(kVFSReadArgumentsAlert);
    return false;
  }
  VFSFileRef *record = LiveRecord(handle);
  if (!record)
    return false;
  if (!(*ioBytes > 0))
    return true;
  const int64_t wanted = *ioBytes > kMaximumVolumeLength ? kMaximumVolumeLength
                                                         : static_cast<int64_t>(*ioBytes);
  int64_t done = 0;
  const bool ok = Transfer(*record, buffer, wanted, false, done);
  *ioBytes = static_cast<double>(done);
  return ok;
}

bool VFSVolume::WriteFileData(int16_t handle, const void *buffer, double count) {
  VFSFileRef *record = LiveRecord(handle);
  if (!record || !buffer)
    return false;
  if (!(count > 0))
    return true;
  if (count > kMaximumVolumeLength)
    return false;
  int64_t done = 0;
  return Transfer(*record, const_cast<void *>(buffer), static_cast<int64_t>(count), true, done);
}

bool VFSVolume::WriteTyped(int16_t handle, const void *value, int size) {
  char bytes[8];
  std::memcpy(bytes, value, size);
  if (mVersion >= kFirstBigEndianDataVersion)
    swapBytes(bytes, size);
  return WriteFileData(handle, bytes, size);
}

bool VFSVolume::ReadTyped(int16_t handle, void *value, int size) {
  char bytes[8];
  double got = size;
  if (!ReadFileData(handle, &got, bytes) || got != size)
    return false;
  if (mVersion >= kFirstBigEndianDataVersion)
    swapBytes(bytes, size);
  std::memcpy(value, bytes, size);
  return true;
}

bool VFSVolume::WriteFileLong(int16_t handle, int32_t value) {
  return WriteTyped(handle, &value, 4);
}
bool VFSVolume::WriteFileShort(int16_t handle, int16_t value) {
  return WriteTyped(handle, &value, 2);
}
bool VFSVolume::WriteFileDouble(int16_t handle, double value) {
  return WriteTyped(handle, &value, 8);
}
bool VFSVolume::ReadFileLong(int16_t handle, int32_t &value) { return ReadTyped(handle, &value, 4); }
bool VFSVolume::ReadFileShort(int16_t handle, int16_t &value) {
  return ReadTyped(handle, &value, 2);
}
bool VFSVolume::ReadFileDouble(int16_t handle, double &value) {
  return ReadTyped(handle, &value, 8);
}
