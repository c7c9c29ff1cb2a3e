// The language's CheckBox: the object's fields after the control's, the
// class and its action part, the "CreatePane" handler and router, and the
// exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ButtonRouter.h"
#include "controls/CheckBox.h"
#include "controls/DataBindingServices.h"
#include "controls/ObjFontStructure.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

class RuntimeCheckBoxRouter;

struct CheckBoxObject {
  RuntimeControl control;
  stringStorage *dataSource;
  stringStorage *dataField;
  stringStorage *caption;
  RuntimeCheckBoxRouter *router; // owned
  ObjFontStructure font;
  uint8_t value;
  uint8_t inChange; // set while a change is reported
  uint8_t reserved[6];
  DataNotifierHandler dataReceivers;
  ActionNotifierHandler checkedReceivers;
  ActionNotifierHandler uncheckedReceivers;
};
constexpr int32_t kCheckBoxInstanceSize = 148;
static_assert(sizeof(CheckBoxObject) == kCheckBoxInstanceSize);
static_assert(offsetof(CheckBoxObject, dataSource) == 100);
static_assert(offsetof(CheckBoxObject, dataField) == 104);
static_assert(offsetof(CheckBoxObject, caption) == 108);
static_assert(offsetof(CheckBoxObject, router) == 112);
static_assert(offsetof(CheckBoxObject, font) == 116);
static_assert(offsetof(CheckBoxObject, value) == 128);
static_assert(offsetof(CheckBoxObject, inChange) == 129);
static_assert(offsetof(CheckBoxObject, dataReceivers) == 136);
static_assert(offsetof(CheckBoxObject, checkedReceivers) == 140);
static_assert(offsetof(CheckBoxObject, uncheckedReceivers) == 144);

// Turns the pane's reports into the object's events. A change reaches the
// data receivers, Action, then the checked or unchecked receivers; a change
// made while one is reported is stored but not reported. It also forgets the
// object's pane when the pane closes.
class RuntimeCheckBoxRouter final : public ButtonRouter<CheckBoxObject, CheckBoxDelegate> {
public:
  using ButtonRouter::ButtonRouter;
  void CheckBoxChanged(CheckBox *pane) override;
  BUTTON_ROUTER_MOUSE_AND_FOCUS(CheckBox)
};

ObjectDefinition *CheckBoxClass();
ObjectDefinition *CheckBoxActionClass();
void CheckBoxCreatePane(RuntimeObject *object);

extern "C" {
void checkBoxDestructor(RuntimeObject *object);
stringStorage *checkBoxTitleGetter(RuntimeObject *object, int32_t);
void checkBoxTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption);
int32_t checkBoxValueGetter(RuntimeObject *object, int32_t);
void checkBoxValueSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *checkBoxTextFontGetter(RuntimeObject *object, int32_t);
void checkBoxTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t checkBoxTextSizeGetter(RuntimeObject *object, int32_t);
void checkBoxTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t checkBoxBoldGetter(RuntimeObject *object, int32_t);
void checkBoxBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t checkBoxItalicGetter(RuntimeObject *object, int32_t);
void checkBoxItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t checkBoxUnderlineGetter(RuntimeObject *object, int32_t);
void checkBoxUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *CheckBoxDataSourceGetter(RuntimeObject *object, int32_t);
void CheckBoxDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name);
void CheckBoxDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t checkBoxGetBoolean(RuntimeObject *object);
void checkBoxSetBoolean(RuntimeObject *object, int32_t on);
void checkBoxAddDataNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver);
void checkBoxRemoveDataNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver);
RuntimeObject *checkBoxGetBoundPart(RuntimeObject *object, stringStorage *name);
void checkBoxActionDestructor(RuntimeObject *object);
void cbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void cbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
}
