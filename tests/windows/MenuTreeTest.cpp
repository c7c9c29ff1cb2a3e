// Menu trees: the child list, the walks over a tree, and the GTK+ node's
// captions, accelerators, enabling and clones.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include <gdk/gdkkeysyms.h>

#include "MenuTestSupport.h"
#include "WindowsTestSupport.h"
#include "graphics/FontStructure.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"
#include "windows/GTKHelper.h"
#include "windows/menus/MenuDispatch.h"

namespace {

// The slot of a virtual member function in its class's table: the C++ ABI
// this runtime is built with stores one plus the slot's byte offset in a
// pointer to a virtual member.
template <typename Member>
int SlotOf(Member member) {
  struct {
    uintptr_t ptr;
    ptrdiff_t adj;
  } raw;
  static_assert(sizeof(Member) == sizeof raw);
  std::memcpy(&raw, &member, sizeof raw);
  return raw.ptr & 1 ? static_cast<int>((raw.ptr - 1) / sizeof(void *)) : -1;
}

// Slots 0 and 1 are the destructors; the GTK+ node overrides in place and
// adds its own ten behind Menu's twenty-one.
TEST(MenuNodes, VirtualOperationsKeepTheirSlots) {
  using Text = void (Menu::*)(const string &);
  using Flag = void (Menu::*)(unsigned char);
  const int slots[] = {
      SlotOf(static_cast<RunMenuItem *(Menu::*)(unsigned long)>(&Menu::LookupMenuCommand)),
      SlotOf(&Menu::Enable),
      SlotOf(&Menu::Disable),
      SlotOf(static_cast<Text>(&Menu::SetText)),
      SlotOf(static_cast<Text>(&Menu::SetName)),
      SlotOf(&Menu::SetIndex),
      SlotOf(&Menu::SetTag),
      SlotOf(static_cast<Text>(&Menu::SetHelp)),
      SlotOf(static_cast<Text>(&Menu::SetDisabledHelp)),
      SlotOf(static_cast<Flag>(&Menu::SetCheck)),
      SlotOf(static_cast<Flag>(&Menu::SetVisible)),
      SlotOf(static_cast<Text>(&Menu::SetCommandKey)),
      SlotOf(static_cast<Flag>(&Menu::SetBold)),
      SlotOf(static_cast<Flag>(&Menu::SetItalic)),
      SlotOf(static_cast<Flag>(&Menu::SetUnderline)),
      SlotOf(&Menu::AddChild),
      SlotOf(&Menu::InsertChild),
      SlotOf(static_cast<void (Menu::*)(RunMenuItem *)>(&Menu::RemoveChild)),
      SlotOf(static_cast<void (Menu::*)(long)>(&Menu::RemoveChild)),
      SlotOf(&XMenuGTK::Clone),
      SlotOf(&XMenuGTK::CloneHelper),
      SlotOf(&XMenuGTK::GetOwnerWindow),
      SlotOf(&XMenuGTK::GetParent),
      SlotOf(&XMenuGTK::IsSeparator),
      SlotOf(&XMenuGTK::IsSubMenu),
      SlotOf(&XMenuGTK::IsTopLevel),
      SlotOf(static_cast<RunMenuItem *(XMenuGTK::*)(XMenuGTK *)>(&XMenuGTK::LookupMenuCommand)),
      SlotOf(&XMenuGTK::SetCustomMenuActionFunction),
      SlotOf(&XMenuGTK::SetOwnerWindow),
  };
  for (int i = 0; i < static_cast<int>(std::size(slots)); ++i)
    EXPECT_EQ(slots[i], i + 2) << "operation " << i;
  // Overrides stay where Menu put them.
  EXPECT_EQ(SlotOf(static_cast<void (XMenuGTK::*)(const string &)>(&XMenuGTK::SetText)), 5);
  EXPECT_EQ(SlotOf(static_cast<void (XMenuGTK::*)(long)>(&XMenuGTK::RemoveChild)), 20);
}

class MenuTree : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    OutOfBoundsExceptionClass();
    mRaises.raised().clear();
    bar = MakeItem("", "");
  }
  void TearDown() override { Release(bar); }
  Names Raised() {
    Names names = mRaises.raised();
    mRaises.raised().clear();
    return names;
  }
  RunMenuItem *bar = nullptr;
  RaiseRecorder mRaises;
};

