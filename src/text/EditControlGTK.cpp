#include "text/EditControlGTK.h"

#include "foundation/TextEncodings.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/GTKHelper.h"

namespace {

string UTF8Text(const gchar *bytes, bool owned) {
  string text;
  if (bytes && *bytes) {
    text.ConstructFromBuffer(bytes, static_cast<int>(strlen(bytes)));
    text.SetEncoding(kEncodingUTF8);
  }
  if (owned)
    g_free(const_cast<gchar *>(bytes));
  return text;
}

GdkColor ToGdkColor(const QV::RGBColor *color) {
  GdkColor c = {0, color->red, color->green, color->blue};
  return c;
}

} // namespace

EditControlGTK::EditControlGTK(EditControlDelegate *delegate, SubPane *parent,
                               int32_t tabPanelIndex, const QV::Rect &bounds, bool border,
                               const FontStructure &font, bool multiline, bool styled,
                               bool verticalScrollBar, bool horizontalScrollBar)
    : EditControl(parent, tabPanelIndex, bounds), mFont(font), mStyled(styled),
      mDelegate(delegate) {
  mMultiline = multiline;
  GtkWidget *input;
  if (multiline) {
    GtkWidget *scroller = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller),
                                   horizontalScrollBar ? GTK_POLICY_AUTOMATIC : GTK_POLICY_NEVER,
                                   verticalScrollBar ? GTK_POLICY_AUTOMATIC : GTK_POLICY_NEVER);
    input = gtk_text_view_new();
    mView = GTK_TEXT_VIEW(input);
    gtk_widget_show(input);
    mBuffer = gtk_text_view_get_buffer(mView);
    gtk_container_add(GTK_CONTAINER(scroller), input);
    gtk_text_view_set_left_margin(mView, 2);
    gtk_text_view_set_right_margin(mView, 2);
    if (!horizontalScrollBar)
      gtk_text_view_set_wrap_mode(mView, GTK_WRAP_WORD);
    if (styled) {
      mBoldTag = gtk_text_buffer_create_tag(mBuffer, "bold", "weight", PANGO_WEIGHT_BOLD, nullptr);
      mItalicTag =
          gtk_text_buffer_create_tag(mBuffer, "italic", "style", PANGO_STYLE_ITALIC, nullptr);
      mUnderlineTag = gtk_text_buffer_create_tag(mBuffer, "underline", "underline",
                                                 PANGO_UNDERLINE_SINGLE, nullptr);
    }
    if (border)
      gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(scroller), GTK_SHADOW_ETCHED_IN);
    SetWidget(scroller);
  } else {
    input = gtk_entry_new();
    gtk_entry_set_has_frame(GTK_ENTRY(input), border);
    SetWidget(input);
  }
  GTKHelper::SetupWidget(this, true);
  GTKHelper::SetupFont(input, &mFont);

  GObject *changes = multiline ? G_OBJECT(mBuffer) : G_OBJECT(input);
  g_signal_connect(changes, "changed", G_CALLBACK(TextChangedCallBack), this);
  g_signal_connect(input, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack), this);
  g_signal_connect(input, "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack), this);
  g_signal_connect(input, "button-release-event", G_CALLBACK(ButtonReleasedCallBack), this);
  g_signal_connect(input, "key-release-event", G_CALLBACK(KeyReleasedCallBack), this);
}

// The widgets go with the pane's widget, which SubPane destroys.
EditControlGTK::~EditControlGTK() { ReleaseStyleRuns(); }

GtkEntry *EditControlGTK::Entry() const { return mView ? nullptr : GTK_ENTRY(mWidget); }

GtkWidget *EditControlGTK::InputWidget() const {
  return mView ? GTK_WIDGET(mView) : mWidget;
}

void EditControlGTK::TextChangedCallBack(GObject *, EditControlGTK *pane) {
  // Edits that bypass the pane's own operations (a middle-click paste, a
  // drop) reach the buffer too: the runs are rebuilt after any change.
  pane->MarkStale();
  if (pane->mDelegate)
    pane->mDelegate->EditControlTextChange(pane);
}

