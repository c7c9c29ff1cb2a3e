// The DragItem class's tables.
#include <iterator>

#include "desktop/DragItem.h"
#include "graphics/GraphicsServices.h"
#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/startup/BuiltinClassBuilders.h"
#include "windows/MouseCursor.h"

ObjectDefinition *DragItemClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  const BuiltinClassHooks &classes = GetBuiltinClassHooks();
  static ObjectInstanceTemplate properties[] = {
      {0, "Text", &stringType.type, ACCESSOR(dragItemTextGetter), ACCESSOR(dragItemTextSetter), 0, 0},
      {0, "Picture", nullptr, ACCESSOR(dragItemPictureGetter), ACCESSOR(dragItemPictureSetter), 0, 0},
      {0, "FolderItem", nullptr, ACCESSOR(dragItemFolderItemGetter), ACCESSOR(dragItemFolderItemSetter),
       0, 0},
      {0, "MouseCursor", nullptr, ACCESSOR(objGetter), ACCESSOR(objSetter),
       int32_t(offsetof(DragItemObject, mouseCursor)), 0},
      {0, "DropLeft", &integerType.type, ACCESSOR(dragItemDropLeft), NO_ACCESSOR, 0, 0},
      {0, "DropTop", &integerType.type, ACCESSOR(dragItemDropTop), NO_ACCESSOR, 0, 0},
      {0, "DropWidth", &integerType.type, ACCESSOR(dragItemDropWidth), NO_ACCESSOR, 0, 0},
      {0, "DropHeight", &integerType.type, ACCESSOR(dragItemDropHeight), NO_ACCESSOR, 0, 0},
      {0, "Destination", nullptr, ACCESSOR(objGetter), NO_ACCESSOR,
       int32_t(offsetof(DragItemObject, destination)), 0},
  };
  properties[1].type = ForeignClassType(PictureClass, "Picture");
  properties[2].type = ForeignClassType(classes.FolderItemClass, "FolderItem");
  properties[3].type = MouseCursorClass()->AsType();
  properties[8].type = ForeignClassType(classes.ObjectClass, "Object");

  static MethodParameter macType[] = {{"macType", &stringType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter macTypeValue[] = {{"macType", &stringType.type, 0, {}, 0, {}, 0, {}},
                                           {"value", &stringType.type, 0, {}, 0, {}, 0, {}}};
  static MethodParameter bounds[] = {{"left", &integerType.type, 0, {}, 0, {}, 0, {}},
                                     {"top", &integerType.type, 0, {}, 0, {}, 0, {}},
                                     {"width", &integerType.type, 0, {}, 0, {}, 0, {}},
                                     {"height", &integerType.type, 0, {}, 0, {}, 0, {}}};
  static PropertyMethod methods[] = {
      METHOD("TextAvailable", DragItemTextAvailable, &booleanType.type, nullptr, 0),
      METHOD("PictureAvailable", DragItemPictureAvailable, &booleanType.type, nullptr, 0),
      METHOD("Drag", DragItemDrag, nullptr, nullptr, 0),
      METHOD("FolderItemAvailable", DragItemFolderItemAvailable, &booleanType.type, nullptr, 0),
      METHOD("MacDataAvailable", DragItemMacDataAvailable, &booleanType.type, macType, 1),
      {"MacData", &stringType.type, macTypeValue, 2,
       {{ACCESSOR(DragItemGetMacData), {}}, {ACCESSOR(DragItemSetMacData), {}}}, kAssignsMethod, 0, 0},
      {"PrivateMacData", &stringType.type, macTypeValue, 2,
       {{ACCESSOR(DragItemGetMacData), {}}, {ACCESSOR(DragItemSetPrivateMacData), {}}}, kAssignsMethod,
       0, 0},
      METHOD("NextItem", DragItemNextItem, &booleanType.type, nullptr, 0),
      METHOD("AddItem", DragItemAddItem, nullptr, bounds, 4),
  };
  DefineBuiltinClass(defn, {"DragItem", sizeof(DragItemObject), DragItemConstructor, DragItemDestructor,
                            true},
                     properties, int32_t(std::size(properties)), methods, int32_t(std::size(methods)));
  defn.consoleSafe = 0;
  return &defn;
}
