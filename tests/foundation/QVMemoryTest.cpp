#include <gtest/gtest.h>

#include <cstring>

#include "foundation/QVMemory.h"
#include "support/SanitizerSkips.h"

namespace {
constexpr int32_t kImpossibleSize = 0x7FFFFFF0;
}

TEST(QVMemory, HandlesKeepTheirSizeAndData) {
  QV::Handle handle = QV::NewHandleClear(6);
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(QV::GetHandleSize(handle), 6);
  EXPECT_EQ(std::memcmp(*handle, "\0\0\0\0\0\0", 6), 0);
  std::memcpy(*handle, "abcdef", 6);

  QV::SetHandleSize(handle, 3);
  EXPECT_EQ(QV::GetHandleSize(handle), 3);
  EXPECT_EQ(std::memcmp(*handle, "abc", 3), 0);
  QV::SetHandleSize(handle, 100);
  EXPECT_EQ(QV::GetHandleSize(handle), 100);
  EXPECT_EQ(std::memcmp(*handle, "abc", 3), 0);

  QV::Handle copy = handle;
  EXPECT_TRUE(QV::HandToHand(&copy));
  EXPECT_NE(copy, handle);
  EXPECT_NE(*copy, *handle);
  EXPECT_EQ(QV::GetHandleSize(copy), 100);
  EXPECT_EQ(std::memcmp(*copy, "abc", 3), 0);

  QV::Handle empty = QV::NewHandle(0);
  QV::Handle same = empty;
  EXPECT_FALSE(QV::HandToHand(&same));
  EXPECT_EQ(same, empty);

  EXPECT_EQ(QV::GetHandleSize(nullptr), 0);
  QV::SetHandleSize(nullptr, 4);
  QV::DisposeHandle(nullptr);
  QV::DisposeHandle(copy);
  QV::DisposeHandle(handle);
  QV::DisposeHandle(empty);
}

TEST(QVMemory, PointersAndBlockMove) {
  char *pointer = QV::NewPtrClear(8);
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(std::memcmp(pointer, "\0\0\0\0\0\0\0\0", 8), 0);
  std::memcpy(pointer, "abcdefgh", 8);
  QV::BlockMoveData(pointer, pointer + 2, 5); // source first, overlapping
  EXPECT_EQ(std::memcmp(pointer, "ababcdeh", 8), 0);
  QV::DisposePtr(pointer);
}

// A failed allocation used to go unnoticed and the clearing wrote through
// null; it now ends the process like every allocation under the quit policy.
// The first block of nearly 2 GB may still fit the address space; a second
// one cannot.
TEST(QVMemoryDeathTest, FailedAllocationEndsTheProcess) {
  SKIP_WHEN_MALLOC_FAILURE_ABORTS();
  EXPECT_EXIT((QV::NewPtr(kImpossibleSize), QV::NewPtrClear(kImpossibleSize)),
              testing::ExitedWithCode(1), "Out of memory");
  EXPECT_EXIT((QV::NewPtr(kImpossibleSize), QV::NewPtr(kImpossibleSize)),
              testing::ExitedWithCode(1), "Out of memory");
  EXPECT_EXIT((QV::NewPtr(kImpossibleSize), QV::NewHandleClear(kImpossibleSize)),
              testing::ExitedWithCode(1), "Out of memory");
}
