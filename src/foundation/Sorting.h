// Sorting through callbacks on positions: the sorter never touches the data,
// so callers can keep parallel data in step with every swap.
#pragma once
#include <cstdint>

// 1 ascending, -1 descending, 0 none.
using sortDirection = int32_t;

using SortLessProc = bool (*)(long a, long b);
using SortSwapProc = void (*)(long a, long b);
using OrderCompareProc = int (*)(long a, long b, sortDirection direction);
using OrderSwapProc = void (*)(long a, long b, sortDirection direction);

// Sorts positions 0 to count - 1 ascending by less.
void sorter(long count, SortLessProc less, SortSwapProc swap);
// Sorts positions first to end - 1; the direction goes to both callbacks,
// which apply it. Direction 0 does nothing.
void orderSorter(long first, long end, OrderCompareProc compare, OrderSwapProc swap,
                 sortDirection direction);
