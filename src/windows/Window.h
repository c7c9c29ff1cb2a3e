// One top-level window on GTK+: a GtkWindow holding a vertical box with an
// optional menu bar above a GtkFixed, in which every control's widget sits.
// The window is the root of a pane tree and keeps the flat list of the panes
// created in it: their order is the focus order, reversed the hit order.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "windows/DesktopServices.h"
#include "windows/SubPane.h"

class Window : public ContainerPane {
public:
  enum WindowType : int32_t {
    kWindowTypeDefault = 0,
    kWindowTypeFloating = 1,
    kWindowTypeModal = 2,
    kWindowTypeMovableModal = 3,
    kWindowTypePlainBox = 4,
    kWindowTypeShadowedBox = 5,
    kWindowTypeRounded = 6,
    kWindowTypeFloatingShadowBox = 7,
    kWindowTypeDocument = 8,
    kWindowTypeGlobalFloating = 9,
    kWindowTypeSheet = 10,
    kWindowTypeMetal = 11,
    kWindowTypeDrawer = 12,
  };

  // bounds: the content rectangle in screen coordinates. closeBox, zoomBox,
  // procId, composite and liveResize are not used on this platform.
  Window(const string &title, const QV::Rect &bounds, WindowType type, bool closeBox, int32_t layer,
         bool resizable, bool zoomBox = false, int32_t procId = 0, bool composite = false,
         bool liveResize = false);
  ~Window() override;

  // SubPane overrides.
  void EstablishDrawingSurface() override;
  void ResetDrawingSurface() override;
  void HideDragHilite() override;
  void ShowDragHilite() override;
  bool HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  bool HandleCmdKeyPress(int32_t ch, int32_t key, int32_t modifiers) override;
  void Redraw(Graphics *g) override;
  void Repaint() override;
  void Close() override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void Activate() override;
  void Deactivate() override;

  virtual void RedrawBackdrop(Graphics *g);
  virtual void SelectWindow();
  virtual void Refresh();
  virtual bool IsModal();
  virtual bool IsRuntimeWindow();
  virtual void MoveWindow(int32_t x, int32_t y, bool notify);
  virtual void SizeWindow(int32_t width, int32_t height, bool notify);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void Moved();
  virtual void Resizing();
  virtual void HonorControlLocking(const QV::Rect &r);
  virtual void RectInVisRgn(const QV::Rect &r);
  virtual void ReorderControl(SubPane *p, SubPane *before);
  virtual void Resized();
  virtual void RestrictSize(QV::Rect *limits);
  virtual bool CloseBoxClicked();
  virtual void Minimize();
  virtual void Maximize();
  virtual void Restore();
  virtual SubPane *GetFocus();
  virtual SubPane *GetPrevFocusPane(SubPane *p);
  virtual SubPane *GetNextFocusPane(SubPane *p);

  void ShowWindow();
  void HideWindow();
  bool IsVisible() const { return mWindowVisible; }
  void DoModal();
  void SetTitle(const string &title);
  const string &GetTitle() const { return mTitle; }
  void SetBackgroundColour(uint32_t rgb);
  void UnsetBackgroundColour();
  bool HasBackgroundColour() const { return mHasBackgroundColour; }
  uint32_t BackgroundColour() const { return mBackgroundColour; } // 0xRRGGBB
  void GetWindowBounds(QV::Rect *r);
  // Where the window is, or is asked to be by MoveWindow and SizeWindow
  // until the window system has done it.
  const QV::Rect &ScreenBounds() const { return mScreenBounds; }
  // Every run-loop step: reports moves and resizes, shows windows made
  // visible since.
  static void AboutToYield();
  // Compares the window's place and size on screen with those last reported
  // and reports Moved, then Resized, once for each change.
  void MoveWindowPosition();
  // The same, of the place alone when sizeToo is false.
  void NoticeScreenChanges(bool sizeToo);
  void CloseWindowLater();
  static void DestroyLayerWindows(int32_t layer);
  void setProperty(const string &name, uint32_t value);
  bool getProperty(const string &name, uint32_t *value);
  bool GetLiveResize();
  void SetLiveResize(char) {}
  void SelectWindow(Window *parent, int32_t relation);
  Window *GetParentWindow() const { return mParentWindow; }
  int32_t GetRelation() const { return mRelation; }
  bool getCollapsed() { return false; }
  void setCollapsed(char) {}
  void MinimizeWindow() {}
  void MaximizeWindow() {}
  void Metalize(char) {}
  void LimitDrawerToBounds() {}
  bool isCollapsible() { return false; }
  void LimitDrawersToBounds();
  int32_t getGrowBoxWidth();
  static void CloseAllFloatingShadowBoxes();
  static Window *GetFrontNonFloatingWindow() { return nullptr; }
  static bool IterateWindowList(bool (*fn)(Window *w, void *arg), void *arg);
  static void IterateIDEWindowList(bool (*)(Window *w, void *arg), void *) {}

  // Key routing's window part: Tab moves the focus, Return and Enter press
  // the default pane, Escape the cancel pane.
  bool HandleKeyPressHelper(int32_t ch, int32_t key, int32_t modifiers);
  SubPane *AdvanceFocus();
  SubPane *ReverseFocus();
  SubPane *SetFocusToFirstControl();

