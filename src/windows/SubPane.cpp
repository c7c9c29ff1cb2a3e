#include "windows/SubPane.h"

#include "foundation/AssertionAlert.h"
#include "foundation/QVTime.h"
#include "graphics/Graphics.h"
#include "windows/DesktopServices.h"
#include "windows/GTKHelper.h"
#include "windows/RunLoopRegisters.h"
#include "windows/Window.h"

namespace {

constexpr const char *kSource = "../Common/SubPane";

void Alert(int line, const char *condition, const char *message = nullptr) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, line, condition, message);
}

SubPaneWatcher *sWatchers = nullptr;

} // namespace

bool gCMMClick = false;

namespace {

void FreeTypes(AcceptedType *list) {
  while (list) {
    AcceptedType *next = list->next;
    delete list;
    list = next;
  }
}

bool ListHolds(const AcceptedType *list, const string &type) {
  for (; list; list = list->next)
    if (list->type.Compare(type) == 0)
      return true;
  return false;
}

} // namespace

SubPane::SubPane(SubPane *parent, int32_t tabPanelIndex, const QV::Rect &bounds, bool embed)
    : Pane(bounds), mTabPanelIndex(tabPanelIndex), mChildren(new Children) {
  mActive = parent ? parent->mActive : 1;
  mTooltips = gtk_tooltips_new();
  g_object_ref_sink(mTooltips);
  if (!parent)
    return; // a window
  SubPane *w = GetSubPaneWindow(parent);
  Window *window = dynamic_cast<Window *>(w);
  SubPane *candidate = parent;
  if (parent == w && window)
    for (int32_t i = 0; i < window->CountPanes(); ++i)
      if (SubPane *p = window->PaneAt(i); p->CanContain(this, false, true))
        candidate = p;
  if (!candidate->AddChild(this))
    w->AddChild(this);
  if (parent == w && window)
    window->AppendPane(this);
  if (embed)
    HIViewizeIfNeeded();
}

SubPane::~SubPane() {
  MarkSubPaneDeleted(this);
  if (GetFocusPane() == this)
    InvalidateFocus();
  if (currentPane == this) {
    ResetDrawingSurface();
    currentPane = nullptr;
  }
  if (GetFocusPane() == this)
    Alert(749, "this != GetFocusPane()");
  if (currentPane == this)
    Alert(750, "this != currentPane");
  if (mLockCount > 0)
    Alert(751, "mLockCount <= 0");
  if (GetCaptureMouse() == this)
    ReleaseMouse();
  FreeTypes(mDropTypes);
  FreeTypes(mFileTypes);
  // Children still listed (protected when this pane went) lose their embedder.
  for (int32_t i = 0; i < mChildren->list.GetCount(); ++i)
    if (auto *child = static_cast<SubPane *>(mChildren->list.GetElement(i));
        child->mChildren->embedder == this)
      child->mChildren->embedder = nullptr;
  delete mChildren;
  if (mGC)
    g_object_unref(mGC);
  if (mTooltips) {
    gtk_object_destroy(GTK_OBJECT(mTooltips));
    g_object_unref(mTooltips);
  }
  if (mWidget)
    gtk_widget_destroy(mWidget);
}

SubPane *SubPane::ChildAt(int32_t i) const {
  return static_cast<SubPane *>(mChildren->list.GetElement(i));
}

bool SubPane::isSubPane() { return true; }

void SubPane::Update() {
  Graphics *g = getGraphics();
  RedrawWithContent(g, true);
  g->Release();
}

void SubPane::Redraw(Graphics *) {}

void SubPane::EstablishDrawingSurface() {
  if (mDelegate && mDelegate->PaneEstablishDrawingSurface())
    return;
  if (SubPane *e = GetEmbedder())
    e->EstablishDrawingSurface();
}

void SubPane::ResetDrawingSurface() {
  if (mDelegate && mDelegate->PaneResetDrawingSurface())
    return;
  if (SubPane *e = GetEmbedder())
    e->ResetDrawingSurface();
}

void SubPane::EstablishFont() {}

