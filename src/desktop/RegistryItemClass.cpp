// RegistryItem and GetApplicationRegistryItem: there is no registry on this
// platform, so making an item raises RegistryAccessErrorException and every
// other member gives its fixed answer.
#include <iterator>

#include "desktop/InertEntryPoints.h"
#include "desktop/KeyChainRegistryClasses.h"
#include "language/ClassBuilding.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

PropertyType *const kString = &stringType.type;
PropertyType *const kInteger = &integerType.type;
constexpr int32_t kRegistryPropertyFlags = 132;

void NoConstruction(RuntimeObject *) {}

ObjectInstanceTemplate sProperties[] = {
    {kRegistryPropertyFlags, "Parent", nullptr, ACCESSOR(RegistryParentGetter), NO_ACCESSOR, 0, 0},
    {kRegistryPropertyFlags, "KeyCount", kInteger, ACCESSOR(RegistryItemKeyCountGetter),
     NO_ACCESSOR, 0, 0},
    {kRegistryPropertyFlags, "FolderCount", kInteger, ACCESSOR(RegistryItemFolderCountGetter),
     NO_ACCESSOR, 0, 0},
    {kRegistryPropertyFlags, "Path", kString, ACCESSOR(RegistryItemPathGetter), NO_ACCESSOR, 0, 0},
};

#define P(name, type) {name, type, 0, {}, 0, {}, 0, {}}
MethodParameter sPath[] = {P("Path", kString)};
MethodParameter sSource[] = {P("Source", nullptr)};
MethodParameter sName[] = {P("Name", kString)};
MethodParameter sIndex[] = {P("Index", kInteger)};
MethodParameter sNameValue[] = {P("Name", kString), P("value", nullptr)};
MethodParameter sIndexValue[] = {P("Index", kInteger), P("value", nullptr)};
MethodParameter sValue[] = {P("value", nullptr)};
#undef P

#define IMPLEMENTATION(function) {EntryCode(function), #function, {}}
#define GETSET(name, params, count, getter, setter)                                                \
  {name,  nullptr, params, count, {IMPLEMENTATION(getter), IMPLEMENTATION(setter)}, kAssignsMethod, \
   0,     0}

PropertyMethod sMethods[] = {
    METHOD("RegistryItem", RegistryItemPathCtor, nullptr, sPath, 1),
    METHOD("RegistryItem", RegistryItemCopyCtor, nullptr, sSource, 1),
    METHOD("AddFolder", RegistryItemAddFolder, nullptr, sName, 1),
    METHOD("Delete", RegistryItemDelete, nullptr, sName, 1),
    GETSET("Value", sNameValue, 2, RegistryItemValueGetter, RegistryItemValueSetter),
    GETSET("Value", sIndexValue, 2, RegistryItemNumValueGetter, RegistryItemNumValueSetter),
    GETSET("DefaultValue", sValue, 1, RegistryItemDefaultValueGetter,
           RegistryItemDefaultValueSetter),
    METHOD("Child", RegistryItemChild, nullptr, sName, 1),
    METHOD("Item", RegistryItemItem, nullptr, sIndex, 1),
    METHOD("Name", RegistryItemNameGetter, kString, sIndex, 1),
    METHOD("KeyType", RegistryItemKeyTypeGetter, kInteger, sIndex, 1),
};
enum { kAddFolderRow = 2, kValueRow = 4, kNumValueRow, kDefaultValueRow, kChildRow, kItemRow };

} // namespace

ObjectDefinition *RegistryItemClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *self = defn.AsType(), *variant = VariantClass()->AsType();
  sProperties[0].type = sSource[0].type = self;
  for (int row : {kAddFolderRow, kChildRow, kItemRow})
    sMethods[row].returnType = self;
  for (int row : {kValueRow, kNumValueRow, kDefaultValueRow})
    sMethods[row].returnType = variant;
  sNameValue[1].type = sIndexValue[1].type = sValue[0].type = variant;
  DefineBuiltinClass(defn,
                     {"RegistryItem", kRegistryItemInstanceSize, NoConstruction, nullptr, true},
                     sProperties, std::size(sProperties), sMethods, std::size(sMethods));
  return &defn;
}

extern "C" {

void RegistryItemPathCtor(RuntimeObject *, stringStorage *) {
  RaiseExceptionClass(RegistryAccessErrorExceptionClass());
}

void RegistryItemCopyCtor(RuntimeObject *, RuntimeObject *) {
  RaiseExceptionClass(RegistryAccessErrorExceptionClass());
}

RuntimeObject *RuntimeGetDefaultApplicationRegistryItem() {
  RaiseExceptionClass(RegistryAccessErrorExceptionClass());
  return nullptr;
}

RuntimeObject *GetIDERegistryKey() {
  RaiseExceptionClass(RegistryAccessErrorExceptionClass());
  return nullptr;
}

} // extern "C"
