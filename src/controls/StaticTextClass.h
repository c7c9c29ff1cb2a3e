// The language's StaticText: the object's fields after the control's, the
// class with its "CreatePane" handler, and the exported setters.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/RuntimeControl.h"

struct StaticTextObject {
  RuntimeControl control;
  stringStorage *fontName;
  uint8_t bold, italic, underline;
  uint8_t pad107;
  int16_t textSize;
  uint8_t pad110[2];
  stringStorage *text; // Text and Caption
  int16_t alignment;
  uint8_t pad118[2];
  int32_t textColour; // 0xRRGGBB
  uint8_t multiline;
  uint8_t mouseTracking; // the last MouseDown answered true
  uint8_t pad126[2];
  stringStorage *dataSource;
  stringStorage *dataField;
};
constexpr int32_t kStaticTextInstanceSize = 136;
static_assert(sizeof(StaticTextObject) == kStaticTextInstanceSize);
static_assert(offsetof(StaticTextObject, fontName) == 100);
static_assert(offsetof(StaticTextObject, bold) == 104);
static_assert(offsetof(StaticTextObject, italic) == 105);
static_assert(offsetof(StaticTextObject, underline) == 106);
static_assert(offsetof(StaticTextObject, textSize) == 108);
static_assert(offsetof(StaticTextObject, text) == 112);
static_assert(offsetof(StaticTextObject, alignment) == 116);
static_assert(offsetof(StaticTextObject, textColour) == 120);
static_assert(offsetof(StaticTextObject, multiline) == 124);
static_assert(offsetof(StaticTextObject, mouseTracking) == 125);
static_assert(offsetof(StaticTextObject, dataSource) == 128);
static_assert(offsetof(StaticTextObject, dataField) == 132);

struct ObjectDefinition;
struct ObjectHook;
enum class StaticTextEvent { kAcceleratorKey, kMouseDown, kMouseDrag, kMouseUp };
const ObjectHook *StaticTextEventHook(StaticTextEvent event);

ObjectDefinition *StaticTextClass();
void StaticTextCreatePane(RuntimeObject *object);

extern "C" {
void staticCaptionSetter(RuntimeObject *object, int32_t, stringStorage *text);
void staticTextAlignSetter(RuntimeObject *object, int32_t, int32_t alignment);
void staticTextColorSetter(RuntimeObject *object, int32_t, int32_t colour);
void staticTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
void staticTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
void staticAttributeSetter(RuntimeObject *object, int32_t offset, int32_t on);
void StaticTextMultilineSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *StaticTextDataSourceGetter(RuntimeObject *object, int32_t);
void StaticTextDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name);
void StaticTextDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name);
}
