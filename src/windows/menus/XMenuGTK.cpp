#include "windows/menus/XMenuGTK.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "graphics/FontStructure.h"
#include "language/StringSearch.h"
#include "windows/GTKHelper.h"
#include "windows/Window.h"
#include "windows/menus/MenuDispatch.h"

namespace {

constexpr char kBarNodeKey[] = "menu-node";

bool IsSeparatorText(const string &text) { return text.Compare(string("-")) == 0; }

// The first byte of the key's last character.
guint AcceleratorKey(const string &key) {
  const char *bytes = key.CString();
  int n = key.Length();
  int last = n - 1;
  while (last > 0 && (static_cast<unsigned char>(bytes[last]) & 0xC0) == 0x80)
    --last; // back to the start of a multi-byte character
  return static_cast<unsigned char>(bytes[last]);
}

// A copy of the source object: its class (so the right size and fields) and,
// when it has handlers of its own, a private copy of its event table.
RunMenuItem *CopyOfItem(RunMenuItem *source) {
  RuntimeObject *copy = RuntimeNewObject(source->header.classPtr);
  if (!copy)
    return nullptr;
  RuntimeClass *cls = source->header.classPtr;
  if (source->header.eventTable && source->header.eventTable != cls->events)
    if (EventEntry *table = MakePrivateEventTable(copy))
      std::memcpy(table, source->header.eventTable, sizeof(EventEntry) * cls->eventCount);
  return AsMenuItem(copy);
}

// The font of menu labels in each of the four styles. Finding a font loads
// it, so each style's description is found once and shared by all labels.
PangoFontDescription *MenuFontDescription(bool bold, bool italic) {
  static PangoFontDescription *descriptions[4] = {};
  PangoFontDescription *&desc = descriptions[(bold ? 1 : 0) | (italic ? 2 : 0)];
  if (!desc) {
    FontStructure font;
    font.bold = bold;
    font.italic = italic;
    desc = GTKHelper::GetPangoFontDescription(&font);
  }
  return desc;
}

} // namespace

GtkAccelGroup *MenuAcceleratorGroup() {
  static GtkAccelGroup *group = gtk_accel_group_new();
  return group;
}

GdkModifierType GetAcceleratorModifiers(const string &key) {
  if (key.IsEmpty())
    return GdkModifierType(0);
  auto has = [&](const char *word) { return InStr(0, key, string(word)) >= 0; };
  int mask = GDK_CONTROL_MASK;
  if (has("shift") || has("shft"))
    mask |= GDK_SHIFT_MASK;
  if (has("option") || has("alt"))
    mask |= GDK_MOD1_MASK;
  return GdkModifierType(mask);
}

void Win32InterpretMenuShortcut(const string &key, string *text) {
  if (key.IsEmpty())
    return;
  GdkModifierType mods = GetAcceleratorModifiers(key);
  string out("Ctrl+");
  if (mods & GDK_SHIFT_MASK)
    out += "Shift+";
  if (mods & GDK_MOD1_MASK)
    out += "Alt+";
  char last[2] = {static_cast<char>(AcceleratorKey(key)), 0};
  out += last;
  *text = out;
}

XMenuGTK::XMenuGTK() : mMaster(this) {
  MenuAcceleratorGroup();
  mItem = gtk_menu_item_new_with_label("");
  Own(mItem);
}

GtkWidget *XMenuGTK::BarWidget() {
  if (!mBarMade) {
    mBarMade = 1;
    mBar = gtk_menu_bar_new();
    Own(mBar);
    g_object_set_data(G_OBJECT(mBar), kBarNodeKey, this);
    g_signal_connect(mBar, "button-press-event", G_CALLBACK(BarPressed), this);
  }
  return mBar;
}

GtkWidget *XMenuGTK::MenuWidget() {
  if (!mMenuMade) {
    mMenuMade = 1;
    mMenu = gtk_menu_new();
    Own(mMenu);
    gtk_menu_set_accel_group(GTK_MENU(mMenu), MenuAcceleratorGroup());
  }
  return mMenu;
}

void XMenuGTK::Own(GtkWidget *widget) {
  g_object_ref_sink(widget);
  g_signal_connect(widget, "destroy", G_CALLBACK(WidgetDestroyed), this);
  if (widget == mItem)
    g_signal_connect(widget, "activate", G_CALLBACK(ActivateCallBack), this);
}

