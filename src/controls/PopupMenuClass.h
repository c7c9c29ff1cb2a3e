// The language's PopupMenu and ComboBox (which share one object layout and
// one pane), their row-tag provider, and the exported entry points.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ComboBox.h"
#include "controls/DataBindingServices.h"
#include "controls/ObjFontStructure.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

struct ComboBoxControl {
  RuntimeControl control;
  stringStorage *dataSource;
  stringStorage *dataField;
  ObjFontStructure font;
  uint8_t inChange; // set while Change and its notifications run
  uint8_t pad[3];
  stringStorage *initialValue; // design-time rows, consumed by CreatePane
  DataNotifierHandler dataReceivers;
  RuntimeObject *boundList; // counted
  int32_t pendingSelection; // ListIndex set before the pane exists
  ComboBox *pane;
};
constexpr int32_t kPopupMenuInstanceSize = 144;
static_assert(sizeof(ComboBoxControl) == kPopupMenuInstanceSize);
static_assert(offsetof(ComboBoxControl, dataSource) == 100);
static_assert(offsetof(ComboBoxControl, dataField) == 104);
static_assert(offsetof(ComboBoxControl, font) == 108);
static_assert(offsetof(ComboBoxControl, inChange) == 120);
static_assert(offsetof(ComboBoxControl, initialValue) == 124);
static_assert(offsetof(ComboBoxControl, dataReceivers) == 128);
static_assert(offsetof(ComboBoxControl, boundList) == 132);
static_assert(offsetof(ComboBoxControl, pendingSelection) == 136);
static_assert(offsetof(ComboBoxControl, pane) == 140);

// The row-tag provider: a popup menu's selected tag as a string source.
struct PopupRowTagObject {
  RuntimeObject header;
  RuntimeObject *popup; // not counted; nil once the popup went
  DataNotifierHandler receivers;
};
static_assert(sizeof(PopupRowTagObject) == 32);
static_assert(offsetof(PopupRowTagObject, popup) == 24);
static_assert(offsetof(PopupRowTagObject, receivers) == 28);

ObjectDefinition *PopupMenuClass();
ObjectDefinition *ComboBoxClass();
ObjectDefinition *PopupRowTagClass();
void PopupMenuCreatePane(RuntimeObject *object);
void ComboBoxCreatePane(RuntimeObject *object);
// The events, in slot order, and the ComboBox's own.
enum class PopupEvent { kChange, kMouseDown, kMouseUp, kGotFocus, kLostFocus };
const ObjectHook *PopupEventHook(PopupEvent event);
const ObjectHook *ComboBoxTextChangedHook();
// The row-tag providers of a popup that goes answer nil and False after.
void DetachPopupRowTags(RuntimeObject *popup);

extern "C" {
stringStorage *RuntimeComboBoxTextFontGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t RuntimeComboBoxTextSizeGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t RuntimeComboBoxBoldGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t RuntimeComboBoxItalicGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t RuntimeComboBoxUnderlineGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t RuntimeComboBoxCountGetter(RuntimeObject *object, int32_t);
int32_t RuntimeComboBoxSelectionGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxSelectionSetter(RuntimeObject *object, int32_t, int32_t index);
stringStorage *RuntimeComboBoxTextGetter(RuntimeObject *object, int32_t);
void RuntimeComboBoxTextSetter(RuntimeObject *object, int32_t, stringStorage *text);
stringStorage *PopupDataSourceGetter(RuntimeObject *object, int32_t);
void PopupDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name);
void PopupDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name);
void RuntimeComboBoxEmpty(RuntimeObject *object);
void RuntimeComboBoxAddRow(RuntimeObject *object, stringStorage *text);
void RuntimeComboBoxAddSeparator(RuntimeObject *object);
void RuntimeComboBoxRemoveRow(RuntimeObject *object, int32_t index);
stringStorage *RuntimeComboBoxGetRow(RuntimeObject *object, int32_t index);
void RuntimeComboBoxInsertRow(RuntimeObject *object, int32_t row, stringStorage *text);
stringStorage *RuntimeComboBoxGetString(RuntimeObject *object);
void popupAddDNR(RuntimeObject *object, RuntimeObject *receiver);
void popupRemoveDNR(RuntimeObject *object, RuntimeObject *receiver);
int32_t popupDataAvailable(RuntimeObject *object);
void popupBindList(RuntimeObject *object, RuntimeObject *data);
RuntimeObject *getPopupRowTag(RuntimeObject *object, int32_t index);
void setPopupRowTag(RuntimeObject *object, int32_t index, RuntimeObject *tag);
RuntimeObject *popupGetBoundPart(RuntimeObject *object, stringStorage *name);
stringStorage *popupRowTagGetString(RuntimeObject *object);
void popupRowTagAddDNR(RuntimeObject *object, RuntimeObject *receiver);
void popupRowTagRemoveDNR(RuntimeObject *object, RuntimeObject *receiver);
int32_t popupRowTagDataAvailable(RuntimeObject *object);
void popupRowTagDataChanged(RuntimeObject *object);
}
