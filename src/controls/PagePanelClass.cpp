#include "controls/PagePanelClass.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "controls/ControlEventFiring.h"
#include "controls/DesignLines.h"
#include "controls/ObjFontAccessors.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "windows/ControlServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/Window.h"

namespace {

PagePanelObject *AsPage(RuntimeObject *object) {
  return reinterpret_cast<PagePanelObject *>(object);
}
TabPanelObject *AsTab(RuntimeObject *object) { return reinterpret_cast<TabPanelObject *>(object); }

bool IsTabPanelObject(RuntimeObject *object) { return IsObjectOfClass(object, TabPanelClass()); }

TabPanel *TabPaneOf(RuntimeObject *object) {
  SubPane *pane = AsPage(object)->control.pane;
  return pane && pane->IsTabPanel() ? static_cast<TabPanel *>(pane) : nullptr;
}

PagePanel *PagePaneOf(RuntimeObject *object) {
  SubPane *pane = AsPage(object)->control.pane;
  return pane && pane->IsPagePanel() ? static_cast<PagePanel *>(pane) : nullptr;
}

#define CODE(function) reinterpret_cast<void *>(function), #function
#define PAGE_FIELD(name) static_cast<int32_t>(offsetof(PagePanelObject, name))
#define TAB_FIELD(name) static_cast<int32_t>(offsetof(TabPanelObject, name))

ObjectHookTemplate PagePanelHooks[] = {
    {0, "Change", "", "", nullptr, 0},
};

ObjectHookTemplate TabPanelHooks[] = {
    {0, "Change", "", "", nullptr, 0},
    {0, "GotFocus", "", "", nullptr, 0},
    {0, "LostFocus", "", "", nullptr, 0},
    {0, "MouseDown", "X As Integer, Y As Integer", "Boolean", nullptr, 0},
    {0, "MouseDrag", "X As Integer, Y As Integer", "", nullptr, 0},
    {0, "MouseUp", "X As Integer, Y As Integer", "", nullptr, 0},
};

ObjectInstanceTemplate PagePanelProperties[] = {
    {0, "Enabled", &booleanType.type, CODE(controlEnabledGetter), CODE(controlEnabledSetter), 0,
     0},
    {0, "Value", &integerType.type, CODE(PagePanelValueGetter), CODE(PagePanelValueSetter), 0, 0},
    {0x80, "PanelCount", &integerType.type, CODE(intGetter), CODE(intSetter),
     PAGE_FIELD(panelCount), 0},
};

ObjectInstanceTemplate TabPanelProperties[] = {
    {0, "Enabled", &booleanType.type, CODE(controlEnabledGetter), CODE(controlEnabledSetter), 0,
     0},
    {0x40, "TabDefinition", &stringType.type, nullptr, nullptr, CODE(stringSetter),
     TAB_FIELD(tabDefinition), 0},
    {0, "Value", &integerType.type, CODE(tabPanelValueGetter), CODE(tabPanelValueSetter), 0, 0},
    {0x80, "Facing", &integerType.type, CODE(intGetter), CODE(intSetter), TAB_FIELD(facing), 0},
    {0x80, "SmallTabs", &booleanType.type, CODE(boolGetter), CODE(boolSetter),
     TAB_FIELD(smallTabs), 0},
    {0, "TextFont", &stringType.type, CODE(stringGetter), CODE(tabPanelTextFontSetter),
     TAB_FIELD(font.name), 0},
    {0, "TextSize", &integerType.type, CODE(shortGetter), CODE(tabPanelTextSizeSetter),
     TAB_FIELD(font.size), 0},
    {0, "Bold", &booleanType.type, CODE(boolGetter), CODE(tabPanelBoldSetter), TAB_FIELD(font.bold),
     0},
    {0, "Italic", &booleanType.type, CODE(boolGetter), CODE(tabPanelItalicSetter),
     TAB_FIELD(font.italic), 0},
    {0, "Underline", &booleanType.type, CODE(boolGetter), CODE(tabPanelUnderlineSetter),
     TAB_FIELD(font.underline), 0},
};

ObjectConstantTemplate TabPanelConstants[] = {
    {0, "FacingNorth", 1, "0"},
    {0, "FacingSouth", 1, "1"},
    {0, "FacingEast", 1, "2"},
    {0, "FacingWest", 1, "3"},
};

MethodParameter CaptionParameters[] = {{"Index", &integerType.type, 0, {}, 0, {}, 0, {}},
                                       {"value", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod TabPanelMethods[] = {
    {"Caption",
     &stringType.type,
     CaptionParameters,
     2,
     {{CODE(tabPanelCaptionGetter), {}}, {CODE(tabPanelCaptionSetter), {}}},
     kAssignsMethod,
     0,
     0},
};

void PushFont(TabPanelObject *t) {
  if (TabPanel *pane = TabPaneOf(&t->page.control.header))
    pane->setFont(t->font.getFont());
}

void PagePanelDestructor(RuntimeObject *object) {
  if (PagePanel *pane = PagePaneOf(object))
    pane->SetObject(nullptr);
}

void TabPanelDestructor(RuntimeObject *object) {
  TabPanelObject *t = AsTab(object);
  if (TabPanel *pane = TabPaneOf(object)) {
    pane->SetDelegate(nullptr); // the router goes below
    pane->SetObject(nullptr);
  }
  RuntimeUnlockString(t->tabDefinition);
  t->tabDefinition = nullptr;
  t->font.Release();
  delete t->router;
  t->router = nullptr;
}

// The pane's own tab-visible flag, applied again to its pages.
void ReapplyPages(SubPane *pane) { pane->SetTabPanelVisible(pane->IsTabPanelVisible()); }

// The caption's pane while it stands and the index names one of its tabs;
// nil otherwise, after raising for a bad index.
TabPanel *CaptionPane(RuntimeObject *object, int32_t index) {
  TabPanel *pane = object ? TabPaneOf(object) : nullptr;
  if (!pane || pane->IsClosing())
    return nullptr;
  if (index < 0 || index >= pane->GetCount()) {
    RaiseOutOfBoundsException();
    return nullptr;
  }
  return pane;
}

} // namespace

const ObjectHook *TabPanelEventHook(TabPanelEvent event) {
  return TabPanelHooks[static_cast<int>(event)].hook;
}

const ObjectHook *PagePanelChangeHook() { return PagePanelHooks[0].hook; }

void RuntimeTabPanelRouter::tabPanelChanged(TabPanel *pane) {
  RuntimeObject *object = &mObject->page.control.header;
  ReapplyPages(pane);
  RuntimeLockObject(object);
  FireEvent(object, TabPanelEventHook(TabPanelEvent::kChange));
  RuntimeUnlockObject(object);
}

void RuntimeTabPanelRouter::TabPanelGotFocus(TabPanel *pane) {
  FireFocusEvent(&mObject->page.control.header, pane, TabPanelEventHook(TabPanelEvent::kGotFocus));
}

void RuntimeTabPanelRouter::TabPanelLostFocus(TabPanel *pane) {
  FireFocusEvent(&mObject->page.control.header, pane,
                 TabPanelEventHook(TabPanelEvent::kLostFocus));
}

bool RuntimeTabPanelRouter::TabPanelHandleClick(TabPanel *pane, int32_t x, int32_t y, int32_t) {
  RuntimeObject *object = &mObject->page.control.header;
  const ObjectHook *hook = TabPanelEventHook(TabPanelEvent::kMouseDown);
  if (!FindObjectCode(object, hook))
    return false;
  FirePaneMouseDown(pane, object, hook, x, y);
  return true;
}

void TabPanelCreatePane(RuntimeObject *object) {
  TabPanelObject *t = AsTab(object);
  RuntimeControl &c = t->page.control;
  if (!t->router)
    t->router = new RuntimeTabPanelRouter(t);
  TabPanel *pane = newTabPanel(t->router, t->font.getFont(), c.container, c.tabPanelIndex,
                               c.bounds, t->facing, t->smallTabs);
  c.pane = pane;
  if (RuntimeControl *parent = c.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(t);
  ForEachDesignLine(t->tabDefinition, true,
                    [pane](const string &caption) { pane->addPanel(caption); });
}

void PagePanelCreatePane(RuntimeObject *object) {
  if (IsTabPanelObject(object)) {
    TabPanelCreatePane(object);
    return;
  }
  PagePanelObject *p = AsPage(object);
  auto *pane = new PagePanel(p->control.container, p->control.tabPanelIndex, p->control.bounds);
  p->control.pane = pane;
  if (RuntimeControl *parent = p->control.initialParent; parent && parent->pane)
    pane->ReassignParent(parent->pane);
  pane->SetObject(p);
}

ObjectDefinition *PagePanelClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "PagePanel", RectControlClass(), kPagePanelInstanceSize,
                     PagePanelDestructor, PagePanelCreatePane);
  defn.properties = FillInstances(PagePanelProperties, std::size(PagePanelProperties));
  FillHooks(&defn, PagePanelHooks, std::size(PagePanelHooks));
  return &defn;
}

// The "CreatePane" handler is PagePanel's, inherited.
ObjectDefinition *TabPanelClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("TabPanel");
  defn.super = PagePanelClass();
  defn.objectSize = kTabPanelInstanceSize;
  defn.destructor = TabPanelDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(TabPanelProperties, std::size(TabPanelProperties));
  defn.methods = FillMethods(TabPanelMethods, std::size(TabPanelMethods));
  FillHooks(&defn, TabPanelHooks, std::size(TabPanelHooks));
  FillConstants(&defn, TabPanelConstants, std::size(TabPanelConstants));
  return &defn;
}