TEST_F(MenuTree, ItemOutsideTheListRaisesAndRemovalByIdentityDropsEveryEntry) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  EXPECT_EQ(bar->mImp->Item(1), nullptr);
  EXPECT_EQ(bar->mImp->Item(-1), nullptr);
  EXPECT_EQ(Raised(), Names(2, "OutOfBoundsException"));

  RunMenuItem *twice = MakeItem("Twice");
  file->mImp->AddChild(twice);
  file->mImp->AddChild(twice);
  EXPECT_EQ(twice->header.refCount, 3);
  RunMenuItem *stranger = MakeItem("Stranger");
  file->mImp->RemoveChild(stranger);
  EXPECT_EQ(file->mImp->Count(), 2);
  file->mImp->RemoveChild(twice);
  EXPECT_EQ(file->mImp->Count(), 0);
  EXPECT_EQ(twice->header.refCount, 1);
  file->mImp->RemoveChild(0L);
  EXPECT_EQ(Raised(), Names{"OutOfBoundsException"});
  Release(twice);
  Release(stranger);
}

// The language's methods: a nil item raises, except for Close and _Lookup;
// Insert takes the positions 0 to Count, Remove 0 to Count - 1.
TEST_F(MenuTree, MethodsCheckTheItemAndThePosition) {
  void (*const onNil[])(RunMenuItem *) = {
      [](RunMenuItem *) { RuntimeEnableMenu(nullptr); },
      [](RunMenuItem *) { RuntimeMenuItemItem(nullptr, 0); },
      [](RunMenuItem *) { RuntimeMenuItemCount(nullptr); },
      [](RunMenuItem *) { RuntimeMenuItemChild(nullptr, nullptr); },
      [](RunMenuItem *other) { RuntimeMenuItemAppend(nullptr, other); },
      [](RunMenuItem *other) { RuntimeMenuItemInsert(nullptr, 0, other); },
      [](RunMenuItem *) { RuntimeMenuItemRemoveIndex(nullptr, 0); },
      [](RunMenuItem *other) { RuntimeMenuItemRemoveItem(nullptr, other); },
      [](RunMenuItem *) { RuntimeMenuItemTextSetter(nullptr, 0, nullptr); },
      [](RunMenuItem *) { RuntimeMenuItemEnabledGetter(nullptr, 0); },
  };
  for (auto call : onNil)
    call(bar);
  EXPECT_EQ(Raised(), Names(std::size(onNil), "NilObjectException"));
  RuntimeCloseMenuItem(nullptr);
  EXPECT_EQ(RuntimeMenuItemLookup(nullptr, string("File").Storage()), nullptr);
  EXPECT_TRUE(Raised().empty());

  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *a = MakeItem("A");
  RunMenuItem *b = MakeItem("B");
  RuntimeMenuItemInsert(file, 0, a); // at Count: appended
  RuntimeMenuItemInsert(file, 1, b);
  RuntimeMenuItemInsert(file, 0, nullptr);
  EXPECT_TRUE(Raised().empty());
  RuntimeMenuItemInsert(file, 3, a);
  RuntimeMenuItemInsert(file, -1, a);
  RuntimeMenuItemRemoveIndex(file, 2);
  EXPECT_EQ(Raised(), Names(3, "OutOfBoundsException"));
  ASSERT_EQ(RuntimeMenuItemCount(file), 2);
  EXPECT_EQ(file->mImp->At(0), a);
  GList *shown = gtk_container_get_children(GTK_CONTAINER(GTKNodeOf(file)->MenuWidget()));
  EXPECT_EQ(g_list_nth_data(shown, 1), GTKNodeOf(b)->ItemWidget());
  g_list_free(shown);
  RuntimeMenuItemRemoveIndex(file, 0);
  EXPECT_EQ(file->mImp->At(0), b);
  EXPECT_EQ(a->header.refCount, 1);

  // An item that lost its node answers nil after the alert.
  Menu *node = a->mImp;
  a->mImp = nullptr;
  AlertRecorder alerts;
  EXPECT_EQ(RuntimeMenuItemTextGetter(a, 0), nullptr);
  EXPECT_TRUE(alerts.saw("obj->mImp"));
  a->mImp = node;
  Release(a);
  Release(b);
}

