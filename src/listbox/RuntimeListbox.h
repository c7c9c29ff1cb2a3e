// The pane of the language's ListBox control, on top of the list-pane
// stack: one RowEntry per row with its chain of cells, the lookups with
// their defaults, cell pictures, the initial content, invalidation, the
// drawing of rows and cells, and the hierarchy and sorting of rows. It is
// its own row engine's delegate and provider, the router of its hidden cell
// editor and the watcher of that editor's pane.
#pragma once
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "controls/DataControlBinding.h"
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

// Holds a pane and its embedders up to the window across a call that fires
// events: a pane closed meanwhile is deleted when the holder goes, not under
// the call.
class PaneHold {
public:
  // A pane that is closing already is left alone: its window may be in the
  // middle of being deleted.
  explicit PaneHold(SubPane *pane) : mPane(pane && !pane->IsClosing() ? pane : nullptr) {
    if (mPane)
      mPane->Protect();
  }
  ~PaneHold() {
    if (mPane)
      mPane->UnprotectCausesDeath();
  }
  PaneHold(const PaneHold &) = delete;
  PaneHold &operator=(const PaneHold &) = delete;

private:
  SubPane *mPane;
};

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
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void HandleMouseMove(int32_t x, int32_t y) override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  void GainedFocus() override;
  void LostFocus() override;
  void EnableMenuOptions() override;
  bool HandleRuntimeMenuCommand(void *item) override;

  // The cell editor's reports.
  void EditControlTextChange(EditControl *pane) override;
  void EditControlGainedFocus(EditControl *pane) override;
  void EditControlLostFocus(EditControl *pane) override;
  using RuntimeEditRouter::EditControlHandleKeyPress; // the byte form wraps the key
  bool EditControlHandleKeyPress(EditControl *pane, const string &key, uint8_t keyCode,
                                 int16_t modifiers) override;
  bool EditControlHandleCmdKeyPress(EditControl *pane, uint8_t ch, uint8_t key,
                                    int16_t modifiers) override;

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

  // Cell editing: one cell at a time in the hidden editor. Ending an edit
  // does nothing while no edit runs.
  void EditCell(int32_t row, int32_t column);
  void EditCellHelper(int32_t row, int32_t column);
  bool HandleEditableCellClick(int32_t row, int32_t column);
  void HideEditInstance();
  // Lays the editor over the edited cell, inside the content area.
  void PositionCellEditor();
  void CommitEdit() { CommitCancelEdit(true); }
  void CancelEdit() { CommitCancelEdit(false); }
  bool Editing() const { return mEditRow != -1 && mEditColumn != -1; }
  int32_t EditRow() const { return mEditRow; }
  int32_t EditColumn() const { return mEditColumn; }
  // The editor's text in UTF-8 while an edit runs.
  string EditedText();

  // Clicks the row engine hands over.
  bool HandleCellClick(int32_t row, int32_t column, int32_t x, int32_t y, const QV::Rect &cell);
  bool HandleCheckboxCellClick(int32_t row, int32_t column, int32_t x, int32_t y,
                               const QV::Rect &cell);

  // Binding: the data control named by DataSource, the selection receivers
  // and the rows of a bound list-data provider.
  void SetDataSourceName(const string &name) { mBinding.SetDataSourceName(name); }
  RuntimeObject *BoundDataControl() const { return mBinding.BoundDataControl(); }
  void addLSNR(RuntimeObject *receiver);
  void removeLSNR(RuntimeObject *receiver);
  // The text of a bound row's field (column + 1) through the provider's row
  // object; nil when the provider or the row has none.
  stringStorage *BoundCellText(int32_t row, int32_t column);

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
  void CommitCancelEdit(bool commit);
  // Calls the event's handler, if any, with the pane kept alive; result (when
  // given) takes a Boolean handler's answer. False when the pane closed
  // under the handler: the caller must stop touching it.
  template <typename... Args> bool Fire(ListboxEvent event, int32_t *result, Args... args) {
    if (result)
      *result = 0;
    void *code = Handler(event);
    if (!code || !mControl || IsClosing())
      return !IsClosing(); // a closing list fires nothing
    Protect();
    const int32_t answer =
        reinterpret_cast<int32_t (*)(RuntimeObject *, Args...)>(code)(&mControl->control.header,
                                                                       args...);
    if (result)
      *result = answer != 0;
    return !UnprotectCausesDeath();
  }
  // Calls the method of that name of the selection-receiver interface on
  // every receiver, over a snapshot holding a reference on each.
  void NotifySelectionReceivers(const char *method);
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
  DataControlBinding mBinding{kDataAwareListbox};
  Array mSelectionReceivers; // counted
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
