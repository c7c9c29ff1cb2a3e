#include "plugins/PluginClasses.h"

#include <string>

#include "foundation/ByteStrings.h"
#include "plugins/PluginDeclarationParser.h"
#include "plugins/PluginLoader.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

struct Alias {
  const char *from;
  const char *to;
};

constexpr Alias kCursorAliases[] = {
    {"DatabaseCursor", "RecordSet"},
    {"DatabaseCursorField", "DatabaseField"},
};
constexpr Alias kClassAliases[] = {
    {"DatabaseCursor", "RecordSet"},
    {"DatabaseCursorField", "DatabaseField"},
    {"ExcelApplication", "OldExcelApplication"},
    {"PowerPointApplication", "OldPowerPointApplication"},
    {"WordApplication", "OldWordApplication"},
};

template <size_t N>
const char *MapAlias(const char *name, const Alias (&aliases)[N]) {
  for (const Alias &alias : aliases)
    if (ustrcmpi(name, alias.from) == 0)
      return alias.to;
  return name;
}

template <typename F>
void *Code(F *function) {
  return reinterpret_cast<void *>(function);
}

// The runtime's accessors for a property type.
struct Accessors {
  void *getter;
  const char *getterName;
  void *setter;
  const char *setterName;
  void *redrawSetter; // for a control property that redraws; nil: the plain setter
  const char *redrawSetterName;
};

const Accessors kIntegerAccessors{Code(intGetter),          "intGetter",
                                  Code(intSetter),          "intSetter",
                                  Code(intInvalidateSetter), "intInvalidateSetter"};
const Accessors kBooleanAccessors{Code(boolGetter),          "boolGetter",
                                  Code(boolSetter),          "boolSetter",
                                  Code(boolInvalidateSetter), "boolInvalidateSetter"};
const Accessors kStringAccessors{Code(stringGetter),          "stringGetter",
                                 Code(stringSetter),          "stringSetter",
                                 Code(stringInvalidateSetter), "stringInvalidateSetter"};
const Accessors kObjectAccessors{Code(objGetter),          "objGetter",
                                 Code(objSetter),          "objSetter",
                                 Code(objInvalidateSetter), "objInvalidateSetter"};
// Compiled code reads Single and Double results from the x87 register, so
// these need accessors of their own; no redrawing form exists for them.
const Accessors kSingleAccessors{Code(singleGetter), "singleGetter", Code(singleSetter),
                                 "singleSetter",     nullptr,        nullptr};
const Accessors kDoubleAccessors{Code(doubleGetter), "doubleGetter", Code(doubleSetter),
                                 "doubleSetter",     nullptr,        nullptr};

const Accessors &AccessorsFor(const PropertyType *type) {
  if (type == &booleanType.type)
    return kBooleanAccessors;
  if (type == &stringType.type)
    return kStringAccessors;
  if (type == &singleType.type)
    return kSingleAccessors;
  if (type == &doubleType.type)
    return kDoubleAccessors;
  if (type->kind == kClassTypeKind)
    return kObjectAccessors;
  return kIntegerAccessors; // Integer and Color
}

PropertyType *PropertyTypeNamed(const char *name) {
  if (!name)
    return nullptr;
  static const struct {
    const char *name;
    SimplePropertyType *type;
  } simple[] = {{"Color", &colourType},   {"Integer", &integerType}, {"Boolean", &booleanType},
                {"Single", &singleType},  {"Double", &doubleType},   {"String", &stringType}};
  for (const auto &s : simple)
    if (ustrcmpi(name, s.name) == 0)
      return &s.type->type;
  ObjectDefinition *defn = FindPluginClassDefinition(name);
  return defn ? defn->AsType() : nullptr;
}

LoadedClass *LoadedClassOf(const ObjectDefinition *defn) {
  for (LoadedClass *c = gLoadedClasses; c; c = c->next)
    if (&c->defn == defn)
      return c;
  return nullptr;
}

void AddEventHandlers(ObjectDefinition &defn, PluginEventInstance *handlers, int32_t count) {
  if (!handlers)
    return;
  for (int32_t i = 0; i < count; ++i) {
    auto *handler = new ObjectHookInstance;
    handler->name = string(handlers[i].name);
    handler->code = reinterpret_cast<void *>(handlers[i].function);
    handler->next = defn.hookInstances;
    defn.hookInstances = handler;
  }
}

