// How the ListBox pane paints itself: background, rows and cells (selection
// fill, check box, picture, disclosure triangle, text with its alignment,
// edges), the paint events, the frame, the focus row and the reorder
// marker; and the cell geometry that painting and hit-testing share.
#include <algorithm>

#include <gtk/gtk.h>

#include "foundation/AssertionAlert.h"
#include "graphics/Drawable.h"
#include "graphics/Graphics.h"
#include "graphics/PictureObject.h"
#include "graphics/RuntimeGraphics.h"
#include "language/StringFields.h"
#include "listbox/CommonListboxHeader.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/RuntimeObject.h"
#include "text/EditControlGTK.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"

namespace {

constexpr AlertSite kVariableRowHeight{"RuntimeListbox.cpp", 0, "mConstantRowHeight"};
constexpr QV::RGBColor kWhiteColour{65535, 65535, 65535};
constexpr QV::RGBColor kBlackColour{0, 0, 0};
constexpr char kDecimalCharacter = '.';

QV::RGBColor FromGdk(const GdkColor &c) { return QV::RGBColor{c.red, c.green, c.blue}; }

// Theme colours of the pane's widget, with plain fall-backs.
QV::RGBColor ThemeColour(GtkWidget *widget, bool background, GtkStateType state,
                         const QV::RGBColor &fallback) {
  if (!widget || !widget->style)
    return fallback;
  return FromGdk(background ? widget->style->bg[state] : widget->style->fg[state]);
}

using PaintProc = int32_t (*)(RuntimeObject *, RuntimeObject *, int32_t, int32_t);
using TextPaintProc = int32_t (*)(RuntimeObject *, RuntimeObject *, int32_t, int32_t, int32_t,
                                  int32_t);

} // namespace

// Lends the list's context to one paint event: clipped to the target, its
// pane moved to the target so that the event's (0, 0) is the target's
// top-left corner, wrapped in a Graphics object of the language.
class UserPaint {
public:
  UserPaint(RuntimeListbox *list, Graphics *g, const QV::Rect &base, const QV::Rect &target,
            QV::Rect *out)
      : mClip(g), mList(list), mGraphics(g) {
    QV::SectRect(&base, &target, out);
    g->SelectGraphics();
    g->ClipRect(*out);
    mMovesPane = g->GetPane() == list;
    if (mMovesPane) {
      mSavedBounds = list->Bounds();
      list->SetBounds(target);
    }
    mObject = NewGraphicsObject(g);
  }
  ~UserPaint() {
    if (mMovesPane)
      mList->SetBounds(mSavedBounds);
    mGraphics->SelectGraphics();
    if (mObject) {
      reinterpret_cast<RuntimeGraphics *>(mObject)->context = nullptr;
      RuntimeUnlockObject(mObject);
    }
  }
  RuntimeObject *Object() const { return mObject; }

private:
  GraphicsClipSaver mClip;
  RuntimeListbox *mList;
  Graphics *mGraphics;
  RuntimeObject *mObject = nullptr;
  QV::Rect mSavedBounds{0, 0, 0, 0};
  bool mMovesPane = false;
};

// ---- row height and geometry

int32_t RuntimeListbox::MeasuredRowHeight() {
  if (!mRowHeightCached) {
    int32_t h = ScrollingListbox::GetRowHeight(-1);
    if (mHierarchical)
      h = std::max(h, 18);
    mCachedRowHeight = h;
    mRowHeightCached = 1;
  }
  return mCachedRowHeight;
}

// A stored DefaultRowHeight of 1 or more is the height; anything else (the
// object starts with 0) is measured, so rows always have a height.
int32_t RuntimeListbox::GetRowHeight(int32_t) {
  if (mControl && mControl->defaultRowHeight >= 1)
    return mControl->defaultRowHeight;
  const int32_t h = MeasuredRowHeight();
  return h >= 1 ? h : 1;
}

QV::Rect RuntimeListbox::GetCellBounds(int32_t row, int32_t column) {
  const QV::Rect q = GetContentRect();
  const int32_t h = GetRowHeight(-1);
  QV::Rect r;
  r.left = static_cast<int16_t>(GetColLeft(column));
  r.right = static_cast<int16_t>(GetColRight(column));
  r.top = static_cast<int16_t>(q.top + h * (row - mScrollRow));
  r.bottom = static_cast<int16_t>(r.top + h);
  return r;
}

