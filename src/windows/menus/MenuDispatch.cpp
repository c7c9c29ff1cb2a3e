#include "windows/menus/MenuDispatch.h"

#include <vector>

#include "foundation/AssertionAlert.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/application/ApplicationObject.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/loop/PaneInterface.h"
#include "runtime/loop/RunLoop.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "windows/ControlServices.h"
#include "windows/ControlWalk.h"
#include "windows/GTKHelper.h"
#include "windows/HandlerCalls.h"
#include "windows/RuntimeWindow.h"
#include "windows/menus/XMenuGTK.h"

ObjectHook *menuItemActionHook = nullptr;
ObjectHook *menuItemEnableMenu = nullptr;

namespace {

constexpr char kRuntimeMainSource[] = "../Common/RuntimeMain";

using MenuHandler = int32_t (*)(RuntimeObject *owner, int32_t index);

// The window object shown by a native window of the language, or nil.
RuntimeView *ViewOf(Window *w) {
  uint32_t isRuntime = 0;
  if (!w || !w->getProperty(string("RuntimeViewWindow"), &isRuntime) || !isRuntime)
    return nullptr;
  return static_cast<RuntimeViewWindow *>(w)->GetView();
}

// Holds an object for a scope.
class Held {
public:
  explicit Held(RuntimeObject *object) : mObject(object) { RuntimeLockObject(object); }
  ~Held() { RuntimeUnlockObject(mObject); }
  Held(const Held &) = delete;
  Held &operator=(const Held &) = delete;

private:
  RuntimeObject *mObject;
};

bool Closed(RuntimeView *view) { return view && !view->nativeWindow; }

void *HandlerIn(StringMap<void *> *map, const string &name) {
  void *handler = nullptr;
  if (map)
    map->GetEntry(name, &handler);
  return handler;
}

StringMap<void *> *ApplicationHandlers() {
  return gApplicationObject ? AsApplication(gApplicationObject)->menuHandlers : nullptr;
}

// The first control of the window whose pane is the focus pane.
RuntimeObject *FocusedControl(RuntimeView *view, SubPane *focus) {
  if (!focus)
    return nullptr;
  ControlWalk walk(view);
  for (RuntimeObject *c : walk)
    if (*FieldsOfControl(c).pane == focus)
      return c;
  return nullptr;
}

// The bar and every item below it, each before its children, all held.
void CollectDepthFirst(RunMenuItem *item, std::vector<RunMenuItem *> *out) {
  RuntimeLockObject(&item->header);
  out->push_back(item);
  if (Menu *node = item->mImp)
    for (int32_t i = 0; i < node->Count(); ++i)
      CollectDepthFirst(node->At(i), out);
}

void ReleaseAll(std::vector<RunMenuItem *> &items) {
  for (RunMenuItem *item : items)
    RuntimeUnlockObject(&item->header);
  items.clear();
}

bool HasActionHandler(RunMenuItem *item) {
  return FindObjectCode(&item->header, menuItemActionHook) != nullptr;
}

} // namespace

extern "C" int32_t RuntimeMenuItemClick(RunMenuItem *item, int32_t, Window *w) {
  if (!item) {
    RaiseNilObjectException();
    return 0;
  }
  Menu *node = NodeOf(item, "item->mImp");
  if (!node)
    return 0;
  Held holdItem(&item->header);
  if (!w)
    w = GTKHelper::GetMenuWindow();
  SubPane *focus = GetFocusPane();
  const string name = node->GetName();
  const int32_t index = node->GetIndex();
  if (RuntimeView *view = ViewOf(w)) {
    // Handlers may close the window: it stays allocated while held, and its
    // maps are read again after each call.
    Held holdView(&view->header);
    if (focus) {
      ControlWalk controls(view);
      for (RuntimeObject *c : controls) {
        if (*FieldsOfControl(c).pane != focus)
          continue;
        if (auto h = reinterpret_cast<MenuHandler>(HandlerIn(*FieldsOfControl(c).menuHandlers,
                                                             name)))
          if (h(c, index))
            return 1;
      }
    }
    if (auto h = reinterpret_cast<MenuHandler>(HandlerIn(view->mMenuHandlers, name)))
      if (h(&view->header, index))
        return 1;
  }
  if (auto h = reinterpret_cast<MenuHandler>(HandlerIn(ApplicationHandlers(), name)))
    if (h(gApplicationObject, index))
      return 1;
  if (void *action = FindObjectCode(&item->header, menuItemActionHook))
    if (CallHandler(action, &item->header))
      return 1;
  if (focus && GetFocusPane() == focus)
    return focus->HandleRuntimeMenuCommand(item) ? 1 : 0;
  return 0;
}