// Names separated by "," exactly as written: a blank after a comma is part of
// the next name.
void AddInterfaces(ObjectDefinition &defn, const char *names) {
  if (!names || !names[0])
    return;
  const std::string text(names);
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    const std::string name = text.substr(start, comma == std::string::npos ? comma : comma - start);
    ObjectDefinition *found = FindPluginClassDefinition(name.c_str());
    if (found && found->isInterface)
      defn.addInterface(found);
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
}

template <typename Record>
void BuildMembers(LoadedPlugin *plugin, ObjectDefinition &defn, Record *record, bool forControl,
                  int32_t dataStart) {
  if (record->properties)
    for (int32_t i = 0; i < record->propertyCount; ++i)
      BuildClassProperty(plugin, &defn, &record->properties[i], forControl, dataStart);
  if (record->methods)
    for (int32_t i = 0; i < record->methodCount; ++i)
      BuildClassMethod(plugin, &defn, &record->methods[i], forControl);
  if (record->events)
    for (int32_t i = 0; i < record->eventCount; ++i)
      BuildClassEvent(&defn, &record->events[i]);
}

} // namespace

ObjectDefinition *FindPluginClassDefinition(const char *name) {
  if (!name)
    return nullptr;
  const string key(MapAlias(name, kClassAliases));
  if (ObjectDefinition *defn = getIntrinsicClass(key))
    return defn;
  LoadedClass *loadedClass = nullptr;
  if (gLoadedClassMap.GetEntry(key, &loadedClass))
    return &loadedClass->defn;
  LoadedControl *loadedControl = nullptr;
  if (gLoadedControlMap.GetEntry(key, &loadedControl))
    return &loadedControl->defn;
  return nullptr;
}

void BuildClassProperty(LoadedPlugin *, ObjectDefinition *defn, ZANTproperty *property,
                        bool forControl, int32_t dataStart) {
  if (!defn || !property)
    return;
  property->flags |= kPropertyRead;
  PropertyType *type = PropertyTypeNamed(property->type);
  if (!type)
    return;
  auto *variable = new InstanceVariable;
  variable->name = string(property->name);
  variable->type = type;
  variable->flags = int32_t(kPropertyRead | ((property->flags & kPropertyDesignFlag) ? 0x1 : 0));
  variable->param = property->dataOffset;
  variable->propertyKind = kUnnumberedPropertyKind;
  const Accessors &runtime = AccessorsFor(type);
  if (property->getter == ZANTnoImplementation) {
    variable->getter = runtime.getter;
    variable->getterExportName = runtime.getterName;
    variable->param = property->dataOffset + dataStart;
  } else if (property->getter) {
    variable->getter = reinterpret_cast<void *>(property->getter);
  }
  if (property->setter == ZANTnoImplementation) {
    const bool redraws = forControl && (property->flags & kPropertyRedraws) && runtime.redrawSetter;
    variable->setter = redraws ? runtime.redrawSetter : runtime.setter;
    variable->setterExportName = redraws ? runtime.redrawSetterName : runtime.setterName;
    variable->param = property->dataOffset + dataStart;
  } else if (property->setter) {
    variable->setter = reinterpret_cast<void *>(property->setter);
  }
  variable->next = defn->properties;
  defn->properties = variable;
}

void BuildClassMethod(LoadedPlugin *plugin, ObjectDefinition *defn, ZANTmethodDefinition *method,
                      bool forControl) {
  if (!plugin || !defn || !method) {
    if (!forControl)
      ShowAlert(kBuildMethodAlert);
    return;
  }
  auto *built = new CustomControlObjectMethod;
  built->plugin = plugin;
  built->className = defn->className;
  built->definition = method;
  built->declaration = string(method->declaration);
  if (!ParsePluginMethod(plugin, built->name, built->method, *method)) {
    delete built;
    return;
  }
  built->method.implementation[0].reserved[0] = 2;
  built->method.implementation[1].reserved[0] = 5;
  if (!forControl) {
    built->paramText = built->BuildPrototypeParams();
    built->returnText = built->BuildPrototypeReturn();
  }
  built->next = defn->methods;
  defn->methods = built;
}

