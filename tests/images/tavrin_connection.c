/* The application's ClipRemoteSocket on port 7582 with stand-ins for the
 * clipboard manager and the main window: each text the socket hands to the
 * manager goes back to the peer as a frame whose command is 100 plus the
 * count of remote texts so far, and a connection that ends is followed by
 * listening again, as the main window does. */
#include "../../app/ClassBuilding.h"
#include "../../app/Tavrin.h"

KIT_LIBRARY_FUNCTION(_exit, "libc.so.6");
void _exit(int status);

ImageGlobals gImage;
static RuntimeObject *sSocket;

void ClipboardManager_UpdateClipboardInfo(RuntimeObject *self, stringStorage *type,
                                          stringStorage *data, int32_t local) {
  EasyTCPSocket_SendMessage(sSocket, 100 + gImage.remoteUpdates, data);
}

RuntimeObject *AppWindowInstance(void) { return 0; }

void AppWindow_NotifyConnection(RuntimeObject *self) {
  if (!SocketIsConnected(sSocket))
    SocketListen(sSocket);
}

void ImageEntry(void) {
  ClassCounts none = {0, 0, 0, 0, 0};
  RuntimeClass *managerClass;
  RuntimeObject *manager;
  RuntimeInit();
  managerClass = NewImageClass(0, none, none, KIT_STRING("ManagerStandIn"), 24, 0);
  manager = RuntimeNewObject(managerClass);
  sSocket = RuntimeNewObject(ClipRemoteSocketClass());
  if (!manager || !sSocket)
    _exit(KitFailedCheck(3, "the socket and the manager's stand-in are made"));
  ClipRemoteSocket_Constructor(sSocket, manager);
  SocketListen(sSocket);
  RuntimeRun();
  _exit(0);
}
