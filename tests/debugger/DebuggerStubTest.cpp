// The stub's parts that run without a link: the command table's results and
// its breakpoint-table checks, and the guarded memory copies behind every
// memory command.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>

#include "debugger/DebuggerStub.h"
#include "debugger/GuardedMemory.h"
#include "support/AlertRecorder.h"

namespace {

string Text(const char *text) { return string(text); }

bool Dispatch(const char *command, const char *argument = "") {
  return DispatchDebuggerCommand(Text(command), Text(argument));
}

TEST(DebuggerStubTest, OnlyTheFourResumingCommandsResumeInAnyCase) {
  EXPECT_TRUE(Dispatch("RUN"));
  EXPECT_TRUE(Dispatch("run"));
  EXPECT_TRUE(Dispatch("Step"));
  EXPECT_TRUE(Dispatch("STEPOVER")); // while running: a plain step
  EXPECT_TRUE(Dispatch("stepout"));
  EXPECT_FALSE(Dispatch(""));
  EXPECT_FALSE(Dispatch("RUNX"));
  EXPECT_FALSE(Dispatch("RU"));
  EXPECT_FALSE(Dispatch("SwitchToDebugger", "x"));
  EXPECT_FALSE(Dispatch("GetHWND"));
  EXPECT_FALSE(Dispatch("TOC")); // replies go nowhere without a link
}

TEST(DebuggerStubTest, BreakpointsOutsideTheTableShowTheAlertAndWriteNothing) {
  AlertRecorder alerts;
  EXPECT_FALSE(Dispatch("BRLA", "00000004"));
  Dispatch("BR", "00000003");
  Dispatch("brc", "00000000");
  EXPECT_EQ(alerts.count(), 0u);
  Dispatch("BR", "00000004");
  Dispatch("BRC", "FFFFFFFF");
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kStubSetBreakpointAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], kStubClearBreakpointAlert));
  // A count of zero or below, or one that cannot be had, leaves no table.
  for (const char *count : {"00000000", "FFFFFFFF", "80000000"}) {
    alerts.clear();
    Dispatch("BRLA", count);
    Dispatch("BR", "00000000");
    EXPECT_EQ(alerts.count(), 1u) << count;
  }
  Dispatch("BRLA", "00000000");
}

// A page that can be read and written, one that can only be read, and an
// unmapped one, in this order.
struct ThreePages {
  ThreePages() {
    page = size_t(sysconf(_SC_PAGESIZE));
    base = static_cast<char *>(
        mmap(nullptr, 3 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    std::memset(base, 0x11, 2 * page);
    mprotect(base + page, page, PROT_READ);
    munmap(base + 2 * page, page);
  }
  ~ThreePages() { munmap(base, 2 * page); }
  uintptr_t at(size_t offset) const { return reinterpret_cast<uintptr_t>(base + offset); }
  size_t page;
  char *base;
};

TEST(GuardedMemoryTest, BadAddressesFailWithoutTouchingAnything) {
  ThreePages pages;
  uint64_t value = 0;
  EXPECT_TRUE(ReadGuarded(pages.at(pages.page - 4), &value, 8)); // across two readable pages
  EXPECT_EQ(value, 0x1111111111111111ull);
  value = 0x42;
  EXPECT_FALSE(ReadGuarded(pages.at(2 * pages.page - 4), &value, 8)); // into the hole
  EXPECT_FALSE(ReadGuarded(0x10, &value, 4));
  EXPECT_FALSE(ReadGuarded(UINTPTR_MAX - 2, &value, 4)); // wraps around
  EXPECT_EQ(value, 0x42u);

  const uint64_t pattern = 0xA5A5A5A5A5A5A5A5ull;
  EXPECT_TRUE(WriteGuarded(pages.at(3), &pattern, 8));
  EXPECT_EQ(std::memcmp(pages.base + 3, &pattern, 8), 0);
  // Half on the writable page, half on the read-only one: nothing is stored.
  EXPECT_FALSE(WriteGuarded(pages.at(pages.page - 4), &pattern, 8));
  EXPECT_EQ(static_cast<unsigned char>(pages.base[pages.page - 4]), 0x11);
  EXPECT_FALSE(WriteGuarded(pages.at(pages.page + 8), &pattern, 4));
  EXPECT_FALSE(WriteGuarded(0x10, &pattern, 4));
  EXPECT_EQ(static_cast<unsigned char>(pages.base[pages.page + 8]), 0x11);
}

} // namespace
