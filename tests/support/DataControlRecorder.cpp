#include "support/DataControlRecorder.h"

#include "controls/ControlClasses.h"
#include "controls/DataBindingServices.h"
#include "controls/RuntimeControl.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/loop/WindowInterface.h"
#include "windows/RuntimeWindow.h"

ObjectDefinition *DataControlClass();

namespace {

std::string Entry(const char *what, RuntimeObject *control, int32_t kind) {
  stringStorage *name = control ? reinterpret_cast<RuntimeControl *>(control)->name : nullptr;
  return std::string(what) + " " + std::to_string(kind) + " " +
         (name ? stringStorage::CString(name) : "?");
}

[[maybe_unused]] const bool sInstalled = [] {
  gDataControlClass = DataControlClass;
  return true;
}();

void CreateEmptyPane(RuntimeObject *o) {
  auto *c = reinterpret_cast<RuntimeControl *>(o);
  auto *view = reinterpret_cast<RuntimeView *>(c->view);
  SubPane *parent = c->container ? static_cast<SubPane *>(c->container) : view->nativeWindow;
  c->pane = new ContainerPane(parent, c->tabPanelIndex, c->bounds);
}

} // namespace

std::vector<std::string> &DataControlLog() {
  static std::vector<std::string> log;
  return log;
}

ObjectDefinition *DataControlClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty()) {
    defn.className = string("DataControl");
    defn.super = RectControlClass();
    defn.objectSize = kControlInstanceSize;
    defn.staticTables = 1;
    auto *create = new ObjectHookInstance;
    create->name = string("CreatePane");
    create->code = reinterpret_cast<void *>(CreateEmptyPane);
    defn.hookInstances = create;
  }
  return &defn;
}

void RuntimeDataControl::AddBindControl(RuntimeObject *, RuntimeObject *control, int32_t kind) {
  DataControlLog().push_back(Entry("add", control, kind));
}

void RuntimeDataControl::DelBindControl(RuntimeObject *, RuntimeObject *control, int32_t kind) {
  DataControlLog().push_back(Entry("del", control, kind));
}

void DataControlRepopulateData(RuntimeObject *) { DataControlLog().push_back("repopulate"); }
