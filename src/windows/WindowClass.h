// The entry points of the language's Window class that compiled code calls
// with a window object first: the property accessors, the methods and the
// life cycle of a window object (its construction, the objects and menu
// handlers registered in it, the implicit instance of its class).
#pragma once
#include <cstdint>

#include "runtime/loop/WindowInterface.h"
#include "windows/Window.h"

struct RuntimeClass;

extern "C" {
// Properties; the index argument selects the field where one accessor
// serves several properties.
int32_t WindowVisibleGetter(RuntimeView *window, int32_t);
void WindowVisibleSetter(RuntimeView *window, int32_t, int32_t value);
// 0 Left, 1 Top, 2 Width, 3 Height.
int32_t windowPosGetter(RuntimeView *window, int32_t which);
void windowPosSetter(RuntimeView *window, int32_t which, int32_t value);
int32_t windowPlacementGetter(RuntimeView *window, int32_t);
void windowPlacementSetter(RuntimeView *window, int32_t, int32_t value);
stringStorage *windowTitleGetter(RuntimeView *window, int32_t);
void windowTitleSetter(RuntimeView *window, int32_t, stringStorage *value);
int32_t windowFullScreenGetter(RuntimeView *window, int32_t);
int32_t windowMenusVisibleGetter(RuntimeView *window, int32_t);
void windowMenusVisibleSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowCloseBoxGetter(RuntimeView *window, int32_t);
void windowCloseBoxSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowGrowIconGetter(RuntimeView *window, int32_t);
void windowGrowIconSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowZoomIconGetter(RuntimeView *window, int32_t);
void windowZoomIconSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowFrameGetter(RuntimeView *window, int32_t);
void windowFrameSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowLiveResizeGetter(RuntimeView *window, int32_t);
void windowLiveResizeSetter(RuntimeView *window, int32_t, int32_t value);
RuntimeObject *windowBackdropGetter(RuntimeView *window, int32_t);
void windowBackdropSetter(RuntimeView *window, int32_t, RuntimeObject *picture);
RuntimeObject *windowGraphicsGetter(RuntimeView *window, int32_t);
int32_t windowHasBackColorGetter(RuntimeView *window, int32_t);
void windowHasBackColorSetter(RuntimeView *window, int32_t, int32_t value);
int32_t windowBackColorGetter(RuntimeView *window, int32_t);
void windowBackColorSetter(RuntimeView *window, int32_t, int32_t value);
void windowBalloonHelpSetter(RuntimeView *window, int32_t offset, stringStorage *value);
// 0 MinWidth, 1 MinHeight, 2 MaxWidth, 3 MaxHeight.
int32_t windowMinMaxWidthHeightGetter(RuntimeView *window, int32_t which);
void windowMinMaxWidthHeightSetter(RuntimeView *window, int32_t which, int32_t value);
void formMouseCursorSetter(RuntimeView *window, int32_t, RuntimeObject *cursor);
int32_t windowControlCountGetter(RuntimeView *window, int32_t);
int32_t windowMouseXGetter(RuntimeView *window, int32_t);
int32_t windowMouseYGetter(RuntimeView *window, int32_t);
int32_t windowWindowPtrGetter(RuntimeView *window, int32_t);
int32_t windowHWNDGetter(RuntimeView *window, int32_t);
RuntimeObject *WindowDockItemGetter(RuntimeView *window, int32_t);
RuntimeObject *WindowMenuBarGetter(RuntimeView *window, int32_t);

// Methods (Show, Hide, Close and ShowModal are the run loop's).
void RuntimeShowWithinWindow(RuntimeView *window, RuntimeView *parent, int32_t facing);
void RuntimeShowModalWithinWindow(RuntimeView *window, RuntimeView *parent);
void formRefresh(RuntimeView *window, int32_t eraseBackground);
void formRefreshRect(RuntimeView *window, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t eraseBackground);
void formAcceptTextDrop(RuntimeView *window);
void formAcceptPictureDrop(RuntimeView *window);
void formAcceptFileDrop(RuntimeView *window, stringStorage *type);
void formAcceptMacDataDrop(RuntimeView *window, stringStorage *type);
// The index-th control in map order, with a reference; out of bounds raises.
RuntimeObject *windowControl(RuntimeView *window, int32_t index);
void formSetFocus(RuntimeView *window);
void formDrawInto(RuntimeView *window, RuntimeObject *graphics, int32_t x, int32_t y,
                  int32_t asActive);
void WindowForceUpdateFrontBuffer(RuntimeView *window);

// The life cycle.
void WindowDefaultConstructor(RuntimeView *window);
RuntimeObject *WindowAllocateObject(RuntimeView *window, RuntimeClass *cls);
void WindowAddControl(RuntimeView *window, stringStorage *name, RuntimeObject *object);
void WindowAddMenuHandler(RuntimeView *window, stringStorage *name, void *handler);
// The implicit instance of the named window class with a reference, or nil
// (then the next instance made of that class becomes it).
RuntimeObject *RuntimeGetImplicitWindow(stringStorage *className);
}

// The Window class's constructor and destructor.
void WindowConstructor(RuntimeObject *object);
void WindowDestructor(RuntimeObject *object);
// Construction's first step: a new window object fills its class's
// placeholder in the implicit-window list.
void FillImplicitWindowPlaceholder(RuntimeView *window);
// The native window type of a Frame value and its default placement; a
// Frame outside 0 to 10 counts as 0.
Window::WindowType NativeWindowTypeOfFrame(int32_t frame);
int32_t DefaultPlacementOfFrame(int32_t frame);
