// The pane of the language's ListBox control, on top of the list-pane
// stack: one RowEntry per row with its chain of cells, the lookups with
// their defaults, cell pictures, the initial content, invalidation, the
// drawing of rows and cells, and the hierarchy and sorting of rows. It is
// its own row engine's delegate and provider, the router of its hidden cell
// editor and the watcher of that editor's pane.
#pragma once
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "foundation/Array.h"
#include "listbox/ListboxControl.h"
#include "listbox/ListboxRows.h"
#include "listbox/NuListbox.h"
#include "text/RuntimeEditRouter.h"
#include "windows/PaneDelegate.h"

class EditControl;

// Edges of a cell, border styles (the values of the ListBox constants) and
// line directions.
enum borderLocations : int32_t { kBorderTop, kBorderLeft, kBorderBottom, kBorderRight };
enum borderStyles : int32_t {
  kBorderDefault,
  kBorderNone,
  kBorderThinDotted,
  kBorderThinSolid,
  kBorderThickSolid,
  kBorderDoubleThinSolid,
};
enum lineDirections : int32_t { kLineHorizontal, kLineVertical };

class RuntimeListbox : public NuListbox,
                       public NuListboxDelegate,
                       public NuListboxProvider,
                       public RuntimeEditRouter,
                       public PaneDelegate,
                       public DataAwareClass {
public:
  RuntimeListbox(ListboxControl *control, ContainerPane *parent, int32_t id,
                 const QV::Rect &bounds);
  ~RuntimeListbox() override;

  // Overrides of the pane.
  void Redraw(Graphics *g) override;
  void Close() override;
  void VisibilityChanged(bool visible) override;
  void OrphanChildren() override;
  void MovePane(const QV::Rect &r, bool redraw) override;
  void Activate() override;
  void Deactivate() override;
  void RedrawWithContent(Graphics *g, bool withContent) override;
  void InvalidateCell(int32_t row, int32_t column) override;
  void InvalidateRow(int32_t row) override;
  void InvalidateColumn(int32_t column) override;
  void InvalidateRowAndAllAfter(int32_t row) override;
  void InvalidateColumnAndAllAfter(int32_t column) override;
  void ListboxResort(int32_t column) override;
  void ListboxHeaderPress(int32_t column) override;
  int32_t GetTotalContentWidth() override;
  int32_t GetRowHeight(int32_t row) override;
  void InvalidateRowHeight() override;
  void ScrollContentHorizontally(int32_t x) override;
  void SetScrollPositionX(int32_t x) override;
  void RemoveRows(int32_t first, int32_t count) override;
  void DrawFocusRow(Graphics *g) override;

  // Delegate and provider of the row engine.
  void ListboxDoubleClick(NuListbox *list) override;
  void ListboxSelChanging(NuListbox *list) override;
  void ListboxSelChange(NuListbox *list) override;
  bool ListboxDragReorderRows(NuListbox *list, int32_t row) override;
  void ListboxScrolled(NuListbox *list, int32_t pixels) override;
  void HandleDrawEnvironment(Graphics *g, const QV::Rect &rect) override;
  void HandleDrawRow(Graphics *g, int32_t row, const QV::Rect &rect, bool selected) override;
  void HandleHighlightRow(Graphics *g, int32_t row, const QV::Rect &rect, bool selected) override;
  bool HandleExternalClick(int32_t x, int32_t y, int32_t modifiers) override;
  bool HandleRowClick(int32_t row, int32_t dx, int32_t dy, int32_t modifiers) override;
  void InitializeBinding() override;
  void RemoveBinding() override;

  virtual Graphics *GetContext(Graphics *g, void **context, void **drawable, const QV::Rect &r);
  virtual void ListboxExpand(NuListbox *list, int32_t row);
  virtual void ListboxCollapse(NuListbox *list, int32_t row);
  virtual void SwapRows(int32_t first, int32_t count, int32_t otherFirst, int32_t otherCount);
  virtual int32_t AddItem(CellEntry *cells, int32_t indent, int32_t folderState);
  virtual void InsertItem(int32_t row, CellEntry *cells, int32_t indent, int32_t folderState);
  virtual void RemoveItem(int32_t row);
  virtual void ResetContent();
  virtual void DrawListBorder(Graphics *g);

  // Cell editing: nothing while no edit runs.
  void CommitEdit();
  void CancelEdit();

  // A row holding the text, added the way AddRow and AddFolder add one:
  // during an ExpandRow event as the last child of the expanding row, else
  // at the end. Answers its index, which also becomes the object's LastIndex.
  int32_t AddRowText(const string &text, bool folder);

  // Lookups.
  RowEntry *GetItemRow(int32_t row);
  CellEntry *GetItemData(int32_t row);
  CellEntry *GetItemCell(int32_t row, int32_t column, bool create);
  int32_t GetItemIndent(int32_t row);
  int32_t GetCellType(int32_t row, int32_t column);
  int32_t GetCellAlignment(int32_t row, int32_t column);
  int32_t GetCellAlignmentOffset(int32_t row, int32_t column);
  int32_t GetCellFontSize(int32_t row, int32_t column);

  // Pictures.
  RuntimeObject *GetCellImage(int32_t row, int32_t column);
  RuntimeObject *GetItemImage(int32_t row) { return GetCellImage(row, 0); }
  void SetCellImage(int32_t row, int32_t column, RuntimeObject *picture);
  void SetItemImage(int32_t row, RuntimeObject *picture) { SetCellImage(row, 0, picture); }

  void ResetInitialContent();
  // Gives every heading the font and lays the heading row out again.
  void setHeadingFont(const FontStructure &font);
  static QV::Rect ClipRectToRect(const QV::Rect &a, const QV::Rect &b);

  // Hierarchy.
  bool ExpandItem(int32_t row, bool flag);
  bool CollapseItem(int32_t row, bool flag);
  void DeleteChildren(int32_t row);
  int32_t ParentInsertRow(int32_t row);
  bool GetItemExpanded(int32_t row);
  bool HandleHierarchicalRowClick(RowEntry *entry, int32_t row, int32_t x, int32_t y);
  bool Hierarchical() const { return mHierarchical; }
  void SetHierarchical(bool on);
  int32_t ExpandDepth() const { return mExpandDepth; }
  int32_t ExpandingRow() const { return mExpandingRow; }

  // Drawing geometry.
  QV::Rect GetCellBounds(int32_t row, int32_t column);
  QV::Rect GetCellContentRect(const QV::Rect &cell, int32_t row, int32_t column, bool lines);
  static QV::Rect GetHierarchicalWidgetBounds(const QV::Rect &content);
  int32_t GetCellBorderStyle(borderLocations edge, int32_t row, int32_t column,
                             bool withNeighbours);
  void SetCellBorderStyle(borderLocations edge, int32_t row, int32_t column, int32_t style);
  int32_t GetCellBorderThickness(borderLocations edge, int32_t row, int32_t column);
  void MakeSureRowVisible(int32_t row);
  void MakeSureColumnVisible(int32_t column);
  void MakeSureCellVisible(int32_t row, int32_t column);

  ListboxControl *Control() const { return mControl; }
  // The bound list-data provider, nil while none is bound.
  RuntimeObject *BoundProvider() const;
  EditControl *CellEditor() const { return mCellEditor; }
  RuntimeObject *CellEditorObject() const { return Field(); }
  int32_t HorizontalGridStyle() const { return mHorizontalGridStyle; }
  void SetHorizontalGridStyle(int32_t style) { mHorizontalGridStyle = style; }
  int32_t VerticalGridStyle() const { return mVerticalGridStyle; }
  void SetVerticalGridStyle(int32_t style) { mVerticalGridStyle = style; }
  void *Handler(ListboxEvent event) const { return mHandlers[static_cast<int32_t>(event)]; }

private:
  friend struct ListboxSort;
  friend class UserPaint;
  void DrawHighlight(Graphics *g, const QV::Rect &rect, bool selected);
  void DrawCell(Graphics *g, const QV::Rect &cell, RowEntry *entry, CellEntry *data, int32_t row,
                int32_t column, bool selected);
  void DrawCellBackground(Graphics *g, const QV::Rect &cell, int32_t row, int32_t column,
                          bool selected);
  void DrawCellCheckBox(Graphics *g, const QV::Rect &rect, CellEntry *data);
  void DrawCellPicture(Graphics *g, const QV::Rect &rect, CellEntry *data, int32_t offset);
  void DrawHierarchicalWidget(Graphics *g, const QV::Rect &rect, bool expanded);
  // False when the paint event took the list or the row away.
  bool DrawCellText(Graphics *g, const QV::Rect &rect, CellEntry *data, int32_t row,
                    int32_t column, bool selected);
  void DrawCellHighlight(Graphics *g, const QV::Rect &rect, CellEntry *data, bool selected,
                         int32_t x);
  void DrawCellBorder(Graphics *g, const QV::Rect &cell, int32_t row, int32_t column);
  void DrawDragReorderWidget(Graphics *g);
  void RedrawCore(Graphics *g);
  int32_t CalculateCellTextXOffset(Graphics *g, const QV::Rect &rect, CellEntry *data,
                                   int32_t row, int32_t column, string *ellipsis);
  void PrepareForBorderDraw(Graphics *g, lineDirections direction, int32_t style);
  int32_t MeasuredRowHeight();
  static RuntimeObject *NewCellEditorObject();

  ListboxControl *mControl; // counted
  Array mRows;              // RowEntry *, one per row
  string mDataSourceName;
  RuntimeObject *mBoundDataControl = nullptr;
  Array mSelectionReceivers;
  uint8_t mHierarchical = 0;
  int32_t mExpandDepth = 0;
  int32_t mExpandingRow = 0;
  EditControl *mCellEditor = nullptr;
  int32_t mEditRow = -1;
  int32_t mEditColumn = -1;
  int32_t mSavedCellType = 0;
  uint8_t mEndingEdit = 0;
  uint8_t mUserTracking = 0;
  uint8_t mDragReorderActive = 0;
  int32_t mDropRow = -1;
  void *mDraggedRows = nullptr;
  int32_t mHorizontalGridStyle = 0;
  int32_t mVerticalGridStyle = 0;
  void *mHandlers[kListboxEventCount] = {};
  int32_t mCachedRowHeight = 0;
  uint8_t mRowHeightCached = 0;
};
