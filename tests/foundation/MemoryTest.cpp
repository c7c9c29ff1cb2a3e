#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "foundation/Memory.h"
#include "support/AlertRecorder.h"
#include "support/SanitizerSkips.h"

#if SMALL_BLOCKS_USE_MALLOC
#define SKIP_IN_MALLOC_MODE() GTEST_SKIP() << "every small block comes from malloc"
#else
#define SKIP_IN_MALLOC_MODE()
#endif

namespace {

// Takes all the address space malloc can hand out, down to blocks of 4 KB,
// so that the next chunk or large block cannot be had. While it lives nothing
// may use operator new: a failing chunk would end the process.
class AddressSpaceFiller {
public:
  AddressSpaceFiller() {
    for (size_t size = size_t(1) << 30; size >= 4096; size /= 2)
      while (mCount < kMaxBlocks) {
        void *block = std::malloc(size);
        if (!block)
          break;
        mBlocks[mCount++] = block;
      }
  }
  ~AddressSpaceFiller() {
    for (int i = 0; i < mCount; ++i)
      std::free(mBlocks[i]);
  }
  AddressSpaceFiller(const AddressSpaceFiller &) = delete;
  AddressSpaceFiller &operator=(const AddressSpaceFiller &) = delete;

private:
  static constexpr int kMaxBlocks = 4096;
  void *mBlocks[kMaxBlocks];
  int mCount = 0;
};

// Counts alerts without allocating, so that byte accounting can be checked
// across a call that raises one.
int sAlertCount;
const char *sLastAlertMessage;
void CountAlert(const AssertionAlert &alert) {
  ++sAlertCount;
  sLastAlertMessage = alert.message;
}

class QuietAlerts {
public:
  QuietAlerts() : mPrevious(SetAssertionAlertPresenter(CountAlert)) {
    sAlertCount = 0;
    sLastAlertMessage = nullptr;
  }
  ~QuietAlerts() { SetAssertionAlertPresenter(mPrevious); }

private:
  AssertionAlertPresenter mPrevious;
};

} // namespace

TEST(SmallBlocks, FreedBlockIsReusedWithinItsSizeClassOnly) {
  SKIP_IN_MALLOC_MODE();
  struct Case {
    long freed, requested;
    bool sameBlock;
  } cases[] = {{1, 4, true},    {4, 1, true},     {10, 12, true},
               {10, 13, false}, {249, 252, true}, {8, 4, false}};
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.freed << " then " << c.requested);
    char *block = OSalloclen(c.freed, kMemFullQuit);
    OSfreelen(block, c.freed);
    char *again = OSalloclen(c.requested, kMemFullQuit);
    EXPECT_EQ(again == block, c.sameBlock);
    OSfreelen(again, c.requested);
  }
}

TEST(SmallBlocks, ChunkHoldsWholeBlocksOfAClass) {
  SKIP_IN_MALLOC_MODE();
  // Consecutive cuts from one chunk lie next to each other; a jump starts a
  // new 8192-byte chunk. Every complete run between two jumps therefore holds
  // floor(8192 / 4k) blocks.
  for (long blockSize : {252L, 80L, 4L}) {
    SCOPED_TRACE(blockSize);
    long perChunk = 8192 / blockSize;
    // Enough to drain whatever the free list of the class holds first.
    std::vector<char *> blocks(static_cast<size_t>(perChunk * 4 + 20000));
    for (char *&b : blocks)
      b = OSalloclen(blockSize, kMemFullQuit);
    std::vector<long> runs;
    long run = 1;
    for (size_t i = 1; i < blocks.size(); ++i) {
      if (blocks[i] == blocks[i - 1] + blockSize) {
        ++run;
      } else {
        runs.push_back(run);
        run = 1;
      }
    }
    runs.push_back(run);
    // The last run is the current chunk, still being cut; the two before it
    // come from whole fresh chunks.
    ASSERT_GE(runs.size(), 3u);
    EXPECT_EQ(runs[runs.size() - 2], perChunk);
    EXPECT_EQ(runs[runs.size() - 3], perChunk);
    for (char *b : blocks)
      OSfreelen(b, blockSize);
  }
}

TEST(SmallBlocks, CountsRequestedBytesNotRoundedOnes) {
  long before = gTotalAllocLen;
  char *block = OSalloclen(10, kMemFullQuit);
  EXPECT_EQ(gTotalAllocLen, before + 10);
  OSfreelen(block, 10);
  EXPECT_EQ(gTotalAllocLen, before);

  char *large = OSalloclen(253, kMemFullQuit); // malloc'd, not counted
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(gTotalAllocLen, before);
  OSfreelen(large, 253);

  EXPECT_EQ(OSalloclen(0, kMemFullQuit), nullptr);
  EXPECT_EQ(OSalloclen(-4, kMemFullQuit), nullptr);
  OSfreelen(nullptr, 10);
  EXPECT_EQ(gTotalAllocLen, before);
}

