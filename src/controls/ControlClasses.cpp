#include "controls/ControlClasses.h"
#include "runtime/objects/ClassRowMacros.h"

#include <cstddef>
#include <iterator>

#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "windows/DesktopServices.h"
#include "windows/MouseCursor.h"
#include "windows/RuntimeWindow.h"

namespace {

constexpr int32_t kNameOffset = offsetof(RuntimeControl, name);
constexpr int32_t kIndexOffset = offsetof(RuntimeControl, index);
constexpr int32_t kTabPanelIndexOffset = offsetof(RuntimeControl, tabPanelIndex);
constexpr int32_t kMouseCursorOffset = offsetof(RuntimeControl, mouseCursor);
constexpr int32_t kBalloonHelpOffset = offsetof(RuntimeControl, balloonHelp);
constexpr int32_t kDisabledBalloonHelpOffset = offsetof(RuntimeControl, disabledBalloonHelp);
constexpr int32_t kHelpTagOffset = offsetof(RuntimeControl, helpTag);

// clang-format off
// The Window row's type is filled when the class is built.
ObjectInstanceTemplate sControlProperties[] = {
    {0x84, "Name", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(stringSetter), kNameOffset, 0},
    {0x84, "Index", &integerType.type, ACCESSOR(intGetter), ACCESSOR(intSetter), kIndexOffset, 0},
    {0x41, "TabPanelIndex", &integerType.type, ACCESSOR(intGetter),
     ACCESSOR(ControlTabPanelIndexSetter), kTabPanelIndexOffset, 0},
    {0x01, "MouseX", &integerType.type, ACCESSOR(controlMouseXGetter), NO_ACCESSOR, 0, 0},
    {0x01, "MouseY", &integerType.type, ACCESSOR(controlMouseYGetter), NO_ACCESSOR, 0, 0},
    {0x01, "Window", nullptr, ACCESSOR(controlWindowGetter), NO_ACCESSOR, 0, 0},
    {0x01, "Handle", &integerType.type, ACCESSOR(controlMacControlHandleGetter), NO_ACCESSOR, 0, 0},
};

PropertyMethod sControlMethods[] = {
    METHOD("Close", ControlClose, nullptr, nullptr, 0),
};

// The MouseCursor and Parent rows' types are filled when the class is built.
ObjectInstanceTemplate sRectControlProperties[] = {
    {0, "HelpTag", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(controlHelpTagSetter),
     kHelpTagOffset, 0},
    {0, "BalloonHelp", &stringType.type, ACCESSOR(stringGetter),
     ACCESSOR(controlBalloonHelpSetter), kBalloonHelpOffset, 0},
    {0, "DisabledBalloonHelp", &stringType.type, ACCESSOR(stringGetter),
     ACCESSOR(controlDisabledBalloonHelpSetter), kDisabledBalloonHelpOffset, 0},
    {0x01, "MouseCursor", nullptr, ACCESSOR(objGetter), ACCESSOR(controlMouseCursorSetter),
     kMouseCursorOffset, 0},
    {0, "Visible", &booleanType.type, ACCESSOR(controlVisibleGetter), ACCESSOR(ControlVisibleSetter), 0, 0},
    {0, "Left", &integerType.type, ACCESSOR(ctlPosGetter), ACCESSOR(ctlPosSetter), 0, 0},
    {0, "Top", &integerType.type, ACCESSOR(ctlPosGetter), ACCESSOR(ctlPosSetter), 1, 0},
    {0, "Width", &integerType.type, ACCESSOR(ctlPosGetter), ACCESSOR(ctlPosSetter), 2, 0},
    {0, "Height", &integerType.type, ACCESSOR(ctlPosGetter), ACCESSOR(ctlPosSetter), 3, 0},
    {0, "Enabled", &booleanType.type, ACCESSOR(controlEnabledGetter), ACCESSOR(controlEnabledSetter), 0, 0},
    {0, "Active", &booleanType.type, ACCESSOR(controlActiveGetter), NO_ACCESSOR, 0, 0},
    {0, "AutoDeactivate", &booleanType.type, ACCESSOR(controlAutoDeactivateGetter),
     ACCESSOR(controlAutoDeactivateSetter), 0, 0},
    {0, "LockLeft", &booleanType.type, ACCESSOR(controlLockLeftGetter), ACCESSOR(controlLockLeftSetter), 0, 0},
    {0, "LockTop", &booleanType.type, ACCESSOR(controlLockTopGetter), ACCESSOR(controlLockTopSetter), 0, 0},
    {0, "LockRight", &booleanType.type, ACCESSOR(controlLockRightGetter), ACCESSOR(controlLockRightSetter), 0, 0},
    {0, "LockBottom", &booleanType.type, ACCESSOR(controlLockBottomGetter),
     ACCESSOR(controlLockBottomSetter), 0, 0},
    {0x01, "Parent", nullptr, ACCESSOR(ControlParentGetter), ACCESSOR(ControlParentSetter), 0, 0},
    {0x40, "InitialParent", &stringType.type, NO_ACCESSOR, ACCESSOR(ControlInitialParentSetter), 0, 0},
};

MethodParameter sRefreshParams[] = {
    {"eraseBackground", &booleanType.type, 0, {}, 1, {}, 1, {}},
};
MethodParameter sRefreshRectParams[] = {
    {"x", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"width", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"height", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"eraseBackground", &booleanType.type, 0, {}, 1, {}, 1, {}},
};
MethodParameter sTypeParams[] = {{"type", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sMenuHandlerParams[] = {
    {"name", &stringType.type, 0, {}, 0, {}, 0, {}},
    {"handler", &externalPtrType.type, 0, {}, 0, {}, 0, {}},
};

// The NewDragItem row's code and result are filled when the class is built.
PropertyMethod sRectControlMethods[] = {
    METHOD("Refresh", RuntimeControlRefresh, nullptr, sRefreshParams, 1),
    METHOD("RefreshRect", RuntimeControlRefreshRect, nullptr, sRefreshRectParams, 5),
    METHOD("SetFocus", RuntimeSetFocus, nullptr, nullptr, 0),
    METHOD("AcceptTextDrop", controlAcceptTextDrop, nullptr, nullptr, 0),
    METHOD("AcceptPictureDrop", controlAcceptPictureDrop, nullptr, nullptr, 0),
    METHOD("AcceptFileDrop", controlAcceptFileDrop, nullptr, sTypeParams, 1),
    METHOD("AcceptMacDataDrop", controlAcceptMacDataDrop, nullptr, sTypeParams, 1),
    {"NewDragItem", nullptr, sRefreshRectParams, 4, {{nullptr, "controlNewDragItem", {}}, {}}, 0, 0, 0},
    METHOD("_AddMenuHandler", ControlAddMenuHandler, nullptr, sMenuHandlerParams, 2),
    METHOD("RectControl", RectControlDefaultConstructor, nullptr, nullptr, 0),
};

MethodParameter sSetWindowParams[] = {{"owner", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sSetIndexParams[] = {{"index", &integerType.type, 0, {}, 0, {}, 0, {}}};

// The Window types are filled when the interface is built.
PropertyMethod sPaneChildMethods[] = {
    {"_SetWindow", nullptr, sSetWindowParams, 1, {}, 0, 0, 0},
    {"Window", nullptr, nullptr, 0, {}, 0, 0, 0},
    {"_Index", &integerType.type, nullptr, 0, {}, 0, 0, 0},
    {"_SetIndex", nullptr, sSetIndexParams, 1, {}, 0, 0, 0},
};
// clang-format on

void ControlConstructor(RuntimeObject *object) {
  reinterpret_cast<RuntimeControl *>(object)->index = kNotInControlArray;
}

void ControlDestructor(RuntimeObject *object) {
  reinterpret_cast<RuntimeControl *>(object)->ReleaseData();
}

// Starts a class description on the builder's first call; false when it was
// built already.
bool StartDefinition(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                     int32_t objectSize) {
  if (!defn.className.IsEmpty())
    return false;
  defn.className = string(name);
  defn.super = super;
  defn.objectSize = objectSize;
  defn.staticTables = 1;
  return true;
}

} // namespace

ObjectDefinition *ObjectClass() {
  static ObjectDefinition defn;
  StartDefinition(defn, "Object", nullptr, sizeof(RuntimeObject));
  return &defn;
}

ObjectDefinition *ControlClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "Control", nullptr, kControlInstanceSize))
    return &defn;
  sControlProperties[5].type = WindowBaseClass()->AsType();
  defn.constructor = ControlConstructor;
  defn.destructor = ControlDestructor;
  FillHooks(&defn, ControlHooks, std::size(ControlHooks));
  defn.SetPropertyListHead(FillInstances(sControlProperties, std::size(sControlProperties)));
  defn.methods = FillMethods(sControlMethods, std::size(sControlMethods));
  return &defn;
}

ObjectDefinition *RectControlClass() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "RectControl", ControlClass(), kControlInstanceSize))
    return &defn;
  sRectControlProperties[3].type = MouseCursorClass()->AsType();
  sRectControlProperties[16].type = ControlClass()->AsType();
  PropertyMethod &newDragItem = sRectControlMethods[7];
  newDragItem.returnType = DragItemClass()->AsType();
  newDragItem.implementation[0].code = EntryCode(controlNewDragItem);
  FillHooks(&defn, ComponentHooks, std::size(ComponentHooks));
  defn.SetPropertyListHead(
      FillInstances(sRectControlProperties, std::size(sRectControlProperties)));
  defn.methods = FillMethods(sRectControlMethods, std::size(sRectControlMethods));
  return &defn;
}

