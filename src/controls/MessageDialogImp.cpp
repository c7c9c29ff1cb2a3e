#include <algorithm>

#include "controls/MessageDialog.h"
#include "graphics/Graphics.h"
#include "language/TextEscapes.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/startup/StandardFonts.h"
#include "windows/DesktopServices.h"

namespace {

constexpr int32_t kMinButtonWidth = 69;
constexpr int32_t kButtonTextMargin = 28;
constexpr int32_t kButtonGap = 8;
constexpr int32_t kTextLeft = 58;

FontStructure NamedFont(const char *name) {
  FontStructure f;
  f.name = string(name);
  f.size = 0;
  return f;
}

void SelectFont(Graphics *g, const FontStructure &f) {
  g->TextFont(f.name);
  g->TextSize(f.size);
  g->TextFace(f.Style());
}

int32_t ButtonWidth(Graphics *g, const string &caption) {
  return std::max(kMinButtonWidth,
                  g->StringWidth(StripAmpersand(caption, nullptr)) + kButtonTextMargin);
}

QV::Rect RectOf(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  QV::Rect r;
  QV::SetRect(&r, static_cast<int16_t>(left), static_cast<int16_t>(top),
              static_cast<int16_t>(right), static_cast<int16_t>(bottom));
  return r;
}

// Icon values to the standard icons drawn (0 error, 1 information, 2 warning).
int32_t StandardIconFor(int32_t icon) {
  switch (icon) {
  case 0:
  case 3:
    return 1;
  case 1:
    return 2;
  case 2:
    return 0;
  default:
    return -1;
  }
}

// The most a dialog may measure: the main screen's free area less a margin
// on each side, never less than a small dialog needs; and that area's
// top-left corner.
struct Room {
  int32_t width, height;
  int32_t left, top;
};

constexpr int32_t kScreenMargin = 10;

Room RoomOnScreen() {
  constexpr int32_t kLeast = 200, kMost = 32000;
  ScreenRect screen{};
  if (!GetSourceScreen(0, &screen))
    return Room{kMost, kMost, 0, 0};
  return Room{std::clamp(screen.availWidth - 2 * kScreenMargin, kLeast, kMost),
              std::clamp(screen.availHeight - 2 * kScreenMargin, kLeast, kMost),
              screen.availLeft + kScreenMargin, screen.availTop + kScreenMargin};
}

// How far a span from start to end moves to lie between low and high; its
// start wins where it cannot fit.
int32_t ShiftInto(int32_t start, int32_t end, int32_t low, int32_t high) {
  if (end > high)
    return std::max(high - end, low - start);
  return start < low ? low - start : 0;
}

// Moves r back inside the room where it sticks out.
void KeepInside(QV::Rect *r, const Room &room) {
  QV::OffsetRect(r,
                 static_cast<int16_t>(ShiftInto(r->left, r->right, room.left, room.left + room.width)),
                 static_cast<int16_t>(ShiftInto(r->top, r->bottom, room.top, room.top + room.height)));
}

} // namespace

