/*
 * Tavrin: keeps the text clipboards of two machines in step over TCP port
 * 7582. What the image's classes share: the runtime entry points it imports,
 * the layouts of its objects, its globals and the functions one class calls
 * on another.
 */
#ifndef TAVRIN_H
#define TAVRIN_H

#include "RuntimeClasses.h"

/* ---- Runtime entry points (Booleans cross as int32_t 0/1; results that are
 * objects or strings carry one reference for the caller). ---- */
void RuntimeInit(void);
RuntimeObject *RuntimeExit(void);
void *RuntimeAllocatePluginEntrypointsTable(int32_t count);
void RuntimeRegisterFileType(stringStorage *name, stringStorage *creator, stringStorage *type,
                             stringStorage *extensions);
void RuntimeRegisterAppObject(RuntimeObject *app);
void RuntimeRun(void);
void RuntimeUnhandledException(RuntimeObject *exception);
RuntimeObject *RuntimeCheckCast(RuntimeObject *object, RuntimeClass *cls);
RuntimeObject *getAppObject(void);
void ApplicationQuit(void);
void AppMenuBarSetter(RuntimeObject *app, int32_t index, RuntimeObject *menuBar);
void RuntimeDoEvents(RuntimeObject *app, int32_t milliseconds);
void RuntimeBackgroundTask(void);
int32_t RuntimeTicks(void);
void GlobalShowURL(stringStorage *url);
void intSetter(RuntimeObject *object, int32_t offset, int32_t value);
stringStorage *stringGetter(RuntimeObject *object, int32_t offset);

/* Strings, encodings and memory blocks. */
int32_t StringDBCSLen(stringStorage *text);
stringStorage *StringDBCSMid2(stringStorage *text, int32_t start);
int32_t RuntimeStringCompare(stringStorage *a, stringStorage *b);
stringStorage *RuntimeAddString(stringStorage *a, stringStorage *b);
RuntimeObject *GetEncodingsObject(void);
RuntimeObject *EncodingsGetter(RuntimeObject *encodings, int32_t index);
stringStorage *StringConvertEncoding(stringStorage *text, RuntimeObject *encoding);
void memoryBlockNewConstructor(RuntimeObject *block, int32_t bytes);
int32_t memoryBlockGetSize(RuntimeObject *block);
int32_t memoryGetLong(RuntimeObject *block, int32_t offset);
void memorySetLong(RuntimeObject *block, int32_t offset, int32_t value);
stringStorage *memoryGetString(RuntimeObject *block, int32_t offset, int32_t length);
void memorySetString(RuntimeObject *block, int32_t offset, int32_t length, stringStorage *value);

/* Timers. */
void timerPeriodSetter(RuntimeObject *timer, int32_t index, int32_t period);
void timerModeSetter(RuntimeObject *timer, int32_t index, int32_t mode);
void RuntimeTimerReset(RuntimeObject *timer);

/* Sockets. */
void SocketConnect(RuntimeObject *socket);
void SocketListen(RuntimeObject *socket);
void SocketDisconnect(RuntimeObject *socket);
void socketPoll(RuntimeObject *socket);
int32_t SocketIsConnected(RuntimeObject *socket);
void SocketWrite(RuntimeObject *socket, stringStorage *text);
stringStorage *SocketReadAll(RuntimeObject *socket, RuntimeObject *encoding);
stringStorage *socketRead(RuntimeObject *socket, int32_t count, RuntimeObject *encoding);
int32_t socketLastErrorCode(RuntimeObject *socket);
stringStorage *socketRemoteAddressGetter(RuntimeObject *socket);
void SocketPortSetter(RuntimeObject *socket, int32_t index, int32_t port);
int32_t TCPSocketEof(RuntimeObject *socket);
void TCPSocketFlush(RuntimeObject *socket);

/* Clipboard. */
int32_t clipboardTextAvailable(RuntimeObject *clipboard);
int32_t clipboardPictureAvailable(RuntimeObject *clipboard);
stringStorage *clipboardTextGetter(RuntimeObject *clipboard, int32_t index);
void clipboardTextSetter(RuntimeObject *clipboard, int32_t index, stringStorage *text);
void clipboardClose(RuntimeObject *clipboard);

