// Checks of a built-in class's tables as compiled images rely on them: the
// run-time property table row by row, the flags of the design-time
// properties, and accessors and methods bound under their export names.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeClass.h"

// The address compiled code binds under the export name, or nil.
void *BoundAddress(const char *exportName);

template <typename F> void *Code(F *f) { return reinterpret_cast<void *>(f); }

// One row of a run-time property table, with the flags its design-time
// property has in the class table (read-only is added where there is no
// setter).
struct PropertyRow {
  const char *linkName;
  int32_t param;
  void *getter;
  void *setter;
  int32_t flags;
};

// The class's run-time property table holds exactly these rows, in order.
void ExpectRunTimeProperties(const RuntimeClass *cls, const std::vector<PropertyRow> &rows);

// The design-time properties, in table order, carry the rows' flags, and
// their accessors are bound under their export names.
void ExpectPropertyFlagsAndExports(const std::vector<const InstanceVariable *> &properties,
                                   const std::vector<PropertyRow> &rows);

// Each accessor of the property that has code is bound under its export name.
void ExpectAccessorsBound(const InstanceVariable *property);

// Each method of the class that has code is bound under its export name.
void ExpectMethodsBound(const ObjectDefinition *defn);

// The class's tables as lines, in table order, for comparing with a golden
// table: the class line "Name : Super, size N, New" (", New" only when New
// may make one), one "implements Interface" line each, then the properties
// "Declaration, getter(param) / setter, flags F", the methods
// "Prototype = export" (an assignable one also "; set setterExport") and
// the events "event Name(params) As Result".
std::vector<std::string> DescribeClass(const ObjectDefinition *defn);

// Every accessor and every method implementation (getter and setter forms)
// is bound under its export name.
void ExpectEveryExportBound(const ObjectDefinition *defn);