void EnableMenus(bool modal, Window *w) {
  if (!w) {
    Window *menuWindow = GTKHelper::GetMenuWindow();
    w = ViewOf(menuWindow) ? menuWindow : nullptr;
  }
  RuntimeView *view = ViewOf(w);
  if (view)
    RuntimeLockObject(&view->header);
  RuntimeObject *barObject =
      view ? view->menuBar : (gApplicationObject ? AsApplication(gApplicationObject)->menuBar
                                                 : nullptr);
  auto *bar = AsMenuItem(barObject);
  std::vector<RunMenuItem *> items;
  if (bar) {
    CollectDepthFirst(bar, &items);
    for (RunMenuItem *item : items) {
      Menu *node = item->mImp;
      if (!node) {
        ShowAlert(AlertSite{kRuntimeMainSource, 610, "item->mImp"});
        continue;
      }
      if (node->Count())
        node->Enable();
      else
        node->Disable();
    }
  }
  if (bar && !modal) {
    SubPane *focus = GetFocusPane();
    RuntimeObject *control = FocusedControl(view, focus);
    StringMap<void *> *controlMap = control ? *FieldsOfControl(control).menuHandlers : nullptr;
    // Breadth first from the bar; every item's children are queued.
    std::vector<RunMenuItem *> queue{bar};
    for (size_t q = 0; q < queue.size() && !Closed(view); ++q) {
      RunMenuItem *item = queue[q];
      Menu *node = item->mImp;
      if (!node)
        continue;
      for (int32_t i = 0; i < node->Count(); ++i)
        queue.push_back(node->At(i));
      if (!node->GetAutoEnable())
        continue;
      const string &name = node->GetName();
      if (node->Count() || HandlerIn(controlMap, name) ||
          HandlerIn(view ? view->mMenuHandlers : nullptr, name) ||
          HandlerIn(ApplicationHandlers(), name) || HasActionHandler(item))
        node->Enable();
    }
    // Then the program adjusts the items, each before its children.
    for (RunMenuItem *item : items) {
      if (Closed(view))
        break;
      if (void *code = FindObjectCode(&item->header, menuItemEnableMenu))
        CallHandler(code, &item->header);
    }
  }
  ReleaseAll(items);
  if (!Closed(view))
    if (SubPane *focus = GetFocusPane())
      focus->EnableMenuOptions();
  if (view && !Closed(view))
    if (void *code = FindObjectCode(&view->header, WindowBaseHooks[kEnableMenuItemsEvent].hook))
      CallHandler(code, &view->header);
  if (!modal && gApplicationObject)
    if (void *code = FindApplicationHandler(gApplicationObject, kAppEnableMenuItems))
      CallHandler(code, gApplicationObject);
  if (view)
    RuntimeUnlockObject(&view->header);
}

extern "C" void enableMenuItems() { EnableMenus(GetModalWindow() != nullptr, nullptr); }

extern "C" RunMenuItem *RuntimeMenuReference(stringStorage *name) {
  RuntimeView *view = ViewOf(GTKHelper::GetMenuWindow());
  if (!view || !view->menuBar)
    return nullptr;
  return RuntimeMenuItemLookup(AsMenuItem(view->menuBar), name);
}

// --- hidden menu bars -------------------------------------------------------

namespace {
bool sHidden = false;
bool sWantedHidden = false;

void HideMenuBar() {
  if (sHidden)
    return;
  sHidden = true;
  if (!menuShutdown::cMenuShutdown)
    menuShutdown::cMenuShutdown = new menuShutdown();
}

void ShowMenuBar() {
  if (!sHidden)
    return;
  sHidden = false;
  delete menuShutdown::cMenuShutdown; // its destructor clears the pointer
}
} // namespace

menuShutdown *menuShutdown::cMenuShutdown = nullptr;
menuShutdown::menuShutdown() : runShutdownTask("menuShutdown") {}
menuShutdown::~menuShutdown() {
  if (cMenuShutdown == this)
    cMenuShutdown = nullptr;
}

bool MenuBarIsHidden() { return sHidden; }

void rmbHideMenuBar() {
  sWantedHidden = true;
  HideMenuBar();
}

void rmbShowMenuBar() {
  sWantedHidden = false;
  ShowMenuBar();
}

void rmbSuspendMenuBar() { ShowMenuBar(); }

void rmbResumeMenuBar() {
  if (sWantedHidden)
    HideMenuBar();
}
