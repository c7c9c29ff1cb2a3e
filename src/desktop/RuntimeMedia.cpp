#include "desktop/RuntimeMedia.h"

#include "desktop/MovieClasses.h"
#include "desktop/MovieEngine.h"
#include "foundation/QVColor.h"
#include "graphics/Graphics.h"

namespace {
constexpr int32_t kShowAction = 7;
constexpr int32_t kHideAction = 8;
} // namespace

RuntimeMedia::RuntimeMedia(MoviePlayerObject *player, ContainerPane *container,
                           int32_t tabPanelIndex, const QV::Rect &bounds)
    : SubPane(container, tabPanelIndex, bounds, true), mPlayer(player),
      mShown(player->control.visible != 0) {
  MakeWidget();
  AddMovie(this, &player->control.header);
  player->control.bounds = Bounds();
}

bool RuntimeMedia::HandleClick(int32_t, int32_t, int32_t) {
  SetFocus();
  return true;
}

bool RuntimeMedia::AcceptFocus() { return mShown && IsEnabled(); }

bool RuntimeMedia::HandleKeyPress(int32_t, int32_t, int32_t) { return false; }

bool RuntimeMedia::ChangeCursor(int32_t, int32_t) { return true; }

void RuntimeMedia::HandleAction(int32_t action) {
  if (action == kShowAction || action == kHideAction) {
    mShown = action == kShowAction;
    InvalidatePane(true);
  }
  SubPane::HandleAction(action);
}

QV::Rect MediaInvalidationRect(const QV::Rect &bounds, bool border) {
  QV::Rect r = bounds;
  if (border)
    QV::InsetRect(&r, -1, -1);
  return r;
}

void RuntimeMedia::InvalidatePane(bool erase) {
  const QV::Rect r = MediaInvalidationRect(Bounds(), mPlayer && mPlayer->border);
  InvalidatePaneRect(&r, erase);
}

// The engine would draw the movie; there is none.
void RuntimeMedia::Redraw(Graphics *) {}

void RuntimeMedia::DrawIntoOffscreen(Graphics *g) {
  if (mShown) {
    const QV::RGBColor saved = g->GetForeColor();
    const QV::RGBColor black{0, 0, 0};
    g->RGBForeColor(&black);
    const QV::Rect &r = Bounds();
    g->FrameRect(&r);
    g->MoveTo(r.left, r.top);
    g->LineTo(r.right - 1, r.bottom - 1);
    g->MoveTo(r.right - 1, r.top);
    g->LineTo(r.left, r.bottom - 1);
    g->RGBForeColor(&saved);
  }
  SubPane::DrawIntoOffscreen(g);
}

void RuntimeMedia::MovePane(const QV::Rect &r, bool redraw) {
  SubPane::MovePane(r, redraw);
  UpdateMoviePosition(this);
}

void RuntimeMedia::Close() {
  if (mPlayer && MediaPaneOf(mPlayer) == this)
    mPlayer->control.pane = nullptr;
  mPlayer = nullptr;
  SubPane::Close();
}
