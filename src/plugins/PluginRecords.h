// The static records a plug-in hands the runtime while its main runs. Plug-ins
// are compiled separately, so every offset and width here is part of the
// interface; the runtime reads them in place and writes only the fields
// marked as its own.
#pragma once
#include <cstddef>
#include <cstdint>

using ZANTproc = void (*)();

// A method function of -1: the method has no implementation. A property
// accessor of -1: the runtime's own accessor on the data field.
inline const ZANTproc ZANTnoImplementation = reinterpret_cast<ZANTproc>(intptr_t(-1));

struct ZANTexport {
  int32_t reserved0;
  ZANTproc function;
  int32_t reserved8;
};
static_assert(sizeof(ZANTexport) == 12);
static_assert(offsetof(ZANTexport, function) == 4);

struct ZANTproperty {
  int32_t reserved0;
  const char *name;
  const char *type;
  uint32_t flags; // the runtime sets 0x2000 once it has read the record
  ZANTproc getter; // -1: runtime accessor; 0: none
  ZANTproc setter;
  int32_t dataOffset;
  int32_t reserved28[3];
};
static_assert(sizeof(ZANTproperty) == 40);
static_assert(offsetof(ZANTproperty, name) == 4);
static_assert(offsetof(ZANTproperty, type) == 8);
static_assert(offsetof(ZANTproperty, flags) == 12);
static_assert(offsetof(ZANTproperty, getter) == 16);
static_assert(offsetof(ZANTproperty, setter) == 20);
static_assert(offsetof(ZANTproperty, dataOffset) == 24);

struct ZANTmethodDefinition {
  ZANTproc function;
  ZANTproc setter;         // the assigning form; 0 or -1 for none
  const char *declaration; // Name(x As Integer) As String
};
static_assert(sizeof(ZANTmethodDefinition) == 12);
static_assert(offsetof(ZANTmethodDefinition, setter) == 4);
static_assert(offsetof(ZANTmethodDefinition, declaration) == 8);

struct ZANTevent {
  const char *declaration;
  void *built; // written by the runtime: the event declaration it made
};
static_assert(sizeof(ZANTevent) == 8);

struct PluginEventInstance {
  const char *name;
  ZANTproc function;
};
static_assert(sizeof(PluginEventInstance) == 8);

struct PluginClassRecord {
  int32_t version;
  const char *name;
  const char *superName;
  int32_t dataSize;
  int32_t dataOffset; // written by the runtime; 0 until the class is built
  void (*initializer)(void *instance);
  void (*finalizer)(void *instance);
  ZANTproperty *properties;
  int32_t propertyCount;
  ZANTmethodDefinition *methods;
  int32_t methodCount;
  ZANTevent *events;
  int32_t eventCount;
  PluginEventInstance *eventInstances;
  int32_t eventInstanceCount;
  const char *interfaces; // separated by ","
  int32_t reserved64[4];
};
static_assert(sizeof(PluginClassRecord) == 80);
static_assert(offsetof(PluginClassRecord, superName) == 8);
static_assert(offsetof(PluginClassRecord, dataOffset) == 16);
static_assert(offsetof(PluginClassRecord, properties) == 28);
static_assert(offsetof(PluginClassRecord, methods) == 36);
static_assert(offsetof(PluginClassRecord, events) == 44);
static_assert(offsetof(PluginClassRecord, eventInstances) == 52);
static_assert(offsetof(PluginClassRecord, interfaces) == 60);

struct PluginInterfaceRecord {
  int32_t version;
  const char *name;
  ZANTmethodDefinition *methods;
  int32_t methodCount;
};
static_assert(sizeof(PluginInterfaceRecord) == 16);

struct PluginModuleRecord {
  int32_t reserved0;
  const char *name;
  ZANTmethodDefinition *methods;
  int32_t methodCount;
};
static_assert(offsetof(PluginModuleRecord, methods) == 8);
static_assert(offsetof(PluginModuleRecord, methodCount) == 12);

struct PluginExportedMethodRecord {
  int32_t exportIndex;
  const char *declaration;
};
static_assert(sizeof(PluginExportedMethodRecord) == 8);

// The new form of a control record (first word 3 or more).
struct PluginControlRecord {
  int32_t version;
  const char *name;
  int32_t dataSize;
  uint32_t flags;
  int32_t reserved16[2];
  int32_t reserved24[2];
  ZANTproperty *properties;
  int32_t propertyCount;
  ZANTmethodDefinition *methods;
  int32_t methodCount;
  ZANTevent *events;
  int32_t eventCount;
  void *behaviour;
  int32_t dataOffset; // written by the runtime
  PluginEventInstance *eventInstances; // read for a record version above 3
  int32_t eventInstanceCount;
  const char *interfaces;
  int32_t reserved76[4];
};
static_assert(sizeof(PluginControlRecord) == 92);
static_assert(offsetof(PluginControlRecord, properties) == 32);
static_assert(offsetof(PluginControlRecord, methods) == 40);
static_assert(offsetof(PluginControlRecord, events) == 48);
static_assert(offsetof(PluginControlRecord, behaviour) == 56);
static_assert(offsetof(PluginControlRecord, dataOffset) == 60);
static_assert(offsetof(PluginControlRecord, eventInstances) == 64);
static_assert(offsetof(PluginControlRecord, interfaces) == 72);

// A property of the old form of a control record: the runtime's accessors on
// the data field at dataOffset.
struct PluginOldControlProperty {
  int32_t reserved0;
  const char *name;
  const char *type;
  uint32_t flags;
  int32_t dataOffset;
};
static_assert(sizeof(PluginOldControlProperty) == 20);
static_assert(offsetof(PluginOldControlProperty, dataOffset) == 16);

// The old form of a control record (first word 1): methods name their
// functions by index into the export table.
struct PluginOldControlRecord {
  int32_t version;
  const char *name;
  int32_t dataSize;
  uint32_t flags;
  int32_t reserved16[2]; // copied unchanged into the new form
  PluginOldControlProperty *properties;
  int32_t propertyCount;
  PluginExportedMethodRecord *methods;
  int32_t methodCount;
  ZANTevent *events;
  int32_t eventCount;
  void *behaviour;
  int32_t dataOffset; // written by the runtime
};
static_assert(sizeof(PluginOldControlRecord) == 56);
static_assert(offsetof(PluginOldControlRecord, properties) == 24);
static_assert(offsetof(PluginOldControlRecord, methods) == 32);
static_assert(offsetof(PluginOldControlRecord, events) == 40);
static_assert(offsetof(PluginOldControlRecord, behaviour) == 48);
static_assert(offsetof(PluginOldControlRecord, dataOffset) == 52);

// The callbacks of a control's behaviour record that the object's life
// calls; the rest belongs to the control's pane.
struct PluginControlBehaviour {
  void (*constructor)(void *control);
  void (*destructor)(void *control);
};
static_assert(offsetof(PluginControlBehaviour, destructor) == 4);
