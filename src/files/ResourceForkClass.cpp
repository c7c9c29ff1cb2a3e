// The ResourceFork class. No file on this platform has a resource fork, so
// the class is an inert shell: every member answers 0, nil, False or the
// empty string, and the ones without a result do nothing.
#include <iterator>

#include "files/FileStreamObjects.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/SimplePropertyTypes.h"

extern "C" {
int32_t resourceForkTypeCount(RuntimeObject *, int32_t) { return 0; }
void resourceForkClose(RuntimeObject *) {}
stringStorage *resourceForkResourceType(RuntimeObject *, int32_t) { return nullptr; }
stringStorage *resourceForkGetResource(RuntimeObject *, stringStorage *, int32_t) {
  return nullptr;
}
stringStorage *resourceForkGetNamedResource(RuntimeObject *, stringStorage *, stringStorage *) {
  return nullptr;
}
int32_t resourceForkResourceCount(RuntimeObject *, stringStorage *) { return 0; }
int32_t resourceForkResourceID(RuntimeObject *, stringStorage *, int32_t) { return 0; }
stringStorage *resourceForkResourceName(RuntimeObject *, stringStorage *, int32_t) {
  return nullptr;
}
void resourceForkAddResource(RuntimeObject *, stringStorage *, stringStorage *, int32_t,
                             stringStorage *) {}
void resourceForkAddPicture(RuntimeObject *, RuntimeObject *, int32_t, stringStorage *) {}
void resourceForkRemoveResource(RuntimeObject *, stringStorage *, int32_t) {}
RuntimeObject *resourceForkGetPicture(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *resourceForkGetNamedPicture(RuntimeObject *, stringStorage *) { return nullptr; }
RuntimeObject *resourceForkGetcicn(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *resourceForkGeticl(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *resourceForkGetics(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *resourceForkgetCursor(RuntimeObject *, int32_t) { return nullptr; }
RuntimeObject *resourceForkGetSound(RuntimeObject *, int32_t) { return nullptr; }
int32_t resourceForkGetHandle(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkReleaseHandle(RuntimeObject *, int32_t) {}
int32_t resourceForkGetLocked(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkSetLocked(RuntimeObject *, stringStorage *, int32_t, int32_t) {}
int32_t resourceForkGetProtected(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkSetProtected(RuntimeObject *, stringStorage *, int32_t, int32_t) {}
int32_t resourceForkGetPreload(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkSetPreload(RuntimeObject *, stringStorage *, int32_t, int32_t) {}
int32_t resourceForkGetPurgeable(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkSetPurgeable(RuntimeObject *, stringStorage *, int32_t, int32_t) {}
int32_t resourceForkGetSysHeap(RuntimeObject *, stringStorage *, int32_t) { return 0; }
void resourceForkSetSysHeap(RuntimeObject *, stringStorage *, int32_t, int32_t) {}
}

namespace {

#define PARAM(name, type)                                                                          \
  {                                                                                                \
    name, type, 0, {}, 0, {}, 0, {}                                                                \
  }

MethodParameter sIndex[] = {PARAM("Index", &integerType.type)};
MethodParameter sStr[] = {PARAM("Str", &stringType.type)};
MethodParameter sTypeID[] = {PARAM("ResourceType", &stringType.type),
                             PARAM("ID", &integerType.type)};
MethodParameter sTypeIndex[] = {PARAM("ResourceType", &stringType.type),
                                PARAM("Index", &integerType.type)};
MethodParameter sTypeName[] = {PARAM("ResourceType", &stringType.type),
                               PARAM("Name", &stringType.type)};
MethodParameter sAddResource[] = {PARAM("data", &stringType.type),
                                  PARAM("ResourceType", &stringType.type),
                                  PARAM("ID", &integerType.type), PARAM("Name", &stringType.type)};
MethodParameter sAddPicture[] = {PARAM("data", nullptr), PARAM("ID", &integerType.type),
                                 PARAM("Name", &stringType.type)};
MethodParameter sHandle[] = {PARAM("handle", &integerType.type)};
MethodParameter sAttribute[] = {PARAM("ResourceType", &stringType.type),
                                PARAM("ID", &integerType.type), PARAM("value", &booleanType.type)};

#define FORK_METHOD(name, result, params, count, function)                                         \
  {                                                                                                \
    name, result, params, count, {{EntryCode(function), #function, {}}, {}}, kPlainMethod,         \
        kConsoleAvailableFlag, 0                                                                   \
  }
#define FORK_ATTRIBUTE(name, getter, setter)                                                       \
  {                                                                                                \
    name, &booleanType.type, sAttribute, 3,                                                        \
        {{EntryCode(getter), #getter, {}}, {EntryCode(setter), #setter, {}}}, kAssignsMethod,      \
        kConsoleAvailableFlag, 0                                                                   \
  }

// clang-format off
ObjectInstanceTemplate ResourceForkProperties[] = {
    {kConsoleAvailableFlag, "TypeCount", &integerType.type, ACCESSOR(resourceForkTypeCount),
     NO_ACCESSOR, 0, 0},
};

PropertyMethod ResourceForkMethods[] = {
    FORK_METHOD("Close", nullptr, nullptr, 0, resourceForkClose),
    FORK_METHOD("ResourceType", &stringType.type, sIndex, 1, resourceForkResourceType),
    FORK_METHOD("GetResource", &stringType.type, sTypeID, 2, resourceForkGetResource),
    FORK_METHOD("GetNamedResource", &stringType.type, sTypeName, 2, resourceForkGetNamedResource),
    FORK_METHOD("ResourceCount", &integerType.type, sStr, 1, resourceForkResourceCount),
    FORK_METHOD("ResourceID", &integerType.type, sTypeIndex, 2, resourceForkResourceID),
    FORK_METHOD("ResourceName", &stringType.type, sTypeID, 2, resourceForkResourceName),
    FORK_METHOD("AddResource", nullptr, sAddResource, 4, resourceForkAddResource),
    FORK_METHOD("AddPicture", nullptr, sAddPicture, 3, resourceForkAddPicture),
    FORK_METHOD("RemoveResource", nullptr, sTypeID, 2, resourceForkRemoveResource),
    FORK_METHOD("GetPicture", nullptr, sIndex, 1, resourceForkGetPicture),
    FORK_METHOD("GetNamedPicture", nullptr, sStr, 1, resourceForkGetNamedPicture),
    FORK_METHOD("Getcicn", nullptr, sIndex, 1, resourceForkGetcicn),
    FORK_METHOD("Geticl", nullptr, sIndex, 1, resourceForkGeticl),
    FORK_METHOD("Getics", nullptr, sIndex, 1, resourceForkGetics),
    FORK_METHOD("getCursor", nullptr, sIndex, 1, resourceForkgetCursor),
    FORK_METHOD("GetSound", nullptr, sIndex, 1, resourceForkGetSound),
    FORK_METHOD("GetHandle", &integerType.type, sTypeID, 2, resourceForkGetHandle),
    FORK_METHOD("ReleaseHandle", nullptr, sHandle, 1, resourceForkReleaseHandle),
    FORK_ATTRIBUTE("ResourceLocked", resourceForkGetLocked, resourceForkSetLocked),
    FORK_ATTRIBUTE("ResourceProtected", resourceForkGetProtected, resourceForkSetProtected),
    FORK_ATTRIBUTE("ResourcePreload", resourceForkGetPreload, resourceForkSetPreload),
    FORK_ATTRIBUTE("ResourcePurgeable", resourceForkGetPurgeable, resourceForkSetPurgeable),
    FORK_ATTRIBUTE("ResourceSysHeap", resourceForkGetSysHeap, resourceForkSetSysHeap),
};
// clang-format on

// The rows whose types are classes of other areas (by name: they may be
// registered later, or not at all in a program without a GUI).
void FillClassTypes() {
  PropertyType *picture = ForeignClassType(nullptr, "Picture");
  sAddPicture[0].type = picture;
  for (int row = 10; row <= 14; ++row)
    ResourceForkMethods[row].returnType = picture;
  ResourceForkMethods[15].returnType = ForeignClassType(nullptr, "MouseCursor");
  ResourceForkMethods[16].returnType = ForeignClassType(nullptr, "Sound");
}

} // namespace

ObjectDefinition *ResourceForkClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  FillClassTypes();
  defn.className = string("ResourceFork");
  defn.objectSize = sizeof(ResourceForkObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.SetPropertyListHead(
      FillInstances(ResourceForkProperties, std::size(ResourceForkProperties)));
  defn.methods = FillMethods(ResourceForkMethods, std::size(ResourceForkMethods));
  return &defn;
}

void CreateResourceForkClass() { addIntrinsicClass(ResourceForkClass()); }