void XMenuGTK::WidgetDestroyed(GtkWidget *widget, XMenuGTK *node) {
  // Something else destroyed one of the node's widgets (its window, say):
  // the node lets go of it and works without it from now on.
  g_signal_handlers_disconnect_matched(widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, node);
  for (GtkWidget **slot : {&node->mBar, &node->mMenu, &node->mItem})
    if (*slot == widget) {
      *slot = nullptr;
      if (slot == &node->mItem) {
        node->mAccelKey = 0;
        node->mStyledLabel = nullptr;
      }
      g_object_unref(widget);
    }
}

XMenuGTK::~XMenuGTK() {
  if (mMaster != this && mMaster) {
    SimpleVector<XMenuGTK *> &list = mMaster->mClones;
    for (int32_t i = list.count() - 1; i >= 0; --i)
      if (list.begin()[i] == this)
        list.deleteIdx(i);
  }
  for (XMenuGTK *clone : mClones)
    clone->mMaster = clone;
  // Children that outlive this node keep their widgets, out of its menu.
  GtkWidget *container = Container();
  for (RunMenuItem *child : mChildren)
    if (XMenuGTK *node = GTKNodeOf(child)) {
      if (node->mParent == this)
        node->mParent = nullptr;
      if (node->mItem && container && gtk_widget_get_parent(node->mItem) == container)
        gtk_container_remove(GTK_CONTAINER(container), node->mItem);
    }
  if (mItem && mMenu && gtk_menu_item_get_submenu(GTK_MENU_ITEM(mItem)) == mMenu)
    gtk_menu_item_remove_submenu(GTK_MENU_ITEM(mItem));
  for (GtkWidget **slot : {&mItem, &mMenu, &mBar})
    if (GtkWidget *widget = *slot) {
      *slot = nullptr;
      g_signal_handlers_disconnect_matched(widget, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                           this);
      gtk_widget_destroy(widget);
      g_object_unref(widget);
    }
}

XMenuGTK *XMenuGTK::OfBarWidget(GtkWidget *bar) {
  return bar ? static_cast<XMenuGTK *>(g_object_get_data(G_OBJECT(bar), kBarNodeKey)) : nullptr;
}

GtkWidget *XMenuGTK::Container() const { return mText.IsEmpty() ? mBar : mMenu; }

GtkWidget *XMenuGTK::MakeContainer() { return mText.IsEmpty() ? BarWidget() : MenuWidget(); }

GtkWidget *XMenuGTK::Label() const {
  if (!mItem || mIsSeparator)
    return nullptr;
  GtkWidget *child = gtk_bin_get_child(GTK_BIN(mItem));
  return child && GTK_IS_LABEL(child) ? child : nullptr;
}

// --- forwarded operations -------------------------------------------------

void XMenuGTK::Enable() { mMaster->SetEnableHelper(true); }
void XMenuGTK::Disable() { mMaster->SetEnableHelper(false); }
void XMenuGTK::SetText(const string &text) { mMaster->SetTextHelper(text); }
void XMenuGTK::SetCommandKey(const string &key) { mMaster->SetCommandKeyHelper(key); }
void XMenuGTK::SetBold(unsigned char on) { mMaster->SetStyleHelper(&XMenuGTK::mBold, on); }
void XMenuGTK::SetItalic(unsigned char on) { mMaster->SetStyleHelper(&XMenuGTK::mItalic, on); }
void XMenuGTK::SetUnderline(unsigned char on) {
  mMaster->SetStyleHelper(&XMenuGTK::mUnderline, on);
}
void XMenuGTK::AddChild(RunMenuItem *item) { mMaster->AddChildHelper(item, -1); }
void XMenuGTK::InsertChild(RunMenuItem *item, long position) {
  mMaster->AddChildHelper(item, position);
}

void XMenuGTK::SetEnableHelper(bool enable) {
  // The enabling pass sets every item each time a menu opens: a label that
  // already shows the state is left alone.
  auto sensitive = [](GtkWidget *label, bool on) {
    if (label && (gtk_widget_get_sensitive(label) != FALSE) != on)
      gtk_widget_set_sensitive(label, on ? TRUE : FALSE);
  };
  auto apply = [enable, &sensitive](XMenuGTK *node) {
    node->mEnabled = enable ? 1 : 0;
    if (node->mIsSeparator)
      return;
    if (enable) {
      if (node->mParent)
        node->mParent->Enable(); // an enabled item enables the menus above it
      sensitive(node->Label(), true);
    } else if (!node->IsTopLevel()) {
      sensitive(node->Label(), false);
    }
  };
  apply(this);
  for (XMenuGTK *clone : mClones)
    apply(clone);
}

