// The base of every window and control: the tree of embedders and children,
// the life protocol that lets a pane close while code still runs on it, the
// visible, enabled and tab-panel states with their cascades, focus, moving
// and invalidating the pane's GTK+ widget, and the kinds of drops it takes.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "foundation/Array.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "windows/Pane.h"

struct MouseCursor;
class Window;

// One accepted drag or file type; lists are newest first.
struct AcceptedType {
  AcceptedType *next;
  string type;
};

class SubPane : public Pane {
public:
  // The pane's embedder and children, in the order they were added.
  struct Children {
    SubPane *embedder = nullptr;
    Array list;
  };

  SubPane(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds, bool embed);
  ~SubPane() override;

  bool isSubPane() override;
  void Update() override;
  void Redraw(Graphics *g) override;
  void EstablishDrawingSurface() override;
  void ResetDrawingSurface() override;
  void EstablishFont() override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  bool HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseMove(int32_t x, int32_t y) override;
  void ValidatePane() override;
  void ValidatePaneRect(const QV::Rect *r) override;
  GdkGC *GetGC() override;
  void ReleaseGC() override;
  GdkDrawable *GetGdkDrawable() override;

  virtual SubPane *Protect();
  virtual bool UnprotectCausesDeath();
  virtual void FinishConstruction();
  virtual void HIViewizeIfNeeded();
  virtual SubPane *GetOwnerPane();
  virtual SubPane *GetWorkerPane();
  virtual SubPane *GetParent();
  virtual bool Contains(SubPane *p, bool deep);
  virtual bool CanContain(SubPane *p, bool needVisible, bool sameTab);
  virtual bool CanLoseFocusOnArrowKeyPress();
  virtual void Activate();
  virtual void Deactivate();
  virtual void GetCopyTypes(SimpleVector<long> &types);
  virtual void GetPasteTypes(SimpleVector<long> &types);
  virtual void HideDragHilite();
  virtual void ShowDragHilite();
  virtual void DropObject(int32_t x, int32_t y);
  virtual void DraggingDropObject(int32_t x, int32_t y);
  virtual void markDefaultPane(SubPane *p);
  virtual bool overrideFocusPane();
  virtual void LostFocus();
  virtual void GainedFocus();
  virtual bool AcceptFocus();
  virtual void MovePane(const QV::Rect &r, bool redraw);
  virtual bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers);
  virtual bool HandleCmdKeyPress(int32_t ch, int32_t key, int32_t modifiers);
  virtual bool HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers);
  virtual void TabbedInto();
  virtual void HandleAction(int32_t action);
  virtual void FocusIdle();
  virtual void OnSize();
  virtual void ResetRadio();
  virtual void Repaint();
  virtual bool ChangeCursor(int32_t x, int32_t y);
  virtual void InvalidatePane(bool erase);
  virtual void EnableMenuOptions();
  virtual bool HandleMenuCommand(int32_t command);
  virtual bool HandleRuntimeMenuCommand(void *item);
  virtual void Close();
  virtual bool GetBaseline();
  virtual SubPane *ResortingPanes();
  virtual void EnablePane(bool enable, bool redraw);
  virtual void ShowPane(bool visible);
  virtual void SetTabPanelVisible(bool visible);
  virtual void VisibilityChanged(bool visible);
  virtual void setBalloonHelp(const string &help);
  virtual void setDisabledBalloonHelp(const string &help);
  virtual SubPane *getDefaultPane();
  virtual SubPane *getCancelPane();
  virtual void triggerPane();
  virtual bool IterateChildren(bool (*fn)(SubPane *p, void *arg), void *arg);
  virtual bool UpdateBounds(QV::Rect *r);
  virtual bool OpaqueBounds(QV::Rect *r);
  virtual void GetContentClipRect(QV::Rect *r);
  virtual bool GetVisibleUpdateBounds(QV::Rect *r);
  virtual void DrawIntoOffscreen(Graphics *g);
  virtual void Lock();
  virtual bool Unlock();
  virtual void SetHelpTag(const string &tag);
  virtual void FlushPort();
  virtual bool AddChild(SubPane *child);
  virtual void RemoveChild(SubPane *child);
  virtual void FindNewEmbedder(bool needVisible, bool sameTab);
  virtual void SetTabPanelIndex(int32_t index);
  virtual bool HasAnyFocusableExcept(SubPane *p);
  virtual void OrphanChildren();
  virtual bool HandleDragOver(int32_t x, int32_t y);
  virtual bool IsDragDetected();
  virtual bool IsPagePanel();
  virtual bool IsTabPanel();
  virtual bool IsOnTabPanel();
  virtual SubPane *FindDropRecipient(int32_t x, int32_t y, void *item);
  virtual void HandleDragEnter();
  virtual void HandleDragLeave();
  virtual void ResizePane(const QV::Rect &r);
  virtual void ReassignParent(SubPane *newParent);
  virtual bool HandleMouseWheel(int32_t x, int32_t y, int32_t delta);
  virtual void RedrawWithContent(Graphics *g, bool withContent);
  virtual GtkWidget *getControlHandle();
  virtual void ScrollRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t dh,
                          int32_t dv);
  virtual bool LowLevelTrackingHandler();
  virtual bool LowLevelReceiveHandler();

  // The root of the embedder chain; nil for nil.
  static SubPane *GetSubPaneWindow(SubPane *p);
  // The window of the pane when its root is a Window, else nil.
  Window *GetWindow();
  void InvalidateFocus();
  void SetFocus();
  void Refresh();
  static void TriggerRefresh();
  void InvalidatePaneRect(const QV::Rect *rect, bool erase);
  void InvalidatePaneRect(int32_t left, int32_t top, int32_t right, int32_t bottom, bool erase);
  bool HasAnyHelp();
  void setMouseCursor(MouseCursor *c);
  MouseCursor *getMouseCursor() const { return mCursor; }
  bool StillDown();
  void GetMouse(QV::Point *p);
  void ToLocal(QV::Point *p);
  void ToGlobal(QV::Point *p);
  void acceptTypeDrop(const string &type);
  void acceptFileDrop(const string &type);
  bool SupportsDropType(const string &type);
  void RadioBehaviour(SubPane *pane);

  SubPane *GetEmbedder() const { return mChildren->embedder; }
  int32_t CountChildren() const { return mChildren->list.GetCount(); }
  SubPane *ChildAt(int32_t i) const;
  bool IsVisible() const { return mVisible; }
  bool IsTabPanelVisible() const { return mTabPanelVisible; }
  bool IsShowing() const { return mVisible && mTabPanelVisible; }
  bool IsEnabled() const { return mEnabled; }
  bool IsActive() const { return mActive; }
  bool IsClosing() const { return mClosing; }
  bool CloseRan() const { return mCloseRan; }
  bool AutoDeactivate() const { return mAutoDeactivate; }
  void SetAutoDeactivate(bool on) { mAutoDeactivate = on; }
  int32_t GetTabPanelIndex() const { return mTabPanelIndex; }
  int32_t LockCount() const { return mLockCount; }
  GtkWidget *GetWidget() const { return mWidget; }
  GtkTooltips *GetTooltips() const { return mTooltips; }
  bool HasFileTypes() const { return mFileTypes != nullptr; }

