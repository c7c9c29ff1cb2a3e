#include "windows/menus/Menu.h"

#include <deque>

#include "foundation/AssertionAlert.h"
#include "runtime/exceptions/RuntimeExceptions.h"

namespace {

constexpr char kMenuSource[] = "../Common/Menu";
constexpr char kMenuBarSource[] = "../Common/menubar";

void Retain(RunMenuItem *item) { RuntimeLockObject(&item->header); }
void Release(RunMenuItem *item) {
  if (item)
    RuntimeUnlockObject(&item->header);
}

// Depth first in menu order: a match at a level wins over anything below it,
// an earlier child's subtree over a later child.
template <typename Matches>
RunMenuItem *FindBelow(RunMenuItem *root, const Matches &matches) {
  Menu *node = root->mImp;
  if (!node) {
    ShowAlert(AlertSite{kMenuBarSource, 214, "self->mImp"});
    return nullptr;
  }
  int32_t count = node->Count();
  RunMenuItem *result = nullptr;
  for (int32_t i = 0; i < count && !result; ++i) {
    if (i >= node->Count())
      break; // a child left the list meanwhile
    RunMenuItem *child = node->Item(i);
    if (!child) {
      ShowAlert(AlertSite{kMenuBarSource, 221, "item"});
      continue;
    }
    if (child->mImp && matches(child)) {
      Retain(child);
      result = child;
    } else if (child->mImp) {
      result = FindBelow(child, matches);
    }
    Release(child);
  }
  return result;
}

} // namespace

Menu::Menu() : mText(""), mName(""), mCommandKey(""), mHelp(""), mDisabledHelp("") {}

Menu::~Menu() {
  while (mChildren.count())
    DropChildAt(mChildren.count() - 1);
  RuntimeObject *tag = mTag;
  mTag = nullptr;
  RuntimeUnlockObject(tag);
}

RunMenuItem *Menu::LookupMenuCommand(unsigned long) { return nullptr; }
void Menu::Enable() { mEnabled = 1; }
void Menu::Disable() { mEnabled = 0; }
void Menu::SetText(const string &text) { mText = text; }
void Menu::SetName(const string &name) { mName = name; }
void Menu::SetIndex(int32_t index) { mIndex = index; }

void Menu::SetTag(RuntimeObject *tag) {
  RuntimeLockUnlockObjects(tag, mTag);
  mTag = tag;
}

void Menu::SetHelp(const string &help) { mHelp = help; }
void Menu::SetDisabledHelp(const string &help) { mDisabledHelp = help; }
void Menu::SetCheck(unsigned char on) { mCheckMark = on ? 1 : 0; }
void Menu::SetVisible(unsigned char on) { mVisible = on ? 1 : 0; }
void Menu::SetCommandKey(const string &key) { mCommandKey = key; }
void Menu::SetBold(unsigned char on) { mBold = on ? 1 : 0; }
void Menu::SetItalic(unsigned char on) { mItalic = on ? 1 : 0; }
void Menu::SetUnderline(unsigned char on) { mUnderline = on ? 1 : 0; }

void Menu::AddChild(RunMenuItem *item) {
  Retain(item);
  mChildren.push_back(item);
}

void Menu::InsertChild(RunMenuItem *item, long position) {
  Retain(item);
  mChildren.insert(item, static_cast<int32_t>(position));
}

void Menu::RemoveChild(RunMenuItem *item) {
  for (int32_t i = mChildren.count() - 1; i >= 0; --i)
    if (At(i) == item)
      DropChildAt(i);
}

void Menu::RemoveChild(long position) {
  if (position < 0 || position >= mChildren.count()) {
    RaiseOutOfBoundsException();
    return;
  }
  DropChildAt(static_cast<int32_t>(position));
}

void Menu::DropChildAt(int32_t i) {
  RunMenuItem *item = At(i);
  mChildren.deleteIdx(i);
  Release(item);
}

bool Menu::Contains(RunMenuItem *item) const {
  for (RunMenuItem *child : mChildren)
    if (child == item)
      return true;
  return false;
}

RunMenuItem *Menu::Item(long position) {
  if (position < 0 || position >= mChildren.count()) {
    RaiseOutOfBoundsException();
    return nullptr;
  }
  RunMenuItem *item = At(static_cast<int32_t>(position));
  Retain(item);
  return item;
}

RunMenuItem *Menu::Child(const string &name) { return FindChild(name, false, 0); }

