// The block store: the exact bytes of new and reopened volumes, the older
// format versions, chains, positioning, typed values and block reuse.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "foundation/VFSVolume.h"
#include "support/AlertRecorder.h"
#include "support/VolumeTestSupport.h"

namespace {

std::string Hex(const std::string &bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

std::string NewVolumeBytes() {
  MemoryStream stream;
  std::unique_ptr<VFSVolume> volume(VFSVolume::Create(&stream, false));
  EXPECT_TRUE(volume->mValid);
  std::string bytes = stream.Bytes();
  return bytes;
}

uint32_t LongAt(const std::string &bytes, size_t offset) { return nloadlong(&bytes[offset]); }

double BigDoubleAt(const std::string &bytes, size_t offset) { return hloaddouble8(&bytes[offset]); }

TEST(VFSVolumeTest, NewVolumeIsTheFortyEightBytesOfTheFormat) {
  EXPECT_EQ(Hex(NewVolumeBytes()), "5646537600000003"
                                   "426C6B53000000010000000040440000000000000000000000000000"
                                   "0000000200000000426C6B45");
}

TEST(VFSVolumeTest, OpeningANewVolumeRebuildsAndStoresTheMapInASecondBlock) {
  MemoryStream *stream = new MemoryStream(NewVolumeBytes());
  {
    VFSVolume volume(stream, false);
    ASSERT_TRUE(volume.mValid);
    EXPECT_EQ(volume.mVersion, 3u);
  }
  const std::string bytes = stream->Bytes();
  ASSERT_EQ(bytes.size(), 1072u);
  EXPECT_EQ(BigDoubleAt(bytes, 28), 48.0);          // file 1's first block now has a next
  EXPECT_EQ(LongAt(bytes, 40), 20u);                // map size: one entry
  EXPECT_EQ(Hex(bytes.substr(48, 28)),              // the second block of file 1
            "426C6B5300000001000000014090000000000000" "0000000000000000");
  EXPECT_EQ(Hex(bytes.substr(76, 20)), "424D617000000001000000080000000100000000");
  EXPECT_EQ(LongAt(bytes, 1068), 0x426C6B45u);
  // The stored map is read back as it is: nothing is written on the next open.
  VFSVolume again(stream, true);
  EXPECT_TRUE(again.mValid);
  EXPECT_EQ(again.Map().Count(), 1);
  EXPECT_EQ(stream->Bytes(), bytes);
}

// A root folder listing one file "a" holding "hello", in the given version.
std::string SmallOldVolume(uint32_t version, bool storedMap) {
  VolumeBuilder builder(version);
  const std::string root = builder.Object(8, kFolderFileType, 0, "/", {3}, true);
  const std::string file = builder.Object(5, 0x54455854, 2, "a") + "hello";
  const uint32_t metaLength = storedMap ? 8 + 8 + 36 : 8;
  const uint32_t rootStart = 8 + 32 + metaLength;
  const uint32_t fileStart = rootStart + 32 + static_cast<uint32_t>(root.size());
  const std::string map =
      storedMap ? VolumeBuilder::MapRecord({{8, 1, 0}, {rootStart, 2, 0}, {fileStart, 3, 0}})
                : std::string();
  builder.Block(1, 0, VolumeBuilder::Metadata(4, map));
  EXPECT_EQ(builder.Block(2, 0, root), rootStart);
  EXPECT_EQ(builder.Block(3, 0, file), fileStart);
  return builder.Bytes();
}

TEST(VFSVolumeTest, OlderVersionsReadInTheirByteOrders) {
  const struct {
    uint32_t version;
    bool storedMap;
  } cases[] = {{1, false}, {1, true}, {2, false}, {2, true}, {3, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " map " << c.storedMap);
    VolumeListing listing;
    EXPECT_EQ(CheckVolume(SmallOldVolume(c.version, c.storedMap), &listing), "");
    EXPECT_EQ(listing.Contents("a"), "hello");
  }
}

TEST(VFSVolumeTest, TypedValuesAreBigEndianOnlyFromVersionThree) {
  for (uint32_t version : {1u, 2u, 3u}) {
    MemoryStream *stream = new MemoryStream(SmallOldVolume(version, true));
    VFSVolume volume(stream, true);
    ASSERT_TRUE(volume.mValid);
    const uint32_t idnum = volume.CreateFile();
    const int16_t handle = volume.OpenFile(idnum);
    ASSERT_TRUE(volume.WriteFileLong(handle, 0x01020304));
    ASSERT_TRUE(volume.WriteFileShort(handle, 0x0506));
    ASSERT_TRUE(volume.WriteFileDouble(handle, 1.5));
    VFSBlockHeader header;
    double start = 0;
    ASSERT_TRUE(volume.FindFileFirstBlock(idnum, header, start));
    const std::string data = stream->Bytes().substr(static_cast<size_t>(start) + 28, 14);
    if (version == 3)
      EXPECT_EQ(Hex(data), "010203040506" "3FF8000000000000");
    else
      EXPECT_EQ(Hex(data), "040302010605" "000000000000F83F");
    // The header doubles: machine order in version 1 only.
    const std::string length = stream->Bytes().substr(static_cast<size_t>(start) + 12, 8);
    EXPECT_EQ(Hex(length), version == 1 ? "0000000000009040" : "4090000000000000");
    int32_t value = 0;
    int16_t shortValue = 0;
    double doubleValue = 0;
    ASSERT_TRUE(volume.SetFilePosition(handle, 0));
    EXPECT_TRUE(volume.ReadFileLong(handle, value));
    EXPECT_TRUE(volume.ReadFileShort(handle, shortValue));
    EXPECT_TRUE(volume.ReadFileDouble(handle, doubleValue));
    EXPECT_EQ(value, 0x01020304);
    EXPECT_EQ(shortValue, 0x0506);
    EXPECT_EQ(doubleValue, 1.5);
    volume.CloseFile(handle);
  }
}

TEST(VFSVolumeTest, VolumesThatAreNotOursAreRefusedAndTheirStreamDeletedAtOnce) {
  const std::string good = SmallOldVolume(3, true);
  std::string version4 = good, version0 = good, badMagic = good;
  version4[7] = 4;
  version0[7] = 0;
  badMagic[0] = 'W';
  for (const std::string &bytes : {version4, version0, badMagic, std::string("VFSv")}) {
    MemoryStream *stream = new MemoryStream(bytes);
    VFSVolume volume(stream, true); // the stream is deleted here; ASan sees any later use
    EXPECT_FALSE(volume.mValid);
    EXPECT_EQ(volume.mStream, nullptr);
  }
}

TEST(VFSVolumeTest, ADamagedFirstBlockLeavesTheVolumeInvalidAndUnwritten) {
  std::string bytes = SmallOldVolume(3, true);
  bytes[8 + 7] = 2; // file 1's first block names file 2
  MemoryStream stream(bytes);
  {
    VFSVolume volume(&stream, false);
    EXPECT_FALSE(volume.mValid);
    EXPECT_EQ(volume.CreateFile(), 0u);
    EXPECT_EQ(volume.OpenFile(1), -1);
  }
  EXPECT_EQ(stream.Bytes(), bytes);
}

// A volume without free blocks, and a file of 2000 bytes written into it.
struct ChainFixture {
  MemoryStream stream;
  std::unique_ptr<VFSVolume> volume{VFSVolume::Create(&stream, false)};
  uint32_t idnum = volume->CreateFile();
  int16_t handle = volume->OpenFile(idnum);
  std::string data = Pattern(2000);

  ChainFixture() { EXPECT_TRUE(volume->WriteFileData(handle, data.data(), data.size())); }
  static std::string Pattern(size_t n) {
    std::string out(n, '\0');
    for (size_t i = 0; i < n; ++i)
      out[i] = static_cast<char>(i * 13 + i / 256);
    return out;
  }
};

TEST(VFSVolumeTest, ChainsGrowByWholeBlocksAndEndExactlyAtTheLastData) {
  AlertRecorder alerts;
  ChainFixture f;
  // Three blocks of 992 data bytes each.
  int blocks = 0;
  for (int32_t i = 0; i < f.volume->Map().Count(); ++i)
    blocks += f.volume->Map().Entry(i).mIdnum == f.idnum;
  EXPECT_EQ(blocks, 3);
  EXPECT_TRUE(f.volume->SetFilePosition(f.handle, 2976));
  EXPECT_FALSE(f.volume->SetFilePosition(f.handle, 2977));
  EXPECT_FALSE(f.volume->SetFilePosition(f.handle, -1));
  EXPECT_FALSE(f.volume->SetFilePosition(f.handle, NAN));
  EXPECT_FALSE(f.volume->SetFilePosition(f.handle, 10.5));
  // Every position, forwards and backwards, reads the byte written there.
  for (int position : {0, 1, 991, 992, 993, 1983, 1984, 1999, 5, 1990, 0}) {
    SCOPED_TRACE(position);
    ASSERT_TRUE(f.volume->SetFilePosition(f.handle, position));
    char byte = 0;
    double count = 1;
    ASSERT_TRUE(f.volume->ReadFileData(f.handle, &count, &byte));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(byte, f.data[position]);
  }
  // Reading past the chain's end delivers what there is and fails.
  ASSERT_TRUE(f.volume->SetFilePosition(f.handle, 2900));
  char buffer[200];
  double count = sizeof buffer;
  EXPECT_FALSE(f.volume->ReadFileData(f.handle, &count, buffer));
  EXPECT_EQ(count, 76);
  EXPECT_EQ(alerts.count(), 0u);
}

TEST(VFSVolumeTest, ReadArgumentsAndHandlesAreChecked) {
  AlertRecorder alerts;
  ChainFixture f;
  char byte;
  double count = 1;
  EXPECT_FALSE(f.volume->ReadFileData(f.handle, nullptr, &byte));
  EXPECT_FALSE(f.volume->ReadFileData(f.handle, &count, nullptr));
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kVFSReadArgumentsAlert));
  for (int16_t handle : {int16_t(-1), int16_t(7), int16_t(32000)}) {
    EXPECT_FALSE(f.volume->ReadFileData(handle, &count, &byte));
    EXPECT_FALSE(f.volume->WriteFileData(handle, &byte, 1));
    EXPECT_FALSE(f.volume->SetFilePosition(handle, 0));
  }
  count = 0;
  EXPECT_TRUE(f.volume->ReadFileData(f.handle, &count, &byte));
}

