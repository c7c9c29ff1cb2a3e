// The five font properties of a control class whose object embeds an
// ObjFontStructure named font: TextFont, TextSize, Bold, Italic and
// Underline. Each setter stores, then hands the whole font to the pane
// through push(object). A nil object reads nil, 0 or False and takes nothing.
// Expand inside extern "C".
#pragma once
#include "controls/ObjFontStructure.h"
#include "runtime/objects/ValueEntryPoints.h"

#define DEFINE_OBJ_FONT_ACCESSORS(prefix, Object, push)                                          \
  stringStorage *prefix##TextFontGetter(RuntimeObject *object, int32_t) {                         \
    return object ? RuntimeLockString(reinterpret_cast<Object *>(object)->font.name) : nullptr;   \
  }                                                                                               \
  int32_t prefix##TextSizeGetter(RuntimeObject *object, int32_t) {                                \
    return object ? reinterpret_cast<Object *>(object)->font.size : 0;                            \
  }                                                                                               \
  DEFINE_OBJ_FONT_STYLE_GETTER(prefix##Bold, Object, bold)                                        \
  DEFINE_OBJ_FONT_STYLE_GETTER(prefix##Italic, Object, italic)                                    \
  DEFINE_OBJ_FONT_STYLE_GETTER(prefix##Underline, Object, underline)                              \
  DEFINE_OBJ_FONT_SETTERS(prefix, Object, push)

// The five setters alone, for a class whose getters read the fields
// through the generic accessors.
#define DEFINE_OBJ_FONT_SETTERS(prefix, Object, push)                                            \
  void prefix##TextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {              \
    if (!object)                                                                                  \
      return;                                                                                     \
    reinterpret_cast<Object *>(object)->font.SetName(name);                                       \
    push(reinterpret_cast<Object *>(object));                                                     \
  }                                                                                               \
  void prefix##TextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {                     \
    if (!object)                                                                                  \
      return;                                                                                     \
    reinterpret_cast<Object *>(object)->font.size = static_cast<int16_t>(size);                   \
    push(reinterpret_cast<Object *>(object));                                                     \
  }                                                                                               \
  DEFINE_OBJ_FONT_STYLE(prefix##Bold, Object, bold, push)                                         \
  DEFINE_OBJ_FONT_STYLE(prefix##Italic, Object, italic, push)                                     \
  DEFINE_OBJ_FONT_STYLE(prefix##Underline, Object, underline, push)

#define DEFINE_OBJ_FONT_STYLE_GETTER(name, Object, field)                                       \
  int32_t name##Getter(RuntimeObject *object, int32_t) {                                          \
    return object && reinterpret_cast<Object *>(object)->font.field ? 1 : 0;                      \
  }

#define DEFINE_OBJ_FONT_STYLE(name, Object, field, push)                                         \
  void name##Setter(RuntimeObject *object, int32_t, int32_t on) {                                 \
    if (!object)                                                                                  \
      return;                                                                                     \
    reinterpret_cast<Object *>(object)->font.field = on != 0;                                     \
    push(reinterpret_cast<Object *>(object));                                                     \
  }