void XMenuGTK::SetTextHelper(const string &text) {
  auto apply = [&text](XMenuGTK *node) {
    node->mText = text;
    node->UpdateMenuCaption();
  };
  apply(this);
  for (XMenuGTK *clone : mClones)
    apply(clone);
}

void XMenuGTK::SetCommandKeyHelper(const string &key) {
  auto apply = [&key](XMenuGTK *node) {
    node->mCommandKey = key;
    node->UpdateMenuCaption();
  };
  apply(this);
  for (XMenuGTK *clone : mClones)
    apply(clone);
}

void XMenuGTK::SetStyleHelper(uint8_t XMenuGTK::*flag, unsigned char on) {
  this->*flag = on ? 1 : 0;
  UpdateMenuStyle();
  for (XMenuGTK *clone : mClones) {
    clone->*flag = on ? 1 : 0;
    clone->UpdateMenuStyle();
  }
}

void XMenuGTK::SetVisible(unsigned char on) {
  mVisible = on ? 1 : 0;
  if (!mItem)
    return;
  if (on)
    gtk_widget_show(mItem);
  else
    gtk_widget_hide(mItem);
}

// --- captions --------------------------------------------------------------

void XMenuGTK::ReplaceItemWidget(GtkWidget *fresh) {
  GtkWidget *old = mItem;
  GtkWidget *shell = old ? gtk_widget_get_parent(old) : nullptr;
  int position = -1;
  if (shell) {
    GList *children = gtk_container_get_children(GTK_CONTAINER(shell));
    position = g_list_index(children, old);
    g_list_free(children);
  }
  if (old) {
    if (mMenu && gtk_menu_item_get_submenu(GTK_MENU_ITEM(old)) == mMenu)
      gtk_menu_item_remove_submenu(GTK_MENU_ITEM(old));
    g_signal_handlers_disconnect_matched(old, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, this);
    gtk_widget_destroy(old);
    g_object_unref(old);
  }
  mItem = fresh;
  mAccelKey = 0; // it went with the old widget, and so did the label's font
  mStyledLabel = nullptr;
  Own(fresh);
  // The new widget takes the old one's place in its menu.
  if (shell && GTK_IS_MENU_SHELL(shell))
    gtk_menu_shell_insert(GTK_MENU_SHELL(shell), fresh, position);
  if (mVisible)
    gtk_widget_show(fresh);
  if (!mIsSeparator)
    AttachSubmenu();
}

void XMenuGTK::UpdateMenuCaption() {
  if (IsSeparatorText(mText)) {
    mIsSeparator = 1;
    ReplaceItemWidget(gtk_separator_menu_item_new());
    return;
  }
  string label = GTKHelper::TranslateMnemonics(GTKHelper::ToUTF8(mText));
  if (mIsSeparator || !mItem) {
    mIsSeparator = 0;
    ReplaceItemWidget(gtk_menu_item_new_with_label(""));
  }
  if (GtkWidget *child = Label())
    gtk_label_set_text_with_mnemonic(GTK_LABEL(child), label.CString());
  UpdateMenuStyle();
  if (mAccelKey) {
    gtk_widget_remove_accelerator(mItem, MenuAcceleratorGroup(), mAccelKey, mAccelMods);
    mAccelKey = 0;
  }
  GdkModifierType mods = GetAcceleratorModifiers(mCommandKey);
  if (mods) {
    mAccelKey = AcceleratorKey(mCommandKey);
    mAccelMods = mods;
    gtk_widget_add_accelerator(mItem, "activate", MenuAcceleratorGroup(), mAccelKey, mods,
                               GTK_ACCEL_VISIBLE);
  }
}

void XMenuGTK::UpdateMenuStyle() {
  GtkWidget *label = Label();
  if (!label)
    return;
  // A label keeps its font through caption changes; an underline's pattern
  // follows the text, so an underlined label is styled every time.
  uint8_t style = static_cast<uint8_t>(1 | mBold << 1 | mItalic << 2);
  if (label == mStyledLabel && style == mStyledAs && !mUnderline)
    return;
  mStyledLabel = label;
  mStyledAs = style;
  gtk_widget_modify_font(label, MenuFontDescription(mBold, mItalic));
  if (mUnderline)
    GTKHelper::UnderlineLabel(label);
}

