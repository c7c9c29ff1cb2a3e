#include "ControlWindowFixture.h"

#include "../windows/WindowsTestSupport.h"
#include "controls/ControlEntryPoints.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

std::string NameOf(RuntimeObject *o) {
  RuntimeControl *c = Ctl(o);
  std::string name = stringStorage::CString(c->name);
  return c->index == kNotInControlArray ? name : name + "$" + std::to_string(c->index);
}

void Note(const std::string &event, RuntimeObject *o) { ControlLog().push_back(event + " " + NameOf(o)); }

void CreatePane(RuntimeObject *o) {
  RuntimeControl *c = Ctl(o);
  auto *view = reinterpret_cast<RuntimeView *>(c->view);
  SubPane *parent = c->container ? static_cast<SubPane *>(c->container) : view->nativeWindow;
  c->pane = new ContainerPane(parent, c->tabPanelIndex, c->bounds);
  if (c->initialParent && c->initialParent->pane)
    c->pane->ReassignParent(c->initialParent->pane);
}

void OnClose(RuntimeObject *o) { Note("Close", o); }
void OnMouseEnter(RuntimeObject *o) { Note("MouseEnter", o); }
void OnMouseExit(RuntimeObject *o) { Note("MouseExit", o); }
void OnMouseMove(RuntimeObject *o, int32_t x, int32_t y) {
  Note("MouseMove", o);
  ControlLog().back() += " " + std::to_string(x) + "," + std::to_string(y);
}

} // namespace

std::vector<std::string> &ControlLog() {
  static std::vector<std::string> log;
  return log;
}

ObjectDefinition *TestControlClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("TestControl");
    defn.super = RectControlClass();
    defn.objectSize = kControlInstanceSize;
    defn.staticTables = 1;
    HandleInClass(defn, "CreatePane", reinterpret_cast<void *>(CreatePane));
    HandleInClass(defn, "Close", reinterpret_cast<void *>(OnClose));
    HandleInClass(defn, "MouseEnter", reinterpret_cast<void *>(OnMouseEnter));
    HandleInClass(defn, "MouseExit", reinterpret_cast<void *>(OnMouseExit));
    HandleInClass(defn, "MouseMove", reinterpret_cast<void *>(OnMouseMove));
  }
  return &defn;
}

ObjectDefinition *TestWindowClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    // The window object's layout without the Window class's life cycle:
    // the tests open and close the native window themselves.
    defn.className = string("TestControlWindow");
    defn.objectSize = kRuntimeViewInstanceSize;
    defn.staticTables = 1;
  }
  return &defn;
}

void ControlWindow::SetUp() {
  if (!HaveDisplay())
    GTEST_SKIP() << "no display";
  ControlLog().clear();
  window = CreateInstance(TestWindowClass());
  ASSERT_NE(window, nullptr);
  view = reinterpret_cast<RuntimeView *>(window);
  view->visible = 1;
  QV::SetRect(&view->bounds, 50, 60, 450, 360);
  view->laidOutBounds = view->bounds;
  if (!view->controlMap)
    view->controlMap = new StringMap<RuntimeObject *>;
}

void ControlWindow::TearDown() {
  if (!window)
    return;
  if (view->opened) {
    FireCloseEvents();
  } else {
    StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
    RuntimeObject *o = nullptr;
    while (it->Next(&o)) {
      // Entries still held elsewhere stay, for the window to let go of.
      bool lastReference = o && o->refCount < 2;
      RuntimeUnlockObject(o);
      if (lastReference)
        it->Delete();
    }
    delete it;
  }
  // What the map still lists lost its reference as the window closed; the
  // window's destructor makes those controls, still held elsewhere, forget
  // the window.
  RuntimeUnlockObject(window);
}

RuntimeObject *ControlWindow::Add(const char *name, int32_t index, int left, int top, int width,
                                  int height, bool visible, bool enabled) {
  return Make(TestControlClass(), name, index, left, top, width, height, visible, enabled, {});
}

RuntimeObject *ControlWindow::AddOf(ObjectDefinition *cls, const char *name, int left, int top,
                                    int width, int height,
                                    const std::function<void(RuntimeObject *)> &beforePane) {
  return Make(cls, name, kNotInControlArray, left, top, width, height, true, true, beforePane);
}

RuntimeObject *ControlWindow::Make(ObjectDefinition *cls, const char *name, int32_t index,
                                   int left, int top, int width, int height, bool visible,
                                   bool enabled,
                                   const std::function<void(RuntimeObject *)> &beforePane) {
  RuntimeObject *o = CreateInstance(cls);
  RuntimeControl *c = Ctl(o);
  c->view = window;
  stringSetter(o, 36, string(name).Storage());
  c->index = index;
  ctlPosSetter(o, 0, left);
  ctlPosSetter(o, 1, top);
  ctlPosSetter(o, 2, width);
  ctlPosSetter(o, 3, height);
  ControlVisibleSetter(o, 0, visible);
  controlEnabledSetter(o, 0, enabled);
  string key(name);
  if (index != kNotInControlArray)
    key = key + string("$") + string(std::to_string(index).c_str());
  view->controlMap->AddEntry(key, o);
  if (beforePane)
    beforePane(o);
  if (view->nativeWindow) {
    c->container = view->nativeWindow; // as the open window gives its controls
    CreateNewControlPane(o);
  }
  return o;
}

RuntimeViewWindow *ControlWindow::Open() {
  return RuntimeViewWindow::Open(view, Window::kWindowTypeDocument);
}

std::vector<std::string> ControlWindow::Keys() const {
  std::vector<std::string> keys;
  StringMapIterator<RuntimeObject *> *it = view->controlMap->NewIterator();
  while (it->Next())
    keys.push_back(it->Key().CString());
  delete it;
  return keys;
}
