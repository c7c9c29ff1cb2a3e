#include "windows/GTKHelper.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "foundation/AssertionAlert.h"
#include "foundation/TextEncodings.h"
#include "graphics/Graphics.h"
#include "windows/DesktopServices.h"
#include "windows/RunLoopRegisters.h"
#include "windows/Window.h"

SimpleVector<long> GTKHelper::mKeysPressed;
SimpleVector<long> GTKHelper::mKeycodesPressed;
uint16_t gLastModifiers = 0;

namespace {

constexpr const char *kSource = "../Common/Linux/GTKHelper";

void Alert(int line, const char *condition, const char *message = nullptr) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, kSource, line, condition, message);
}

PangoFontFamily **sFontFamilies = nullptr;
int sFamilyCount = 0;
bool sFontCountKnown = false;
int sMenuBarHeight = 0;
int sScreenDepth = 0;
GtkClipboard *sClipboard = nullptr;

// Classic virtual key codes 0 to 127 and the GDK key values they stand for.
struct VirtualKey {
  uint8_t code;
  guint keyval;
};

// clang-format off
constexpr VirtualKey kVirtualKeys[] = {
    {0, 'A'}, {1, 'S'}, {2, 'D'}, {3, 'F'}, {4, 'H'}, {5, 'G'}, {6, 'Z'}, {7, 'X'}, {8, 'C'},
    {9, 'V'}, {11, 'B'}, {12, 'Q'}, {13, 'W'}, {14, 'E'}, {15, 'R'}, {16, 'Y'}, {17, 'T'},
    {31, 'O'}, {32, 'U'}, {34, 'I'}, {35, 'P'}, {37, 'L'}, {38, 'J'}, {40, 'K'}, {45, 'N'},
    {46, 'M'}, {18, 49}, {19, 50}, {20, 51}, {21, 52}, {22, 54}, {23, 53}, {25, 57}, {26, 55},
    {28, 56}, {29, 48},
    // "=", "-" and "\" of the classic layout, as GTK+ delivers them.
    {24, 61}, {27, 45}, {42, 92},
    {30, 93}, {33, 91}, {39, 39}, {41, 59}, {43, 44}, {44, 47}, {47, 46}, {50, 96},
    {36, 0xFF0D}, {48, 0xFF09}, {49, 32}, {51, 0xFF08}, {53, 0xFF1B},
    {55, 0xFFEB}, {56, 0xFFE1}, {57, 0xFFE5}, {58, 0xFFE9}, {59, 0xFFE3}, {60, 0xFFE2},
    {61, 0xFFEA}, {62, 0xFFE4},
    {65, 0xFFAE}, {67, 0xFFAA}, {69, 0xFFAB}, {71, 0xFF7F}, {75, 0xFFAF}, {76, 0xFF8D},
    {78, 0xFFAD}, {81, 0xFFBD},
    {82, 0xFFB0}, {83, 0xFFB1}, {84, 0xFFB2}, {85, 0xFFB3}, {86, 0xFFB4}, {87, 0xFFB5},
    {88, 0xFFB6}, {89, 0xFFB7}, {91, 0xFFB8}, {92, 0xFFB9},
    {122, 0xFFBE}, {120, 0xFFBF}, {99, 0xFFC0}, {118, 0xFFC1}, {96, 0xFFC2}, {97, 0xFFC3},
    {98, 0xFFC4}, {100, 0xFFC5}, {101, 0xFFC6}, {109, 0xFFC7}, {103, 0xFFC8}, {111, 0xFFC9},
    {105, 0xFF15}, {107, 0xFF14}, {113, 0xFF13},
    {114, 0xFF63}, {115, 0xFF50}, {116, 0xFF55}, {117, 0xFFFF}, {119, 0xFF57}, {121, 0xFF56},
    {123, 0xFF51}, {124, 0xFF53}, {125, 0xFF54}, {126, 0xFF52},
};
// clang-format on

struct CharCode {
  guint keyval;
  int code;
};

// clang-format off
constexpr CharCode kCharCodes[] = {
    {0xFF0D, 13}, {0xFE20, 9},   {0xFF50, 1},   {0xFF58, 1},   {0xFF95, 1},   {0xFF9D, 1},
    {0xFF57, 4},  {0xFF9C, 4},   {0xFF55, 11},  {0xFF9A, 11},  {0xFF56, 12},  {0xFF9B, 12},
    {0xFF51, 28}, {0xFF96, 28},  {0xFF53, 29},  {0xFF98, 29},  {0xFF52, 30},  {0xFF97, 30},
    {0xFF54, 31}, {0xFF99, 31},  {0xFF8D, 3},   {0xFFFF, 127}, {0xFF9F, 127}, {0xFFAA, 42},
    {0xFFAB, 43}, {0xFFAD, 45},  {0xFFAE, 46},  {0xFFAF, 47},  {0xFFBD, 61},
};
// clang-format on

