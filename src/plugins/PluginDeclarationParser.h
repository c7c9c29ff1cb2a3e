// Reads the declarations plug-ins give for methods and events, such as
// "Function Find(name As String, ByRef pos As Integer = 0) As Boolean", into
// a name, parameter records and a return type.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "plugins/PluginRecords.h"
#include "runtime/objects/ClassTables.h"

struct LoadedPlugin;

struct PluginDeclaration {
  string name;
  string paramText;      // the text between the parentheses, as written
  string returnTypeName; // as written; empty without a return type
  PropertyType *returnType = nullptr;
  int32_t paramCount = 0;
  // From new[], each name from new[], an array parameter's type a new
  // ArrayPropertyType: the caller owns them (FreePluginParameters).
  MethodParameter *params = nullptr;
  bool extends = false; // the first parameter is marked Extends
  bool assigns = false; // the last parameter is marked Assigns
  string reason;        // why the declaration was refused
};

// True when the declaration parses; false leaves no parameters allocated and
// the reason set.
bool ParsePluginDeclaration(const char *declaration, PluginDeclaration &out);

// Frees a parameter array the parser made: names, array types and the array.
void FreePluginParameters(MethodParameter *params, int32_t count);

// Fills a method template from the definition's declaration: name (kept in
// name), parameters, return type, kind (plain, extends, assigns or both), the
// definition's function as the first implementation and its setter as the
// second (each when not 0). False when the declaration does not parse; the
// reason then goes to standard error with the plug-in's path.
bool ParsePluginMethod(LoadedPlugin *plugin, string &name, PropertyMethod &method,
                       const ZANTmethodDefinition &definition);

// Writes why a declaration was refused, with the plug-in's path, to standard
// error.
void ReportRejectedDeclaration(LoadedPlugin *plugin, const char *declaration,
                               const string &reason);