bool SubPane::HandleClick(int32_t x, int32_t y, int32_t modifiers) {
  SubPane *worker = GetWorkerPane();
  return worker != this && worker ? worker->HandleClick(x, y, modifiers) : false;
}

bool SubPane::HandleCMMClick(int32_t x, int32_t y, int32_t modifiers) {
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    SubPane *child = ChildAt(i);
    if (!child->IsShowing())
      continue;
    QV::Rect r = child->ClippedBounds();
    if (QV::PtInRect(QV::Point{y, x}, &r) && child->HandleCMMClick(x, y, modifiers))
      return true;
  }
  return false;
}

void SubPane::HandleMouseMove(int32_t x, int32_t y) {
  if (GetEmbedder()) { // local to the rectangle the container reached it by
    x += mBounds.left;
    y += mBounds.top;
  }
  QV::Point pt{y, x};
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    QV::Rect r = child->ClippedBounds();
    if (child->MouseInside() && !(child->IsShowing() && QV::PtInRect(pt, &r))) {
      child->HandleMouseExit();
      child->SetMouseInside(false);
    }
  }
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    QV::Rect r = child->ClippedBounds();
    if (!child->IsShowing() || !QV::PtInRect(pt, &r))
      continue;
    if (!child->MouseInside()) {
      child->HandleMouseEnter();
      child->SetMouseInside(true);
    }
    child->HandleMouseMove(x - r.left, y - r.top);
  }
}

void SubPane::ValidatePane() { ValidatePaneRect(&mBounds); }

void SubPane::ValidatePaneRect(const QV::Rect *) {
  if (!mWidget || !mWidget->window)
    return;
  if (GdkRegion *pending = gdk_window_get_update_area(mWidget->window))
    gdk_region_destroy(pending);
}

GdkGC *SubPane::GetGC() {
  if (mGC)
    g_object_ref(mGC);
  else if (mWidget && mWidget->window)
    mGC = gdk_gc_new(mWidget->window);
  else
    return nullptr;
  ++mGCLockCount;
  return mGC;
}

void SubPane::ReleaseGC() {
  if (!mGC)
    return;
  if (mGCLockCount == 0)
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, 3530, "mGCLockCount",
                             nullptr);
  --mGCLockCount;
  GdkGC *gc = mGC;
  if (mGCLockCount <= 0) {
    mGCLockCount = 0;
    mGC = nullptr;
  }
  g_object_unref(gc);
}

GdkDrawable *SubPane::GetGdkDrawable() { return mWidget ? mWidget->window : nullptr; }

SubPane *SubPane::Protect() {
  SubPane *top = this;
  for (SubPane *p = this; p; p = p->GetEmbedder()) {
    p->Lock();
    top = p;
  }
  return top;
}

bool SubPane::UnprotectCausesDeath() {
  bool died = mClosing;
  for (SubPane *p = this; p;) {
    SubPane *next = p->GetEmbedder();
    if (p->Unlock())
      died = true;
    p = next;
  }
  return died;
}

void SubPane::FinishConstruction() {}
void SubPane::HIViewizeIfNeeded() {}
SubPane *SubPane::GetOwnerPane() { return this; }
SubPane *SubPane::GetWorkerPane() { return this; }

SubPane *SubPane::GetParent() {
  SubPane *owner = GetOwnerPane();
  if (!owner) {
    Alert(1913, "owner", "No owner");
    return nullptr;
  }
  return owner->GetEmbedder();
}

bool SubPane::Contains(SubPane *p, bool deep) {
  for (int32_t i = CountChildren() - 1; i >= 0; --i)
    if (ChildAt(i) == p)
      return true;
  if (deep)
    for (int32_t i = CountChildren() - 1; i >= 0; --i)
      if (ChildAt(i)->Contains(p, true))
        return true;
  return false;
}

bool SubPane::CanContain(SubPane *p, bool needVisible, bool sameTab) {
  if (needVisible && !mVisible)
    return false;
  if (sameTab && p->mTabPanelIndex != mTabPanelIndex)
    return false;
  return InRect(&p->mBounds, &mBounds);
}