// --- children ---------------------------------------------------------------

void XMenuGTK::AttachSubmenu() {
  // Only an item inside a menu shows its children as a submenu; a root's
  // menu is popped up or holds a bar's menus.
  if (!mIsSubMenu || !mParent || !mItem || mText.IsEmpty())
    return;
  GtkWidget *menu = MenuWidget();
  if (menu && gtk_menu_item_get_submenu(GTK_MENU_ITEM(mItem)) != menu)
    gtk_menu_item_set_submenu(GTK_MENU_ITEM(mItem), menu);
}

void XMenuGTK::AddChildHelper(RunMenuItem *item, long position) {
  XMenuGTK *child = GTKNodeOf(item);
  if (!item || !child)
    return;
  bool first = mChildren.count() == 0;
  if (position < 0)
    Menu::AddChild(item);
  else
    Menu::InsertChild(item, position);
  mIsSubMenu = 1;
  if (first && mParent)
    SetCommandKey(string("")); // an item with a submenu has no accelerator
  AttachSubmenu();
  child->mParent = this;
  child->AttachSubmenu();
  GtkWidget *container = MakeContainer();
  // A widget shows in one menu only: an item added twice keeps its place.
  if (container && child->mItem && !gtk_widget_get_parent(child->mItem)) {
    if (child->mVisible)
      gtk_widget_show(child->mItem);
    gtk_menu_shell_insert(GTK_MENU_SHELL(container), child->mItem,
                          position < 0 ? -1 : static_cast<int>(position));
  }
  for (int32_t i = 0; i < mClones.count(); ++i)
    mClones.begin()[i]->CloneAndAdd(item, position);
}

RunMenuItem *XMenuGTK::CloneAndAdd(RunMenuItem *source, long position) {
  XMenuGTK *from = GTKNodeOf(source);
  RunMenuItem *copy = CopyOfItem(source);
  XMenuGTK *node = GTKNodeOf(copy);
  if (!copy || !node || !from) {
    if (copy)
      RuntimeUnlockObject(&copy->header);
    return nullptr;
  }
  node->SetIndex(from->mIndex);
  node->SetName(from->mName);
  node->SetText(from->mText);
  node->SetBold(from->mBold);
  node->SetItalic(from->mItalic);
  node->SetUnderline(from->mUnderline);
  node->mAutoEnable = from->mAutoEnable;
  node->SetCheck(from->mCheckMark);
  node->SetCommandKey(from->mCommandKey);
  if (from->mEnabled)
    node->Enable();
  else
    node->Disable();
  // Copies of the source's children first, so that the copy is complete
  // before it joins; then it is recorded as a clone of the source's master.
  from->CloneHelper(node);
  XMenuGTK *master = from->mMaster;
  node->mMaster = master;
  master->mClones.push_back(node);
  AddChildHelper(copy, position);
  RuntimeUnlockObject(&copy->header); // the child list keeps its reference
  return copy;
}

XMenuGTK *XMenuGTK::Clone() {
  auto *root = new XMenuGTK();
  CloneHelper(root);
  return root;
}

void XMenuGTK::CloneHelper(XMenuGTK *into) {
  for (int32_t i = 0; i < mChildren.count(); ++i)
    into->CloneAndAdd(At(i), -1);
}

void XMenuGTK::RemoveChild(RunMenuItem *item) { mMaster->RemoveFromMaster(item, -1); }

void XMenuGTK::RemoveChild(long position) {
  if (position < 0 || position >= mChildren.count()) {
    Menu::RemoveChild(position); // raises the out-of-bounds exception
    return;
  }
  RunMenuItem *item = At(static_cast<int32_t>(position));
  if (mMaster == this)
    RemoveFromMaster(item, position);
  else
    mMaster->RemoveFromMaster(item, -1); // a copy stands for its original
}

