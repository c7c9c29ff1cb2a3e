#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "foundation/Sorting.h"

namespace {

// The data the callbacks sort, with a parallel column that must move with it.
std::vector<int> sKeys;
std::vector<int> sTags;
int sCalls;

bool Less(long a, long b) {
  ++sCalls;
  return sKeys[a] < sKeys[b];
}
void Swap(long a, long b) {
  ++sCalls;
  std::swap(sKeys[a], sKeys[b]);
  std::swap(sTags[a], sTags[b]);
}
int Compare(long a, long b, sortDirection direction) {
  ++sCalls;
  return direction * ((sKeys[a] > sKeys[b]) - (sKeys[a] < sKeys[b]));
}
void OrderSwap(long a, long b, sortDirection) { Swap(a, b); }

void Load(const std::vector<int> &keys) {
  sKeys = keys;
  sTags.resize(keys.size());
  for (size_t i = 0; i < keys.size(); ++i)
    sTags[i] = keys[i] * 1000 + static_cast<int>(i);
  sCalls = 0;
}

void ExpectTagsFollowKeys() {
  for (size_t i = 0; i < sKeys.size(); ++i)
    ASSERT_EQ(sTags[i] / 1000, sKeys[i]) << "position " << i;
}

std::vector<std::vector<int>> Inputs() {
  std::mt19937 random(7);
  std::vector<std::vector<int>> inputs = {{},
                                          {1},
                                          {2, 1},
                                          {5, 4, 3, 2, 1},
                                          {3, 1, 4, 1, 5, 9},
                                          {1, 2, 3, 4, 5, 6, 7, 8},
                                          {8, 7, 6, 5, 4, 3, 2, 1},
                                          std::vector<int>(40, 3)};
  for (int size : {17, 100, 1000}) {
    std::vector<int> keys(static_cast<size_t>(size));
    for (int &k : keys)
      k = static_cast<int>(random() % 50);
    inputs.push_back(keys);
  }
  return inputs;
}

} // namespace

TEST(Sorting, SorterOrdersAscendingAndKeepsParallelDataInStep) {
  for (const std::vector<int> &input : Inputs()) {
    SCOPED_TRACE(input.size());
    Load(input);
    sorter(static_cast<long>(input.size()), Less, Swap);
    EXPECT_TRUE(std::is_sorted(sKeys.begin(), sKeys.end()));
    ExpectTagsFollowKeys();
    std::vector<int> expected = input;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(sKeys, expected);
  }
}

TEST(Sorting, SorterWithoutWorkMakesNoCallback) {
  for (long count : {0L, 1L}) {
    Load({4});
    sorter(count, Less, Swap);
    EXPECT_EQ(sCalls, 0);
  }
}

TEST(Sorting, OrderSorterFollowsTheDirection) {
  for (sortDirection direction : {1, -1}) {
    for (const std::vector<int> &input : Inputs()) {
      SCOPED_TRACE(testing::Message() << "direction " << direction << ", " << input.size());
      Load(input);
      orderSorter(0, static_cast<long>(input.size()), Compare, OrderSwap, direction);
      if (direction > 0)
        EXPECT_TRUE(std::is_sorted(sKeys.begin(), sKeys.end()));
      else
        EXPECT_TRUE(std::is_sorted(sKeys.rbegin(), sKeys.rend()));
      ExpectTagsFollowKeys();
    }
  }
}

TEST(Sorting, OrderSorterTouchesOnlyItsRange) {
  Load({9, 8, 5, 3, 4, 1, 0});
  orderSorter(2, 5, Compare, OrderSwap, 1);
  EXPECT_EQ(sKeys, (std::vector<int>{9, 8, 3, 4, 5, 1, 0}));
}

TEST(Sorting, OrderSorterWithoutWorkMakesNoCallback) {
  Load({3, 2, 1});
  orderSorter(0, 3, Compare, OrderSwap, 0);
  orderSorter(2, 2, Compare, OrderSwap, 1);
  orderSorter(3, 1, Compare, OrderSwap, 1);
  EXPECT_EQ(sCalls, 0);
  EXPECT_EQ(sKeys, (std::vector<int>{3, 2, 1}));
}
