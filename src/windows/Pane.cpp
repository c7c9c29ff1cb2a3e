#include "windows/Pane.h"

#include <vector>

#include "foundation/AssertionAlert.h"
#include "graphics/Graphics.h"

Pane *Pane::currentPane = nullptr;
Pane *Pane::cDirectDrawList = nullptr;
SimpleVector<PaneDeathNotificationReceiver *> Pane::cDeathReceivers;

void PaneDelegate::PaneClosing(Pane *) {}
void PaneDelegate::PaneDropObject(Pane *, int32_t, int32_t) {}
bool PaneDelegate::PaneEstablishDrawingSurface() { return false; }
bool PaneDelegate::PaneResetDrawingSurface() { return false; }
void PaneDelegate::PaneClipToBounds(Pane *, QV::Rect *) {}

PaneDeathNotificationReceiver::~PaneDeathNotificationReceiver() {
  Pane::RemovePaneDeathNotificationReceiver(this, true);
}

Pane::Pane(const QV::Rect &bounds) { SetBounds(bounds); }

Pane::~Pane() {
  if (currentPane == this)
    currentPane = nullptr;
  NoteImpendingDeath();
}

void Pane::SetBounds(const QV::Rect &r) {
  mBounds = r;
  mWidth = r.right - r.left;
  mHeight = r.bottom - r.top;
}

void Pane::SetFontSize(int32_t size) { mFontSize = size; }
void Pane::EstablishDrawingSurface() {}
void Pane::EstablishFont() {}
void Pane::ResetDrawingSurface() {}
void Pane::Redraw(Graphics *) {}
bool Pane::isSubPane() { return false; }
bool Pane::IsContainerPane() { return false; }

void Pane::Update() {
  Graphics *g = getGraphics();
  Redraw(g);
  g->Release();
}

bool Pane::HandleClick(int32_t, int32_t, int32_t) { return false; }
bool Pane::HandleCMMClick(int32_t, int32_t, int32_t) { return false; }
bool Pane::HasCMMClick(int32_t, int32_t, int32_t) { return false; }
void Pane::HandleMouseDrag(int32_t, int32_t) {}
void Pane::HandleMouseMove(int32_t, int32_t) {}
void Pane::HandleMouseUp(int32_t, int32_t) {}
void Pane::HandleMouseEnter() {}
void Pane::HandleMouseExit() {}

void Pane::NextPage() {
  Graphics *g = getGraphics();
  g->EraseRect(&mBounds);
  g->Release();
}

bool Pane::HasSpecialBackground() { return false; }
void Pane::ValidatePane() {}
void Pane::ValidatePaneRect(const QV::Rect *) {}
GdkGC *Pane::GetGC() { return nullptr; }
void Pane::ReleaseGC() {}
GdkDrawable *Pane::GetGdkDrawable() { return nullptr; }

PaneDelegate *Pane::addDelegate(PaneDelegate *delegate) {
  if (mDelegate)
    DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, "../Common/ClassLib/pane", 433,
                             "not mDelegate", nullptr);
  mDelegate = delegate;
  return delegate;
}

Graphics *Pane::getGraphics() {
  auto *g = new Graphics(this);
  g->TextFont(mFontName);
  g->TextSize(mFontSize);
  g->TextFace(mStyle & 0xFF);
  return g;
}

void Pane::SelectPane() {
  if (gCurrentGraphics) {
    gCurrentGraphics->DeselectGraphics();
    gCurrentGraphics = nullptr;
  }
  if (currentPane == this)
    return;
  if (currentPane)
    currentPane->ResetDrawingSurface();
  EstablishDrawingSurface();
  EstablishFont();
  currentPane = this;
}

void Pane::AboutToYield() {
  if (gCurrentGraphics) {
    gCurrentGraphics->DeselectGraphics();
    gCurrentGraphics = nullptr;
  }
  if (currentPane)
    currentPane->ResetDrawingSurface();
  currentPane = nullptr;
}

void Pane::NoteImpendingDeath() {
  // A receiver may unregister itself, or others, while it is told: walk a
  // copy and tell each entry that is still registered when its turn comes.
  std::vector<PaneDeathNotificationReceiver *> snapshot(cDeathReceivers.begin(),
                                                        cDeathReceivers.end());
  for (PaneDeathNotificationReceiver *receiver : snapshot) {
    bool registered = false;
    for (PaneDeathNotificationReceiver *r : cDeathReceivers)
      registered = registered || r == receiver;
    if (registered)
      receiver->PaneImpendingDeath(this);
  }
}

void Pane::AddPaneDeathNotificationReceiver(PaneDeathNotificationReceiver *receiver) {
  cDeathReceivers.push_back(receiver);
}

void Pane::RemovePaneDeathNotificationReceiver(PaneDeathNotificationReceiver *receiver, bool all) {
  for (int32_t i = cDeathReceivers.count() - 1; i >= 0; --i) {
    if (cDeathReceivers[i] != receiver)
      continue;
    cDeathReceivers.deleteIdx(i);
    if (!all)
      return;
  }
}

bool Pane::CanDirectDraw() {
  if (!mDirectDrawAsked) {
    mDirectDrawAsked = 1;
    mDirectDrawAnswer = 0;
  }
  return mDirectDrawAnswer != 0;
}

void Pane::ResetDirectDraw() {
  for (Pane *p = cDirectDrawList; p;) {
    Pane *next = p->mNextDirectDraw;
    p->mDirectDrawAsked = 0;
    p->mNextDirectDraw = nullptr;
    p = next;
  }
  cDirectDrawList = nullptr;
}

QV::Rect Pane::ClippedBounds() {
  QV::Rect r = mBounds;
  if (mDelegate)
    mDelegate->PaneClipToBounds(this, &r);
  return r;
}
