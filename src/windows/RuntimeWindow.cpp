#include "windows/RuntimeWindow.h"

#include <iterator>
#include <vector>

#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "graphics/Graphics.h"
#include "graphics/Drawable.h"
#include "graphics/GraphicsServices.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "runtime/startup/UpperAreaHooks.h"
#include "windows/ControlServices.h"
#include "windows/ControlWalk.h"
#include "windows/DesktopServices.h"
#include "windows/HandlerCalls.h"
#include "windows/MenuServices.h"
#include "windows/RunLoopRegisters.h"

RuntimeViewWindow *gRuntimeViewWindowList = nullptr;


namespace {

// The pixel image of the window's Backdrop picture, or nil.
Drawable *BackdropImage(RuntimeView *view) {
  if (!view || !view->backdrop)
    return nullptr;
  return reinterpret_cast<PictureObject *>(view->backdrop)->image;
}


void *Handler(RuntimeView *view, WindowEvent event) {
  return view ? FindObjectCode(&view->header, WindowBaseHooks[event].hook) : nullptr;
}

// Each fires the event when the object has a handler; a Boolean event
// without one answers false.
bool Fire(RuntimeView *view, WindowEvent event) {
  void *code = Handler(view, event);
  return code && CallHandler(code, &view->header) != 0;
}

bool Fire(RuntimeView *view, WindowEvent event, intptr_t arg) {
  void *code = Handler(view, event);
  return code && CallHandler(code, &view->header, arg) != 0;
}

bool Fire(RuntimeView *view, WindowEvent event, int32_t x, int32_t y) {
  void *code = Handler(view, event);
  return code && CallHandler(code, &view->header, x, y) != 0;
}

void FireControl(RuntimeObject *control, ControlEvent event) {
  if (void *code = FindObjectCode(control, ControlEventHook(event)))
    CallHandler(code, control);
}

void FireControl(RuntimeObject *control, ControlEvent event, int32_t x, int32_t y) {
  if (void *code = FindObjectCode(control, ControlEventHook(event)))
    CallHandler(code, control, x, y);
}

// Closes the sockets among a window's objects (they are not controls),
// through the networking area's hook.
void CloseWindowSockets(RuntimeView *view) {
  void (*CloseSocketOfObject)(RuntimeObject *) = GetUpperAreaHooks().closeSocketOfObject;
  if (!CloseSocketOfObject || !view || !view->controlMap)
    return;
  std::vector<RuntimeObject *> objects;
  StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
  RuntimeObject *object = nullptr;
  while (it->Next(&object))
    if (object) {
      RuntimeLockObject(object);
      objects.push_back(object);
    }
  delete it;
  for (RuntimeObject *each : objects) {
    CloseSocketOfObject(each);
    RuntimeUnlockObject(each);
  }
}


bool UnderPoint(const ControlFields &f, int32_t x, int32_t y) {
  SubPane *pane = *f.pane;
  return pane && pane->IsShowing() && QV::PtInRect(QV::Point{y, x}, f.bounds);
}

// A control's exit: its pane hears it, then its MouseExit; the flag clears.
void ControlExit(RuntimeObject *c, const ControlFields &f) {
  if (*f.pane)
    (*f.pane)->HandleMouseExit();
  FireControl(c, ControlEvent::kMouseExit);
  *f.mouseInside = 0;
}

string WindowTitle(RuntimeView *view) { return string::Borrow(view->title); }

} // namespace

bool IsControl(RuntimeObject *object) {
  ObjectDefinition *control = BuiltinClassOrNil(GetBuiltinClassHooks().ControlClass);
  return object && control && RuntimeObjectIsa(object, LookupObjectDefinition(control));
}

RuntimeWindow::RuntimeWindow(const string &title, const QV::Rect &bounds, WindowType type,
                             bool closeBox, bool growIcon, bool zoomIcon, int32_t procId,
                             bool composite, bool liveResize)
    : Window(title, bounds, type, closeBox, 0, growIcon, zoomIcon, procId, composite, liveResize) {}

bool RuntimeWindow::IsRuntimeWindow() { return true; }