bool IsLetterKey(long keyval) {
  return (keyval >= 'A' && keyval <= 'Z') || (keyval >= 'a' && keyval <= 'z');
}

long FoldLetter(long keyval) { return IsLetterKey(keyval) ? (keyval | 0x20) : keyval; }

PangoContext *NewPangoContext() { return gdk_pango_context_get(); }

} // namespace

void GTKHelper::SetupWidget(SubPane *pane, bool show) {
  Window *w = pane->GetWindow();
  if (!w) {
    Alert(930, "window", "No window?  Blasphemy!");
    return;
  }
  const QV::Rect &b = pane->Bounds();
  gtk_fixed_put(GTK_FIXED(w->GetFixed()), pane->GetWidget(), b.left, b.top);
  gtk_widget_set_size_request(pane->GetWidget(), std::max(0, pane->Width()),
                              std::max(0, pane->Height()));
  if (show)
    gtk_widget_show(pane->GetWidget());
}

void GTKHelper::RepositionWidget(SubPane *pane) {
  if (!pane->GetWidget() ||
      pane->GetWidget() == (pane->GetWindow() ? pane->GetWindow()->GetFixed() : nullptr))
    return; // no widget, or the window's own fixed, which GTK+ lays out
  Window *w = pane->GetWindow();
  if (!w) {
    Alert(860, "window", "No window?  Blasphemy!");
    return;
  }
  const QV::Rect &b = pane->Bounds();
  gtk_fixed_move(GTK_FIXED(w->GetFixed()), pane->GetWidget(), b.left, b.top);
  gtk_widget_set_size_request(pane->GetWidget(), std::max(0, pane->Width()),
                              std::max(0, pane->Height()));
}

string GTKHelper::TranslateMnemonics(const string &caption) {
  std::string out;
  const char *s = caption.CString();
  int n = caption.Length();
  for (int i = 0; i < n; ++i) {
    char c = s[i];
    if (c == '&') {
      if (i + 1 < n && s[i + 1] == '&') {
        out += '&';
        ++i;
      } else {
        out += '_';
      }
    } else if (c == '_') {
      out += "__";
    } else {
      out += c;
    }
  }
  string result;
  result.ConstructFromBuffer(out.data(), static_cast<int>(out.size()));
  result.SetEncoding(caption.Encoding());
  return result;
}

void GTKHelper::SetCaption(GtkWidget *label, const string &caption, const FontStructure *font) {
  gtk_label_set_text_with_mnemonic(GTK_LABEL(label), ToUTF8(TranslateMnemonics(caption)).CString());
  if (font && font->underline)
    UnderlineLabel(label);
}

void GTKHelper::UnderlineLabel(GtkWidget *widget) {
  if (!GTK_IS_LABEL(widget))
    return;
  std::string pattern(strlen(gtk_label_get_text(GTK_LABEL(widget))), '_');
  gtk_label_set_pattern(GTK_LABEL(widget), pattern.c_str());
}

void GTKHelper::SetupFont(GtkWidget *widget, const FontStructure *font) {
  PangoFontDescription *desc = GetPangoFontDescription(font);
  gtk_widget_modify_font(widget, desc);
  if (desc)
    pango_font_description_free(desc);
  if (font->underline)
    UnderlineLabel(widget);
}

