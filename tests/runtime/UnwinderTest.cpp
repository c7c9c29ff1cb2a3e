#include <glib.h>
#include <gtest/gtest.h>

#include <vector>

#include "HandMadeFrames.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/exceptions/Unwinder.h"
#include "support/AlertRecorder.h"

namespace {

// --- The byte scan -------------------------------------------------------

struct ScanCase {
  const char *what;
  std::vector<uint8_t> code;
  int expectedRecordAt; // -1: no handler
};

// A handler record with slot offset -8, and the two bracket records.
const std::vector<uint8_t> kHandler = {0xE9, 0x0E, 0, 0, 0, 0x11, 0x04, 0, 0, 0, 0, 0xF8, 0xFF};
const std::vector<uint8_t> kRegionStart = {0xE9, 0x04, 0, 0, 0, 0x12, 0x04, 0, 0};
const std::vector<uint8_t> kRegionEnd = {0xE9, 0x04, 0, 0, 0, 0x13, 0x04, 0, 0};

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto &p : parts)
    all.insert(all.end(), p.begin(), p.end());
  return all;
}

void PrintTo(const ScanCase &c, std::ostream *os) { *os << c.what; }

class HandlerScan : public testing::TestWithParam<ScanCase> {};

TEST_P(HandlerScan, FindsTheNearestRecordAtDepthZero) {
  const ScanCase &c = GetParam();
  const uint8_t *start = c.code.data();
  const HandlerRecord *found = FindHandlerRecord(start, start + c.code.size());
  if (c.expectedRecordAt < 0)
    EXPECT_EQ(found, nullptr);
  else
    EXPECT_EQ(reinterpret_cast<const uint8_t *>(found), start + c.expectedRecordAt);
}

INSTANTIATE_TEST_SUITE_P(
    Unwinder, HandlerScan,
    testing::Values(
        ScanCase{"RecordRightAtTheStart", kHandler, 0},
        ScanCase{"PlainBytesBeforeTheRecord", Join({{0x83, 0xC4, 0x10, 0x90}, kHandler}), 4},
        ScanCase{"NestedRegionIsPassedOver",
                 Join({{0x90}, kRegionStart, {0x90}, kHandler, kRegionEnd, kHandler}), 33},
        ScanCase{"TwoLevelsOfNesting",
                 Join({kRegionStart, kRegionStart, kHandler, kRegionEnd, kHandler, kRegionEnd,
                       kHandler}),
                 62},
        ScanCase{"EndBracketWithoutStartIsIgnored", Join({kRegionEnd, kHandler}), 9},
        ScanCase{"PopReturnEndsTheFunction", Join({{0x90, 0x5D, 0xC3}, kHandler}), -1},
        ScanCase{"LeaveReturnEndsTheFunction", Join({{0xC9, 0xC3}, kHandler}), -1},
        // A jump with another word is skipped whole, so the C9 C3 inside its
        // displacement is not taken for the function's end.
        ScanCase{"NearJumpIsSkippedByItsLength",
                 Join({{0xE9, 0xC9, 0xC3, 0, 0, 0x90, 0x90, 0x90, 0x90}, kHandler}), 9},
        // The short jump's two bytes are skipped, leaving the C3 behind them alone.
        ScanCase{"ShortJumpIsSkippedByItsLength",
                 Join({{0xEB, 0x5D, 0xC3, 0x90, 0x90, 0x90, 0x90, 0x90, 0x90}, kHandler}), 9},
        ScanCase{"ShortJumpSkipsTwoBytes",
                 Join({{0xEB, 0x02, 0x5D, 0x90, 0x90, 0x90, 0x90, 0x90}, kHandler}), 8},
        ScanCase{"CodeEndsBeforeAnyRecord", {0x90, 0x90, 0xE9, 0x0E, 0, 0, 0, 0x11}, -1},
        // The marker word fits before the code's end but the slot offset
        // does not.
        ScanCase{"RecordCutShortByTheCodeEnd", {0x90, 0xE9, 0x0E, 0, 0, 0, 0x11, 0x04, 0, 0}, -1},
        ScanCase{"NestedRegionNeverClosed", Join({kRegionStart, kHandler}), -1}),
    [](const testing::TestParamInfo<ScanCase> &info) { return info.param.what; });

