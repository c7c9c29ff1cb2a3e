#include "desktop/OLEContainer.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "desktop/AutomationClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

OLEContainerObject *AsContainer(RuntimeObject *object) {
  return reinterpret_cast<OLEContainerObject *>(object);
}

OLEContainer *PaneOf(RuntimeObject *self) {
  return self ? static_cast<OLEContainer *>(AsContainer(self)->control.pane) : nullptr;
}

ObjectHookTemplate sHooks[] = {
    {0, "ShowObject", "", "", nullptr, 0},
    {0, "EventTriggered", "eventName as string, parameters() as variant", "", nullptr, 0},
};

ObjectInstanceTemplate sProperties[] = {
    {0, "ProgramID", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(stringSetter),
     static_cast<int32_t>(offsetof(OLEContainerObject, programID)), 0},
    {0, "Content", nullptr, ACCESSOR(OLEContainerContentGetter), NO_ACCESSOR, 0, 0},
};
constexpr int kContentRow = 1;

void OLEContainerDestructor(RuntimeObject *object) {
  OLEContainerObject *c = AsContainer(object);
  if (OLEContainer *pane = PaneOf(object))
    pane->ForgetControl();
  stringStorage *programID = c->programID;
  c->programID = nullptr;
  RuntimeUnlockString(programID);
}

} // namespace

void RuntimeOLEContainerDelegate::ShowObject() {
  if (!mControl)
    return;
  RuntimeObject *object = &mControl->control.header;
  using Handler = void (*)(RuntimeObject *);
  if (auto handler = reinterpret_cast<Handler>(
          FindObjectCode(object, OLEContainerEventHook(OLEContainerEvent::kShowObject))))
    handler(object);
}

void RuntimeOLEContainerDelegate::EventTriggered(const string &name, RuntimeArray *parameters) {
  if (!mControl)
    return;
  RuntimeObject *object = &mControl->control.header;
  using Handler = void (*)(RuntimeObject *, stringStorage *, RuntimeArray *);
  if (auto handler = reinterpret_cast<Handler>(
          FindObjectCode(object, OLEContainerEventHook(OLEContainerEvent::kEventTriggered))))
    handler(object, name.Storage(), parameters);
}

OLEContainer::OLEContainer(OLEContainerObject *control, OLEContainerDelegate *delegate,
                           ContainerPane *container, int32_t tabPanelIndex,
                           const QV::Rect &bounds)
    : ContainerPane(container, tabPanelIndex, bounds), mControl(control), mDelegate(delegate) {}

OLEContainer::~OLEContainer() {
  DestroyObject();
  delete mDelegate;
}

bool OLEContainer::CreateObject(const string &) {
  DestroyObject();
  return false;
}

void OLEContainer::DestroyObject() {
  RuntimeObject *content = mContent;
  mContent = nullptr;
  mObjectPresent = false;
  RuntimeUnlockObject(content);
}

RuntimeObject *OLEContainer::Content() const {
  RuntimeLockObject(mContent);
  return mContent;
}

void OLEContainer::Close() {
  if (mControl && mControl->control.pane == this)
    mControl->control.pane = nullptr;
  ForgetControl();
  ContainerPane::Close();
}

void OLEContainer::ForgetControl() {
  mControl = nullptr;
  if (auto *router = dynamic_cast<RuntimeOLEContainerDelegate *>(mDelegate))
    router->ForgetControl();
}

const ObjectHook *OLEContainerEventHook(OLEContainerEvent event) {
  return sHooks[static_cast<int>(event)].hook;
}

ObjectDefinition *OLEContainerClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sProperties[kContentRow].type = OLEObjectClass()->AsType();
  DefineControlClass(defn, "OLEContainer", RectControlClass(), sizeof(OLEContainerObject),
                     OLEContainerDestructor, OLEContainerCreatePane);
  defn.properties = FillInstances(sProperties, std::size(sProperties));
  FillHooks(&defn, sHooks, std::size(sHooks));
  return &defn;
}

extern "C" {

void OLEContainerCreatePane(RuntimeObject *object) {
  OLEContainerObject *c = AsContainer(object);
  RuntimeControl &control = c->control;
  auto *pane = new OLEContainer(c, new RuntimeOLEContainerDelegate(c), control.container,
                                control.tabPanelIndex, control.bounds);
  control.pane = pane;
  if (RuntimeControl *parent = control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  if (c->programID)
    pane->CreateObject(string::Borrow(c->programID));
}

RuntimeObject *OLEContainerContentGetter(RuntimeObject *self, int32_t) {
  OLEContainer *pane = PaneOf(self);
  return pane ? pane->Content() : nullptr;
}

int32_t OLEContainerCreateObject(RuntimeObject *self) {
  OLEContainer *pane = PaneOf(self);
  return pane && pane->CreateObject(string::Borrow(AsContainer(self)->programID)) ? 1 : 0;
}

void OLEContainerDestroyObject(RuntimeObject *self) {
  if (OLEContainer *pane = PaneOf(self))
    pane->DestroyObject();
}

} // extern "C"
