#include "controls/CheckBoxClass.h"

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

CheckBoxObject *AsCheckBox(RuntimeObject *object) {
  return reinterpret_cast<CheckBoxObject *>(object);
}

CheckBox *PaneOf(CheckBoxObject *c) { return static_cast<CheckBox *>(c->control.pane); }

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(CheckBoxObject, name))

ObjectInstanceTemplate CheckBoxProperties[] = {
    {0, "Caption", &stringType.type, CODE(checkBoxTitleGetter), CODE(checkBoxTitleSetter), 0, 0},
    {0, "Value", &booleanType.type, CODE(checkBoxValueGetter), CODE(checkBoxValueSetter), 0, 0},
    {0, "State", &booleanType.type, CODE(checkBoxValueGetter), CODE(checkBoxValueSetter), 0, 0},
    {0, "TextFont", &stringType.type, CODE(checkBoxTextFontGetter), CODE(checkBoxTextFontSetter),
     0, 0},
    {0, "TextSize", &integerType.type, CODE(checkBoxTextSizeGetter),
     CODE(checkBoxTextSizeSetter), 0, 0},
    {0, "Bold", &booleanType.type, CODE(checkBoxBoldGetter), CODE(checkBoxBoldSetter), 0, 0},
    {0, "Italic", &booleanType.type, CODE(checkBoxItalicGetter), CODE(checkBoxItalicSetter), 0,
     0},
    {0, "Underline", &booleanType.type, CODE(checkBoxUnderlineGetter),
     CODE(checkBoxUnderlineSetter), 0, 0},
    {0, "DataSource", &stringType.type, CODE(CheckBoxDataSourceGetter),
     CODE(CheckBoxDataSourceSetter), 0, 0},
    {0, "DataField", &stringType.type, CODE(stringGetter), CODE(CheckBoxDataFieldSetter),
     FIELD(dataField), 0},
};

