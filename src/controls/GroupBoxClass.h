// The language's GroupBox: the object's fields after the control's, the
// class, its "CreatePane" handler and the exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/GroupBox.h"
#include "controls/ObjFontStructure.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"
#include "foundation/AssertionAlert.h"

struct GroupBoxObject {
  RuntimeControl control;
  ObjFontStructure font;
  stringStorage *caption;
};
constexpr int32_t kGroupBoxInstanceSize = 116;
static_assert(sizeof(GroupBoxObject) == kGroupBoxInstanceSize);
static_assert(offsetof(GroupBoxObject, font) == 100);
static_assert(offsetof(GroupBoxObject, caption) == 112);

inline constexpr AlertSite kGroupCaptionGetterAlert{"../Common/GroupBox", 325, "ctl"};
inline constexpr AlertSite kGroupCaptionSetterAlert{"../Common/GroupBox", 335, "ctl"};

ObjectDefinition *GroupBoxClass();
void GroupBoxCreatePane(RuntimeObject *object);
// The events the pane fires, in slot order.
enum class GroupBoxEvent { kMouseDown, kMouseDrag, kMouseUp };
const ObjectHook *GroupBoxEventHook(GroupBoxEvent event);

extern "C" {
stringStorage *groupCaptionGetter(RuntimeObject *object, int32_t);
void groupCaptionSetter(RuntimeObject *object, int32_t, stringStorage *caption);
stringStorage *groupTextFontGetter(RuntimeObject *object, int32_t);
void groupTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t groupTextSizeGetter(RuntimeObject *object, int32_t);
void groupTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t groupBoldGetter(RuntimeObject *object, int32_t);
void groupBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t groupItalicGetter(RuntimeObject *object, int32_t);
void groupItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t groupUnderlineGetter(RuntimeObject *object, int32_t);
void groupUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
}
