// The row engine of the list box: rows known by number, the selection as
// unmerged ranges, the keyboard focus mark, the first visible row; clicks,
// drags and keys turned into selection changes and scrolling. It reports to
// a delegate (selection, double clicks, scrolling) and a provider (drawing
// rows, taking clicks over). Changes of the row count are shown through one
// deferred refresh after the current run-loop step.
#pragma once
#include <cstdint>

#include "listbox/ScrollingListbox.h"
#include "runtime/loop/DeferredUpdates.h"

class NuListbox;

// What a list reports. Every default does nothing.
class NuListboxDelegate {
public:
  virtual void ListboxDoubleClick(NuListbox *list);
  virtual void ListboxSelChanging(NuListbox *list);
  virtual void ListboxSelChange(NuListbox *list);
  virtual void ListboxScrolled(NuListbox *list, int32_t pixels);
  virtual bool ListboxDragReorderRows(NuListbox *list, int32_t row);

protected:
  ~NuListboxDelegate() = default;
};

// Who draws the rows and may take clicks over.
class NuListboxProvider {
public:
  virtual void HandleDrawEnvironment(Graphics *g, const QV::Rect &rect) = 0;
  virtual void HandleDrawRow(Graphics *g, int32_t row, const QV::Rect &rect, bool selected) = 0;
  virtual void HandleHighlightRow(Graphics *g, int32_t row, const QV::Rect &rect,
                                  bool selected) = 0;
  virtual bool HandleExternalClick(int32_t x, int32_t y, int32_t modifiers) = 0;
  virtual bool HandleRowClick(int32_t row, int32_t dx, int32_t dy, int32_t modifiers) = 0;

protected:
  ~NuListboxProvider() = default;
};

// Rows first .. first + count - 1 are selected. Ranges are not merged.
struct NuSelectionRange {
  NuSelectionRange *next;
  int32_t first;
  int32_t count;
};

// The pixel span a deferred refresh covers: positive heights for inserted
// rows, negative for removed ones, 0 for the whole list.
struct NuListboxUpdate {
  int32_t top;
  int32_t height;
};

constexpr int32_t kListShiftKey = 0x200;
constexpr int32_t kListControlKey = 0x1000;
constexpr int32_t kListCommandKey = 0x100;

class NuListbox : public ScrollingListbox, public DeferredUpdateDelegate {
public:
  NuListbox(NuListboxDelegate *delegate, NuListboxProvider *provider, ContainerPane *parent,
            int32_t tabPanelIndex, const QV::Rect &bounds, bool constantRowHeight,
            int32_t selectionType);
  ~NuListbox() override;

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  bool HandleCmdKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  void HandleAction(int32_t action) override;
  void GainedFocus() override;
  void LostFocus() override;
  bool AcceptFocus() override;
  void MovePane(const QV::Rect &r, bool redraw) override;
  bool UpdateBounds(QV::Rect *r) override;
  bool OpaqueBounds(QV::Rect *r) override;
  void DrawIntoOffscreen(Graphics *g) override;
  bool HandleMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  int32_t GetTotalContentWidth() override;
  int32_t GetRowCount() override;
  void ScrollerValueChanged(Scroller *scroller, int32_t oldValue, int32_t newValue) override;
  void DeferredUpdateApply() override;

  virtual bool FocusOnClick();
  virtual void TriggerRefresh();
  virtual void ScrollContentHorizontally(int32_t x);
  virtual void SetScrollPositionX(int32_t x);
  virtual void RemoveRows(int32_t first, int32_t count);
  virtual void DrawFocusRow(Graphics *g);

  // Rows.
  int32_t GetCount() { return GetRowCount(); }
  void InsertRows(int32_t first, int32_t count);

  // Selection.
  int32_t Selection();
  int32_t lastSelection();
  bool getSelected(int32_t row);
  int32_t getSelCount();
  bool nextSelectedRow(int32_t *row);
  void SetSelection(int32_t row, bool reveal);
  void setSelected(int32_t row, bool selected);
  void SpreadSelection(int32_t from, int32_t to);
  void ClearSelection();
  NuSelectionRange *GetSelectionRange() const { return mSelection; }

  // Scrolling.
  int32_t GetScrollRow() const { return mScrollRow; }
  void SetScrollRow(int32_t row);
  void revealRow(int32_t row);
  void ScrollContentVertically(int32_t oldRow, int32_t newRow);

  // Geometry.
  bool RowFromPoint(int32_t x, int32_t y, int32_t *row, int32_t *dx, int32_t *dy);
  bool GetVisibleSpanBounds(int32_t first, int32_t count, QV::Rect *span, QV::Rect *visible);

  // The keyboard focus mark.
  void ShowFocusRow(int32_t row);
  void HideFocusRow();
  void DrawFocusRing(Graphics *g);
  int32_t FocusRow() const { return mFocusRow; }
  void SetFocusRow(int32_t row) { mFocusRow = row; }
  bool HasFocus() const { return mHasFocus; }

  void LockListbox();
  void UnlockListbox();

  int32_t SelectionType() const { return mSelectionType; }
  void SetSelectionType(int32_t type) { mSelectionType = type; }
  bool ContentInvalid() const { return mContentInvalid; }
  void ClearContentInvalid() { mContentInvalid = 0; }
  bool QuietSelection() const { return mQuietSelection; }
  void SetQuietSelection(bool quiet) { mQuietSelection = quiet; }
  int32_t NotificationDepth() const { return mNotificationDepth; }
  NuListboxUpdate *PendingRefresh() const { return mPendingRefresh; }
  bool FocusRingEnabled() const { return mFocusRingEnabled; }
  void SetFocusRingAllowed(bool allowed) { mFocusRingAllowed = allowed; }
  bool EnableDrag() const { return mEnableDrag; }
  void SetEnableDrag(bool on) { mEnableDrag = on; }
  bool EnableDragReorder() const { return mEnableDragReorder; }
  void SetEnableDragReorder(bool on) { mEnableDragReorder = on; }
  NuListboxDelegate *Delegate() const { return mDelegate; }
  NuListboxProvider *Provider() const { return mProvider; }

protected:
  bool MultipleSelection() const { return mSelectionType != 0; }
  void NotifyChanging();
  void NotifyChanged();
  // The rows' area: the bounds less the insets and the heading.
  QV::Rect RowArea();
  void ScheduleRefresh(int32_t first, int32_t count, bool insertion, const QV::Rect *span);
  void DropPendingRefresh();
  void SelectByKey(int32_t row, bool add);

  int32_t mRowCount = 0;
  NuSelectionRange *mSelection = nullptr;
  uint8_t mToggleState = 0;
  uint8_t mFocusRingEnabled = 1;
  NuListboxUpdate *mPendingRefresh = nullptr;
  uint8_t mContentInvalid = 1;
  uint8_t mConstantRowHeight;
  uint8_t mOffscreenDepth = 0;
  NuListboxProvider *mProvider;
  int32_t mFocusRow = 0;
  uint8_t mHasFocus = 0;
  uint8_t mMovedSinceClick = 0;
  int32_t mSelectionType;
  int32_t mLastClickTime = 0;
  int32_t mLastClickRow = -1;
  int32_t mLastClickModifiers = 0;
  int32_t mAnchorRow = -1;
  uint8_t mEnableDrag = 0;
  uint8_t mFocusRingAllowed = 1;
  uint8_t mEnableDragReorder = 0;
  uint8_t mNotificationDepth = 0;
  uint8_t mQuietSelection = 0;
  NuListboxDelegate *mDelegate;
};