TEST(VFSVolumeTest, OpenFilesAreNotDeletedAndFreedBlocksAreReusedWhole) {
  ChainFixture f;
  EXPECT_FALSE(f.volume->DeleteFile(f.idnum));
  VFSBlockHeader header;
  double first = 0;
  ASSERT_TRUE(f.volume->FindFileFirstBlock(f.idnum, header, first));
  f.volume->CloseFile(f.handle);
  const long length = f.stream.GetLength();
  ASSERT_TRUE(f.volume->DeleteFile(f.idnum));
  EXPECT_EQ(f.volume->Map().FreeCount(), 3);
  EXPECT_FALSE(f.volume->FindFileFirstBlock(f.idnum, header, first == 0 ? first : first));
  // On disk the freed blocks say so (idnum 0) and keep the rest.
  EXPECT_EQ(LongAt(f.stream.Bytes(), static_cast<size_t>(first) + 4), 0u);
  const uint32_t next = f.volume->CreateFile();
  double reused = 0;
  ASSERT_TRUE(f.volume->FindFileFirstBlock(next, header, reused));
  EXPECT_EQ(reused, first);
  EXPECT_EQ(f.stream.GetLength(), length);
  EXPECT_EQ(f.volume->Map().FreeCount(), 2);
}

TEST(VFSVolumeTest, TheSameFileOpenTwiceSeesTheOtherHandlesGrowth) {
  ChainFixture f;
  const int16_t second = f.volume->OpenFile(f.idnum);
  ASSERT_GE(second, 0);
  EXPECT_NE(second, f.handle);
  // The second handle sits in the first block; the first extends the chain.
  const std::string more = ChainFixture::Pattern(1500);
  ASSERT_TRUE(f.volume->WriteFileData(f.handle, more.data(), more.size()));
  ASSERT_TRUE(f.volume->SetFilePosition(second, 3400));
  char bytes[100];
  double count = sizeof bytes;
  ASSERT_TRUE(f.volume->ReadFileData(second, &count, bytes));
  EXPECT_EQ(std::string(bytes, 100), more.substr(1400, 100));
}

