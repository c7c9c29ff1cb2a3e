// The scroller: one pane behind the ScrollBar and Slider controls and the
// scroll bars of list boxes. It keeps an integer view of a GTK+ range (a
// scroll bar or a scale), holds back a maximum that is not above the minimum
// (the pane is disabled until the range is valid again), and reports value
// changes and focus to one delegate.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "windows/SubPane.h"

class Scroller;
struct RuntimeObject;

// What a scroller reports. Every default does nothing.
class ScrollerDelegate {
public:
  virtual void ScrollerValueChanged(Scroller *pane, int32_t oldValue, int32_t newValue);
  virtual void ScrollerGotFocus(Scroller *pane);
  virtual void ScrollerLostFocus(Scroller *pane);

protected:
  ~ScrollerDelegate() = default;
};

class Scroller : public ContainerPane {
public:
  Scroller(bool vertical, ScrollerDelegate *delegate, ContainerPane *container,
           int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll, bool slider);

  virtual int32_t GetValue();
  virtual void SetValue(int32_t value);
  // An empty or inverted range is held back: the pane is disabled and the
  // GTK+ range keeps its bounds until a later bound makes the range valid.
  virtual void SetMinimum(int32_t minimum);
  virtual void SetMaximum(int32_t maximum);

  int32_t GetMinimum();
  int32_t GetMaximum();
  int32_t GetLineStep();
  void SetLineStep(int32_t step);
  int32_t GetPageStep();
  void SetPageStep(int32_t step);
  // Reports the value when its integer changed since the last report.
  void UpdatePosition();
  void DrawScrollBar(Graphics *g);
  void DrawSlider(Graphics *g);

  SubPane *GetWorkerPane() override { return this; }
  void GainedFocus() override;
  void LostFocus() override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  bool HandleMouseWheel(int32_t x, int32_t y, int32_t delta) override;
  void DrawIntoOffscreen(Graphics *g) override;
  // A closing pane is forgotten by its object.
  void Close() override;

  // The language object whose mouse events the pane fires; nil for list
  // boxes, whose clicks go straight to GTK+.
  void SetObject(RuntimeObject *object) { mObject = object; }
  RuntimeObject *Object() const { return mObject; }
  void SetDelegate(ScrollerDelegate *delegate) { mDelegate = delegate; }
  bool IsSlider() const { return mSlider; }
  bool IsVertical() const { return mVertical; }

private:
  static void ValueChangedCallBack(GtkRange *range, Scroller *pane);
  // A valid range: GTK+ takes it, the pending bounds go, and the pane is
  // enabled unless its control was disabled by its program.
  void ApplyRange(int32_t minimum, int32_t maximum);
  // The bounds are held back: the pane is disabled.
  void HoldBack();
  GtkAdjustment *Adjustment() const;

  uint8_t mSlider;
  int32_t mLastValue = 0;
  ScrollerDelegate *mDelegate;      // not owned
  RuntimeObject *mObject = nullptr; // not counted
  uint8_t mVertical;
  uint8_t mPendingMaximum = 0;
  uint8_t mPendingMinimum = 0;
  int32_t mMaximum = 0;
  int32_t mMinimum = 0;
};

// Factories: the pane with its widget placed in the window and shown, bounds
// in the window's content coordinates.
Scroller *NewHorizontalScroller(ScrollerDelegate *delegate, ContainerPane *container,
                                int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll,
                                bool slider);
Scroller *NewVerticalScroller(ScrollerDelegate *delegate, ContainerPane *container,
                              int32_t tabPanelIndex, const QV::Rect &bounds, bool liveScroll,
                              bool slider);
// Vertical when the bounds are narrower than tall, else horizontal.
Scroller *newScroller(ScrollerDelegate *delegate, ContainerPane *container, int32_t tabPanelIndex,
                      const QV::Rect &bounds, bool liveScroll);
Scroller *newSlider(ScrollerDelegate *delegate, ContainerPane *container, int32_t tabPanelIndex,
                    const QV::Rect &bounds, bool liveScroll);
