// The menu classes as start-up registers them: their tables in order, the
// entry points they bind, and the contextual menu's rows and choice.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "MenuTestSupport.h"
#include "WindowsTestSupport.h"
#include "controls/ContextualMenuClass.h"
#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"
#include "windows/menus/ContextualMenuGTK.h"
#include "windows/menus/MenuDispatch.h"

namespace {

using Strings = std::vector<std::string>;

Strings PropertyRows(ObjectDefinition *defn) {
  Strings rows;
  for (InstanceVariable *p = defn->properties; p; p = p->next)
    rows.push_back(std::string(p->name.CString()) + " " + (p->getterExportName ?: "") + " " +
                   (p->setterExportName ?: ""));
  return rows;
}

Strings MethodRows(ObjectDefinition *defn) {
  Strings rows;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    rows.push_back(std::string(m->name.CString()) + " " +
                   (m->method.implementation[0].exportName ?: ""));
  return rows;
}

Strings EventNames(ObjectDefinition *defn) {
  Strings names;
  for (ObjectHook *h = defn->hooks; h; h = h->next)
    names.push_back(std::string(h->name.CString()) + "(" + h->paramText.CString() + ")" +
                    h->returnText.CString());
  return names;
}

// Every property is settable at design time (flags 0 as the tables give
// them) and every accessor and method that has code is bound under its
// export name.
void ExpectRowsBound(ObjectDefinition *defn) {
  const char *cls = defn->className.CString();
  for (InstanceVariable *p = defn->properties; p; p = p->next) {
    EXPECT_EQ(p->flags, 0) << cls << "." << p->name.CString();
    ExpectAccessorsBound(p);
  }
  ExpectMethodsBound(defn);
}

TEST(MenuClasses, TablesKeepTheirOrderAndRegisterWithoutAlerts) {
  AlertRecorder alerts;
  InitMenuClasses();
  for (ObjectDefinition *defn : {QuitMenuItemClass(), PrefsMenuItemClass(), AppleMenuItemClass(),
                                 ContextualMenuClass()})
    addIntrinsicClass(defn);
  ObjectDefinition *item = MenuItemClass();
  EXPECT_EQ(getIntrinsicClass(string("menuitem")), item);
  EXPECT_EQ(item->objectSize, 28);
  EXPECT_EQ(PropertyRows(item),
            (Strings{
                "Name RuntimeMenuItemNameGetter RuntimeMenuItemNameSetter",
                "Index RuntimeMenuItemIndexGetter RuntimeMenuItemIndexSetter",
                "Tag RuntimeMenuItemTagGetter RuntimeMenuItemTagSetter",
                "BalloonHelp RuntimeMenuItemBalloonHelpGetter RuntimeMenuItemBalloonHelpSetter",
                "DisabledBalloonHelp RuntimeMenuItemDisabledHelpGetter "
                "RuntimeMenuItemDisabledHelpSetter",
                "Text RuntimeMenuItemTextGetter RuntimeMenuItemTextSetter",
                "Checked RuntimeMenuItemCheckedGetter RuntimeMenuItemCheckedSetter",
                "Enabled RuntimeMenuItemEnabledGetter RuntimeMenuItemEnabledSetter",
                "Visible RuntimeMenuItemVisibleGetter RuntimeMenuItemVisibleSetter",
                "CommandKey RuntimeMenuItemCommandKeyGetter RuntimeMenuItemCommandKeySetter",
                "_Bold RuntimeMenuItemBoldGetter RuntimeMenuItemBoldSetter",
                "_Italic RuntimeMenuItemItalicsGetter RuntimeMenuItemItalicsSetter",
                "_Underline RuntimeMenuItemUnderlineGetter RuntimeMenuItemUnderlineSetter",
                "AutoEnable RuntimeMenuItemAutoEnableGetter RuntimeMenuItemAutoEnableSetter",
            }));
  EXPECT_EQ(MethodRows(item), (Strings{
                                  "Enable RuntimeEnableMenu",
                                  "Close RuntimeCloseMenuItem",
                                  "Item RuntimeMenuItemItem",
                                  "Count RuntimeMenuItemCount",
                                  "Child RuntimeMenuItemChild",
                                  "Append RuntimeMenuItemAppend",
                                  "Insert RuntimeMenuItemInsert",
                                  "Remove RuntimeMenuItemRemoveIndex",
                                  "Remove RuntimeMenuItemRemoveItem",
                                  "_Lookup RuntimeMenuItemLookup",
                                  "_Lookup RuntimeMenuItemLookupArray",
                                  "MenuItem RuntimeMenuItemDefaultConstructor",
                              }));
  EXPECT_EQ(EventNames(item), (Strings{"Action()Boolean", "EnableMenu()"}));
  EXPECT_EQ(MethodRows(MenuBarClass()), Strings{"_InstallClone MenuBarInstallClone"});
  EXPECT_EQ(MenuBarClass()->super, item);
  EXPECT_EQ(MenubarInstallerInterface()->isInterface, 1);
  EXPECT_EQ(MethodRows(MenubarInstallerInterface()), Strings{"_Install "});
  EXPECT_EQ(MenubarInstallerInterface()->objectSize, 24);
  for (ObjectDefinition *special : {QuitMenuItemClass(), PrefsMenuItemClass()}) {
    EXPECT_EQ(EventNames(special), Strings{"Action()Boolean"});
    ASSERT_NE(special->hookInstances, nullptr);
    EXPECT_STREQ(special->hookInstances->name.CString(), "Action"); // its answer to MenuItem's
  }
  for (ObjectDefinition *sub :
       {MenuBarClass(), QuitMenuItemClass(), PrefsMenuItemClass(), AppleMenuItemClass()}) {
    EXPECT_EQ(sub->super, item);
    EXPECT_EQ(sub->objectSize, 28);
  }

  ObjectDefinition *cmm = ContextualMenuClass();
  EXPECT_EQ(cmm->objectSize, 108);
  EXPECT_EQ(PropertyRows(cmm), Strings{"UseCMM boolGetter boolSetter"});
  EXPECT_EQ(cmm->properties->param, 100);
  EXPECT_EQ(MethodRows(cmm), (Strings{"DeleteAllRows contextualMenuResetContent",
                                      "AddRow contextualMenuAddRow",
                                      "AddSeparator contextualMenuAddSeparator",
                                      "Open contextualMenuOpen"}));
  EXPECT_EQ(EventNames(cmm), Strings{"Action(item As String)"});
  EXPECT_EQ(cmm->super, ControlClass());
  EXPECT_EQ(cmm->destructor, RuntimeContextualMenuDestructor);
  ASSERT_NE(cmm->hookInstances, nullptr); // a control without a pane
  EXPECT_STREQ(cmm->hookInstances->name.CString(), "CreatePane");
  EXPECT_EQ(cmm->hookInstances->code, reinterpret_cast<void *>(NilCreatePane));

  for (ObjectDefinition *defn : {item, MenuBarClass(), QuitMenuItemClass(), PrefsMenuItemClass(),
                                 AppleMenuItemClass(), cmm})
    EXPECT_NE(LookupObjectDefinition(defn), nullptr) << defn->className.CString();
  for (ObjectDefinition *defn : {item, MenuBarClass(), cmm})
    ExpectRowsBound(defn);
  for (const RecordedAlert &alert : alerts.alerts())
    ADD_FAILURE() << alert.file << ":" << alert.line << " " << alert.condition;
  DisposeIntrinsicClassMap();
}

class ContextualMenus : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
  }
};

