// The base pane of every list box: the geometry of up to 64 columns (width,
// minimum and maximum expressions, the pixel widths computed from them, the
// columns' edges), the heading names and sort directions, and the heading
// row of bevel buttons. Content geometry, invalidation and the response to
// a heading press belong to the subclasses.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "foundation/String.h"
#include "windows/SubPane.h"

class CommonListboxHeader;

constexpr int32_t kMaxListColumns = 64;

struct ListColumnRecord {
  uint8_t widthStale = 0; // set in pixels: the expression is rebuilt on read
  uint8_t minStale = 0;
  uint8_t maxStale = 0;
  uint8_t userResizable = 0; // the border after this column may be dragged
  string widthExpression;
  string minExpression;
  string maxExpression;
  int32_t width = 0;
  int32_t minWidth = 0;
  int32_t maxWidth = -1; // -1: no maximum
  int32_t left = 0;      // window coordinates
  int32_t right = 0;
};

enum ListContentInset : int32_t { kInsetTop, kInsetLeft, kInsetBottom, kInsetRight };

class CommonListbox : public ContainerPane {
public:
  CommonListbox(ContainerPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds);
  ~CommonListbox() override;

  void MovePane(const QV::Rect &r, bool redraw) override;
  void GetContentClipRect(QV::Rect *r) override;

  virtual QV::Rect GetContentRect() = 0;
  virtual QV::Rect GetHeaderRect() = 0;
  virtual void AdjustHScroller() = 0;
  virtual void InvalidateCell(int32_t row, int32_t column) = 0;
  virtual void InvalidateRow(int32_t row) = 0;
  virtual void InvalidateColumn(int32_t column) = 0;
  virtual void InvalidateRowAndAllAfter(int32_t row) = 0;
  virtual void InvalidateColumnAndAllAfter(int32_t column) = 0;
  virtual void ListboxResort(int32_t column);
  virtual void ListboxHeaderPress(int32_t column);

  // Column geometry; columns outside 0..63 read 0 and change nothing.
  int32_t GetColWidthActual(int32_t column) const;
  int32_t GetMinColWidthActual(int32_t column) const;
  int32_t GetMaxColWidthActual(int32_t column) const;
  int32_t GetColLeft(int32_t column) const;
  int32_t GetColRight(int32_t column) const;
  void SetMinColWidthActual(int32_t column, int32_t width);
  void SetMaxColWidthActual(int32_t column, int32_t width);
  void SetColWidthActual(int32_t column, int32_t width);
  string GetColWidthExpression(int32_t column);
  string GetMinColWidthExpression(int32_t column);
  string GetMaxColWidthExpression(int32_t column);
  void SetColWidthExpression(int32_t column, const string &expression);
  void SetMinColWidthExpression(int32_t column, const string &expression);
  void SetMaxColWidthExpression(int32_t column, const string &expression);
  void ReCalculateColumnWidths();
  void UpdateColumnPositions();
  // Limits a width proposed by a border drag: 0 as proposed, 1 raised to a
  // lower bound, 2 cut to an upper bound.
  int32_t CheckNewHeaderWidth(int32_t column, int32_t *width, int32_t mouseX);
  void SetUserResizable(bool resizable);
  void SetColumnUserResizable(int32_t column, bool resizable);
  bool IsUserResizable(int32_t column) const;

  // Headings.
  static int32_t HeadingHeight() { return 20; }
  void SetHeadingNames(int32_t index, const string &text);
  string GetHeadingName(int32_t column) const;
  void UpdateHeaders();
  void ClearHeader();
  void SetSortColumn(int32_t column);
  void SetSortColumnDirection(int32_t column, int32_t direction, bool force);
  int32_t GetSortColumnDirection(int32_t column) const;

  int32_t ColumnCount() const { return mColumnCount; }
  // 1..64; the widths are not recomputed here.
  void SetColumnCount(int32_t count);
  bool HeadingsShown() const { return mHeadingsShown; }
  void SetHeadingsShown(bool shown) { mHeadingsShown = shown; }
  bool HeaderTracking() const { return mHeaderTracking; }
  void SetHeaderTracking(bool on) { mHeaderTracking = on; }
  CommonListboxHeader *Header() const { return mHeader; }
  int32_t SortColumn() const { return mSortColumn; }
  void StoreSortColumn(int32_t column) { mSortColumn = column; }
  int32_t HScrollOffset() const { return mHScrollOffset; }
  void SetHScrollOffset(int32_t offset) { mHScrollOffset = offset; }
  int32_t Inset(ListContentInset which) const { return mInsets[which]; }
  double StarTotal() const { return mStarTotal; }
  int32_t LastColumnNominalWidth() const { return mLastColumnNominalWidth; }
  bool IsStarColumn(int32_t column);

private:
  friend class CommonListboxHeader;
  enum WhichExpression { kWidth, kMinimum, kMaximum };
  string ReadExpression(int32_t column, WhichExpression which);
  void SetLimitExpression(int32_t column, const string &expression, WhichExpression which);
  void RewriteStarWeights();
  int32_t ContentWidth();

  ListColumnRecord mColumns[kMaxListColumns];
  uint8_t mHeaderTracking = 0;
  uint8_t mHeadingsShown = 0;
  int32_t mColumnCount = 1;
  CommonListboxHeader *mHeader = nullptr;
  string mHeadingNames[kMaxListColumns];
  int32_t mSortDirections[kMaxListColumns];
  int32_t mLastColumnNominalWidth = 0;
  int32_t mHScrollOffset = 0;
  int32_t mSortColumn = 0;
  int32_t mInsets[4] = {1, 1, 2, 2};
  double mStarTotal = 0;
};
