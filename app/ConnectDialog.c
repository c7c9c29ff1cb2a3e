/*
 * ConnectDialog: the sheet over the main window that asks for the peer's
 * address. Connect dials it; Cancel leaves the connection as it was.
 */
#include "ClassBuilding.h"
#include "WindowSupport.h"

RuntimeObject *ConnectDialogInstance(void) {
  return ImplicitWindow(KIT_STRING("ConnectDialog"), ConnectDialogClass());
}

enum { kFrameTypeSheet = 8 };

void ConnectDialog_Layout(RuntimeObject *self) {
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  StreamBegin(&stream, self);
  StreamWindowFrame(&stream, KIT_STRING("Connect To..."), 301, 132, 64, 64);
  StreamNumber(&stream, "Frame", kFrameTypeSheet);
  StreamNumber(&stream, "GrowIcon", 1);
  StreamNumber(&stream, "ZoomIcon", 1);
  StreamNumber(&stream, "Visible", 1);
  StreamApply(&stream);
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void ConnectDialog_OkButton_Action(RuntimeObject *control);
void ConnectDialog_CancelButton_Action(RuntimeObject *control);

void ConnectDialog_CreateControls(RuntimeObject *self) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("EditField"), KIT_STRING("AddressField")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 64, 48, 173, 22);
  StreamSystemFont(&stream, 12);
  StreamNumber(&stream, "Border", 1);
  StreamNumber(&stream, "ScrollBar", 1);
  StreamNumber(&stream, "ScrollBarVertical", 1);
  StreamNumber(&stream, "UseFocusRing", 1);
  StreamNumber(&stream, "BackColor", 0xFFFFFF);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("StaticText"), KIT_STRING("StaticText1")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 100, 16, 100, 20);
  StreamText(&stream, "Text", KIT_STRING("Connect To:"));
  StreamSystemFont(&stream, 12);
  StreamNumber(&stream, "TextAlign", 1);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("PushButton"), KIT_STRING("OkButton")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 212, 92, 69, 20);
  StreamText(&stream, "Caption", KIT_STRING("Connect"));
  StreamNumber(&stream, "Default", 1);
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  KIT_CHECK_NIL(control);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Action"),
                                     (void *)ConnectDialog_OkButton_Action);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("PushButton"), KIT_STRING("CancelButton")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 92, 69, 20);
  StreamText(&stream, "Caption", KIT_STRING("Cancel"));
  StreamNumber(&stream, "Cancel", 1);
  StreamSystemFont(&stream, 12);
  StreamApply(&stream);
  KIT_CHECK_NIL(control);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Action"),
                                     (void *)ConnectDialog_CancelButton_Action);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* An empty address is dialled too: the failure brings the window back to
 * listening. */
void ConnectDialog_OkButton_Action(RuntimeObject *control) {
  RuntimeObject *field = 0, *window = 0;
  stringStorage *address = 0;
  WINDOW_HANDLER_ENTER(control);
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, KIT_STRING("AddressField")));
  KIT_CHECK_NIL(field);
  KIT_TAKE_STRING(address, editTextGetter(field, 0));
  KIT_TAKE_OBJECT(window, AppWindowInstance());
  AppWindow_TryConnect(window, address);
  RuntimeCloseWindow(self);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(field);
  KIT_RELEASE_OBJECT(window);
  KIT_RELEASE_STRING(address);
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
}

void ConnectDialog_CancelButton_Action(RuntimeObject *control) {
  WINDOW_HANDLER_ENTER(control);
  RuntimeCloseWindow(self);
  KIT_CATCH_ALL();
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
}

RuntimeClass *ConnectDialogClass(void) {
  ClassCounts counts = {4, 0, 24, 27, 34}, own = {4, 0, 0, 0, 0};
  RuntimeClass *cls;
  int32_t m;
  KIT_ENTER();
  if (gImage.connectDialog)
    KIT_LEAVE();
  cls = NewWindowClass(counts, own, KIT_STRING("ConnectDialog"), 136, 0,
                       (void *)ConnectDialog_Layout, (void *)ConnectDialog_CreateControls);
  KIT_CHECK_NIL(cls);
  gImage.connectDialog = cls;
  m = FirstOwnMethod(cls);
  SetMethod(cls, m, (void *)ConnectDialog_Layout, KIT_STRING("#Layout%%o<ConnectDialog>"));
  SetMethod(cls, m + 1, (void *)ConnectDialog_CreateControls,
            KIT_STRING("#CreateControls%%o<ConnectDialog>"));
  SetMethod(cls, m + 2, (void *)ConnectDialog_OkButton_Action,
            KIT_STRING("OkButton_Action%%o<ConnectDialog>"));
  SetMethod(cls, m + 3, (void *)ConnectDialog_CancelButton_Action,
            KIT_STRING("CancelButton_Action%%o<ConnectDialog>"));
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.connectDialog;
}