bool SubPane::CanLoseFocusOnArrowKeyPress() { return true; }

void SubPane::Activate() {
  if (!mClosing)
    mActive = 1;
}

void SubPane::Deactivate() {}
void SubPane::GetCopyTypes(SimpleVector<long> &) {}
void SubPane::GetPasteTypes(SimpleVector<long> &) {}
void SubPane::HideDragHilite() {}
void SubPane::ShowDragHilite() {}

void SubPane::DropObject(int32_t x, int32_t y) {
  if (mDelegate)
    mDelegate->PaneDropObject(this, x, y);
}

void SubPane::DraggingDropObject(int32_t, int32_t) {}

void SubPane::markDefaultPane(SubPane *p) {
  for (int32_t i = 0; i < CountChildren(); ++i)
    ChildAt(i)->markDefaultPane(p);
}

bool SubPane::overrideFocusPane() { return false; }
void SubPane::LostFocus() {}
void SubPane::GainedFocus() {}

bool SubPane::AcceptFocus() {
  return mWidget && mEnabled && IsShowing() && GTK_WIDGET_CAN_FOCUS(mWidget);
}

void SubPane::MovePane(const QV::Rect &r, bool redraw) {
  if (QV::EqualRect(&r, &mBounds))
    return;
  QV::Rect old = mBounds;
  SelectPane();
  if (redraw)
    InvalidatePane(true);
  SetBounds(r);
  if (redraw)
    InvalidatePane(true);
  GTKHelper::RepositionWidget(this);
  int16_t dh = static_cast<int16_t>(r.left - old.left);
  int16_t dv = static_cast<int16_t>(r.top - old.top);
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    if (child->GetEmbedder() != this)
      continue;
    QV::Rect moved = child->mBounds;
    QV::OffsetRect(&moved, dh, dv);
    child->MovePane(moved, redraw);
  }
  OnSize();
}

bool SubPane::HandleKeyPress(int32_t, int32_t, int32_t) { return false; }

bool SubPane::HandleCmdKeyPress(int32_t ch, int32_t key, int32_t modifiers) {
  SubPane *parent = GetParent();
  return parent ? parent->HandleCmdKeyPress(ch, key, modifiers) : false;
}

bool SubPane::HandleUnicodeInput(int32_t code, int32_t key, int32_t modifiers) {
  return code < 128 ? HandleKeyPress(code, key, modifiers) : false;
}

void SubPane::TabbedInto() {}

void SubPane::HandleAction(int32_t action) {
  switch (action) {
  case 5:
    EnablePane(true, true);
    break;
  case 6:
    EnablePane(false, true);
    break;
  case 7:
    ShowPane(true);
    break;
  case 8:
    ShowPane(false);
    break;
  default:
    break;
  }
  for (int32_t i = 0; i < CountChildren(); ++i)
    ChildAt(i)->HandleAction(action);
}

void SubPane::FocusIdle() {}
void SubPane::OnSize() {}
void SubPane::ResetRadio() {}

void SubPane::Repaint() {
  if (!mClosing)
    Update();
}

bool SubPane::ChangeCursor(int32_t x, int32_t y) {
  QV::Point pt{y, x};
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    SubPane *child = ChildAt(i);
    QV::Rect r = child->ClippedBounds();
    if (child->IsShowing() && QV::PtInRect(pt, &r) && child->ChangeCursor(x, y))
      return true;
  }
  return mCursor != nullptr; // showing it is the motion handler's business
}

void SubPane::InvalidatePane(bool erase) {
  QV::Rect r = mBounds;
  UpdateBounds(&r);
  InvalidatePaneRect(&r, erase);
}

void SubPane::EnableMenuOptions() {
  if (SubPane *e = GetEmbedder())
    e->EnableMenuOptions();
}

bool SubPane::HandleMenuCommand(int32_t command) {
  SubPane *e = GetEmbedder();
  return e ? e->HandleMenuCommand(command) : false;
}

bool SubPane::HandleRuntimeMenuCommand(void *) { return false; }

