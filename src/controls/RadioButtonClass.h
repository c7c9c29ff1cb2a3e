// The language's RadioButton: the object's fields after the control's, the
// class and its action part, the "CreatePane" handler and router, and the
// exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ButtonRouter.h"
#include "controls/DataBindingServices.h"
#include "controls/ObjFontStructure.h"
#include "controls/RadioButton.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"

class RuntimeRadioRouter;

struct RadioButtonObject {
  RuntimeControl control;
  stringStorage *caption;
  RuntimeRadioRouter *router; // owned
  ObjFontStructure font;
  uint8_t value; // the stored selection; the pane's while it exists
  uint8_t inChange;
  uint8_t reserved[2];
  ActionNotifierHandler checkedReceivers;
  ActionNotifierHandler uncheckedReceivers;
};
constexpr int32_t kRadioButtonInstanceSize = 132;
static_assert(sizeof(RadioButtonObject) == kRadioButtonInstanceSize);
static_assert(offsetof(RadioButtonObject, caption) == 100);
static_assert(offsetof(RadioButtonObject, router) == 104);
static_assert(offsetof(RadioButtonObject, font) == 108);
static_assert(offsetof(RadioButtonObject, value) == 120);
static_assert(offsetof(RadioButtonObject, inChange) == 121);
static_assert(offsetof(RadioButtonObject, checkedReceivers) == 124);
static_assert(offsetof(RadioButtonObject, uncheckedReceivers) == 128);

// Turns the pane's reports into the object's events: a selection fires
// Action, then tells the checked receivers. It also forgets the object's
// pane when the pane closes.
class RuntimeRadioRouter final : public ButtonRouter<RadioButtonObject, RadioButtonDelegate> {
public:
  using ButtonRouter::ButtonRouter;
  void RadioButtonSet(RadioButton *pane) override { Report(pane, true); }
  void RadioButtonUnset(RadioButton *pane) override { Report(pane, false); }
  BUTTON_ROUTER_MOUSE_AND_FOCUS(RadioButton)

private:
  void Report(RadioButton *pane, bool selected);
};

ObjectDefinition *RadioButtonClass();
ObjectDefinition *RadioButtonActionClass();
void RadioCreatePane(RuntimeObject *object);

extern "C" {
void radioDestructor(RuntimeObject *object);
stringStorage *radioTitleGetter(RuntimeObject *object, int32_t);
void radioTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption);
int32_t radioValueGetter(RuntimeObject *object, int32_t);
void radioValueSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *radioTextFontGetter(RuntimeObject *object, int32_t);
void radioTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t radioTextSizeGetter(RuntimeObject *object, int32_t);
void radioTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t radioBoldGetter(RuntimeObject *object, int32_t);
void radioBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t radioItalicGetter(RuntimeObject *object, int32_t);
void radioItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t radioUnderlineGetter(RuntimeObject *object, int32_t);
void radioUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
RuntimeObject *radioGetBoundPart(RuntimeObject *object, stringStorage *name);
void radioButtonActionDestructor(RuntimeObject *object);
void rbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
void rbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver);
}