// Removes the item (every entry of it, or only the one at position) from
// this master node and its widget from the menu, then the item's copies
// from every clone.
void XMenuGTK::RemoveFromMaster(RunMenuItem *item, long position) {
  if (!item)
    return;
  XMenuGTK *child = GTKNodeOf(item);
  // An item given through a clone stands for its original.
  XMenuGTK *original = child ? child->mMaster : nullptr;
  RuntimeLockObject(&item->header);
  auto removeFrom = [&](XMenuGTK *node, bool atPosition) {
    for (int32_t i = node->mChildren.count() - 1; i >= 0; --i) {
      RunMenuItem *entry = node->At(i);
      XMenuGTK *entryNode = GTKNodeOf(entry);
      bool match = atPosition ? i == position
                              : entry == item || (entryNode && entryNode->mMaster == original);
      if (!match)
        continue;
      RuntimeLockObject(&entry->header);
      node->DropChildAt(i);
      GtkWidget *container = node->Container();
      if (entryNode && entryNode->mItem && !node->Contains(entry) && container &&
          gtk_widget_get_parent(entryNode->mItem) == container)
        gtk_container_remove(GTK_CONTAINER(container), entryNode->mItem);
      if (entryNode && entryNode->mParent == node && !node->Contains(entry))
        entryNode->mParent = nullptr;
      RuntimeUnlockObject(&entry->header);
    }
  };
  removeFrom(this, position >= 0);
  for (int32_t c = 0; c < mClones.count(); ++c)
    removeFrom(mClones.begin()[c], false);
  RuntimeUnlockObject(&item->header);
}

// --- the rest of the node's own operations ----------------------------------

Window *XMenuGTK::GetOwnerWindow() { return mOwnerWindow; }
XMenuGTK *XMenuGTK::GetParent() { return mParent; }
bool XMenuGTK::IsSeparator() { return mIsSeparator != 0; }
bool XMenuGTK::IsSubMenu() { return mIsSubMenu != 0; }
bool XMenuGTK::IsTopLevel() { return !mParent || !mParent->mParent; }

RunMenuItem *XMenuGTK::LookupMenuCommand(XMenuGTK *node) {
  for (RunMenuItem *child : mChildren)
    if (child->mImp == node) {
      RuntimeLockObject(&child->header);
      return child;
    }
  for (RunMenuItem *child : mChildren)
    if (XMenuGTK *below = GTKNodeOf(child))
      if (RunMenuItem *found = below->LookupMenuCommand(node))
        return found;
  return nullptr;
}

void XMenuGTK::SetCustomMenuActionFunction(CustomAction action) { mCustomAction = action; }

void XMenuGTK::SetOwnerWindow(Window *w) {
  mOwnerWindow = w;
  if (!w || !w->GetGtkWindow())
    return;
  GSList *groups = gtk_accel_groups_from_object(G_OBJECT(w->GetGtkWindow()));
  if (!g_slist_find(groups, MenuAcceleratorGroup()))
    gtk_window_add_accel_group(GTK_WINDOW(w->GetGtkWindow()), MenuAcceleratorGroup());
}

gboolean XMenuGTK::BarPressed(GtkWidget *, GdkEventButton *, XMenuGTK *node) {
  // The enabling pass runs before GTK+ opens the menu.
  if (Window *w = node->mOwnerWindow)
    EnableMenus(w->IsModal(), w);
  return FALSE;
}

void XMenuGTK::ActivateCallBack(GtkMenuItem *, XMenuGTK *node) {
  if (node->mIsSubMenu || node->mIsSeparator)
    return;
  GtkWidget *label = node->Label();
  if (label && !gtk_widget_is_sensitive(label))
    return;
  XMenuGTK *top = node->mParent;
  if (!top) {
    ShowAlert(AlertSite{"../Common/Linux/XMenuGTK", 512, "parent"});
    return;
  }
  while (top->mParent)
    top = top->mParent;
  if (top->mCustomAction) {
    top->mCustomAction(node);
    return;
  }
  RunMenuItem *item = top->LookupMenuCommand(node);
  if (!item)
    return;
  RuntimeMenuItemClick(item, 0, top->mOwnerWindow);
  RuntimeUnlockObject(&item->header);
}

void DetachMenuBar(Window *w) {
  if (!w || !w->GetBox())
    return;
  GtkWidget *bar = GTKHelper::GetMenuBar(w);
  if (!bar)
    return;
  g_object_ref(bar);
  gtk_container_remove(GTK_CONTAINER(w->GetBox()), bar);
  if (XMenuGTK *node = XMenuGTK::OfBarWidget(bar))
    if (node->GetOwnerWindow() == w)
      node->SetOwnerWindow(nullptr);
  g_object_unref(bar);
}