// Chooses the row at index once the popup is up, or closes it without a
// choice for -1.
struct Chooser {
  CMMContext *context;
  int row;
  bool done = false;
};

gboolean ChooseRow(gpointer data) {
  auto *chooser = static_cast<Chooser *>(data);
  XMenuGTK *root = GTKNodeOf(chooser->context->root);
  GtkWidget *menu = root->MenuWidget();
  if (!GTK_WIDGET_VISIBLE(menu))
    return TRUE; // not up yet
  chooser->done = true;
  if (chooser->row < 0) {
    gtk_menu_shell_deactivate(GTK_MENU_SHELL(menu));
    return FALSE;
  }
  GtkWidget *item = GTKNodeOf(root->At(chooser->row))->ItemWidget();
  gtk_menu_shell_activate_item(GTK_MENU_SHELL(menu), item, TRUE);
  return FALSE;
}

// Runs a popup of the context while a timer makes the choice.
template <typename Trigger>
bool WithChoice(CMMContext *context, int row, Trigger trigger) {
  for (int i = 0; i < 3; ++i)
    PaneLoopStep(); // the last popup's grab is gone
  Chooser chooser{context, row};
  guint timer = g_timeout_add(20, ChooseRow, &chooser);
  bool chosen = trigger();
  if (!chooser.done)
    g_source_remove(timer);
  EXPECT_TRUE(chooser.done) << "the popup did not come up";
  return chosen;
}