RuntimeViewWindow::RuntimeViewWindow(RuntimeView *view, WindowType type)
    : RuntimeWindow(WindowTitle(view), view->bounds, type, view->closeBox, view->growIcon,
                    view->zoomIcon, view->macProcId, view->composite, view->pendingLiveResize),
      mView(view), mNext(gRuntimeViewWindowList) {
  setProperty(string("RuntimeViewWindow"), 1);
  gRuntimeViewWindowList = this;
  RuntimeLockObject(&view->header);
  mMinimizeHandler = Handler(view, kMinimizeEvent);
  mMaximizeHandler = Handler(view, kMaximizeEvent);
  mRestoreHandler = Handler(view, kRestoreEvent);
  view->nativeWindow = this;
}

RuntimeViewWindow *RuntimeViewWindow::Open(RuntimeView *view, WindowType type) {
  auto *w = new RuntimeViewWindow(view, type);
  // A handler that closes the window must not delete it under the steps.
  w->Protect();
  w->Build();
  return w->UnprotectCausesDeath() ? nullptr : w;
}

void RuntimeViewWindow::Build() {
  RuntimeView *view = mView;
  auto closed = [this] { return IsClosing() || !mView; };
  if (view->menuBar)
    WindowMenuBarSetter(&view->header, 0, view->menuBar);
  if (!view->visible)
    HideWindow();
  Fire(view, kCreateControlsEvent);
  if (closed())
    return;
  view->opened = 1;
  {
    ControlWalk walk(view);
    for (RuntimeObject *c : walk)
      CreateNewControlPane(c);
  }
  if (closed())
    return;
  if (view->hasBackColor)
    SetBackgroundColour(view->backColor);
  setBalloonHelp(string::Borrow(view->balloonHelp));
  if (view->pendingFullScreen)
    windowFullScreenSetter(&view->header, 0, 1);
  Fire(view, kSetupBindingsEvent);
  if (closed())
    return;
  if (Drawable *image = BackdropImage(view))
    image->Preload();
}

RuntimeViewWindow::~RuntimeViewWindow() {
  for (RuntimeViewWindow **link = &gRuntimeViewWindowList; *link; link = &(*link)->mNext)
    if (*link == this) {
      *link = mNext;
      break;
    }
  if (mView) {
    mView->nativeWindow = nullptr;
    RuntimeObject *view = &mView->header;
    mView = nullptr;
    RuntimeUnlockObject(view);
  }
}

bool RuntimeViewWindow::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  if (Window::HandleClick(x, y, modifiers))
    return true;
  if (Fire(mView, kMouseDownEvent, x, y)) {
    if (!IsClosing())
      CaptureMouse(this);
    return true;
  }
  return IsClosing(); // the handler closed the window: the click is used
}

bool RuntimeViewWindow::HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) {
  return HandleClick(x, y, modifiers);
}

void RuntimeViewWindow::HandleMouseDrag(int32_t x, int32_t y) {
  Fire(mView, kMouseDragEvent, x, y);
}
void RuntimeViewWindow::HandleMouseUp(int32_t x, int32_t y) { Fire(mView, kMouseUpEvent, x, y); }

bool RuntimeViewWindow::ExitControls(bool everywhere, int32_t x, int32_t y) {
  Protect();
  {
    ControlWalk walk(mView);
    for (RuntimeObject *c : walk) {
      ControlFields f = FieldsOfControl(c);
      if (*f.mouseInside && (everywhere || !UnderPoint(f, x, y)))
        ControlExit(c, f);
    }
  }
  return !UnprotectCausesDeath() && !IsClosing();
}

void RuntimeViewWindow::HandleMouseMove(int32_t x, int32_t y) {
  if (IsClosing() || !ExitControls(false, x, y))
    return;
  Protect();
  {
    ControlWalk walk(mView);
    for (RuntimeObject *c : walk) {
      ControlFields f = FieldsOfControl(c);
      if (!UnderPoint(f, x, y))
        continue;
      if (!*f.mouseInside) {
        (*f.pane)->HandleMouseEnter();
        FireControl(c, ControlEvent::kMouseEnter);
        *f.mouseInside = 1;
      }
      if (SubPane *pane = *f.pane)
        pane->HandleMouseMove(x - f.bounds->left, y - f.bounds->top);
      FireControl(c, ControlEvent::kMouseMove, x - f.bounds->left, y - f.bounds->top);
    }
  }
  if (UnprotectCausesDeath() || IsClosing())
    return;
  Fire(mView, kMouseMoveEvent, x, y);
}

