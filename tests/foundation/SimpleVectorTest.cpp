#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/SimpleVector.h"
#include "support/AlertRecorder.h"

namespace {

void Fill(SimpleVector<int> &v, int n) {
  for (int i = 0; i < n; ++i)
    v.push_back(i);
}

} // namespace

TEST(SimpleVector, GrowsByCapacityOrIncrementAndAtLeastSixteen) {
  struct Case {
    uint32_t increment;
    int pushes;
    int capacity;
  } cases[] = {{0, 1, 16},   {0, 16, 16},  {0, 17, 32}, {0, 33, 64}, {0, 65, 128},
               {10, 17, 32}, {10, 33, 48}, {40, 1, 40}, {40, 41, 80}};
  for (const Case &c : cases) {
    SimpleVector<int> v(c.increment);
    Fill(v, c.pushes);
    EXPECT_EQ(v.capacity(), c.capacity) << "increment " << c.increment << ", " << c.pushes;
    EXPECT_EQ(v.count(), c.pushes);
    EXPECT_EQ(v[c.pushes - 1], c.pushes - 1);
  }
}

TEST(SimpleVector, DeleteShrinksOnlyWhenMuchLiesUnused) {
  struct Case {
    uint32_t increment;
    int filled;
    int left;
    int capacity;
  } cases[] = {
      {0, 64, 22, 64},                    // 42 unused is not more than twice 22
      {0, 64, 21, 32},                    // 43 unused: (21 with low bits cleared) + 16
      {0, 64, 0, 16},   {10, 48, 28, 48}, // 20 unused is not more than 20
      {10, 48, 27, 30},                   // 21 unused: 10 * (27 / 10 + 1)
  };
  for (const Case &c : cases) {
    SimpleVector<int> v(c.increment);
    Fill(v, c.filled);
    ASSERT_EQ(v.capacity(), c.filled);
    while (v.count() > c.left)
      v.deleteIdx(0);
    EXPECT_EQ(v.capacity(), c.capacity) << "increment " << c.increment << ", left " << c.left;
    if (c.left) { // the survivors moved down in order
      const SimpleVector<int> &readOnly = v;
      EXPECT_EQ(readOnly[0], c.filled - c.left);
      EXPECT_EQ(v.peek_back(), c.filled - 1);
    }
  }
}

TEST(SimpleVector, InsertShiftsUpAndDeleteShiftsDown) {
  SimpleVector<int> v;
  Fill(v, 3);
  v.insert(9, 1);
  v.insert(7, 4); // at count: appends
  ASSERT_EQ(v.count(), 5);
  int expected[] = {0, 9, 1, 2, 7};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(v[i], expected[i]);
  v.deleteIdx(1);
  EXPECT_EQ(v.count(), 4);
  EXPECT_EQ(v[1], 1);
  EXPECT_EQ(v.pop_back(), 7);
  EXPECT_EQ(v.peek_back(), 2);
  EXPECT_EQ(v.count(), 3);
}

TEST(SimpleVector, WritableIndexInsideCapacityExtendsTheCount) {
  SimpleVector<int> v;
  v.resize(10);
  EXPECT_EQ(v.count(), 0);
  v[6] = 42;
  EXPECT_EQ(v.count(), 7);
  EXPECT_EQ(v[6], 42);
}

// Indexes past the storage used to be written through; they must be refused
// with the alert and leave the vector as it was.
TEST(SimpleVector, OutOfRangeWritesAreRefusedWithTheAlert) {
  AlertRecorder recorder;
  SimpleVector<int> v;
  Fill(v, 3); // capacity 16
  v[16] = 5;
  v[-1] = 5;
  EXPECT_EQ(recorder.count(), 2u);
  EXPECT_EQ(v.count(), 3);

  v.insert(5, 4);
  v.insert(5, -1);
  EXPECT_EQ(recorder.count(), 4u);
  EXPECT_EQ(v.count(), 3);

  v.deleteIdx(3);
  v.deleteIdx(-1);
  EXPECT_EQ(recorder.count(), 6u);
  EXPECT_EQ(v.count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(v[i], i);

  // What the refused write went to is not what a later refused read yields.
  const SimpleVector<int> &readOnly = v;
  EXPECT_EQ(readOnly[16], 0);
  EXPECT_EQ(recorder.count(), 7u);
}

TEST(SimpleVector, RefusedReadsRaiseTheAlertAndAnswerDefault) {
  AlertRecorder recorder;
  SimpleVector<int> v;
  EXPECT_EQ(v.pop_back(), 0);
  EXPECT_EQ(v.peek_back(), 0);
  EXPECT_EQ(v.count(), 0);
  const SimpleVector<int> &readOnly = v;
  EXPECT_EQ(readOnly[0], 0); // no capacity yet
  ASSERT_EQ(recorder.count(), 3u);
  const AlertSite expected[] = {kSimpleVectorPopBackAlert, kSimpleVectorPeekBackAlert,
                                kSimpleVectorConstIndexAlert};
  for (size_t i = 0; i < 3; ++i)
    EXPECT_TRUE(ShownAt(recorder.alerts()[i], expected[i])) << i;
}

TEST(SimpleVector, RemovedElementsReleaseWhatTheyHeld) {
  auto shared = std::make_shared<int>(1);
  SimpleVector<std::shared_ptr<int>> v;
  v.push_back(shared);
  v.push_back(shared);
  v.push_back(shared);
  EXPECT_EQ(shared.use_count(), 4);
  v.deleteIdx(0);
  EXPECT_EQ(shared.use_count(), 3);
  v.pop_back();
  EXPECT_EQ(shared.use_count(), 2);
  v.resize(0);
  EXPECT_EQ(shared.use_count(), 1);
  EXPECT_EQ(v.count(), 0);
}

// Adding one of the vector's own elements: growing frees the old array and
// shifting moves the element away, so the value must be taken first.
TEST(SimpleVector, AddingItsOwnElementKeepsTheValue) {
  struct Case {
    const char *what;
    int filled; // 16 fills the first array, so the next addition grows
    bool insert;
    int at;
  } cases[] = {{"push_back, growing", 16, false, 0},
               {"insert, growing", 16, true, 0},
               {"insert, shifting", 3, true, 0}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    SimpleVector<std::string> v;
    for (int i = 0; i < c.filled; ++i)
      v.push_back("element " + std::to_string(i));
    if (c.insert)
      v.insert(v[0], c.at);
    else
      v.push_back(v[0]);
    ASSERT_EQ(v.count(), c.filled + 1);
    EXPECT_EQ(v[c.insert ? c.at : c.filled], "element 0");
    EXPECT_EQ(v[c.insert ? 1 : 0], "element 0");
  }
}