PangoFontDescription *GTKHelper::GetPangoFontDescription(const FontStructure *font) {
  string name = TranslateFontName(font->name, true);
  long size = TranslateFontSize(font->size, true);
  std::string text = ToUTF8(name).CString();
  text += " " + std::to_string(size);
  PangoFontDescription *desc = pango_font_description_from_string(text.c_str());
  if (!desc)
    Alert(463, "fontDesc");
  PangoContext *context = NewPangoContext();
  PangoFont *loaded = nullptr;
  if (desc) {
    pango_context_set_font_description(context, desc);
    loaded = pango_context_load_font(context, desc);
  }
  if (loaded) {
    g_object_unref(loaded);
  } else {
    if (desc)
      pango_font_description_free(desc);
    desc = pango_font_description_from_string(("Sans " + std::to_string(size)).c_str());
  }
  g_object_unref(context);
  pango_font_description_set_style(desc, font->italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  pango_font_description_set_weight(desc, font->bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  return desc;
}

string GTKHelper::TranslateFontName(const string &name, bool toGTK) {
  if (toGTK)
    return name.IsEmpty() || name.Compare(string("System")) == 0 ? string("Sans") : name;
  return name.CompareWithCase("Sans") == 0 ? string("System") : name;
}

long GTKHelper::TranslateFontSize(long size, bool toGTK) {
  if (toGTK)
    return size <= 0 ? 9 : size - 3;
  return size + 3;
}

long GTKHelper::GetFontCount() {
  if (!sFontCountKnown) {
    PangoContext *context = NewPangoContext();
    pango_context_list_families(context, &sFontFamilies, &sFamilyCount);
    g_object_unref(context);
    sFontCountKnown = true;
  }
  return sFamilyCount + 1;
}

string GTKHelper::GetFontName(long i) {
  if (i == 0)
    return string("System");
  if (i < 1 || i >= GetFontCount())
    return string();
  const char *name = pango_font_family_get_name(sFontFamilies[i - 1]);
  string result(name);
  for (const char *p = name; *p; ++p)
    if (static_cast<unsigned char>(*p) >= 0x80) {
      result.SetEncoding(kEncodingUTF8); // Pango names families in UTF-8
      break;
    }
  return result;
}

namespace {

// A point in the toplevel's own coordinates made a point of w's content,
// which starts below the menu bar.
QV::Point BelowMenuBar(Window *w, gint x, gint y) {
  if (w->HasMenuBar())
    if (GtkWidget *bar = GTKHelper::GetMenuBar(w))
      y -= bar->allocation.height;
  return QV::Point{y, x};
}

} // namespace

QV::Point GTKHelper::GetCursorPos(Window *w) {
  gint x = 0, y = 0;
  if (w->GetGtkWindow() && w->GetGtkWindow()->window)
    gdk_window_get_pointer(w->GetGtkWindow()->window, &x, &y, nullptr);
  return BelowMenuBar(w, x, y);
}

QV::Point GTKHelper::EventPos(Window *w, gdouble xRoot, gdouble yRoot) {
  gint originX = 0, originY = 0;
  if (w->GetGtkWindow() && w->GetGtkWindow()->window)
    gdk_window_get_origin(w->GetGtkWindow()->window, &originX, &originY);
  return BelowMenuBar(w, static_cast<gint>(xRoot) - originX, static_cast<gint>(yRoot) - originY);
}

GtkWidget *GTKHelper::GetMenuBar(Window *w) {
  if (!w->GetBox())
    return nullptr;
  GList *children = gtk_container_get_children(GTK_CONTAINER(w->GetBox()));
  GtkWidget *found = nullptr;
  for (GList *c = children; c && !found; c = c->next)
    if (GTK_IS_MENU_BAR(c->data))
      found = GTK_WIDGET(c->data);
  g_list_free(children);
  return found;
}

int GTKHelper::GetMenuBarHeight(Window *w) {
  if (sMenuBarHeight)
    return sMenuBarHeight;
  if (!w || !w->HasMenuBar())
    return 0;
  GtkWidget *bar = GetMenuBar(w);
  if (!bar || bar->allocation.x == -1 || bar->allocation.y == -1)
    return 0; // not laid out yet: measure again next time
  sMenuBarHeight = bar->allocation.height;
  return sMenuBarHeight;
}

QV::Rect GTKHelper::TranslateRect(Graphics *g, const QV::Rect &r) {
  QV::Rect out = r;
  QV::OffsetRect(&out, static_cast<int16_t>(-g->GetOriginH()),
                 static_cast<int16_t>(-g->GetOriginV()));
  Pane *pane = g->GetPane();
  if (!pane || !pane->isSubPane())
    return out;
  auto *p = static_cast<SubPane *>(pane);
  Window *w = p->GetWindow();
  if (!w)
    return out;
  if (p != w && p->GetWidget() && p->GetWidget()->window &&
      p->GetWidget()->window != w->GetGtkWindow()->window)
    QV::OffsetRect(&out, static_cast<int16_t>(-p->Bounds().left),
                   static_cast<int16_t>(-p->Bounds().top));
  else if (w->HasMenuBar())
    QV::OffsetRect(&out, 0, static_cast<int16_t>(GetMenuBarHeight(w)));
  return out;
}

namespace {

// The last toplevel, in GDK's order, whose window qualifies.
Window *LastToplevel(bool (*qualifies)(Window *w, Window *except), Window *except) {
  Window *answer = nullptr;
  GList *toplevels = gdk_window_get_toplevels();
  for (GList *item = toplevels; item; item = item->next)
    for (Window *w = gWindowList; w; w = w->NextWindow())
      if (w->GetGtkWindow() && w->GetGtkWindow()->window == item->data && qualifies(w, except))
        answer = w;
  g_list_free(toplevels);
  return answer;
}

} // namespace

Window *GTKHelper::GetDialogParent(Window *w) {
  return LastToplevel([](Window *c, Window *except) { return c != except; }, w);
}

Window *GTKHelper::GetMenuWindow() {
  return LastToplevel([](Window *c, Window *) { return c->HasMenuBar(); }, nullptr);
}

void GTKHelper::Init() { gtk_key_snooper_install(KeySnooperCallBack, nullptr); }

void GTKHelper::NoteKeyEvent(bool press, guint keyval, uint16_t hardwareKeycode) {
  // A key is one entry by its hardware keycode, whatever key value it
  // carries at the moment: Shift pressed while a key repeats turns "a" into
  // "A", and the release comes under the value of that moment.
  for (int32_t i = 0; i < mKeycodesPressed.count(); ++i)
    if (mKeycodesPressed[i] == hardwareKeycode) {
      if (press) {
        mKeysPressed[i] = keyval;
      } else {
        mKeysPressed.deleteIdx(i);
        mKeycodesPressed.deleteIdx(i);
      }
      return;
    }
  if (press) {
    mKeysPressed.push_back(keyval);
    mKeycodesPressed.push_back(hardwareKeycode);
  }
}

void GTKHelper::ForgetKeysPressed() {
  while (mKeysPressed.count()) {
    mKeysPressed.pop_back();
    mKeycodesPressed.pop_back();
  }
}

int GTKHelper::KeySnooperCallBack(GtkWidget *, GdkEventKey *e, gpointer) {
  NoteKeyEvent(e->type == GDK_KEY_PRESS, e->keyval, e->hardware_keycode);
  return FALSE;
}

guint GTKHelper::KeyValueForVirtualKey(int code) {
  for (const VirtualKey &k : kVirtualKeys)
    if (k.code == code)
      return k.keyval;
  return 0;
}

bool GTKHelper::IsKeyDown(long code) {
  long keyval =
      code < 128 ? static_cast<long>(KeyValueForVirtualKey(static_cast<int>(code))) : code;
  if (keyval == 0)
    return false;
  for (long held : mKeysPressed)
    if (FoldLetter(held) == FoldLetter(keyval))
      return true;
  return false;
}

int GTKHelper::GetCharCodeFromKeyCode(guint keyval, int) {
  for (const CharCode &c : kCharCodes)
    if (c.keyval == keyval)
      return c.code;
  return static_cast<int>(keyval & 0xFF);
}

gboolean GTKHelper::GenericButtonPressedCallBack(GtkWidget *, GdkEventButton *e, SubPane *pane) {
  Window *w = pane->GetWindow();
  // GTK+ follows the second and third press of a double or triple click with
  // an event of its own; only the presses themselves are clicks.
  if (!w || (e && e->type != GDK_BUTTON_PRESS))
    return FALSE;
  // Where the press happened, not where the pointer is by now: the loop may
  // reach this press after later input has moved the pointer on.
  QV::Point pt = e ? EventPos(w, e->x_root, e->y_root) : GetCursorPos(w);
  // Every press of any button is one click, with the Shift (0x0200) and
  // Control (0x1000) keys held at the press.
  int32_t modifiers = 0;
  if (e && (e->state & GDK_SHIFT_MASK))
    modifiers |= 0x0200;
  if (e && (e->state & GDK_CONTROL_MASK))
    modifiers |= 0x1000;
  w->Protect();
  bool handled = w->HandleClick(pt.h, pt.v, modifiers);
  w->UnprotectCausesDeath();
  return handled;
}

gboolean GTKHelper::GenericButtonReleasedCallBack(GtkWidget *, GdkEventButton *e, SubPane *pane) {
  if (pane != GetCaptureMouse())
    return FALSE;
  Window *w = pane->GetWindow();
  QV::Point pt = !w ? QV::Point{0, 0} : e ? EventPos(w, e->x_root, e->y_root) : GetCursorPos(w);
  ReleaseMouse();
  pane->HandleMouseUp(pt.h, pt.v);
  return FALSE;
}

void GTKHelper::GenericFocusCallBack(GtkWidget *, SubPane *pane) { SetFocusPane(pane); }

gboolean GTKHelper::GenericPaintCallBack(GtkWidget *, GdkEventExpose *, SubPane *pane) {
  pane->Repaint();
  return FALSE;
}

GtkClipboard *GTKHelper::GetClipboard() {
  if (!sClipboard)
    sClipboard = gtk_clipboard_get(gdk_atom_intern("CLIPBOARD", FALSE));
  return sClipboard;
}

int GTKHelper::GetBestSupportedDepth() {
  if (!sScreenDepth) {
    int32_t depth = 0;
    if (!GetScreenDepth(&depth)) {
      Alert(141, "screen");
      return 0;
    }
    sScreenDepth = depth;
  }
  return sScreenDepth;
}

