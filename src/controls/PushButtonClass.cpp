#include "controls/PushButtonClass.h"

#include <iterator>

#include <gtk/gtk.h>

#include "controls/ControlClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

PushButtonObject *AsButton(RuntimeObject *object) {
  return reinterpret_cast<PushButtonObject *>(object);
}

PushButton *PaneOf(PushButtonObject *b) { return static_cast<PushButton *>(b->control.pane); }

ObjectHookTemplate PushButtonHooks[] = {
    {0, "Action", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
};
enum { kAction, kMouseDown, kMouseUp, kGotFocus, kLostFocus };

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

template <typename Handler>
Handler EventOf(PushButtonObject *b, int event) {
  return reinterpret_cast<Handler>(FindObjectCode(&b->control.header, PushButtonHooks[event].hook));
}

// The whole font block goes to the pane together.
void PushFont(PushButtonObject *b) {
  if (PushButton *pane = PaneOf(b))
    pane->setFont(b->font.getFont());
}

} // namespace

RuntimeButtonRouter::RuntimeButtonRouter(PushButtonObject *object) : mObject(object) {
  Pane::AddPaneDeathNotificationReceiver(this);
}

void RuntimeButtonRouter::PaneImpendingDeath(Pane *p) {
  if (mObject->control.pane == p)
    mObject->control.pane = nullptr;
}

void RuntimeButtonRouter::PushButtonClicked(PushButton *) {
  mObject->receivers.PerformAction();
  using Handler = void (*)(RuntimeObject *);
  if (auto action = EventOf<Handler>(mObject, kAction))
    action(&mObject->control.header);
}

bool RuntimeButtonRouter::PushButtonMouseDown(PushButton *, int32_t x, int32_t y) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = EventOf<Handler>(mObject, kMouseDown);
  return handler && handler(&mObject->control.header, x, y) != 0;
}

bool RuntimeButtonRouter::PushButtonMouseUp(PushButton *, int32_t x, int32_t y) {
  using Handler = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto handler = EventOf<Handler>(mObject, kMouseUp);
  return handler && handler(&mObject->control.header, x, y) != 0;
}

namespace {
gboolean UnlockPane(gpointer pane) {
  static_cast<SubPane *>(pane)->Unlock();
  return FALSE;
}

// A handler may close the control; the lock keeps the pane until it returns.
// Focus events come from GTK+'s focus signals of the pane's own widget, which
// must outlive the signal: a pane closed by the handler goes from the main
// loop.
void FireFocusEvent(PushButtonObject *b, PushButton *pane, int event) {
  using Handler = void (*)(RuntimeObject *);
  auto handler = EventOf<Handler>(b, event);
  if (!handler)
    return;
  pane->Lock();
  handler(&b->control.header);
  if (pane->IsClosing())
    g_idle_add(UnlockPane, pane);
  else
    pane->Unlock();
}
} // namespace

void RuntimeButtonRouter::PushButtonGotFocus(PushButton *pane) {
  FireFocusEvent(mObject, pane, kGotFocus);
}

void RuntimeButtonRouter::PushButtonLostFocus(PushButton *pane) {
  FireFocusEvent(mObject, pane, kLostFocus);
}

void PushButtonCreatePane(RuntimeObject *object) {
  PushButtonObject *b = AsButton(object);
  if (!b->router)
    b->router = new RuntimeButtonRouter(b);
  PushButton *pane =
      newPushButton(b->router, b->font.getFont(), b->control.container, b->control.tabPanelIndex,
                    b->control.bounds, string::Borrow(b->caption));
  b->control.pane = pane;
  if (RuntimeControl *parent = b->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
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
  defn.className = string("PushButton");
  defn.super = RectControlClass();
  defn.objectSize = kPushButtonInstanceSize;
  defn.destructor = PushButtonDestructor;
  defn.staticTables = 1;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(PushButtonCreatePane);
  defn.hookInstances = createPane;
  defn.properties = FillInstances(PushButtonProperties, std::size(PushButtonProperties));
  ReceiverParameter[0].type = ActionNotificationReceiverClass()->AsType();
  defn.methods = FillMethods(PushButtonMethods, std::size(PushButtonMethods));
  FillHooks(&defn, PushButtonHooks, std::size(PushButtonHooks));
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
