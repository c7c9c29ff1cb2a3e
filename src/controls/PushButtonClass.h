// The language's PushButton: the object's fields after the control's, the
// class, its "CreatePane" handler and router, and the exported accessors.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/ButtonRouter.h"
#include "controls/DataBindingServices.h"
#include "controls/ObjFontStructure.h"
#include "controls/PushButton.h"
#include "controls/RuntimeControl.h"

class RuntimeButtonRouter;

struct PushButtonObject {
  RuntimeControl control;
  stringStorage *caption;
  RuntimeButtonRouter *router; // owned
  uint8_t isDefault;
  uint8_t isCancel;
  uint8_t pad[2];
  ObjFontStructure font;
  ActionNotifierHandler receivers;
};
constexpr int32_t kPushButtonInstanceSize = 128;
static_assert(sizeof(PushButtonObject) == kPushButtonInstanceSize);
static_assert(offsetof(PushButtonObject, caption) == 100);
static_assert(offsetof(PushButtonObject, router) == 104);
static_assert(offsetof(PushButtonObject, isDefault) == 108);
static_assert(offsetof(PushButtonObject, isCancel) == 109);
static_assert(offsetof(PushButtonObject, font) == 112);
static_assert(offsetof(PushButtonObject, font) + offsetof(ObjFontStructure, size) == 116);
static_assert(offsetof(PushButtonObject, receivers) == 124);

// Turns the pane's reports into the object's events: receivers hear of a
// click before Action runs. It also forgets the object's pane when the pane
// closes, so that the object never holds a pane that is gone.
class RuntimeButtonRouter final : public ButtonRouter<PushButtonObject, PushButtonDelegate> {
public:
  using ButtonRouter::ButtonRouter;
  void PushButtonClicked(PushButton *pane) override;
  BUTTON_ROUTER_MOUSE_AND_FOCUS(PushButton)
};

ObjectDefinition *PushButtonClass();
void PushButtonCreatePane(RuntimeObject *object);
void PushButtonDestructor(RuntimeObject *object);

extern "C" {
stringStorage *pushButtonTitleGetter(RuntimeObject *object, int32_t);
void pushButtonTitleSetter(RuntimeObject *object, int32_t, stringStorage *caption);
int32_t pushButtonDefaultGetter(RuntimeObject *object, int32_t);
void pushButtonDefaultSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t pushButtonCancelGetter(RuntimeObject *object, int32_t);
void pushButtonCancelSetter(RuntimeObject *object, int32_t, int32_t on);
stringStorage *pushButtonTextFontGetter(RuntimeObject *object, int32_t);
void pushButtonTextFontSetter(RuntimeObject *object, int32_t, stringStorage *name);
int32_t pushButtonTextSizeGetter(RuntimeObject *object, int32_t);
void pushButtonTextSizeSetter(RuntimeObject *object, int32_t, int32_t size);
int32_t pushButtonBoldGetter(RuntimeObject *object, int32_t);
void pushButtonBoldSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t pushButtonItalicGetter(RuntimeObject *object, int32_t);
void pushButtonItalicSetter(RuntimeObject *object, int32_t, int32_t on);
int32_t pushButtonUnderlineGetter(RuntimeObject *object, int32_t);
void pushButtonUnderlineSetter(RuntimeObject *object, int32_t, int32_t on);
void pbAddActionNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver);
void pbRemoveActionNotificationReceiver(RuntimeObject *object, RuntimeObject *receiver);
void pushButtonPush(RuntimeObject *object);
}