TEST(VFSVolumeTest, AMapEntryThatItsBlockContradictsRebuildsTheMap) {
  // A stored map that says file 3's first block is file 2's block: the
  // lookup checks the header, rebuilds the map once and finds the right one.
  VolumeBuilder builder(3);
  const std::string root = builder.Object(8, kFolderFileType, 0, "/", {3}, true);
  const std::string file = builder.Object(5, 0x54455854, 2, "a") + "hello";
  const std::string map = VolumeBuilder::MapRecord({{8, 1, 0}, {92, 2, 0}, {92, 3, 0}});
  builder.Block(1, 0, VolumeBuilder::Metadata(4, map));
  ASSERT_EQ(builder.Block(2, 0, root), 92u);
  builder.Block(3, 0, file);
  VolumeListing listing;
  EXPECT_EQ(CheckVolume(builder.Bytes(), &listing), "");
  EXPECT_EQ(listing.Contents("a"), "hello");
}

TEST(VFSVolumeTest, TheAllocatorTakesOnlyBlocksThatAreFreeOnDisk) {
  // The stored map calls file 3's block free: a new file must not get it.
  VolumeBuilder builder(3);
  const std::string root = builder.Object(8, kFolderFileType, 0, "/", {3}, true);
  const std::string file = builder.Object(300, 0x54455854, 2, "a") + std::string(300, 'x');
  const std::string map = VolumeBuilder::MapRecord({{8, 1, 0}, {92, 2, 0}, {388, 0, 0}});
  builder.Block(1, 0, VolumeBuilder::Metadata(4, map));
  builder.Block(2, 0, root);
  ASSERT_EQ(builder.Block(3, 0, file), 388u);
  MemoryStream *stream = new MemoryStream(builder.Bytes());
  VFSVolume volume(stream, true);
  ASSERT_TRUE(volume.mValid);
  const uint32_t idnum = volume.CreateFile();
  VFSBlockHeader header;
  double start = 0;
  ASSERT_TRUE(volume.FindFileFirstBlock(idnum, header, start));
  EXPECT_NE(start, 388);
  ASSERT_TRUE(volume.FindFileFirstBlock(3, header, start));
  EXPECT_EQ(start, 388);
}