TEST_F(MenuTree, AnItemAddedToItselfOrBelowItselfIsRefused) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *recent = AddItem(file, "Recent", "Recent");
  RunMenuItem *last = AddItem(recent, "Last", "Last");
  RuntimeMenuItemAppend(file, file);
  RuntimeMenuItemAppend(last, file);
  RuntimeMenuItemInsert(recent, 0, recent);
  RuntimeMenuItemInsert(last, 0, bar);
  EXPECT_EQ(RuntimeMenuItemCount(file), 1);
  EXPECT_EQ(RuntimeMenuItemCount(recent), 1);
  EXPECT_EQ(RuntimeMenuItemCount(last), 0);
  EXPECT_EQ(file->header.refCount, 1) << "no reference kept for a refused child";
  // Walks of the tree still end, and an item may still join a sibling's menu.
  EXPECT_EQ(RuntimeMenuItemLookup(bar, string("Nowhere").Storage()), nullptr);
  RunMenuItem *other = AddItem(bar, "Edit", "&Edit");
  RuntimeMenuItemAppend(other, last);
  EXPECT_EQ(RuntimeMenuItemCount(other), 1);
  EXPECT_TRUE(Raised().empty());
}

TEST_F(MenuTree, LookupsMatchNamesWithoutCaseAndIndexesExactly) {
  RunMenuItem *edit = AddItem(bar, "Edit");
  AddItem(edit, "Cut", nullptr, 0);
  RunMenuItem *cut = AddItem(edit, "cut");
  RunMenuItem *file = AddItem(bar, "File");
  RunMenuItem *recent = AddItem(file, "Recent", nullptr, 3);
  struct Case {
    const char *name;
    int32_t index;
    RunMenuItem *expected;
  } cases[] = {
      {"Cut", kNoMenuIndex, cut},
      {"CUT", kNoMenuIndex, cut},
      {"recent", 3, recent},
      {"recent", 2, nullptr},
      {"Edit", kNoMenuIndex, edit},
      {"Paste", kNoMenuIndex, nullptr},
  };
  for (const Case &c : cases) {
    string name(c.name);
    RunMenuItem *found = RuntimeMenuItemLookupArray(bar, name.Storage(), c.index);
    EXPECT_EQ(found, c.expected) << c.name << " " << c.index;
    Release(found);
  }
  RunMenuItem *child = bar->mImp->Child(string("FILE"));
  EXPECT_EQ(child, file);
  Release(child);
  EXPECT_EQ(RuntimeMenuItemLookup(nullptr, string("Cut").Storage()), nullptr);
  EXPECT_EQ(edit->header.refCount, 1) << "the walk released what it held";
}

TEST_F(MenuTree, LookupByClassFindsTheFirstInstanceDepthFirst) {
  RunMenuItem *file = AddItem(bar, "File");
  RunMenuItem *quit = MakeItem("Quit", "Quit", kNoMenuIndex, QuitMenuItemClass());
  file->mImp->AddChild(quit);
  RunMenuItem *found = MenuItemLookupByClass(bar, LookupObjectDefinition(QuitMenuItemClass()));
  EXPECT_EQ(found, quit);
  Release(found);
  Release(quit);
}