gboolean EditControlGTK::ButtonReleasedCallBack(GtkWidget *widget, GdkEventButton *e,
                                                EditControlGTK *pane) {
  pane->SelectionChangedByInput();
  return GTKHelper::GenericButtonReleasedCallBack(widget, e, pane);
}

gboolean EditControlGTK::KeyReleasedCallBack(GtkWidget *, GdkEventKey *, EditControlGTK *pane) {
  pane->SelectionChangedByInput();
  return FALSE;
}

void EditControlGTK::SelectionChangedByInput() {
  sTellingFromInput = true;
  SelectionChanged();
  sTellingFromInput = false;
}

bool EditControlGTK::HandleKeyPress(int32_t ch, int32_t key, int32_t modifiers) {
  MarkStale();
  if (mDelegate) {
    if (mDelegate->EditControlHandleKeyPress(this, static_cast<uint8_t>(ch),
                                             static_cast<uint8_t>(key),
                                             static_cast<int16_t>(modifiers)))
      return true;
    // A selection change made since the last notice is told before this key.
    SelectionChangedByInput();
  }
  // A field that accepts tabs keeps the Tab key; a read-only one takes no
  // typing, so the key inserts nothing there.
  if (ch == '\t' && mAcceptTabs) {
    if (IsReadOnly())
      return true;
    if (mView) {
      gtk_text_buffer_insert_at_cursor(mBuffer, "\t", 1);
    } else {
      gint position = gtk_editable_get_position(GTK_EDITABLE(mWidget));
      gtk_editable_insert_text(GTK_EDITABLE(mWidget), "\t", 1, &position);
      gtk_editable_set_position(GTK_EDITABLE(mWidget), position);
    }
    return true;
  }
  return false;
}

bool EditControlGTK::HandleClick(int32_t x, int32_t y, int32_t) {
  if (!mDelegate)
    return false;
  if (!mDelegate->EditControlHandleMouseDown(this, x - mBounds.left, y - mBounds.top))
    return false;
  CaptureMouse(this);
  return true;
}

void EditControlGTK::HandleMouseUp(int32_t x, int32_t y) {
  if (mDelegate)
    mDelegate->EditControlHandleMouseUp(this, x - mBounds.left, y - mBounds.top);
}

void EditControlGTK::GainedFocus() {
  // The scrolled window is the pane's widget, but the view takes the keys.
  if (mView)
    gtk_widget_grab_focus(GTK_WIDGET(mView));
  if (mDelegate && !IsClosing())
    mDelegate->EditControlGainedFocus(this);
  SaveSelection();
}

void EditControlGTK::LostFocus() {
  if (mDelegate && !IsClosing())
    mDelegate->EditControlLostFocus(this);
}

void EditControlGTK::SaveSelection() {
  mSavedSelStart = GetSelStart();
  mSavedSelLength = GetSelLength();
}

void EditControlGTK::SelectionChanged() {
  if (!mDelegate)
    return;
  if (GetSelStart() == mSavedSelStart && GetSelLength() == mSavedSelLength)
    return;
  mDelegate->EditControlEnableMenuOptions(this);
  mDelegate->EditControlSelChange(this);
  SaveSelection();
}

void EditControlGTK::EnableMenuOptions() {
  if (mDelegate)
    mDelegate->EditControlEnableMenuOptions(this);
  SubPane::EnableMenuOptions();
}

bool EditControlGTK::HandleRuntimeMenuCommand(void *item) {
  if (mDelegate && mDelegate->EditControlHandleRuntimeMenuCommand(this, item))
    return true;
  return SubPane::HandleRuntimeMenuCommand(item);
}

string EditControlGTK::GetText(uint32_t encoding) {
  string text;
  if (mView) {
    GtkTextIter start, end;
    gtk_text_buffer_get_bounds(mBuffer, &start, &end);
    text = UTF8Text(gtk_text_buffer_get_text(mBuffer, &start, &end, FALSE), true);
  } else {
    const gchar *shown = gtk_entry_get_text(GTK_ENTRY(mWidget));
    // Text longer than the entry holds reads back whole until it is edited.
    text = UTF8Text(!mWholeText.empty() && mShownText == shown ? mWholeText.c_str() : shown,
                    false);
  }
  return ConvertEncoding(text, encoding);
}