void RuntimeViewWindow::MouseEnter() { Fire(mView, kMouseEnterEvent); }

void RuntimeViewWindow::MouseLeave() {
  if (!IsClosing() && ExitControls(true, 0, 0))
    Fire(mView, kMouseExitEvent);
}

bool RuntimeViewWindow::HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) {
  if (Handler(mView, kKeyDownEvent)) {
    char byte = static_cast<char>(ch);
    string text;
    text.ConstructFromBuffer(&byte, 1);
    text.SetEncoding(GetSystemEncoding());
    if (Fire(mView, kKeyDownEvent, reinterpret_cast<intptr_t>(text.Storage())) || IsClosing())
      return true;
  }
  return Window::HandleKeyPress(ch, key, modifiers);
}

bool RuntimeViewWindow::HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers) {
  if (code < 128)
    return HandleKeyPress(code, key, modifiers);
  if (!Handler(mView, kKeyDownEvent))
    return SubPane::HandleUnicodeInput(code, key, modifiers);
  unsigned char bytes[4];
  int n = UTF8Encode(static_cast<unsigned long>(code), bytes);
  string text;
  text.ConstructFromBuffer(reinterpret_cast<const char *>(bytes), n);
  text.SetEncoding(kEncodingUTF8);
  return Fire(mView, kKeyDownEvent, reinterpret_cast<intptr_t>(text.Storage())) || IsClosing();
}

void RuntimeViewWindow::Activate() {
  if (!mView)
    return;
  if (mView->menuBarVisible)
    rmbShowMenuBar();
  else
    rmbHideMenuBar();
  if (!IsClosing())
    Window::Activate();
  Fire(mView, kActivateEvent);
}

void RuntimeViewWindow::Deactivate() {
  Fire(mView, kDeactivateEvent);
  if (!IsClosing())
    Window::Deactivate();
}

void RuntimeViewWindow::Moved() {
  if (!mView)
    return;
  GetWindowBounds(&mView->bounds);
  Fire(mView, kMovedEvent);
}

void RuntimeViewWindow::Resized() {
  Window::Resized();
  if (!mView)
    return;
  GetWindowBounds(&mView->bounds);
  HonorControlLocking(mView->bounds);
  if (!IsClosing())
    Fire(mView, kResizedEvent);
}

void RuntimeViewWindow::Resizing() {
  if (GetLiveResize())
    Resized();
  Fire(mView, kResizingEvent);
}

void RuntimeViewWindow::HonorControlLocking(const QV::Rect &r) {
  if (!mView || IsClosing())
    return;
  int32_t dW = (r.right - r.left) - (mView->laidOutBounds.right - mView->laidOutBounds.left);
  int32_t dH = (r.bottom - r.top) - (mView->laidOutBounds.bottom - mView->laidOutBounds.top);
  mView->laidOutBounds = r;
  ControlWalk walk(mView);
  for (RuntimeObject *c : walk) {
    ControlFields f = FieldsOfControl(c);
    if (!*f.lockRight && !*f.lockBottom)
      continue;
    QV::Rect b = *f.bounds;
    if (*f.lockRight) {
      b.right = static_cast<int16_t>(b.right + dW);
      if (!*f.lockLeft)
        b.left = static_cast<int16_t>(b.left + dW);
    }
    if (*f.lockBottom) {
      b.bottom = static_cast<int16_t>(b.bottom + dH);
      if (!*f.lockTop)
        b.top = static_cast<int16_t>(b.top + dH);
    }
    *f.bounds = b;
    if (SubPane *pane = *f.pane)
      pane->ResizePane(b);
  }
}

void RuntimeViewWindow::RestrictSize(QV::Rect *limits) {
  Window::RestrictSize(limits);
  if (!mView)
    return;
  if (mView->minWidth)
    limits->left = mView->minWidth;
  if (mView->minHeight)
    limits->top = mView->minHeight;
  if (mView->maxWidth)
    limits->right = mView->maxWidth;
  if (mView->maxHeight)
    limits->bottom = mView->maxHeight;
}

