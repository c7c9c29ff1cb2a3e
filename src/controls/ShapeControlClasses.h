// The language's Rectangle, Oval, RoundRectangle and Line: their fields
// after the control's, the classes with their "CreatePane" handlers, and the
// Line's position setter.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"
#include "controls/ShapePanes.h"
#include "runtime/objects/ObjectDefinition.h"

struct RectangleObject {
  RuntimeControl control;
  int32_t fillColor;
  int32_t topLeftColor;
  int32_t bottomRightColor;
  int16_t borderWidth;
  int16_t reserved;
};
static_assert(sizeof(RectangleObject) == 116);
static_assert(offsetof(RectangleObject, fillColor) == 100);
static_assert(offsetof(RectangleObject, topLeftColor) == 104);
static_assert(offsetof(RectangleObject, bottomRightColor) == 108);
static_assert(offsetof(RectangleObject, borderWidth) == 112);

struct OvalObject {
  RuntimeControl control;
  int32_t fillColor;
  int32_t borderColor;
  int16_t borderWidth;
  int16_t reserved;
};
static_assert(sizeof(OvalObject) == 112);
static_assert(offsetof(OvalObject, fillColor) == 100);
static_assert(offsetof(OvalObject, borderColor) == 104);
static_assert(offsetof(OvalObject, borderWidth) == 108);

struct RoundRectObject {
  RuntimeControl control;
  int32_t fillColor;
  int32_t borderColor;
  int16_t borderWidth;
  int16_t ovalWidth;
  int16_t ovalHeight;
  int16_t reserved;
};
static_assert(sizeof(RoundRectObject) == 116);
static_assert(offsetof(RoundRectObject, fillColor) == 100);
static_assert(offsetof(RoundRectObject, borderColor) == 104);
static_assert(offsetof(RoundRectObject, borderWidth) == 108);
static_assert(offsetof(RoundRectObject, ovalWidth) == 110);
static_assert(offsetof(RoundRectObject, ovalHeight) == 112);

struct LineObject {
  RuntimeControl control;
  int32_t x1;
  int32_t x2;
  int32_t y1;
  int32_t y2;
  int16_t borderWidth; // the pen width
  int16_t reserved;
  int32_t lineColor;
};
static_assert(sizeof(LineObject) == 124);
static_assert(offsetof(LineObject, x1) == 100);
static_assert(offsetof(LineObject, x2) == 104);
static_assert(offsetof(LineObject, y1) == 108);
static_assert(offsetof(LineObject, y2) == 112);
static_assert(offsetof(LineObject, borderWidth) == 116);
static_assert(offsetof(LineObject, lineColor) == 120);

ObjectDefinition *RectangleClass();
ObjectDefinition *OvalClass();
ObjectDefinition *RoundRectClass();
ObjectDefinition *LineClass();

// The events of the four classes, in slot order, and the one of the class
// of that kind.
enum class ShapeEvent { kMouseDown, kMouseDrag, kMouseUp };
const ObjectHook *ShapeEventHook(ShapeKind kind, ShapeEvent event);

extern "C" {
void linePosSetter(RuntimeObject *object, int32_t offset, int32_t value);
}
