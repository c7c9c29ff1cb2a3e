#include "controls/ContextualMenuClass.h"

#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "foundation/AssertionAlert.h"
#include "runtime/loop/WindowInterface.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "windows/ControlServices.h"
#include "windows/RuntimeWindow.h"
#include "windows/menus/ContextualMenuGTK.h"

ObjectHookTemplate contextualMenuHooks[1] = {
    {0, "Action", "item As String", "", nullptr, 0},
};

namespace {

ContextualMenuObject *AsContextualMenu(RuntimeObject *object) {
  return reinterpret_cast<ContextualMenuObject *>(object);
}

CMMContext *ContextOf(RuntimeObject *self) {
  ContextualMenuObject *menu = AsContextualMenu(self);
  if (!menu->context)
    menu->context = newCMMContext();
  return menu->context;
}

#define METHOD(name, function, params, count)                                                      \
  { name, nullptr, params, count, {{EntryCode(function), #function, {}}, {}}, 0, 0, 0 }

MethodParameter sAddRowParams[] = {{"Text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod ContextualMenuMethods[] = {
    METHOD("DeleteAllRows", contextualMenuResetContent, nullptr, 0),
    METHOD("AddRow", contextualMenuAddRow, sAddRowParams, 1),
    METHOD("AddSeparator", contextualMenuAddSeparator, nullptr, 0),
    METHOD("Open", contextualMenuOpen, nullptr, 0),
};

ObjectInstanceTemplate ContextualMenuProperties[] = {
    {0, "UseCMM", &booleanType.type, EntryCode(boolGetter), "boolGetter", EntryCode(boolSetter),
     "boolSetter", offsetof(ContextualMenuObject, useCMM), 0},
};

} // namespace

ObjectDefinition *ContextualMenuClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("ContextualMenu");
  defn.super = ControlClass();
  defn.objectSize = kContextualMenuInstanceSize;
  defn.staticTables = 1;
  defn.newAllowed = 1;
  defn.destructor = RuntimeContextualMenuDestructor;
  auto *createPane = new ObjectHookInstance; // a control without a pane
  createPane->name = string("CreatePane");
  createPane->code = EntryCode(NilCreatePane);
  defn.hookInstances = createPane;
  defn.properties = FillInstances(ContextualMenuProperties, std::size(ContextualMenuProperties));
  defn.methods = FillMethods(ContextualMenuMethods, std::size(ContextualMenuMethods));
  FillHooks(&defn, contextualMenuHooks, std::size(contextualMenuHooks));
  return &defn;
}

extern "C" {

void contextualMenuResetContent(RuntimeObject *self) {
  if (!self)
    return;
  ContextualMenuObject *menu = AsContextualMenu(self);
  CMMContext *context = menu->context;
  menu->context = nullptr;
  closeCMMContext(context);
}

void contextualMenuAddRow(RuntimeObject *self, stringStorage *text) {
  if (self)
    addCMMContextItem(ContextOf(self), text, nullptr);
}

void contextualMenuAddSeparator(RuntimeObject *self) {
  if (self)
    addCMMContextSeparator(ContextOf(self));
}

void contextualMenuOpen(RuntimeObject *self) {
  if (!self)
    return;
  // The object stays alive through the popup and the Action handler, which
  // may drop the program's last reference or the rows.
  RuntimeLockObject(self);
  ContextualMenuObject *menu = AsContextualMenu(self);
  CMMContext *context = ContextOf(self);
  auto *view = reinterpret_cast<RuntimeView *>(menu->control.view);
  Window *window = view ? view->nativeWindow : nullptr;
  if (triggerCMMContext(context, menu->useCMM, window) && menu->context == context) {
    stringStorage *text = GetCMMHitText(context);
    if (void *code = FindObjectCode(self, contextualMenuHooks[0].hook))
      reinterpret_cast<void (*)(RuntimeObject *, stringStorage *)>(code)(self, text);
    stringStorage::RemoveReference(text);
  }
  RuntimeUnlockObject(self);
}

void RuntimeContextualMenuDestructor(RuntimeObject *self) {
  if (!self) {
    ShowAlert(AlertSite{"../Common/runcmm", 30, "ctl"});
    return;
  }
  contextualMenuResetContent(self);
}

} // extern "C"