void SubPane::Close() {
  if (mCloseRan)
    return; // the close steps run once
  mCloseRan = 1;
  mClosing = 1;
  NoteImpendingDeath();
  if (GetCaptureMouse() == this)
    ReleaseMouse();
  if (GetFocusPane() == this)
    InvalidateFocus();
  if (currentPane == this)
    Pane::AboutToYield();
  if (Window *w = GetWindow(); w && w->GetRememberedFocus() == this)
    w->RememberFocus(nullptr);
  KillMovie(this);
  if (mDelegate)
    mDelegate->PaneClosing(this);
  Unlock();
}

bool SubPane::GetBaseline() { return false; }
SubPane *SubPane::ResortingPanes() { return this; }

void SubPane::EnablePane(bool enable, bool redraw) {
  if (enable == static_cast<bool>(mEnabled))
    return;
  SubPane *e = GetEmbedder();
  if (enable && e && !e->mEnabled)
    return;
  mEnabled = enable;
  for (int32_t i = 0; i < CountChildren(); ++i)
    if (SubPane *child = ChildAt(i); child->GetEmbedder() == this)
      child->EnablePane(enable, redraw);
  if (mWidget)
    gtk_widget_set_sensitive(mWidget, mEnabled);
  if (redraw)
    InvalidatePane(true);
  if (!enable && GetFocusPane() == this) {
    if (Window *w = GetWindow(); w && w->GetRememberedFocus() == this)
      w->RememberFocus(nullptr);
    InvalidateFocus();
  }
}

void SubPane::ShowPane(bool visible) {
  if (visible == static_cast<bool>(mVisible))
    return;
  if (!mTabPanelVisible) {
    mVisible = visible;
    return;
  }
  if (!visible && GetFocusPane() == this)
    InvalidateFocus();
  mVisible = visible;
  for (int32_t i = 0; i < CountChildren(); ++i)
    ChildAt(i)->ShowPane(visible);
  VisibilityChanged(visible);
}

void SubPane::SetTabPanelVisible(bool visible) {
  for (int32_t i = 0; i < CountChildren(); ++i)
    ChildAt(i)->SetTabPanelVisible(visible);
  StoreTabPanelVisible(visible);
}

void SubPane::StoreTabPanelVisible(bool visible) {
  if (visible == static_cast<bool>(mTabPanelVisible))
    return;
  if (!mVisible) {
    mTabPanelVisible = visible;
    return;
  }
  if (!visible && GetFocusPane() == this)
    InvalidateFocus();
  mTabPanelVisible = visible;
  VisibilityChanged(visible);
}

void SubPane::VisibilityChanged(bool visible) {
  InvalidatePane(true);
  if (visible) {
    if (mWidget)
      gtk_widget_show(mWidget);
    return;
  }
  if (GetFocusPane() == this)
    InvalidateFocus();
  if (mWidget)
    gtk_widget_hide(mWidget);
}

void SubPane::setBalloonHelp(const string &) {}
void SubPane::setDisabledBalloonHelp(const string &) {}

SubPane *SubPane::getDefaultPane() {
  for (int32_t i = 0; i < CountChildren(); ++i)
    if (SubPane *p = ChildAt(i)->getDefaultPane())
      return p;
  return nullptr;
}

SubPane *SubPane::getCancelPane() {
  for (int32_t i = 0; i < CountChildren(); ++i)
    if (SubPane *p = ChildAt(i)->getCancelPane())
      return p;
  return nullptr;
}

void SubPane::triggerPane() {}

bool SubPane::IterateChildren(bool (*fn)(SubPane *p, void *arg), void *arg) {
  if (CountChildren() == 0)
    return fn(this, arg);
  for (int32_t i = 0; i < CountChildren(); ++i)
    if (!ChildAt(i)->IterateChildren(fn, arg))
      return false;
  return true;
}

bool SubPane::UpdateBounds(QV::Rect *) { return false; }
bool SubPane::OpaqueBounds(QV::Rect *) { return false; }
void SubPane::GetContentClipRect(QV::Rect *r) { *r = mBounds; }