  WindowType GetType() const { return mType; }
  bool IsResizable() const { return mResizable; }
  int32_t GetLayer() const { return mLayer; }
  Window *NextWindow() const { return mNextWindow; }
  GtkWidget *GetGtkWindow() const { return mGtkWindow; }
  GtkWidget *GetBox() const { return mBox; }
  GtkWidget *GetFixed() const { return GetWidget(); }
  // The outlines of an internal drag in this window.
  DragDropIndicator &GetDragIndicator() { return mDragIndicator; }
  bool HasMenuBar() const { return mHasMenuBar; }
  void SetHasMenuBar(bool on) { mHasMenuBar = on; }
  SubPane *GetRememberedFocus() const { return mFocusPane; }
  void RememberFocus(SubPane *p) { mFocusPane = p; }
  int32_t CountPanes() const { return mPaneList.GetCount(); }
  SubPane *PaneAt(int32_t i) const;
  int32_t IndexOfPane(SubPane *p) const; // -1 when not listed
  void AppendPane(SubPane *p) { mPaneList.AppendItem(p); }
  void InsertPane(int32_t index, SubPane *p) { mPaneList.InsertItem(index, p); }
  void RemovePane(SubPane *p); // the first occurrence

  // GTK+ signal handlers, each with the window as data.
  static gboolean PaintCallBack(GtkWidget *, GdkEventExpose *, Window *w);
  static gboolean MouseMoveCallBack(GtkWidget *, GdkEventMotion *, Window *w);
  static void ShowCallBack(GtkWidget *, Window *w);
  static gboolean ConfigureCallBack(GtkWidget *, GdkEventConfigure *e, Window *w);
  static gboolean DeleteCallBack(GtkWidget *, GdkEvent *, Window *w);
  static gboolean KeyPressCallBack(GtkWidget *, GdkEventKey *e, Window *w);
  static gboolean ButtonReleasedCallBack(GtkWidget *widget, GdkEventButton *e, Window *w);
  static gboolean EnterCallBack(GtkWidget *, GdkEventCrossing *e, Window *w);
  static gboolean LeaveCallBack(GtkWidget *, GdkEventCrossing *e, Window *w);
  static gboolean ActivateCallBack(GtkWidget *, GdkEventFocus *, Window *w);
  static gboolean DeactivateCallBack(GtkWidget *, GdkEventFocus *, Window *w);
  static gboolean ScrollWheelCallBack(GtkWidget *, GdkEventScroll *e, Window *w);

  // The cursor last applied to a GDK window by mouse movement.
  struct CursorCache {
    int32_t type = 2;
    int32_t id = 0;
  };
  // The cache of the window's GtkFixed's GDK window.
  CursorCache &GetCursorCache() { return mCursorCache; }
  // Chooses the cursor under (x, y) and applies it to the fixed's GDK window.
  void ApplyCursorAt(int32_t x, int32_t y);
  // How many times a cursor was handed to GDK, for every window together.
  static int32_t CursorsApplied() { return sCursorsApplied; }

private:
  void ApplySizeHints(int32_t minW, int32_t minH, int32_t maxW, int32_t maxH);

  uint8_t mLiveResizeAsked = 0;
  uint8_t mLiveResize = 0;
  int32_t mLayer;
  Window *mNextWindow = nullptr;
  Window *mParentWindow = nullptr;
  int32_t mRelation = 2;
  WindowType mType;
  uint8_t mWindowVisible = 1;
  uint8_t mResizable;
  uint8_t mHasBackgroundColour = 0;
  uint32_t mBackgroundColour = 0xFFFFFF;
  SubPane *mFocusPane = nullptr;
  Array mProperties;
  string mTitle;
  Array mPaneList;
  DragDropIndicator mDragIndicator;
  uint8_t mHasMenuBar = 0;
  GtkWidget *mGtkWindow = nullptr;
  GtkWidget *mBox = nullptr;
  QV::Rect mScreenBounds;
  // The place and size Moved and Resized last reported.
  QV::Rect mReportedBounds;
  uint8_t mCloseQueued = 0;
  CursorCache mCursorCache;
  static int32_t sCursorsApplied;
};

// Every window, newest first.
extern Window *gWindowList;

// Window placement: moves r (a content rectangle) to where a window of that
// type with that placement goes, then keeps it clear of the screen's edges.
void WindowPlacement(QV::Rect *r, int32_t placement, Window::WindowType type);
int32_t GetBestScreenNumForRect(const QV::Rect *r);
void ConstrainRectToAvoidDockEtc(QV::Rect *r, int32_t option);
bool LegalWindowPosition(const QV::Rect *r);
// The placement class of a window type: 0 floating, 1 modal, 2 document,
// 3 drawer.
int32_t PlacementClass(int32_t type);

// Where placement finds its screens; tests replace it.
struct ScreenSource {
  int32_t (*count)();
  bool (*get)(int32_t i, ScreenRect *screen);
};
ScreenSource SetScreenSource(ScreenSource source);
// Screen i as the current source has it; false when there is no such screen.
bool GetSourceScreen(int32_t i, ScreenRect *screen);
