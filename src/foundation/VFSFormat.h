// The byte layout of a virtual-volume file: the volume header, the block
// header and trailer, the metadata file's words and the stored block-map
// record. Volume files travel between implementations, so every number here
// is part of the format.
#pragma once
#include <cstddef>
#include <cstdint>

// Volume header at offset 0: magic, then the format version.
inline constexpr uint32_t kVolumeMagic = 0x56465376;   // "VFSv"
inline constexpr uint32_t kVolumeVersion = 3;          // written by new volumes
inline constexpr uint32_t kNewestReadableVersion = 3;  // above it: refused
inline constexpr int64_t kVolumeHeaderSize = 8;        // the first block starts here
// From this version on the header doubles are big-endian; from the next one
// the typed values in file data are too.
inline constexpr uint32_t kFirstBigEndianDoublesVersion = 2;
inline constexpr uint32_t kFirstBigEndianDataVersion = 3;

// Block: header, data, trailer.
inline constexpr uint32_t kBlockMagic = 0x426C6B53;   // "BlkS"
inline constexpr uint32_t kBlockTrailer = 0x426C6B45; // "BlkE"
inline constexpr int64_t kBlockHeaderSize = 28;
inline constexpr int64_t kBlockTrailerSize = 4;
inline constexpr int64_t kBlockOverhead = kBlockHeaderSize + kBlockTrailerSize;
// The smallest block a reader accepts: header, trailer and one data word.
inline constexpr int64_t kMinimumBlockLength = 36;

// Offsets of the header fields inside a block.
inline constexpr int kBlockMagicOffset = 0;
inline constexpr int kBlockIdnumOffset = 4;
inline constexpr int kBlockSequenceOffset = 8;
inline constexpr int kBlockLengthOffset = 12;
inline constexpr int kBlockNextOffset = 20;

// Block owners.
inline constexpr uint32_t kFreeBlockIdnum = 0;
inline constexpr uint32_t kMetadataIdnum = 1;

// File 1 (metadata) data: next idnum, block-map size, block-map record.
inline constexpr int64_t kNextIdnumDataOffset = 0;
inline constexpr int64_t kBlockMapSizeDataOffset = 4;
inline constexpr int64_t kBlockMapRecordDataOffset = 8;
inline constexpr uint32_t kFirstNewIdnum = 2;
// Length of the single block of a new volume's metadata file.
inline constexpr int64_t kNewMetadataBlockLength = 40;

// Block-map record: magic, count, then entries {start, idnum, sequence}.
inline constexpr uint32_t kBlockMapMagic = 0x424D6170; // "BMap"
inline constexpr int64_t kBlockMapRecordHeaderSize = 8;
inline constexpr int64_t kBlockMapEntrySize = 12;

// Streams are sought with 32-bit signed offsets.
inline constexpr int64_t kMaximumVolumeLength = 2147483647;

// A map rebuild that meets an unreadable header this close to the end of the
// file has met an append that was cut short (one new block's worth).
inline constexpr int64_t kTornAppendLimit = 1024;

// A block header as it lies in memory.
struct VFSBlockHeader {
  uint32_t mMagic = 0;
  uint32_t mIdnum = 0;
  uint32_t mSequence = 0;
  double mBlockLength = 0;
  double mNextBlock = 0;
};
static_assert(offsetof(VFSBlockHeader, mMagic) == 0);
static_assert(offsetof(VFSBlockHeader, mIdnum) == 4);
static_assert(offsetof(VFSBlockHeader, mSequence) == 8);
static_assert(offsetof(VFSBlockHeader, mBlockLength) == 12);
static_assert(offsetof(VFSBlockHeader, mNextBlock) == 20);
static_assert(sizeof(VFSBlockHeader) == 28);
