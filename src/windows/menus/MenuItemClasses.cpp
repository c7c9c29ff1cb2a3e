#include "windows/menus/MenuItemClasses.h"
#include "runtime/objects/ClassTables.h"

#include <iterator>

#include "foundation/AssertionAlert.h"
#include "language/Variant.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "windows/HandlerCalls.h"
#include "windows/menus/MenuDispatch.h"
#include "windows/menus/XMenuGTK.h"

ObjectHook *quitMenuItemActionHook = nullptr;
ObjectHook *prefsMenuItemActionHook = nullptr;

namespace {

constexpr char kMenuBarSource[] = "../Common/menubar";

// The item's node for an accessor: nil items raise, items without a node
// show the alert; both answer nil.
Menu *Node(RunMenuItem *item) {
  if (!item) {
    RaiseNilObjectException();
    return nullptr;
  }
  return NodeOf(item, "obj->mImp");
}

// True when item is root or lies anywhere below it. An item added to such a
// root would make the tree a cycle that every later walk follows for ever.
bool LiesWithin(RunMenuItem *item, RunMenuItem *root) {
  if (item == root)
    return true;
  if (Menu *node = root->mImp)
    for (int32_t i = 0; i < node->Count(); ++i)
      if (LiesWithin(item, node->At(i)))
        return true;
  return false;
}

stringStorage *Text(const string &s) { return s.ExtractStringStorage(); }
string Borrowed(stringStorage *s) { return string::Borrow(s); }

void MenuItemConstructor(RuntimeObject *object) {
  if (!object) {
    ShowAlert(AlertSite{kMenuBarSource, 60, "obj"});
    return;
  }
  AsMenuItem(object)->mImp = new XMenuGTK();
}

void MenuItemDestructor(RuntimeObject *object) {
  if (!object) {
    ShowAlert(AlertSite{kMenuBarSource, 70, "m"});
    return;
  }
  Menu *node = AsMenuItem(object)->mImp;
  AsMenuItem(object)->mImp = nullptr;
  delete node;
}

// Quit's built-in answer to MenuItem's Action: its own Action first, and
// quitting unless that handled it.
int32_t QuitMenuItemAction(RuntimeObject *item) {
  void *code = FindObjectCode(item, quitMenuItemActionHook);
  if (!code || !CallHandler(code, item))
    ApplicationQuit();
  return 1;
}

// Preferences' built-in answer: its own Action; the command ends here either way.
int32_t PrefsMenuItemAction(RuntimeObject *item) {
  if (void *code = FindObjectCode(item, prefsMenuItemActionHook))
    CallHandler(code, item);
  return 1;
}

#define ACCESSORS(name, kind, getter, setter)                                                      \
  { 0, name, &kind.type, EntryCode(getter), #getter, EntryCode(setter), #setter, 0, 0 }

// clang-format off
ObjectInstanceTemplate MenuItemProperties[] = {
    ACCESSORS("Name", stringType, RuntimeMenuItemNameGetter, RuntimeMenuItemNameSetter),
    ACCESSORS("Index", integerType, RuntimeMenuItemIndexGetter, RuntimeMenuItemIndexSetter),
    {0, "Tag", nullptr, EntryCode(RuntimeMenuItemTagGetter), "RuntimeMenuItemTagGetter",
     EntryCode(RuntimeMenuItemTagSetter), "RuntimeMenuItemTagSetter", 0, 0},
    ACCESSORS("BalloonHelp", stringType, RuntimeMenuItemBalloonHelpGetter,
              RuntimeMenuItemBalloonHelpSetter),
    ACCESSORS("DisabledBalloonHelp", stringType, RuntimeMenuItemDisabledHelpGetter,
              RuntimeMenuItemDisabledHelpSetter),
    ACCESSORS("Text", stringType, RuntimeMenuItemTextGetter, RuntimeMenuItemTextSetter),
    ACCESSORS("Checked", booleanType, RuntimeMenuItemCheckedGetter, RuntimeMenuItemCheckedSetter),
    ACCESSORS("Enabled", booleanType, RuntimeMenuItemEnabledGetter, RuntimeMenuItemEnabledSetter),
    ACCESSORS("Visible", booleanType, RuntimeMenuItemVisibleGetter, RuntimeMenuItemVisibleSetter),
    ACCESSORS("CommandKey", stringType, RuntimeMenuItemCommandKeyGetter,
              RuntimeMenuItemCommandKeySetter),
    ACCESSORS("_Bold", booleanType, RuntimeMenuItemBoldGetter, RuntimeMenuItemBoldSetter),
    ACCESSORS("_Italic", booleanType, RuntimeMenuItemItalicsGetter, RuntimeMenuItemItalicsSetter),
    ACCESSORS("_Underline", booleanType, RuntimeMenuItemUnderlineGetter,
              RuntimeMenuItemUnderlineSetter),
    ACCESSORS("AutoEnable", booleanType, RuntimeMenuItemAutoEnableGetter,
              RuntimeMenuItemAutoEnableSetter),
};

MethodParameter sIndexParams[] = {{"index", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sNameParams[] = {{"name", &stringType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sItemParams[] = {{"item", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sInsertParams[] = {{"index", &integerType.type, 0, {}, 0, {}, 0, {}},
                                   {"item", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sLookupArrayParams[] = {{"name", &stringType.type, 0, {}, 0, {}, 0, {}},
                                        {"index", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sInstallParams[] = {{"installThis", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sOwnerParams[] = {{"owner", nullptr, 0, {}, 0, {}, 0, {}}};

#define METHOD(name, function, returnType, params, count)                                          \
  { name, returnType, params, count, {{EntryCode(function), #function, {}}, {}}, 0, 0, 0 }

PropertyMethod MenuItemMethods[] = {
    METHOD("Enable", RuntimeEnableMenu, nullptr, nullptr, 0),
    METHOD("Close", RuntimeCloseMenuItem, nullptr, nullptr, 0),
    METHOD("Item", RuntimeMenuItemItem, nullptr, sIndexParams, 1),
    METHOD("Count", RuntimeMenuItemCount, &integerType.type, nullptr, 0),
    METHOD("Child", RuntimeMenuItemChild, nullptr, sNameParams, 1),
    METHOD("Append", RuntimeMenuItemAppend, nullptr, sItemParams, 1),
    METHOD("Insert", RuntimeMenuItemInsert, nullptr, sInsertParams, 2),
    METHOD("Remove", RuntimeMenuItemRemoveIndex, nullptr, sIndexParams, 1),
    METHOD("Remove", RuntimeMenuItemRemoveItem, nullptr, sItemParams, 1),
    METHOD("_Lookup", RuntimeMenuItemLookup, nullptr, sNameParams, 1),
    METHOD("_Lookup", RuntimeMenuItemLookupArray, nullptr, sLookupArrayParams, 2),
    METHOD("MenuItem", RuntimeMenuItemDefaultConstructor, nullptr, nullptr, 0),
};

PropertyMethod MenuBarMethods[] = {
    METHOD("_InstallClone", MenuBarInstallClone, nullptr, sInstallParams, 1),
};

PropertyMethod InstallerMethods[] = {
    {"_Install", nullptr, sOwnerParams, 1, {}, 0, 0, 0},
};

ObjectConstantTemplate MenuItemConstants[] = {{0, "TextSeparator", 0, "-"}};

ObjectHookTemplate MenuItemHooks[] = {
    {0, "Action", "", "Boolean", nullptr, 0},
    {0, "EnableMenu", "", "", nullptr, 0},
};
ObjectHookTemplate QuitMenuItemHooks[] = {{0, "Action", "", "Boolean", nullptr, 0}};
ObjectHookTemplate PrefsMenuItemHooks[] = {{0, "Action", "", "Boolean", nullptr, 0}};
// clang-format on

bool Start(ObjectDefinition &defn, const char *name, ObjectDefinition *super) {
  if (!defn.className.IsEmpty())
    return false;
  defn.className = string(name);
  defn.super = super;
  defn.objectSize = kRunMenuItemInstanceSize;
  defn.staticTables = 1;
  defn.newAllowed = 1;
  return true;
}

void AddBuiltInAction(ObjectDefinition &defn, int32_t (*handler)(RuntimeObject *)) {
  auto *item = new ObjectHookInstance;
  item->name = string("Action");
  item->code = EntryCode(handler);
  defn.hookInstances = item;
}

} // namespace

ObjectDefinition *MenuItemClass() {
  static ObjectDefinition defn;
  if (!Start(defn, "MenuItem", nullptr))
    return &defn;
  defn.constructor = MenuItemConstructor;
  defn.destructor = MenuItemDestructor;
  PropertyType *self = defn.AsType();
  sItemParams[0].type = self;
  sInsertParams[1].type = self;
  sInstallParams[0].type = self;
  for (PropertyMethod &m : MenuItemMethods)
    if (m.implementation[0].code == EntryCode(RuntimeMenuItemItem) ||
        m.implementation[0].code == EntryCode(RuntimeMenuItemChild) ||
        m.implementation[0].code == EntryCode(RuntimeMenuItemLookup) ||
        m.implementation[0].code == EntryCode(RuntimeMenuItemLookupArray))
      m.returnType = self;
  MenuItemProperties[2].type = VariantClass()->AsType();
  defn.properties = FillInstances(MenuItemProperties, std::size(MenuItemProperties));
  defn.methods = FillMethods(MenuItemMethods, std::size(MenuItemMethods));
  FillConstants(&defn, MenuItemConstants, std::size(MenuItemConstants));
  FillHooks(&defn, MenuItemHooks, std::size(MenuItemHooks));
  menuItemActionHook = MenuItemHooks[0].hook;
  menuItemEnableMenu = MenuItemHooks[1].hook;
  return &defn;
}

ObjectDefinition *MenuBarClass() {
  static ObjectDefinition defn;
  if (!Start(defn, "MenuBar", MenuItemClass()))
    return &defn;
  defn.methods = FillMethods(MenuBarMethods, std::size(MenuBarMethods));
  return &defn;
}

ObjectDefinition *MenubarInstallerInterface() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sOwnerParams[0].type = MenuBarClass()->AsType();
  defn.className = string("_MenuBarInstaller");
  defn.isInterface = 1;
  defn.objectSize = sizeof(RuntimeObject);
  defn.staticTables = 1;
  defn.methods = FillMethods(InstallerMethods, std::size(InstallerMethods));
  return &defn;
}

ObjectDefinition *QuitMenuItemClass() {
  static ObjectDefinition defn;
  if (!Start(defn, "QuitMenuItem", MenuItemClass()))
    return &defn;
  FillHooks(&defn, QuitMenuItemHooks, std::size(QuitMenuItemHooks));
  quitMenuItemActionHook = QuitMenuItemHooks[0].hook;
  AddBuiltInAction(defn, QuitMenuItemAction);
  return &defn;
}

ObjectDefinition *PrefsMenuItemClass() {
  static ObjectDefinition defn;
  if (!Start(defn, "PrefsMenuItem", MenuItemClass()))
    return &defn;
  FillHooks(&defn, PrefsMenuItemHooks, std::size(PrefsMenuItemHooks));
  prefsMenuItemActionHook = PrefsMenuItemHooks[0].hook;
  AddBuiltInAction(defn, PrefsMenuItemAction);
  return &defn;
}

ObjectDefinition *AppleMenuItemClass() {
  static ObjectDefinition defn;
  Start(defn, "AppleMenuItem", MenuItemClass());
  return &defn;
}

void InitMenuClasses() {
  addIntrinsicClass(MenubarInstallerInterface());
  addIntrinsicClass(MenuBarClass());
  addIntrinsicClass(MenuItemClass());
}

RunMenuItem *NewMenuItem() { return AsMenuItem(CreateInstance(MenuItemClass())); }

extern "C" {

#define STRING_PROPERTY(Getter, Setter, read, write)                                               \
  stringStorage *Getter(RunMenuItem *item, int32_t) {                                              \
    Menu *node = Node(item);                                                                       \
    return node ? Text(node->read()) : nullptr;                                                    \
  }                                                                                                \
  void Setter(RunMenuItem *item, int32_t, stringStorage *value) {                                  \
    if (Menu *node = Node(item))                                                                   \
      node->write(Borrowed(value));                                                                \
  }

#define FLAG_PROPERTY(Getter, Setter, read, write)                                                 \
  int32_t Getter(RunMenuItem *item, int32_t) {                                                     \
    Menu *node = Node(item);                                                                       \
    return node && node->read() ? 1 : 0;                                                           \
  }                                                                                                \
  void Setter(RunMenuItem *item, int32_t, int32_t value) {                                         \
    if (Menu *node = Node(item))                                                                   \
      node->write(static_cast<uint8_t>(value) != 0);                                               \
  }

STRING_PROPERTY(RuntimeMenuItemNameGetter, RuntimeMenuItemNameSetter, GetName, SetName)
STRING_PROPERTY(RuntimeMenuItemBalloonHelpGetter, RuntimeMenuItemBalloonHelpSetter, GetHelp,
                SetHelp)
STRING_PROPERTY(RuntimeMenuItemDisabledHelpGetter, RuntimeMenuItemDisabledHelpSetter,
                GetDisabledHelp, SetDisabledHelp)
STRING_PROPERTY(RuntimeMenuItemTextGetter, RuntimeMenuItemTextSetter, GetText, SetText)
STRING_PROPERTY(RuntimeMenuItemCommandKeyGetter, RuntimeMenuItemCommandKeySetter, GetCommandKey,
                SetCommandKey)
FLAG_PROPERTY(RuntimeMenuItemCheckedGetter, RuntimeMenuItemCheckedSetter, IsChecked, SetCheck)
FLAG_PROPERTY(RuntimeMenuItemVisibleGetter, RuntimeMenuItemVisibleSetter, IsVisible, SetVisible)
FLAG_PROPERTY(RuntimeMenuItemBoldGetter, RuntimeMenuItemBoldSetter, IsBold, SetBold)
FLAG_PROPERTY(RuntimeMenuItemItalicsGetter, RuntimeMenuItemItalicsSetter, IsItalic, SetItalic)
FLAG_PROPERTY(RuntimeMenuItemUnderlineGetter, RuntimeMenuItemUnderlineSetter, IsUnderline,
              SetUnderline)
FLAG_PROPERTY(RuntimeMenuItemAutoEnableGetter, RuntimeMenuItemAutoEnableSetter, GetAutoEnable,
              SetAutoEnable)

int32_t RuntimeMenuItemIndexGetter(RunMenuItem *item, int32_t) {
  Menu *node = Node(item);
  return node ? node->GetIndex() : 0;
}

void RuntimeMenuItemIndexSetter(RunMenuItem *item, int32_t, int32_t value) {
  if (Menu *node = Node(item))
    node->SetIndex(value);
}

RuntimeObject *RuntimeMenuItemTagGetter(RunMenuItem *item, int32_t) {
  Menu *node = Node(item);
  RuntimeObject *tag = node ? node->GetTag() : nullptr;
  RuntimeLockObject(tag);
  return tag;
}

void RuntimeMenuItemTagSetter(RunMenuItem *item, int32_t, RuntimeObject *value) {
  if (Menu *node = Node(item))
    node->SetTag(value);
}

int32_t RuntimeMenuItemEnabledGetter(RunMenuItem *item, int32_t) {
  Menu *node = Node(item);
  return node && node->IsEnabled() ? 1 : 0;
}

void RuntimeMenuItemEnabledSetter(RunMenuItem *item, int32_t, int32_t value) {
  if (Menu *node = Node(item)) {
    if (static_cast<uint8_t>(value))
      node->Enable();
    else
      node->Disable();
  }
}

void RuntimeEnableMenu(RunMenuItem *item) { RuntimeMenuItemEnabledSetter(item, 0, 1); }

// Items close with their last reference; the method itself does nothing,
// on nil too.
void RuntimeCloseMenuItem(RunMenuItem *) {}

RunMenuItem *RuntimeMenuItemItem(RunMenuItem *item, int32_t index) {
  Menu *node = Node(item);
  return node ? node->Item(index) : nullptr;
}

int32_t RuntimeMenuItemCount(RunMenuItem *item) {
  Menu *node = Node(item);
  return node ? node->Count() : 0;
}

RunMenuItem *RuntimeMenuItemChild(RunMenuItem *item, stringStorage *name) {
  Menu *node = Node(item);
  return node ? node->Child(Borrowed(name)) : nullptr;
}

void RuntimeMenuItemAppend(RunMenuItem *item, RunMenuItem *child) {
  Menu *node = Node(item);
  if (node && child && !LiesWithin(item, child))
    node->AddChild(child);
}

void RuntimeMenuItemInsert(RunMenuItem *item, int32_t index, RunMenuItem *child) {
  Menu *node = Node(item);
  if (!node)
    return;
  if (index < 0 || index > node->Count()) {
    RaiseOutOfBoundsException();
    return;
  }
  if (child && !LiesWithin(item, child))
    node->InsertChild(child, index);
}

void RuntimeMenuItemRemoveIndex(RunMenuItem *item, int32_t index) {
  Menu *node = Node(item);
  if (!node)
    return;
  if (index < 0 || index >= node->Count()) {
    RaiseOutOfBoundsException();
    return;
  }
  node->RemoveChild(static_cast<long>(index));
}

void RuntimeMenuItemRemoveItem(RunMenuItem *item, RunMenuItem *child) {
  if (Menu *node = Node(item))
    node->RemoveChild(child);
}

void RuntimeMenuItemDefaultConstructor(RunMenuItem *) {}

} // extern "C"