// The loader writes addresses into the image's code; whatever bytes they
// hold (here an address containing E9, which would swallow the record behind
// it), the scan reads them as the zeros the image linker checked.
TEST(HandlerScanOverPatchedBytes, AddressesWrittenByTheLoaderReadAsZero) {
  // mov eax, [address]; add eax, 1; mov [address], eax; then the record.
  std::vector<uint8_t> code = Join({{0xA1, 0x9C, 0xE9, 0x0C, 0x40, 0x83, 0xC0, 0x01, 0xA3, 0x9C,
                                     0xE9, 0x0C, 0x40},
                                    kHandler});
  const uint8_t *start = code.data();
  SetImageCodeRange(start, code.size());
  EXPECT_EQ(FindHandlerRecord(start, start + code.size()), nullptr)
      << "without the loader's notes the address bytes derail the scan";
  std::vector<bool> patched(code.size(), false);
  for (int i : {1, 2, 3, 4, 9, 10, 11, 12})
    patched[size_t(i)] = true;
  SetImagePatchedBytes(patched);
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(FindHandlerRecord(start, start + code.size())),
            start + 13);
  SetImageCodeRange(nullptr, 0);
  EXPECT_EQ(FindHandlerRecord(start, start + code.size()), nullptr) << "the notes go with the range";
}

TEST(Unwinder, ScanFromNilShowsTheAlert) {
  AlertRecorder alerts;
  EXPECT_EQ(FindHandlerRecord(nullptr, nullptr), nullptr);
  EXPECT_TRUE(alerts.saw("ptr"));
}

// --- Walking hand-made compiled frames ----------------------------------

std::vector<RuntimeObject *> sUnhandled;
std::vector<std::string> sEvents;

void RecordUnhandled(RuntimeObject *exception) { sUnhandled.push_back(exception); }

void NoteDestroyed(RuntimeObject *) { sEvents.push_back("local released"); }

RuntimeClass *PlainClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *c = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
    c->instanceSize = sizeof(RuntimeObject);
    return c;
  }();
  return cls;
}

RuntimeClass *NoisyClass() {
  static RuntimeClass *cls = [] {
    RuntimeClass *c = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
    c->instanceSize = sizeof(RuntimeObject);
    c->destructorHook = NoteDestroyed;
    return c;
  }();
  return cls;
}

const HandMadeImports kImports = {RuntimeLockObject, RuntimeUnlockObject, RuntimeReraiseException};

class CompiledFrames : public testing::Test {
protected:
  void SetUp() override {
    RegisterHandMadeFramesAsImageCode();
    SetUnhandledExceptionHook(RecordUnhandled);
    sUnhandled.clear();
    sEvents.clear();
    exception = RuntimeNewObject(PlainClass());
  }
  void TearDown() override {
    SetUnhandledExceptionHook(nullptr);
    SetImageCodeRange(nullptr, 0);
    RuntimeUnlockObject(exception);
  }
  RuntimeObject *exception = nullptr;
  int32_t continued = 0;
};

void Raise(void *exception) { RuntimeRaiseException(static_cast<RuntimeObject *>(exception)); }

// Three runtime frames between the compiled function and the raise; each
// notes that it returned normally after the call below it.
__attribute__((noinline)) void RaiseThreeDown(void *e) {
  Raise(e);
  sEvents.push_back("frame 3 returned");
}
__attribute__((noinline)) void RaiseTwoDown(void *e) {
  RaiseThreeDown(e);
  sEvents.push_back("frame 2 returned");
}
__attribute__((noinline)) void RaiseOneDown(void *e) {
  RaiseTwoDown(e);
  sEvents.push_back("frame 1 returned");
}