TEST_F(MenuTree, InstallingACloneJoinsTheFirstRunOfNamesakes) {
  struct Case {
    std::vector<std::pair<const char *, int32_t>> edit;
    int expectedPosition; // -1: nothing added
    int32_t expectedIndex;
  } cases[] = {
      {{{"Undo", kNoMenuIndex}, {"Recent", 0}, {"Recent", 1}, {"Cut", kNoMenuIndex}}, 3, 2},
      {{{"Undo", kNoMenuIndex}, {"Recent", 0}, {"Recent", 1}}, 3, 2},
      {{{"Undo", kNoMenuIndex}, {"Cut", kNoMenuIndex}}, -1, 0},
  };
  for (const Case &c : cases) {
    RunMenuItem *root = MakeItem("", "");
    RunMenuItem *edit = AddItem(root, "Edit");
    for (auto [name, index] : c.edit)
      AddItem(edit, name, name, index);
    RunMenuItem *fresh = MakeItem("Recent");
    MenuBarInstallClone(root, fresh);
    if (c.expectedPosition < 0) {
      EXPECT_EQ(edit->mImp->Count(), static_cast<int32_t>(c.edit.size()));
      EXPECT_EQ(fresh->header.refCount, 1);
    } else {
      ASSERT_LT(c.expectedPosition, edit->mImp->Count());
      EXPECT_EQ(edit->mImp->At(c.expectedPosition), fresh);
      EXPECT_EQ(fresh->mImp->GetIndex(), c.expectedIndex);
    }
    Release(fresh);
    Release(root);
  }
}

struct Visit {
  std::vector<std::string> names;
  int stopAfter = 1000;
};

int32_t Visitor(RunMenuItem *item, void *context) {
  auto *visit = static_cast<Visit *>(context);
  visit->names.push_back(NameOf(item));
  return static_cast<int>(visit->names.size()) < visit->stopAfter;
}

TEST_F(MenuTree, IterationVisitsEachLevelBeforeTheNextAndCanStop) {
  RunMenuItem *file = AddItem(bar, "File");
  RunMenuItem *edit = AddItem(bar, "Edit");
  RunMenuItem *open = AddItem(file, "Open");
  AddItem(open, "Recent");
  AddItem(edit, "Cut");
  Visit all;
  IterateOverRunMenuItems(bar, Visitor, &all);
  EXPECT_EQ(all.names, (std::vector<std::string>{"File", "Edit", "Open", "Cut", "Recent"}));
  Visit first;
  first.stopAfter = 1;
  IterateOverRunMenuItems(bar, Visitor, &first);
  EXPECT_EQ(first.names, std::vector<std::string>{"File"});
  EXPECT_EQ(bar->header.refCount, 1);
  EXPECT_EQ(file->header.refCount, 1);
  AlertRecorder alerts;
  IterateOverRunMenuItems(bar, nullptr, nullptr);
  EXPECT_TRUE(alerts.saw("callback"));
}

TEST_F(MenuTree, CaptionsBecomeMnemonicLabels) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *item = AddItem(file, "Item");
  struct Case {
    const char *caption, *label;
  } cases[] = {
      {"Save &As...", "Save _As..."},
      {"Tom && Jerry", "Tom & Jerry"},
      {"snake_case", "snake__case"},
  };
  for (const Case &c : cases) {
    item->mImp->SetText(string(c.caption));
    EXPECT_EQ(LabelOf(item), c.label) << c.caption;
  }
  EXPECT_EQ(LabelOf(file), "_File");
}

TEST_F(MenuTree, CommandKeysBecomeControlAcceleratorsAndLeaveSubmenuItems) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *quit = AddItem(file, "Quit");
  quit->mImp->SetCommandKey(string("Q"));
  EXPECT_TRUE(HasAccelerator(quit, GDK_q, GDK_CONTROL_MASK));
  quit->mImp->SetCommandKey(string("shift-Q"));
  EXPECT_FALSE(HasAccelerator(quit, GDK_q, GDK_CONTROL_MASK));
  EXPECT_TRUE(HasAccelerator(quit, GDK_q, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK)));
  quit->mImp->SetCommandKey(string(""));
  EXPECT_FALSE(HasAccelerator(quit, GDK_q, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK)));

  struct Case {
    const char *key;
    int mods;
    const char *shown;
  } cases[] = {
      {"", 0, "unchanged"},
      {"Q", GDK_CONTROL_MASK, "Ctrl+Q"},
      {"shift-option-Q", GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK, "Ctrl+Shift+Alt+Q"},
      {"SHFT-ALT-k", GDK_CONTROL_MASK | GDK_SHIFT_MASK | GDK_MOD1_MASK, "Ctrl+Shift+Alt+k"},
  };
  for (const Case &c : cases) {
    EXPECT_EQ(GetAcceleratorModifiers(string(c.key)), c.mods) << c.key;
    string shown("unchanged");
    Win32InterpretMenuShortcut(string(c.key), &shown);
    EXPECT_STREQ(shown.CString(), c.shown);
  }

  RunMenuItem *open = AddItem(file, "Open");
  open->mImp->SetCommandKey(string("O"));
  AddItem(open, "Recent");
  EXPECT_STREQ(open->mImp->GetCommandKey().CString(), "");
  EXPECT_FALSE(HasAccelerator(open, GDK_o, GDK_CONTROL_MASK));
  EXPECT_EQ(gtk_menu_item_get_submenu(GTK_MENU_ITEM(GTKNodeOf(open)->ItemWidget())),
            GTKNodeOf(open)->MenuWidget());
}