QV::Rect RuntimeListbox::GetHierarchicalWidgetBounds(const QV::Rect &p) {
  QV::Rect box;
  box.left = static_cast<int16_t>(p.left + 4);
  box.right = static_cast<int16_t>(p.left + 16);
  box.top = static_cast<int16_t>(p.top + (p.bottom - p.top - 12) / 2);
  box.bottom = static_cast<int16_t>(box.top + 12);
  return box;
}

int32_t RuntimeListbox::GetCellBorderStyle(borderLocations edge, int32_t row, int32_t column,
                                           bool withNeighbours) {
  CellEntry *cell = nullptr;
  if (row >= 0 && row < GetRowCount() && column >= 0 && column < kMaxListColumns &&
      !BoundProvider() && row < mRows.GetCount())
    cell = GetItemCell(row, column, false);
  int32_t own = 0;
  if (cell)
    own = edge == kBorderTop    ? cell->mBorderTop
          : edge == kBorderLeft ? cell->mBorderLeft
          : edge == kBorderBottom ? cell->mBorderBottom
                                  : cell->mBorderRight;
  if (!withNeighbours)
    return own;
  int32_t style = own;
  if (cell) {
    int32_t neighbour = 0;
    switch (edge) {
    case kBorderTop:
      neighbour = GetCellBorderStyle(kBorderBottom, row - 1, column, false);
      break;
    case kBorderLeft:
      neighbour = GetCellBorderStyle(kBorderRight, row, column - 1, false);
      break;
    case kBorderBottom:
      neighbour = GetCellBorderStyle(kBorderTop, row + 1, column, false);
      break;
    default:
      neighbour = GetCellBorderStyle(kBorderLeft, row, column + 1, false);
      break;
    }
    style = std::max(style, neighbour);
  }
  if (style == 0)
    style = edge == kBorderTop || edge == kBorderBottom ? mHorizontalGridStyle
                                                        : mVerticalGridStyle;
  return style;
}

void RuntimeListbox::SetCellBorderStyle(borderLocations edge, int32_t row, int32_t column,
                                        int32_t style) {
  if (BoundProvider() || row < 0 || column < 0 || row >= mRows.GetCount())
    return;
  CellEntry *cell = GetItemCell(row, column, true);
  if (!cell)
    return;
  switch (edge) {
  case kBorderTop:
    cell->mBorderTop = style;
    if (row >= 1)
      InvalidateCell(row - 1, column);
    break;
  case kBorderLeft:
    cell->mBorderLeft = style;
    if (column >= 1)
      InvalidateCell(row, column - 1);
    break;
  case kBorderBottom:
    cell->mBorderBottom = style;
    InvalidateCell(row + 1, column);
    break;
  default:
    cell->mBorderRight = style;
    InvalidateCell(row, column + 1);
    break;
  }
  InvalidateCell(row, column);
}

int32_t RuntimeListbox::GetCellBorderThickness(borderLocations edge, int32_t row,
                                               int32_t column) {
  switch (GetCellBorderStyle(edge, row, column, true)) {
  case kBorderThinDotted:
  case kBorderThinSolid:
    return 1;
  case kBorderThickSolid:
    return 2;
  case kBorderDoubleThinSolid:
    return 3;
  default:
    return 0;
  }
}

QV::Rect RuntimeListbox::GetCellContentRect(const QV::Rect &k, int32_t row, int32_t column,
                                            bool lines) {
  int32_t t[4];
  for (int32_t e = 0; e < 4; ++e) {
    const int32_t thickness = GetCellBorderThickness(static_cast<borderLocations>(e), row, column);
    t[e] = static_cast<int32_t>(thickness * 0.5 + 0.5);
    if (lines)
      t[e] = std::max(t[e], 1);
  }
  QV::Rect r;
  r.top = static_cast<int16_t>(lines ? k.top - t[kBorderTop] : k.top + t[kBorderTop]);
  r.left = static_cast<int16_t>(lines ? k.left - t[kBorderLeft] : k.left + t[kBorderLeft]);
  r.bottom = static_cast<int16_t>(k.bottom - t[kBorderBottom]);
  r.right = static_cast<int16_t>(k.right - t[kBorderRight]);
  return r;
}