/* Windows, controls and menus. */
RuntimeObject *RuntimeGetImplicitWindow(stringStorage *className);
void WindowDefaultConstructor(RuntimeObject *window);
RuntimeObject *WindowAllocateObject(RuntimeObject *window, RuntimeClass *cls);
void WindowAddControl(RuntimeObject *window, stringStorage *name, RuntimeObject *control);
void WindowAddMenuHandler(RuntimeObject *window, stringStorage *name, void *handler);
void WindowMenuBarSetter(RuntimeObject *window, int32_t index, RuntimeObject *menuBar);
RuntimeObject *WindowMenuBarGetter(RuntimeObject *window, int32_t index);
void WindowForceUpdateFrontBuffer(RuntimeObject *window);
void RuntimeShowWindow(RuntimeObject *window);
void RuntimeShowWithinWindow(RuntimeObject *window, RuntimeObject *parent, int32_t facing);
void RuntimeCloseWindow(RuntimeObject *window);
RuntimeObject *RuntimeControlReference(RuntimeObject *window, stringStorage *name);
void RectControlDefaultConstructor(RuntimeObject *control);
void RuntimeMassPropertySetter(RuntimeObject *object, stringStorage *stream);
void RuntimeInstallInstanceEventHandler(RuntimeObject *target, stringStorage *eventName,
                                        void *handler);
void RuntimeExchangeSelfAndMe(RuntimeObject **selfVariable, RuntimeObject **meVariable);
void controlEnabledSetter(RuntimeObject *control, int32_t index, int32_t enabled);
void staticCaptionSetter(RuntimeObject *label, int32_t index, stringStorage *text);
void editTextSetter(RuntimeObject *field, int32_t index, stringStorage *text);
stringStorage *editTextGetter(RuntimeObject *field, int32_t index);
void RuntimeMenuItemDefaultConstructor(RuntimeObject *item);
void RuntimeMenuItemAppend(RuntimeObject *parent, RuntimeObject *item);
RuntimeObject *RuntimeMenuItemItem(RuntimeObject *parent, int32_t index);
RuntimeObject *RuntimeMenuItemLookup(RuntimeObject *root, stringStorage *name);

/* ---- Layouts of the image's objects. ---- */

enum {
  kTCPSocketSize = 84,
  kWindowSize = 136,
  kTimerSize = 56,
  kSocketAddressOffset = 40, /* TCPSocket's Address: a plain string field */
  kTimerEnabledOffset = 40,  /* Timer's Enabled: an int field */
  kExceptionMessageOffset = 28,
  kMemoryBlockLittleEndianOffset = 33,
  kPortNumber = 7582,
  kNoWait = -1,
  kTimerModeOff = 0,
  kCommandClipboardText = 1,
  kEncodingsUTF8 = 1, /* the Encodings module's item for UTF-8 */
  /* A frame's header: total length and command, 4 bytes each. */
  kHeaderSize = 8,
  /* The largest frame accepted, header included. A length above it, or
   * below the header's size, cannot be a frame of ours: the peer is dropped. */
  kMaximumFrameSize = 64 * 1024 * 1024,
};

typedef struct {
  RuntimeObject header;
  unsigned char tcpSocket[kTCPSocketSize - sizeof(RuntimeObject)];
  stringStorage *mDataBuffer;
  stringStorage *mCommandResponse;
  int32_t mWaitForThisCommand;
} EasyTCPSocketObject;
_Static_assert(__builtin_offsetof(EasyTCPSocketObject, mDataBuffer) == 84, "EasyTCPSocket");
_Static_assert(sizeof(EasyTCPSocketObject) == 96, "EasyTCPSocket");

typedef struct {
  EasyTCPSocketObject easy;
  RuntimeObject *MyClipboardManager;
} ClipRemoteSocketObject;
_Static_assert(sizeof(ClipRemoteSocketObject) == 100, "ClipRemoteSocket");

typedef struct {
  RuntimeObject header;
  unsigned char window[kWindowSize - sizeof(RuntimeObject)];
  RuntimeObject *MyCMTimer;
  RuntimeObject *MyClipboardManager;
  unsigned char MyConnectionStatus;
  unsigned char pad1[3];
  RuntimeObject *MyConnection;
  unsigned char ConnSourceLocal;
  unsigned char pad2[3];
} AppWindowObject;
_Static_assert(__builtin_offsetof(AppWindowObject, MyCMTimer) == 136, "AppWindow");
_Static_assert(__builtin_offsetof(AppWindowObject, MyConnectionStatus) == 144, "AppWindow");
_Static_assert(__builtin_offsetof(AppWindowObject, ConnSourceLocal) == 152, "AppWindow");
_Static_assert(sizeof(AppWindowObject) == 156, "AppWindow");

