// The root of every rectangle the runtime shows: a window's content, a
// control, an offscreen surface, a printed page. It holds the bounds (in the
// coordinates of its window's content area) and the font, reports to one
// delegate, and answers the drawing and mouse hooks with defaults.
#pragma once
#include <cstdint>

#include <gdk/gdk.h>

#include "foundation/QVGeometry.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "windows/PaneDelegate.h"

class Graphics;

class Pane {
public:
  explicit Pane(const QV::Rect &bounds);

  virtual void SetFontSize(int32_t size);
  virtual ~Pane();
  virtual void EstablishDrawingSurface();
  virtual void EstablishFont();
  virtual void ResetDrawingSurface();
  virtual void Redraw(Graphics *g);
  virtual bool isSubPane();
  virtual bool IsContainerPane();
  virtual void Update();
  virtual bool HandleClick(int32_t x, int32_t y, int32_t modifiers);
  virtual bool HandleCMMClick(int32_t x, int32_t y, int32_t modifiers);
  virtual bool HasCMMClick(int32_t x, int32_t y, int32_t modifiers);
  virtual void HandleMouseDrag(int32_t x, int32_t y);
  virtual void HandleMouseMove(int32_t x, int32_t y);
  virtual void HandleMouseUp(int32_t x, int32_t y);
  virtual void HandleMouseEnter();
  virtual void HandleMouseExit();
  virtual void NextPage();
  virtual bool HasSpecialBackground();
  virtual void ValidatePane();
  virtual void ValidatePaneRect(const QV::Rect *r);
  virtual GdkGC *GetGC();
  virtual void ReleaseGC();
  virtual GdkDrawable *GetGdkDrawable();

  Pane(const Pane &) = delete;
  Pane &operator=(const Pane &) = delete;

  // Attaches the delegate; a pane has one at most (a second replaces the
  // first after the alert). Answers the delegate.
  PaneDelegate *addDelegate(PaneDelegate *delegate);
  PaneDelegate *GetDelegate() const { return mDelegate; }
  void ClearDelegate() { mDelegate = nullptr; }

  // A new context set to the pane's font; release it with Graphics::Release.
  Graphics *getGraphics();
  // Makes this pane the current drawing target.
  void SelectPane();
  // Leaves no pane and no Graphics selected.
  static void AboutToYield();
  static Pane *CurrentPane() { return currentPane; }

  void NoteImpendingDeath();
  static void AddPaneDeathNotificationReceiver(PaneDeathNotificationReceiver *receiver);
  static void RemovePaneDeathNotificationReceiver(PaneDeathNotificationReceiver *receiver,
                                                  bool all);
  static int32_t CountDeathReceivers() { return cDeathReceivers.count(); }

  bool CanDirectDraw();
  static void ResetDirectDraw();

  const QV::Rect &Bounds() const { return mBounds; }
  int32_t Width() const { return mWidth; }
  int32_t Height() const { return mHeight; }
  int32_t FontSize() const { return mFontSize; }
  const string &FontName() const { return mFontName; }
  void SetFontName(const string &name) { mFontName = name; }
  int32_t Style() const { return mStyle; }
  void SetStyle(int32_t style) { mStyle = style; }
  bool MouseInside() const { return mMouseInside; }
  void SetMouseInside(bool inside) { mMouseInside = inside; }

  // The bounds, clipped by the delegate when there is one: the area in which
  // the pane is hit.
  QV::Rect ClippedBounds();

protected:
  void SetBounds(const QV::Rect &r);

  int32_t mFontSize = 12;
  PaneDelegate *mDelegate = nullptr;
  QV::Rect mBounds;
  int32_t mWidth;
  int32_t mHeight;
  string mFontName;
  int32_t mStyle = 0;
  uint8_t mDirectDrawAsked = 0;
  uint8_t mDirectDrawAnswer = 0;
  Pane *mNextDirectDraw = nullptr;
  uint8_t mMouseInside = 0;

  static Pane *currentPane;
  static Pane *cDirectDrawList;
  static SimpleVector<PaneDeathNotificationReceiver *> cDeathReceivers;
};