void RuntimeViewWindow::RedrawBackdrop(Graphics *context) {
  if (Drawable *image = BackdropImage(mView)) {
    int32_t width = 0, height = 0;
    image->getSize(&width, &height);
    auto *picture = reinterpret_cast<PictureObject *>(mView->backdrop);
    context->CopyFromOffscreen(0, 0, image, 0, 0, width, height, picture->transparent & 0xFF);
    mView->drawnBackdropGeneration = image->getGeneration();
  }
  if (!LanguageGraphicsClass() || !Handler(mView, kPaintEvent))
    return;
  // The event's object draws with a context of its own, released with it.
  RuntimeObject *g = NewGraphicsObject(getGraphics());
  if (!g)
    return;
  Fire(mView, kPaintEvent, reinterpret_cast<intptr_t>(g));
  RuntimeUnlockObject(g);
}

void RuntimeViewWindow::DropObject(int32_t, int32_t) {
  if (RuntimeObject *item = GTKDragHelper::GetCurrentDragObject())
    Fire(mView, kDropObjectEvent, reinterpret_cast<intptr_t>(item));
}

bool RuntimeViewWindow::CloseBoxClicked() { return UnifiedClose(); }

bool RuntimeViewWindow::UnifiedClose() {
  if (mView && FireCancelCloseEvent(&mView->header, 0))
    return true;
  Close();
  if (gRuntimeViewWindowList && gRuntimeViewWindowList->mView &&
      !gRuntimeViewWindowList->mView->menuBarVisible)
    rmbHideMenuBar();
  else
    rmbShowMenuBar();
  return false;
}

void RuntimeViewWindow::Close() {
  if (IsClosing())
    return;
  SetClosing();
  Lock();
  FireWindowCloseEvents();
  if (Unlock())
    return; // deleted meanwhile
  if (RuntimeView *view = mView) {
    RemoveFromImplicitWindowList(&view->header);
    if (StringMap<RuntimeObject *> *map = view->controlMap) {
      StringMapIterator<RuntimeObject *> *it = map->NewIterator();
      RuntimeObject *object = nullptr;
      while (it->Next(&object)) {
        bool control = IsControl(object);
        bool lastReference = object && object->refCount < 2;
        RuntimeUnlockObject(object);
        if (!control || lastReference)
          it->Delete();
      }
      delete it;
    }
    delete view->mMenuHandlers;
    view->mMenuHandlers = nullptr;
    view->nativeWindow = nullptr;
    mView = nullptr;
    RuntimeUnlockObject(&view->header);
  }
  KillWindowMovies(this);
  Window::Close();
}

void RuntimeViewWindow::FireWindowCloseEvents() {
  {
    ControlWalk walk(mView);
    for (RuntimeObject *c : walk) {
      ControlFields f = FieldsOfControl(c);
      if (*f.pane && GetFocusPane() == *f.pane)
        InvalidateFocus();
      FireControl(c, ControlEvent::kClose);
    }
  }
  if (!mView)
    return;
  Fire(mView, kCloseEvent);
  CloseWindowSockets(mView);
}

void RuntimeViewWindow::Minimize() {
  if (mMinimizeHandler && mView)
    CallHandler(mMinimizeHandler, &mView->header);
}

void RuntimeViewWindow::Maximize() {
  if (mMaximizeHandler && mView)
    CallHandler(mMaximizeHandler, &mView->header);
}

void RuntimeViewWindow::Restore() {
  if (mRestoreHandler && mView)
    CallHandler(mRestoreHandler, &mView->header);
}

namespace {

std::vector<RuntimeViewWindow *> SnapshotRuntimeWindows() {
  std::vector<RuntimeViewWindow *> all;
  for (RuntimeViewWindow *w = gRuntimeViewWindowList; w; w = w->NextRuntimeWindow())
    all.push_back(w);
  return all;
}

bool IsListed(RuntimeViewWindow *w) {
  for (RuntimeViewWindow *p = gRuntimeViewWindowList; p; p = p->NextRuntimeWindow())
    if (p == w)
      return true;
  return false;
}

} // namespace

void FireCloseEvents() {
  // Each window is closed once; one that stays listed (still protected)
  // does not make the walk spin.
  for (RuntimeViewWindow *w : SnapshotRuntimeWindows())
    if (IsListed(w) && !w->IsClosing())
      w->Close();
}

bool IterateRuntimeWindowList(bool (*fn)(RuntimeViewWindow *w, void *arg), void *arg) {
  // A call may close any window: one gone since the snapshot is skipped.
  for (RuntimeViewWindow *w : SnapshotRuntimeWindows())
    if (IsListed(w) && !fn(w, arg))
      return false;
  return true;
}

