// Folders that expand and collapse, the heading press, and the sort of
// sibling blocks level by level, so that children stay under their parent.
#include <algorithm>
#include <vector>

#include "foundation/Sorting.h"
#include "language/StringCompare.h"
#include "listbox/RuntimeListbox.h"

namespace {

using ExpandProc = void (*)(RuntimeObject *, int32_t);
using ColumnProc = int32_t (*)(RuntimeObject *, int32_t);
using CompareProc = int32_t (*)(RuntimeObject *, int32_t, int32_t, int32_t, int32_t *);

struct SortBlock {
  int32_t first;
  int32_t count;
};

} // namespace

// The state of the one sort that runs at a time: the blocks of the level
// being sorted, the list and its column. A comparison runs the program's
// code, which may change the list: a sort started meanwhile only redraws,
// and a changed row count stops this one.
struct ListboxSort {
  static SortBlock *sBlocks;
  static RuntimeListbox *sList;
  static int32_t sColumn;
  static int32_t sRowCount;
  static bool sStopped;

  static bool Stopped() {
    if (!sStopped && sList->GetRowCount() != sRowCount)
      sStopped = true;
    return sStopped;
  }

  static int Compare(long a, long b, sortDirection direction) {
    if (Stopped())
      return 0;
    RuntimeListbox *list = sList;
    if (auto proc = reinterpret_cast<CompareProc>(list->Handler(ListboxEvent::kCompareRows))) {
      int32_t result = 0;
      const int32_t handled = proc(&list->mControl->control.header, sBlocks[a].first,
                                   sBlocks[b].first, sColumn, &result);
      if (Stopped())
        return 0;
      if (handled) {
        if (direction == 1)
          return result;
        return result < 0 ? 1 : result > 0 ? -1 : 0;
      }
    }
    CellEntry *ca = list->GetItemCell(sBlocks[a].first, sColumn, false);
    CellEntry *cb = list->GetItemCell(sBlocks[b].first, sColumn, false);
    const int32_t c = RuntimeStringCompare(ca ? ca->mText.Storage() : nullptr,
                                           cb ? cb->mText.Storage() : nullptr);
    const int32_t sign = c < 0 ? -1 : c > 0 ? 1 : 0;
    return direction == 1 ? sign : -sign;
  }

  static void Swap(long a, long b, sortDirection) {
    if (Stopped())
      return;
    SortBlock &x = sBlocks[a], &y = sBlocks[b];
    sList->SwapRows(x.first, x.count, y.first, y.count);
    if (x.count != y.count) {
      std::swap(x.count, y.count);
      const long low = std::min(a, b), high = std::max(a, b);
      int32_t next = sBlocks[low].first;
      for (long i = low; i <= high; ++i) {
        sBlocks[i].first = next;
        next += sBlocks[i].count;
      }
    }
  }

  static void SortSiblingBlocks(int32_t first, int32_t count, int32_t direction) {
    if (count <= 0 || Stopped())
      return;
    RuntimeListbox *list = sList;
    const int32_t level = list->GetItemIndent(first);
    std::vector<SortBlock> blocks;
    const int32_t end = first + count;
    for (int32_t row = first; row < end;) {
      int32_t next = row + 1;
      while (next < end && list->GetItemIndent(next) > level)
        ++next;
      blocks.push_back({row, next - row});
      if (next - row > 1)
        SortSiblingBlocks(row + 1, next - row - 1, direction);
      if (Stopped())
        return;
      row = next;
    }
    std::copy(blocks.begin(), blocks.end(), sBlocks);
    sList = list;
    orderSorter(0, static_cast<long>(blocks.size()), Compare, Swap, direction);
  }
};

SortBlock *ListboxSort::sBlocks = nullptr;
RuntimeListbox *ListboxSort::sList = nullptr;
int32_t ListboxSort::sColumn = 0;
int32_t ListboxSort::sRowCount = 0;
bool ListboxSort::sStopped = false;

void RuntimeListbox::ListboxHeaderPress(int32_t column) {
  auto proc = reinterpret_cast<ColumnProc>(Handler(ListboxEvent::kHeaderPressed));
  if (proc && proc(&mControl->control.header, column))
    return;
  ListboxResort(column);
}

