#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "foundation/Array.h"
#include "support/AlertRecorder.h"

namespace {

void *Item(intptr_t value) { return reinterpret_cast<void *>(value); }

std::string Letters(const Array &array) {
  std::string text;
  for (int32_t i = 0; i < array.GetCount(); ++i)
    text += static_cast<char>(reinterpret_cast<intptr_t>(array.GetElement(i)));
  return text;
}

void FillLetters(Array &array, const std::string &letters) {
  for (char c : letters)
    array.AppendItem(Item(c));
}

} // namespace

TEST(Array, CapacityGrowsByADoublingStep) {
  Array array;
  std::vector<int32_t> capacities;
  for (int32_t i = 0; i < 241; ++i) {
    array.AppendItem(Item(i));
    if (capacities.empty() || capacities.back() != array.GetCapacity())
      capacities.push_back(array.GetCapacity());
  }
  EXPECT_EQ(capacities, (std::vector<int32_t>{16, 48, 112, 240, 496}));
  EXPECT_EQ(QV::GetHandleSize(*reinterpret_cast<QV::Handle *>(&array)), 496 * 4);
  for (int32_t i = 0; i < 241; ++i)
    ASSERT_EQ(array.GetElement(i), Item(i));
}

TEST(Array, InsertAndRemoveShiftTheElements) {
  Array array;
  FillLetters(array, "ace");
  array.InsertItem(1, Item('b'));
  array.InsertItem(3, Item('d'));
  array.InsertItem(5, Item('f')); // at count: appends
  EXPECT_EQ(Letters(array), "abcdef");
  array.RemoveElement(0);
  array.RemoveElement(4);
  EXPECT_EQ(Letters(array), "bcde");
  EXPECT_EQ(array.GetCapacity(), 16);
  array.SetElement(3, Item('z'));
  EXPECT_EQ(Letters(array), "bcdz");
}

TEST(Array, OutOfRangeIndexesRaiseTheAlertAndChangeNothing) {
  AlertRecorder recorder;
  Array array;
  FillLetters(array, "abc");
  array.InsertItem(4, Item('x'));
  array.InsertItem(-1, Item('x'));
  array.SetElement(3, Item('x'));
  array.RemoveElement(3);
  EXPECT_EQ(array.GetElement(-1), nullptr);
  EXPECT_EQ(array.GetElement(3), nullptr);
  EXPECT_EQ(Letters(array), "abc");
  array.SetDoubleMode();
  array.InsertDoubleElement(4, 1.0);
  array.SetDoubleElement(3, 1.0);
  EXPECT_EQ(array.GetDoubleElement(3), 0.0);

  const AlertSite expected[] = {
      kArrayInsertItemAlert,    kArrayInsertItemAlert, kArraySetElementAlert,
      kArrayRemoveElementAlert, kArrayGetElementAlert, kArrayGetElementAlert,
      kArrayInsertDoubleAlert,  kArraySetDoubleAlert,  kArrayGetDoubleAlert};
  ASSERT_EQ(recorder.count(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i)
    EXPECT_TRUE(ShownAt(recorder.alerts()[i], expected[i])) << i;
}

TEST(Array, SetCountZeroesTheNewElements) {
  Array array;
  FillLetters(array, "ab");
  array.SetCount(5);
  EXPECT_EQ(array.GetCount(), 5);
  EXPECT_EQ(array.GetCapacity(), 5);
  EXPECT_EQ(array.GetElement(1), Item('b'));
  EXPECT_EQ(array.GetElement(4), nullptr);
  array.SetCount(1);
  EXPECT_EQ(Letters(array), "a");
}

// Inserting doubles used to size the handle by 8 bytes per element while
// 4-byte insertions sized it by 4, whatever the array held.
TEST(Array, DoubleModeKeepsEightByteElementsWhateverTheInsertion) {
  Array array;
  array.SetDoubleMode();
  for (int i = 0; i < 20; ++i)
    array.AppendDoubleElement(i + 0.5);
  array.AppendItem(Item(7)); // a 4-byte insertion grows nothing past the array
  EXPECT_EQ(QV::GetHandleSize(*reinterpret_cast<QV::Handle *>(&array)), array.GetCapacity() * 8);
  EXPECT_EQ(array.GetDoubleElement(19), 19.5);
  array.InsertDoubleElement(0, -1.0);
  EXPECT_EQ(array.GetDoubleElement(0), -1.0);
  EXPECT_EQ(array.GetDoubleElement(20), 19.5);
  array.SetDoubleElement(1, 2.25);
  EXPECT_EQ(array.GetDoubleElement(1), 2.25);
}

// A 4-byte array has no room for doubles: they are refused rather than
// written past its handle; switching mode widens the existing storage.
TEST(Array, DoublesNeedDoubleMode) {
  AlertRecorder recorder;
  Array array;
  FillLetters(array, "abcdefghijklmnop"); // exactly full: 16 of 16
  array.InsertDoubleElement(16, 1.0);
  EXPECT_EQ(array.GetDoubleElement(15), 0.0);
  EXPECT_EQ(array.GetCount(), 16);
  EXPECT_EQ(recorder.count(), 2u);
  array.SetDoubleMode();
  EXPECT_EQ(QV::GetHandleSize(*reinterpret_cast<QV::Handle *>(&array)), 16 * 8);
  array.SetDoubleElement(15, 3.5);
  EXPECT_EQ(array.GetDoubleElement(15), 3.5);
}

TEST(Array, SwapElementsExchangesRunsOfAnyLength) {
  struct Case {
    int32_t startA, lengthA, startB, lengthB;
    const char *result;
  } cases[] = {
      {0, 1, 3, 2, "stqrp"}, {3, 2, 0, 1, "stqrp"}, // B first: the same exchange
      {0, 2, 3, 2, "strpq"}, {1, 1, 2, 1, "prqst"}, {0, 3, 4, 1, "tspqr"},
      {0, 0, 4, 1, "tpqrs"}, {1, 2, 3, 0, "pqrst"},
  };
  for (const Case &c : cases) {
    Array array;
    FillLetters(array, "pqrst");
    array.SwapElements(c.startA, c.lengthA, c.startB, c.lengthB);
    EXPECT_EQ(Letters(array), c.result)
        << c.startA << "," << c.lengthA << " " << c.startB << "," << c.lengthB;
  }
}

TEST(Array, SwapElementsRefusesRunsOutsideOrOverlapping) {
  AlertRecorder recorder;
  Array array;
  FillLetters(array, "pqrst");
  // The last run's end lies beyond the largest index: refused without its
  // sum ever being formed.
  int32_t bad[][4] = {{0, 1, 4, 2},  {-1, 1, 3, 1}, {0, 3, 2, 1},
                      {0, -1, 3, 1}, {5, 1, 0, 1},  {INT32_MAX, 1, 0, 1}};
  for (auto &run : bad)
    array.SwapElements(run[0], run[1], run[2], run[3]);
  EXPECT_EQ(recorder.count(), std::size(bad));
  EXPECT_EQ(Letters(array), "pqrst");
  Array empty;
  empty.SwapElements(0, 0, 0, 0);
  EXPECT_EQ(recorder.count(), std::size(bad));
}
