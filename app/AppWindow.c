/*
 * AppWindow, the main window: the clipboard's type and origin, its text, the
 * connection state and the Connect button. It owns the clipboard manager,
 * the clipboard monitor and the connection; closing it quits.
 */
#include "ClassBuilding.h"
#include "WindowSupport.h"

static AppWindowObject *Main(RuntimeObject *self) { return (AppWindowObject *)self; }

RuntimeObject *AppWindowInstance(void) {
  return ImplicitWindow(KIT_STRING("AppWindow"), AppWindowClass());
}

void AppWindow_SetInfo(RuntimeObject *self, stringStorage *type, stringStorage *data,
                       int32_t local) {
  RuntimeObject *label = 0, *field = 0;
  stringStorage *text = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(type);
  KIT_HOLD_STRING(data);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(label, RuntimeControlReference(self, KIT_STRING("ClipContentsLabel")));
  KIT_CHECK_NIL(label);
  KIT_TAKE_STRING(text, RuntimeAddString(KIT_STRING("Clipboard is "), type));
  KIT_TAKE_STRING(text, RuntimeAddString(text, KIT_STRING(", ")));
  staticCaptionSetter(label, 0, text);
  KIT_TAKE_STRING(text, stringGetter(label, kStaticTextTextOffset));
  KIT_TAKE_STRING(text, RuntimeAddString(text, local ? KIT_STRING("from local clipboard")
                                                     : KIT_STRING("from remote clipboard")));
  staticCaptionSetter(label, 0, text);
  KIT_TAKE_OBJECT(field, RuntimeControlReference(self, KIT_STRING("ClipContentsField")));
  KIT_CHECK_NIL(field);
  editTextSetter(field, 0, data);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(label);
  KIT_RELEASE_OBJECT(field);
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(type);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

void AppWindow_NotifyConnection(RuntimeObject *self) {
  RuntimeObject *label = 0, *button = 0, *socket = 0;
  stringStorage *text = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_ASSIGN_OBJECT(socket, Main(self)->MyConnection);
  KIT_CHECK_NIL(socket);
  KIT_TAKE_OBJECT(label, RuntimeControlReference(self, KIT_STRING("ConnectionLabel")));
  KIT_TAKE_OBJECT(button, RuntimeControlReference(self, KIT_STRING("ConnectDisconnectButton")));
  KIT_CHECK_NIL(label);
  KIT_CHECK_NIL(button);
  if (SocketIsConnected(socket)) {
    Main(self)->MyConnectionStatus = 1;
    KIT_TAKE_STRING(text, socketRemoteAddressGetter(socket));
    KIT_TAKE_STRING(text, RuntimeAddString(KIT_STRING("Connected to "), text));
    staticCaptionSetter(label, 0, text);
    controlEnabledSetter(button, 0, 0);
    /* The side that dialled pushes its clipboard. */
    if (Main(self)->ConnSourceLocal)
      ClipboardManager_ForceSend(Main(self)->MyClipboardManager);
  } else {
    Main(self)->MyConnectionStatus = 0;
    staticCaptionSetter(label, 0, KIT_STRING("Not Connected"));
    SocketListen(socket);
    controlEnabledSetter(button, 0, 1);
    Main(self)->ConnSourceLocal = 0;
  }
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(label);
  KIT_RELEASE_OBJECT(button);
  KIT_RELEASE_OBJECT(socket);
  KIT_RELEASE_STRING(text);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* The flag is set before dialling, so that a refusal reported at once
 * still finds it and clears it on the way back to listening. */
void AppWindow_TryConnect(RuntimeObject *self, stringStorage *address) {
  RuntimeObject *socket = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(address);
  KIT_CHECK_NIL(self);
  KIT_ASSIGN_OBJECT(socket, Main(self)->MyConnection);
  KIT_CHECK_NIL(socket);
  KIT_ASSIGN_STRING(*(stringStorage **)((char *)socket + kSocketAddressOffset), address);
  Main(self)->ConnSourceLocal = 1;
  SocketConnect(socket);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(socket);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(address);
  KIT_END();
}

/* Only text travels, as UTF-8; pictures and other types stay local. */
void AppWindow_SendClipboard(RuntimeObject *self, stringStorage *type, stringStorage *data) {
  RuntimeObject *encodings = 0, *utf8 = 0;
  stringStorage *converted = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_HOLD_STRING(type);
  KIT_HOLD_STRING(data);
  KIT_CHECK_NIL(self);
  KIT_CHECK_NIL(Main(self)->MyConnection);
  if (!SocketIsConnected(Main(self)->MyConnection))
    KIT_LEAVE();
  if (RuntimeStringCompare(type, KIT_STRING("Text")) != 0)
    KIT_LEAVE();
  KIT_TAKE_OBJECT(encodings, GetEncodingsObject());
  KIT_CHECK_NIL(encodings);
  KIT_TAKE_OBJECT(utf8, EncodingsGetter(encodings, kEncodingsUTF8));
  KIT_TAKE_STRING(converted, StringConvertEncoding(data, utf8));
  EasyTCPSocket_SendMessage(Main(self)->MyConnection, kCommandClipboardText, converted);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(encodings);
  KIT_RELEASE_OBJECT(utf8);
  KIT_RELEASE_STRING(converted);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_RELEASE_HELD_STRING(type);
  KIT_RELEASE_HELD_STRING(data);
  KIT_END();
}

/* The monitor stops first: a tick after the window closed asked for the
 * implicit window again, which made a new one whose connection could not
 * listen on the port the old one held, and it retried for ever, so the
 * process never ended. */
void AppWindow_Close(RuntimeObject *self) {
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  if (Main(self)->MyCMTimer)
    timerModeSetter(Main(self)->MyCMTimer, 0, kTimerModeOff);
  ApplicationQuit();
  KIT_CATCH_ALL();
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AppWindow_Open(RuntimeObject *self) {
  RuntimeObject *object = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(object, WindowAllocateObject(self, ClipboardManagerClass()));
  KIT_ASSIGN_OBJECT(Main(self)->MyClipboardManager, object);

  KIT_TAKE_OBJECT(object, WindowAllocateObject(self, ClipMonitorTimerClass()));
  KIT_CHECK_NIL(object);
  ClipMonitorTimer_Constructor(object, Main(self)->MyClipboardManager);
  KIT_ASSIGN_OBJECT(Main(self)->MyCMTimer, object);
  intSetter(object, kTimerEnabledOffset, 1);
  RuntimeTimerReset(object);

  KIT_TAKE_OBJECT(object, WindowAllocateObject(self, ClipRemoteSocketClass()));
  KIT_CHECK_NIL(object);
  ClipRemoteSocket_Constructor(object, Main(self)->MyClipboardManager);
  KIT_ASSIGN_OBJECT(Main(self)->MyConnection, object);
  SocketListen(object);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(object);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

int32_t AppWindow_AboutItem_Action(RuntimeObject *self) {
  RuntimeObject *about = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_TAKE_OBJECT(about, AboutWindowInstance());
  KIT_CHECK_NIL(about);
  RuntimeShowWindow(about);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(about);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return 0;
}

void AppWindow_Layout(RuntimeObject *self) {
  RuntimeObject *menuBar = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(menuBar, MenuBar1Instance());
  WindowMenuBarSetter(self, 0, menuBar);
  StreamBegin(&stream, self);
  StreamWindowFrame(&stream, KIT_STRING("Vadezezidev"), 325, 163, 325, 163);
  StreamNumber(&stream, "GrowIcon", 1);
  StreamNumber(&stream, "Composite", 1);
  StreamNumber(&stream, "LiveResize", 1);
  StreamNumber(&stream, "Visible", 1);
  StreamApply(&stream);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(menuBar);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

void AppWindow_ConnectDisconnectButton_Action(RuntimeObject *control);

void AppWindow_CreateControls(RuntimeObject *self) {
  RuntimeObject *control = 0;
  PropertyStream stream;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("StaticText"),
                                      KIT_STRING("ClipContentsLabel")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 14, 285, 20);
  StreamText(&stream, "Text", KIT_STRING("Clipboard is ..."));
  StreamSystemFont(&stream, 12);
  StreamLocks(&stream, 1, 1, 1, 0);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("EditField"),
                                      KIT_STRING("ClipContentsField")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 68, 285, 75);
  StreamSystemFont(&stream, 10);
  StreamNumber(&stream, "Border", 1);
  StreamNumber(&stream, "MultiLine", 1);
  StreamNumber(&stream, "ReadOnly", 1);
  StreamNumber(&stream, "AcceptTabs", 1);
  StreamNumber(&stream, "ScrollBar", 1);
  StreamNumber(&stream, "ScrollBarVertical", 1);
  StreamNumber(&stream, "UseFocusRing", 1);
  StreamNumber(&stream, "Alignment", 1);
  StreamNumber(&stream, "BackColor", 0xFFFFFF);
  StreamLocks(&stream, 1, 1, 1, 1);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("StaticText"),
                                      KIT_STRING("ConnectionLabel")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 20, 36, 179, 20);
  StreamText(&stream, "Text", KIT_STRING("Not Connected"));
  StreamSystemFont(&stream, 12);
  StreamLocks(&stream, 1, 1, 1, 0);
  StreamApply(&stream);

  KIT_TAKE_OBJECT(control, NewControl(self, KIT_STRING("PushButton"),
                                      KIT_STRING("ConnectDisconnectButton")));
  StreamBegin(&stream, control);
  StreamControlFrame(&stream, 211, 36, 94, 20);
  StreamText(&stream, "Caption", KIT_STRING("Connect"));
  StreamSystemFont(&stream, 12);
  StreamLocks(&stream, 0, 1, 1, 0);
  StreamApply(&stream);
  KIT_CHECK_NIL(control);
  RuntimeInstallInstanceEventHandler(control, KIT_STRING("Action"),
                                     (void *)AppWindow_ConnectDisconnectButton_Action);
  WindowAddMenuHandler(self, KIT_STRING("AboutItem"), (void *)AppWindow_AboutItem_Action);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(control);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
}

/* The button never disconnects: it is disabled while connected. */
void AppWindow_ConnectDisconnectButton_Action(RuntimeObject *control) {
  RuntimeObject *dialog = 0;
  WINDOW_HANDLER_ENTER(control);
  KIT_TAKE_OBJECT(dialog, ConnectDialogInstance());
  KIT_CHECK_NIL(dialog);
  RuntimeShowWithinWindow(dialog, self, -1);
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(dialog);
  WINDOW_HANDLER_RELEASE(control);
  KIT_END();
}

/* The item of that name in the window's menu bar, cast to the class. */
static RuntimeObject *MenuItemNamed(RuntimeObject *self, stringStorage *name,
                                    stringStorage *className) {
  RuntimeObject *bar = 0, *item = 0, *result = 0;
  KIT_ENTER();
  KIT_HOLD_OBJECT(self);
  KIT_CHECK_NIL(self);
  KIT_TAKE_OBJECT(bar, WindowMenuBarGetter(self, 0));
  KIT_CHECK_NIL(bar);
  KIT_TAKE_OBJECT(item, RuntimeMenuItemLookup(bar, name));
  result = RuntimeCheckCast(item, RuntimeLookupClass(className));
  KIT_CATCH_ALL();
  KIT_RELEASE_OBJECT(bar);
  KIT_RELEASE_OBJECT(item);
  KIT_RELEASE_HELD_OBJECT(self);
  KIT_END();
  return result;
}

#define MENU_ACCESSOR(item, className)                                                             \
  RuntimeObject *AppWindow_##item(RuntimeObject *self) {                                           \
    return MenuItemNamed(self, KIT_STRING(#item), KIT_STRING(className));                          \
  }
MENU_ACCESSOR(FileMenu, "MenuItem")
MENU_ACCESSOR(EditMenu, "MenuItem")
MENU_ACCESSOR(EditUndo, "MenuItem")
MENU_ACCESSOR(EditCut, "MenuItem")
MENU_ACCESSOR(EditCopy, "MenuItem")
MENU_ACCESSOR(EditPaste, "MenuItem")
MENU_ACCESSOR(EditClear, "MenuItem")
MENU_ACCESSOR(AboutItem, "AppleMenuItem")
MENU_ACCESSOR(FileQuit, "QuitMenuItem")

static void AppWindowDestructor(RuntimeObject *self) {
  RuntimeUnlockObject(Main(self)->MyCMTimer);
  RuntimeUnlockObject(Main(self)->MyClipboardManager);
  RuntimeUnlockObject(Main(self)->MyConnection);
}

RuntimeClass *AppWindowClass(void) {
  ClassCounts counts = {19, 0, 24, 27, 39}, own = {19, 0, 0, 0, 5};
  RuntimeClass *cls;
  int32_t m, p;
  KIT_ENTER();
  if (gImage.appWindow)
    KIT_LEAVE();
  cls = NewWindowClass(counts, own, KIT_STRING("AppWindow"), 156, AppWindowDestructor,
                       (void *)AppWindow_Layout, (void *)AppWindow_CreateControls);
  KIT_CHECK_NIL(cls);
  gImage.appWindow = cls;
  HandleInheritedEvent(cls, "Open", (void *)AppWindow_Open);
  HandleInheritedEvent(cls, "Close", (void *)AppWindow_Close);
  m = FirstOwnMethod(cls);
  SetMethod(cls, m + 0, (void *)AppWindow_SetInfo, KIT_STRING("SetInfo%%o<AppWindow>ssb"));
  SetMethod(cls, m + 1, (void *)AppWindow_NotifyConnection,
            KIT_STRING("NotifyConnection%%o<AppWindow>"));
  SetMethod(cls, m + 2, (void *)AppWindow_TryConnect, KIT_STRING("TryConnect%%o<AppWindow>s"));
  SetMethod(cls, m + 3, (void *)AppWindow_SendClipboard,
            KIT_STRING("SendClipboard%%o<AppWindow>ss"));
  SetMethod(cls, m + 4, (void *)AppWindow_Close, KIT_STRING("#Close%%o<AppWindow>"));
  SetMethod(cls, m + 5, (void *)AppWindow_Open, KIT_STRING("#Open%%o<AppWindow>"));
  SetMethod(cls, m + 6, (void *)AppWindow_AboutItem_Action,
            KIT_STRING("AboutItem_Action%b%o<AppWindow>"));
  SetMethod(cls, m + 7, (void *)AppWindow_Layout, KIT_STRING("#Layout%%o<AppWindow>"));
  SetMethod(cls, m + 8, (void *)AppWindow_CreateControls,
            KIT_STRING("#CreateControls%%o<AppWindow>"));
  SetMethod(cls, m + 9, (void *)AppWindow_ConnectDisconnectButton_Action,
            KIT_STRING("ConnectDisconnectButton_Action%%o<AppWindow>"));
  SetMethod(cls, m + 10, (void *)AppWindow_FileMenu, KIT_STRING("FileMenu%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 11, (void *)AppWindow_EditMenu, KIT_STRING("EditMenu%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 12, (void *)AppWindow_EditUndo, KIT_STRING("EditUndo%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 13, (void *)AppWindow_EditCut, KIT_STRING("EditCut%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 14, (void *)AppWindow_EditCopy, KIT_STRING("EditCopy%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 15, (void *)AppWindow_EditPaste,
            KIT_STRING("EditPaste%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 16, (void *)AppWindow_EditClear,
            KIT_STRING("EditClear%o<MenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 17, (void *)AppWindow_AboutItem,
            KIT_STRING("AboutItem%o<AppleMenuItem>%o<AppWindow>"));
  SetMethod(cls, m + 18, (void *)AppWindow_FileQuit,
            KIT_STRING("FileQuit%o<QuitMenuItem>%o<AppWindow>"));
  p = FirstOwnProperty(cls);
  SetFieldProperty(cls, p + 0, KIT_STRING("MyCMTimer%o<ClipMonitorTimer>%"), 136);
  SetFieldProperty(cls, p + 1, KIT_STRING("MyClipboardManager%o<ClipboardManager>%"), 140);
  SetFieldProperty(cls, p + 2, KIT_STRING("MyConnectionStatus%b%"), 144);
  SetFieldProperty(cls, p + 3, KIT_STRING("MyConnection%o<ClipRemoteSocket>%"), 148);
  SetFieldProperty(cls, p + 4, KIT_STRING("ConnSourceLocal%b%"), 152);
  KIT_CATCH_ALL();
  KIT_END();
  return gImage.appWindow;
}