int32_t sActions = 0;
int32_t CountAction(RuntimeObject *) { return ++sActions, 1; }

TEST_F(MenuTree, ASeparatorTakesTheItemsPlaceAndACaptionTakesItBack) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  AddItem(file, "Open");
  RunMenuItem *middle = AddItem(file, "Middle");
  AddItem(file, "Close");
  GtkWidget *menu = GTKNodeOf(file)->MenuWidget();
  auto widgetAt = [&](int i) {
    GList *children = gtk_container_get_children(GTK_CONTAINER(menu));
    auto *w = static_cast<GtkWidget *>(g_list_nth_data(children, i));
    g_list_free(children);
    return w;
  };
  CriticalCounter criticals;
  middle->mImp->SetText(string("-"));
  EXPECT_TRUE(GTKNodeOf(middle)->IsSeparator());
  EXPECT_TRUE(GTK_IS_SEPARATOR_MENU_ITEM(widgetAt(1)));
  EXPECT_EQ(widgetAt(1), GTKNodeOf(middle)->ItemWidget());
  middle->mImp->SetText(string("Back"));
  EXPECT_FALSE(GTKNodeOf(middle)->IsSeparator());
  EXPECT_EQ(widgetAt(1), GTKNodeOf(middle)->ItemWidget());
  EXPECT_EQ(LabelOf(middle), "Back");
  // The new widget dispatches its item like the first one did.
  MakePrivateEventTable(&middle->header)[menuItemActionHook->eventIndex].vector =
      reinterpret_cast<void *>(CountAction);
  sActions = 0;
  gtk_menu_item_activate(GTK_MENU_ITEM(widgetAt(1)));
  EXPECT_EQ(sActions, 1);
  EXPECT_EQ(criticals.count(), 0) << criticals.last();
}

TEST_F(MenuTree, DisablingGreysItemsButNotTitlesAndEnablingClimbs) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *open = AddItem(file, "Open");
  file->mImp->Disable();
  EXPECT_FALSE(file->mImp->IsEnabled());
  EXPECT_TRUE(LabelSensitive(file)) << "a title in the bar never turns grey";
  open->mImp->Disable();
  EXPECT_FALSE(LabelSensitive(open));
  RuntimeMenuItemEnabledSetter(open, 0, 1);
  EXPECT_TRUE(LabelSensitive(open));
  EXPECT_TRUE(file->mImp->IsEnabled());
}