void RuntimeListbox::MakeSureRowVisible(int32_t row) {
  if (row < mScrollRow) {
    SetScrollRow(row);
    return;
  }
  const QV::Rect q = GetContentRect();
  const int32_t h = GetRowHeight(-1); // at least 1
  const int32_t n = (q.bottom - q.top) / h - 1;
  if (row < mScrollRow + n)
    return;
  SetScrollRow(row - n);
}

void RuntimeListbox::MakeSureColumnVisible(int32_t column) {
  if (column < 0 || column >= kMaxListColumns)
    return;
  int32_t left = 0;
  for (int32_t c = 0; c < column; ++c)
    left += GetColWidthActual(c);
  const int32_t width = GetColWidthActual(column);
  const int32_t right = left + width - 1;
  const int32_t l = left - HScrollOffset(), r = right - HScrollOffset();
  const QV::Rect q = GetContentRect();
  const int32_t v = q.right - q.left + 1;
  if (width - 1 > v) {
    if ((l < 0 && r < 0) || (l > v && r > v))
      SetScrollPositionX(left);
    return;
  }
  if (l < 0 || r < 0)
    SetScrollPositionX(left);
  else if (l > v || r > v)
    SetScrollPositionX(right - v);
}

void RuntimeListbox::MakeSureCellVisible(int32_t row, int32_t column) {
  if (row == -1 || column == -1)
    return;
  MakeSureRowVisible(row);
  MakeSureColumnVisible(column);
}

// ---- the redraw

void RuntimeListbox::RedrawWithContent(Graphics *g, bool withContent) {
  if (withContent)
    Redraw(g);
}

void RuntimeListbox::Redraw(Graphics *g) {
  if (!g || !IsShowing())
    return;
  // A paint event may close the window: the pane stays until the redraw
  // ends, and what follows an event checks that it is still there.
  Protect();
  LockListbox();
  g->TextFont(FontName());
  g->TextSize(FontSize());
  g->TextFace(Style());
  RedrawCore(g);
  if (!IsClosing()) {
    DrawFocusRow(g);
    ValidatePane();
    const QV::Rect q = GetContentRect();
    if (mEditRow != -1 && mEditColumn != -1 && mCellEditor) {
      GraphicsClipSaver saver(g);
      g->ClipRect(q);
      QV::Rect inner = q;
      QV::InsetRect(&inner, 2, 2);
      mCellEditor->ShowPane(true);
      mCellEditor->MovePane(ClipRectToRect(GetCellBounds(mEditRow, mEditColumn), inner), false);
    }
    g->ClipRect(Bounds());
    DrawDragReorderWidget(g);
    DrawListBorder(g);
    DrawFocusRing(g);
  }
  UnlockListbox();
  UnprotectCausesDeath();
}

void RuntimeListbox::RedrawCore(Graphics *g) {
  if (!mConstantRowHeight) {
    ShowAlert(kVariableRowHeight);
    return;
  }
  ClearContentInvalid();
  const int32_t h = GetRowHeight(-1);
  const QV::Rect q = GetContentRect();
  HandleDrawEnvironment(g, q);
  int32_t top = q.top;
  for (int32_t row = mScrollRow; row < GetRowCount() && top < q.bottom && !IsClosing();
       ++row, top += h) {
    QV::Rect r;
    r.left = q.left;
    r.right = q.right;
    r.top = static_cast<int16_t>(top);
    r.bottom = static_cast<int16_t>(top + h);
    QV::Rect visible;
    if (!QV::SectRect(&r, &q, &visible))
      continue;
    g->ClipRect(visible);
    HandleDrawRow(g, row, r, getSelected(row));
  }
  if (!IsClosing())
    g->ClipRgn(0);
}

void RuntimeListbox::HandleDrawEnvironment(Graphics *g, const QV::Rect &rect) {
  const QV::RGBColor saved = g->GetForeColor();
  g->RGBForeColor(&kWhiteColour);
  g->FillRect(&rect);
  g->RGBForeColor(&saved);
}

void RuntimeListbox::HandleHighlightRow(Graphics *g, int32_t row, const QV::Rect &rect,
                                        bool selected) {
  HandleDrawRow(g, row, rect, selected);
}

