#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HandMadeFrames.h"
#include "foundation/String.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/exceptions/StackCheck.h"
#include "runtime/exceptions/Unwinder.h"

extern "C" void *__libc_stack_end;

namespace {

std::vector<std::string> sUnhandledClasses;

void RecordClass(RuntimeObject *exception) {
  sUnhandledClasses.push_back(stringStorage::CString(exception->classPtr->name));
}

class StackCheck : public testing::Test {
protected:
  void SetUp() override {
    SetUnhandledExceptionHook(RecordClass);
    sUnhandledClasses.clear();
  }
  void TearDown() override {
    SetUnhandledExceptionHook(nullptr);
    SetRunningMainStack();
    SetMainStackBudget({0, 0});
    SetImageCodeRange(nullptr, 0);
  }
};

// A thread stack placed relative to the current stack pointer.
struct StackPlacement {
  const char *what;
  intptr_t baseBelowSp; // bytes from the block's base up to the stack pointer
  uintptr_t size;
  bool overflows;
};

class StackPlacements : public StackCheck, public testing::WithParamInterface<StackPlacement> {};

TEST_P(StackPlacements, RaisesStackOverflowOnlyWhenTheReserveIsReached) {
  const StackPlacement &p = GetParam();
  const uintptr_t base = CurrentStackPointer() - p.baseBelowSp;
  SetRunningThreadStack({base, base + p.size});
  RuntimeStackCheck();
  SetRunningMainStack();
  if (p.overflows)
    EXPECT_EQ(sUnhandledClasses, std::vector<std::string>{"stackOverflowException"});
  else
    EXPECT_TRUE(sUnhandledClasses.empty());
}

INSTANTIATE_TEST_SUITE_P(
    StackCheck, StackPlacements,
    testing::Values(StackPlacement{"PlentyLeft", 64 * 1024, 128 * 1024, false},
                    StackPlacement{"WithinTheReserve", 2048, 16 * 1024, true},
                    // Only a little below: a 32-bit stack can lie within a few
                    // dozen kilobytes of the address space's end, and a base
                    // computed further up would wrap round to a low address.
                    StackPlacement{"BelowTheBase", -1024, 16 * 1024, true},
                    // A stack pointer far above the block: a callback on another stack.
                    StackPlacement{"FarAboveTheTop", 1024 * 1024, 16 * 1024, false}),
    [](const auto &info) { return std::string(info.param.what); });

TEST_F(StackCheck, NothingIsCheckedBeforeABudgetIsSet) {
  RuntimeStackCheck();
  EXPECT_TRUE(sUnhandledClasses.empty());
}

TEST_F(StackCheck, StartUpBudgetLiesBelowTheStackPointer) {
  const uintptr_t sp = CurrentStackPointer();
  InitStackChecker(kMainStackBudget);
  const StackBounds budget = RunningStackBudget();
  EXPECT_EQ(budget.top - budget.base, uintptr_t(kMainStackBudget));
  EXPECT_LT(budget.top, sp);
  EXPECT_GT(budget.top, sp - 1024);
  RuntimeStackCheck();
  EXPECT_TRUE(sUnhandledClasses.empty());
}

TEST_F(StackCheck, OverflowResumesInTheCallersHandlerWhileItsFrameIsInsideTheStack) {
  RegisterHandMadeFramesAsImageCode();
  const uintptr_t base = CurrentStackPointer() - 1024;
  SetRunningThreadStack({base, reinterpret_cast<uintptr_t>(__libc_stack_end)});
  int32_t continued = 0;
  RuntimeObject *caught =
      HandMadeProtected(reinterpret_cast<Body>(RuntimeStackCheck), nullptr, &continued);
  SetRunningMainStack();
  ASSERT_NE(caught, nullptr);
  EXPECT_STREQ(stringStorage::CString(caught->classPtr->name), "stackOverflowException");
  EXPECT_EQ(continued, 0);
  EXPECT_TRUE(sUnhandledClasses.empty());
  RuntimeUnlockObject(caught);
}

} // namespace