TEST_F(MenuTree, ClonesFollowTheMasterAndVisibilityStaysWithEachCopy) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *save = AddItem(file, "Save");
  XMenuGTK *copyRoot = GTKNodeOf(bar)->Clone();
  ASSERT_EQ(copyRoot->Count(), 1);
  RunMenuItem *fileCopy = copyRoot->At(0);
  ASSERT_EQ(fileCopy->mImp->Count(), 1);
  RunMenuItem *saveCopy = fileCopy->mImp->At(0);
  EXPECT_EQ(GTKNodeOf(saveCopy)->GetMaster(), GTKNodeOf(save));

  saveCopy->mImp->SetText(string("Save &All"));
  EXPECT_EQ(LabelOf(save), "Save _All");
  EXPECT_EQ(LabelOf(saveCopy), "Save _All");
  save->mImp->SetCommandKey(string("S"));
  EXPECT_TRUE(HasAccelerator(saveCopy, GDK_s, GDK_CONTROL_MASK));
  saveCopy->mImp->SetVisible(0);
  EXPECT_FALSE(GTK_WIDGET_VISIBLE(GTKNodeOf(saveCopy)->ItemWidget()));
  EXPECT_TRUE(GTK_WIDGET_VISIBLE(GTKNodeOf(save)->ItemWidget()));

  // An item added later reaches the copy, and removing it takes the copy
  // and the widgets away again.
  RunMenuItem *print = AddItem(file, "Print");
  ASSERT_EQ(fileCopy->mImp->Count(), 2);
  EXPECT_STREQ(fileCopy->mImp->At(1)->mImp->GetName().CString(), "Print");
  RuntimeMenuItemRemoveItem(file, print);
  EXPECT_EQ(fileCopy->mImp->Count(), 1);
  GList *shown = gtk_container_get_children(GTK_CONTAINER(GTKNodeOf(file)->MenuWidget()));
  EXPECT_EQ(g_list_length(shown), 1u);
  g_list_free(shown);

  // The copies leave: the master keeps working without them.
  CriticalCounter criticals;
  delete copyRoot;
  EXPECT_EQ(GTKNodeOf(save)->GetClones().count(), 0);
  save->mImp->SetText(string("Save"));
  save->mImp->Disable();
  EXPECT_EQ(criticals.count(), 0) << criticals.last();
}

// Nodes make their bar and submenu only once they have children; an item
// that gains its first child later, in the master or through a clone, still
// shows it in a submenu, in every copy of the tree.
TEST_F(MenuTree, AnItemGainingChildrenLaterShowsThemInASubmenuInEveryCopy) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *open = AddItem(file, "Open");
  XMenuGTK *copyRoot = GTKNodeOf(bar)->Clone();
  RunMenuItem *openCopy = copyRoot->At(0)->mImp->At(0);
  auto submenuOf = [](RunMenuItem *item) {
    return gtk_menu_item_get_submenu(GTK_MENU_ITEM(GTKNodeOf(item)->ItemWidget()));
  };
  auto shellOf = [](RunMenuItem *item) {
    return gtk_widget_get_parent(GTKNodeOf(item)->ItemWidget());
  };
  EXPECT_EQ(submenuOf(open), nullptr);
  EXPECT_EQ(submenuOf(openCopy), nullptr);
  // The copy's title sits in the copy's own bar.
  GtkWidget *copyBar = shellOf(copyRoot->At(0));
  ASSERT_TRUE(copyBar && GTK_IS_MENU_BAR(copyBar));
  EXPECT_NE(copyBar, GTKNodeOf(bar)->BarWidget());

  RunMenuItem *recent = AddItem(open, "Recent");
  ASSERT_EQ(openCopy->mImp->Count(), 1);
  RunMenuItem *recentCopy = openCopy->mImp->At(0);
  for (auto [item, child] : {std::pair{open, recent}, std::pair{openCopy, recentCopy}}) {
    GtkWidget *submenu = submenuOf(item);
    ASSERT_TRUE(submenu && GTK_IS_MENU(submenu)) << NameOf(item);
    EXPECT_EQ(shellOf(child), submenu) << NameOf(child);
  }
  EXPECT_NE(submenuOf(open), submenuOf(openCopy));

  // A child added through the copy reaches the master as well.
  copyRoot->At(0)->mImp->At(0)->mImp->AddChild(MakeItem("Clear"));
  ASSERT_EQ(open->mImp->Count(), 2);
  EXPECT_EQ(shellOf(open->mImp->At(1)), submenuOf(open));
  Release(open->mImp->At(1));
  delete copyRoot;
}