void EditControlGTK::SetText(const string &text) {
  MarkStale();
  // GTK+ takes only UTF-8: convert by the tag and repair what is not.
  string utf8 = GTKHelper::ToUTF8(text);
  if (mView) {
    // The buffer reports the deletion and the insertion apart: one change
    // is told for both.
    g_signal_handlers_block_by_func(mBuffer, reinterpret_cast<gpointer>(TextChangedCallBack),
                                    this);
    gtk_text_buffer_set_text(mBuffer, utf8.CString(), utf8.Length());
    g_signal_handlers_unblock_by_func(mBuffer, reinterpret_cast<gpointer>(TextChangedCallBack),
                                      this);
    TextChangedCallBack(G_OBJECT(mBuffer), this);
  } else {
    gtk_entry_set_text(GTK_ENTRY(mWidget), utf8.CString());
    // GTK+ cuts what passes its entry's limit without a word; the entry
    // shows what it holds, and the whole text is kept to read back. A limit
    // set by the program cuts the text for good.
    const gchar *shown = gtk_entry_get_text(GTK_ENTRY(mWidget));
    mWholeText.clear();
    mShownText.clear();
    if (gtk_entry_get_max_length(GTK_ENTRY(mWidget)) == 0 &&
        strlen(shown) < static_cast<size_t>(utf8.Length())) {
      mWholeText.assign(utf8.CString(), static_cast<size_t>(utf8.Length()));
      mShownText = shown;
    }
  }
}

string EditControlGTK::GetSelText(uint32_t encoding) {
  string text;
  if (mView) {
    GtkTextIter start, end;
    gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end);
    text = UTF8Text(gtk_text_buffer_get_text(mBuffer, &start, &end, FALSE), true);
  } else {
    gint start, end;
    if (gtk_editable_get_selection_bounds(GTK_EDITABLE(mWidget), &start, &end))
      text = UTF8Text(gtk_editable_get_chars(GTK_EDITABLE(mWidget), start, end), true);
  }
  return ConvertEncoding(text, encoding);
}

void EditControlGTK::SetSelText(const string &text) {
  MarkStale();
  EditClear();
  string utf8 = GTKHelper::ToUTF8(text);
  if (mView) {
    gtk_text_buffer_insert_at_cursor(mBuffer, utf8.CString(), utf8.Length());
  } else {
    gint position = gtk_editable_get_position(GTK_EDITABLE(mWidget));
    gtk_editable_insert_text(GTK_EDITABLE(mWidget), utf8.CString(), utf8.Length(), &position);
  }
}

void EditControlGTK::SetSelection(int32_t start, int32_t end) {
  if (mView) {
    GtkTextIter at;
    gtk_text_buffer_get_iter_at_offset(mBuffer, &at, start);
    gtk_text_buffer_place_cursor(mBuffer, &at);
    gtk_text_buffer_get_iter_at_offset(mBuffer, &at, end);
    gtk_text_buffer_move_mark_by_name(mBuffer, "selection_bound", &at);
  } else {
    gtk_editable_select_region(GTK_EDITABLE(mWidget), start, end);
  }
}

bool EditControlGTK::HasSelection() {
  if (mView)
    return gtk_text_buffer_get_selection_bounds(mBuffer, nullptr, nullptr);
  return gtk_editable_get_selection_bounds(GTK_EDITABLE(mWidget), nullptr, nullptr);
}

int32_t EditControlGTK::GetSelStart() {
  if (mView) {
    GtkTextIter start, end;
    gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end);
    return gtk_text_iter_get_offset(&start);
  }
  gint start, end;
  if (gtk_editable_get_selection_bounds(GTK_EDITABLE(mWidget), &start, &end))
    return start;
  return gtk_editable_get_position(GTK_EDITABLE(mWidget));
}

int32_t EditControlGTK::GetSelEnd() {
  if (mView) {
    GtkTextIter start, end;
    gtk_text_buffer_get_selection_bounds(mBuffer, &start, &end);
    return gtk_text_iter_get_offset(&end);
  }
  gint start, end;
  if (gtk_editable_get_selection_bounds(GTK_EDITABLE(mWidget), &start, &end))
    return end;
  return gtk_editable_get_position(GTK_EDITABLE(mWidget));
}

