// The panes of the shape controls: a rectangle with a two-coloured bevel, an
// oval, a round rectangle and a line, each drawing itself from its own copy
// of the look and firing its object's mouse events itself. The look fields
// sit at fixed places: the controls' generic accessors reach them by byte
// offset (ShapePaneOffsets below).
#pragma once
#include <cstdint>

#include "foundation/QVColor.h"
#include "foundation/QVGeometry.h"
#include "windows/SubPane.h"

struct RuntimeObject;

enum class ShapeKind { kRectangle, kOval, kRoundRect, kLine };

// What the four share: the language object and the mouse.
class ShapePane : public SubPane {
public:
  ShapePane(ShapeKind kind, ContainerPane *container, int32_t tabPanelIndex,
            const QV::Rect &bounds);

  bool HandleMouseDownIfTaken(int32_t x, int32_t y);
  void HandleMouseDrag(int32_t x, int32_t y) override;
  void HandleMouseUp(int32_t x, int32_t y) override;
  // A closing shape is forgotten by its object.
  void Close() override;

  void SetObject(RuntimeObject *object) { mObject = object; }
  RuntimeObject *Object() const { return mObject; }

protected:
  ShapeKind mKind;
  RuntimeObject *mObject = nullptr; // not counted
};

// Rectangle, oval and round rectangle take clicks only while enabled.
class ClosedShapePane : public ShapePane {
public:
  using ShapePane::ShapePane;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
};

class EditRect final : public ClosedShapePane {
public:
  EditRect(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);
  void Redraw(Graphics *g) override;
  bool HasSpecialBackground() override { return true; }

  int32_t fillColor = 0, topLeftColor = 0, bottomRightColor = 0;
  int16_t borderWidth = 0;
};

class EditOval final : public ClosedShapePane {
public:
  EditOval(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);
  void Redraw(Graphics *g) override;

  int32_t fillColor = 0, borderColor = 0;
  int16_t borderWidth = 0;
};

class EditRoundRect final : public ClosedShapePane {
public:
  EditRoundRect(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);
  void Redraw(Graphics *g) override;

  int32_t fillColor = 0, borderColor = 0;
  int16_t borderWidth = 0, ovalWidth = 0, ovalHeight = 0;
};

// A line between two points in window coordinates; it takes clicks within
// 6 pixels of the line, enabled or not.
class EditLine final : public ShapePane {
public:
  EditLine(ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds);
  void Redraw(Graphics *g) override;
  bool HandleClick(int32_t x, int32_t y, int32_t modifiers) override;
  void InvalidatePane(bool erase) override;
  void MovePane(const QV::Rect &r, bool redraw) override;
  // Whether the point lies within 6 pixels of the line through the ends.
  bool OnLine(int32_t x, int32_t y) const;

  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int32_t lineColor = 0;
  int16_t penWidth = 1;

private:
  // Puts the widget over the line's box grown by the pen, only when that box
  // changed since it was last put there: moving it from inside its own
  // expose would expose it again.
  void PlaceWidget();
  QV::Rect mPlaced{};
};

// The look fields, whose byte offsets in their panes the accessors use.
enum class ShapeField {
  kRectFill,
  kRectTopLeft,
  kRectBottomRight,
  kRectBorder,
  kOvalFill,
  kOvalBorderColor,
  kOvalBorder,
  kRoundFill,
  kRoundBorderColor,
  kRoundBorder,
  kRoundOvalWidth,
  kRoundOvalHeight,
  kLineColor,
  kLinePen,
};
int32_t ShapePaneOffset(ShapeField field);

// A colour 0xRRGGBB as the drawing context takes it.
QV::RGBColor ShapeColor(int32_t rgb);
