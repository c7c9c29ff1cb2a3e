// The static description of a built-in class: name, superclass, instance size,
// constructor and destructor, and lists of properties, methods, events, event
// handlers and implemented interfaces. A definition becomes a RuntimeClass the
// first time it is needed (ObjectDefinitionConverter.h).
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ClassTables.h"
#include "runtime/objects/RuntimeClass.h"

// Method userFlags.
constexpr int32_t kPrivateMember = 0x20;
constexpr int32_t kProtectedMember = 0x1;
constexpr int32_t systemPropertyVirtual = 0x8; // a method of an interface
// Property userFlags and flags.
constexpr int32_t kHasDefaultValue = 0x10;
constexpr int32_t kReadOnlyProperty = 0x1;
// A property of this kind takes no place in the property table.
constexpr int32_t kUnnumberedPropertyKind = 3;

// The values every item takes from its row's flag word.
struct CommonObject {
  uint8_t consoleSafe;     // 0x4 or 0x800 in the flag word
  uint8_t flagBit8;        // 0x8 in the flag word
  uint8_t consoleSafeCopy; // same as consoleSafe
  int32_t templateWord;    // the row's own word

  void SetFromTemplate(int32_t flags, int32_t word);
};

struct ObjectMethod : CommonObject {
  ObjectMethod *next = nullptr;
  string name;
  string paramText;
  string returnText;
  string declaration; // left empty
  int32_t userFlags = 0;
  PropertyMethod method; // a copy of the row

  // Plug-in methods derive from this; a definition deletes its methods
  // through this base.
  virtual ~ObjectMethod() = default;

  // name%return%[o<Class>]params, e.g. "Write%%o<EasyTCPSocket>s".
  string BuildLinkName(const ObjectDefinition *defn) const;
  string BuildPrototypeParams() const;
  string BuildPrototypeReturn() const;
  // The declaration as the language writes it, from the stored texts:
  // "Private Function Name(params) As Return", "Sub Name(params)".
  string BuildPrototype() const;
  // True when every parameter has a default value (so also for none).
  bool ContainsOnlyDefaultParameters() const;
};

struct InstanceVariable : CommonObject {
  InstanceVariable *next = nullptr;
  string declaration;
  string name;
  PropertyType *type = nullptr;
  int32_t userFlags = 0;
  int32_t flags = 0;
  void *getter = nullptr;
  const char *getterExportName = nullptr;
  void *setter = nullptr;
  const char *setterExportName = nullptr;
  int32_t param = 0;
  int32_t mPropertyTableIndex = -1;
  int32_t propertyKind = 0;
  int32_t reserved = 0;
  ArrayPropertyType arrayType{};    // for properties of array type
  char *defaultValueText = nullptr; // from new[]; freed with the item

  ~InstanceVariable();

  // The declaration text, or "Name As Type" without one, after "Private " or
  // "Protected " as the access flags say.
  string BuildDeclaration() const;
  bool HasDefaultValue() const { return (userFlags & kHasDefaultValue) != 0; }
  // Declared in language code rather than by a class table.
  bool IsUserVariable() const { return !declaration.IsEmpty(); }
  bool IsArray() const { return type && type->kind == kArrayTypeKind; }
  // Every property but a private one is shown to the programmer.
  bool IsVisibleInIDE() const { return (userFlags & kPrivateMember) == 0; }
};

// An event the class declares.
struct ObjectHook : CommonObject {
  ObjectHook *next = nullptr;
  string name;
  string paramText;
  string returnText;
  int32_t eventIndex = 0; // slot in the run-time class's event table, set by conversion
  int32_t reserved = 33;
  MethodParameter *params = nullptr;
  int32_t paramCount = 0;
};

// A handler a built-in class supplies for an event of one of its superclasses.
struct ObjectHookInstance {
  ObjectHookInstance *next = nullptr;
  string name;            // the event's name
  int32_t eventIndex = 0; // set by conversion
  void *code = nullptr;   // function(object, event arguments...)
};

struct ObjectMenuHandler {
  ObjectMenuHandler *next = nullptr;
  int32_t words[2] = {0, 0};
};

// An implemented interface with the code table the conversion builds: slot k
// (from 1) holds the code of the interface's k-th method; slot 0 stays empty.
struct ObjectDefinitionInterface {
  ObjectDefinitionInterface *next;
  struct ObjectDefinition *interface;
  void **codeTable; // from the small-block allocator
  int32_t codeTableLength;
};
static_assert(sizeof(ObjectDefinitionInterface) == 16);

struct ObjectDefinition {
  // The type part: every definition can stand where a type is expected.
  PropertyType type{kClassTypeKind};
  int32_t unusedTypeWords[5] = {};
  uint8_t consoleSafe = 0;
  uint8_t reservedByte = 0;
  uint8_t consoleOnly = 0;
  uint32_t platformMask = 0;
  InstanceVariable *properties = nullptr;
  ObjectDefinition *super = nullptr;
  void **methodCodeTable = nullptr; // copied into the run-time class's methods
  int32_t methodTableGeneration = 0;
  int32_t methodCodeCount = 0;
  string className; // non-empty once built
  // 1: the methods' parameter lists are static data. 0 (plug-in classes): the
  // destructor frees each parameter list and its names with delete[].
  uint8_t staticTables = 0;
  uint8_t newAllowed = 0;
  uint8_t deprecated = 0;
  int32_t mPropertyTableSize = 0;
  ObjectDefinition *nextDefinition = nullptr; // the global list, newest first
  int32_t objectSize = 24;
  int32_t reserved1[2] = {};
  int32_t index = -1;
  int32_t reserved2 = 0;
  ObjectMethod *methods = nullptr;
  ObjectHook *hooks = nullptr;
  ObjectHookInstance *hookInstances = nullptr;
  ObjectMenuHandler *menuHandlers = nullptr;
  ObjectDefinitionInterface *interfaces = nullptr; // newest first
  int32_t reserved3 = 0;
  uint8_t isInterface = 0;
  ObjectProc constructor = nullptr;
  ObjectProc destructor = nullptr;
  MethodImplementation classLookup{}; // the entry point that answers this class

  // Links the definition at the head of the global list; the destructor
  // unlinks it and frees its items.
  ObjectDefinition();
  ~ObjectDefinition();
  ObjectDefinition(const ObjectDefinition &) = delete;
  ObjectDefinition &operator=(const ObjectDefinition &) = delete;

  InstanceVariable *GetPropertyListHead() const { return properties; }
  void SetPropertyListHead(InstanceVariable *head) { properties = head; }
  InstanceVariable *GetPropertyListTail() const;
  // Pushes an entry with an empty code table at the head of interfaces.
  void addInterface(ObjectDefinition *interfaceDefn);
  // True for this definition and for each of its superclasses.
  bool IsA(const ObjectDefinition *other) const;
  // The handler item for the event of that name, from this definition's own
  // handlers first, then its superclasses'; nil when none.
  ObjectHookInstance *FindHookInstance(const string &eventName) const;
  // Builds the interface code tables; false when an interface method has no
  // implementation in the class chain.
  bool RebuildVTable();
  void CalculatePropertyTableIndexes();

  PropertyType *AsType() { return &type; }
};
static_assert(sizeof(ObjectDefinition) == 152);
static_assert(offsetof(ObjectDefinition, type) == 0);

// The newest definition ever constructed; follow nextDefinition.
ObjectDefinition *GetObjectDefinitionListHead();
// Calls fn(defn, ref) for every definition, newest first, until one answers
// false; answers false then, true otherwise.
bool IterateClasses(bool (*fn)(ObjectDefinition *defn, void *ref), void *ref);
