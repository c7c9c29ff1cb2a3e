// KeyChain and KeyChainItem: their tables over fixed-answer entry points.
#include <iterator>

#include "desktop/InertEntryPoints.h"
#include "desktop/KeyChainRegistryClasses.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

PropertyType *const kString = &stringType.type;

void NoConstruction(RuntimeObject *) {}

ObjectInstanceTemplate sKeyChainProperties[] = {
    {0, "Handle", &integerType.type, ACCESSOR(intGetter), NO_ACCESSOR,
     static_cast<int32_t>(offsetof(KeyChainObject, handle)), 0},
};

#define P(name, type) {name, type, 0, {}, 0, {}, 0, {}}
MethodParameter sIndex[] = {P("Index", &integerType.type)};
MethodParameter sPassword[] = {P("Password", kString)};
MethodParameter sLockAll[] = {P("LockAll", &booleanType.type)};
MethodParameter sAddPassword[] = {P("KCItem", nullptr), P("Password", kString)};
MethodParameter sItem[] = {P("KCItem", nullptr)};
#undef P

PropertyMethod sKeyChainMethods[] = {
    METHOD("KeyChain", KeyChainConstructor, nullptr, sIndex, 1),
    METHOD("Unlock", KeyChainUnlock, nullptr, sPassword, 1),
    METHOD("Lock", KeyChainLock, nullptr, sLockAll, 1),
    METHOD("AddPassword", KeyChainAddPassword, nullptr, sAddPassword, 2),
    METHOD("FindPassword", KeyChainFindPassword, kString, sItem, 1),
};

#define ATTRIBUTE(name)                                                                            \
  {0, name, kString, ACCESSOR(KeyChainItemAttributeGetter), ACCESSOR(KeyChainItemAttributeSetter), \
   0, 0}
ObjectInstanceTemplate sKeyChainItemProperties[] = {
    ATTRIBUTE("Description"), ATTRIBUTE("Comment"),     ATTRIBUTE("Label"),
    ATTRIBUTE("ServiceName"), ATTRIBUTE("AccountName"),
};
#undef ATTRIBUTE

PropertyMethod sKeyChainItemMethods[] = {
    METHOD("Delete", KeyChainItemDelete, nullptr, nullptr, 0),
};

} // namespace

ObjectDefinition *KeyChainItemClass() {
  static ObjectDefinition defn;
  if (defn.className.IsEmpty())
    DefineBuiltinClass(
        defn, {"KeyChainItem", sizeof(KeyChainItemObject), NoConstruction, NoConstruction, false},
        sKeyChainItemProperties, std::size(sKeyChainItemProperties), sKeyChainItemMethods,
        std::size(sKeyChainItemMethods));
  return &defn;
}

ObjectDefinition *KeyChainClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  sAddPassword[0].type = sItem[0].type = KeyChainItemClass()->AsType();
  DefineBuiltinClass(defn, {"KeyChain", sizeof(KeyChainObject), nullptr, nullptr, true},
                     sKeyChainProperties, std::size(sKeyChainProperties), sKeyChainMethods,
                     std::size(sKeyChainMethods));
  return &defn;
}
