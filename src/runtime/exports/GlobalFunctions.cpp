#include "runtime/exports/GlobalFunctions.h"

#include <cstring>

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/SimpleVector.h"
#include "foundation/String.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/exports/GlobalFunctionRows.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

SimpleVector<PropertyMethod *> sIntrinsicFunctions;

// The table and its parameter records, in static storage, filled once.
PropertyMethod sFunctionTable[kIntrinsicFunctionCount];
constexpr int kParameterCapacity = 400;
MethodParameter sParameters[kParameterCapacity];
int sParameterCount = 0;
constexpr int kArrayTypeCapacity = 8;
ArrayPropertyType sArrayTypes[kArrayTypeCapacity];
int sArrayTypeCount = 0;
// Parameter names, zero-terminated one after another.
char sNameText[4096];
size_t sNameTextUsed = 0;

// A view of part of a declaration.
struct Text {
  const char *start;
  size_t length;

  bool equals(const char *other) const {
    return std::strlen(other) == length && std::memcmp(start, other, length) == 0;
  }
  bool startsWith(const char *prefix) const {
    const size_t n = std::strlen(prefix);
    return length >= n && std::memcmp(start, prefix, n) == 0;
  }
  Text after(size_t n) const { return {start + n, length - n}; }
  // The text before the first occurrence of separator; *rest what follows it.
  Text splitAt(const char *separator, Text *rest) const {
    const size_t n = std::strlen(separator);
    const Text whole = *this; // rest may be this very view
    for (size_t i = 0; i + n <= whole.length; ++i)
      if (std::memcmp(whole.start + i, separator, n) == 0) {
        *rest = {whole.start + i + n, whole.length - i - n};
        return {whole.start, i};
      }
    *rest = {whole.start + whole.length, 0};
    return whole;
  }
};

const char *KeepName(Text name) {
  if (!RUNTIME_CHECK(sNameTextUsed + name.length + 1 <= sizeof sNameText))
    return "";
  char *kept = sNameText + sNameTextUsed;
  std::memcpy(kept, name.start, name.length);
  kept[name.length] = 0;
  sNameTextUsed += name.length + 1;
  return kept;
}

// A simple type by name, else the registered class of that name; nil while
// the class's subsystem has not registered it.
PropertyType *TypeNamed(Text name) {
  SimplePropertyType *simpleTypes[12];
  FillSpawnTypeTable(simpleTypes);
  for (SimplePropertyType *simple : simpleTypes)
    if (ustrcmpi(name.start, int(name.length), simple->name, int(std::strlen(simple->name))) == 0)
      return &simple->type;
  string className;
  className.ConstructFromBuffer(name.start, int(name.length));
  ObjectDefinition *defn = getIntrinsicClass(className);
  return defn ? defn->AsType() : nullptr;
}

PropertyType *ArrayOf(PropertyType *element) {
  if (!RUNTIME_CHECK(sArrayTypeCount < kArrayTypeCapacity))
    return nullptr;
  ArrayPropertyType *array = &sArrayTypes[sArrayTypeCount++];
  *array = {{kArrayTypeKind}, element, 1};
  return &array->type;
}

// "Integer", "String()".
PropertyType *TypeFromDeclaration(Text type) {
  Text rest;
  Text element = type.splitAt("()", &rest);
  return element.length < type.length ? ArrayOf(TypeNamed(element)) : TypeNamed(type);
}