TEST(SmallBlocks, FailedRequestUnderReturnNullLeavesNoTrace) {
  SKIP_WHEN_MALLOC_FAILURE_ABORTS();
  EXPECT_EQ(OSalloc(-1, kMemFullReturnNull), nullptr);
  long before = gTotalAllocLen;
  char *largeBlock, *objectBlock;
  char *smallBlocks[20000];
  int smallCount = 0;
  long accountedDuringFill;
  {
    AddressSpaceFiller filler;
    largeBlock = OSalloc(1 << 20, kMemFullReturnNull);
    objectBlock = static_cast<char *>(::operator new(1 << 20, std::nothrow));
    // Small requests succeed until the chunks run out, then answer null.
    while (smallCount < 20000) {
      char *block = OSalloclen(200, kMemFullReturnNull);
      if (!block)
        break;
      smallBlocks[smallCount++] = block;
    }
    accountedDuringFill = gTotalAllocLen;
  }
  EXPECT_EQ(largeBlock, nullptr);
  EXPECT_EQ(objectBlock, nullptr);
  EXPECT_LT(smallCount, 20000);
  EXPECT_EQ(accountedDuringFill, before + 200L * smallCount);
  for (int i = 0; i < smallCount; ++i)
    OSfreelen(smallBlocks[i], 200);
  EXPECT_EQ(gTotalAllocLen, before);
}

TEST(SmallBlocksDeathTest, ExhaustionUnderQuitPolicyEndsWithFailureStatus) {
  SKIP_WHEN_MALLOC_FAILURE_ABORTS();
  EXPECT_EXIT(
      {
        AddressSpaceFiller filler;
        OSalloc(1 << 20, kMemFullQuit);
      },
      testing::ExitedWithCode(1), "Out of memory");
  EXPECT_EXIT(
      {
        AddressSpaceFiller filler;
        for (;;)
          OSalloclen(252, kMemFullQuit);
      },
      testing::ExitedWithCode(1), "Out of memory");
  EXPECT_EXIT(
      {
        AddressSpaceFiller filler;
        for (;;)
          (void)::operator new(100);
      },
      testing::ExitedWithCode(1), "Out of memory");
}

TEST(ObjectNew, BlockCarriesSizeAndGuardWords) {
  // Through a volatile pointer: the compiler must not reason about the words
  // in front of what it sees as a zero-byte object.
  char *volatile object = static_cast<char *>(::operator new(0));
  ASSERT_NE(object, nullptr);
  auto *header = reinterpret_cast<ObjectBlockHeader *>(object - sizeof(ObjectBlockHeader));
  EXPECT_EQ(header->size, 0u);
  EXPECT_EQ(header->guard, kLiveBlockGuard);
  long before = gTotalAllocLen;
  ::operator delete(object);
  long after = gTotalAllocLen;
  // 8 bytes: class 2, so the next 8-byte small block is the same one.
  char *again = OSalloclen(8, kMemFullQuit);
  OSfreelen(again, 8);
  EXPECT_EQ(after, before - 8);
#if !SMALL_BLOCKS_USE_MALLOC
  EXPECT_EQ(again, reinterpret_cast<char *>(header));
#endif
}

TEST(ObjectNew, CountsHeaderWithTheObject) {
  long before = gTotalAllocLen;
  void *values = ::operator new[](40);
  long during = gTotalAllocLen;
  ::operator delete[](values);
  EXPECT_EQ(during, before + 48);
  EXPECT_EQ(gTotalAllocLen, before);
}

TEST(ObjectNew, DoubleDeleteAlertsAndLeavesTheBlockAlone) {
  SKIP_IN_MALLOC_MODE();
  {
    AlertRecorder alerts;
    void *volatile block = ::operator new(4);
    ::operator delete(block);
    EXPECT_EQ(alerts.count(), 0u);
    ::operator delete(block); // the second release of the same block
    ASSERT_EQ(alerts.count(), 1u);
    EXPECT_TRUE(ShownAt(alerts.alerts()[0], kOverwroteBlockAlert));
    EXPECT_EQ(alerts.alerts()[0].message, kOverwroteBlockMessage);
  }
  QuietAlerts quiet;
  void *volatile block = ::operator new(4);
  ::operator delete(block);
  long afterFirst = gTotalAllocLen;
  ::operator delete(block);
  long afterSecond = gTotalAllocLen;
  // Released once only: the next two blocks of its class are distinct.
  char *a = OSalloclen(12, kMemFullQuit);
  char *b = OSalloclen(12, kMemFullQuit);
  OSfreelen(a, 12);
  OSfreelen(b, 12);
  EXPECT_EQ(sAlertCount, 1);
  EXPECT_EQ(afterSecond, afterFirst);
  EXPECT_NE(a, b);
}