MessageDialog::Imp::Imp(MessageDialog *dialog, const QV::Rect &bounds, int32_t *response)
    : Window(dialog->title, bounds, kWindowTypeMovableModal, true, GetForeLayer(), false),
      mDialog(dialog), mResponse(response) {
  mMessageFont = NamedFont("System");
  mExplanationFont = NamedFont("SmallSystem");
  mButtonFont = NamedFont("System");
  *mResponse = kNoButton;

  const Room room = RoomOnScreen();
  Graphics *g = getGraphics();
  SelectFont(g, mMessageFont);
  // Text wider than the screen allows wraps at the screen's width.
  const int32_t textWidth = std::min(
      std::max(g->StringWidth(dialog->message), g->StringWidth(dialog->explanation)),
      room.width - 68);
  if (dialog->actionCaption.IsEmpty())
    dialog->actionCaption = string("OK");
  if (dialog->cancelCaption.IsEmpty())
    dialog->cancelCaption = string("Cancel");
  if (dialog->alternateCaption.IsEmpty())
    dialog->alternateCaption = string("Alternate Action");
  SelectFont(g, mButtonFont);
  const int32_t wA = std::min(ButtonWidth(g, dialog->actionCaption), room.width - 68);
  const int32_t wC = std::min(ButtonWidth(g, dialog->cancelCaption), room.width - 68);
  const int32_t wL = std::min(ButtonWidth(g, dialog->alternateCaption), room.width - 68);
  int32_t buttons = wA;
  if (dialog->cancelShown)
    buttons += wC + kButtonGap;
  if (dialog->alternateShown)
    buttons += wL + kButtonGap;
  const int32_t W = std::min(std::max(32 + buttons + 36, textWidth + 32 + 36), room.width);
  const int32_t wrap = W - 68;
  SelectFont(g, mMessageFont);
  int32_t h1 = g->GetWrapHeight(dialog->message, wrap);
  SelectFont(g, mExplanationFont);
  int32_t h2 = g->GetWrapHeight(dialog->explanation, wrap);
  g->Release();
  // Text taller than the screen allows is cut at its foot, the explanation
  // first, so that the buttons stay on screen.
  const int32_t textRoom = room.height - 62;
  h1 = std::min(h1, textRoom);
  h2 = std::max(0, std::min(h2, textRoom - h1 - 8));
  const int32_t textHeight = h2 <= 0 ? h1 : h1 + 8 + h2;
  const int32_t H = std::max(textHeight, 32) + 62;

  QV::Rect place = RectOf(0, 0, W, H);
  WindowPlacement(&place, 5, GetType());
  KeepInside(&place, room);
  MoveWindow(place.left, place.top, false);
  SizeWindow(W, H, false);
  // SizeWindow sets only the pane's size while the window is not realized;
  // the GTK+ window must start at that size too, or it opens at its
  // children's request.
  gtk_window_resize(GTK_WINDOW(GetGtkWindow()), W, H);

  mMessageRect = RectOf(kTextLeft, 12, W - 10, 12 + h1);
  mExplanationRect = RectOf(kTextLeft, 12 + h1 + 8, W - 10, 12 + h1 + 8 + h2);

  const int32_t top = H - 35, bottom = H - 12;
  int32_t x = W / 2 - buttons / 2;
  mActionPane = newPushButton(this, standardButtonFont, this, 0, RectOf(x, top, x + wA, bottom),
                              dialog->actionCaption);
  x += wA;
  if (dialog->alternateShown) {
    x += kButtonGap;
    mAlternatePane = newPushButton(this, standardButtonFont, this, 0,
                                   RectOf(x, top, x + wL, bottom), dialog->alternateCaption);
    x += wL;
  }
  if (dialog->cancelShown) {
    x += kButtonGap;
    mCancelPane = newPushButton(this, standardButtonFont, this, 0, RectOf(x, top, x + wC, bottom),
                                dialog->cancelCaption);
  }
  if (PushButton *p = ButtonPane(dialog->defaultId)) {
    p->setDefault(true);
    p->SetFocus();
  } else {
    g_signal_connect_after(GetGtkWindow(), "show", G_CALLBACK(ShownWithoutDefault), this);
  }
  if (PushButton *p = ButtonPane(dialog->cancelId))
    p->setCancel(true);
}

PushButton *MessageDialog::Imp::ButtonPane(int32_t id) const {
  switch (id) {
  case kActionButton:
    return mActionPane;
  case kCancelButton:
    return mCancelPane;
  case kAlternateButton:
    return mAlternatePane;
  default:
    return nullptr;
  }
}

void MessageDialog::Imp::Redraw(Graphics *g) {
  Window::Redraw(g);
  if (int32_t type = StandardIconFor(mDialog->icon); type >= 0)
    g->DrawStandardIcon(type, kIconLeft, kIconTop, kIconSize, kIconSize);
  SelectFont(g, mMessageFont);
  g->DrawWrapText(mDialog->message, mMessageRect, 0);
  SelectFont(g, mExplanationFont);
  g->DrawWrapText(mDialog->explanation, mExplanationRect, 0);
}

// The window's close box ends the run without a button.
bool MessageDialog::Imp::CloseBoxClicked() {
  HideWindow();
  return true;
}

SubPane *MessageDialog::Imp::GetFocus() {
  if (!ButtonPane(mDialog->defaultId) && !GetRememberedFocus())
    return this;
  return Window::GetFocus();
}

void MessageDialog::Imp::ShownWithoutDefault(GtkWidget *window, Imp *imp) {
  gtk_window_set_focus(GTK_WINDOW(window), nullptr);
  if (GetFocusPane() != imp)
    SetFocusPane(imp);
  imp->RememberFocus(nullptr);
}

void MessageDialog::Imp::PushButtonClicked(PushButton *pane) {
  if (pane == mActionPane)
    *mResponse = kActionButton;
  else if (pane == mCancelPane)
    *mResponse = kCancelButton;
  else if (pane == mAlternatePane)
    *mResponse = kAlternateButton;
  HideWindow();
}