// One parameter: [ByRef ]name[()] As Type[ = default].
void ParseParameter(Text declaration, MethodParameter *param) {
  *param = {};
  if (declaration.startsWith("ByRef ")) {
    param->byReference = 1;
    declaration = declaration.after(6);
  }
  Text typeAndDefault;
  Text name = declaration.splitAt(" As ", &typeAndDefault);
  Text defaultValue;
  Text type = typeAndDefault.splitAt(" = ", &defaultValue);
  Text rest;
  Text bareName = name.splitAt("()", &rest);
  const bool isArray = bareName.length < name.length; // name() As ElementType
  param->name = KeepName(bareName);
  param->type = isArray ? ArrayOf(TypeNamed(type)) : TypeFromDeclaration(type);
  if (defaultValue.length) {
    param->hasDefault = 1;
    // Only " " is not zero: one storage, each parameter holding its own reference.
    static const string space(" ");
    if (defaultValue.equals("\" \""))
      param->defaultValue = reinterpret_cast<intptr_t>(space.ExtractStringStorage());
  }
}

MethodParameter *ParseParameters(const char *declaration, int32_t *count) {
  *count = 0;
  Text rest{declaration, std::strlen(declaration)};
  MethodParameter *first = sParameters + sParameterCount;
  while (rest.length) {
    Text one = rest.splitAt(", ", &rest);
    if (!RUNTIME_CHECK(sParameterCount < kParameterCapacity))
      break;
    ParseParameter(one, &sParameters[sParameterCount++]);
    ++*count;
  }
  return *count ? first : nullptr;
}

void FillRow(PropertyMethod *row, const GlobalFunctionRow &source, int32_t methodKind) {
  *row = {};
  row->name = source.name;
  row->returnType = source.returnType
                        ? TypeFromDeclaration({source.returnType, std::strlen(source.returnType)})
                        : nullptr;
  row->params = ParseParameters(source.params, &row->paramCount);
  row->implementation[0].code = reinterpret_cast<void *>(source.entry);
  row->implementation[0].exportName = source.exportName;
  row->methodKind = methodKind;
  row->flags = source.flags;
}

void BuildFunctionTable() {
  int32_t next = 0;
  constexpr int32_t kGlobalForms = kGlobalFunctionRowCount - 2;
  for (int32_t i = 0; i < kGlobalForms; ++i)
    FillRow(&sFunctionTable[next++], kGlobalFunctionRows[i], kPlainMethod);
  // The Extends forms share their global form's parameter records.
  for (int32_t globalRow : kExtendsFormsOfGlobalRows) {
    sFunctionTable[next] = sFunctionTable[globalRow];
    sFunctionTable[next++].methodKind = kExtendsMethod;
  }
  for (int32_t i = kGlobalForms; i < kGlobalFunctionRowCount; ++i)
    FillRow(&sFunctionTable[next++], kGlobalFunctionRows[i], kExtendsMethod);
  RUNTIME_CHECK(next == kIntrinsicFunctionCount);
}

} // namespace

void CreateIntrinsicFunctions() {
  static bool built = false;
  if (built)
    return;
  built = true;
  BuildFunctionTable();
  AddIntrinsicFunctions(sFunctionTable, kIntrinsicFunctionCount);
}

void AddIntrinsicFunction(PropertyMethod *item) {
  if (!RUNTIME_CHECK(item))
    return;
  sIntrinsicFunctions.push_back(item);
  for (const MethodImplementation &implementation : item->implementation)
    if (implementation.exportName)
      AddRelocEntry(implementation.exportName, implementation.code);
}

void AddIntrinsicFunctions(PropertyMethod *items, int32_t count) {
  for (int32_t i = 0; i < count; ++i)
    AddIntrinsicFunction(&items[i]);
}

int32_t CountIntrinsicFunctions() {
  CreateIntrinsicFunctions();
  return sIntrinsicFunctions.count();
}

PropertyMethod *GetIntrinsicFunction(int32_t index) {
  const int32_t count = CountIntrinsicFunctions();
  if (!RUNTIME_CHECK(index >= 0 && index < count))
    return nullptr;
  return sIntrinsicFunctions.begin()[index];
}

PropertyMethod *GetIntrinsicFunction(const char *name) {
  CreateIntrinsicFunctions();
  for (PropertyMethod *row : sIntrinsicFunctions)
    if (ustrcmpi(row->name, name) == 0)
      return row;
  return nullptr;
}