ObjectDefinition *PaneChildInterface() {
  static ObjectDefinition defn;
  if (!StartDefinition(defn, "_PaneChild", nullptr, sizeof(RuntimeObject)))
    return &defn;
  PropertyType *window = WindowBaseClass()->AsType();
  sSetWindowParams[0].type = window;
  sPaneChildMethods[1].returnType = window;
  defn.isInterface = 1;
  defn.methods = FillMethods(sPaneChildMethods, std::size(sPaneChildMethods));
  return &defn;
}

void DefineControlClass(ObjectDefinition &defn, const char *name, ObjectDefinition *super,
                        int32_t size, void (*destructor)(RuntimeObject *),
                        void (*createPane)(RuntimeObject *)) {
  defn.className = string(name);
  defn.super = super;
  defn.objectSize = size;
  defn.destructor = destructor;
  defn.staticTables = 1;
  auto *handler = new ObjectHookInstance;
  handler->name = string("CreatePane");
  handler->code = reinterpret_cast<void *>(createPane);
  defn.hookInstances = handler;
}

bool IsObjectOfClass(RuntimeObject *object, ObjectDefinition *defn) {
  RuntimeClass *cls = defn ? LookupObjectDefinition(defn) : nullptr;
  return object && cls && RuntimeObjectIsa(object, cls);
}

RuntimeControl *AsControl(RuntimeObject *object) {
  return IsObjectOfClass(object, ControlClass()) ? reinterpret_cast<RuntimeControl *>(object)
                                                 : nullptr;
}