TEST(VFSVolumeTest, AChangeMarksTheStoredMapAbsentUntilItIsStoredAgain) {
  MemoryStream *stream = new MemoryStream(NewVolumeBytes());
  VFSVolume volume(stream, true);
  ASSERT_EQ(LongAt(stream->Bytes(), 40), 20u);
  const uint32_t idnum = volume.CreateFile();
  ASSERT_NE(idnum, 0u);
  EXPECT_EQ(LongAt(stream->Bytes(), 40), 0u);
  volume.FlushToDisk();
  EXPECT_EQ(LongAt(stream->Bytes(), 40), 44u); // file 1 twice and the new file
  const int16_t handle = volume.OpenFile(idnum);
  ASSERT_TRUE(volume.WriteFileData(handle, "abc", 3)); // no new block: no change to the map
  EXPECT_EQ(LongAt(stream->Bytes(), 40), 44u);
}

TEST(VFSVolumeTest, AnAppendCutShortIsCutOffWhenTheMapIsRebuilt) {
  std::string bytes = SmallOldVolume(3, false);
  const size_t length = bytes.size();
  // A block header written at the end, the file not yet grown to hold it.
  std::string header;
  VolumeBuilder::AppendBE(header, 0x426C6B53);
  VolumeBuilder::AppendBE(header, 0);
  VolumeBuilder::AppendBE(header, 0);
  char size[8];
  hstoredouble8(size, SwapEndianDouble(1024.0));
  header.append(size, 8);
  header.append(8, '\0');
  bytes += header;
  MemoryStream *stream = new MemoryStream(bytes);
  {
    VFSVolume volume(stream, false);
    ASSERT_TRUE(volume.mValid);
    // The torn header is gone; storing the map appended one whole block.
    EXPECT_EQ(volume.FileLength(), static_cast<int64_t>(length) + 1024);
  }
  EXPECT_EQ(CheckVolume(stream->Bytes()), "");
  delete stream;
}

