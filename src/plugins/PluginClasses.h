// Turning the records plug-ins register into class definitions of the object
// model, so that compiled code finds, creates, subclasses and calls plug-in
// classes and controls like built-in ones.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/String.h"
#include "plugins/PluginLists.h"
#include "plugins/PluginRecords.h"
#include "runtime/objects/ObjectDefinition.h"

struct LoadedPlugin;

inline constexpr char kPluginClassesAlertSource[] = "../Common/plugin";
inline constexpr AlertSite kBuildMethodAlert{kPluginClassesAlertSource, 402,
                                             "plugin and defn and meth"};
inline constexpr AlertSite kDuplicateEventAlert{kPluginClassesAlertSource, 468,
                                                "tail->name != h->name"};
inline constexpr char kDuplicateEventMessage[] =
    "Duplicate name found while trying to build class events.  Matched names are: ";
inline constexpr AlertSite kLoadingPluginAlert{kPluginClassesAlertSource, 610, "!loadingPlugin"};
inline constexpr AlertSite kControlDefinitionAlert{kPluginClassesAlertSource, 700, "pdefn"};
inline constexpr AlertSite kClassRecordAlert{kPluginClassesAlertSource, 290, "classdef"};

// Where a plug-in control's own data begins: after the control object and
// the word that points to its LoadedControl.
constexpr int32_t kPluginControlDataStart = 104;
constexpr int32_t kPluginControlDefinitionWord = 100;
// Where a plug-in class without superclass keeps its data.
constexpr int32_t kPluginClassDataStart = 24;
// Set by the runtime in a property record it has read; also the option word
// of the property variables it makes.
constexpr uint32_t kPropertyRead = 0x2000;
constexpr uint32_t kPropertyRedraws = 0x1;
constexpr uint32_t kPropertyDesignFlag = 0x2;
constexpr uint32_t kControlDerivesFromControl = 0x4;

// A method built from a plug-in's method record.
struct CustomControlObjectMethod : ObjectMethod {
  LoadedPlugin *plugin = nullptr;
  string className;
  ZANTmethodDefinition *definition = nullptr;
};

// The definition of a class by name: five aliases, then built-in classes,
// plug-in classes, plug-in controls; nil when none.
ObjectDefinition *FindPluginClassDefinition(const char *name);

// Adds one member each. dataStart is where the owner's data begins in an
// instance: the runtime's accessors address dataStart plus the record's
// offset.
void BuildClassProperty(LoadedPlugin *plugin, ObjectDefinition *defn, ZANTproperty *property,
                        bool forControl, int32_t dataStart);
void BuildClassMethod(LoadedPlugin *plugin, ObjectDefinition *defn,
                      ZANTmethodDefinition *method, bool forControl = false);
void BuildClassEvent(ObjectDefinition *defn, ZANTevent *event);

// Adds an extension record's properties, methods and events to a class.
void BuildClassExtensionMembers(LoadedPlugin *plugin, ObjectDefinition *defn,
                                PluginClassRecord *record);
// Builds one registered class, its unbuilt plug-in superclass first.
void BuildLoadedClass(LoadedClass *loaded);
// A control's definition from a new-form record, listed and mapped.
LoadedControl *BuildPluginControl(LoadedPlugin *plugin, PluginControlRecord *record);

// The handler of a plug-in control's "CreatePane" event.
void PluginControlCreatePane(RuntimeObject *control);
// Control when the record's flags say so, else RectControl.
ObjectDefinition *PluginControlSuperclass(uint32_t flags);
// The LoadedControl of the first class up the object's class chain that is a
// plug-in control; nil when none.
LoadedControl *FindLoadedControl(RuntimeObject *control);
// Run for each new instance of a plug-in control (or a class derived from
// one), and when one is destroyed.
void PluginControlInitializer(RuntimeObject *control);
void PluginControlFinalizer(RuntimeObject *control);

extern "C" {
// The definition of a class name for plug-ins: built-in classes, then plug-in
// controls, then plug-in classes; nil when none.
ObjectDefinition *pluginObjectType(const char *name);
// The generic setters, then the control's whole pane is redrawn.
void intInvalidateSetter(RuntimeObject *object, int32_t offset, int32_t value);
void boolInvalidateSetter(RuntimeObject *object, int32_t offset, int32_t value);
void stringInvalidateSetter(RuntimeObject *object, int32_t offset, stringStorage *value);
void objInvalidateSetter(RuntimeObject *object, int32_t offset, RuntimeObject *value);
}
