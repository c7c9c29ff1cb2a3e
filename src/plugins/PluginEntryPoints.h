// The table through which compiled code finds the functions of plug-in
// classes, controls, modules and global methods by their text keys:
// "Class.Property.Get" / ".Set" for accessors, "Class.declaration" (and
// ".Set" for the assigning form) for methods, the bare declaration for global
// methods. Built from the registration lists on the first lookup.
#pragma once
#include <cstdint>

#include "foundation/AssertionAlert.h"
#include "foundation/String.h"
#include "plugins/PluginRecords.h"

inline constexpr char kPluginAlertSource[] = "../Common/plugin";
inline constexpr AlertSite kMissingEntryPointAlert{
    kPluginAlertSource, 1012, "pluginEntryTable.GetEntry( entrypointName, out )"};
inline constexpr AlertSite kNoImplementationAlert{
    kPluginAlertSource, 958, "method->function != (ZANTproc) ZANTnoImplementation"};
inline constexpr AlertSite kPropertiesAlert{kPluginAlertSource, 931,
                                            "properties || propertyCount == 0"};
inline constexpr AlertSite kMethodsAlert{kPluginAlertSource, 952, "methods || methodCount == 0"};

// Adds "name.property.Get" and ".Set" for each accessor that is not the
// runtime's own (-1); these keys also enter the runtime export table.
void AddPluginPropertyEntryPoints(const string &name, ZANTproperty *properties,
                                  int32_t propertyCount);
// Adds "name.declaration" for each method, and "name.declaration.Set" where
// the method has an assigning form (setter not -1).
void AddPluginMethodEntryPoints(const string &name, ZANTmethodDefinition *methods,
                                int32_t methodCount);

// Empties the table and lets the next lookup build it again, for tests.
void ResetPluginEntryTable();

extern "C" {
// A new zeroed array of count pointers, owned by the caller; nil for a count
// of 0 or less or a size that does not fit.
void **RuntimeAllocatePluginEntrypointsTable(int32_t count);
// The function under the key (letter case ignored); a missing key, or one
// whose function is 0, shows the alert and answers nil.
void *RuntimeLookupPluginEntrypoint(stringStorage *key);
}
