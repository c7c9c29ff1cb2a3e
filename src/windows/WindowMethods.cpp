// The methods of the Window class that act on the native window: showing
// within a parent, redrawing, drop types, the controls by position, focus
// and drawing into a Graphics object. Each does nothing while the window is
// not open.
#include "foundation/TextEncodings.h"
#include "graphics/Graphics.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/RunLoop.h"
#include "windows/RuntimeWindow.h"
#include "windows/WindowClass.h"

namespace {

string Ascii(const char *text) {
  string s(text);
  s.SetEncoding(kEncodingASCII);
  return s;
}

} // namespace

extern "C" {

void RuntimeShowWithinWindow(RuntimeView *window, RuntimeView *parent, int32_t facing) {
  if (!window)
    return;
  window->visible = 1;
  if (RuntimeViewWindow *w = Native(window)) {
    w->ShowWindow();
    w->SelectWindow(Native(parent), facing);
  }
}

void RuntimeShowModalWithinWindow(RuntimeView *window, RuntimeView *parent) {
  RuntimeViewWindow *w = Native(window);
  if (!w)
    return;
  // Closing the window may drop every other reference to the object.
  RuntimeLockObject(&window->header);
  window->visible = 1;
  w->ShowWindow();
  w->SelectWindow(Native(parent), -1);
  while (window->nativeWindow && window->nativeWindow->IsVisible())
    ModalEvents();
  RuntimeUnlockObject(&window->header);
}

void formRefresh(RuntimeView *window, int32_t eraseBackground) {
  if (RuntimeViewWindow *w = Native(window)) {
    w->InvalidatePane(eraseBackground != 0);
    SubPane::TriggerRefresh();
  }
}

void formRefreshRect(RuntimeView *window, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t eraseBackground) {
  if (RuntimeViewWindow *w = Native(window)) {
    w->InvalidatePaneRect(x, y, x + width, y + height, eraseBackground != 0);
    SubPane::TriggerRefresh();
  }
}

void formAcceptTextDrop(RuntimeView *window) {
  if (RuntimeViewWindow *w = Native(window)) {
    w->acceptTypeDrop(Ascii("utxt"));
    w->acceptTypeDrop(Ascii("TEXT"));
  }
}

void formAcceptPictureDrop(RuntimeView *window) {
  if (RuntimeViewWindow *w = Native(window))
    w->acceptTypeDrop(Ascii("PICT"));
}

void formAcceptFileDrop(RuntimeView *window, stringStorage *type) {
  if (RuntimeViewWindow *w = Native(window))
    w->acceptFileDrop(string::Borrow(type));
}

void formAcceptMacDataDrop(RuntimeView *window, stringStorage *type) {
  if (RuntimeViewWindow *w = Native(window))
    w->acceptTypeDrop(string::Borrow(type));
}

RuntimeObject *windowControl(RuntimeView *window, int32_t index) {
  RuntimeObject *found = nullptr;
  if (window && window->controlMap && index >= 0) {
    int32_t position = 0;
    StringMapIterator<RuntimeObject *> *it = window->controlMap->NewIterator();
    RuntimeObject *object = nullptr;
    while (!found && it->Next(&object))
      if (IsControl(object) && position++ == index)
        found = object;
    delete it;
  }
  if (!found) {
    RaiseOutOfBoundsException();
    return nullptr;
  }
  RuntimeLockObject(found);
  return found;
}

void formSetFocus(RuntimeView *window) {
  if (RuntimeViewWindow *w = Native(window))
    SetFocusPane(w->GetFocus());
}

void formDrawInto(RuntimeView *window, RuntimeObject *graphics, int32_t x, int32_t y, int32_t) {
  RuntimeViewWindow *w = Native(window);
  Graphics *context = graphics ? reinterpret_cast<RuntimeGraphics *>(graphics)->context : nullptr;
  if (!w || !context)
    return;
  int32_t h = context->GetOriginH(), v = context->GetOriginV();
  context->SetOrigin(h - x, v - y);
  w->DrawIntoOffscreen(context);
  context->SetOrigin(h, v);
}

// Drawing reaches the screen through GTK+'s own updates.
void WindowForceUpdateFrontBuffer(RuntimeView *) {}

} // extern "C"
