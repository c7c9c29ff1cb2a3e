#include "listbox/CommonListbox.h"

#include <algorithm>
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/NumberFormat.h"
#include "foundation/NumberText.h"
#include "graphics/Graphics.h"
#include "language/StringFields.h"
#include "language/StringToNumber.h"
#include "listbox/ColumnWidthExpressions.h"
#include "listbox/CommonListboxHeader.h"
#include "runtime/exceptions/ExceptionClasses.h"

namespace {

// Reading a stale expression that is in star form: a star weight is never
// rebuilt from pixels, so reaching it means a pixel setter marked the wrong
// column.
constexpr AlertSite kStaleStarWidth{"CommonListbox.cpp", 1537, "0"};
constexpr AlertSite kStaleStarMinimum{"CommonListbox.cpp", 1598, "0"};
constexpr AlertSite kStaleStarMaximum{"CommonListbox.cpp", 1647, "0"};

bool ValidColumn(int32_t column) { return column >= 0 && column < kMaxListColumns; }

string DecimalIndex(int32_t i) { return ultoa(i); }

} // namespace

CommonListbox::CommonListbox(ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
    : ContainerPane(parent, tabPanelIndex, bounds) {
  for (ListColumnRecord &c : mColumns) {
    c.minExpression = string("0");
    c.maxExpression = string("-1");
  }
  for (int32_t &d : mSortDirections)
    d = 1;
  mColumns[0].width = Width();
}

CommonListbox::~CommonListbox() {
  // The buttons are child panes, closed with the list; only the records go.
  for (CommonListboxHeader *h = mHeader; h;) {
    CommonListboxHeader *next = h->mNext;
    delete h;
    h = next;
  }
  mHeader = nullptr;
}

void CommonListbox::MovePane(const QV::Rect &r, bool redraw) { SubPane::MovePane(r, redraw); }

void CommonListbox::GetContentClipRect(QV::Rect *r) {
  *r = Bounds();
  QV::InsetRect(r, 1, 1);
}

void CommonListbox::ListboxResort(int32_t) {}
void CommonListbox::ListboxHeaderPress(int32_t) {}

int32_t CommonListbox::GetColWidthActual(int32_t c) const {
  return ValidColumn(c) ? mColumns[c].width : 0;
}
int32_t CommonListbox::GetMinColWidthActual(int32_t c) const {
  return ValidColumn(c) ? mColumns[c].minWidth : 0;
}
int32_t CommonListbox::GetMaxColWidthActual(int32_t c) const {
  return ValidColumn(c) ? mColumns[c].maxWidth : 0;
}
int32_t CommonListbox::GetColLeft(int32_t c) const { return ValidColumn(c) ? mColumns[c].left : 0; }
int32_t CommonListbox::GetColRight(int32_t c) const {
  return ValidColumn(c) ? mColumns[c].right : 0;
}

void CommonListbox::SetMinColWidthActual(int32_t c, int32_t width) {
  if (!ValidColumn(c))
    return;
  mColumns[c].minWidth = width;
  mColumns[c].minStale = 1;
}

void CommonListbox::SetMaxColWidthActual(int32_t c, int32_t width) {
  if (!ValidColumn(c))
    return;
  mColumns[c].maxWidth = width;
  mColumns[c].maxStale = 1;
}

int32_t CommonListbox::ContentWidth() {
  const QV::Rect k = GetContentRect();
  return k.right - k.left;
}

bool CommonListbox::IsStarColumn(int32_t c) {
  double value;
  return ValidColumn(c) &&
         ParseColumnWidth(GetColWidthExpression(c), &value) == kColumnWidthStar;
}

string CommonListbox::ReadExpression(int32_t c, WhichExpression which) {
  if (!ValidColumn(c))
    return string();
  ListColumnRecord &col = mColumns[c];
  uint8_t &stale = which == kWidth ? col.widthStale : which == kMinimum ? col.minStale : col.maxStale;
  string &expression =
      which == kWidth ? col.widthExpression : which == kMinimum ? col.minExpression : col.maxExpression;
  if (stale) {
    const int32_t pixels = which == kWidth ? col.width : which == kMinimum ? col.minWidth : col.maxWidth;
    double value;
    switch (ParseColumnWidth(expression, &value)) {
    case kColumnWidthPixels:
      expression = ultoa(pixels);
      break;
    case kColumnWidthPercent: {
      // A list without content width has no percentage to give: the
      // expression stays as it was.
      const int32_t w = ContentWidth();
      if (w > 0)
        expression = doubleStr(pixels * 100.0 / w, kDoubleStrAutomatic, 7) + string("%");
      break;
    }
    case kColumnWidthStar:
      ShowAlert(which == kWidth     ? kStaleStarWidth
                : which == kMinimum ? kStaleStarMinimum
                                    : kStaleStarMaximum);
      break;
    default:
      break;
    }
    stale = 0;
  }
  return expression;
}

string CommonListbox::GetColWidthExpression(int32_t c) { return ReadExpression(c, kWidth); }
string CommonListbox::GetMinColWidthExpression(int32_t c) { return ReadExpression(c, kMinimum); }
string CommonListbox::GetMaxColWidthExpression(int32_t c) { return ReadExpression(c, kMaximum); }

void CommonListbox::SetColWidthExpression(int32_t c, const string &expression) {
  if (!ValidColumn(c))
    return;
  double value;
  const ColumnWidthFormat form = GetColumnWidthFormatAndValue(expression, &value);
  if (form == kColumnWidthUnrecognized)
    return;
  double oldValue;
  if (ParseColumnWidth(GetColWidthExpression(c), &oldValue) == kColumnWidthStar)
    mStarTotal -= oldValue;
  ListColumnRecord &col = mColumns[c];
  if (form == kColumnWidthPercent)
    col.width = TruncateToInt32(ContentWidth() * value / 100.0);
  else if (form == kColumnWidthPixels)
    col.width = TruncateToInt32(value);
  else
    mStarTotal += value;
  col.widthExpression = expression;
  col.widthStale = 0;
  if (mStarTotal > 0)
    ReCalculateColumnWidths();
}

void CommonListbox::SetLimitExpression(int32_t c, const string &expression,
                                       WhichExpression which) {
  if (!ValidColumn(c))
    return;
  double value;
  const ColumnWidthFormat form = ParseColumnWidth(expression, &value);
  if (form == kColumnWidthStar) {
    RaiseExceptionClassWMessage(
        UnsupportedFormatExceptionClass(),
        string(which == kMinimum ? "MinWidthExpression doesn't support the Asterisk ('*') format."
                                 : "MaxWidthExpression doesn't support the Asterisk ('*') format."),
        0);
    return;
  }
  if (form == kColumnWidthUnrecognized) {
    GetColumnWidthFormatAndValue(expression, &value); // raises the parser's message
    return;
  }
  ListColumnRecord &col = mColumns[c];
  int32_t width = form == kColumnWidthPercent ? TruncateToInt32(ContentWidth() * value / 100.0)
                                              : TruncateToInt32(value);
  if (which == kMaximum && StringValHelper(expression, nullptr) < 0)
    width = -1;
  if (which == kMinimum) {
    col.minWidth = width;
    col.minExpression = expression;
    col.minStale = 0;
  } else {
    col.maxWidth = width;
    col.maxExpression = expression;
    col.maxStale = 0;
  }
}

void CommonListbox::SetMinColWidthExpression(int32_t c, const string &e) {
  SetLimitExpression(c, e, kMinimum);
}
void CommonListbox::SetMaxColWidthExpression(int32_t c, const string &e) {
  SetLimitExpression(c, e, kMaximum);
}

void CommonListbox::SetColumnCount(int32_t count) {
  mColumnCount = std::clamp(count, 1, kMaxListColumns);
}

void CommonListbox::ReCalculateColumnWidths() {
  const int32_t w = ContentWidth();
  int32_t remaining = w, remainingMin = w, remainingMax = w;
  double starSum = 0, starSumMin = 0, starSumMax = 0;
  for (int32_t i = 0; i < mColumnCount; ++i) {
    const int32_t left = mColumnCount - i;
    mColumns[i].width = ComputeColumnWidth(GetColWidthExpression(i), &remaining, w, left, &starSum);
    mColumns[i].minWidth =
        ComputeColumnWidth(GetMinColWidthExpression(i), &remainingMin, w, left, &starSumMin);
    const string maximum = GetMaxColWidthExpression(i);
    if (StringValHelper(maximum, nullptr) < 0)
      mColumns[i].maxWidth = -1;
    else
      mColumns[i].maxWidth = ComputeColumnWidth(maximum, &remainingMax, w, left, &starSumMax);
  }
  mStarTotal = starSum;
  if (mStarTotal != 0) {
    // Fixed once, before any star column takes its share: negative when the
    // fixed and percent columns already exceed the width.
    const double perWeight = remaining / mStarTotal;
    for (int32_t j = 0; j < mColumnCount; ++j) {
      double weight;
      if (ParseColumnWidth(mColumns[j].widthExpression, &weight) != kColumnWidthStar)
        continue;
      if (remaining < 0)
        remaining = 0;
      const int32_t share = TruncateToInt32(perWeight * weight);
      if (j != mColumnCount - 1) {
        mColumns[j].width = share;
      } else {
        mLastColumnNominalWidth = share;
        mColumns[j].width = remaining;
      }
      remaining = static_cast<int32_t>(static_cast<int64_t>(remaining) - share);
    }
  }
  UpdateColumnPositions();
  if (mHeadingsShown)
    UpdateHeaders();
  else
    AdjustHScroller();
}

// 16-bit arithmetic, as the rectangles that carry the edges are 16-bit.
void CommonListbox::UpdateColumnPositions() {
  if (mColumnCount <= 0)
    return;
  int16_t left = static_cast<int16_t>(GetContentRect().left - static_cast<int16_t>(mHScrollOffset));
  for (ListColumnRecord &col : mColumns) {
    col.left = left;
    const int16_t right = static_cast<int16_t>(left + static_cast<int16_t>(col.width));
    col.right = right;
    left = right;
  }
}

void CommonListbox::RewriteStarWeights() {
  const int32_t last = mColumnCount - 1;
  auto pixels = [&](int32_t c) { return c == last ? mLastColumnNominalWidth : mColumns[c].width; };
  int32_t smallest = 0;
  for (int32_t c = 0; c < mColumnCount; ++c)
    if (IsStarColumn(c) && pixels(c) > 0 && (smallest == 0 || pixels(c) < smallest))
      smallest = pixels(c);
  if (smallest == 0)
    smallest = 1;
  double total = 0;
  for (int32_t c = 0; c < mColumnCount; ++c) {
    if (!IsStarColumn(c))
      continue;
    const double weight = static_cast<double>(pixels(c)) / smallest;
    mColumns[c].widthExpression = doubleStr(weight, kDoubleStrAutomatic, 7) + string("*");
    double parsed;
    ParseColumnWidth(mColumns[c].widthExpression, &parsed);
    total += parsed;
  }
  mStarTotal = total;
}

void CommonListbox::SetColWidthActual(int32_t c, int32_t width) {
  if (!ValidColumn(c))
    return;
  if (mStarTotal == 0) {
    mColumns[c].width = width;
    mColumns[c].widthStale = 1;
  } else {
    // The width moves between the column and its right neighbour.
    const int32_t last = mColumnCount - 1;
    if (c >= last)
      return;
    const int32_t d = width - mColumns[c].width;
    mColumns[c].width = width;
    mColumns[c + 1].width -= d;
    if (c + 1 == last)
      mLastColumnNominalWidth -= d;
    const bool starHere = IsStarColumn(c), starNext = IsStarColumn(c + 1);
    if (!starHere)
      mColumns[c].widthStale = 1;
    if (!starNext)
      mColumns[c + 1].widthStale = 1;
    if (starHere || starNext)
      RewriteStarWeights();
  }
  UpdateColumnPositions();
  if (mHeadingsShown)
    UpdateHeaders();
  InvalidateColumnAndAllAfter(c);
}

int32_t CommonListbox::CheckNewHeaderWidth(int32_t c, int32_t *width, int32_t mouseX) {
  if (!ValidColumn(c))
    return 0;
  int32_t r = 0;
  int32_t lower = *width, upper = *width;
  const ListColumnRecord &col = mColumns[c];
  if (*width <= col.minWidth) {
    lower = col.minWidth;
    r = 1;
  } else if (col.maxWidth != -1 && *width >= col.maxWidth) {
    upper = col.maxWidth;
    r = 2;
  }
  if (mStarTotal != 0 && c + 1 < mColumnCount) {
    const ListColumnRecord &nextCol = mColumns[c + 1];
    const bool nextIsLast = c + 1 == mColumnCount - 1;
    const int32_t shrink = col.width - *width;
    const int32_t next = nextIsLast ? mLastColumnNominalWidth : nextCol.width;
    const int32_t newNext = next + shrink;
    if (newNext > 0 && newNext > nextCol.minWidth) {
      if (nextCol.maxWidth != -1 && newNext >= nextCol.maxWidth) {
        lower = std::max(lower, col.width + next - nextCol.maxWidth);
        r = 1;
      }
    } else {
      upper = std::min(upper, col.width + next - nextCol.minWidth + (nextIsLast ? 1 : 0));
      r = 2;
    }
    const QV::Rect k = GetContentRect();
    if (mouseX <= k.left) {
      r = 1;
      *width += k.left - mouseX;
    } else if (mouseX > k.right) {
      r = 2;
      *width += k.right - mouseX + 1;
    }
  }
  if (r == 1)
    *width = std::max(lower, *width);
  else if (r == 2)
    *width = std::min(upper, *width);
  return r;
}

void CommonListbox::SetUserResizable(bool resizable) {
  for (ListColumnRecord &col : mColumns)
    col.userResizable = resizable ? 1 : 0;
}

void CommonListbox::SetColumnUserResizable(int32_t c, bool resizable) {
  if (ValidColumn(c))
    mColumns[c].userResizable = resizable ? 1 : 0;
}

bool CommonListbox::IsUserResizable(int32_t c) const {
  return ValidColumn(c) && mColumns[c].userResizable;
}

string CommonListbox::GetHeadingName(int32_t c) const {
  return ValidColumn(c) ? mHeadingNames[c] : string();
}

void CommonListbox::SetHeadingNames(int32_t index, const string &text) {
  if (index < -1 || index >= kMaxListColumns)
    return;
  if (index >= 0) {
    mHeadingNames[index] = text.IsEmpty() ? DecimalIndex(index) : text;
  } else {
    const string line = nthField(text, string("\r"), 1);
    for (int32_t i = 0; i < mColumnCount; ++i) {
      const string field = nthField(line, string("\t"), i + 1);
      mHeadingNames[i] = field.IsEmpty() ? DecimalIndex(i) : field;
    }
  }
  if (mHeadingsShown) {
    UpdateColumnPositions();
    UpdateHeaders();
  }
}

void CommonListbox::UpdateHeaders() {
  if (mColumnCount == 0) {
    mHeadingsShown = 0;
    AdjustHScroller();
    return;
  }
  mHeadingsShown = 1;
  const QV::Rect content = GetContentRect();
  const int32_t top = content.top - HeadingHeight() + 1;
  const int32_t bottom = top + HeadingHeight() + 1 - mInsets[kInsetBottom];
  const int32_t headerLeft = content.left, headerRight = content.right;
  FontStructure font;
  font.name = FontName();
  font.size = static_cast<int16_t>(FontSize());

  CommonListboxHeader **link = &mHeader;
  for (int32_t i = -1; i <= mColumnCount; ++i) {
    int32_t left, right;
    string title;
    const bool filler = i == -1 || i == mColumnCount;
    if (i == -1) {
      left = headerLeft;
      right = mColumns[0].left - 1;
    } else if (i < mColumnCount) {
      left = mColumns[i].left - 1;
      right = mColumns[i].right - 1;
      title = mHeadingNames[i];
    } else {
      left = mColumns[mColumnCount - 1].right - 1;
      right = headerRight;
    }
    left = std::clamp(left, headerLeft, headerRight);
    right = std::clamp(right, headerLeft, headerRight);
    QV::Rect r;
    QV::SetRect(&r, left, top, right, bottom);
    CommonListboxHeader *record = *link;
    if (record) {
      record->mFiller = filler;
      if (record->mButton->Title().Compare(title) != 0 ||
          record->mButton->Title().Length() != title.Length())
        record->mButton->setTitle(title);
      record->mButton->MovePane(r, false);
    } else {
      record = new CommonListboxHeader(this, nullptr, filler);
      record->mButton = new BevelButton(record, font, this, GetTabPanelIndex(), r, title, 1);
      record->mButton->EnablePane(IsEnabled(), false);
      if (IsActive())
        record->mButton->Activate();
      else
        record->mButton->Deactivate();
      *link = record;
    }
    link = &record->mNext;
  }
  // Records beyond the right filler belong to columns that went.
  CommonListboxHeader *rest = *link;
  *link = nullptr;
  while (rest) {
    CommonListboxHeader *next = rest->mNext;
    rest->mButton->Close(); // its last lock goes with it
    delete rest;
    rest = next;
  }
  AdjustHScroller();
}

void CommonListbox::ClearHeader() {
  while (mHeader) {
    CommonListboxHeader *next = mHeader->mNext;
    mHeader->mButton->Close();
    delete mHeader;
    mHeader = next;
  }
}

namespace {

CommonListboxHeader *HeaderOfColumn(CommonListboxHeader *first, int32_t column) {
  int32_t c = -1;
  for (CommonListboxHeader *h = first; h; h = h->Next()) {
    if (h->IsFiller())
      continue;
    if (++c == column)
      return h;
  }
  return nullptr;
}

} // namespace

void CommonListbox::SetSortColumn(int32_t column) {
  if (column != mSortColumn && mHeader) {
    CommonListboxHeader *target = HeaderOfColumn(mHeader, column);
    if (target) {
      target->Button()->setValue(1);
      mSortDirections[column] = target->Button()->SortDirection();
    }
    for (CommonListboxHeader *h = mHeader; h; h = h->Next())
      if (h != target && !h->IsFiller() && h->Button()->getValue())
        h->Button()->setValue(0);
  }
  if (column >= 0 && column < mColumnCount)
    ListboxHeaderPress(column);
}

void CommonListbox::SetSortColumnDirection(int32_t column, int32_t direction, bool force) {
  if (!ValidColumn(column))
    return;
  if (!force && mSortDirections[column] == direction)
    return;
  mSortDirections[column] = direction;
  CommonListboxHeader *h = HeaderOfColumn(mHeader, column);
  if (!h)
    return;
  h->Button()->SetSortDirection(direction);
  if (h->Button()->getValue()) {
    Graphics *g = getGraphics();
    if (g) {
      Redraw(g);
      Graphics::Release(g);
    }
  }
}

int32_t CommonListbox::GetSortColumnDirection(int32_t column) const {
  return ValidColumn(column) ? mSortDirections[column] : 0;
}
