#include <iterator>

#include "controls/FolderItemDialog.h"
#include "runtime/application/ApplicationClass.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/Pane.h"
#include "windows/RuntimeWindow.h"

namespace {

FolderItemDialogData *AsDialog(RuntimeObject *object) {
  return reinterpret_cast<FolderItemDialogData *>(object);
}

#define CODE(function) reinterpret_cast<void *>(function), #function
#define FIELD(name) static_cast<int32_t>(offsetof(FolderItemDialogData, name))
#define TEXT(name, field)                                                                          \
  { 0, name, &stringType.type, CODE(stringGetter), CODE(stringSetter), FIELD(field), 0 }

// The FolderItem rows' types name a class of the files area: filled when
// the class is built.
ObjectInstanceTemplate DialogProperties[] = {
    {0, "Top", &integerType.type, CODE(intGetter), CODE(intSetter), FIELD(top), 0},
    {0, "Left", &integerType.type, CODE(intGetter), CODE(intSetter), FIELD(left), 0},
    {0, "InitialDirectory", nullptr, CODE(objGetter), CODE(objSetter), FIELD(initialDirectory), 0},
    {0, "Result", nullptr, CODE(objGetter), nullptr, nullptr, FIELD(result), 0},
    TEXT("Filter", filter),
    TEXT("Title", title),
    TEXT("ActionButtonCaption", actionButtonCaption),
    TEXT("CancelButtonCaption", cancelButtonCaption),
    TEXT("SuggestedFileName", suggestedFileName),
    TEXT("PromptText", promptText),
};

MethodParameter WithinParameters[] = {{"Parent", nullptr, 0, {}, 0, {}, 0, {}}};

PropertyMethod DialogMethods[] = {
    {"ShowModal", nullptr, nullptr, 0, {{CODE(FolderItemDialogShowModal), {}}, {}}, 0, 0, 0},
    {"ShowModalWithin",
     nullptr,
     WithinParameters,
     1,
     {{CODE(FolderItemDialogShowWithin), {}}, {}},
     0,
     0,
     0},
};

// The base hook runs first on a fresh object.
void BaseConstructor(RuntimeObject *object) {
  FolderItemDialogData *d = AsDialog(object);
  d->type = FolderItemDialogData::kNone;
  d->result = nullptr;
  d->top = -1;
  d->left = -1;
}

void DialogDestructor(RuntimeObject *object) { AsDialog(object)->Destroy(); }

template <int32_t kType> void SetType(RuntimeObject *object) { AsDialog(object)->type = kType; }

ObjectDefinition *Subclass(ObjectDefinition &defn, const char *name, ObjectProc constructor) {
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string(name);
  defn.super = FolderItemDialogClass();
  defn.objectSize = kFolderItemDialogInstanceSize;
  defn.constructor = constructor;
  defn.staticTables = 1;
  return &defn;
}

// A dialog of the class run as the global functions run it, the filter and
// the name (when given) set first; the chosen item or nil.
RuntimeObject *RunDialogOf(ObjectDefinition *cls, stringStorage *filter,
                           stringStorage *defaultName, bool withName) {
  Pane::AboutToYield();
  RuntimeObject *object = CreateInstance(cls);
  if (!object)
    return nullptr;
  FolderItemDialogData *d = AsDialog(object);
  stringSetter(object, FIELD(filter), filter);
  if (withName)
    stringSetter(object, FIELD(suggestedFileName), defaultName);
  RuntimeObject *chosen = d->ShowModal(nullptr);
  RuntimeUnlockObject(object);
  return chosen;
}

} // namespace

void FolderItemDialogData::Destroy() {
  for (RuntimeObject **item : {&initialDirectory, &result}) {
    RuntimeUnlockObject(*item);
    *item = nullptr;
  }
  for (stringStorage **s : {&title, &actionButtonCaption, &cancelButtonCaption, &suggestedFileName,
                            &promptText, &filter, &platformText}) {
    RuntimeUnlockString(*s);
    *s = nullptr;
  }
  delete[] static_cast<char *>(platformItems);
  platformItems = nullptr;
}

ObjectDefinition *FolderItemDialogClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *folderItem = ForeignClassType(GetBuiltinClassHooks().FolderItemClass, "FolderItem");
  DialogProperties[2].type = folderItem;
  DialogProperties[3].type = folderItem;
  DialogMethods[0].returnType = folderItem;
  DialogMethods[1].returnType = folderItem;
  WithinParameters[0].type = ForeignClassType(GetBuiltinClassHooks().WindowBaseClass, "Window");
  defn.className = string("FolderItemDialog");
  defn.objectSize = kFolderItemDialogInstanceSize;
  defn.constructor = BaseConstructor;
  defn.destructor = DialogDestructor;
  defn.staticTables = 1;
  defn.properties = FillInstances(DialogProperties, std::size(DialogProperties));
  defn.methods = FillMethods(DialogMethods, std::size(DialogMethods));
  return &defn;
}

ObjectDefinition *OpenDialogClass() {
  static ObjectDefinition defn;
  return Subclass(defn, "OpenDialog", SetType<FolderItemDialogData::kOpen>);
}

ObjectDefinition *SaveAsDialogClass() {
  static ObjectDefinition defn;
  return Subclass(defn, "SaveAsDialog", SetType<FolderItemDialogData::kSave>);
}

ObjectDefinition *SelectFolderDialogClass() {
  static ObjectDefinition defn;
  return Subclass(defn, "SelectFolderDialog", SetType<FolderItemDialogData::kSelectFolder>);
}

void InitFolderItemDialogClasses() {
  addIntrinsicClass(FolderItemDialogClass());
  addIntrinsicClass(OpenDialogClass());
  addIntrinsicClass(SaveAsDialogClass());
  addIntrinsicClass(SelectFolderDialogClass());
}

extern "C" {

RuntimeObject *FolderItemDialogShowModal(RuntimeObject *dialog) {
  return dialog ? AsDialog(dialog)->ShowModal(nullptr) : nullptr;
}

RuntimeObject *FolderItemDialogShowWithin(RuntimeObject *dialog, RuntimeObject *window) {
  if (!dialog)
    return nullptr;
  RuntimeView *view = reinterpret_cast<RuntimeView *>(window);
  return AsDialog(dialog)->ShowModal(view ? Native(view) : nullptr);
}

RuntimeObject *RuntimeGetOpenFolderItem(stringStorage *filter) {
  return RunDialogOf(OpenDialogClass(), filter, nullptr, false);
}

RuntimeObject *RuntimeGetSaveFolderItem(stringStorage *filter, stringStorage *defaultName) {
  return RunDialogOf(SaveAsDialogClass(), filter, defaultName, true);
}

RuntimeObject *RuntimeSelectFolder() {
  return RunDialogOf(SelectFolderDialogClass(), nullptr, nullptr, false);
}

} // extern "C"