void RuntimeListbox::HandleDrawRow(Graphics *g, int32_t row, const QV::Rect &rect,
                                   bool selected) {
  if (row < 0 || row >= mRows.GetCount())
    return; // bound rows come with the data binding
  QV::Rect tail = rect;
  tail.left = static_cast<int16_t>(GetColRight(ColumnCount() - 1));
  if (tail.left < tail.right)
    DrawHighlight(g, tail, selected);
  const QV::Rect q = GetContentRect();
  QV::Rect cell = rect;
  int32_t left = static_cast<int16_t>(rect.left - static_cast<int16_t>(HScrollOffset()));
  for (int32_t c = 0; c < ColumnCount(); ++c) {
    const int32_t width = GetColWidthActual(c);
    const int32_t right = left + width;
    if (width != 0 && left < q.right && right > q.left) {
      // Fetched again for every cell: a paint event may have removed rows.
      if (IsClosing() || row >= mRows.GetCount())
        return;
      RowEntry *entry = GetItemRow(row);
      CellEntry *data = nullptr;
      for (CellEntry *e = entry ? entry->mCells : nullptr; e && !data; e = e->mNext)
        if (e->mColumn == c)
          data = e;
      cell.left = static_cast<int16_t>(left);
      cell.right = static_cast<int16_t>(right);
      DrawCell(g, cell, entry, data, row, c, selected);
    }
    left = right;
  }
}

void RuntimeListbox::DrawHighlight(Graphics *g, const QV::Rect &rect, bool selected) {
  if (mEditRow != -1 || mEditColumn != -1)
    return;
  const QV::RGBColor saved = g->GetForeColor();
  QV::RGBColor fill = kWhiteColour;
  if (IsEnabled() && selected && !mHierarchical)
    fill = ThemeColour(GetWidget(), true, GTK_STATE_SELECTED, QV::RGBColor{0x3000, 0x6000, 0xC000});
  g->RGBForeColor(&fill);
  g->FillRect(&rect);
  g->RGBForeColor(&saved);
}

void RuntimeListbox::DrawCell(Graphics *g, const QV::Rect &k, RowEntry *entry, CellEntry *data,
                              int32_t row, int32_t column, bool selected) {
  DrawCellBackground(g, k, row, column, selected);
  // The event may have taken the row or the list away.
  if (IsClosing() || row >= mRows.GetCount() || GetItemRow(row) != entry)
    return;
  data = nullptr;
  for (CellEntry *e = entry ? entry->mCells : nullptr; e && !data; e = e->mNext)
    if (e->mColumn == column)
      data = e;
  QV::Rect p = GetCellContentRect(k, row, column, false);
  if (column == 0) {
    int32_t indent = 4;
    if (mHierarchical) {
      indent = entry ? entry->mIndent * 12 : 0;
      if (entry && entry->mFolderState != -1)
        DrawHierarchicalWidget(g, p, entry->mFolderState != 0);
      indent += 20;
    }
    p.left = static_cast<int16_t>(p.left + indent);
  }
  int32_t offset = 0;
  if (GetCellType(row, column) == 2) {
    DrawCellCheckBox(g, p, data);
    offset = 20;
  }
  if (data) {
    if (data->mPicture) {
      DrawCellPicture(g, p, data, offset);
      offset += 20;
    }
    p.left = static_cast<int16_t>(p.left + offset);
    if (!(mCellEditor && row == mEditRow && column == mEditColumn)) {
      if (!DrawCellText(g, p, data, row, column, selected))
        return;
    }
  }
  GraphicsClipSaver saver(g);
  g->ClipRect(GetContentRect());
  DrawCellBorder(g, k, row, column);
}

void RuntimeListbox::DrawCellBackground(Graphics *g, const QV::Rect &k, int32_t row,
                                        int32_t column, bool selected) {
  DrawHighlight(g, k, selected);
  g->RGBForeColor(&kBlackColour);
  auto proc = reinterpret_cast<PaintProc>(Handler(ListboxEvent::kCellBackgroundPaint));
  if (!proc || !mControl)
    return;
  QV::Rect out;
  auto *paint = new UserPaint(this, g, GetContentRect(), k, &out);
  if (paint->Object())
    proc(&mControl->control.header, paint->Object(), row, column);
  delete paint;
}

