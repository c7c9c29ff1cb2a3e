// Hostile volume files: damaged headers, chains, maps and lists, every prefix
// of a volume, and seeded random mutations of real volumes. Each is opened,
// listed, read, written and deleted from; the answers may be "invalid",
// false, nil or an alert, never a crash or a walk that does not end. Inputs
// the mutations once found harmful are kept in volumes/ and run again.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>

#include "foundation/VFile.h"
#include "foundation/VHFSVolume.h"
#include "support/AlertRecorder.h"
#include "support/VolumeTestSupport.h"

namespace {

constexpr VFileType kText = 0x54455854;

struct BlockInfo {
  uint32_t start, idnum, sequence;
  double length, next;
};

// The blocks of a version-3 volume, read without any checks but a bound.
std::vector<BlockInfo> Blocks(const std::string &bytes) {
  std::vector<BlockInfo> blocks;
  size_t at = 8;
  while (at + 28 <= bytes.size() && blocks.size() < bytes.size() / 36) {
    BlockInfo b{static_cast<uint32_t>(at), nloadlong(&bytes[at + 4]), nloadlong(&bytes[at + 8]),
                hloaddouble8(&bytes[at + 12]), hloaddouble8(&bytes[at + 20])};
    blocks.push_back(b);
    if (!(b.length >= 36))
      break;
    at += static_cast<size_t>(b.length);
  }
  return blocks;
}

// The block, or one with start 0 when there is none.
BlockInfo FindBlock(const std::vector<BlockInfo> &blocks, uint32_t idnum, uint32_t sequence) {
  for (const BlockInfo &b : blocks)
    if (b.idnum == idnum && b.sequence == sequence)
      return b;
  return BlockInfo{0, 0, 0, 0, 0};
}

void PutBigDouble(std::string &bytes, size_t at, double value) {
  hstoredouble8(&bytes[at], SwapEndianDouble(value));
}

void PutBigLong(std::string &bytes, size_t at, uint32_t value) { nstorelong(&bytes[at], value); }

// Root with a folder d (holding f, 2000 bytes, and a folder e) and a file g.
struct SmallVolume {
  std::string bytes;
  uint32_t d = 0, e = 0, f = 0, g = 0;
  SmallVolume() {
    MemoryStream stream;
    {
      std::unique_ptr<VHFSVolume> volume(VHFSVolume::Create(&stream, false));
      const VFileRef root = volume->GetRoot();
      const VFileRef dRef = volume->CreateDirectory(root, "d");
      const VFileRef fRef = volume->CreateFile(dRef, "f", kText);
      const VFileRef eRef = volume->CreateDirectory(dRef, "e");
      const VFileRef gRef = volume->CreateFile(root, "g", kText);
      WriteAll(*volume, fRef, std::string(2000, 'f'));
      WriteAll(*volume, gRef, "hello");
      d = dRef.mIdnum, e = eRef.mIdnum, f = fRef.mIdnum, g = gRef.mIdnum;
    }
    bytes = stream.Bytes();
  }
};

const SmallVolume &Small() {
  static const SmallVolume small;
  return small;
}

// A volume of small blocks that has seen deletes: long chains, free blocks
// and a folder list spread over several blocks.
const std::string &Busy() {
  static const std::string bytes = [] {
    MemoryStream stream;
    {
      std::unique_ptr<VHFSVolume> volume(VHFSVolume::Create(&stream, false));
      volume->BlockStore()->SetBlockSizePrefs(64, 128, 16384);
      const VFileRef root = volume->GetRoot();
      const VFileRef folder = volume->CreateDirectory(root, "many");
      std::vector<VFileRef> files;
      for (int i = 0; i < 20; ++i) {
        files.push_back(volume->CreateFile(folder, ("file" + std::to_string(i)).c_str(), kText));
        WriteAll(*volume, files.back(), std::string(50 * i, static_cast<char>('a' + i)));
      }
      for (int i = 0; i < 20; i += 4)
        volume->DeleteFile(files[i]);
      WriteAll(*volume, volume->CreateFile(root, "g", kText), "hello");
    }
    return stream.Bytes();
  }();
  return bytes;
}

struct Outcome {
  bool valid = false;
  std::set<std::string> readable; // paths whose contents read to their length
  std::string g;                  // the contents of g
};

// Uses a volume every way the folder items do; bounded by the volume's size.
Outcome Exercise(const std::string &bytes) {
  Outcome outcome;
  MemoryStream *stream = new MemoryStream(bytes);
  VHFSVolume volume(stream, true);
  outcome.valid = volume.IsValid();
  if (!outcome.valid)
    return outcome;
  const VFileRef root = volume.GetRoot();
  std::deque<std::pair<VFileRef, std::string>> folders{{root, ""}};
  std::set<uint32_t> visited{root.mIdnum};
  std::vector<VFileRef> files;
  while (!folders.empty()) {
    const auto [folder, path] = folders.front();
    folders.pop_front();
    SimpleVector<VFileRef> children;
    volume.GetChildren(folder, children);
    for (const VFileRef &child : children) {
      if (!visited.insert(child.mIdnum).second)
        continue;
      const std::string childPath = path + child.mName.CString();
      // Parent walks end, however the parents are linked.
      VFileRef up = child;
      for (int64_t steps = 0; up.mType && steps < volume.MaxWalkSteps(); ++steps)
        up = volume.GetParent(up);
      volume.GetFileInfo(child);
      if (child.mType == kFolderFileType) {
        folders.emplace_back(child, childPath + "/");
        continue;
      }
      files.push_back(child);
      bool ok = false;
      const std::string contents = ReadAll(volume, child, &ok);
      if (ok)
        outcome.readable.insert(childPath);
      if (childPath == "g")
        outcome.g = contents;
    }
  }
  const VFileRef fresh = volume.CreateFile(root, "new", kText);
  if (fresh.mType) {
    WriteAll(volume, fresh, std::string(3000, 'n'));
    ReadAll(volume, fresh);
    const VFileRef folder = volume.CreateDirectory(root, "newfolder");
    volume.MoveFile(fresh, folder);
    volume.DeleteFile(fresh);
    volume.DeleteFile(folder);
  }
  for (const VFileRef &file : files)
    volume.DeleteFile(file);
  volume.BlockStore()->FlushToDisk();
  return outcome;
}

TEST(VolumeHostileTest, TheVolumesAreWholeBeforeTheyAreDamaged) {
  const Outcome outcome = Exercise(Small().bytes);
  EXPECT_TRUE(outcome.valid);
  EXPECT_EQ(outcome.readable, (std::set<std::string>{"d/f", "g"}));
  EXPECT_EQ(outcome.g, "hello");
  const Outcome busy = Exercise(Busy());
  EXPECT_EQ(busy.readable.size(), 16u);
  EXPECT_EQ(busy.g, "hello");
}

TEST(VolumeHostileTest, DamagedBlocksOfOneFileLeaveTheOthersReadable) {
  const SmallVolume &small = Small();
  const std::vector<BlockInfo> blocks = Blocks(small.bytes);
  const BlockInfo first = FindBlock(blocks, small.f, 0);
  const BlockInfo second = FindBlock(blocks, small.f, 1);
  ASSERT_TRUE(first.start && second.start);
  const struct {
    const char *what;
    size_t at;
    double value;
  } cases[] = {
      {"length 0", second.start + 12u, 0},
      {"length 31", second.start + 12u, 31},
      {"length NaN", second.start + 12u, NAN},
      {"length -1", second.start + 12u, -1},
      {"length 2^40", second.start + 12u, std::ldexp(1.0, 40)},
      {"length infinite", second.start + 12u, INFINITY},
      {"length past the end", second.start + 12u, small.bytes.size() - second.start + 1.0},
      {"next at itself", first.start + 20u, static_cast<double>(first.start)},
      {"next past the end", first.start + 20u, static_cast<double>(small.bytes.size())},
      {"next 2^40", first.start + 20u, std::ldexp(1.0, 40)},
      {"next 3.5", first.start + 20u, 3.5},
      {"next NaN", first.start + 20u, NAN},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    AlertRecorder alerts;
    std::string bytes = small.bytes;
    PutBigDouble(bytes, c.at, c.value);
    const Outcome outcome = Exercise(bytes);
    EXPECT_TRUE(outcome.valid);
    EXPECT_EQ(outcome.readable.count("d/f"), 0u);
    EXPECT_EQ(outcome.g, "hello");
  }
}

TEST(VolumeHostileTest, DamagedVolumeHeadersAndFirstBlocksAreInvalid) {
  const std::string &good = Small().bytes;
  const struct {
    const char *what;
    size_t at;
    double value;
  } cases[] = {{"first length 0", 20, 0}, {"first length NaN", 20, NAN},
               {"first length 35", 20, 35}, {"first length 2^40", 20, std::ldexp(1.0, 40)}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = good;
    PutBigDouble(bytes, c.at, c.value);
    EXPECT_FALSE(Exercise(bytes).valid);
  }
}

TEST(VolumeHostileTest, AStoredMapThatCannotBeRightIsRebuilt) {
  const SmallVolume &small = Small();
    // The record follows in file 1's second block: its count is what goes wrong.
  const BlockInfo record = FindBlock(Blocks(small.bytes), 1, 1);
  ASSERT_NE(record.start, 0u);
  const struct {
    const char *what;
    size_t at;
    uint32_t value;
  } cases[] = {{"map count 2^30", record.start + 28u + 4u, 1u << 30},
               {"map size 2^31 - 1", 40, 0x7FFFFFFF},
               {"map size 3", 40, 3},
               {"map magic", record.start + 28u, 0x424D6171},
               {"map entry outside the file", record.start + 28u + 8u, 0x7FFFFF00}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    std::string bytes = small.bytes;
    PutBigLong(bytes, c.at, c.value);
    const Outcome outcome = Exercise(bytes);
    EXPECT_TRUE(outcome.valid);
    EXPECT_EQ(outcome.readable, (std::set<std::string>{"d/f", "g"}));
  }
}

TEST(VolumeHostileTest, DamagedListsAndParentCyclesEndInAlertsOrRefusals) {
  AlertRecorder alerts;
  const SmallVolume &small = Small();
  // The root's child count: 2^30.
  {
    std::string bytes = small.bytes;
    const BlockInfo root = FindBlock(Blocks(bytes), kRootDirectoryIDnum, 0);
    PutBigLong(bytes, root.start + 28u + 256u, 1u << 30);
    const Outcome outcome = Exercise(bytes);
    EXPECT_TRUE(outcome.valid);
    EXPECT_TRUE(outcome.readable.empty());
    EXPECT_TRUE(alerts.saw("0"));
  }
  // d names its own child e as parent: d leaves the root's listing.
  {
    std::string bytes = small.bytes;
    const BlockInfo d = FindBlock(Blocks(bytes), small.d, 0);
    PutBigLong(bytes, d.start + 28u + 12u, small.e);
    const Outcome outcome = Exercise(bytes);
    EXPECT_TRUE(outcome.valid);
    EXPECT_EQ(outcome.readable, std::set<std::string>{"g"});
    MemoryStream *stream = new MemoryStream(bytes);
    VHFSVolume volume(stream, true);
    const VFileRef other = volume.CreateDirectory(volume.GetRoot(), "other");
    VFileRef e;
    e.mIdnum = small.e;
    volume.LoadFileInfo(&e);
    ASSERT_EQ(e.mType, kFolderFileType);
    // The walk up from e never reaches the root: the folder is refused, a
    // file (which needs no walk) moves.
    EXPECT_FALSE(volume.MoveFile(other, e));
    VFileRef g;
    g.mIdnum = small.g;
    volume.LoadFileInfo(&g);
    EXPECT_TRUE(volume.MoveFile(g, e));
  }
}

TEST(VolumeHostileTest, EveryPrefixOfAVolumeIsRefusedOrUsable) {
  const std::string &bytes = Small().bytes;
  AlertRecorder alerts;
  for (size_t length = 0; length <= bytes.size(); ++length) {
    SCOPED_TRACE(length);
    const Outcome outcome = Exercise(bytes.substr(0, length));
    if (length < 48) {
      EXPECT_FALSE(outcome.valid);
    } else if (length == bytes.size()) {
      EXPECT_EQ(outcome.g, "hello");
    }
  }
}

// One random change of the kind damage and hostile writers make.
void Mutate(std::string &bytes, std::mt19937 &random) {
  if (bytes.empty())
    return;
  const std::vector<BlockInfo> blocks = Blocks(bytes);
  const double interesting[] = {0,    -1,   NAN,  INFINITY, 31,  35, 36,
                                1024, 1e10, 3.5,  std::ldexp(1.0, 40),
                                static_cast<double>(bytes.size()),
                                static_cast<double>(bytes.size() - 36)};
  const uint32_t words[] = {0, 1, 2, 3, 0xFFFFFFFF, 0x40000000, 0x666F6C64, 256,
                            static_cast<uint32_t>(bytes.size())};
  switch (random() % 6) {
  case 0: // a byte anywhere
    bytes[random() % bytes.size()] ^= static_cast<char>(1 + random() % 255);
    break;
  case 1: // a header double
    if (!blocks.empty()) {
      const BlockInfo &b = blocks[random() % blocks.size()];
      const size_t at = b.start + (random() % 2 ? 12 : 20);
      double value = interesting[random() % std::size(interesting)];
      if (random() % 3 == 0)
        value = blocks[random() % blocks.size()].start;
      if (at + 8 <= bytes.size())
        PutBigDouble(bytes, at, value);
    }
    break;
  case 2: // a header word
    if (!blocks.empty()) {
      const BlockInfo &b = blocks[random() % blocks.size()];
      const size_t at = b.start + 4 * (random() % 3);
      if (at + 4 <= bytes.size())
        PutBigLong(bytes, at, words[random() % std::size(words)]);
    }
    break;
  case 3: // a word in some block's data (object headers, lists, the map)
    if (!blocks.empty()) {
      const BlockInfo &b = blocks[random() % blocks.size()];
      const size_t at = b.start + 28 + 4 * (random() % 70);
      if (at + 4 <= bytes.size())
        PutBigLong(bytes, at, random() % 2 ? words[random() % std::size(words)]
                                           : blocks[random() % blocks.size()].idnum);
    }
    break;
  case 4: // cut short
    bytes.resize(random() % bytes.size());
    break;
  default: // a block's header copied over another's
    if (blocks.size() > 1) {
      const BlockInfo &from = blocks[random() % blocks.size()];
      const BlockInfo &to = blocks[random() % blocks.size()];
      if (from.start + 28 <= bytes.size() && to.start + 28 <= bytes.size())
        bytes.replace(to.start, 28, bytes.substr(from.start, 28));
    }
    break;
  }
}

std::string ReadFile(const std::filesystem::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// VOLUME_FUZZ_ITERATIONS runs longer, VOLUME_FUZZ_SEED starts from another
// seed; VOLUME_FUZZ_LAST names a file that holds
// each input while it runs, so that one that brings the test down can be
// kept in volumes/.
TEST(VolumeHostileTest, SeededMutationsOfRealVolumesAreRefusedOrUsable) {
  AlertRecorder alerts;
  const char *iterationsText = std::getenv("VOLUME_FUZZ_ITERATIONS");
  const char *lastInput = std::getenv("VOLUME_FUZZ_LAST");
  const int iterations = iterationsText ? std::atoi(iterationsText) : 600;
  const char *seedText = std::getenv("VOLUME_FUZZ_SEED");
  std::mt19937 random(seedText ? static_cast<uint32_t>(std::atoi(seedText)) : 2121);
  // The bases: the small volume, the same after the map was dropped, and a
  // volume of small blocks that has seen deletes.
  std::string unmapped = Small().bytes;
  PutBigLong(unmapped, 40, 0);
  const std::string bases[] = {Small().bytes, unmapped, Busy()};
  for (int i = 0; i < iterations; ++i) {
    std::string bytes = bases[i % std::size(bases)];
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c)
      Mutate(bytes, random);
    if (lastInput)
      std::ofstream(lastInput, std::ios::binary) << bytes;
    Exercise(bytes);
  }
}

TEST(VolumeHostileTest, InputsTheMutationsFoundStayHarmless) {
  AlertRecorder alerts;
  const std::filesystem::path folder =
      std::filesystem::path(std::getenv("TEST_DATA_DIR") ? std::getenv("TEST_DATA_DIR") : ".") /
      "volumes";
  int count = 0;
  for (const auto &entry : std::filesystem::directory_iterator(folder)) {
    SCOPED_TRACE(entry.path().string());
    Exercise(ReadFile(entry.path()));
    ++count;
  }
  EXPECT_GT(count, 0);
}

} // namespace
