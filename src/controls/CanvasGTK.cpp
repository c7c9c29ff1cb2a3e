#include <algorithm>

#include <gtk/gtk.h>

#include "controls/Canvas.h"
#include "foundation/TextEncodings.h"
#include "graphics/Drawable.h"
#include "graphics/Graphics.h"
#include "graphics/GraphicsServices.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/GTKHelper.h"

namespace {

template <typename Handler>
Handler HandlerOf(CanvasObject *object, CanvasEvent event) {
  if (!object)
    return nullptr;
  return reinterpret_cast<Handler>(FindObjectCode(&object->control.header, CanvasEventHook(event)));
}

Drawable *BackdropImage(CanvasObject *object) {
  auto *picture = object ? reinterpret_cast<PictureObject *>(object->backdrop) : nullptr;
  return picture ? picture->image : nullptr;
}

// Runs the call with the pane and its ancestors locked; true when the pane
// died meanwhile.
template <typename Call>
bool Protected(SubPane *pane, Call call) {
  pane->Protect();
  call();
  return pane->UnprotectCausesDeath();
}

} // namespace

RuntimeCanvas::RuntimeCanvas(CanvasObject *object, ContainerPane *container, int32_t tabPanelIndex,
                             const QV::Rect &bounds)
    : ContainerPane(container, tabPanelIndex, bounds), mObject(object),
      mVisible(object->control.visible) {
  SetWidget(gtk_fixed_new());
  GTKHelper::SetupWidget(this, true);
  g_signal_connect(GetWidget(), "expose-event", G_CALLBACK(GTKHelper::GenericPaintCallBack),
                   static_cast<SubPane *>(this));
  if (Drawable *image = BackdropImage(mObject))
    image->Preload();
}

void RuntimeCanvas::EstablishDrawingSurface() {
  if (!IsClosing())
    ContainerPane::EstablishDrawingSurface();
}

void RuntimeCanvas::DrawBackdrop(Graphics *g) {
  Drawable *image = BackdropImage(mObject);
  if (!image)
    return;
  int32_t width = 0, height = 0;
  image->getSize(&width, &height);
  auto *picture = reinterpret_cast<PictureObject *>(mObject->backdrop);
  g->CopyFromOffscreen(Bounds().left, Bounds().top, image, 0, 0, std::min(width, Width()),
                       std::min(height, Height()), picture->transparent & 0xFF);
  mDrawnGeneration = image->getGeneration();
}

void RuntimeCanvas::Redraw(Graphics *g) {
  if (!mVisible || !IsTabPanelVisible() || !mObject)
    return;
  g->SelectGraphics();
  QV::Rect visible;
  if (!GetVisibleUpdateBounds(&visible))
    return;
  QV::Rect bounds = Bounds(), clip;
  if (!QV::SectRect(&visible, &bounds, &clip))
    return;
  g->ClipRect(clip);
  DrawBackdrop(g);
  using Paint = void (*)(RuntimeObject *, RuntimeObject *);
  auto paint = HandlerOf<Paint>(mObject, CanvasEvent::kPaint);
  if (!paint || !LanguageGraphicsClass())
    return;
  Graphics *context = getGraphics();
  RuntimeObject *object = NewGraphicsObject(context);
  if (!object)
    return;
  {
    GraphicsClipSaver saver(context);
    paint(&mObject->control.header, object);
  }
  RuntimeUnlockObject(object);
}

// Paint draws in canvas coordinates into the given context; the contained
// controls follow.
void RuntimeCanvas::DrawIntoOffscreen(Graphics *g) {
  if (!mVisible || !IsTabPanelVisible() || !mObject)
    return;
  DrawBackdrop(g);
  using Paint = void (*)(RuntimeObject *, RuntimeObject *);
  if (auto paint = HandlerOf<Paint>(mObject, CanvasEvent::kPaint);
      paint && LanguageGraphicsClass()) {
    GraphicsClipSaver saver(g);
    g->ClipRect(Bounds());
    const int32_t h = g->GetOriginH(), v = g->GetOriginV();
    g->SetOrigin(-Bounds().left, -Bounds().top);
    if (RuntimeObject *object = NewGraphicsObject(g)) {
      paint(&mObject->control.header, object);
      reinterpret_cast<RuntimeGraphics *>(object)->context = nullptr; // the caller's
      RuntimeUnlockObject(object);
    }
    g->SetOrigin(h, v);
  }
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    QV::Rect r;
    if (child->IsShowing() && child->GetVisibleUpdateBounds(&r)) {
      g->ClipRect(&r);
      child->DrawIntoOffscreen(g);
    }
  }
}

