#include "controls/MessageDialogClass.h"

#include <cstddef>
#include <iterator>
#include <string>

#include "controls/MessageDialog.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

#define FIELD(name) static_cast<int32_t>(offsetof(MessageDialog, name))

MessageDialog *AsDialog(RuntimeObject *object) { return reinterpret_cast<MessageDialog *>(object); }

ObjectInstanceTemplate ButtonProperties[] = {
    {0, "Visible", &booleanType.type, ACCESSOR(MDBBooleanGetter), ACCESSOR(MDBBooleanSetter), 0, 0},
    {0, "Default", &booleanType.type, ACCESSOR(MDBBooleanGetter), ACCESSOR(MDBBooleanSetter), 1, 0},
    {0, "Cancel", &booleanType.type, ACCESSOR(MDBBooleanGetter), ACCESSOR(MDBBooleanSetter), 2, 0},
    {0, "Caption", &stringType.type, ACCESSOR(MDBCaptionGetter), ACCESSOR(MDBCaptionSetter), 0, 0},
};

// The button properties' types name their classes, so the dialog's table is
// filled when the classes exist.
ObjectInstanceTemplate DialogProperties[] = {
    {0, "Message", &stringType.type, ACCESSOR(StringToSSGetter), ACCESSOR(SSToStringSetter),
     FIELD(message), 0},
    {0, "Explanation", &stringType.type, ACCESSOR(StringToSSGetter), ACCESSOR(SSToStringSetter),
     FIELD(explanation), 0},
    {0, "Title", &stringType.type, ACCESSOR(StringToSSGetter), ACCESSOR(SSToStringSetter),
     FIELD(title), 0},
    {0, "Icon", &integerType.type, ACCESSOR(intGetter), ACCESSOR(MDIconSetter), FIELD(icon), 0},
    {0, "ActionButton", nullptr, ACCESSOR(MDButtonGetter), nullptr, nullptr, kActionButton, 0},
    {0, "CancelButton", nullptr, ACCESSOR(MDButtonGetter), nullptr, nullptr, kCancelButton, 0},
    {0, "AlternateActionButton", nullptr, ACCESSOR(MDButtonGetter), nullptr, nullptr,
     kAlternateButton, 0},
};

PropertyMethod DialogMethods[] = {
    {"ShowModal", nullptr, nullptr, 0, {{ACCESSOR(MessageDialogShowModal), {}}, {}}, 0, 0, 0},
};

void DialogInit(RuntimeObject *object) { AsDialog(object)->Init(); }
void DialogDestroy(RuntimeObject *object) { AsDialog(object)->Destroy(true); }

ObjectDefinition *ButtonSubclass(ObjectDefinition &defn, const char *name) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.super = MessageDialogButtonClass();
  defn.objectSize = sizeof(MessageDialogButtonObject);
  defn.staticTables = 1;
  return &defn;
}

MessageDialogButtonObject *AsButton(RuntimeObject *object) {
  return reinterpret_cast<MessageDialogButtonObject *>(object);
}

bool Isa(RuntimeObject *object, ObjectDefinition *defn) {
  return RuntimeObjectIsa(object, LookupObjectDefinition(defn)) != 0;
}

// The id of the button the object stands for, -1 for none.
int32_t IdOf(RuntimeObject *button) {
  if (Isa(button, ActionButtonClass()))
    return kActionButton;
  if (Isa(button, CancelButtonClass()))
    return kCancelButton;
  if (Isa(button, AlternateActionButtonClass()))
    return kAlternateButton;
  return kNoButton;
}

// The dialog of a button object still linked to one; nil otherwise.
MessageDialog *OwnerOf(RuntimeObject *button) { return button ? AsButton(button)->owner : nullptr; }

string *CaptionOf(MessageDialog *d, int32_t id) {
  switch (id) {
  case kActionButton:
    return &d->actionCaption;
  case kCancelButton:
    return &d->cancelCaption;
  case kAlternateButton:
    return &d->alternateCaption;
  default:
    return nullptr;
  }
}

} // namespace

ObjectDefinition *MessageDialogButtonClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("MessageDialogButton");
  defn.objectSize = sizeof(MessageDialogButtonObject);
  defn.staticTables = 1;
  defn.properties = FillInstances(ButtonProperties, std::size(ButtonProperties));
  return &defn;
}

ObjectDefinition *ActionButtonClass() {
  static ObjectDefinition defn;
  return ButtonSubclass(defn, "_ActionButton");
}