bool SubPane::GetVisibleUpdateBounds(QV::Rect *r) {
  *r = mBounds;
  UpdateBounds(r);
  bool any = r->right > r->left && r->bottom > r->top;
  for (SubPane *p = GetEmbedder(); p && any; p = p->GetEmbedder()) {
    QV::Rect clip;
    p->GetContentClipRect(&clip);
    any = QV::SectRect(r, &clip, r);
  }
  return any;
}

void SubPane::DrawIntoOffscreen(Graphics *g) {
  Redraw(g);
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    QV::Rect r;
    if (child->IsShowing() && child->GetVisibleUpdateBounds(&r)) {
      g->ClipRect(&r);
      child->DrawIntoOffscreen(g);
    }
  }
}

void SubPane::Lock() { ++mLockCount; }

bool SubPane::Unlock() {
  if (--mLockCount >= 0)
    return false;
  for (int32_t i = CountChildren() - 1; i >= 0; --i)
    if (i < CountChildren())
      ChildAt(i)->Close();
  if (SubPane *e = GetEmbedder())
    e->RemoveChild(this);
  if (Window *w = GetWindow(); w && w != this)
    w->RemovePane(this);
  delete this;
  return true;
}

void SubPane::SetHelpTag(const string &tag) {
  if (tag.IsEmpty()) {
    gtk_tooltips_disable(mTooltips);
    return;
  }
  if (mWidget)
    gtk_tooltips_set_tip(mTooltips, mWidget, GTKHelper::ToUTF8(tag).CString(), nullptr);
  gtk_tooltips_enable(mTooltips);
}

void SubPane::FlushPort() {}

bool SubPane::AddChild(SubPane *child) {
  mChildren->list.AppendItem(child);
  child->mChildren->embedder = this;
  return true;
}

void SubPane::RemoveChild(SubPane *child) {
  for (int32_t i = 0; i < CountChildren(); ++i)
    if (ChildAt(i) == child) {
      mChildren->list.RemoveElement(i);
      return;
    }
}

void SubPane::FindNewEmbedder(bool needVisible, bool sameTab) {
  if (!GetEmbedder())
    return;
  Window *w = GetWindow();
  if (!w)
    return;
  SubPane *candidate = w;
  for (int32_t i = 0; i < w->CountPanes(); ++i) {
    SubPane *p = w->PaneAt(i);
    if (p == this)
      break;
    if (p->CanContain(this, needVisible, sameTab))
      candidate = p;
  }
  if (candidate != GetParent())
    ReassignParent(candidate);
}

void SubPane::SetTabPanelIndex(int32_t index) {
  mTabPanelIndex = index;
  FindNewEmbedder(false, true);
  for (int32_t i = CountChildren() - 1; i >= 0; --i)
    if (SubPane *child = ChildAt(i); child->GetEmbedder() == this)
      child->SetTabPanelIndex(index);
}

bool SubPane::HasAnyFocusableExcept(SubPane *p) {
  if (this != p && AcceptFocus())
    return true;
  for (int32_t i = 0; i < CountChildren(); ++i) {
    SubPane *child = ChildAt(i);
    if ((child != p && child->AcceptFocus()) || child->HasAnyFocusableExcept(p))
      return true;
  }
  return false;
}

void SubPane::OrphanChildren() {
  Window *w = GetWindow();
  int32_t position = w ? w->IndexOfPane(this) : -1;
  if (position < 0)
    position = 0;
  else
    w->RemovePane(this);
  SubPane *worker = GetWorkerPane();
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    if (i >= CountChildren())
      continue;
    SubPane *child = ChildAt(i);
    if (child == worker)
      continue;
    child->FindNewEmbedder(false, true);
    RemoveChild(child);
  }
  if (w)
    w->InsertPane(position, this);
}

bool SubPane::HandleDragOver(int32_t, int32_t) { return true; }

bool SubPane::IsDragDetected() {
  // GTK+ runs here, and any handler may close this pane meanwhile.
  QV::Point start;
  GetMouse(&start);
  uint32_t startTicks = QV::TickCount();
  Protect();
  bool closed = false;
  while (QV::TickCount() - startTicks < 30) {
    gtk_main_iteration_do(FALSE);
    if (mClosing)
      break;
    QV::Point now;
    GetMouse(&now);
    if (now.h != start.h || now.v != start.v)
      break;
  }
  closed = UnprotectCausesDeath();
  return closed ? false : StillDown();
}

