#include "controls/PushButtonClass.h"

#include "controls/ControlClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

PushButtonObject *AsButton(RuntimeObject *object) {
  return reinterpret_cast<PushButtonObject *>(object);
}

PushButton *PaneOf(PushButtonObject *b) { return static_cast<PushButton *>(b->control.pane); }


ObjectInstanceTemplate PushButtonProperties[] = {
    {0, "Caption", &stringType.type, ACCESSOR(pushButtonTitleGetter),
     ACCESSOR(pushButtonTitleSetter), 0, 0},
    {0, "Default", &booleanType.type, ACCESSOR(pushButtonDefaultGetter),
     ACCESSOR(pushButtonDefaultSetter), 0, 0},
    {0, "Cancel", &booleanType.type, ACCESSOR(pushButtonCancelGetter),
     ACCESSOR(pushButtonCancelSetter), 0, 0},
    {0, "TextFont", &stringType.type, ACCESSOR(pushButtonTextFontGetter),
     ACCESSOR(pushButtonTextFontSetter), 0, 0},
    {0, "TextSize", &integerType.type, ACCESSOR(pushButtonTextSizeGetter),
     ACCESSOR(pushButtonTextSizeSetter), 0, 0},
    {0, "Bold", &booleanType.type, ACCESSOR(pushButtonBoldGetter), ACCESSOR(pushButtonBoldSetter),
     0, 0},
    {0, "Italic", &booleanType.type, ACCESSOR(pushButtonItalicGetter),
     ACCESSOR(pushButtonItalicSetter), 0, 0},
    {0, "Underline", &booleanType.type, ACCESSOR(pushButtonUnderlineGetter),
     ACCESSOR(pushButtonUnderlineSetter), 0, 0},
};

MethodParameter ReceiverParameter[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};

// The receiver methods come first, as the actionSource interface has them.
PropertyMethod PushButtonMethods[] = {
    {"addActionNotificationReceiver",
     nullptr,
     ReceiverParameter,
     1,
     {{ACCESSOR(pbAddActionNotificationReceiver), {}}, {}},
     0,
     0,
     0},
    {"removeActionNotificationReceiver",
     nullptr,
     ReceiverParameter,
     1,
     {{ACCESSOR(pbRemoveActionNotificationReceiver), {}}, {}},
     0,
     0,
     0},
    {"Push", nullptr, nullptr, 0, {{ACCESSOR(pushButtonPush), {}}, {}}, 0, 0, 0},
};

// The whole font block goes to the pane together.
void PushFont(PushButtonObject *b) {
  if (PushButton *pane = PaneOf(b))
    pane->setFont(b->font.getFont());
}

} // namespace

void RuntimeButtonRouter::PushButtonClicked(PushButton *) {
  mObject->receivers.PerformAction();
  Fire(kButtonAction);
}

void PushButtonCreatePane(RuntimeObject *object) {
  PushButtonObject *b = AsButton(object);
  PushButton *pane = MakeButtonPane<RuntimeButtonRouter>(b, [b](RuntimeButtonRouter *router) {
    return newPushButton(router, b->font.getFont(), b->control.container, b->control.tabPanelIndex,
                         b->control.bounds, string::Borrow(b->caption));
  });
  pane->setDefault(b->isDefault);
  pane->setCancel(b->isCancel);
  if (!b->control.visible)
    pane->HandleAction(8);
}

void PushButtonDestructor(RuntimeObject *object) {
  PushButtonObject *b = AsButton(object);
  if (PushButton *pane = PaneOf(b))
    pane->setDelegate(nullptr); // the router goes below
  b->receivers.Clear();
  RuntimeUnlockString(b->caption);
  b->caption = nullptr;
  b->font.Release();
  delete b->router;
  b->router = nullptr;
}

ObjectDefinition *PushButtonClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  ReceiverParameter[0].type = ActionNotificationReceiverClass()->AsType();
  DefineButtonClass<PushButtonObject>(defn, "PushButton", kPushButtonInstanceSize,
                                      PushButtonDestructor, PushButtonCreatePane,
                                      PushButtonProperties, PushButtonMethods);
  defn.addInterface(ActionSourceClass());
  return &defn;
}

extern "C" {

stringStorage *pushButtonTitleGetter(RuntimeObject *object, int32_t) {
  stringStorage *caption = AsButton(object)->caption;
  RuntimeLockString(caption);
  return caption;
}

void pushButtonTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption) {
  PushButtonObject *b = AsButton(object);
  stringSetter(object, offsetof(PushButtonObject, caption), caption);
  if (PushButton *pane = PaneOf(b))
    pane->setTitle(string::Borrow(caption));
}

int32_t pushButtonDefaultGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->isDefault ? 1 : 0;
}

void pushButtonDefaultSetter(RuntimeObject *object, int32_t, int32_t on) {
  PushButtonObject *b = AsButton(object);
  if (PushButton *pane = PaneOf(b))
    pane->setDefault(on != 0);
  b->isDefault = on != 0;
}

int32_t pushButtonCancelGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->isCancel ? 1 : 0;
}

void pushButtonCancelSetter(RuntimeObject *object, int32_t, int32_t on) {
  PushButtonObject *b = AsButton(object);
  if (PushButton *pane = PaneOf(b))
    pane->setCancel(on != 0);
  b->isCancel = on != 0;
}

stringStorage *pushButtonTextFontGetter(RuntimeObject *object, int32_t) {
  stringStorage *name = AsButton(object)->font.name;
  RuntimeLockString(name);
  return name;
}

void pushButtonTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  PushButtonObject *b = AsButton(object);
  b->font.SetName(name);
  PushFont(b);
}

int32_t pushButtonTextSizeGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->font.size;
}

void pushButtonTextSizeSetter(RuntimeObject *object, int32_t, int32_t size) {
  PushButtonObject *b = AsButton(object);
  b->font.size = static_cast<int16_t>(size);
  PushFont(b);
}

int32_t pushButtonBoldGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->font.bold ? 1 : 0;
}

void pushButtonBoldSetter(RuntimeObject *object, int32_t, int32_t on) {
  PushButtonObject *b = AsButton(object);
  b->font.bold = on != 0;
  PushFont(b);
}

int32_t pushButtonItalicGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->font.italic ? 1 : 0;
}

void pushButtonItalicSetter(RuntimeObject *object, int32_t, int32_t on) {
  PushButtonObject *b = AsButton(object);
  b->font.italic = on != 0;
  PushFont(b);
}

int32_t pushButtonUnderlineGetter(RuntimeObject *object, int32_t) {
  return AsButton(object)->font.underline ? 1 : 0;
}

void pushButtonUnderlineSetter(RuntimeObject *object, int32_t, int32_t on) {
  PushButtonObject *b = AsButton(object);
  b->font.underline = on != 0;
  PushFont(b);
}

void pbAddActionNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver) {
  AsButton(object)->receivers.AddHandler(receiver);
}

void pbRemoveActionNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver) {
  AsButton(object)->receivers.RemoveHandler(receiver);
}

void pushButtonPush(RuntimeObject *object) {
  if (PushButton *pane = PaneOf(AsButton(object)))
    pane->PressButton();
}

} // extern "C"