void RuntimeListbox::ListboxResort(int32_t column) {
  // A column no direction table holds (Sort with no sorted column, or
  // whatever SortedColumn stored), a sort under way, a column without a
  // direction or a bound list: only redrawn.
  if (column < 0 || column >= kMaxListColumns || ListboxSort::sList ||
      GetSortColumnDirection(column) == 0 || BoundProvider()) {
    InvalidatePane(true);
    return;
  }
  RowEntry *selected = nullptr;
  if (getSelCount() == 1)
    selected = GetItemRow(Selection());
  CommitEdit();
  StoreSortColumn(column);
  if (GetRowCount() == 0)
    return;
  Protect();
  bool handled = false;
  if (auto proc = reinterpret_cast<ColumnProc>(Handler(ListboxEvent::kSortColumn)))
    handled = proc(&mControl->control.header, column) != 0;
  if (IsClosing()) {
    UnprotectCausesDeath();
    return;
  }
  const int32_t direction = GetSortColumnDirection(column);
  if (direction != 0) {
    if (!handled && GetRowCount() > 0) {
      std::vector<SortBlock> table(GetRowCount());
      ListboxSort::sBlocks = table.data();
      ListboxSort::sList = this;
      ListboxSort::sColumn = column;
      ListboxSort::sRowCount = GetRowCount();
      ListboxSort::sStopped = false;
      ListboxSort::SortSiblingBlocks(0, GetRowCount(), direction);
      ListboxSort::sBlocks = nullptr;
      ListboxSort::sList = nullptr;
    }
    if (selected && !IsClosing()) {
      int32_t found = -1;
      for (int32_t row = mRows.GetCount() - 1; row >= 0 && found < 0; --row)
        if (mRows.GetElement(row) == selected)
          found = row;
      SetSelection(found, true);
    }
  }
  if (!IsClosing())
    InvalidatePane(true);
  UnprotectCausesDeath();
}

// ---- folders

void RuntimeListbox::SetHierarchical(bool on) {
  mHierarchical = on;
  InvalidateRowHeight();
  InvalidateCell(-1, -1);
}

void RuntimeListbox::ListboxExpand(NuListbox *, int32_t row) {
  const int32_t savedRow = mExpandingRow;
  ++mExpandDepth;
  mExpandingRow = row;
  if (auto proc = reinterpret_cast<ExpandProc>(Handler(ListboxEvent::kExpandRow)))
    proc(&mControl->control.header, row);
  --mExpandDepth;
  mExpandingRow = savedRow;
}

void RuntimeListbox::ListboxCollapse(NuListbox *, int32_t row) {
  if (auto proc = reinterpret_cast<ExpandProc>(Handler(ListboxEvent::kCollapseRow)))
    proc(&mControl->control.header, row);
}

bool RuntimeListbox::ExpandItem(int32_t row, bool) {
  if (BoundProvider() || row < 0 || row >= mRows.GetCount())
    return false;
  RowEntry *entry = GetItemRow(row);
  if (!entry || entry->mFolderState != 0)
    return false;
  entry->mFolderState = 1;
  ListboxExpand(this, row);
  InvalidateRowAndAllAfter(row);
  return true;
}

bool RuntimeListbox::CollapseItem(int32_t row, bool) {
  if (BoundProvider() || row < 0 || row >= mRows.GetCount())
    return false;
  RowEntry *entry = GetItemRow(row);
  if (!entry || entry->mFolderState != 1)
    return false;
  ListboxCollapse(this, row);
  // The handler may have removed rows: the folder is found again by its
  // entry, so that no other folder loses its children.
  int32_t now = -1;
  for (int32_t r = 0; r < mRows.GetCount() && now < 0; ++r)
    if (mRows.GetElement(r) == entry)
      now = r;
  if (now < 0) {
    InvalidateCell(-1, -1);
    return true;
  }
  entry->mFolderState = 0;
  DeleteChildren(now);
  InvalidateRowAndAllAfter(now);
  return true;
}

void RuntimeListbox::DeleteChildren(int32_t row) {
  if (BoundProvider() || !mHierarchical || row < 0 || row >= mRows.GetCount())
    return;
  const int32_t indent = GetItemIndent(row);
  while (row + 1 < mRows.GetCount() && GetItemIndent(row + 1) > indent)
    RemoveItem(row + 1);
}

int32_t RuntimeListbox::ParentInsertRow(int32_t row) {
  const int32_t indent = GetItemIndent(row);
  int32_t next = row + 1;
  while (next < mRows.GetCount() && GetItemIndent(next) > indent)
    ++next;
  return next;
}

bool RuntimeListbox::GetItemExpanded(int32_t row) {
  if (BoundProvider() || row < 0 || row >= mRows.GetCount())
    return false;
  RowEntry *entry = GetItemRow(row);
  return entry && entry->mFolderState == 1;
}

bool RuntimeListbox::HandleHierarchicalRowClick(RowEntry *entry, int32_t row, int32_t x,
                                                int32_t y) {
  QV::Rect span, visible;
  if (!entry || !GetVisibleSpanBounds(row, 1, &span, &visible))
    return false;
  const QV::Rect cell = GetCellBounds(row, 0);
  const QV::Rect box = GetHierarchicalWidgetBounds(GetCellContentRect(cell, row, 0, false));
  const int32_t px = x + span.left, py = y + span.top;
  if (px < box.left || px >= box.right || py < box.top || py >= box.bottom)
    return false;
  if (entry->mFolderState == 1)
    CollapseItem(row, false);
  else if (entry->mFolderState == 0)
    ExpandItem(row, false);
  Pane::AboutToYield();
  return true;
}