bool Popup(CMMContext *context, int row) {
  return WithChoice(context, row, [&] { return triggerCMMContext(context, 0, nullptr) != 0; });
}

std::string TakeText(stringStorage *s) {
  std::string text = stringStorage::CString(s);
  stringStorage::RemoveReference(s);
  return text;
}

TEST_F(ContextualMenus, TheChosenRowIsRecordedNotDispatched) {
  CMMContext *context = newCMMContext();
  RuntimeObject *data = CreateInstance(MenuItemClass()); // any object stands for data
  addCMMContextItem(context, string("Copy &Link").Storage(), nullptr);
  addCMMContextSeparator(context);
  addCMMContextItem(context, string("Paste").Storage(), data);
  EXPECT_EQ(data->refCount, 2) << "the row's tag holds the data";
  EXPECT_TRUE(Popup(context, 0));
  EXPECT_EQ(TakeText(GetCMMHitText(context)), "Copy &Link");
  EXPECT_EQ(GetCMMHitData(context), nullptr);
  EXPECT_TRUE(Popup(context, 2));
  RuntimeObject *got = GetCMMHitData(context);
  EXPECT_EQ(got, data);
  RuntimeUnlockObject(got);
  EXPECT_FALSE(Popup(context, -1)) << "closing without a choice";
  EXPECT_EQ(TakeText(GetCMMHitText(context)), "");
  // A separator row does not choose.
  EXPECT_FALSE(Popup(context, 1));
  closeCMMContext(context);
  EXPECT_EQ(data->refCount, 1);
  RuntimeUnlockObject(data);
}

std::vector<std::string> sChosen;
bool sDropSelf = false;
int32_t sRefsAfterDrop = -1;
void OnContextAction(RuntimeObject *self, stringStorage *text) {
  sChosen.push_back(stringStorage::CString(text));
  if (sDropSelf) { // the program lets go of the menu inside its own handler
    RuntimeUnlockObject(self);
    sRefsAfterDrop = self->refCount;
    contextualMenuAddRow(self, string("After").Storage());
  }
}

TEST_F(ContextualMenus, OpenFiresActionWithTheRowAndRowsPersistUntilDeleted) {
  RuntimeObject *menu = CreateInstance(ContextualMenuClass());
  ASSERT_NE(menu, nullptr);
  MakePrivateEventTable(menu)[contextualMenuHooks[0].hook->eventIndex].vector =
      reinterpret_cast<void *>(OnContextAction);
  contextualMenuAddRow(menu, string("One").Storage());
  contextualMenuAddRow(menu, string("Two").Storage());
  auto *fields = reinterpret_cast<ContextualMenuObject *>(menu);
  sChosen.clear();
  auto open = [&] { return contextualMenuOpen(menu), true; };
  WithChoice(fields->context, 1, open);
  EXPECT_EQ(sChosen, std::vector<std::string>{"Two"});
  contextualMenuAddRow(menu, string("Three").Storage());
  WithChoice(fields->context, 2, open);
  EXPECT_EQ(sChosen, (std::vector<std::string>{"Two", "Three"}));
  contextualMenuResetContent(menu);
  EXPECT_EQ(fields->context, nullptr);

  // Open holds the menu through its Action: dropping the last reference
  // there frees it only when Open returns.
  contextualMenuAddRow(menu, string("Last").Storage());
  sDropSelf = true;
  WithChoice(fields->context, 0, open);
  sDropSelf = false;
  EXPECT_EQ(sChosen.back(), "Last");
  EXPECT_EQ(sRefsAfterDrop, 1);
}

} // namespace
