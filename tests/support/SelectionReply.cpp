#include "support/SelectionReply.h"

void SendSelectionNotify(Display *display, const XSelectionRequestEvent &request, Atom property) {
  XSelectionEvent reply{};
  reply.type = SelectionNotify;
  reply.requestor = request.requestor;
  reply.selection = request.selection;
  reply.target = request.target;
  reply.property = property;
  reply.time = request.time;
  XSendEvent(display, request.requestor, False, 0, reinterpret_cast<XEvent *>(&reply));
  XFlush(display);
}
