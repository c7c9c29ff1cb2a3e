#include "desktop/ScreenClass.h"

#include "language/ClassBuilding.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "windows/DesktopServices.h"

namespace {

ScreenObject *AsScreen(RuntimeObject *object) { return reinterpret_cast<ScreenObject *>(object); }

} // namespace

extern "C" {

int32_t getScreenCount() { return ScreenCount(); }

RuntimeObject *getScreen(int32_t index) {
  ScreenRect rect;
  if (!GetScreenRect(index, &rect))
    return nullptr;
  int32_t depth = 24;
  GetScreenDepth(&depth);
  RuntimeObject *object = CreateInstance(ScreenClass());
  if (!object)
    return nullptr;
  ScreenObject *s = AsScreen(object);
  s->left = rect.left;
  s->top = rect.top;
  s->width = rect.width;
  s->height = rect.height;
  s->depth = depth;
  s->availableLeft = rect.availLeft;
  s->availableTop = rect.availTop;
  s->availableWidth = rect.availWidth;
  s->availableHeight = rect.availHeight;
  return object;
}

int32_t screenLeftGetter(RuntimeObject *screen) { return screen ? AsScreen(screen)->left : 0; }
int32_t screenTopGetter(RuntimeObject *screen) { return screen ? AsScreen(screen)->top : 0; }
int32_t screenWidthGetter(RuntimeObject *screen) { return screen ? AsScreen(screen)->width : 0; }
int32_t screenHeightGetter(RuntimeObject *screen) { return screen ? AsScreen(screen)->height : 0; }
int32_t screenDepthGetter(RuntimeObject *screen) { return screen ? AsScreen(screen)->depth : 0; }

} // extern "C"

ObjectDefinition *ScreenClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      {0, "Left", &integerType.type, ACCESSOR(screenLeftGetter), NO_ACCESSOR, 0, 0},
      {0, "Top", &integerType.type, ACCESSOR(screenTopGetter), NO_ACCESSOR, 0, 0},
      {0, "Width", &integerType.type, ACCESSOR(screenWidthGetter), NO_ACCESSOR, 0, 0},
      {0, "Height", &integerType.type, ACCESSOR(screenHeightGetter), NO_ACCESSOR, 0, 0},
      {0, "Depth", &integerType.type, ACCESSOR(screenDepthGetter), NO_ACCESSOR, 0, 0},
      {0, "AvailableLeft", &integerType.type, ACCESSOR(intGetter), NO_ACCESSOR,
       int32_t(offsetof(ScreenObject, availableLeft)), 0},
      {0, "AvailableTop", &integerType.type, ACCESSOR(intGetter), NO_ACCESSOR,
       int32_t(offsetof(ScreenObject, availableTop)), 0},
      {0, "AvailableWidth", &integerType.type, ACCESSOR(intGetter), NO_ACCESSOR,
       int32_t(offsetof(ScreenObject, availableWidth)), 0},
      {0, "AvailableHeight", &integerType.type, ACCESSOR(intGetter), NO_ACCESSOR,
       int32_t(offsetof(ScreenObject, availableHeight)), 0},
  };
  DefineBuiltinClass(defn, {"Screen", sizeof(ScreenObject), nullptr, nullptr, true}, properties,
                     9, nullptr, 0);
  defn.consoleSafe = 0;
  return &defn;
}
