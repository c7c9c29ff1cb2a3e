// Menus are trees of MenuItem objects. Each item owns one node that holds
// its state and one reference to each of its children; the platform node
// (XMenuGTK) derives from Menu and shows the tree on screen. Also the walks
// over a tree that the language's entry points use.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

class Menu;

// The language object of class MenuItem and its subclasses.
struct RunMenuItem {
  RuntimeObject header;
  Menu *mImp; // its node; nil only after the class destructor ran
};
constexpr int32_t kRunMenuItemInstanceSize = 28;
static_assert(sizeof(RunMenuItem) == kRunMenuItemInstanceSize);
static_assert(offsetof(RunMenuItem, mImp) == 24);

inline RunMenuItem *AsMenuItem(RuntimeObject *object) {
  return reinterpret_cast<RunMenuItem *>(object);
}

// Index of an item that is not an element of a control array.
constexpr int32_t kNoMenuIndex = static_cast<int32_t>(0x80000000);

class Menu {
public:
  Menu();
  virtual ~Menu();
  Menu(const Menu &) = delete;
  Menu &operator=(const Menu &) = delete;

  virtual RunMenuItem *LookupMenuCommand(unsigned long command);
  virtual void Enable();
  virtual void Disable();
  virtual void SetText(const string &text);
  virtual void SetName(const string &name);
  virtual void SetIndex(int32_t index);
  virtual void SetTag(RuntimeObject *tag);
  virtual void SetHelp(const string &help);
  virtual void SetDisabledHelp(const string &help);
  virtual void SetCheck(unsigned char on);
  virtual void SetVisible(unsigned char on);
  virtual void SetCommandKey(const string &key);
  virtual void SetBold(unsigned char on);
  virtual void SetItalic(unsigned char on);
  virtual void SetUnderline(unsigned char on);
  virtual void AddChild(RunMenuItem *item);
  virtual void InsertChild(RunMenuItem *item, long position);
  virtual void RemoveChild(RunMenuItem *item);
  virtual void RemoveChild(long position);

  // The child at the position with one reference added; out of range raises
  // the out-of-bounds exception and answers nil.
  RunMenuItem *Item(long position);
  // The first direct child of that name (and index), with one reference.
  RunMenuItem *Child(const string &name);
  RunMenuItem *Child(const string &name, long index);

  int32_t Count() const { return mChildren.count(); }
  RunMenuItem *At(int32_t i) const { return mChildren.begin()[i]; }
  bool Contains(RunMenuItem *item) const;
  int32_t GetIndex() const { return mIndex; }
  const string &GetText() const { return mText; }
  const string &GetName() const { return mName; }
  const string &GetCommandKey() const { return mCommandKey; }
  RuntimeObject *GetTag() const { return mTag; }
  const string &GetHelp() const { return mHelp; }
  const string &GetDisabledHelp() const { return mDisabledHelp; }
  bool IsEnabled() const { return mEnabled != 0; }
  bool IsChecked() const { return mCheckMark != 0; }
  bool IsVisible() const { return mVisible != 0; }
  bool IsBold() const { return mBold != 0; }
  bool IsItalic() const { return mItalic != 0; }
  bool IsUnderline() const { return mUnderline != 0; }
  bool GetAutoEnable() const { return mAutoEnable != 0; }
  void SetAutoEnable(bool on) { mAutoEnable = on ? 1 : 0; }

protected:
  // Takes the entry at i out of the child list and releases it.
  void DropChildAt(int32_t i);
  RunMenuItem *FindChild(const string &name, bool byIndex, long index);

  SimpleVector<RunMenuItem *> mChildren;
  int32_t mIndex = kNoMenuIndex;
  string mText;
  string mName;
  string mCommandKey;
  RuntimeObject *mTag = nullptr;
  string mHelp;
  string mDisabledHelp;
  uint8_t mEnabled = 1;
  uint8_t mCheckMark = 0;
  uint8_t mVisible = 1;
  uint8_t mBold = 0;
  uint8_t mItalic = 0;
  uint8_t mUnderline = 0;
  uint8_t mAutoEnable = 1;
};

// The node of an item; shows the alert (source "../Common/menubar") with the
// condition given and answers nil when the item has none.
Menu *NodeOf(RunMenuItem *item, const char *condition);

// Breadth-first walk callback: false stops the walk.
using MenuItemCallback = int32_t (*)(RunMenuItem *item, void *context);

extern "C" {
RunMenuItem *RuntimeMenuItemLookupArray(RunMenuItem *root, stringStorage *name, int32_t index);
RunMenuItem *RuntimeMenuItemLookup(RunMenuItem *root, stringStorage *name);
RunMenuItem *MenuItemLookupByClass(RunMenuItem *root, RuntimeClass *cls);
void IterateOverRunMenuItems(RunMenuItem *root, MenuItemCallback callback, void *context);
void MenuBarInstallClone(RunMenuItem *bar, RunMenuItem *item);
}
