// The built-in Application class: the one application object's events
// (start, documents, quit, menu enabling, unhandled exceptions), its menu bar
// and menu handlers, its version and its quit policy; and the interfaces
// Readable and Writeable that stream-like classes implement.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// What the accessors show when given a nil application or menu name.
inline constexpr const char *kApplicationAlertSource = "../Common/application";
inline constexpr AlertSite kAppMenuBarGetterAlert{kApplicationAlertSource, 180, "app"};
inline constexpr AlertSite kAppMenuBarSetterAlert{kApplicationAlertSource, 188, "app"};
inline constexpr AlertSite kAddMenuHandlerSelfAlert{kApplicationAlertSource, 221, "self"};
inline constexpr AlertSite kAddMenuHandlerNameAlert{kApplicationAlertSource, 222, "name"};
inline constexpr AlertSite kAppAutoCloseGetterAlert{kApplicationAlertSource, 240, "self"};
inline constexpr AlertSite kAppAutoCloseSetterAlert{kApplicationAlertSource, 246, "self"};
inline constexpr AlertSite kAppDockItemAlert{"../Common/DockItem", 0, "app"};

ObjectDefinition *ApplicationClass();
ObjectDefinition *ReadableInterface();
ObjectDefinition *WriteableInterface();

// The events, for the code that fires them.
enum ApplicationEvent {
  kAppOpen,
  kAppClose,
  kAppEnableMenuItems,
  kAppNewDocument,
  kAppOpenDocument,
  kAppHandleAppleEvent,
  kAppActivate,
  kAppDeactivate,
  kAppUnhandledException,
};
// The object's handler for the event, or nil (also for a nil object).
void *FindApplicationHandler(RuntimeObject *app, ApplicationEvent event);

// True when the application may quit: every window of the language agreed
// and was closed, and Close fired. False while a quit test already runs.
bool TestApplicationQuit();
// Whether the application's UnhandledException handler took the exception;
// an EndException never reaches it, nor one raised while the handler runs.
bool TryApplicationUnhandledException(RuntimeObject *exception);

// A FolderItem for a path (relative paths against the application folder),
// from the files area.
RuntimeObject *NewFolderItemForPath(const char *path);
// The absolute path of a FolderItem (one reference; nil for nil), from the
// files area.
stringStorage *FolderItemAbsolutePath(RuntimeObject *item);
// A FolderItem for the running executable, from the files area.
RuntimeObject *NewAppFolderItem();
// A new Sound object (one reference for the caller) whose player plays the
// sound file at the absolute path, read from the byte offset; nil when none
// can be made. From the sound subsystem (desktop services); used by the
// resource getters and by folder items.
RuntimeObject *NewSoundForFile(const string &path, uint32_t offset);

extern "C" {
void ApplicationQuit();
void ApplicationNewDocument(RuntimeObject *app);
void ApplicationOpenDocument(RuntimeObject *app, RuntimeObject *item);
void ApplicationAddMenuHandler(RuntimeObject *app, stringStorage *name, void *handler);

void appMouseCursorSetter(RuntimeObject *app, int32_t param, RuntimeObject *cursor);
RuntimeObject *appResourceForkGetter(RuntimeObject *app, int32_t param);
int32_t AppBalloonHelpVisibleGetter(RuntimeObject *app, int32_t param);
void AppBalloonHelpVisibleSetter(RuntimeObject *app, int32_t param, int32_t value);
int32_t AppIntegerVersionStuffGetter(RuntimeObject *app, int32_t index);
stringStorage *AppStringVersionStuffGetter(RuntimeObject *app, int32_t index);
RuntimeObject *AppMenuBarGetter(RuntimeObject *app, int32_t param);
void AppMenuBarSetter(RuntimeObject *app, int32_t param, RuntimeObject *menuBar);
RuntimeObject *AppDockItemGetter(RuntimeObject *app, int32_t param);
int32_t AppAutoCloseGetter(RuntimeObject *app, int32_t param);
void AppAutoCloseSetter(RuntimeObject *app, int32_t param, int32_t value);
RuntimeObject *AppFolderItemGetter(RuntimeObject *app, int32_t param);

stringStorage *UnixNonIDEStringVer(int32_t index);
int32_t MacNonIDEIntVer(int32_t index);
stringStorage *MacNonIDEStringVer(int32_t index);
}