void RuntimeListbox::DrawCellCheckBox(Graphics *g, const QV::Rect &p, CellEntry *data) {
  GtkWidget *widget = GetWidget();
  GdkDrawable *drawable = g->GetGdkDrawable();
  if (!widget || !widget->style || !drawable)
    return;
  int32_t menuBar = 0;
  if (Window *w = GetWindow())
    menuBar = GTKHelper::GetMenuBarHeight(w);
  QV::Rect q = GetContentRect();
  const int32_t y = (p.top + p.bottom) / 2 - 6 + menuBar;
  int32_t height = 13;
  const int32_t qBottom = q.bottom + menuBar;
  const bool cut = y + 13 > qBottom;
  if (cut)
    height = std::max(0, qBottom - y);
  QV::Rect box;
  QV::SetRect(&box, p.left, y - menuBar, p.left + 13, y - menuBar + height);
  const QV::Rect t = GTKHelper::TranslateRect(g, box);
  GdkRectangle area{t.left, t.top, 13, height};
  if (cut) {
    gdk_gc_set_clip_rectangle(widget->style->base_gc[0], &area);
    gdk_gc_set_clip_rectangle(widget->style->text_gc[0], &area);
  }
  gtk_paint_check(widget->style, drawable, GTK_STATE_NORMAL,
                  data && data->mChecked ? GTK_SHADOW_IN : GTK_SHADOW_OUT, &area, widget,
                  "cellcheck", t.left, t.top, 12, 12);
  if (cut) {
    gdk_gc_set_clip_rectangle(widget->style->base_gc[0], nullptr);
    gdk_gc_set_clip_rectangle(widget->style->text_gc[0], nullptr);
  }
}

void RuntimeListbox::DrawCellPicture(Graphics *g, const QV::Rect &p, CellEntry *data,
                                     int32_t offset) {
  auto *picture = reinterpret_cast<PictureObject *>(data->mPicture);
  if (!picture || !picture->image)
    return;
  int32_t w = 0, h = 0;
  picture->image->getSize(&w, &h);
  QV::Rect r;
  r.left = static_cast<int16_t>(p.left + offset + 8 - w / 2);
  r.top = static_cast<int16_t>(p.top + (p.bottom - p.top - h + 1) / 2);
  r.right = static_cast<int16_t>(r.left + w);
  r.bottom = static_cast<int16_t>(r.top + h);
  picture->image->Draw(g, &r, 1);
}

void RuntimeListbox::DrawHierarchicalWidget(Graphics *g, const QV::Rect &p, bool expanded) {
  GdkDrawable *drawable = g->GetGdkDrawable();
  GdkGC *gc = g->GetGC();
  if (!drawable || !gc)
    return;
  const QV::Rect box = GTKHelper::TranslateRect(g, GetHierarchicalWidgetBounds(p));
  const int x = box.left, y = box.top;
  GdkPoint down[3] = {{x, y + 3}, {x + 10, y + 3}, {x + 5, y + 8}};
  GdkPoint right[3] = {{x + 1, y}, {x + 6, y + 5}, {x + 1, y + 10}};
  gdk_draw_polygon(drawable, gc, TRUE, expanded ? down : right, 3);
  g->ReleaseGC();
}

int32_t RuntimeListbox::CalculateCellTextXOffset(Graphics *g, const QV::Rect &p, CellEntry *data,
                                                 int32_t row, int32_t column, string *ellipsis) {
  const int32_t o = GetCellAlignmentOffset(row, column);
  const int32_t a = GetCellAlignment(row, column);
  const int32_t w = p.right - p.left - 4;
  const string &text = data->mText;
  int32_t e = o;
  auto rightAligned = [&] { return w + o - g->StringWidth(text); };
  if (a == 2) {
    e = o + (w - g->StringWidth(text)) / 2;
  } else if (a == 3) {
    e = rightAligned();
  } else if (a == 4) {
    const char *bytes = text.CString();
    int32_t position = -1;
    for (int32_t i = 0; i < text.Length() && position < 0; ++i)
      if (bytes[i] == kDecimalCharacter)
        position = i;
    if (position < 0) {
      e = rightAligned();
    } else {
      e = w + o - g->StringWidth(left(text, position));
      if (e < std::max(o, 0)) {
        e = std::max(o, 0);
        // A decimal text cut on the right would lose its fraction quietly
        // with an ellipsis in its place: it shows what fits, and no dots.
        *ellipsis = string();
      }
    }
  }
  return std::max(e, std::max(o, 0));
}

