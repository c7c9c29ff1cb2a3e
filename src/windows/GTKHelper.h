// The toolbox through which windows and controls talk to GTK+, GDK and
// Pango: placing widgets, captions and fonts, the pointer, the menu bar,
// toplevel lookups, the keys held down and the key tables, and the generic
// signal handlers that controls connect to their widgets.
#pragma once
#include <cstdint>

#include <gtk/gtk.h>

#include "foundation/QVGeometry.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "graphics/FontStructure.h"

class Graphics;
class SubPane;
class Window;

class GTKHelper {
public:
  GTKHelper() = delete;

  static void SetupWidget(SubPane *pane, bool show);
  static void RepositionWidget(SubPane *pane);

  static string TranslateMnemonics(const string &caption);
  static void SetCaption(GtkWidget *label, const string &caption, const FontStructure *font);
  static void UnderlineLabel(GtkWidget *widget);
  static void SetupFont(GtkWidget *widget, const FontStructure *font);
  // The caller frees the description.
  static PangoFontDescription *GetPangoFontDescription(const FontStructure *font);
  static string TranslateFontName(const string &name, bool toGTK);
  static long TranslateFontSize(long size, bool toGTK);
  static long GetFontCount();
  static string GetFontName(long i);

  // The pointer in w's content coordinates.
  static QV::Point GetCursorPos(Window *w);
  // Where an event happened, in w's content coordinates: its root position
  // less the window's origin and menu bar.
  static QV::Point EventPos(Window *w, gdouble xRoot, gdouble yRoot);
  static GtkWidget *GetMenuBar(Window *w);
  static int GetMenuBarHeight(Window *w);
  static QV::Rect TranslateRect(Graphics *g, const QV::Rect &r);
  static Window *GetDialogParent(Window *w);
  static Window *GetMenuWindow();

  static void Init();
  static int KeySnooperCallBack(GtkWidget *widget, GdkEventKey *e, gpointer data);
  static bool IsKeyDown(long code);
  static int GetCharCodeFromKeyCode(guint keyval, int modifiers);
  // The GDK key value a classic virtual key code stands for; 0 for none.
  static guint KeyValueForVirtualKey(int code);
  static const SimpleVector<long> &KeysPressed() { return mKeysPressed; }
  static void ForgetKeysPressed();

  static gboolean GenericButtonPressedCallBack(GtkWidget *widget, GdkEventButton *e, SubPane *pane);
  static gboolean GenericButtonReleasedCallBack(GtkWidget *widget, GdkEventButton *e,
                                                SubPane *pane);
  static void GenericFocusCallBack(GtkWidget *widget, SubPane *pane);
  static gboolean GenericPaintCallBack(GtkWidget *widget, GdkEventExpose *e, SubPane *pane);

  static GtkClipboard *GetClipboard();
  static int GetBestSupportedDepth();

  // Text for GTK+ and Pango: converted to UTF-8 by the string's encoding tag
  // (bytes of UTF-8, ASCII and untagged text are taken as UTF-8). A sequence
  // that is invalid in its encoding, and each zero byte, becomes U+FFFD, so
  // the rest of the text still shows. Valid UTF-8 comes back as it was,
  // whatever its tag, so read only its bytes.
  static string ToUTF8(const string &text);
  // The held keys record; the snooper keeps it by hardware keycode so that a
  // key released under another key value still lets go.
  static void NoteKeyEvent(bool press, guint keyval, uint16_t hardwareKeycode);

private:
  static SimpleVector<long> mKeysPressed;
  static SimpleVector<long> mKeycodesPressed;
};

// The modifier word of the last key press (0x0200 shift, 0x0800 option,
// 0x1000 control).
extern uint16_t gLastModifiers;