void RuntimeCanvas::InvalidateIfBackdropChanged() {
  if (Drawable *image = BackdropImage(mObject); image && image->getGeneration() != mDrawnGeneration)
    InvalidatePane(true);
}

bool RuntimeCanvas::HandleClick(int32_t x, int32_t y, int32_t) {
  using Down = int32_t (*)(RuntimeObject *, int32_t, int32_t);
  auto down = HandlerOf<Down>(mObject, CanvasEvent::kMouseDown);
  if (!IsEnabled() || !down)
    return false;
  bool taken = false;
  RuntimeObject *object = &mObject->control.header;
  if (Protected(this, [&] { taken = down(object, x - Bounds().left, y - Bounds().top) != 0; }))
    return true;
  if (taken) {
    CaptureMouse(this);
    return true;
  }
  return IsClosing();
}

bool RuntimeCanvas::HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) {
  if (ContainerPane::HandleCMMClick(x, y, modifiers))
    return true;
  gCMMClick = true;
  const bool handled = HandleClick(x, y, modifiers);
  gCMMClick = false;
  return handled;
}

void RuntimeCanvas::HandleMouseDrag(int32_t x, int32_t y) {
  using Drag = void (*)(RuntimeObject *, int32_t, int32_t);
  auto drag = HandlerOf<Drag>(mObject, CanvasEvent::kMouseDrag);
  if (!drag)
    return;
  RuntimeObject *object = &mObject->control.header;
  if (!Protected(this, [&] { drag(object, x - Bounds().left, y - Bounds().top); }))
    FlushPort();
}

void RuntimeCanvas::HandleMouseUp(int32_t x, int32_t y) {
  using Up = void (*)(RuntimeObject *, int32_t, int32_t);
  auto up = HandlerOf<Up>(mObject, CanvasEvent::kMouseUp);
  if (!up)
    return;
  RuntimeObject *object = &mObject->control.header;
  Protected(this, [&] { up(object, x - Bounds().left, y - Bounds().top); });
}

namespace {

void FireProtected(RuntimeCanvas *pane, CanvasObject *object, CanvasEvent event) {
  using Handler = void (*)(RuntimeObject *);
  if (auto handler = HandlerOf<Handler>(object, event))
    Protected(pane, [&] { handler(&object->control.header); });
}

} // namespace

void RuntimeCanvas::GainedFocus() {
  if (!IsClosing())
    FireProtected(this, mObject, CanvasEvent::kGotFocus);
}

void RuntimeCanvas::LostFocus() {
  if (!IsClosing())
    FireProtected(this, mObject, CanvasEvent::kLostFocus);
}

void RuntimeCanvas::EnableMenuOptions() {
  FireProtected(this, mObject, CanvasEvent::kEnableMenuItems);
}

bool RuntimeCanvas::AcceptFocus() {
  return mObject && mObject->acceptFocus && IsEnabled() && mVisible && IsTabPanelVisible();
}

bool RuntimeCanvas::KeyDown(const char *bytes, int n, uint32_t encoding) {
  using Handler = int32_t (*)(RuntimeObject *, stringStorage *);
  auto handler = HandlerOf<Handler>(mObject, CanvasEvent::kKeyDown);
  if (!handler)
    return false;
  string text;
  text.ConstructFromBuffer(bytes, n);
  text.SetEncoding(encoding);
  return handler(&mObject->control.header, text.Storage()) != 0 || IsClosing();
}

// Tab moves the focus unless the canvas accepts tabs.
bool RuntimeCanvas::HandleKeyPress(int32_t ch, int32_t, int32_t) {
  if (ch == '\t' && !(mObject && mObject->acceptTabs))
    return false;
  const char byte = static_cast<char>(ch);
  return KeyDown(&byte, 1, GetSystemEncoding());
}

bool RuntimeCanvas::HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers) {
  if (code < 128)
    return HandleKeyPress(code, key, modifiers);
  unsigned char bytes[4];
  const int n = UTF8Encode(static_cast<unsigned long>(code), bytes);
  return KeyDown(reinterpret_cast<const char *>(bytes), n, kEncodingUTF8);
}

void RuntimeCanvas::HandleAction(int32_t action) {
  if (action == 7 || action == 8) {
    mVisible = action == 7;
    InvalidatePane(true);
  }
  ContainerPane::HandleAction(action);
}

bool RuntimeCanvas::UpdateBounds(QV::Rect *r) {
  QV::InsetRect(r, -3, -3);
  return true;
}

void RuntimeCanvas::Close() {
  if (mObject && mObject->control.pane == this)
    mObject->control.pane = nullptr;
  ContainerPane::Close();
}