ObjectDefinition *CancelButtonClass() {
  static ObjectDefinition defn;
  return ButtonSubclass(defn, "_CancelButton");
}

ObjectDefinition *AlternateActionButtonClass() {
  static ObjectDefinition defn;
  return ButtonSubclass(defn, "_AlternateActionButton");
}

ObjectDefinition *MessageDialogClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("MessageDialog");
  defn.objectSize = kMessageDialogInstanceSize;
  defn.constructor = DialogInit;
  defn.destructor = DialogDestroy;
  defn.staticTables = 1;
  DialogProperties[4].type = ActionButtonClass()->AsType();
  DialogProperties[5].type = CancelButtonClass()->AsType();
  DialogProperties[6].type = AlternateActionButtonClass()->AsType();
  defn.properties = FillInstances(DialogProperties, std::size(DialogProperties));
  DialogMethods[0].returnType = MessageDialogButtonClass()->AsType();
  defn.methods = FillMethods(DialogMethods, std::size(DialogMethods));
  return &defn;
}

void InitMessageDialogClasses() {
  addIntrinsicClass(MessageDialogButtonClass());
  addIntrinsicClass(ActionButtonClass());
  addIntrinsicClass(CancelButtonClass());
  addIntrinsicClass(AlternateActionButtonClass());
  addIntrinsicClass(MessageDialogClass());
}

extern "C" {

void MDIconSetter(RuntimeObject *dialog, int32_t, int32_t icon) {
  if (icon < -1 || icon > 3) {
    RaiseExceptionClassWMessage(OutOfBoundsExceptionClass(),
                                string(("The integer value " + std::to_string(icon) +
                                        " is not in the range of enumerated icons for the "
                                        "MessageDialog class.")
                                           .c_str()),
                                0);
    return;
  }
  AsDialog(dialog)->icon = icon;
}

RuntimeObject *MDButtonGetter(RuntimeObject *dialog, int32_t id) {
  MessageDialog *d = AsDialog(dialog);
  RuntimeObject *button = nullptr;
  if (id == kActionButton)
    button = d->actionButton;
  else if (id == kCancelButton)
    button = d->cancelButton;
  else if (id == kAlternateButton)
    button = d->alternateButton;
  RuntimeLockObject(button);
  return button;
}

RuntimeObject *MessageDialogShowModal(RuntimeObject *dialog) {
  RuntimeLockObject(dialog); // a handler run meanwhile may drop the program's reference
  RuntimeObject *pressed = MDButtonGetter(dialog, AsDialog(dialog)->ShowModal());
  RuntimeUnlockObject(dialog);
  return pressed;
}

int32_t MDBBooleanGetter(RuntimeObject *button, int32_t which) {
  MessageDialog *d = OwnerOf(button);
  if (!d)
    return 0;
  const int32_t id = IdOf(button);
  switch (which) {
  case 0: // the action button is always shown
    if (id == kCancelButton)
      return d->cancelShown ? 1 : 0;
    if (id == kAlternateButton)
      return d->alternateShown ? 1 : 0;
    return id == kActionButton ? 1 : 0;
  case 1:
    return d->defaultId == id ? 1 : 0;
  case 2:
    return d->cancelId == id ? 1 : 0;
  default:
    return 0;
  }
}

void MDBBooleanSetter(RuntimeObject *button, int32_t which, int32_t on) {
  MessageDialog *d = OwnerOf(button);
  if (!d)
    return;
  const int32_t id = IdOf(button);
  switch (which) {
  case 0:
    if (id == kCancelButton)
      d->cancelShown = on != 0;
    else if (id == kAlternateButton)
      d->alternateShown = on != 0;
    break;
  case 1:
    d->defaultId = on ? id : kNoButton;
    break;
  case 2:
    d->cancelId = on ? id : kNoButton;
    break;
  default:
    break;
  }
}

stringStorage *MDBCaptionGetter(RuntimeObject *button, int32_t) {
  MessageDialog *d = OwnerOf(button);
  string *caption = d ? CaptionOf(d, IdOf(button)) : nullptr;
  return caption ? caption->ExtractStringStorage() : nullptr;
}

void MDBCaptionSetter(RuntimeObject *button, int32_t, stringStorage *caption) {
  MessageDialog *d = OwnerOf(button);
  if (string *field = d ? CaptionOf(d, IdOf(button)) : nullptr)
    *field = string::Borrow(caption);
}

} // extern "C"