void DoNothing(void *) {}

TEST_F(CompiledFrames, RaiseInProtectedRegionResumesInItsHandlerWithOneMoreReference) {
  RuntimeObject *caught =
      HandMadeProtected(reinterpret_cast<Body>(RuntimeRaiseException), exception, &continued);
  EXPECT_EQ(caught, exception);
  EXPECT_EQ(continued, 0);
  EXPECT_EQ(exception->refCount, 2);
  EXPECT_TRUE(sUnhandled.empty());
  RuntimeUnlockObject(caught);
}

TEST_F(CompiledFrames, RaiseThreeRuntimeFramesDownResumesAfterTheyReturned) {
  RuntimeObject *caught = HandMadeProtected(RaiseOneDown, exception, &continued);
  EXPECT_EQ(caught, exception);
  EXPECT_EQ(continued, 0);
  EXPECT_EQ(sEvents,
            (std::vector<std::string>{"frame 3 returned", "frame 2 returned", "frame 1 returned"}));
  RuntimeUnlockObject(caught);
}

TEST_F(CompiledFrames, WithoutARaiseTheProtectedCodeGoesOn) {
  EXPECT_EQ(HandMadeProtected(DoNothing, exception, &continued), nullptr);
  EXPECT_EQ(continued, 1);
}

TEST_F(CompiledFrames, HandlerWithoutSlotStoresNothingAndAddsNoReference) {
  EXPECT_EQ(HandMadeProtectedNoSlot(RaiseOneDown, exception, &continued), nullptr);
  EXPECT_EQ(continued, 0); // the handler ran, not the normal path
  EXPECT_EQ(exception->refCount, 1);
  EXPECT_TRUE(sUnhandled.empty());
}

TEST_F(CompiledFrames, NestedRegionHandlerCatchesOnlyRaisesInsideIt) {
  RuntimeObject *slots[2] = {};
  HandMadeNested(Raise, DoNothing, exception, slots);
  EXPECT_EQ(slots[0], exception) << "a raise ahead of the nested region skips its handler";
  EXPECT_EQ(slots[1], nullptr);
  RuntimeUnlockObject(slots[0]);

  RuntimeObject *inner[2] = {};
  HandMadeNested(DoNothing, Raise, exception, inner);
  EXPECT_EQ(inner[0], nullptr);
  EXPECT_EQ(inner[1], exception) << "a raise inside the nested region stops at its handler";
  RuntimeUnlockObject(inner[1]);
  EXPECT_EQ(exception->refCount, 1);
}

TEST_F(CompiledFrames, FrameOverFourKilobytesEndsInTheUnhandledPath) {
  EXPECT_EQ(HandMadeProtectedBigFrame(RaiseOneDown, exception, &continued), nullptr);
  EXPECT_EQ(continued, 1);
  ASSERT_EQ(sUnhandled.size(), 1u);
  EXPECT_EQ(sUnhandled[0], exception);
  EXPECT_EQ(exception->refCount, 1);
}

TEST_F(CompiledFrames, FramesOffTheRunningStackAreNotWalked) {
  // A cooperative thread's stack block that none of these frames lies on.
  static uint8_t block[16 * 1024];
  SetRunningThreadStack(
      {reinterpret_cast<uintptr_t>(block), reinterpret_cast<uintptr_t>(block) + sizeof block});
  RuntimeObject *caught = HandMadeProtected(RaiseOneDown, exception, &continued);
  SetRunningMainStack();
  EXPECT_EQ(caught, nullptr);
  EXPECT_EQ(continued, 1);
  EXPECT_EQ(sUnhandled, std::vector<RuntimeObject *>{exception});
  EXPECT_EQ(exception->refCount, 1);
}

struct ChainArgs {
  RuntimeObject *exception;
  RuntimeObject *local;
};

