// Menus in language windows: the dispatch of a chosen item, the enabling
// pass, menu bars installed in windows (cloned for a second window), and
// the same driven from real input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MenuTestSupport.h"
#include "WindowsTestSupport.h"
#include "controls/ControlClasses.h"
#include "controls/RuntimeControl.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/loop/PaneInterface.h"
#include "windows/ControlServices.h"
#include "windows/GTKHelper.h"
#include "windows/RuntimeWindow.h"
#include "windows/menus/MenuDispatch.h"

namespace {

std::vector<std::string> sLog;
// What each level answers, by name.
bool sWindowAnswer, sAppAnswer, sActionAnswer, sPaneAnswer, sControlAnswer;

int32_t WindowHandler(RuntimeObject *, int32_t) { return sLog.push_back("window"), sWindowAnswer; }
int32_t AppHandler(RuntimeObject *, int32_t) { return sLog.push_back("application"), sAppAnswer; }
int32_t ControlHandler(RuntimeObject *, int32_t) {
  return sLog.push_back("control"), sControlAnswer;
}
int32_t ActionHandler(RuntimeObject *self) {
  sLog.push_back("Action " + NameOf(AsMenuItem(self)));
  return sActionAnswer;
}
int32_t EnableMenuHandler(RuntimeObject *self) {
  return sLog.push_back("EnableMenu " + NameOf(AsMenuItem(self))), 0;
}
int32_t WindowEnableMenuItems(RuntimeObject *) { return sLog.push_back("EnableMenuItems"), 0; }

class MenuPane : public ContainerPane {
public:
  MenuPane(SubPane *parent) : ContainerPane(parent, 0, MakeRect(10, 10, 60, 40)) {}
  bool HandleRuntimeMenuCommand(void *) override { return sLog.push_back("pane"), sPaneAnswer; }
};

// The bar the next window's Layout sets (nil for none).
RunMenuItem *sNextBar = nullptr;

int32_t MenuWindowLayout(RuntimeObject *object) {
  auto *view = reinterpret_cast<RuntimeView *>(object);
  view->visible = 1;
  view->menuBarVisible = 1;
  QV::SetRect(&view->bounds, 0, 0, 300, 200);
  if (sNextBar)
    WindowMenuBarSetter(object, 0, &sNextBar->header);
  return 0;
}

ObjectDefinition *MenuWindowClass() {
  static ObjectDefinition definition;
  if (definition.className.IsEmpty()) {
    definition.className = string("MenuTestWindow");
    definition.super = WindowBaseClass();
    definition.objectSize = kRuntimeViewInstanceSize;
    definition.staticTables = 1;
    HandleInClass(definition, "Layout", reinterpret_cast<void *>(MenuWindowLayout));
  }
  return &definition;
}

void Handle(RuntimeObject *object, const ObjectHook *hook, void *code) {
  MakePrivateEventTable(object)[hook->eventIndex].vector = code;
}

void AddHandler(StringMap<void *> *&map, const char *name, void *handler) {
  if (!map)
    map = new StringMap<void *>(256);
  map->AddEntry(string(name), handler);
}

class MenuWindows : public testing::Test {
protected:
  void SetUp() override {
    if (!HaveDisplay())
      GTEST_SKIP() << "no display";
    sLog.clear();
    sWindowAnswer = sAppAnswer = sActionAnswer = sPaneAnswer = sControlAnswer = false;
    mSavedApp = gApplicationObject;
    app = CreateInstance(ApplicationClass());
    gApplicationObject = app;
    bar = MakeItem("", "");
    file = AddItem(bar, "File", "&File");
  }
  void TearDown() override {
    if (!HaveDisplay())
      return;
    SetFocusPane(nullptr);
    FireCloseEvents();
    for (RuntimeObject *view : mViews)
      RuntimeUnlockObject(view);
    Release(bar);
    gApplicationObject = mSavedApp;
    RuntimeUnlockObject(app);
  }
  // A shown language window with the bar (or none).
  RuntimeViewWindow *OpenWindow(RunMenuItem *withBar) {
    sNextBar = withBar;
    RuntimeObject *object = CreateInstance(MenuWindowClass());
    sNextBar = nullptr;
    mViews.push_back(object);
    RuntimeViewWindow *w = reinterpret_cast<RuntimeView *>(object)->nativeWindow;
    EXPECT_TRUE(StepUntil([&] { return GTK_WIDGET_MAPPED(w->GetGtkWindow()); }));
    for (int i = 0; i < 5; ++i)
      PaneLoopStep();
    return w;
  }
  RuntimeView *ViewOf(RuntimeViewWindow *w) { return w->GetView(); }

