// The EditField object of the language: the control's fields, then the edit
// field's own at fixed offsets that compiled images and the generic
// accessors address.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ObjFontStructure.h"
#include "controls/RuntimeControl.h"

class EditControl;
class RuntimeEditRouter;

struct EditControlObject {
  RuntimeControl control;
  stringStorage *dataSource;
  stringStorage *dataField;
  ObjFontStructure font;
  RuntimeEditRouter *router; // owned
  uint8_t border;
  uint8_t multiLine;
  uint8_t scrollBarHorizontal;
  uint8_t scrollBarVertical;
  uint8_t readOnly;
  stringStorage *text; // the text while there is no pane
  int32_t limitText;
  uint32_t backColor; // 0xRRGGBB
  uint32_t textColor;
  uint8_t inTextChange;      // suppresses TextChange
  uint8_t inSelectionChange; // suppresses SelChange
  uint8_t password;
  uint8_t styled;
  uint8_t acceptTabs;
  uint8_t liveUpdate;
  uint8_t useFocusRing;
  RuntimeObject *boundSource; // not counted
  int32_t alignment;
  int32_t savedSelStart;
  int32_t savedSelEnd;
  stringStorage *format;
  stringStorage *formattedText;
  stringStorage *mask;
  RuntimeObject *styledText; // counted
};
static_assert(sizeof(EditControlObject) == 188);
static_assert(offsetof(EditControlObject, dataSource) == 100);
static_assert(offsetof(EditControlObject, dataField) == 104);
static_assert(offsetof(EditControlObject, font) == 108);
static_assert(offsetof(EditControlObject, router) == 120);
static_assert(offsetof(EditControlObject, border) == 124);
static_assert(offsetof(EditControlObject, scrollBarVertical) == 127);
static_assert(offsetof(EditControlObject, readOnly) == 128);
static_assert(offsetof(EditControlObject, text) == 132);
static_assert(offsetof(EditControlObject, limitText) == 136);
static_assert(offsetof(EditControlObject, backColor) == 140);
static_assert(offsetof(EditControlObject, textColor) == 144);
static_assert(offsetof(EditControlObject, inTextChange) == 148);
static_assert(offsetof(EditControlObject, password) == 150);
static_assert(offsetof(EditControlObject, styled) == 151);
static_assert(offsetof(EditControlObject, acceptTabs) == 152);
static_assert(offsetof(EditControlObject, liveUpdate) == 153);
static_assert(offsetof(EditControlObject, useFocusRing) == 154);
static_assert(offsetof(EditControlObject, boundSource) == 156);
static_assert(offsetof(EditControlObject, alignment) == 160);
static_assert(offsetof(EditControlObject, savedSelStart) == 164);
static_assert(offsetof(EditControlObject, savedSelEnd) == 168);
static_assert(offsetof(EditControlObject, format) == 172);
static_assert(offsetof(EditControlObject, formattedText) == 176);
static_assert(offsetof(EditControlObject, mask) == 180);
static_assert(offsetof(EditControlObject, styledText) == 184);

inline EditControlObject *AsEditField(RuntimeObject *object) {
  return reinterpret_cast<EditControlObject *>(object);
}
// The field's edit pane, or nil before CreatePane and after Close.
EditControl *EditPaneOf(RuntimeObject *object);
// A closing pane takes its StyledText object's body away.
void DetachEditFieldStyledText(RuntimeObject *object);