MethodParameter ValueParameter[] = {{"value", &booleanType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter DataReceiverParameter[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter PartNameParameter[] = {{"v", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod CheckBoxMethods[] = {
    {"getBoolean", &booleanType.type, nullptr, 0, {{CODE(checkBoxGetBoolean), {}}, {}}, 0, 0, 0},
    {"setBoolean", nullptr, ValueParameter, 1, {{CODE(checkBoxSetBoolean), {}}, {}}, 0, 0, 0},
    {"addDataNotificationReceiver", nullptr, DataReceiverParameter, 1,
     {{CODE(checkBoxAddDataNotificationReceiver), {}}, {}}, 0, 0, 0},
    {"removeDataNotificationReceiver", nullptr, DataReceiverParameter, 1,
     {{CODE(checkBoxRemoveDataNotificationReceiver), {}}, {}}, 0, 0, 0},
    {"getBoundPart", nullptr, PartNameParameter, 1, {{CODE(checkBoxGetBoundPart), {}}, {}}, 0, 0,
     0},
};

MethodParameter ActionReceiverParameter[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};

PropertyMethod CheckBoxActionMethods[] = {
    {"addActionNotificationReceiver", nullptr, ActionReceiverParameter, 1,
     {{CODE(cbaAddActionNotificationReceiver), {}}, {}}, 0, 0, 0},
    {"removeActionNotificationReceiver", nullptr, ActionReceiverParameter, 1,
     {{CODE(cbaRemoveActionNotificationReceiver), {}}, {}}, 0, 0, 0},
};

void PushFont(CheckBoxObject *c) {
  if (CheckBox *pane = PaneOf(c))
    pane->setFont(c->font.getFont());
}

// The list an action part serves.
ActionNotifierHandler &ListOf(RuntimeObject *part) {
  auto *p = reinterpret_cast<ToggleActionObject *>(part);
  CheckBoxObject *c = AsCheckBox(p->owner);
  return p->checked ? c->checkedReceivers : c->uncheckedReceivers;
}

} // namespace

CheckBox::~CheckBox() { RemoveBinding(); }

void CheckBox::Close() {
  RemoveBinding();
  ContainerPane::Close();
}

void CheckBox::ForgetOwner() {
  RemoveBinding();
  mOwner = nullptr;
}

void CheckBox::InitializeBinding() {
  if (mBinding.DataSourceName().Length() == 0) {
    RemoveBinding();
    return;
  }
  if (!mOwner || !mOwner->control.view)
    return;
  mBinding.Bind(&mOwner->control.header, mOwner->control.view);
}

void CheckBox::RemoveBinding() { mBinding.Unbind(mOwner ? &mOwner->control.header : nullptr); }

// The object is held for the report: a handler may close the window or let
// the object go. Once the window is gone nothing more is told, and the
// in-change flag stays set.
void RuntimeCheckBoxRouter::CheckBoxChanged(CheckBox *pane) {
  CheckBoxObject *c = mObject;
  c->value = pane->getValue();
  if (c->inChange || !ControlWindowStands(&c->control))
    return;
  RuntimeObject *object = &c->control.header;
  RuntimeLockObject(object);
  c->inChange = 1;
  c->dataReceivers.DataChanged();
  auto stands = [&] { return c->router == this && ControlWindowStands(&c->control); };
  if (stands())
    Fire(kButtonAction);
  if (stands())
    (c->value ? c->checkedReceivers : c->uncheckedReceivers).PerformAction();
  if (stands())
    c->inChange = 0;
  RuntimeUnlockObject(object); // may delete this router
}

void CheckBoxCreatePane(RuntimeObject *object) {
  CheckBoxObject *c = AsCheckBox(object);
  CheckBox *pane = MakeButtonPane<RuntimeCheckBoxRouter>(c, [c](RuntimeCheckBoxRouter *router) {
    return newCheckBox(router, c->font.getFont(), c->control.container, c->control.tabPanelIndex,
                       c->control.bounds, string::Borrow(c->caption), c->value);
  });
  pane->SetOwner(c);
  pane->Binding().SetDataSourceName(string::Borrow(c->dataSource));
  pane->InitializeBinding();
}

ObjectDefinition *CheckBoxClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DataReceiverParameter[0].type = DataNotificationReceiverClass()->AsType();
  CheckBoxMethods[4].returnType = ObjectClass()->AsType();
  DefineButtonClass<CheckBoxObject>(defn, "CheckBox", kCheckBoxInstanceSize, checkBoxDestructor,
                                    CheckBoxCreatePane, CheckBoxProperties, CheckBoxMethods);
  defn.addInterface(BooleanProviderClass());
  defn.addInterface(DataNotifierClass());
  defn.addInterface(BindingPartInterfaceClass());
  return &defn;
}

ObjectDefinition *CheckBoxActionClass() {
  static ObjectDefinition defn;
  return BuildToggleActionClass(defn, "Sys$CheckBoxAction", CheckBoxActionMethods,
                                checkBoxActionDestructor);
}

extern "C" {

void checkBoxDestructor(RuntimeObject *object) {
  CheckBoxObject *c = AsCheckBox(object);
  if (CheckBox *pane = PaneOf(c)) {
    pane->setDelegate(nullptr); // the router goes below
    pane->ForgetOwner();
  }
  c->dataReceivers.Clear();
  c->checkedReceivers.Clear();
  c->uncheckedReceivers.Clear();
  c->font.Release();
  for (stringStorage **s : {&c->caption, &c->dataSource, &c->dataField}) {
    RuntimeUnlockString(*s);
    *s = nullptr;
  }
  delete c->router;
  c->router = nullptr;
}

stringStorage *checkBoxTitleGetter(RuntimeObject *object, int32_t) {
  return object ? RuntimeLockString(AsCheckBox(object)->caption) : nullptr;
}

void checkBoxTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption) {
  if (!object)
    return;
  stringSetter(object, FIELD(caption), caption);
  if (CheckBox *pane = PaneOf(AsCheckBox(object)))
    pane->setTitle(string::Borrow(caption));
}

int32_t checkBoxValueGetter(RuntimeObject *object, int32_t) {
  return object && AsCheckBox(object)->value ? 1 : 0;
}

// A handler told of the change may set the value again: the byte keeps what
// the box shows in the end.
void checkBoxValueSetter(RuntimeObject *object, int32_t, int32_t on) {
  if (!object)
    return;
  CheckBoxObject *c = AsCheckBox(object);
  if (CheckBox *pane = PaneOf(c))
    pane->setValue(on != 0);
  CheckBox *pane = PaneOf(c);
  c->value = pane ? pane->getValue() : on != 0;
}

DEFINE_OBJ_FONT_ACCESSORS(checkBox, CheckBoxObject, PushFont)

stringStorage *CheckBoxDataSourceGetter(RuntimeObject *object, int32_t) {
  return RuntimeLockString(AsCheckBox(object)->dataSource);
}

void CheckBoxDataSourceSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  stringSetter(object, FIELD(dataSource), name);
  if (CheckBox *pane = PaneOf(AsCheckBox(object))) {
    pane->RemoveBinding();
    pane->Binding().SetDataSourceName(string::Borrow(name));
    pane->InitializeBinding();
  }
}

void CheckBoxDataFieldSetter(RuntimeObject *object, int32_t, stringStorage *name) {
  stringSetter(object, FIELD(dataField), name);
  if (CheckBox *pane = PaneOf(AsCheckBox(object)))
    pane->InitializeBinding();
}

int32_t checkBoxGetBoolean(RuntimeObject *object) { return checkBoxValueGetter(object, 0); }

void checkBoxSetBoolean(RuntimeObject *object, int32_t on) { checkBoxValueSetter(object, 0, on); }

void checkBoxAddDataNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver) {
  AsCheckBox(object)->dataReceivers.AddHandler(receiver);
}

void checkBoxRemoveDataNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver) {
  AsCheckBox(object)->dataReceivers.RemoveHandler(receiver);
}

RuntimeObject *checkBoxGetBoundPart(RuntimeObject *object, stringStorage *name) {
  return NewToggleActionPart(CheckBoxActionClass(), object, name);
}

void checkBoxActionDestructor(RuntimeObject *object) { ReleaseToggleActionOwner(object); }

void cbaAddActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  ListOf(part).AddHandler(receiver);
}

void cbaRemoveActionNotificationReceiver(RuntimeObject *part, RuntimeObject *receiver) {
  ListOf(part).RemoveHandler(receiver);
}

} // extern "C"