protected:
  // The pane's own tab-visible flag, without its children's: a visible pane
  // drops the focus it loses and shows or hides its widget.
  void StoreTabPanelVisible(bool visible);
  void SetWidget(GtkWidget *w) { mWidget = w; }
  void SetActive(bool on) { mActive = on; }
  void SetClosing() { mClosing = true; }

  int32_t mLockCount = 0;
  int32_t mTabPanelIndex;
  uint8_t mVisible = 1;
  uint8_t mTabPanelVisible = 1;
  uint8_t mEnabled = 1;
  uint8_t mActive = 1;
  uint8_t mAutoDeactivate = 1;
  uint8_t mClosing = 0;
  uint8_t mCloseRan = 0; // Close's steps ran: they run once
  MouseCursor *mCursor = nullptr;
  AcceptedType *mDropTypes = nullptr;
  AcceptedType *mFileTypes = nullptr;
  Children *mChildren;
  GdkGC *mGC = nullptr;
  GtkWidget *mWidget = nullptr;
  GtkTooltips *mTooltips = nullptr;
  int32_t mGCLockCount = 0;
};

class ContainerPane : public SubPane {
public:
  ContainerPane(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds)
      : SubPane(parent, tabPanelIndex, bounds, true) {}
};

// Notices the deletion of one pane: pane() turns nil once it is deleted.
class SubPaneWatcher {
public:
  explicit SubPaneWatcher(SubPane *p);
  ~SubPaneWatcher();
  SubPaneWatcher(const SubPaneWatcher &) = delete;
  SubPaneWatcher &operator=(const SubPaneWatcher &) = delete;
  SubPane *pane() const { return mPane; }

private:
  friend void MarkSubPaneDeleted(SubPane *p);
  SubPane *mPane;
  SubPaneWatcher *mNext;
};

void MarkSubPaneDeleted(SubPane *p);

// Set by a pane around a click that it runs as a contextual click, so that
// the click's handlers can tell.
extern bool gCMMClick;