void BuildClassEvent(ObjectDefinition *defn, ZANTevent *event) {
  if (!defn || !event)
    return;
  PluginDeclaration parsed;
  if (!ParsePluginDeclaration(event->declaration, parsed)) {
    ReportRejectedDeclaration(loadingPlugin, event->declaration, parsed.reason);
    return;
  }
  auto *hook = new ObjectHook;
  hook->name = parsed.name;
  hook->paramText = parsed.paramText;
  hook->returnText = parsed.returnTypeName;
  hook->params = parsed.params;
  hook->paramCount = parsed.paramCount;
  ObjectHook **tail = &defn->hooks;
  for (; *tail; tail = &(*tail)->next)
    if ((*tail)->name.Compare(hook->name) == 0) {
      const std::string message = std::string(kDuplicateEventMessage) + (*tail)->name.CString();
      ShowAlert(kDuplicateEventAlert, message.c_str());
    }
  *tail = hook;
  event->built = hook;
}

void BuildClassExtensionMembers(LoadedPlugin *plugin, ObjectDefinition *defn,
                                PluginClassRecord *record) {
  BuildMembers(plugin, *defn, record, false, kPluginClassDataStart);
}

void BuildLoadedClass(LoadedClass *loaded) {
  PluginClassRecord *record = loaded->record;
  ObjectDefinition &defn = loaded->defn;
  loaded->building = 1;
  ObjectDefinition *super = nullptr;
  if (record->superName && record->superName[0]) {
    super = FindPluginClassDefinition(record->superName);
    if (LoadedClass *superClass = super ? LoadedClassOf(super) : nullptr) {
      // A superclass met again while its own chain is built closes a cycle:
      // this class then gets none.
      if (superClass->building)
        super = nullptr;
      else if (superClass->record->dataOffset == 0)
        BuildLoadedClass(superClass);
    }
  }
  const int32_t dataSize = record->dataSize > 0 ? record->dataSize : 0;
  if (super) {
    defn.super = super;
    defn.objectSize = super->objectSize + dataSize;
    record->dataOffset = super->objectSize;
  } else {
    defn.objectSize = dataSize + kPluginClassDataStart;
    record->dataOffset = kPluginClassDataStart;
  }
  BuildMembers(loaded->plugin, defn, record, false, record->dataOffset);
  AddEventHandlers(defn, record->eventInstances, record->eventInstanceCount);
  AddInterfaces(defn, record->interfaces);
  loaded->building = 0;
}

void BuildPluginClasses() {
  for (LoadedClass *c = gLoadedClasses; c; c = c->next)
    c->record->dataOffset = 0;
  for (LoadedClass *c = gLoadedClasses; c; c = c->next) {
    if (c->record->dataOffset != 0)
      continue;
    if (loadingPlugin)
      ShowAlert(kLoadingPluginAlert);
    loadingPlugin = c->plugin;
    BuildLoadedClass(c);
    loadingPlugin = nullptr;
  }
}

LoadedControl *BuildPluginControl(LoadedPlugin *plugin, PluginControlRecord *record) {
  auto *loaded = new LoadedControl; // kept for the process
  loaded->record = record;
  loaded->behaviour = static_cast<PluginControlBehaviour *>(record->behaviour);
  loaded->plugin = plugin;
  ObjectDefinition &defn = loaded->defn;
  defn.super = PluginControlSuperclass(record->flags);
  defn.className = string(record->name);
  defn.consoleSafe = 1;
  defn.constructor = PluginControlInitializer;
  defn.destructor = PluginControlFinalizer;
  defn.objectSize = (record->dataSize > 0 ? record->dataSize : 0) + kPluginControlDataStart;
  record->dataOffset = kPluginControlDataStart;
  auto *createPane = new ObjectHookInstance;
  createPane->name = string("CreatePane");
  createPane->code = reinterpret_cast<void *>(PluginControlCreatePane);
  defn.hookInstances = createPane;
  BuildMembers(plugin, defn, record, true, kPluginControlDataStart);
  if (record->version > 3) {
    AddEventHandlers(defn, record->eventInstances, record->eventInstanceCount);
    AddInterfaces(defn, record->interfaces);
  }
  loaded->next = gLoadedControls;
  gLoadedControls = loaded;
  gLoadedControlMap.AddEntry(defn.className, loaded);
  return loaded;
}

extern "C" ObjectDefinition *pluginObjectType(const char *name) {
  if (!name)
    return nullptr;
  const string key(MapAlias(name, kCursorAliases));
  if (ObjectDefinition *defn = getIntrinsicClass(key))
    return defn;
  for (LoadedControl *c = gLoadedControls; c; c = c->next)
    if (c->defn.className.Compare(key) == 0)
      return &c->defn;
  for (LoadedClass *c = gLoadedClasses; c; c = c->next)
    if (c->defn.className.Compare(key) == 0)
      return &c->defn;
  return nullptr;
}