// Leaves the compiled function's retained reference as the local's only one,
// then raises.
void DropLocalAndRaise(void *arg) {
  auto *a = static_cast<ChainArgs *>(arg);
  RuntimeUnlockObject(a->local);
  Raise(a->exception);
}

// A runtime frame between two compiled ones.
void CallCatchAll(void *arg) {
  auto *a = static_cast<ChainArgs *>(arg);
  HandMadeCatchAll(&kImports, DropLocalAndRaise, a, a->local);
  sEvents.push_back("inner function returned");
}

TEST_F(CompiledFrames, ReraiseFromCatchAllReachesTheNextCompiledFrameAfterLocalsWereReleased) {
  ChainArgs args{exception, RuntimeNewObject(NoisyClass())};
  RuntimeObject *caught = HandMadeProtected(CallCatchAll, &args, &continued);
  EXPECT_EQ(caught, exception);
  EXPECT_EQ(continued, 0);
  EXPECT_EQ(sEvents, (std::vector<std::string>{"local released", "inner function returned"}));
  EXPECT_EQ(exception->refCount, 2) << "the catch-all released its slot's reference";
  EXPECT_TRUE(sUnhandled.empty());
  RuntimeUnlockObject(caught);
}

// A main-loop timeout (library frames without frame pointers below it) that
// calls a compiled handler, as a timer's Action does.
gboolean CallCompiledHandlerFromTimeout(gpointer data) {
  CallCatchAll(data);
  sEvents.push_back("timeout returned");
  return G_SOURCE_REMOVE;
}

TEST_F(CompiledFrames, ExceptionFromHandlerCalledByMainLoopTimeoutReachesTheUnhandledHook) {
  ChainArgs args{exception, RuntimeNewObject(NoisyClass())};
  g_timeout_add(1, CallCompiledHandlerFromTimeout, &args);
  while (!g_main_context_iteration(nullptr, TRUE) || sEvents.size() < 3) {
  }
  EXPECT_EQ(sEvents, (std::vector<std::string>{"local released", "inner function returned",
                                               "timeout returned"}));
  ASSERT_EQ(sUnhandled.size(), 1u);
  EXPECT_EQ(sUnhandled[0], exception);
  EXPECT_EQ(exception->refCount, 1);
}

// A runtime loop that fires an event on several objects, each handled by
// compiled code, and stops once an exception is on its way up.
struct FiringArgs {
  Body handlerBody;
  RuntimeObject *exception;
  RuntimeObject *target;
  int calls = 0;
};

void FireOnEachTarget(void *arg) {
  auto *a = static_cast<FiringArgs *>(arg);
  for (int i = 0; i < 3; ++i) {
    ++a->calls;
    HandMadeCatchAll(&kImports, a->handlerBody, a->exception, a->target);
    if (ExceptionArmedAbove(CURRENT_FRAME()))
      break;
  }
}

TEST_F(CompiledFrames, RuntimeLoopOverCompiledHandlersStopsOnceAnExceptionIsArmedAboveIt) {
  RuntimeObject *target = RuntimeNewObject(PlainClass());
  FiringArgs raising{Raise, exception, target};
  RuntimeObject *caught = HandMadeProtected(FireOnEachTarget, &raising, &continued);
  EXPECT_EQ(raising.calls, 1);
  EXPECT_EQ(caught, exception);
  EXPECT_EQ(exception->refCount, 2);
  EXPECT_FALSE(ExceptionArmedAbove(CURRENT_FRAME())) << "the handler has been entered";
  RuntimeUnlockObject(caught);

  FiringArgs quiet{DoNothing, exception, target};
  EXPECT_EQ(HandMadeProtected(FireOnEachTarget, &quiet, &continued), nullptr);
  EXPECT_EQ(quiet.calls, 3);
  EXPECT_EQ(target->refCount, 1);
  RuntimeUnlockObject(target);
}

} // namespace