int32_t EditControlGTK::GetSelLength() { return GetSelEnd() - GetSelStart(); }

void EditControlGTK::SetSelStart(int32_t start) {
  if (mView) {
    GtkTextIter at;
    gtk_text_buffer_get_iter_at_offset(mBuffer, &at, start);
    gtk_text_buffer_place_cursor(mBuffer, &at);
  } else {
    gtk_editable_set_position(GTK_EDITABLE(mWidget), start);
  }
}

void EditControlGTK::SetSelLength(int32_t length) {
  int32_t start = GetSelStart();
  SetSelection(start, start + length);
}

void EditControlGTK::EditCut() {
  MarkStale();
  if (mView)
    gtk_text_buffer_cut_clipboard(mBuffer, GTKHelper::GetClipboard(), TRUE);
  else
    gtk_editable_cut_clipboard(GTK_EDITABLE(mWidget));
}

void EditControlGTK::EditCopy() {
  if (mView)
    gtk_text_buffer_copy_clipboard(mBuffer, GTKHelper::GetClipboard());
  else
    gtk_editable_copy_clipboard(GTK_EDITABLE(mWidget));
}

void EditControlGTK::EditPaste() {
  MarkStale();
  if (mView)
    gtk_text_buffer_paste_clipboard(mBuffer, GTKHelper::GetClipboard(), nullptr, TRUE);
  else
    gtk_editable_paste_clipboard(GTK_EDITABLE(mWidget));
}

void EditControlGTK::EditClear() {
  MarkStale();
  if (mView)
    gtk_text_buffer_delete_selection(mBuffer, FALSE, TRUE);
  else
    gtk_editable_delete_selection(GTK_EDITABLE(mWidget));
}

void EditControlGTK::setDelegate(EditControlDelegate *delegate) { mDelegate = delegate; }
EditControlDelegate *EditControlGTK::getDelegate() { return mDelegate; }

bool EditControlGTK::IsReadOnly() {
  if (mView)
    return !gtk_text_view_get_editable(mView);
  return !gtk_editable_get_editable(GTK_EDITABLE(mWidget));
}

void EditControlGTK::SetReadOnly(bool readOnly) {
  if (mView)
    gtk_text_view_set_editable(mView, !readOnly);
  else
    gtk_editable_set_editable(GTK_EDITABLE(mWidget), !readOnly);
}

void EditControlGTK::getFont(FontStructure &font) { font = mFont; }

void EditControlGTK::setFont(FontStructure font) {
  MarkStale();
  mFont = font;
  GTKHelper::SetupFont(InputWidget(), &mFont);
}

void EditControlGTK::setPasswordMode(bool password) {
  if (!mView)
    gtk_entry_set_visibility(GTK_ENTRY(mWidget), !password);
}

void EditControlGTK::setLimitText(int32_t count) {
  if (!mView)
    gtk_entry_set_max_length(GTK_ENTRY(mWidget), count);
}

void EditControlGTK::setAcceptTabs(bool accept) { mAcceptTabs = accept; }
void EditControlGTK::setWrapWidth(int32_t) {}
int32_t EditControlGTK::getWrapWidth() { return 0; }

void EditControlGTK::setTextColor(const QV::RGBColor *color) {
  MarkStale();
  GdkColor c = ToGdkColor(color);
  gtk_widget_modify_text(InputWidget(), GTK_STATE_NORMAL, &c);
}

void EditControlGTK::setBackgroundColor(const QV::RGBColor *color) {
  GdkColor c = ToGdkColor(color);
  gtk_widget_modify_base(InputWidget(), GTK_STATE_NORMAL, &c);
}

void EditControlGTK::SetAlignment(int32_t alignment) {
  if (alignment == mAlignment)
    return;
  MarkStale();
  mAlignment = alignment;
  if (!mView)
    return;
  switch (alignment) {
  case 0:
  case 1:
    gtk_text_view_set_justification(mView, GTK_JUSTIFY_LEFT);
    break;
  case 2:
    gtk_text_view_set_justification(mView, GTK_JUSTIFY_CENTER);
    break;
  case 3:
    gtk_text_view_set_justification(mView, GTK_JUSTIFY_RIGHT);
    break;
  default:
    break;
  }
}

