#include "controls/PopupMenuGTK.h"

#include <string>

#include "controls/ControlEventFiring.h"
#include "controls/PopupMenuClass.h"
#include "foundation/TextEncodings.h"
#include "graphics/Graphics.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/GTKHelper.h"

namespace {

string UTF8(const char *text) {
  string s;
  if (text && *text)
    s.ConstructFromBuffer(text, static_cast<int>(strlen(text)), kEncodingUTF8);
  else
    s = string("");
  return s;
}

} // namespace

// The portable part: binding, and the events the pane fires itself.

bool ComboBox::CanLoseFocusOnArrowKeyPress() { return false; }
void ComboBox::PopupMenuGotFocus() {}
void ComboBox::PopupMenuLostFocus() {}

void ComboBox::InitializeBinding() {
  if (mBinding.DataSourceName().Length() == 0) {
    RemoveBinding();
    return;
  }
  if (!mControl || !mControl->control.view)
    return;
  mBinding.Bind(&mControl->control.header, mControl->control.view);
}

void ComboBox::RemoveBinding() { mBinding.Unbind(mControl ? &mControl->control.header : nullptr); }

void ComboBox::ForgetControl() {
  RemoveBinding();
  mControl = nullptr;
}

// The object is held and the pane locked while Change and the receivers
// run: a handler may close the window. Once the pane closed, its receivers
// are not told.
void ComboBox::Change() {
  ComboBoxControl *c = mControl;
  if (!c || c->inChange)
    return;
  RuntimeObject *object = &c->control.header;
  SubPane *pane = AsPane();
  RuntimeLockObject(object);
  pane->Lock();
  c->inChange = 1;
  FireEvent(object, PopupEventHook(PopupEvent::kChange));
  if (!pane->IsClosing())
    c->dataReceivers.DataChanged();
  c->inChange = 0;
  pane->Unlock();
  RuntimeUnlockObject(object);
}

void ComboBox::TextChanged() {
  if (!mControl)
    return;
  SubPane *pane = AsPane();
  pane->Lock();
  FireEvent(&mControl->control.header, ComboBoxTextChangedHook());
  pane->Unlock();
}