bool RuntimeListbox::DrawCellText(Graphics *g, const QV::Rect &p, CellEntry *data, int32_t row,
                                  int32_t column, bool selected) {
  g->TextSize(GetCellFontSize(row, column));
  g->TextFace(data->mStyle | Style());
  const bool shown = selected && row != mEditRow;
  const bool fillBehind = mHierarchical ? column == 0 : IsEnabled();
  const QV::RGBColor colour = shown && fillBehind ? kWhiteColour : kBlackColour;
  g->RGBForeColor(&colour);
  string ellipsis("...");
  int32_t x = CalculateCellTextXOffset(g, p, data, row, column, &ellipsis);
  int32_t y = g->FontAscent() + (p.bottom - p.top - g->FontHeight()) / 2;
  if (auto proc = reinterpret_cast<TextPaintProc>(Handler(ListboxEvent::kCellTextPaint));
      proc && mControl) {
    QV::Rect out;
    auto *paint = new UserPaint(this, g, GetContentRect(), p, &out);
    const bool done =
        paint->Object() && proc(&mControl->control.header, paint->Object(), row, column, x, y);
    delete paint;
    // The event may have removed the row or closed the window.
    if (IsClosing() || row >= mRows.GetCount())
      return false;
    if (done)
      return true;
    data = GetItemCell(row, column, false);
    if (!data)
      return true;
    ellipsis = string("...");
    x = CalculateCellTextXOffset(g, p, data, row, column, &ellipsis);
    y = g->FontAscent() + (p.bottom - p.top - g->FontHeight()) / 2;
  }
  const string text = nthField(nthField(data->mText, string("\r"), 1), string("\n"), 1);
  if (text.IsEmpty())
    return true;
  if (column == 0)
    DrawCellHighlight(g, p, data, selected, p.left + x);
  g->DrawConstrainedString(text, p.left + x, p.top + y, p.right - (p.left + x), ellipsis,
                           nullptr);
  g->TextFace(Style());
  return true;
}

void RuntimeListbox::DrawCellHighlight(Graphics *g, const QV::Rect &p, CellEntry *data,
                                       bool selected, int32_t x) {
  if (!selected || !mHierarchical || data->mText.IsEmpty())
    return;
  QV::Rect r;
  r.top = p.top;
  r.bottom = p.bottom;
  r.left = static_cast<int16_t>(x - 3);
  r.right = static_cast<int16_t>(x - 3 + g->StringWidth(data->mText) + 6);
  const QV::RGBColor fill =
      ThemeColour(GetWidget(), true, GTK_STATE_SELECTED, QV::RGBColor{0x3000, 0x6000, 0xC000});
  g->RGBForeColor(&fill);
  g->FillRect(&r);
  g->RGBForeColor(&kWhiteColour);
}

void RuntimeListbox::PrepareForBorderDraw(Graphics *g, lineDirections direction, int32_t style) {
  g->RGBForeColor(&kBlackColour);
  int32_t pattern = 0, thickness = 1;
  switch (style) {
  case kBorderThinDotted:
    pattern = 1;
    break;
  case kBorderThinSolid:
    break;
  case kBorderThickSolid:
    thickness = 2;
    break;
  case kBorderDoubleThinSolid:
    pattern = direction == kLineVertical ? 3 : 2;
    thickness = 3;
    break;
  default:
    return;
  }
  g->PenEnumPat(pattern);
  if (direction == kLineVertical)
    g->PenSize(thickness, 1);
  else
    g->PenSize(1, thickness);
}