TEST(BlockMapTest, EntriesKeepTheirOrderAndTheFreeCount) {
  AlertRecorder alerts;
  BlockMap map;
  map.AddEntry(1, 8, 0);
  map.AddEntry(0, 48, 0);
  map.AddEntry(5, 1072, 0);
  map.AddEntry(5, 2096, 1);
  map.AddEntry(0, 3120, 0);
  EXPECT_EQ(map.FreeCount(), 2);
  double start = 0;
  EXPECT_EQ(map.FindBlockStartByID(5, start, 0, 1), 3);
  EXPECT_EQ(start, 2096);
  EXPECT_EQ(map.FindBlockStartByID(0, start, 2, 0), 4); // from index 2 on
  EXPECT_EQ(map.FindBlockStartByID(9, start, 0, 0), -1);
  EXPECT_EQ(start, -1);
  // Re-owning: free to owned and back, a sequence of -1 keeps the old one.
  EXPECT_TRUE(map.ChangeEntryByBlockStart(48, 6, -1));
  EXPECT_EQ(map.FreeCount(), 1);
  EXPECT_EQ(map.FindBlockStartByID(6, start, 0, 0), 1);
  EXPECT_TRUE(map.ChangeEntryByBlockStart(1072, 0, 0));
  EXPECT_EQ(map.FreeCount(), 2);
  EXPECT_EQ(map.FindBlockStartByID(5, start, 0, 0), -1);
  EXPECT_FALSE(map.ChangeEntryByBlockStart(7, 1, 0));
  EXPECT_TRUE(map.ChangeEntryByID(6, 0, 0));
  EXPECT_EQ(map.FreeCount(), 3);
  uint32_t idnum = 0;
  EXPECT_TRUE(map.FindIDByBlockStart(2096, idnum));
  EXPECT_EQ(idnum, 5u);
  EXPECT_TRUE(map.RemoveEntryByBlockStart(48));
  EXPECT_TRUE(map.RemoveEntryByID(5));
  EXPECT_FALSE(map.RemoveEntryByID(5));
  EXPECT_EQ(map.Count(), 3);
  EXPECT_EQ(map.FreeCount(), 2);
  // The stored record, and a copy read back from it.
  char *record = nullptr;
  const int32_t size = map.WriteBlockMapToBuffer(record);
  EXPECT_EQ(size, 8 + 12 * 3);
  EXPECT_EQ(Hex(std::string(record, 20)), "424D617000000003000000080000000100000000");
  BlockMap copy;
  EXPECT_TRUE(copy.ConstructBlockMapFromBuffer(record, size));
  EXPECT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.FreeCount(), 2);
  EXPECT_FALSE(copy.ConstructBlockMapFromBuffer(record, size - 1)); // count does not fit
  record[3] = 'q';
  EXPECT_FALSE(copy.ConstructBlockMapFromBuffer(record, size));
  delete[] record;
  EXPECT_FALSE(copy.ConstructBlockMapFromBuffer(nullptr, 8));
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kBlockMapBufferAlert));
}

TEST(VFSVolumeTest, NilStreamsAndHeadersAlert) {
  AlertRecorder alerts;
  EXPECT_EQ(VFSVolume::Create(nullptr, true), nullptr);
  VFSVolume volume(nullptr, true);
  EXPECT_FALSE(volume.mValid);
  EXPECT_FALSE(volume.ReadHeader(static_cast<VFSBlockHeader *>(nullptr)));
  ASSERT_EQ(alerts.count(), 3u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kVFSDiskFileAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], kVFSDiskFileAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[2], kVFSOutHeaderAlert));
}

} // namespace
