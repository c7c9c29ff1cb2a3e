// The language's Window class: its constants, events, properties and
// methods in the orders compiled code and the property-assignment stream
// address them by, and the class definition built from them.
#include <cstddef>
#include <iterator>

#include "graphics/GraphicsServices.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "windows/DesktopServices.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/MenuServices.h"
#include "windows/MouseCursor.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"
#include "windows/menus/MenuItemClasses.h"

ObjectHookTemplate WindowBaseHooks[kWindowEventCount] = {
    {0x40, "Layout", "", "", nullptr, 0},
    {0x40, "CreateControls", "", "", nullptr, 0},
    {0x40, "SetupBindings", "", "", nullptr, 0},
    {0, "Open", "", "", nullptr, 0},
    {0, "Close", "", "", nullptr, 0},
    {0, "CancelClose", "appQuitting as Boolean", "Boolean", nullptr, 0},
    {0, "KeyDown", "Key As String", "Boolean", nullptr, 0},
    {0, "MouseMove", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseEnter", "", "", nullptr, 0},
    {0, "MouseExit", "", "", nullptr, 0},
    {0, "Paint", "g As Graphics", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "EnableMenuItems", "", "", nullptr, 0},
    {0, "Resized", "", "", nullptr, 0},
    {0, "Resizing", "", "", nullptr, 0},
    {0, "Moved", "", "", nullptr, 0},
    {0, "DropObject", "obj As DragItem", "", nullptr, 0},
    {0, "Activate", "", "", nullptr, 0},
    {0, "Deactivate", "", "", nullptr, 0},
    {0, "Minimize", "", "", nullptr, 0},
    {0, "Maximize", "", "", nullptr, 0},
    {0, "Restore", "", "", nullptr, 0},
};

namespace {

constexpr int32_t kCompositeOffset = offsetof(RuntimeView, composite);
constexpr int32_t kBalloonHelpOffset = offsetof(RuntimeView, balloonHelp);
constexpr int32_t kMacProcIdOffset = offsetof(RuntimeView, macProcId);
constexpr int32_t kMouseCursorOffset = offsetof(RuntimeView, mouseCursor);
constexpr int32_t kFloaterProcessOffset = offsetof(RuntimeView, floaterProcess);

// clang-format off
ObjectConstantTemplate sWindowConstants[] = {
    {0, "FrameTypeDocument", 1, "0"},      {0, "FrameTypeMovableModal", 1, "1"},
    {0, "FrameTypeModal", 1, "2"},         {0, "FrameTypeFloating", 1, "3"},
    {0, "FrameTypePlain", 1, "4"},         {0, "FrameTypeShadowed", 1, "5"},
    {0, "FrameTypeRounded", 1, "6"},       {0, "FrameTypeGlobalFloating", 1, "7"},
    {0, "FrameTypeSheet", 1, "8"},         {0, "FrameTypeMetal", 1, "9"},
    {0, "FrameTypeDrawer", 1, "10"},       {0, "PlacementDefault", 1, "0"},
    {0, "PlacementParent", 1, "1"},        {0, "PlacementMainScreen", 1, "2"},
    {0, "PlacementParentScreen", 1, "3"},  {0, "PlacementStagger", 1, "4"},
    {0, "PlacementDrawerTopLeft", 1, "0"}, {0, "PlacementDrawerCenter", 1, "1"},
    {0, "PlacementDrawerBottomRight", 1, "2"}, {0, "ShowWithinDefault", 1, "-1"},
    {0, "ShowWithinTop", 1, "0"},          {0, "ShowWithinBottom", 1, "1"},
    {0, "ShowWithinRight", 1, "2"},        {0, "ShowWithinLeft", 1, "3"},
};

// The rows whose type is a class get it when the class is built.
enum : int { kBackdropRow = 15, kGraphicsRow = 16, kMouseCursorRow = 25, kDockItemRow = 32,
             kMenuBarRow = 33 };
ObjectInstanceTemplate sWindowProperties[] = {
    {0, "Visible", &booleanType.type, ACCESSOR(WindowVisibleGetter), ACCESSOR(WindowVisibleSetter), 0, 0},
    {0, "Left", &integerType.type, ACCESSOR(windowPosGetter), ACCESSOR(windowPosSetter), 0, 0},
    {0, "Top", &integerType.type, ACCESSOR(windowPosGetter), ACCESSOR(windowPosSetter), 1, 0},
    {0, "Width", &integerType.type, ACCESSOR(windowPosGetter), ACCESSOR(windowPosSetter), 2, 0},
    {0, "Height", &integerType.type, ACCESSOR(windowPosGetter), ACCESSOR(windowPosSetter), 3, 0},
    {0, "Placement", &integerType.type, ACCESSOR(windowPlacementGetter), ACCESSOR(windowPlacementSetter), 0, 0},
    {0, "Title", &stringType.type, ACCESSOR(windowTitleGetter), ACCESSOR(windowTitleSetter), 0, 0},
    {0, "FullScreen", &booleanType.type, ACCESSOR(windowFullScreenGetter), ACCESSOR(windowFullScreenSetter), 0, 0},
    {0, "MenuBarVisible", &booleanType.type, ACCESSOR(windowMenusVisibleGetter), ACCESSOR(windowMenusVisibleSetter), 0, 0},
    {0, "CloseBox", &booleanType.type, ACCESSOR(windowCloseBoxGetter), ACCESSOR(windowCloseBoxSetter), 0, 0},
    {0, "GrowIcon", &booleanType.type, ACCESSOR(windowGrowIconGetter), ACCESSOR(windowGrowIconSetter), 0, 0},
    {0, "ZoomIcon", &booleanType.type, ACCESSOR(windowZoomIconGetter), ACCESSOR(windowZoomIconSetter), 0, 0},
    {0, "Frame", &integerType.type, ACCESSOR(windowFrameGetter), ACCESSOR(windowFrameSetter), 0, 0},
    {2, "Composite", &booleanType.type, ACCESSOR(boolGetter), ACCESSOR(boolSetter), kCompositeOffset, 0},
    {0, "LiveResize", &booleanType.type, ACCESSOR(windowLiveResizeGetter), ACCESSOR(windowLiveResizeSetter), 0, 0},
    {0, "Backdrop", nullptr, ACCESSOR(windowBackdropGetter), ACCESSOR(windowBackdropSetter), 0, 0},
    {0, "Graphics", nullptr, ACCESSOR(windowGraphicsGetter), NO_ACCESSOR, 0, 0},
    {0, "HasBackColor", &booleanType.type, ACCESSOR(windowHasBackColorGetter), ACCESSOR(windowHasBackColorSetter), 0, 0},
    {0, "BackColor", &colourType.type, ACCESSOR(windowBackColorGetter), ACCESSOR(windowBackColorSetter), 0, 0},
    {0, "BalloonHelp", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(windowBalloonHelpSetter), kBalloonHelpOffset, 0},
    {0, "MinWidth", &integerType.type, ACCESSOR(windowMinMaxWidthHeightGetter), ACCESSOR(windowMinMaxWidthHeightSetter), 0, 0},
    {0, "MinHeight", &integerType.type, ACCESSOR(windowMinMaxWidthHeightGetter), ACCESSOR(windowMinMaxWidthHeightSetter), 1, 0},
    {0, "MaxWidth", &integerType.type, ACCESSOR(windowMinMaxWidthHeightGetter), ACCESSOR(windowMinMaxWidthHeightSetter), 2, 0},
    {0, "MaxHeight", &integerType.type, ACCESSOR(windowMinMaxWidthHeightGetter), ACCESSOR(windowMinMaxWidthHeightSetter), 3, 0},
    {0, "MacProcId", &integerType.type, ACCESSOR(intGetter), ACCESSOR(intSetter), kMacProcIdOffset, 0},
    {0, "MouseCursor", nullptr, ACCESSOR(objGetter), ACCESSOR(formMouseCursorSetter), kMouseCursorOffset, 0},
    {0, "ControlCount", &integerType.type, ACCESSOR(windowControlCountGetter), NO_ACCESSOR, 0, 0},
    {0, "FloaterProcess", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(stringSetter), kFloaterProcessOffset, 0},
    {0, "MouseX", &integerType.type, ACCESSOR(windowMouseXGetter), NO_ACCESSOR, 0, 0},
    {0, "MouseY", &integerType.type, ACCESSOR(windowMouseYGetter), NO_ACCESSOR, 0, 0},
    {0, "MacWindowPtr", &integerType.type, ACCESSOR(windowWindowPtrGetter), NO_ACCESSOR, 0, 0},
    {0, "WinHWND", &integerType.type, ACCESSOR(windowHWNDGetter), NO_ACCESSOR, 0, 0},
    {1, "DockItem", nullptr, ACCESSOR(WindowDockItemGetter), NO_ACCESSOR, 0, 0},
    {0, "MenuBar", nullptr, ACCESSOR(WindowMenuBarGetter), ACCESSOR(WindowMenuBarSetter), 0, 0},
};

// Parameter rows; the Window, Graphics and Object types are filled when the
// class is built.
MethodParameter sShowWithinParams[] = {
    {"parentWindow", nullptr, 0, {}, 0, {}, 0, {}},
    {"facing", &integerType.type, 0, {}, 1, {}, -1, {}},
};
MethodParameter sParentParams[] = {{"parentWindow", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sRefreshParams[] = {{"eraseBackground", &booleanType.type, 0, {}, 1, {}, 1, {}}};
MethodParameter sRefreshRectParams[] = {
    {"x", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"width", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"height", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"eraseBackground", &booleanType.type, 0, {}, 1, {}, 1, {}},
};
MethodParameter sTypeParams[] = {{"type", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sIndexParams[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sDrawIntoParams[] = {
    {"g", nullptr, 0, {}, 0, {}, 0, {}},
    {"x", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"y", &integerType.type, 0, {}, 0, {}, 0, {}},
    {"_asActive", &booleanType.type, 0, {}, 1, {}, 0, {}},
};
MethodParameter sAddControlParams[] = {
    {"name", &stringType.type, 0, {}, 0, {}, 0, {}},
    {"obj", nullptr, 0, {}, 0, {}, 0, {}},
};
MethodParameter sMenuHandlerParams[] = {
    {"name", &stringType.type, 0, {}, 0, {}, 0, {}},
    {"handler", &externalPtrType.type, 0, {}, 0, {}, 0, {}},
};

enum : int { kNewDragItemRow = 8, kControlRow = 13 };
PropertyMethod sWindowMethods[] = {
    METHOD("Show", RuntimeShowWindow, nullptr, nullptr, 0),
    METHOD("ShowWithin", RuntimeShowWithinWindow, nullptr, sShowWithinParams, 2),
    METHOD("ShowModalWithin", RuntimeShowModalWithinWindow, nullptr, sParentParams, 1),
    METHOD("Hide", RuntimeHideWindow, nullptr, nullptr, 0),
    METHOD("Close", RuntimeCloseWindow, nullptr, nullptr, 0),
    METHOD("Refresh", formRefresh, nullptr, sRefreshParams, 1),
    METHOD("RefreshRect", formRefreshRect, nullptr, sRefreshRectParams, 5),
    METHOD("ShowModal", RuntimeShowModal, nullptr, nullptr, 0),
    {"NewDragItem", nullptr, sRefreshRectParams, 4, {{nullptr, "formNewDragItem", {}}, {}}, 0, 0, 0},
    METHOD("AcceptTextDrop", formAcceptTextDrop, nullptr, nullptr, 0),
    METHOD("AcceptPictureDrop", formAcceptPictureDrop, nullptr, nullptr, 0),
    METHOD("AcceptFileDrop", formAcceptFileDrop, nullptr, sTypeParams, 1),
    METHOD("AcceptMacDataDrop", formAcceptMacDataDrop, nullptr, sTypeParams, 1),
    METHOD("Control", windowControl, nullptr, sIndexParams, 1),
    METHOD("SetFocus", formSetFocus, nullptr, nullptr, 0),
    METHOD("DrawInto", formDrawInto, nullptr, sDrawIntoParams, 4),
    METHOD("UpdateNow", WindowForceUpdateFrontBuffer, nullptr, nullptr, 0),
    METHOD("_AddControl", WindowAddControl, nullptr, sAddControlParams, 2),
    METHOD("_AddMenuHandler", WindowAddMenuHandler, nullptr, sMenuHandlerParams, 2),
    METHOD("Window", WindowDefaultConstructor, nullptr, nullptr, 0),
    METHOD("Operator_Convert", WindowToWindowPtr, &externalWindowPtrType.type, nullptr, 0),
};
// clang-format on

// The classes the tables name as types; one that is not built yet stands in
// by name.
void FillClassTypes(ObjectDefinition *window) {
  PropertyType *self = window->AsType();
  sWindowProperties[kBackdropRow].type = ForeignClassType(PictureClass, "Picture");
  sWindowProperties[kGraphicsRow].type = ForeignClassType(GraphicsClass, "Graphics");
  sWindowProperties[kMouseCursorRow].type = MouseCursorClass()->AsType();
  // The dock item belongs to the desktop services.
  sWindowProperties[kDockItemRow].type =
      ForeignClassType(GetBuiltinClassHooks().DockItemClass, "DockItem");
  sWindowProperties[kMenuBarRow].type = MenuBarClass()->AsType();
  sShowWithinParams[0].type = self;
  sParentParams[0].type = self;
  sDrawIntoParams[0].type = sWindowProperties[kGraphicsRow].type;
  const BuiltinClassHooks &classes = GetBuiltinClassHooks();
  sAddControlParams[1].type = ForeignClassType(classes.ObjectClass, "Object");
  PropertyMethod &newDragItem = sWindowMethods[kNewDragItemRow];
  newDragItem.returnType = DragItemClass()->AsType();
  newDragItem.implementation[0].code = EntryCode(formNewDragItem);
  sWindowMethods[kControlRow].returnType = ForeignClassType(classes.ControlClass, "Control");
}

} // namespace

ObjectDefinition *WindowBaseClass() {
  static ObjectDefinition definition;
  if (!definition.className.IsEmpty())
    return &definition;
  definition.className = string("Window");
  definition.objectSize = kRuntimeViewInstanceSize;
  definition.staticTables = 1;
  definition.constructor = WindowConstructor;
  definition.destructor = WindowDestructor;
  FillClassTypes(&definition);
  FillConstants(&definition, sWindowConstants, std::size(sWindowConstants));
  FillHooks(&definition, WindowBaseHooks, std::size(WindowBaseHooks));
  definition.SetPropertyListHead(FillInstances(sWindowProperties, std::size(sWindowProperties)));
  definition.methods = FillMethods(sWindowMethods, std::size(sWindowMethods));
  return &definition;
}
