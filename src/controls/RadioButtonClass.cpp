#include "controls/RadioButtonClass.h"

#include "controls/ControlClasses.h"
#include "controls/ControlEventFiring.h"
#include "controls/ObjFontAccessors.h"
#include "controls/ToggleActionPart.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

RadioButtonObject *AsRadio(RuntimeObject *object) {
  return reinterpret_cast<RadioButtonObject *>(object);
}

RadioButton *PaneOf(RadioButtonObject *r) { return static_cast<RadioButton *>(r->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function

ObjectInstanceTemplate RadioProperties[] = {
    {0, "Caption", &stringType.type, CODE(radioTitleGetter), CODE(radioTitleSetter), 0, 0},
    {0, "Value", &booleanType.type, CODE(radioValueGetter), CODE(radioValueSetter), 0, 0},
    {0, "TextFont", &stringType.type, CODE(radioTextFontGetter), CODE(radioTextFontSetter), 0, 0},
    {0, "TextSize", &integerType.type, CODE(radioTextSizeGetter), CODE(radioTextSizeSetter), 0,
     0},
    {0, "Bold", &booleanType.type, CODE(radioBoldGetter), CODE(radioBoldSetter), 0, 0},
    {0, "Italic", &booleanType.type, CODE(radioItalicGetter), CODE(radioItalicSetter), 0, 0},
    {0, "Underline", &booleanType.type, CODE(radioUnderlineGetter), CODE(radioUnderlineSetter), 0,
     0},
};

MethodParameter PartNameParameter[] = {{"v", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod RadioMethods[] = {
    {"getBoundPart", nullptr, PartNameParameter, 1, {{CODE(radioGetBoundPart), {}}, {}}, 0, 0, 0},
};

MethodParameter ActionReceiverParameter[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};

PropertyMethod RadioActionMethods[] = {
    {"addActionNotificationReceiver", nullptr, ActionReceiverParameter, 1,
     {{CODE(rbaAddActionNotificationReceiver), {}}, {}}, 0, 0, 0},
    {"removeActionNotificationReceiver", nullptr, ActionReceiverParameter, 1,
     {{CODE(rbaRemoveActionNotificationReceiver), {}}, {}}, 0, 0, 0},
};

void PushFont(RadioButtonObject *r) {
  if (RadioButton *pane = PaneOf(r))
    pane->setFont(r->font.getFont());
}

ActionNotifierHandler &ListOf(RuntimeObject *part) {
  auto *p = reinterpret_cast<ToggleActionObject *>(part);
  RadioButtonObject *r = AsRadio(p->owner);
  return p->checked ? r->checkedReceivers : r->uncheckedReceivers;
}

} // namespace

// The object is held for the report. A selection fires Action, then tells
// the checked receivers unless a handler closed the button; once closed the
// in-change flag stays set. A change made during a report is stored only.
void RuntimeRadioRouter::Report(RadioButton *pane, bool selected) {
  RadioButtonObject *r = mObject;
  r->value = pane->getValue();
  if (r->inChange)
    return;
  RuntimeObject *object = Self();
  RuntimeLockObject(object);
  if (!selected) {
    r->uncheckedReceivers.PerformAction();
  } else {
    r->inChange = 1;
    Fire(kButtonAction);
    if (r->router == this && r->control.pane == pane) {
      r->checkedReceivers.PerformAction();
      if (r->router == this && r->control.pane == pane)
        r->inChange = 0;
    }
  }
  RuntimeUnlockObject(object); // may delete this router
}

void RadioCreatePane(RuntimeObject *object) {
  RadioButtonObject *r = AsRadio(object);
  MakeButtonPane<RuntimeRadioRouter>(r, [r](RuntimeRadioRouter *router) {
    return newRadioButton(router, r->font.getFont(), r->control.container, r->control.tabPanelIndex,
                          r->control.bounds, string::Borrow(r->caption), r->value);
  });
}

ObjectDefinition *RadioButtonClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  RadioMethods[0].returnType = ObjectClass()->AsType();
  DefineButtonClass<RadioButtonObject>(defn, "RadioButton", kRadioButtonInstanceSize,
                                       radioDestructor, RadioCreatePane, RadioProperties,
                                       RadioMethods);
  defn.addInterface(BindingPartInterfaceClass());
  return &defn;
}

ObjectDefinition *RadioButtonActionClass() {
  static ObjectDefinition defn;
  return BuildToggleActionClass(defn, "Sys$RadioButtonAction", RadioActionMethods,
                                radioButtonActionDestructor);
}

extern "C" {

void radioDestructor(RuntimeObject *object) {
  RadioButtonObject *r = AsRadio(object);
  if (RadioButton *pane = PaneOf(r))
    pane->setDelegate(nullptr); // the router goes below
  r->checkedReceivers.Clear();
  r->uncheckedReceivers.Clear();
  r->font.Release();
  RuntimeUnlockString(r->caption);
  r->caption = nullptr;
  delete r->router;
  r->router = nullptr;
}

stringStorage *radioTitleGetter(RuntimeObject *object, int32_t) {
  return object ? RuntimeLockString(AsRadio(object)->caption) : nullptr;
}

void radioTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption) {
  if (!object)
    return;
  stringSetter(object, offsetof(RadioButtonObject, caption), caption);
  if (RadioButton *pane = PaneOf(AsRadio(object)))
    pane->setTitle(string::Borrow(caption));
}

int32_t radioValueGetter(RuntimeObject *object, int32_t) {
  if (!object)
    return 0;
  if (RadioButton *pane = PaneOf(AsRadio(object)))
    return pane->getValue() ? 1 : 0;
  return AsRadio(object)->value ? 1 : 0;
}

void radioValueSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  if (RadioButton *pane = PaneOf(AsRadio(object)))
    pane->setValue(on != 0);
  AsRadio(object)->value = on != 0;
}

DEFINE_OBJ_FONT_ACCESSORS(radio, RadioButtonObject, PushFont)

RuntimeObject *radioGetBoundPart(RuntimeObject *object, stringStorage *name) {
  return NewToggleActionPart(RadioButtonActionClass(), object, name);
}

void radioButtonActionDestructor(RuntimeObject *object) { ReleaseToggleActionOwner(object); }

void rbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  ListOf(part).AddHandler(receiver);
}

void rbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  ListOf(part).RemoveHandler(receiver);
}

} // extern "C"
