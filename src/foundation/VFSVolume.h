// The block store of a virtual volume: numbered files (idnums) whose bytes
// live in chains of blocks inside one volume file, read and written through a
// byte stream. Every value read from the file is checked before it is used
// for a seek, an allocation or a step of a walk, so a damaged or hostile
// volume gives failures, never a crash or an endless walk.
//
// The format has no journal, so the order of the writes is what keeps a
// volume whose writer was killed usable: the stored block map is marked
// absent (size 0) before the first change after it was stored and is written
// whole before its size; a block is claimed (its header written) before any
// chain points to it; the allocator reuses only blocks whose header on disk
// says free.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/BlockMap.h"
#include "foundation/RandomAccessMechanism.h"
#include "foundation/SimpleVector.h"
#include "foundation/VFSFormat.h"

inline constexpr AlertSite kVFSDiskFileAlert{kVFSCoreAlertSource, 86, "diskFile"};
inline constexpr AlertSite kVFSOutHeaderAlert{kVFSCoreAlertSource, 744, "outHeader"};
inline constexpr AlertSite kVFSReadArgumentsAlert{kVFSCoreAlertSource, 517, "ioBytes and outBuffer"};
inline constexpr AlertSite kVFSPositionAlert{
    kVFSCoreAlertSource, 476,
    "finfo->mPosWithinBlock >= kBlockHeaderSize and finfo->mPosWithinBlock < "
    "finfo->mBlockStart + finfo->mBlockHeader.mBlockLength - 4"};

// One open file: where its current position lies.
struct VFSFileRef {
  VFSBlockHeader mBlockHeader; // of the block holding the position; idnum 0 = dead
  double mFilePosition;        // in the file's data
  double mBlockStart;          // of the current block
  double mPosWithinBlock;      // from kBlockHeaderSize to block length - 4
  double mFirstBlockStart;
};
static_assert(sizeof(VFSFileRef) == 60);

class VFSVolume {
public:
  // Formats the stream as an empty volume. Nil only for a nil stream; check
  // mValid for the writes.
  static VFSVolume *Create(RandomAccessMechanism *stream, bool ownsStream);
  // Opens the volume the stream holds; mValid tells whether that worked.
  VFSVolume(RandomAccessMechanism *stream, bool ownsStream);
  VFSVolume(const VFSVolume &) = delete;
  VFSVolume &operator=(const VFSVolume &) = delete;
  // Stores the block map (a valid volume only), closes the stream and
  // deletes it when owned.
  virtual ~VFSVolume();

  uint32_t CreateFile();            // the new idnum, 0 on failure
  bool DeleteFile(uint32_t idnum);  // refused while the file is open
  int16_t OpenFile(uint32_t idnum); // a handle, -1 on failure
  void CloseFile(int16_t handle);
  bool SetFilePosition(int16_t handle, double position);
  // ioBytes in: the count wanted; out: the bytes read.
  bool ReadFileData(int16_t handle, double *ioBytes, void *buffer);
  bool WriteFileData(int16_t handle, const void *buffer, double count);
  // Typed values: big-endian from version 3 on, machine order before.
  bool WriteFileLong(int16_t handle, int32_t value);
  bool WriteFileShort(int16_t handle, int16_t value);
  bool WriteFileDouble(int16_t handle, double value);
  bool ReadFileLong(int16_t handle, int32_t &value);
  bool ReadFileShort(int16_t handle, int16_t &value);
  bool ReadFileDouble(int16_t handle, double &value);

  void FlushToDisk();
  // Hands what the stream buffers to the system (the block map stays as it
  // is): called when an operation that changed the volume returns.
  void FlushStream();
  // Writes the block map into file 1 unless it is stored already.
  void UpdateBlockMap();
  void RebuildBlockMapFromScratch();
  void SetBlockSizePrefs(double minimum, double newSize, double maximum);
  // A free block for a file to claim: its start, -1 on failure.
  double FindOrAllocateBlock(double &outLength);
  bool FindFileFirstBlock(uint32_t idnum, VFSBlockHeader &header, double &blockStart);
  // Reads and checks the header at the stream's position.
  bool ReadHeader(VFSBlockHeader *header);
  // Re-reads the record's current block; one that no longer belongs to the
  // file kills the record.
  bool ReadHeader(VFSFileRef *record);
  // Writes a header at the stream's position.
  bool WriteHeader(const VFSBlockHeader &header);
  void Initialize();

  bool IsFileOpen(uint32_t idnum) const;
  int64_t FileLength() const { return mFileLength; }
  // An upper bound for any walk over the volume: its possible block count.
  int64_t MaxWalkSteps() const { return mFileLength / kMinimumBlockLength + 1; }
  const BlockMap &Map() const { return *mBlockMap; }

  bool mValid = false;
  RandomAccessMechanism *mStream = nullptr;
  bool mOwnsStream = false;
  double mMetadataPosition = -1;
  double mMinReuseSize = 256;
  double mNewBlockSize = 1024;
  double mMaxReuseSize = 16384;
  SimpleVector<VFSFileRef *> mOpenFiles;
  BlockMap *mBlockMap = nullptr;
  bool mZeroFillNewBlocks = true;
  uint32_t mVersion = kVolumeVersion;

private:
  VFSVolume();
  VFSFileRef *LiveRecord(int16_t handle) const;
  bool SeekTo(int64_t offset);
  bool ReadHeaderAt(int64_t start, VFSBlockHeader &header);
  bool WriteHeaderAt(int64_t start, const VFSBlockHeader &header);
  // Steps the record into its next block (re-reading the current header when
  // the copy says there is none); false at the chain's end or on a bad block.
  bool StepToNextBlock(VFSFileRef &record, bool &atEnd);
  // Appends a claimed block to the record's chain and steps into it; a new
  // block takes up to count bytes of data with it (consumed says how many).
  bool ExtendChain(VFSFileRef &record, const char *data, int64_t count, int64_t &consumed);
  // A free block in the reuse range whose header on disk agrees; -1 if none.
  double FindReusableBlock(double &outLength);
  // Writes a new block at the end in one piece: header, data, zeros, trailer.
  double AppendBlock(uint32_t idnum, uint32_t sequence, const char *data, int64_t count,
                     int64_t &consumed, double &outLength);
  // A block owned by idnum with that sequence: a reused one (header written),
  // or a new one carrying up to count bytes of data.
  double ClaimBlock(uint32_t idnum, uint32_t sequence, const char *data, int64_t count,
                    int64_t &consumed, double &outLength);
  void EncodeHeader(const VFSBlockHeader &header, char *bytes) const;
  // Whether another open record is on the same file.
  bool SharesFile(const VFSFileRef &record) const;
  bool Transfer(VFSFileRef &record, void *buffer, int64_t count, bool writing, int64_t &done);
  bool LoadStoredBlockMap();
  // Marks the stored map absent before the first change since it was stored.
  bool InvalidateStoredMap();
  // A lookup met a map entry that its block header contradicts: rebuild the
  // map, once per open. False when it was rebuilt already.
  bool RebuildAfterMiss();
  bool WriteMetadataBytes(int64_t dataOffset, const void *bytes, int64_t count);
  bool ReadMetadataBytes(int64_t dataOffset, void *bytes, int64_t count);
  bool WriteTyped(int16_t handle, const void *value, int size);
  bool ReadTyped(int16_t handle, void *value, int size);

  int64_t mFileLength = 0;
  bool mMapStored = false;   // the stored record matches the map
  bool mMapRebuilt = false;  // rebuilt once during this open
};