bool SubPane::IsPagePanel() { return false; }
bool SubPane::IsTabPanel() { return false; }

bool SubPane::IsOnTabPanel() {
  for (SubPane *p = GetEmbedder(); p; p = p->GetEmbedder())
    if (p->IsTabPanel())
      return true;
  return false;
}

SubPane *SubPane::FindDropRecipient(int32_t x, int32_t y, void *item) {
  QV::Point pt{y, x};
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    SubPane *child = ChildAt(i);
    if (child->GetParent() != this || !child->IsShowing() || !QV::PtInRect(pt, &child->mBounds))
      continue;
    if (SubPane *found = child->FindDropRecipient(x, y, item))
      return found;
  }
  return mDropTypes || mFileTypes ? this : nullptr;
}

void SubPane::HandleDragEnter() {}
void SubPane::HandleDragLeave() {}
void SubPane::ResizePane(const QV::Rect &r) { MovePane(r, true); }

void SubPane::ReassignParent(SubPane *newParent) {
  if (!newParent) {
    Alert(2860, "newParent");
    return;
  }
  if (SubPane *e = GetEmbedder())
    e->RemoveChild(this);
  newParent->AddChild(this);
}

bool SubPane::HandleMouseWheel(int32_t x, int32_t y, int32_t delta) {
  QV::Point pt{y, x};
  for (int32_t i = CountChildren() - 1; i >= 0; --i) {
    SubPane *child = ChildAt(i);
    if (child->mEnabled && child->IsShowing() && QV::PtInRect(pt, &child->mBounds) &&
        child->HandleMouseWheel(x, y, delta))
      return true;
  }
  return false;
}

void SubPane::RedrawWithContent(Graphics *g, bool withContent) {
  if (withContent)
    Redraw(g);
}

GtkWidget *SubPane::getControlHandle() { return mWidget; }

void SubPane::ScrollRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t dh,
                         int32_t dv) {
  if (!mWidget || !mWidget->window)
    return;
  Window *w = GetWindow();
  int32_t bar = w && w->HasMenuBar() ? GTKHelper::GetMenuBarHeight(w) : 0;
  int32_t pl = mBounds.left, pt = mBounds.top + bar;
  int32_t pr = mBounds.right, pb = mBounds.bottom + bar;
  top += bar;
  bottom += bar;
  right += dh;
  bottom += dv;
  left = std::max(left, pl - dh);
  top = std::max(top, pt - dv);
  right = std::min(right, pr - dh);
  bottom = std::min(bottom, pb - dv);
  if (right <= left || bottom <= top)
    return;
  GdkWindow *window = mWidget->window;
  GdkGC *gc = GetGC();
  gdk_draw_drawable(window, gc, window, left, top, left + dh, top + dv, right - left, bottom - top);
  ReleaseGC();
  if (GdkRegion *pending = gdk_window_get_update_area(window))
    gdk_region_destroy(pending);
}

bool SubPane::LowLevelTrackingHandler() { return true; }
bool SubPane::LowLevelReceiveHandler() { return true; }

SubPane *SubPane::GetSubPaneWindow(SubPane *p) {
  if (!p)
    return nullptr;
  while (SubPane *parent = p->GetParent())
    p = parent;
  return p;
}

Window *SubPane::GetWindow() { return dynamic_cast<Window *>(GetSubPaneWindow(this)); }

void SubPane::InvalidateFocus() { SetFocusPane(nullptr); }

void SubPane::SetFocus() {
  Window *w = GetWindow();
  if (!w || !AcceptFocus())
    return;
  w->RememberFocus(this);
  if (w->IsActive()) {
    if (mWidget)
      gtk_widget_grab_focus(mWidget);
    SetFocusPane(this);
  }
}

void SubPane::Refresh() {
  if (!mClosing)
    InvalidatePaneRect(&mBounds, true);
}

