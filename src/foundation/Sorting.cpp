#include "foundation/Sorting.h"

namespace {
// Pending ranges live on a heap stack, so deep input never recurses.
class RangeStack {
public:
  RangeStack() = default;
  RangeStack(const RangeStack &) = delete;
  RangeStack &operator=(const RangeStack &) = delete;
  ~RangeStack() {
    long first, last;
    while (Pop(first, last)) {
    }
  }

  void Push(long first, long last) { mTop = new Range{first, last, mTop}; }

  bool Pop(long &first, long &last) {
    if (!mTop)
      return false;
    Range *top = mTop;
    first = top->first;
    last = top->last;
    mTop = top->next;
    delete top;
    return true;
  }

private:
  struct Range {
    long first, last;
    Range *next;
  };
  Range *mTop = nullptr;
};

// Selection sort of the inclusive range: the largest goes to the end.
void SelectionSort(long lo, long hi, SortLessProc less, SortSwapProc swap) {
  for (long end = hi; end > lo; --end) {
    long max = lo;
    for (long k = lo + 1; k <= end; ++k)
      if (less(max, k))
        max = k;
    swap(max, end);
  }
}
} // namespace

void sorter(long count, SortLessProc less, SortSwapProc swap) {
  RangeStack pending;
  long lo = 0, hi = count - 1;
  do {
    while (hi - lo > 4) {
      swap(lo, (lo + hi) / 2); // the middle element is the pivot, at lo
      long i = lo + 1;
      for (long j = lo + 1; j <= hi; ++j) {
        if (less(j, lo)) {
          if (j > i)
            swap(j, i);
          ++i;
        }
      }
      if (i - 1 != lo)
        swap(lo, i - 1);
      pending.Push(i, hi);
      hi = i - 2;
    }
    SelectionSort(lo, hi, less, swap);
  } while (pending.Pop(lo, hi));
}

void orderSorter(long first, long end, OrderCompareProc compare, OrderSwapProc swap,
                 sortDirection direction) {
  if (direction == 0)
    return;
  RangeStack pending;
  for (;;) {
    if (first >= end) {
      if (!pending.Pop(first, end))
        return;
      continue;
    }
    long p = (first + end) / 2;
    long i = first, j = p + 1;
    for (;;) {
      while (i < p && compare(i, p, direction) <= 0)
        ++i;
      while (j < end && compare(j, p, direction) >= 0)
        ++j;
      if (i < p && j < end) {
        swap(i, j, direction);
        ++i;
        ++j;
      } else if (i < p) {
        // Nothing above the pivot is smaller: carry the element at i to the
        // end, which moves the pivot down one.
        for (long k = i + 1; k <= end - 1; ++k)
          swap(k - 1, k, direction);
        --p;
      } else if (j < end) {
        // Nothing below the pivot is larger: carry the element at j down to
        // the pivot's place, which moves the pivot up one.
        for (long k = j; k >= p + 1; --k)
          swap(k, k - 1, direction);
        ++p;
        ++j;
      } else {
        break;
      }
    }
    pending.Push(p + 1, end);
    end = p;
  }
}