typedef struct {
  RuntimeObject header;
  stringStorage *MyClipType;
  stringStorage *MyClipData;
  unsigned char MyClipLocal;
  unsigned char pad[3];
} ClipboardManagerObject;
_Static_assert(sizeof(ClipboardManagerObject) == 36, "ClipboardManager");

typedef struct {
  RuntimeObject header;
  unsigned char timer[kTimerSize - sizeof(RuntimeObject)];
  RuntimeObject *MyClipboardManager;
} ClipMonitorTimerObject;
_Static_assert(sizeof(ClipMonitorTimerObject) == 60, "ClipMonitorTimer");

/* The image's globals: one cache slot per class, the MenuBar1 instance, the
 * plug-in entry-point table, what RuntimeExit returned, and the count of
 * clipboard texts taken from the peer (the clipboard monitor drops a
 * reading during which that count moved: see ClipMonitorTimer.c). */
typedef struct {
  RuntimeClass *easyTCPSocket, *clipRemoteSocket, *appWindow, *clipboardManager,
      *clipMonitorTimer, *app, *menuBar1, *connectDialog, *aboutWindow;
  RuntimeObject *menuBar1Instance;
  void *pluginEntryPoints;
  RuntimeObject *exitResult;
  int32_t remoteUpdates;
} ImageGlobals;
extern ImageGlobals gImage;

/* ---- Class builders (each builds its class once and caches it). ---- */
RuntimeClass *EasyTCPSocketClass(void);
RuntimeClass *ClipRemoteSocketClass(void);
RuntimeClass *AppWindowClass(void);
RuntimeClass *ClipboardManagerClass(void);
RuntimeClass *ClipMonitorTimerClass(void);
RuntimeClass *AppClass(void);
RuntimeClass *MenuBar1Class(void);
RuntimeClass *ConnectDialogClass(void);
RuntimeClass *AboutWindowClass(void);

/* The implicit instances (one reference for the caller). */
RuntimeObject *AppWindowInstance(void);
RuntimeObject *ConnectDialogInstance(void);
RuntimeObject *AboutWindowInstance(void);
RuntimeObject *MenuBar1Instance(void);

/* ---- Methods one class calls on another. ---- */
void EasyTCPSocket_Constructor(RuntimeObject *self);
void EasyTCPSocket_SendMessage(RuntimeObject *self, int32_t command, stringStorage *data);
/* The EasyTCPSocket methods in table order, for a subclass's table. */
void EasyTCPSocket_FillMethods(RuntimeClass *cls, int32_t first);
/* The event slots EasyTCPSocket adds (ReceivedMessage, Error). */
int32_t EasyTCPSocket_ReceivedMessageSlot(void);
int32_t EasyTCPSocket_ErrorSlot(void);
void EasyTCPSocket_FillInterfaces(RuntimeClass *cls);

void ClipRemoteSocket_Constructor(RuntimeObject *self, RuntimeObject *manager);
void ClipboardManager_UpdateClipboardInfo(RuntimeObject *self, stringStorage *type,
                                          stringStorage *data, int32_t local);
void ClipboardManager_UpdateAppWindow(RuntimeObject *self);
void ClipboardManager_ForceSend(RuntimeObject *self);
void ClipMonitorTimer_Constructor(RuntimeObject *self, RuntimeObject *manager);
void AppWindow_SetInfo(RuntimeObject *self, stringStorage *type, stringStorage *data,
                       int32_t local);
void AppWindow_NotifyConnection(RuntimeObject *self);
void AppWindow_TryConnect(RuntimeObject *self, stringStorage *address);
void AppWindow_SendClipboard(RuntimeObject *self, stringStorage *type, stringStorage *data);
void MenuBar1_MenuBar1(RuntimeObject *self);

/* Raises the object's event at that slot, when a handler is installed. */
void *EventVector(RuntimeObject *object, int32_t slot);

#endif