void IterateLanguageWindows(LanguageWindowVisitor visit, void *ref) {
  for (RuntimeViewWindow *w : SnapshotRuntimeWindows())
    if (IsListed(w) && w->GetView() && !visit(w->GetView(), ref))
      return;
}

void CreateNewControlPane(RuntimeObject *control) {
  if (!control) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/CommonRunView", 1606, "n",
                             "We weren't passed in a control, we got nil.");
    return;
  }
  FireControl(control, ControlEvent::kCreatePane);
  ControlFields f = FieldsOfControl(control);
  SubPane *pane = *f.pane;
  if (!pane)
    return;
  pane->SetTabPanelIndex(*f.tabPanelIndex);
  pane->SetAutoDeactivate(*f.autoDeactivate);
  if (!*f.visible)
    pane->HandleAction(8);
  if (!*f.enabled)
    pane->HandleAction(6);
  auto *view = reinterpret_cast<RuntimeView *>(*f.window);
  ControlWalk walk(view);
  for (RuntimeObject *other : walk) {
    SubPane *container = other == control ? nullptr : *FieldsOfControl(other).pane;
    if (!container || !container->Contains(pane, true))
      continue;
    if (!container->IsEnabled() && pane->IsEnabled())
      pane->HandleAction(6);
    if (!container->IsVisible() && pane->IsVisible())
      pane->HandleAction(8);
  }
  pane->setBalloonHelp(string::Borrow(*f.balloonHelp));
  pane->setDisabledBalloonHelp(string::Borrow(*f.disabledBalloonHelp));
  pane->SetHelpTag(string::Borrow(*f.helpTag));
  pane->addDelegate(new RuntimePaneDelegate(control));
}

RuntimePaneDelegate::RuntimePaneDelegate(RuntimeObject *control) : mControl(control) {
  RuntimeLockObject(control);
}

RuntimePaneDelegate::~RuntimePaneDelegate() { RuntimeUnlockObject(mControl); }

void RuntimePaneDelegate::PaneClosing(Pane *p) {
  if (p->GetDelegate() != this)
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/CommonRunView", 1694,
                             "ctl->mDelegate == this", nullptr);
  // The control must not keep a pane that is going away with its window.
  SubPane **pane = FieldsOfControl(mControl).pane;
  if (*pane && static_cast<Pane *>(*pane) == p)
    *pane = nullptr;
  p->ClearDelegate();
  delete this;
}

void RuntimePaneDelegate::PaneDropObject(Pane *, int32_t, int32_t) {
  RuntimeObject *item = GTKDragHelper::GetCurrentDragObject();
  if (!item)
    return;
  if (void *code = FindObjectCode(mControl, ControlEventHook(ControlEvent::kDropObject)))
    CallHandler(code, mControl, reinterpret_cast<intptr_t>(item));
}

namespace {
SubPane *ControlEmbedder(RuntimeObject *control) {
  SubPane *pane = *FieldsOfControl(control).pane;
  return pane ? pane->GetParent() : nullptr;
}
} // namespace

bool RuntimePaneDelegate::PaneEstablishDrawingSurface() {
  SubPane *embedder = ControlEmbedder(mControl);
  if (!embedder)
    return false;
  embedder->EstablishDrawingSurface();
  return true;
}

bool RuntimePaneDelegate::PaneResetDrawingSurface() {
  SubPane *embedder = ControlEmbedder(mControl);
  if (!embedder)
    return false;
  embedder->ResetDrawingSurface();
  return true;
}

void RuntimePaneDelegate::PaneClipToBounds(Pane *, QV::Rect *r) {
  if (SubPane *embedder = ControlEmbedder(mControl))
    QV::SectRect(r, &embedder->Bounds(), r);
}

bool FireWindowEvent(RuntimeView *view, WindowEvent event) { return Fire(view, event); }

void FireControlEvent(RuntimeObject *control, ControlEvent event) { FireControl(control, event); }

extern "C" int32_t FireCancelCloseEvent(RuntimeObject *view, int32_t appQuitting) {
  if (!view) {
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/ClassLib/RuntimeWindow",
                             0, "form", nullptr);
    return 0;
  }
  return Fire(reinterpret_cast<RuntimeView *>(view), kCancelCloseEvent, appQuitting ? 1 : 0) ? 1
                                                                                             : 0;
}
