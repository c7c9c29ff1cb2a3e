// The entry points of the control base classes that compiled code imports:
// property accessors, methods, the constructor, and the entry points through
// which compiled windows set up their controls. Each takes the object first.
#pragma once
#include <cstdint>

struct RuntimeObject;
struct RuntimeClass;
struct stringStorage;

extern "C" {
// Booleans.
int32_t controlVisibleGetter(RuntimeObject *control, int32_t param);
void ControlVisibleSetter(RuntimeObject *control, int32_t param, int32_t value);
int32_t controlEnabledGetter(RuntimeObject *control, int32_t param);
void controlEnabledSetter(RuntimeObject *control, int32_t param, int32_t value);
int32_t controlAutoDeactivateGetter(RuntimeObject *control, int32_t param);
void controlAutoDeactivateSetter(RuntimeObject *control, int32_t param, int32_t value);
int32_t controlActiveGetter(RuntimeObject *control, int32_t param);
int32_t controlLockLeftGetter(RuntimeObject *control, int32_t param);
int32_t controlLockTopGetter(RuntimeObject *control, int32_t param);
int32_t controlLockRightGetter(RuntimeObject *control, int32_t param);
int32_t controlLockBottomGetter(RuntimeObject *control, int32_t param);
void controlLockLeftSetter(RuntimeObject *control, int32_t param, int32_t value);
void controlLockTopSetter(RuntimeObject *control, int32_t param, int32_t value);
void controlLockRightSetter(RuntimeObject *control, int32_t param, int32_t value);
void controlLockBottomSetter(RuntimeObject *control, int32_t param, int32_t value);

// Position and size: param 0 Left, 1 Top, 2 Width, 3 Height.
int32_t ctlPosGetter(RuntimeObject *control, int32_t which);
void ctlPosSetter(RuntimeObject *control, int32_t which, int32_t value);

int32_t controlMouseXGetter(RuntimeObject *control, int32_t param);
int32_t controlMouseYGetter(RuntimeObject *control, int32_t param);
// The control's window with one reference for the caller; nil without one.
RuntimeObject *controlWindowGetter(RuntimeObject *control, int32_t param);
int32_t controlMacControlHandleGetter(RuntimeObject *control, int32_t param);

void controlHelpTagSetter(RuntimeObject *control, int32_t param, stringStorage *value);
void controlBalloonHelpSetter(RuntimeObject *control, int32_t param, stringStorage *value);
void controlDisabledBalloonHelpSetter(RuntimeObject *control, int32_t param,
                                      stringStorage *value);
void controlMouseCursorSetter(RuntimeObject *control, int32_t param, RuntimeObject *cursor);
void ControlTabPanelIndexSetter(RuntimeObject *control, int32_t param, int32_t value);

// The control whose pane directly contains this one's, with one reference.
RuntimeObject *ControlParentGetter(RuntimeObject *control, int32_t param);
void ControlParentSetter(RuntimeObject *control, int32_t param, RuntimeObject *parent);
void ControlInitialParentSetter(RuntimeObject *control, int32_t param, stringStorage *name);

// Properties kept both in the control and in a field of its pane. The param
// packs three offsets: bits 0-9 in the control, 10-19 in the pane, 20-29 in
// the pane while controls are drawn three-dimensional.
stringStorage *paneStringGetter(RuntimeObject *control, int32_t param);
void paneStringSetter(RuntimeObject *control, int32_t param, stringStorage *value);
int32_t paneBoolGetter(RuntimeObject *control, int32_t param);
void paneBoolSetter(RuntimeObject *control, int32_t param, int32_t value);
int32_t paneIntGetter(RuntimeObject *control, int32_t param);
void paneIntSetter(RuntimeObject *control, int32_t param, int32_t value);
int32_t paneShortGetter(RuntimeObject *control, int32_t param);
void paneShortSetter(RuntimeObject *control, int32_t param, int32_t value);
RuntimeObject *paneObjGetter(RuntimeObject *control, int32_t param);
void paneObjSetter(RuntimeObject *control, int32_t param, RuntimeObject *value);

// Methods.
void RuntimeControlRefresh(RuntimeObject *control, int32_t eraseBackground);
void RuntimeControlRefreshRect(RuntimeObject *control, int32_t x, int32_t y, int32_t width,
                               int32_t height, int32_t eraseBackground);
void RuntimeSetFocus(RuntimeObject *control);
void controlAcceptTextDrop(RuntimeObject *control);
void controlAcceptPictureDrop(RuntimeObject *control);
void controlAcceptFileDrop(RuntimeObject *control, stringStorage *type);
void controlAcceptMacDataDrop(RuntimeObject *control, stringStorage *type);
void ControlAddMenuHandler(RuntimeObject *control, stringStorage *name, void *handler);
void ControlClose(RuntimeObject *control);
void RectControlDefaultConstructor(RuntimeObject *control);
// The CreatePane handler of classes that have no pane.
void NilCreatePane(RuntimeObject *object);

// Compiled windows.
void RuntimeMassPropertySetter(RuntimeObject *object, stringStorage *stream);
void RuntimeInstallInstanceEventHandler(RuntimeObject *target, stringStorage *eventName,
                                        void *handler);
void RuntimeExchangeSelfAndMe(RuntimeObject **selfVar, RuntimeObject **meVar);
void RuntimeExchangeSelfAndMeClass(RuntimeObject **selfVar, RuntimeObject **meVar,
                                   RuntimeClass *cls);
}