RunMenuItem *Menu::Child(const string &name, long index) { return FindChild(name, true, index); }

RunMenuItem *Menu::FindChild(const string &name, bool byIndex, long index) {
  for (RunMenuItem *child : mChildren) {
    if (!child->mImp) {
      ShowAlert(AlertSite{kMenuSource, 402, "m"});
      continue;
    }
    if (child->mImp->GetName().Compare(name) == 0 &&
        (!byIndex || child->mImp->GetIndex() == index)) {
      Retain(child);
      return child;
    }
  }
  return nullptr;
}

Menu *NodeOf(RunMenuItem *item, const char *condition) {
  if (item && item->mImp)
    return item->mImp;
  ShowAlert(AlertSite{kMenuBarSource, 120, condition});
  return nullptr;
}

extern "C" {

RunMenuItem *RuntimeMenuItemLookupArray(RunMenuItem *root, stringStorage *name, int32_t index) {
  if (!root || !name)
    return nullptr;
  string wanted = string::Borrow(name);
  return FindBelow(root, [&](RunMenuItem *child) {
    return child->mImp->GetName().Compare(wanted) == 0 && child->mImp->GetIndex() == index;
  });
}

RunMenuItem *RuntimeMenuItemLookup(RunMenuItem *root, stringStorage *name) {
  return RuntimeMenuItemLookupArray(root, name, kNoMenuIndex);
}

RunMenuItem *MenuItemLookupByClass(RunMenuItem *root, RuntimeClass *cls) {
  if (!root)
    return nullptr;
  return FindBelow(root, [&](RunMenuItem *child) {
    return RuntimeObjectIsa(&child->header, cls) != 0;
  });
}

void IterateOverRunMenuItems(RunMenuItem *root, MenuItemCallback callback, void *context) {
  if (!root)
    return;
  if (!callback) {
    ShowAlert(AlertSite{kMenuBarSource, 300, "callback"},
              "You didn't specify a callback to call for iterating over menu items");
    return;
  }
  // Every queued item is held, so a callback may change the tree.
  std::deque<RunMenuItem *> queue{root};
  Retain(root);
  bool stopped = false;
  for (size_t q = 0; q < queue.size() && !stopped; ++q) {
    Menu *node = queue[q]->mImp;
    for (int32_t i = 0; node && i < node->Count() && !stopped; ++i) {
      RunMenuItem *child = node->Item(i);
      if (!child)
        continue;
      if (child->mImp && child->mImp->Count()) {
        Retain(child);
        queue.push_back(child);
      }
      stopped = !callback(child, context);
      Release(child);
    }
  }
  for (RunMenuItem *held : queue)
    Release(held);
}

void MenuBarInstallClone(RunMenuItem *bar, RunMenuItem *item) {
  if (!bar)
    ShowAlert(AlertSite{kMenuBarSource, 340, "menuBar"});
  if (!item)
    ShowAlert(AlertSite{kMenuBarSource, 341, "installThis"});
  if (!bar || !item || !bar->mImp || !item->mImp)
    return;
  const string name = item->mImp->GetName();
  std::deque<RunMenuItem *> queue{bar};
  Retain(bar);
  for (size_t q = 0; q < queue.size(); ++q) {
    Menu *parent = queue[q]->mImp;
    int32_t count = parent ? parent->Count() : 0;
    int32_t first = -1;
    for (int32_t i = 0; i < count && first < 0; ++i) {
      RunMenuItem *child = parent->At(i);
      if (child->mImp && child->mImp->GetName().Compare(name) == 0)
        first = i;
    }
    if (first < 0) {
      for (int32_t i = 0; i < count; ++i)
        if (RunMenuItem *child = parent->At(i); child->mImp && child->mImp->Count()) {
          Retain(child);
          queue.push_back(child);
        }
      continue;
    }
    // The run of namesakes from the first one: the new item follows it with
    // the next free index.
    int32_t next = 0, at = first;
    for (; at < count; ++at) {
      RunMenuItem *child = parent->At(at);
      if (!child->mImp || child->mImp->GetName().Compare(name) != 0)
        break;
      if (child->mImp->GetIndex() >= next)
        next = child->mImp->GetIndex() + 1;
    }
    item->mImp->SetIndex(next);
    if (at < count)
      parent->InsertChild(item, at);
    else
      parent->AddChild(item);
    break;
  }
  for (RunMenuItem *held : queue)
    Release(held);
}

} // extern "C"