// Runs once the window made its controls' panes: children created before
// their panel, or moved onto it, show only on its current page.
void EnforceAllRunViewTabPanels(RuntimeViewWindow *window) {
  for (int32_t i = 0; window && i < window->CountPanes(); ++i)
    if (SubPane *pane = window->PaneAt(i); pane->IsTabPanel() || pane->IsPagePanel())
      ReapplyPages(pane);
}

extern "C" {

int32_t tabPanelValueGetter(RuntimeObject *object, int32_t) {
  TabPanel *pane = object ? TabPaneOf(object) : nullptr;
  return pane ? pane->getValue() - 1 : 0;
}

void tabPanelValueSetter(RuntimeObject *object, int32_t, int32_t value) {
  if (TabPanel *pane = object ? TabPaneOf(object) : nullptr)
    pane->setValue(value + 1);
}

int32_t PagePanelValueGetter(RuntimeObject *object, int32_t) {
  if (!object)
    return 0;
  if (IsTabPanelObject(object))
    return tabPanelValueGetter(object, 0);
  PagePanel *pane = PagePaneOf(object);
  return pane ? pane->CurrentPage() - 1 : 0;
}

// An index past the last page (a negative one too, compared unsigned)
// selects the last page. Change fires on every assignment.
void PagePanelValueSetter(RuntimeObject *object, int32_t, int32_t value) {
  PagePanel *pane = object ? PagePaneOf(object) : nullptr;
  if (!pane)
    return;
  const int32_t count = AsPage(object)->panelCount;
  const int32_t index =
      static_cast<uint32_t>(value) < static_cast<uint32_t>(count) ? value : count - 1;
  pane->SetCurrentPage(index + 1);
  ReapplyPages(pane);
  RuntimeLockObject(object);
  FireEvent(object, PagePanelChangeHook());
  RuntimeUnlockObject(object);
}

stringStorage *tabPanelCaptionGetter(RuntimeObject *object, int32_t index) {
  TabPanel *pane = CaptionPane(object, index);
  return pane ? pane->GetCaption(index).ExtractStringStorage() : nullptr;
}

void tabPanelCaptionSetter(RuntimeObject *object, int32_t index, stringStorage *caption) {
  if (TabPanel *pane = CaptionPane(object, index))
    pane->SetCaption(index, string::Borrow(caption));
}

DEFINE_OBJ_FONT_SETTERS(tabPanel, TabPanelObject, PushFont)

} // extern "C"
