// The progress bar: a GTK+ progress bar showing a value out of a maximum as
// a filled fraction, or a block that moves one step back and forth each time
// a maximum of 0 or less is set (the pulsing mode). It has no router: the
// pane fires its object's mouse events itself.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"
#include "windows/SubPane.h"

struct ProgressBarObject;

class ProgressBar : public SubPane {
public:
  ProgressBar(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
              int32_t value, int32_t maximum);

  // The fraction value / maximum, clamped to 0..1, while the maximum is
  // above 0; otherwise only stored.
  void SetValue(int32_t value);
  // Above 0 the stored value is shown against it; otherwise the block moves
  // one step.
  void SetMaximum(int32_t maximum);
  int32_t Value() const { return mValue; }
  int32_t Maximum() const { return mMaximum; }

  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  void DrawIntoOffscreen(Graphics *g) override;
  // A closing bar is forgotten by its object.
  void Close() override;

  void SetObject(ProgressBarObject *object) { mObject = object; }
  ProgressBarObject *Object() const { return mObject; }

private:
  void Pulse();

  int32_t mMaximum;
  int32_t mValue;
  ProgressBarObject *mObject = nullptr; // not counted
};

// The width of the filled part of a bar whose inner width is width: value
// out of maximum, clamped to 0..width; 0 when the maximum is 0 or less.
int32_t ProgressFillWidth(int32_t value, int32_t maximum, int32_t width);
