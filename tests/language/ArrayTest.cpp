#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "LanguageFixtures.h"
#include "language/ArrayStorage.h"
#include "language/RuntimeArray.h"
#include "runtime/exceptions/StackCheck.h"
#include "support/AlertRecorder.h"

namespace {

template <typename R, typename... A>
R Call(RuntimeArray *a, ArraySlot slot, A... args) {
  return ArraySlotFunction<R (*)(RuntimeArray *, A...)>(a, slot)(a, args...);
}

class Arrays : public LanguageTest {};

// Every element type through the slots compiled code calls.
struct TypeCase {
  int32_t type;
  int32_t width;
};

class ArraysOfEachType : public LanguageTest, public testing::WithParamInterface<TypeCase> {
protected:
  ~ArraysOfEachType() override {
    for (RuntimeObject *o : mPool)
      RuntimeUnlockObject(o);
  }
  // Object arrays hold the k-th object of a pool for the number k.
  RuntimeObject *PoolObject(int32_t k) {
    while (int32_t(mPool.size()) <= k)
      mPool.push_back(HookedObjects::New());
    return mPool[size_t(k)];
  }
  std::vector<RuntimeObject *> mPool;

  // Inserts the value k as the element type holds it; Gets it back as a double.
  void InsertNumber(RuntimeArray *a, int32_t index, int32_t k) {
    switch (GetParam().type) {
    case kSingleElements:
      Call<void>(a, kArrayInsert, index, float(k));
      break;
    case kDoubleElements:
      Call<void>(a, kArrayInsert, index, double(k));
      break;
    case kStringElements: {
      stringStorage *s = NewText(std::to_string(k).c_str());
      Call<void>(a, kArrayInsert, index, s);
      RuntimeUnlockString(s);
      break;
    }
    case kObjectElements:
      Call<void>(a, kArrayInsert, index, PoolObject(k));
      break;
    default:
      Call<void>(a, kArrayInsert, index, k);
    }
  }
  double GetNumber(RuntimeArray *a, int32_t index) {
    switch (GetParam().type) {
    case kSingleElements:
      return Call<float>(a, kArrayGet, index);
    case kDoubleElements:
      return Call<double>(a, kArrayGet, index);
    case kStringElements:
      return std::stod("0" + TakeText(Call<stringStorage *>(a, kArrayGet, index)));
    case kObjectElements: {
      RuntimeObject *o = Call<RuntimeObject *>(a, kArrayGet, index);
      RuntimeUnlockObject(o);
      auto at = std::find(mPool.begin(), mPool.end(), o);
      return o ? double(at - mPool.begin()) : 0;
    }
    default:
      return Call<int32_t>(a, kArrayGet, index);
    }
  }
};

TEST_P(ArraysOfEachType, InsertGrowsByTheDoublingStepAndRemoveShrinksToFit) {
  const int32_t w = GetParam().width;
  RuntimeArray *a = CreateArray(1, GetParam().type, -1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->buffer, nullptr);
  EXPECT_EQ(RuntimeUBound(a), -1);
  InsertNumber(a, 0, 0);
  EXPECT_EQ(a->bufferLength, 16 * w);
  EXPECT_EQ(RuntimeUBound(a), 0);
  for (int32_t k = 1; k < 17; ++k)
    InsertNumber(a, k, k);
  EXPECT_EQ(a->bufferLength, 48 * w);
  EXPECT_EQ(a->growthStep, 64);
  InsertNumber(a, 0, 100); // at the front: the others move up
  EXPECT_EQ(GetNumber(a, 0), 100);
  EXPECT_EQ(GetNumber(a, 17), 16);

  Call<void>(a, kArrayRemove, 0);
  EXPECT_EQ(a->bufferLength, 17 * w);
  EXPECT_EQ(a->growthStep, 16);
  EXPECT_EQ(GetNumber(a, 0), 0);
  EXPECT_EQ(GetNumber(a, 16), 16);

  Call<void>(a, kArrayRedim, 20);
  EXPECT_EQ(RuntimeUBound(a), 20);
  EXPECT_EQ(GetNumber(a, 16), 16);
  EXPECT_EQ(GetNumber(a, 20), 0) << "elements past the old bound are zero";
  Call<void>(a, kArrayRedim, 2);
  EXPECT_EQ(a->bufferLength, 3 * w);
  EXPECT_EQ(GetNumber(a, 2), 2);
  EXPECT_TRUE(Raised().empty());

  GetNumber(a, -1);
  GetNumber(a, 3);
  InsertNumber(a, 5, 0); // bound + 2
  Call<void>(a, kArrayRemove, 3);
  EXPECT_EQ(Raised(), Names(4, "OutOfBoundsException"));
  EXPECT_EQ(RuntimeUBound(a), 2);
  RuntimeUnlockArray(a);
}

INSTANTIATE_TEST_SUITE_P(Types, ArraysOfEachType,
                         testing::Values(TypeCase{kIntegerElements, 4},
                                         TypeCase{kSingleElements, 4}, TypeCase{kDoubleElements, 8},
                                         TypeCase{kStringElements, 4},
                                         TypeCase{kObjectElements, 4}),
                         [](const auto &info) { return std::to_string(info.param.type); });

TEST_F(Arrays, ObjectArraysHoldOneReferencePerElementAndReleaseAll) {
  RuntimeObject *o = HookedObjects::New();
  RuntimeArray *a = CreateArray(1, kObjectElements, 2);
  for (int32_t i = 0; i <= 2; ++i)
    Call<void>(a, kArraySet, o, i);
  EXPECT_EQ(o->refCount, 4);
  RuntimeObject *got = Call<RuntimeObject *>(a, kArrayGet, 1);
  EXPECT_EQ(got, o);
  EXPECT_EQ(o->refCount, 5) << "Get hands its caller a reference";
  RuntimeUnlockObject(got);
  Call<void>(a, kArrayRemove, 0);
  Call<void>(a, kArrayRedim, 0);
  EXPECT_EQ(o->refCount, 2);
  Call<void>(a, kArrayInsert, 1, o);
  RuntimeUnlockArray(a);
  EXPECT_EQ(o->refCount, 1);
  RuntimeUnlockObject(o);
}

TEST_F(Arrays, SetStoresBeforeReleasingSoADestructorSeesTheNewElement) {
  RuntimeArray *a = CreateArray(1, kObjectElements, 0);
  RuntimeObject *first = HookedObjects::New();
  RuntimeObject *second = HookedObjects::New();
  Call<void>(a, kArraySet, first, 0);
  RuntimeUnlockObject(first);
  RuntimeObject *seen = nullptr;
  HookedObjects::OnDestroy() = [&](RuntimeObject *) {
    seen = Call<RuntimeObject *>(a, kArrayGetUnchecked, 0);
  };
  Call<void>(a, kArraySet, second, 0);
  EXPECT_EQ(seen, second);
  RuntimeUnlockObject(seen);

  // Remove: the gap is closed when the removed element's destructor runs.
  RuntimeUnlockObject(second); // the array holds the last reference
  int32_t boundSeen = 99;
  HookedObjects::OnDestroy() = [&](RuntimeObject *) { boundSeen = RuntimeUBound(a); };
  Call<void>(a, kArrayRemove, 0);
  EXPECT_EQ(boundSeen, -1);
  HookedObjects::OnDestroy() = nullptr;
  RuntimeUnlockArray(a);
}

TEST_F(Arrays, SettingAStringElementToItselfKeepsItAlive) {
  RuntimeArray *a = CreateArray(1, kStringElements, 0);
  stringStorage *s = NewText("kept");
  Call<void>(a, kArraySet, s, 0);
  RuntimeUnlockString(s); // the array holds the only reference
  stringStorage *held = a->buffer ? reinterpret_cast<stringStorage **>(a->buffer)[0] : nullptr;
  Call<void>(a, kArraySet, held, 0);
  EXPECT_EQ(TakeText(Call<stringStorage *>(a, kArrayGet, 0)), "kept");
  EXPECT_EQ(held->mRefCount, 1);
  RuntimeUnlockArray(a);
}

TEST_F(Arrays, SeveralDimensionsLieFirstIndexFastestAndRedimKeepsTuples) {
  RuntimeArray *a = CreateArray(2, kStringElements, 1, 2);
  ASSERT_EQ(a->bufferLength, 6 * 4);
  stringStorage *text[3][3] = {};
  for (int32_t i = 0; i <= 1; ++i)
    for (int32_t j = 0; j <= 2; ++j) {
      text[i][j] = NewText((std::to_string(i) + "," + std::to_string(j)).c_str());
      Call<void>(a, kArraySet, text[i][j], i, j);
    }
  auto **cells = reinterpret_cast<stringStorage **>(a->buffer);
  EXPECT_EQ(cells[1], text[1][0]);
  EXPECT_EQ(cells[2], text[0][1]);
  EXPECT_EQ(TakeText(Call<stringStorage *>(a, kArrayGet, 1, 2)), "1,2");
  Call<stringStorage *>(a, kArrayGet, -1, 0);
  Call<stringStorage *>(a, kArrayGet, 0, 3);
  EXPECT_EQ(Raised(), Names(2, "OutOfBoundsException"));

  Call<void>(a, kArrayRedim, 2, 1);
  EXPECT_EQ(a->bufferLength, 6 * 4);
  for (int32_t i = 0; i <= 1; ++i)
    for (int32_t j = 0; j <= 1; ++j)
      EXPECT_EQ(TakeText(Call<stringStorage *>(a, kArrayGet, i, j)),
                std::to_string(i) + "," + std::to_string(j));
  EXPECT_EQ(Call<stringStorage *>(a, kArrayGet, 2, 0), nullptr);
  EXPECT_EQ(Call<stringStorage *>(a, kArrayGet, 2, 1), nullptr);
  EXPECT_EQ(text[0][2]->mRefCount, 1) << "cut-off elements are released";
  EXPECT_EQ(text[1][2]->mRefCount, 1);
  EXPECT_EQ(text[1][1]->mRefCount, 2);
  EXPECT_EQ(RuntimeUBound2Param(a, 1), 2);
  EXPECT_EQ(RuntimeUBound2Param(a, 2), 1);
  EXPECT_EQ(a->methods, ArrayMethodsFor(kStringElements, false));
  EXPECT_EQ((*a->methods)[kArrayInsert], nullptr);
  RuntimeUnlockArray(a);
  for (auto &row : text)
    for (stringStorage *s : row) {
      if (s)
        EXPECT_EQ(s->mRefCount, 1);
    }
  for (auto &row : text)
    for (stringStorage *s : row)
      RuntimeUnlockString(s);
}

TEST_F(Arrays, UBoundOfEachDimensionAndItsErrors) {
  RuntimeArray *a = CreateArray(3, kIntegerElements, 4, 0, -7);
  EXPECT_EQ(RuntimeUBound2Param(a, -1), 3);
  EXPECT_EQ(RuntimeUBound2Param(a, 1), 4);
  EXPECT_EQ(RuntimeUBound2Param(a, 3), -1) << "a bound below -1 counts as -1";
  EXPECT_EQ(a->buffer, nullptr);
  EXPECT_EQ(RuntimeUBound2Param(a, 0), -1);
  EXPECT_EQ(RuntimeUBound2Param(a, 4), -1);
  EXPECT_EQ(RuntimeUBound(nullptr), 0);
  EXPECT_EQ(RuntimeUBound2Param(nullptr, 1), -1);
  EXPECT_EQ(Raised(), (Names{"OutOfBoundsException", "OutOfBoundsException", "NilObjectException",
                             "NilObjectException"}));
  RuntimeUnlockArray(a);
}

TEST_F(Arrays, BuffersBeyondTwoGigabytesAreRefusedAndLeaveTheArrayAsItWas) {
  EXPECT_EQ(CreateArray(1, kIntegerElements, 0x40000000), nullptr);
  EXPECT_EQ(CreateArray(2, kDoubleElements, 0xFFFF, 0xFFFF), nullptr);
  RuntimeArray *a = CreateArray(1, kIntegerElements, 1);
  Call<void>(a, kArraySet, 7, 1);
  Call<void>(a, kArrayRedim, 0x40000000);
  EXPECT_EQ(Raised(), Names{"OutOfMemoryException"});
  EXPECT_EQ(RuntimeUBound(a), 1);
  EXPECT_EQ(a->bufferLength, 8);
  EXPECT_EQ(Call<int32_t>(a, kArrayGet, 1), 7);
  RuntimeUnlockArray(a);

  RuntimeArray *b = CreateArray(2, kIntegerElements, 1, 1);
  Call<void>(b, kArrayRedim, 0x10000, 0x10000);
  EXPECT_EQ(Raised(), Names{"OutOfMemoryException"});
  EXPECT_EQ(RuntimeUBound2Param(b, 2), 1);
  RuntimeUnlockArray(b);
}

TEST_F(Arrays, SortOrdersNumbersAndTextsIgnoringCase) {
  RuntimeArray *a = CreateArray(1, kIntegerElements, 3);
  const int32_t values[] = {3, 1, 2, 1};
  for (int32_t i = 0; i < 4; ++i)
    Call<void>(a, kArraySet, values[i], i);
  Call<void>(a, kArraySort);
  std::vector<int32_t> sorted(4);
  std::memcpy(sorted.data(), a->buffer, 16);
  EXPECT_EQ(sorted, (std::vector<int32_t>{1, 1, 2, 3}));
  RuntimeUnlockArray(a);

  RuntimeArray *s = CreateArray(1, kStringElements, 2);
  const char *texts[] = {"b", "A", "a"};
  for (int32_t i = 0; i < 3; ++i) {
    stringStorage *t = NewText(texts[i]);
    Call<void>(s, kArraySet, t, i);
    RuntimeUnlockString(t);
  }
  Call<void>(s, kArraySort);
  EXPECT_EQ(TakeText(Call<stringStorage *>(s, kArrayGet, 2)), "b");
  EXPECT_EQ(TextOf(reinterpret_cast<stringStorage **>(s->buffer)[0])[0] | 0x20, 'a');
  RuntimeUnlockArray(s);

  EXPECT_EQ((*ArrayMethodsFor(kObjectElements, true))[kArraySort], nullptr);
}

TEST_F(Arrays, SortAgreesWithTheStandardSortOnManyDuplicates) {
  std::mt19937 random(3);
  std::vector<int32_t> values(5000);
  for (int32_t &v : values)
    v = int32_t(random() % 100) - 50;
  RuntimeArray *a = CreateArray(1, kIntegerElements, 4999);
  std::memcpy(a->buffer, values.data(), values.size() * 4);
  Call<void>(a, kArraySort);
  std::sort(values.begin(), values.end());
  EXPECT_EQ(std::memcmp(a->buffer, values.data(), values.size() * 4), 0);
  RuntimeUnlockArray(a);
}

// Builds values on which the partition always picks the smallest value of
// its range as the pivot: replaying the partition on positions, the pivot's
// position receives the next smallest value.
std::vector<int32_t> WorstCaseForMiddlePivot(int32_t n) {
  std::vector<int32_t> slot(static_cast<size_t>(n)); // slot[p] = which original position lies at p
  for (int32_t p = 0; p < n; ++p)
    slot[size_t(p)] = p;
  std::vector<int32_t> values(static_cast<size_t>(n));
  for (int32_t lo = 0, next = 0; lo < n; ++lo) {
    const int32_t mid = lo + (n - 1 - lo) / 2;
    values[size_t(slot[size_t(mid)])] = next++;
    // With the smallest as pivot, the partition's swaps leave the pivot at lo
    // by exchanging lo and mid (j runs down to mid; then i meets it).
    std::swap(slot[size_t(lo)], slot[size_t(mid)]);
  }
  return values;
}

TEST_F(Arrays, SortOfHundredThousandWorstCasePivotsNeedsNoDeepStack) {
  InitStackChecker(kMainStackBudget);
  const int32_t n = 100000;
  std::vector<int32_t> values = WorstCaseForMiddlePivot(n);
  RuntimeArray *a = CreateArray(1, kIntegerElements, n - 1);
  std::memcpy(a->buffer, values.data(), size_t(n) * 4);
  Call<void>(a, kArraySort);
  EXPECT_TRUE(Raised().empty());
  auto *e = reinterpret_cast<int32_t *>(a->buffer);
  for (int32_t i = 0; i < n; ++i)
    ASSERT_EQ(e[i], i);
  RuntimeUnlockArray(a);
}

TEST_F(Arrays, IndexOfSearchesFromTheStart) {
  RuntimeArray *s = CreateArray(1, kStringElements, 2);
  stringStorage *abc = NewText("abc");
  Call<void>(s, kArraySet, abc, 1);
  Call<void>(s, kArraySet, abc, 2);
  stringStorage *probe = NewText("ABC");
  EXPECT_EQ(Call<int32_t>(s, kArrayIndexOf, probe, -1), 1);
  EXPECT_EQ(Call<int32_t>(s, kArrayIndexOf, probe, 2), 2);
  EXPECT_EQ(Call<int32_t>(s, kArrayIndexOf, probe, 3), -1);
  EXPECT_EQ(Raised(), Names{"OutOfBoundsException"});
  EXPECT_EQ(probe->mRefCount, 1);
  RuntimeUnlockString(probe);
  RuntimeUnlockString(abc);
  RuntimeUnlockArray(s);

  RuntimeArray *d = CreateArray(1, kDoubleElements, 1);
  Call<void>(d, kArraySet, -0.0, 1);
  EXPECT_EQ(Call<int32_t>(d, kArrayIndexOf, 0.0, 1), 1);
  Call<void>(d, kArraySet, double(NAN), 0);
  EXPECT_EQ(Call<int32_t>(d, kArrayIndexOf, double(NAN), 0), -1);
  RuntimeUnlockArray(d);
}

TEST_F(Arrays, ShuffleKeepsTheElementsAndLeavesSingleRowsAlone) {
  RuntimeArray *a = CreateArray(1, kIntegerElements, 99);
  auto *e = reinterpret_cast<int32_t *>(a->buffer);
  for (int32_t i = 0; i < 100; ++i)
    e[i] = i;
  Call<void>(a, kArrayShuffle);
  std::vector<int32_t> after(e, e + 100);
  std::vector<int32_t> sorted = after;
  std::sort(sorted.begin(), sorted.end());
  for (int32_t i = 0; i < 100; ++i)
    ASSERT_EQ(sorted[size_t(i)], i);
  EXPECT_NE(after, sorted) << "a hundred elements stay in order once in 100! shuffles";
  RuntimeUnlockArray(a);

  RuntimeArray *row = CreateArray(2, kIntegerElements, 0, 5);
  for (int32_t j = 0; j <= 5; ++j)
    reinterpret_cast<int32_t *>(row->buffer)[j] = j;
  Call<void>(row, kArrayShuffle);
  for (int32_t j = 0; j <= 5; ++j)
    EXPECT_EQ(reinterpret_cast<int32_t *>(row->buffer)[j], j);
  RuntimeUnlockArray(row);
}

TEST_F(Arrays, CastWrapperForwardsAndRefusesObjectsOfOtherClasses) {
  RuntimeClass *base = HookedObjects::Class();
  RuntimeClass *other = MakeClass(nullptr, "Unrelated", 24);
  RuntimeArray *a = CreateArray(1, kObjectElements, -1);
  RuntimeArray *w = RuntimeCreateArrayCastWrapper(a, base);
  ASSERT_NE(w, a);
  EXPECT_EQ(a->refCount, 2);
  RuntimeObject *fit = HookedObjects::New();
  RuntimeObject *misfit = RuntimeNewObject(other);
  Call<void>(w, kArrayInsert, 0, fit);
  Call<void>(w, kArrayInsert, 1, misfit);
  Call<void>(w, kArraySet, misfit, 0);
  EXPECT_EQ(Raised(), Names(2, "IllegalCastException"));
  Call<void>(w, kArrayInsert, 1, static_cast<RuntimeObject *>(nullptr));
  EXPECT_TRUE(Raised().empty());
  EXPECT_EQ(RuntimeUBound(w), 1);
  EXPECT_EQ(w->buffer, a->buffer) << "the wrapper's buffer copy follows the array's";
  EXPECT_EQ(RuntimeDirectReadObjectArray(w, 0), fit);
  RuntimeUnlockObject(fit);
  EXPECT_EQ(Call<int32_t>(w, kArrayIndexOf, fit, 0), 0);
  EXPECT_EQ(RuntimeCreateArrayCastWrapper(w, base), w);
  RuntimeUnlockArray(w);
  EXPECT_EQ(w->refCount, 1);
  RuntimeUnlockArray(w);
  EXPECT_EQ(a->refCount, 1);
  RuntimeUnlockArray(a);
  EXPECT_EQ(fit->refCount, 1);
  EXPECT_EQ(misfit->refCount, 1);
  RuntimeUnlockObject(fit);
  RuntimeUnlockObject(misfit);

  RuntimeArray *grid = CreateArray(2, kObjectElements, 1, 1);
  EXPECT_EQ(RuntimeCreateArrayCastWrapper(grid, base), grid);
  EXPECT_EQ(grid->refCount, 2);
  EXPECT_EQ(RuntimeCreateArrayCastWrapper(nullptr, base), nullptr);
  RuntimeUnlockArray(grid);
  RuntimeUnlockArray(grid);
}

TEST_F(Arrays, DirectAccessUsesTheSlotsArgumentOrder) {
  RuntimeArray *objects = CreateArray(1, kObjectElements, 1);
  RuntimeObject *o = HookedObjects::New();
  RuntimeDirectWriteObjectArray(objects, o, 1);
  EXPECT_EQ(RuntimeDirectReadObjectArray(objects, 1), o);
  EXPECT_EQ(o->refCount, 3);
  RuntimeUnlockObject(o);
  RuntimeUnlockArray(objects);
  RuntimeUnlockObject(o);

  RuntimeArray *ints = CreateArray(1, kIntegerElements, -1);
  for (int32_t i = 0; i < 5; ++i)
    RuntimeIntArrayAppend(ints, i * 10);
  EXPECT_EQ(RuntimeUBound(ints), 4);
  EXPECT_EQ(RuntimeDirectReadIntArray(ints, 4), 40);
  RuntimeUnlockArray(ints);
}

TEST_F(Arrays, DestructionMonitorHearsOfEveryDestroyedArray) {
  static std::vector<void *> destroyed;
  destroyed.clear();
  SetArrayDestructionMonitor([](void *array) { destroyed.push_back(array); });
  RuntimeArray *a = CreateArray(1, kIntegerElements, 3);
  RuntimeLockUnlockArrays(a, a);
  RuntimeLockArray(a);
  RuntimeUnlockArray(a);
  EXPECT_TRUE(destroyed.empty());
  RuntimeUnlockArray(a);
  SetArrayDestructionMonitor(nullptr);
  EXPECT_EQ(destroyed, std::vector<void *>{a});
}

TEST_F(Arrays, OneDimensionOperationsOnSeveralDimensionsShowTheAlert) {
  AlertRecorder alerts;
  RuntimeArray *a = CreateArray(2, kIntegerElements, 1, 1);
  auto insert = reinterpret_cast<void (*)(RuntimeArray *, int32_t, int32_t)>(
      (*ArrayMethodsFor(kIntegerElements, true))[kArrayInsert]);
  insert(a, 0, 1);
  ASSERT_EQ(alerts.count(), 1u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kArrayInsertAlert));
  EXPECT_EQ(CreateArray(1, 9, 0) != nullptr, true);
  EXPECT_TRUE(ShownAt(alerts.alerts().back(), kArrayTypeAlert));
  RuntimeUnlockArray(a);
}

TEST_F(Arrays, UBoundOfAnArrayOfUnknownTypeAlertsAndAnswersMinusOne) {
  AlertRecorder alerts;
  for (int32_t dimensions : {1, 2}) {
    RuntimeArray *a = CreateArray(dimensions, 9, 3, 3);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(RuntimeUBound(a), -1);
    EXPECT_TRUE(ShownAt(alerts.alerts().back(), kUBoundAlert));
    EXPECT_EQ(RuntimeUBound2Param(a, 1), -1);
    EXPECT_TRUE(ShownAt(alerts.alerts().back(), kUBound2Alert));
    RuntimeUnlockArray(a);
  }
}

} // namespace