void SubPane::TriggerRefresh() { gdk_window_process_all_updates(); }

void SubPane::InvalidatePaneRect(const QV::Rect *rect, bool) {
  QV::Rect r = *rect;
  if (mDelegate)
    mDelegate->PaneClipToBounds(this, &r);
  if (!mWidget || !mWidget->window)
    return;
  Window *w = GetWindow();
  GdkRectangle area{r.left, r.top, r.right - r.left, r.bottom - r.top};
  if (w && mWidget->window == w->GetGtkWindow()->window) {
    if (w->HasMenuBar())
      area.y += GTKHelper::GetMenuBarHeight(w);
  } else {
    area.x -= mBounds.left;
    area.y -= mBounds.top;
  }
  gdk_window_invalidate_rect(mWidget->window, &area, TRUE);
}

void SubPane::InvalidatePaneRect(int32_t left, int32_t top, int32_t right, int32_t bottom,
                                 bool erase) {
  QV::Rect r;
  QV::SetRect(&r, left, top, right, bottom);
  InvalidatePaneRect(&r, erase);
}

bool SubPane::HasAnyHelp() { return false; }

void SubPane::setMouseCursor(MouseCursor *c) {
  mCursor = c;
  UpdateMouseCursor();
}

bool SubPane::StillDown() {
  Window *w = GetWindow();
  if (!w || !w->GetGtkWindow()->window)
    return false;
  GdkModifierType state;
  gint x, y;
  gdk_window_get_pointer(w->GetGtkWindow()->window, &x, &y, &state);
  return (state & GDK_BUTTON1_MASK) != 0;
}

void SubPane::GetMouse(QV::Point *p) {
  Window *w = GetWindow();
  *p = w ? GTKHelper::GetCursorPos(w) : QV::Point{0, 0};
}

void SubPane::ToLocal(QV::Point *) {}
void SubPane::ToGlobal(QV::Point *) {}

void SubPane::acceptTypeDrop(const string &type) {
  if (ListHolds(mDropTypes, type))
    return;
  mDropTypes = new AcceptedType{mDropTypes, type};
  if (type.Compare(string("TEXT")) == 0)
    GTKDragHelper::RegisterPaneForTextDrop(this);
}

void SubPane::acceptFileDrop(const string &type) {
  if (ListHolds(mFileTypes, type))
    return;
  mFileTypes = new AcceptedType{mFileTypes, type};
  GTKDragHelper::RegisterPaneForFileDrop(this);
}

bool SubPane::SupportsDropType(const string &type) { return ListHolds(mDropTypes, type); }

void SubPane::RadioBehaviour(SubPane *pane) {
  SubPane *embedder = pane->GetEmbedder();
  if (!embedder)
    return;
  auto considered = [&](SubPane *s) {
    return s != pane && s->mTabPanelIndex == pane->mTabPanelIndex;
  };
  SubPane *box = nullptr;
  for (int32_t i = 0; i < embedder->CountChildren(); ++i) {
    SubPane *s = embedder->ChildAt(i);
    if (considered(s) && InRect(&pane->mBounds, &s->mBounds) &&
        (!box || SmallerRect(&s->mBounds, &box->mBounds)))
      box = s;
  }
  for (int32_t i = 0; i < embedder->CountChildren(); ++i) {
    SubPane *s = embedder->ChildAt(i);
    if (considered(s) && (!box || InRect(&s->mBounds, &box->mBounds)))
      s->ResetRadio();
  }
}

SubPaneWatcher::SubPaneWatcher(SubPane *p) : mPane(p), mNext(sWatchers) { sWatchers = this; }

SubPaneWatcher::~SubPaneWatcher() {
  for (SubPaneWatcher **link = &sWatchers; *link; link = &(*link)->mNext)
    if (*link == this) {
      *link = mNext;
      return;
    }
}

void MarkSubPaneDeleted(SubPane *p) {
  for (SubPaneWatcher *w = sWatchers; w; w = w->mNext)
    if (w->mPane == p)
      w->mPane = nullptr;
}