int32_t EditControlGTK::GetScrollRow() {
  if (!mView)
    return 0;
  GdkRectangle visible;
  gtk_text_view_get_visible_rect(mView, &visible);
  GtkTextIter line;
  gtk_text_view_get_line_at_y(mView, &line, visible.y, nullptr);
  return gtk_text_iter_get_line(&line);
}

void EditControlGTK::SetScrollRow(int32_t line) {
  if (!mView)
    return;
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_line(mBuffer, &at, line);
  gtk_text_view_scroll_to_iter(mView, &at, 0.0, TRUE, 0.0, 0.0);
}

int32_t EditControlGTK::GetScrollPosX() {
  if (!mView)
    return 0;
  GtkAdjustment *h = gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(mWidget));
  return static_cast<int32_t>(gtk_adjustment_get_value(h));
}

void EditControlGTK::SetScrollPosX(int32_t offset) {
  if (!mView)
    return;
  GtkAdjustment *h = gtk_scrolled_window_get_hadjustment(GTK_SCROLLED_WINDOW(mWidget));
  gtk_adjustment_set_value(h, static_cast<double>(offset));
}

int32_t EditControlGTK::LineNumAtCharPos(int32_t position) {
  if (!mView)
    return 0;
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_offset(mBuffer, &at, position);
  return gtk_text_iter_get_line(&at);
}

int32_t EditControlGTK::CharPosAtLineNum(int32_t line) {
  if (!mView)
    return 1;
  if (gtk_text_buffer_get_line_count(mBuffer) < line + 1)
    return gtk_text_buffer_get_char_count(mBuffer) + 1;
  GtkTextIter at;
  gtk_text_buffer_get_iter_at_line(mBuffer, &at, line);
  return gtk_text_iter_get_offset(&at) + 1;
}

int32_t EditControlGTK::CharPosAtXY(int32_t x, int32_t y) {
  if (!mView)
    return 1;
  GdkRectangle visible;
  gtk_text_view_get_visible_rect(mView, &visible);
  GtkTextIter at;
  gtk_text_view_get_iter_at_location(mView, &at, x + visible.x, y + visible.y);
  return gtk_text_iter_get_offset(&at);
}

int32_t EditControlGTK::InsertionPosAtXY(int32_t x, int32_t y) { return CharPosAtXY(x, y); }

EditControl *newEditControl(EditControlDelegate *delegate, SubPane *parent, int32_t tabPanelIndex,
                            const QV::Rect &bounds, bool border, FontStructure font) {
  return new EditControlGTK(delegate, parent, tabPanelIndex, bounds, border, font, false, false,
                            false, false);
}

EditControl *newMultiLineEditControl(EditControlDelegate *delegate, SubPane *parent,
                                     int32_t tabPanelIndex, const QV::Rect &bounds, bool border,
                                     FontStructure font, bool verticalScrollBar,
                                     bool horizontalScrollBar) {
  return new EditControlGTK(delegate, parent, tabPanelIndex, bounds, border, font, true, false,
                            verticalScrollBar, horizontalScrollBar);
}

EditControl *newStyledEditControl(EditControlDelegate *delegate, SubPane *parent,
                                  int32_t tabPanelIndex, const QV::Rect &bounds, bool border,
                                  FontStructure font) {
  return new EditControlGTK(delegate, parent, tabPanelIndex, bounds, border, font, false, true,
                            false, false);
}

EditControl *newMultiLineStyledEditControl(EditControlDelegate *delegate, SubPane *parent,
                                           int32_t tabPanelIndex, const QV::Rect &bounds,
                                           bool border, FontStructure font,
                                           bool verticalScrollBar, bool horizontalScrollBar) {
  return new EditControlGTK(delegate, parent, tabPanelIndex, bounds, border, font, true, true,
                            verticalScrollBar, horizontalScrollBar);
}