  RuntimeObject *app = nullptr;
  RunMenuItem *bar = nullptr;
  RunMenuItem *file = nullptr;
  std::vector<RuntimeObject *> mViews;
  RuntimeObject *mSavedApp = nullptr;
};

TEST_F(MenuWindows, DispatchAsksWindowApplicationActionThenThePaneUntilOneAnswers) {
  RunMenuItem *copy = AddItem(file, "Copy");
  RuntimeViewWindow *w = OpenWindow(bar);
  RuntimeView *view = ViewOf(w);
  AddHandler(view->mMenuHandlers, "copy", reinterpret_cast<void *>(WindowHandler));
  AddHandler(AsApplication(app)->menuHandlers, "COPY", reinterpret_cast<void *>(AppHandler));
  Handle(&copy->header, menuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  auto *pane = new MenuPane(w);
  SetFocusPane(pane);
  struct Case {
    bool window, application, action, pane;
    std::vector<std::string> asked;
    int32_t handled;
  } cases[] = {
      {true, true, true, true, {"window"}, 1},
      {false, true, true, true, {"window", "application"}, 1},
      {false, false, true, true, {"window", "application", "Action Copy"}, 1},
      {false, false, false, true, {"window", "application", "Action Copy", "pane"}, 1},
      {false, false, false, false, {"window", "application", "Action Copy", "pane"}, 0},
  };
  for (const Case &c : cases) {
    sWindowAnswer = c.window, sAppAnswer = c.application, sActionAnswer = c.action,
    sPaneAnswer = c.pane;
    sLog.clear();
    EXPECT_EQ(RuntimeMenuItemClick(copy, 0, w), c.handled);
    EXPECT_EQ(sLog, c.asked);
  }
  // Without a window given, the menu window is used.
  sLog.clear();
  sWindowAnswer = true;
  EXPECT_EQ(RuntimeMenuItemClick(copy, 0, nullptr), 1);
  EXPECT_EQ(sLog, std::vector<std::string>{"window"});
}

TEST_F(MenuWindows, AFocusedControlIsAskedFirst) {
  RunMenuItem *cut = AddItem(file, "Cut");
  RuntimeViewWindow *w = OpenWindow(bar);
  RuntimeView *view = ViewOf(w);
  auto *pane = new MenuPane(w);
  RuntimeObject *control = CreateInstance(ControlClass());
  auto *fields = reinterpret_cast<RuntimeControl *>(control);
  fields->pane = pane;
  if (!view->controlMap)
    view->controlMap = new StringMap<RuntimeObject *>(256);
  view->controlMap->AddEntry(string("Field1"), control); // the map's reference
  AddHandler(fields->mMenuHandlers, "Cut", reinterpret_cast<void *>(ControlHandler));
  AddHandler(view->mMenuHandlers, "Cut", reinterpret_cast<void *>(WindowHandler));
  SetFocusPane(pane);
  sControlAnswer = true;
  EXPECT_EQ(RuntimeMenuItemClick(cut, 0, w), 1);
  EXPECT_EQ(sLog, std::vector<std::string>{"control"});
  sControlAnswer = false;
  sLog.clear();
  EXPECT_EQ(RuntimeMenuItemClick(cut, 0, w), 0);
  EXPECT_EQ(sLog, (std::vector<std::string>{"control", "window", "pane"}));
  fields->pane = nullptr;
}

RuntimeViewWindow *sToClose = nullptr;
int32_t ClosingControlHandler(RuntimeObject *, int32_t) {
  sLog.push_back("control closes");
  sToClose->Close();
  return 0;
}
int32_t ClosingEnableMenu(RuntimeObject *self) {
  if (!sToClose)
    return 0; // the passes that showing a window runs
  sLog.push_back("EnableMenu " + NameOf(AsMenuItem(self)) + " closes");
  sToClose->Close();
  return 0;
}

// A handler may close the window a command or an enabling pass is for: from
// then on nothing of that window is asked, and what does not belong to it
// goes on.
TEST_F(MenuWindows, AHandlerClosingTheWindowEndsThatWindowsPart) {
  RunMenuItem *cut = AddItem(file, "Cut");
  RunMenuItem *paste = AddItem(file, "Paste");
  Handle(&cut->header, menuItemEnableMenu, reinterpret_cast<void *>(ClosingEnableMenu));
  Handle(&paste->header, menuItemEnableMenu, reinterpret_cast<void *>(EnableMenuHandler));
  RuntimeViewWindow *w = OpenWindow(bar);
  RuntimeView *view = ViewOf(w);
  auto *pane = new MenuPane(w);
  if (!view->controlMap)
    view->controlMap = new StringMap<RuntimeObject *>(256);
  for (auto handler : {ClosingControlHandler, ControlHandler}) { // both on the focused pane
    RuntimeObject *control = CreateInstance(ControlClass());
    auto *fields = reinterpret_cast<RuntimeControl *>(control);
    fields->pane = pane;
    fields->view = &view->header;
    view->controlMap->AddEntry(string(handler == ControlHandler ? "Second" : "First"), control);
    AddHandler(fields->mMenuHandlers, "Cut", reinterpret_cast<void *>(handler));
  }
  AddHandler(view->mMenuHandlers, "Cut", reinterpret_cast<void *>(WindowHandler));
  AddHandler(AsApplication(app)->menuHandlers, "Cut", reinterpret_cast<void *>(AppHandler));
  sAppAnswer = true;
  SetFocusPane(pane);
  sToClose = w;
  sLog.clear();
  EXPECT_EQ(RuntimeMenuItemClick(cut, 0, w), 1);
  EXPECT_EQ(sLog, (std::vector<std::string>{"control closes", "application"}));
  EXPECT_EQ(view->nativeWindow, nullptr);
  sToClose = nullptr;

  RuntimeViewWindow *other = OpenWindow(bar);
  Handle(&ViewOf(other)->header, WindowBaseHooks[kEnableMenuItemsEvent].hook,
         reinterpret_cast<void *>(WindowEnableMenuItems));
  sToClose = other;
  sLog.clear();
  EnableMenus(false, other);
  sToClose = nullptr;
  EXPECT_EQ(sLog, std::vector<std::string>{"EnableMenu Cut closes"});
}

// Quit's built-in answer quits unless the window's handler or Quit's own
// Action takes the command; either keeps every window open.
TEST_F(MenuWindows, QuitIsKeptFromQuittingByAHandlerThatAnswersTrue) {
  RunMenuItem *byWindow = MakeItem("Quit1", "Quit", kNoMenuIndex, QuitMenuItemClass());
  RunMenuItem *byAction = MakeItem("Quit2", "Quit", kNoMenuIndex, QuitMenuItemClass());
  file->mImp->AddChild(byWindow);
  file->mImp->AddChild(byAction);
  Handle(&byAction->header, quitMenuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  RuntimeViewWindow *w = OpenWindow(bar);
  AddHandler(ViewOf(w)->mMenuHandlers, "Quit1", reinterpret_cast<void *>(WindowHandler));
  sWindowAnswer = sActionAnswer = true;
  sLog.clear();
  EXPECT_EQ(RuntimeMenuItemClick(byWindow, 0, w), 1);
  EXPECT_EQ(RuntimeMenuItemClick(byAction, 0, w), 1);
  EXPECT_EQ(sLog, (std::vector<std::string>{"window", "Action Quit2"}));
  EXPECT_NE(ViewOf(w)->nativeWindow, nullptr);
  Release(byWindow);
  Release(byAction);
}

TEST_F(MenuWindows, PreferencesEndTheCommandBeforeThePane) {
  RunMenuItem *prefs = MakeItem("Prefs", "Preferences...", kNoMenuIndex, PrefsMenuItemClass());
  file->mImp->AddChild(prefs);
  RuntimeViewWindow *w = OpenWindow(bar);
  SetFocusPane(new MenuPane(w));
  sPaneAnswer = true;
  EXPECT_EQ(RuntimeMenuItemClick(prefs, 0, w), 1);
  EXPECT_TRUE(sLog.empty());
  Handle(&prefs->header, prefsMenuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  EXPECT_EQ(RuntimeMenuItemClick(prefs, 0, w), 1);
  EXPECT_EQ(sLog, std::vector<std::string>{"Action Prefs"});
  Release(prefs);
}

TEST_F(MenuWindows, EnablingLeavesOnlyHandledLeavesOnAndThenAsksTheProgram) {
  RunMenuItem *byApp = AddItem(file, "ByApp");
  RunMenuItem *byWindow = AddItem(file, "ByWindow");
  RunMenuItem *byAction = AddItem(file, "ByAction");
  RunMenuItem *orphan = AddItem(file, "Orphan");
  RunMenuItem *manual = AddItem(file, "Manual");
  RunMenuItem *edit = AddItem(bar, "Edit");
  AddItem(edit, "Nothing");
  manual->mImp->SetAutoEnable(false);
  RuntimeViewWindow *w = OpenWindow(bar);
  RuntimeView *view = ViewOf(w);
  AddHandler(AsApplication(app)->menuHandlers, "byapp", reinterpret_cast<void *>(AppHandler));
  AddHandler(AsApplication(app)->menuHandlers, "Manual", reinterpret_cast<void *>(AppHandler));
  AddHandler(view->mMenuHandlers, "BYWINDOW", reinterpret_cast<void *>(WindowHandler));
  Handle(&byAction->header, menuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  Handle(&file->header, menuItemEnableMenu, reinterpret_cast<void *>(EnableMenuHandler));
  Handle(&orphan->header, menuItemEnableMenu, reinterpret_cast<void *>(EnableMenuHandler));
  Handle(&view->header, WindowBaseHooks[kEnableMenuItemsEvent].hook,
         reinterpret_cast<void *>(WindowEnableMenuItems));

  sLog.clear();
  EnableMenus(false, w);
  EXPECT_TRUE(byApp->mImp->IsEnabled());
  EXPECT_TRUE(byWindow->mImp->IsEnabled());
  EXPECT_TRUE(byAction->mImp->IsEnabled());
  EXPECT_FALSE(orphan->mImp->IsEnabled());
  EXPECT_FALSE(manual->mImp->IsEnabled());
  EXPECT_FALSE(LabelSensitive(orphan));
  EXPECT_TRUE(edit->mImp->IsEnabled()) << "a title is on though none of its items is";
  EXPECT_EQ(sLog, (std::vector<std::string>{"EnableMenu File", "EnableMenu Orphan",
                                            "EnableMenuItems"}));

  // A modal pass turns the leaves off and asks only the window.
  sLog.clear();
  EnableMenus(true, w);
  EXPECT_FALSE(byApp->mImp->IsEnabled());
  EXPECT_FALSE(byAction->mImp->IsEnabled());
  EXPECT_EQ(sLog, std::vector<std::string>{"EnableMenuItems"});
}

TEST_F(MenuWindows, ABarOnTwoWindowsIsClonedAndOutlivesEitherWindow) {
  RunMenuItem *save = AddItem(file, "Save");
  RuntimeViewWindow *first = OpenWindow(bar);
  RuntimeViewWindow *second = OpenWindow(bar);
  RuntimeView *secondView = ViewOf(second);
  EXPECT_EQ(ViewOf(first)->menuBar, &bar->header);
  ASSERT_NE(secondView->menuBar, &bar->header);
  ASSERT_NE(secondView->menuBar, nullptr);
  EXPECT_TRUE(first->HasMenuBar());
  EXPECT_TRUE(second->HasMenuBar());
  EXPECT_EQ(GTKHelper::GetMenuBar(second), GTKNodeOf(AsMenuItem(secondView->menuBar))->BarWidget());

  string name("Save");
  RunMenuItem *saveCopy = RuntimeMenuItemLookup(AsMenuItem(secondView->menuBar), name.Storage());
  ASSERT_NE(saveCopy, nullptr);
  save->mImp->SetText(string("Save &All"));
  EXPECT_EQ(LabelOf(saveCopy), "Save _All");
  saveCopy->mImp->SetText(string("&Keep"));
  EXPECT_EQ(LabelOf(save), "_Keep");

  CriticalCounter criticals;
  second->Close();
  ASSERT_TRUE(StepUntil([&] { return gRuntimeViewWindowList == first; }));
  save->mImp->SetText(string("After"));
  save->mImp->SetCommandKey(string("S"));
  save->mImp->Disable();
  saveCopy->mImp->SetText(string("Through the copy"));
  first->Close();
  ASSERT_TRUE(StepUntil([&] { return gRuntimeViewWindowList == nullptr; }));
  save->mImp->SetText(string("Both gone"));
  AddItem(file, "Late");
  EXPECT_EQ(criticals.count(), 0) << criticals.last();
  EXPECT_EQ(LabelOf(save), "Both gone");
  Release(saveCopy);
}

TEST_F(MenuWindows, ATitleClickRunsTheEnablingPassBeforeTheMenuMaps) {
  AddItem(file, "Open");
  RuntimeViewWindow *w = OpenWindow(bar);
  Handle(&ViewOf(w)->header, WindowBaseHooks[kEnableMenuItemsEvent].hook,
         reinterpret_cast<void *>(WindowEnableMenuItems));
  GtkWidget *menu = GTKNodeOf(file)->MenuWidget();
  g_signal_connect(menu, "map", G_CALLBACK(+[](GtkWidget *) { sLog.push_back("map"); }),
                   nullptr);
  gint x = 0, y = 0;
  ASSERT_TRUE(gtk_widget_translate_coordinates(GTKNodeOf(file)->ItemWidget(), w->GetGtkWindow(),
                                               4, 4, &x, &y));
  sLog.clear();
  ASSERT_TRUE(XDoToolUntil("mousemove --window " + std::to_string(XidOf(w)) + " " +
                               std::to_string(x) + " " + std::to_string(y) + " click 1",
                           [&] { return !sLog.empty() && sLog.back() == "map"; }));
  EXPECT_EQ(sLog.front(), "EnableMenuItems");
  gtk_menu_shell_deactivate(GTK_MENU_SHELL(GTKNodeOf(bar)->BarWidget()));
  g_signal_handlers_disconnect_matched(menu, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, nullptr);
}

TEST_F(MenuWindows, AcceleratorsDispatchOnlyEnabledItems) {
  RunMenuItem *live = AddItem(file, "Live");
  RunMenuItem *dead = AddItem(file, "Dead");
  live->mImp->SetCommandKey(string("J"));
  dead->mImp->SetCommandKey(string("K"));
  dead->mImp->SetAutoEnable(false); // has an Action, yet the pass leaves it off
  Handle(&live->header, menuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  Handle(&dead->header, menuItemActionHook, reinterpret_cast<void *>(ActionHandler));
  RuntimeViewWindow *w = OpenWindow(bar);
  EnableMenus(false, w);
  ASSERT_FALSE(dead->mImp->IsEnabled());
  ASSERT_TRUE(XDoTool("windowfocus --sync " + std::to_string(XidOf(w))));
  sLog.clear();
  ASSERT_TRUE(XDoToolUntil("key --window 0 ctrl+k ctrl+j", [&] { return !sLog.empty(); }));
  for (int i = 0; i < 10; ++i)
    PaneLoopStep();
  EXPECT_EQ(sLog, std::vector<std::string>{"Action Live"});
}

TEST_F(MenuWindows, MenuReferenceFindsItemsOfTheMenuWindowsBar) {
  RunMenuItem *open = AddItem(file, "Open");
  string name("open");
  EXPECT_EQ(RuntimeMenuReference(name.Storage()), nullptr) << "no window yet";
  OpenWindow(bar);
  RunMenuItem *found = RuntimeMenuReference(name.Storage());
  EXPECT_EQ(found, open);
  Release(found);
}

TEST(MenuBarHiding, OneTaskWhileHiddenAndSuspendResumeRestores) {
  rmbHideMenuBar();
  menuShutdown *task = menuShutdown::cMenuShutdown;
  ASSERT_NE(task, nullptr);
  rmbHideMenuBar();
  EXPECT_EQ(menuShutdown::cMenuShutdown, task);
  rmbSuspendMenuBar();
  EXPECT_EQ(menuShutdown::cMenuShutdown, nullptr);
  rmbResumeMenuBar();
  EXPECT_TRUE(MenuBarIsHidden());
  EXPECT_NE(menuShutdown::cMenuShutdown, nullptr);
  rmbShowMenuBar();
  EXPECT_FALSE(MenuBarIsHidden());
  EXPECT_EQ(menuShutdown::cMenuShutdown, nullptr);
  rmbResumeMenuBar();
  EXPECT_FALSE(MenuBarIsHidden()) << "showing forgot the wish to hide";
}

} // namespace