void RuntimeListbox::DrawCellBorder(Graphics *g, const QV::Rect &k, int32_t row, int32_t column) {
  const QV::RGBColor savedColour = g->GetForeColor();
  const int32_t penWidth = g->GetPenWidth(), penHeight = g->GetPenHeight();
  const int32_t top = GetCellBorderStyle(kBorderTop, row, column, true);
  const int32_t leftStyle = GetCellBorderStyle(kBorderLeft, row, column, true);
  const int32_t bottom = GetCellBorderStyle(kBorderBottom, row, column, true);
  const int32_t rightStyle = GetCellBorderStyle(kBorderRight, row, column, true);
  const QV::Rect l = GetCellContentRect(k, row, column, true);
  if (leftStyle >= 2 && (column != 0 || HScrollOffset() < 0)) {
    PrepareForBorderDraw(g, kLineVertical, leftStyle);
    g->SetPatternAlign(l.left & 1, 0);
    g->MoveTo(l.left, l.top);
    g->LineTo(l.left, l.bottom);
  }
  if (rightStyle >= 2) {
    PrepareForBorderDraw(g, kLineVertical, rightStyle);
    g->SetPatternAlign(l.right & 1, 0);
    g->MoveTo(l.right, l.top);
    g->LineTo(l.right, l.bottom);
  }
  if (top >= 2 && row != 0) {
    PrepareForBorderDraw(g, kLineHorizontal, top);
    g->SetPatternAlign(0, l.top & 1);
    g->MoveTo(l.left, l.top);
    g->LineTo(l.right, l.top);
  }
  if (bottom >= 2) {
    PrepareForBorderDraw(g, kLineHorizontal, bottom);
    g->SetPatternAlign(0, l.bottom & 1);
    g->MoveTo(l.left, l.bottom);
    g->LineTo(l.right, l.bottom);
  }
  g->SetPatternAlign(0, 0);
  g->RGBForeColor(&savedColour);
  g->PenSize(penWidth, penHeight);
  g->PenEnumPat(0);
}

void RuntimeListbox::DrawListBorder(Graphics *g) {
  const QV::Rect q = GetContentRect();
  QV::Rect f;
  f.top = Bounds().top;
  f.left = Bounds().left;
  f.bottom = static_cast<int16_t>(q.bottom + 1);
  f.right = static_cast<int16_t>(q.right + 1);
  const QV::RGBColor saved = g->GetForeColor();
  const QV::RGBColor frame =
      ThemeColour(GetWidget(), false, GTK_STATE_INSENSITIVE, QV::RGBColor{0x8000, 0x8000, 0x8000});
  g->RGBForeColor(&frame);
  g->FrameRect(&f);
  const QV::RGBColor light =
      ThemeColour(GetWidget(), true, GTK_STATE_NORMAL, QV::RGBColor{0xE000, 0xE000, 0xE000});
  g->RGBForeColor(&light);
  g->MoveTo(f.right - 1, f.top + 1);
  g->LineTo(f.right - 1, f.bottom - 1);
  g->LineTo(f.left + 1, f.bottom - 1);
  g->RGBForeColor(&saved);
}

void RuntimeListbox::DrawFocusRow(Graphics *g) {
  if (!g || !HasFocus() || mHierarchical || FocusRow() < 0)
    return;
  GtkWidget *widget = GetWidget();
  GdkDrawable *drawable = g->GetGdkDrawable();
  if (!widget || !widget->style || !drawable)
    return;
  GraphicsClipSaver saver(g);
  g->ClipRect(GetContentRect());
  QV::Rect span, visible;
  if (!GetVisibleSpanBounds(FocusRow(), 1, &span, &visible))
    return;
  const QV::Rect t = GTKHelper::TranslateRect(g, span);
  GdkRectangle area{t.left, t.top, t.right - t.left, t.bottom - t.top};
  gtk_paint_focus(widget->style, drawable, GTK_STATE_NORMAL, &area, widget, nullptr, area.x,
                  area.y, area.width, area.height);
}

void RuntimeListbox::DrawDragReorderWidget(Graphics *g) {
  if (!mDragReorderActive)
    return;
  QV::Point mouse;
  GetMouse(&mouse);
  int32_t row, dx, dy;
  if (!RowFromPoint(mouse.h, mouse.v, &row, &dx, &dy))
    return;
  const int32_t h = GetRowHeight(-1);
  const int32_t y = dy < h / 2 ? mouse.v - dy : mouse.v - dy + h;
  const int32_t x0 = Bounds().left + Inset(kInsetLeft);
  g->MoveTo(x0, y - 2);
  g->LineTo(x0, y + 3);
  g->MoveTo(x0 + 1, y - 1);
  g->LineTo(x0 + 1, y + 2);
  g->MoveTo(x0, y);
  g->LineTo(x0 + 3, y);
  g->MoveTo(x0 + 4, y);
  g->LineTo(mVScroller ? Bounds().right - GetScrollerWidth() - Inset(kInsetRight) : Bounds().right,
            y);
}