TEST(ObjectNew, ForeignBlockIsNotReleased) {
  QuietAlerts quiet;
  uint32_t fake[4] = {16, 0x12345678, 0, 0};
  void *volatile foreign = &fake[2]; // hidden from the compiler's own check
  long before = gTotalAllocLen;
  ::operator delete(foreign);
  long after = gTotalAllocLen;
  ::operator delete(nullptr);
  EXPECT_EQ(sAlertCount, 1);
  EXPECT_STREQ(sLastAlertMessage, "overwrote start of block");
  EXPECT_EQ(after, before);
}

TEST(ObjectNewDeathTest, SizeNearFourGigabytesIsExhaustion) {
  volatile size_t huge = SIZE_MAX - 4;
  EXPECT_EXIT((void)::operator new(huge), testing::ExitedWithCode(1), "Out of memory");
  EXPECT_EXIT((void)::operator new[](huge), testing::ExitedWithCode(1), "Out of memory");
}

TEST(ObjectNew, NothrowFormAnswersNullWhenTheSizeCannotBeMet) {
  volatile size_t huge = SIZE_MAX - 4;
  EXPECT_EQ(::operator new(huge, std::nothrow), nullptr);
  EXPECT_EQ(::operator new[](huge, std::nothrow), nullptr);
}

namespace {

// Records the order of purge calls; answers true only when told to.
class Purgeable : public purgableObject {
public:
  Purgeable(std::vector<Purgeable *> &log, bool releases) : mLog(log), mReleases(releases) {}
  bool purge() override {
    mLog.push_back(this);
    return mReleases;
  }

private:
  std::vector<Purgeable *> &mLog;
  bool mReleases;
};

std::vector<purgableObject *> OldestToNewest() {
  std::vector<purgableObject *> order;
  for (purgableObject *o = purgableObject::Oldest(); o; o = o->Newer())
    order.push_back(o);
  return order;
}

} // namespace

TEST(PurgableObject, ListKeepsUseOrder) {
  std::vector<Purgeable *> log;
  Purgeable a(log, false), b(log, false), c(log, false);
  EXPECT_FALSE(a.IsLinked());
  a.MarkUsed(); // not linked: becomes the newest
  b.LinkObject();
  c.LinkObject();
  c.LinkObject(); // already linked: no change
  EXPECT_EQ(OldestToNewest(), (std::vector<purgableObject *>{&a, &b, &c}));
  a.MarkUsed();
  EXPECT_EQ(OldestToNewest(), (std::vector<purgableObject *>{&b, &c, &a}));
  EXPECT_EQ(purgableObject::Newest(), &a);
  c.UnlinkObject();
  EXPECT_EQ(OldestToNewest(), (std::vector<purgableObject *>{&b, &a}));
  EXPECT_EQ(a.Older(), &b);
  {
    Purgeable d(log, false);
    d.LinkObject();
    EXPECT_EQ(purgableObject::Newest(), &d);
  } // destruction unlinks
  EXPECT_EQ(purgableObject::Newest(), &a);
  b.UnlinkObject();
  a.UnlinkObject();
  EXPECT_EQ(purgableObject::Oldest(), nullptr);
  EXPECT_EQ(purgableObject::Newest(), nullptr);
}

TEST(PurgableObject, SweepStopsAtTheFirstThatReleases) {
  std::vector<Purgeable *> log;
  Purgeable a(log, false), b(log, true), c(log, true);
  a.LinkObject();
  b.LinkObject();
  c.LinkObject();
  EXPECT_TRUE(PurgeOldestObjects());
  EXPECT_EQ(log, (std::vector<Purgeable *>{&a, &b}));

  b.UnlinkObject();
  c.UnlinkObject();
  log.clear();
  EXPECT_FALSE(PurgeOldestObjects());
  EXPECT_EQ(log, (std::vector<Purgeable *>{&a}));
}

namespace {
// Drops its data and leaves the list, as an image cache does.
class SelfUnlinking : public purgableObject {
public:
  bool purge() override {
    UnlinkObject();
    return false;
  }
};
} // namespace

TEST(PurgableObject, SweepGoesOnPastAnObjectThatUnlinksItself) {
  std::vector<Purgeable *> log;
  SelfUnlinking first;
  Purgeable second(log, true);
  first.LinkObject();
  second.LinkObject();
  EXPECT_TRUE(PurgeOldestObjects());
  EXPECT_EQ(log, (std::vector<Purgeable *>{&second}));
}

#if defined(__SANITIZE_ADDRESS__) && SMALL_BLOCKS_USE_MALLOC
TEST(SmallBlocksDeathTest, SanitizerSeesEachSmallBlock) {
  EXPECT_DEATH(
      {
        volatile char *block = OSalloclen(10, kMemFullQuit);
        block[10] = 1;
      },
      "heap-buffer-overflow");
}
#endif
