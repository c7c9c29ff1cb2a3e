// The menu node on GTK+: a Menu that owns the widgets of its item, of its
// submenu and, for a menu-bar root, of its bar. A tree shown in several
// windows is cloned: every copy has widgets of its own, and a change made
// through any copy goes to the master node and from there to every clone.
#pragma once
#include <gtk/gtk.h>

#include "windows/menus/Menu.h"

class Window;

class XMenuGTK : public Menu {
public:
  using CustomAction = void (*)(XMenuGTK *activated);

  XMenuGTK();
  ~XMenuGTK() override;

  void Enable() override;
  void Disable() override;
  void SetText(const string &text) override;
  void SetVisible(unsigned char on) override;
  void SetCommandKey(const string &key) override;
  void SetBold(unsigned char on) override;
  void SetItalic(unsigned char on) override;
  void SetUnderline(unsigned char on) override;
  void AddChild(RunMenuItem *item) override;
  void InsertChild(RunMenuItem *item, long position) override;
  // Removal also takes the item's widget out of the menu and drops the
  // copies of the item from every clone.
  void RemoveChild(RunMenuItem *item) override;
  void RemoveChild(long position) override;

  // A new node holding copies of all children (the root itself is not
  // recorded as a clone).
  virtual XMenuGTK *Clone();
  // Copies this node's children into another node, each copy a clone.
  virtual void CloneHelper(XMenuGTK *into);
  virtual Window *GetOwnerWindow();
  virtual XMenuGTK *GetParent();
  virtual bool IsSeparator();
  virtual bool IsSubMenu();
  virtual bool IsTopLevel();
  // The item below this node whose node is the one given, with a reference.
  virtual RunMenuItem *LookupMenuCommand(XMenuGTK *node);
  virtual void SetCustomMenuActionFunction(CustomAction action);
  // Also attaches the module's accelerator group to the window.
  virtual void SetOwnerWindow(Window *w);

  // The "activate" handler of every item widget.
  static void ActivateCallBack(GtkMenuItem *widget, XMenuGTK *node);

  XMenuGTK *GetMaster() const { return mMaster; }
  const SimpleVector<XMenuGTK *> &GetClones() const { return mClones; }
  // A node makes its bar and its menu widget the first time it needs them:
  // most nodes are leaves and never do. Nil once destroyed from outside.
  GtkWidget *BarWidget();
  GtkWidget *MenuWidget();
  GtkWidget *ItemWidget() const { return mItem; }
  CustomAction GetCustomAction() const { return mCustomAction; }
  // The node that owns a bar widget, or nil.
  static XMenuGTK *OfBarWidget(GtkWidget *bar);

private:
  void SetEnableHelper(bool enable);
  void SetTextHelper(const string &text);
  void SetCommandKeyHelper(const string &key);
  void SetStyleHelper(uint8_t XMenuGTK::*flag, unsigned char on);
  void AddChildHelper(RunMenuItem *item, long position); // -1 appends
  void RemoveFromMaster(RunMenuItem *item, long position);
  // Makes a copy of the source item (its class and handlers) and adds it.
  RunMenuItem *CloneAndAdd(RunMenuItem *source, long position);
  void UpdateMenuCaption();
  void UpdateMenuStyle();
  void ReplaceItemWidget(GtkWidget *fresh);
  void AttachSubmenu();
  GtkWidget *Container() const; // where children's item widgets go, if made
  GtkWidget *MakeContainer();    // the same, made when it does not exist yet
  GtkWidget *Label() const;
  void Own(GtkWidget *widget);
  static void WidgetDestroyed(GtkWidget *widget, XMenuGTK *node);
  static gboolean BarPressed(GtkWidget *, GdkEventButton *, XMenuGTK *node);

  CustomAction mCustomAction = nullptr;
  Window *mOwnerWindow = nullptr;
  XMenuGTK *mParent = nullptr;
  uint8_t mIsSubMenu = 0;
  uint8_t mIsSeparator = 0;
  XMenuGTK *mMaster;
  SimpleVector<XMenuGTK *> mClones;
  GtkWidget *mBar = nullptr;
  GtkWidget *mMenu = nullptr;
  GtkWidget *mItem = nullptr;
  uint8_t mBarMade = 0;
  uint8_t mMenuMade = 0;
  // The label last given a font and the style it was given, so that a caption
  // change does not restyle a label that already has its font.
  GtkWidget *mStyledLabel = nullptr;
  uint8_t mStyledAs = 0;
  // The accelerator attached to the current item widget, if any.
  guint mAccelKey = 0;
  GdkModifierType mAccelMods = GdkModifierType(0);
};

// The node of an item as the GTK+ node; nil when the item has none.
inline XMenuGTK *GTKNodeOf(RunMenuItem *item) {
  return item ? static_cast<XMenuGTK *>(item->mImp) : nullptr;
}

// The one accelerator group that every menu uses.
GtkAccelGroup *MenuAcceleratorGroup();
// The modifiers of a command key: none for an empty key, else Control, with
// Shift for "shift"/"shft" and Alt for "option"/"alt" in the text.
GdkModifierType GetAcceleratorModifiers(const string &key);
// The display form of a command key ("Ctrl+Shift+Q"); an empty key leaves
// text as it is.
void Win32InterpretMenuShortcut(const string &key, string *text);
