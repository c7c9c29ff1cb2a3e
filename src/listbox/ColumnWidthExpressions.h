// Column width expressions: a number ending in a digit (pixels), in "%"
// (percent of the list's content width) or in "*" (a weight for a share of
// what the other columns leave). An empty expression is a weight of 1.
#pragma once
#include <cstdint>

#include "foundation/String.h"

enum ColumnWidthFormat : int32_t {
  kColumnWidthPixels = 0,
  kColumnWidthPercent = 1,
  kColumnWidthStar = 2,
  kColumnWidthUnrecognized = 3,
};

// The form and number of an expression without raising anything: negative
// numbers read as 0, a lone "*" or "" as the weight 1.
ColumnWidthFormat ParseColumnWidth(const string &expression, double *value);

// The same, raising UnsupportedFormatException with "Unrecognized
// expression '...'" for an expression in no known form.
ColumnWidthFormat GetColumnWidthFormatAndValue(const string &expression, double *value);
// The form alone (empty is star); raises like GetColumnWidthFormatAndValue.
ColumnWidthFormat GetColumnWidthFormat(const string &expression);

// One column's share while the widths are recalculated: percent of the list
// width, pixels, 0 for a star column (whose weight joins starSum), or the
// equal share of what remains for an unrecognised one. The result leaves
// remaining.
int32_t ComputeColumnWidth(const string &expression, int32_t *remaining, int32_t listWidth,
                           int32_t columnsLeft, double *starSum);

// A double truncated toward zero into 32 bits; out-of-range values stop at
// the nearest end and NaN gives 0, so that hostile numbers never trap.
int32_t TruncateToInt32(double value);