// A label gets its font once and keeps it through caption changes; a new
// style, or a new label after a separator, is styled again.
TEST_F(MenuTree, LabelsKeepTheirStyleThroughCaptionChanges) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *item = AddItem(file, "Item");
  auto weightOf = [](RunMenuItem *node) {
    GtkWidget *label = gtk_bin_get_child(GTK_BIN(GTKNodeOf(node)->ItemWidget()));
    PangoFontDescription *desc = gtk_widget_get_modifier_style(label)->font_desc;
    return desc ? pango_font_description_get_weight(desc) : PangoWeight(-1);
  };
  FontStructure plain;
  PangoFontDescription *expected = GTKHelper::GetPangoFontDescription(&plain);
  GtkWidget *label = gtk_bin_get_child(GTK_BIN(GTKNodeOf(item)->ItemWidget()));
  PangoFontDescription *given = gtk_widget_get_modifier_style(label)->font_desc;
  ASSERT_NE(given, nullptr);
  EXPECT_TRUE(pango_font_description_equal(given, expected));
  pango_font_description_free(expected);

  item->mImp->SetBold(1);
  EXPECT_EQ(weightOf(item), PANGO_WEIGHT_BOLD);
  item->mImp->SetText(string("Renamed"));
  item->mImp->SetCommandKey(string("R"));
  EXPECT_EQ(weightOf(item), PANGO_WEIGHT_BOLD);
  item->mImp->SetText(string("-"));
  item->mImp->SetText(string("Back"));
  EXPECT_EQ(LabelOf(item), "Back");
  EXPECT_EQ(weightOf(item), PANGO_WEIGHT_BOLD) << "the new label is styled";
  item->mImp->SetBold(0);
  EXPECT_EQ(weightOf(item), PANGO_WEIGHT_NORMAL);

  // An underline follows the caption's length.
  auto underlined = [](RunMenuItem *node) {
    GtkWidget *label = gtk_bin_get_child(GTK_BIN(GTKNodeOf(node)->ItemWidget()));
    PangoAttrList *attrs = pango_layout_get_attributes(gtk_label_get_layout(GTK_LABEL(label)));
    guint bytes = 0;
    if (attrs)
      if (PangoAttrList *found = pango_attr_list_filter(
              attrs,
              [](PangoAttribute *a, gpointer sum) {
                if (a->klass->type == PANGO_ATTR_UNDERLINE &&
                    reinterpret_cast<PangoAttrInt *>(a)->value != PANGO_UNDERLINE_NONE)
                  *static_cast<guint *>(sum) += a->end_index - a->start_index;
                return FALSE;
              },
              &bytes))
        pango_attr_list_unref(found);
    return bytes;
  };
  item->mImp->SetUnderline(1);
  EXPECT_EQ(underlined(item), 4u);
  item->mImp->SetText(string("Longer"));
  EXPECT_EQ(underlined(item), 6u);
  EXPECT_EQ(weightOf(item), PANGO_WEIGHT_NORMAL);
}

// A subclass item with a field of its own and handlers on the object.
ObjectDefinition *WideItemClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("WideItem");
    defn.super = MenuItemClass();
    defn.objectSize = kRunMenuItemInstanceSize + 8;
    defn.staticTables = 1;
  }
  return &defn;
}

int32_t sWideActions = 0;
int32_t WideAction(RuntimeObject *self) {
  ++sWideActions;
  return reinterpret_cast<int32_t *>(self + 1)[1] = 7, 1; // writes its own field
}

TEST_F(MenuTree, CopiesOfASubclassItemHaveItsSizeAndTheirOwnHandlerTable) {
  RunMenuItem *file = AddItem(bar, "File", "&File");
  RunMenuItem *wide = MakeItem("Wide", "Wide", kNoMenuIndex, WideItemClass());
  EventEntry *table = MakePrivateEventTable(&wide->header);
  ASSERT_NE(table, nullptr);
  table[menuItemActionHook->eventIndex].vector = reinterpret_cast<void *>(WideAction);
  file->mImp->AddChild(wide);
  XMenuGTK *copyRoot = GTKNodeOf(bar)->Clone();
  RunMenuItem *copy = copyRoot->At(0)->mImp->At(0);
  EXPECT_EQ(copy->header.classPtr, wide->header.classPtr);
  EXPECT_NE(copy->header.eventTable, wide->header.eventTable);
  sWideActions = 0;
  EXPECT_EQ(RuntimeMenuItemClick(copy, 0, nullptr), 1);
  EXPECT_EQ(sWideActions, 1);
  delete copyRoot; // frees the copy and its own table once
  Release(wide);
}

} // namespace
