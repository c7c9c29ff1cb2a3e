// The runtime's memory layers: a plain allocator over malloc/free, a
// small-block allocator for blocks whose size the caller knows again when it
// frees them, and the global operator new/delete, which take every object from
// the small-block allocator behind a size word and a guard word.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/AssertionAlert.h"

// What an allocation does when memory runs out.
enum MemFullHandling : int32_t {
  kMemFullQuit = 0,       // end the process (also every value other than 1)
  kMemFullReturnNull = 1, // answer null and do nothing else
};

// malloc/free with the out-of-memory policy applied.
char *OSalloc(long size, MemFullHandling handling);
void OSfree(char *block);

// Small blocks (1 to 252 bytes) come from per-size free lists fed by 8 KB
// chunks; larger ones from OSalloc. A size of 0 or less answers null.
// OSfreelen must be given the size the block was allocated with.
char *OSalloclen(long size, MemFullHandling handling);
void OSfreelen(char *block, long size);

// Bytes requested through OSalloclen and not yet returned (requested sizes,
// not rounded up).
extern long gTotalAllocLen;

// The largest block the small-block path serves; larger requests go to malloc.
constexpr long kLargestSmallBlock = 252;

// The small-block free lists, for the inline paths below: size class k holds
// blocks of 4k bytes, k from 1 to 63; a free block's first word links to the
// next free block of its class.
struct SmallFreeBlock {
  SmallFreeBlock *next;
};
constexpr int kSmallBlockClasses = 64;
extern SmallFreeBlock *gSmallFreeLists[kSmallBlockClasses];

inline int SmallBlockClassOf(long size) { return static_cast<int>((size + 3) / 4); }

// OSalloclen and OSfreelen with the common case inline: a small block taken
// from, or given back to, its free list. Everything else (an empty list,
// large blocks, sizes of 0 or less) goes through the functions.
inline char *OSalloclenQuick(long size, MemFullHandling handling) {
#if !SMALL_BLOCKS_USE_MALLOC
  if (size > 0 && size <= kLargestSmallBlock) {
    SmallFreeBlock *&head = gSmallFreeLists[SmallBlockClassOf(size)];
    if (SmallFreeBlock *block = head) {
      head = block->next;
      gTotalAllocLen += size;
      return reinterpret_cast<char *>(block);
    }
  }
#endif
  return OSalloclen(size, handling);
}

inline void OSfreelenQuick(char *block, long size) {
#if !SMALL_BLOCKS_USE_MALLOC
  if (block && size > 0 && size <= kLargestSmallBlock) {
    gTotalAllocLen -= size;
    SmallFreeBlock *&head = gSmallFreeLists[SmallBlockClassOf(size)];
    auto *freed = reinterpret_cast<SmallFreeBlock *>(block);
    freed->next = head;
    head = freed;
    return;
  }
#endif
  OSfreelen(block, size);
}

// Start-up and exit calls. There is one thread, so no lock is taken; the flag
// only records that start-up ran.
void initializeMemoryCriticalSection();
void deleteMemoryCriticalSection();

// The two words in front of every block from the global operator new.
struct ObjectBlockHeader {
  uint32_t size;  // the size the caller asked for
  uint32_t guard; // kLiveBlockGuard while live, kReleasedBlockGuard after delete
};
static_assert(sizeof(ObjectBlockHeader) == 8);
static_assert(offsetof(ObjectBlockHeader, size) == 0);
static_assert(offsetof(ObjectBlockHeader, guard) == 4);

constexpr uint32_t kLiveBlockGuard = 0xDEADBEEF;
constexpr uint32_t kReleasedBlockGuard = 0xDEADDEAD;

// The global operator new, new[], delete and delete[] are replaced (Memory.cpp):
// new takes size + 8 bytes with kMemFullQuit, so it never answers null and a
// request that cannot be met ends the process; the nothrow forms answer null.
// Deleting a block whose guard word is wrong shows kOverwroteBlockAlert with
// kOverwroteBlockMessage and leaves the block alone.
inline constexpr AlertSite kOverwroteBlockAlert{"../Common/dump", 99, "0"};
inline constexpr char kOverwroteBlockMessage[] = "overwrote start of block";

// Called when an allocation under kMemFullQuit fails: leaves no drawing state
// selected, reports, and ends the process with a non-zero status.
[[noreturn]] void MemoryExhausted();

// Base of objects holding data they can rebuild, kept in a least-recently-used
// list so that memory pressure can make the oldest ones drop their data.
class purgableObject {
public:
  purgableObject();
  virtual ~purgableObject();
  purgableObject(const purgableObject &) = delete;
  purgableObject &operator=(const purgableObject &) = delete;

  // Releases rebuildable data; true when something was released.
  virtual bool purge() = 0;

  void LinkObject();   // joins the list as the newest, if not in it
  void UnlinkObject(); // leaves the list, if in it
  void MarkUsed();     // becomes the newest

  bool IsLinked() const { return mLinked; }
  purgableObject *Newer() const { return mNewer; }
  purgableObject *Older() const { return mOlder; }

  static purgableObject *Newest();
  static purgableObject *Oldest();

private:
  bool mLinked;
  purgableObject *mNewer;
  purgableObject *mOlder;
};

// Asks the linked objects, oldest first, to purge until one releases
// something; answers whether one did.
bool PurgeOldestObjects();
