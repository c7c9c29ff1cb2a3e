// The language's MessageDialog and its button classes, and their exported
// accessors.
#pragma once
#include <cstdint>

struct ObjectDefinition;
struct RuntimeObject;
struct stringStorage;

ObjectDefinition *MessageDialogButtonClass();
ObjectDefinition *ActionButtonClass();
ObjectDefinition *CancelButtonClass();
ObjectDefinition *AlternateActionButtonClass();
ObjectDefinition *MessageDialogClass();
// Registers the five classes, buttons first.
void InitMessageDialogClasses();

extern "C" {
void MDIconSetter(RuntimeObject *dialog, int32_t offset, int32_t icon);
// The button object of the id with one reference; nil for any other id.
RuntimeObject *MDButtonGetter(RuntimeObject *dialog, int32_t id);
RuntimeObject *MessageDialogShowModal(RuntimeObject *dialog);
// Argument 0 Visible, 1 Default, 2 Cancel.
int32_t MDBBooleanGetter(RuntimeObject *button, int32_t which);
void MDBBooleanSetter(RuntimeObject *button, int32_t which, int32_t on);
stringStorage *MDBCaptionGetter(RuntimeObject *button, int32_t);
void MDBCaptionSetter(RuntimeObject *button, int32_t, stringStorage *caption);
}