PopupMenu::PopupMenu(ComboBoxControl *control, const FontStructure &font,
                     ContainerPane *container, int32_t tabPanelIndex, const QV::Rect &bounds,
                     bool editable)
    : SubPane(container, tabPanelIndex, bounds, true), ComboBox(control, font),
      mEditable(editable) {
  SetWidget(gtk_combo_new());
  GTKHelper::SetupWidget(this, true);
  GtkWidget *entry = Entry();
  GTKHelper::SetupFont(entry, &mFont);
  gtk_editable_set_editable(GTK_EDITABLE(entry), editable);
  mChangedHandler = g_signal_connect(entry, "changed", G_CALLBACK(ChangedCallBack), this);
  g_signal_connect(entry, "grab-focus", G_CALLBACK(GTKHelper::GenericFocusCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(entry, "button-press-event",
                   G_CALLBACK(GTKHelper::GenericButtonPressedCallBack),
                   static_cast<SubPane *>(this));
  g_signal_connect(entry, "button-release-event",
                   G_CALLBACK(GTKHelper::GenericButtonReleasedCallBack),
                   static_cast<SubPane *>(this));
}

PopupMenu::~PopupMenu() {
  if (mRebuildSource)
    g_source_remove(mRebuildSource);
  RemoveBinding();
  DropItemData();
}

GtkWidget *PopupMenu::Entry() const { return GTK_COMBO(GetWidget())->entry; }

void PopupMenu::DisableEvents() { g_signal_handler_block(Entry(), mChangedHandler); }
void PopupMenu::EnableEvents() { g_signal_handler_unblock(Entry(), mChangedHandler); }

bool PopupMenu::IsRow(int32_t index) const {
  return index >= 0 && index < static_cast<int32_t>(mTexts.size());
}

// A combo box tells TextChanged of every change of its entry. A handler
// may close the window; the signal's own reference keeps the widget until
// the pane goes.
void PopupMenu::ChangedCallBack(GtkEditable *, PopupMenu *pane) {
  pane->Lock();
  if (pane->mEditable)
    pane->TextChanged();
  if (!pane->IsClosing() && pane->Selection() != -1)
    pane->Change();
  pane->Unlock();
}

void PopupMenu::Change() {
  Lock();
  ComboBox::Change();
  if (!IsClosing())
    mLastSelection = Selection();
  Unlock();
}

// Changes of the rows mark the combo's list stale; it is rebuilt once,
// before anything reads or sets the selection, or from the main loop.
void PopupMenu::Invalidate() {
  mDirty = 1;
  if (!mRebuildSource)
    mRebuildSource = g_idle_add_full(G_PRIORITY_HIGH_IDLE, RebuildCallBack, this, nullptr);
}

gboolean PopupMenu::RebuildCallBack(gpointer pane) {
  auto *p = static_cast<PopupMenu *>(pane);
  p->mRebuildSource = 0;
  p->Flush();
  return FALSE;
}

void PopupMenu::Flush() {
  if (mDirty)
    Rebuild();
}

// GTK+ selects the first new item, which the combo then shows; a row the
// entry showed before, when it is still a row, stays shown.
void PopupMenu::Rebuild() {
  mDirty = 0;
  if (mTexts.empty()) {
    EmptyComboList();
    return;
  }
  const string shown = UTF8(gtk_entry_get_text(GTK_ENTRY(Entry())));
  bool keep = false;
  GList *strings = nullptr;
  for (const string &text : mTexts) {
    strings = g_list_prepend(strings, const_cast<char *>(text.CString()));
    keep = keep || (shown.Length() > 0 && shown.Compare(text) == 0);
  }
  strings = g_list_reverse(strings);
  DisableEvents();
  gtk_combo_set_popdown_strings(GTK_COMBO(GetWidget()), strings);
  if (keep)
    gtk_entry_set_text(GTK_ENTRY(Entry()), shown.CString());
  EnableEvents();
  g_list_free(strings);
  for (GList *item = GTK_LIST(GTK_COMBO(GetWidget())->list)->children; item; item = item->next)
    if (GtkWidget *label = gtk_bin_get_child(GTK_BIN(item->data)))
      GTKHelper::SetupFont(label, &mFont);
}

void PopupMenu::EmptyComboList() {
  DisableEvents();
  gtk_list_clear_items(GTK_LIST(GTK_COMBO(GetWidget())->list), 0, -1);
  EnableEvents();
}

void PopupMenu::DropItemData() {
  std::vector<RuntimeObject *> data;
  data.swap(mData);
  mTexts.clear();
  for (RuntimeObject *d : data)
    RuntimeUnlockObject(d);
}

// Row texts are kept as UTF-8, converted by their tag, invalid bytes replaced.
void PopupMenu::AddItem(const string &text, RuntimeObject *data) {
  mTexts.push_back(GTKHelper::ToUTF8(text));
  RuntimeLockObject(data);
  mData.push_back(data);
  Invalidate();
}

void PopupMenu::AddSeparator() { AddItem(string("-"), nullptr); }

void PopupMenu::InsertItem(int32_t index, const string &text, RuntimeObject *data) {
  const int32_t s = Selection();
  if (index < 0)
    index = 0;
  if (index > GetCount())
    index = GetCount();
  mTexts.insert(mTexts.begin() + index, GTKHelper::ToUTF8(text));
  RuntimeLockObject(data);
  mData.insert(mData.begin() + index, data);
  Invalidate();
  SetSelection(s, false);
}

void PopupMenu::RemoveItem(int32_t index) {
  if (!IsRow(index))
    return;
  const int32_t s = Selection();
  RuntimeObject *data = mData[index];
  mTexts.erase(mTexts.begin() + index);
  mData.erase(mData.begin() + index);
  RuntimeUnlockObject(data);
  Invalidate();
  if (s < GetCount())
    SetSelection(s, false);
  else
    Flush();
}

void PopupMenu::ChangeItem(int32_t index, const string &text) {
  if (!IsRow(index))
    return;
  mTexts[index] = GTKHelper::ToUTF8(text);
  Invalidate();
}

void PopupMenu::ResetContent() {
  if (!mTexts.empty())
    EmptyComboList();
  DropItemData();
  mDirty = 0;
}

int32_t PopupMenu::GetCount() { return static_cast<int32_t>(mTexts.size()); }

int32_t PopupMenu::Selection() {
  Flush();
  const string shown = GetEditText();
  for (size_t i = 0; i < mTexts.size(); ++i)
    if (shown.Compare(mTexts[i]) == 0)
      return static_cast<int32_t>(i);
  return -1;
}

// The list selects its item, and the combo shows its text; when the list
// already held that item selected while the entry showed another text, the
// entry takes the row's text itself.
void PopupMenu::SetSelection(int32_t index, bool fireEvents) {
  Flush();
  if (!IsRow(index))
    return;
  if (!fireEvents)
    DisableEvents();
  const std::string before = gtk_entry_get_text(GTK_ENTRY(Entry()));
  const uint32_t selecting = ++mSelecting;
  gtk_list_select_item(GTK_LIST(GTK_COMBO(GetWidget())->list), index);
  // A Change handler may have chosen another row meanwhile: that stands.
  if (selecting == mSelecting && before == gtk_entry_get_text(GTK_ENTRY(Entry())))
    gtk_entry_set_text(GTK_ENTRY(Entry()), mTexts[index].CString());
  if (!fireEvents)
    EnableEvents();
}

RuntimeObject *PopupMenu::GetItemData(int32_t index) {
  return IsRow(index) ? mData[index] : nullptr;
}

void PopupMenu::SetItemData(int32_t index, RuntimeObject *data) {
  if (!IsRow(index))
    return;
  RuntimeLockUnlockObjects(data, mData[index]);
  mData[index] = data;
}

string PopupMenu::GetPopupItem(int32_t index) {
  return IsRow(index) ? UTF8(mTexts[index].CString()) : string("");
}

int32_t PopupMenu::FindRowByData(RuntimeObject *data) {
  for (size_t i = 0; i < mData.size(); ++i)
    if (mData[i] == data)
      return static_cast<int32_t>(i);
  return -1;
}

void PopupMenu::FontChanged() { InvalidatePane(true); }

string PopupMenu::GetText() {
  if (mEditable)
    return GetEditText();
  const int32_t s = Selection();
  return s >= 0 ? GetPopupItem(s) : string("");
}

void PopupMenu::SetText(const string &text) {
  if (mEditable)
    SetEditText(text);
}

string PopupMenu::GetEditText() {
  Flush();
  return UTF8(gtk_entry_get_text(GTK_ENTRY(Entry())));
}

void PopupMenu::SetEditText(const string &text) {
  gtk_entry_set_text(GTK_ENTRY(Entry()), GTKHelper::ToUTF8(text).CString());
}

bool PopupMenu::MouseDown(int32_t x, int32_t y) {
  return mControl && FireMouseEvent(&mControl->control.header,
                                    PopupEventHook(PopupEvent::kMouseDown), x - Bounds().left,
                                    y - Bounds().top);
}

bool PopupMenu::MouseUp(int32_t x, int32_t y) {
  return mControl && FireMouseEvent(&mControl->control.header,
                                    PopupEventHook(PopupEvent::kMouseUp), x - Bounds().left,
                                    y - Bounds().top);
}

bool PopupMenu::HandleClick(int32_t x, int32_t y, int32_t) {
  if (!IsEnabled() || !MouseDown(x, y))
    return false;
  CaptureMouse(this);
  return true;
}

void PopupMenu::HandleMouseUp(int32_t x, int32_t y) { MouseUp(x, y); }

bool PopupMenu::CanLoseFocusOnArrowKeyPress() { return false; }

void PopupMenu::GainedFocus() {
  if (!mGrabbing) {
    mGrabbing = 1;
    gtk_widget_grab_focus(Entry());
    mGrabbing = 0;
  }
  if (mControl && !IsClosing())
    FireFocusEvent(&mControl->control.header, this, PopupEventHook(PopupEvent::kGotFocus));
}

void PopupMenu::LostFocus() {
  if (mControl && !IsClosing())
    FireFocusEvent(&mControl->control.header, this, PopupEventHook(PopupEvent::kLostFocus));
}

bool PopupMenu::AcceptFocus() { return IsEnabled() && IsShowing(); }

void PopupMenu::HandleAction(int32_t action) {
  if (action != 2000) {
    SubPane::HandleAction(action);
    return;
  }
  if (Selection() != mLastSelection)
    Change();
}

// A closing pane empties its rows, leaves its data control, and its object
// forgets it.
void PopupMenu::Close() {
  ResetContent();
  RemoveBinding();
  if (mControl) {
    if (mControl->pane == this)
      mControl->pane = nullptr;
    if (mControl->control.pane == this)
      mControl->control.pane = nullptr;
  }
  SubPane::Close();
}

bool PopupMenu::GetBaseline() { return true; }

bool PopupMenu::GetBaseline(int32_t &y) {
  Graphics *g = getGraphics();
  g->TextFont(mFont.name);
  g->TextSize(mFont.size);
  g->TextFace(mFont.Style());
  y = g->FontAscent() + (Height() - (g->FontHeight() + g->FontLeading()) - 1) / 2;
  g->Release();
  return true;
}

bool PopupMenu::UpdateBounds(QV::Rect *) { return false; }
