#include "runtime/objects/SimplePropertyTypes.h"

#include <cstring>

#include "foundation/ByteStrings.h"
#include "foundation/NumberFormat.h"
#include "foundation/NumberText.h"
#include "runtime/startup/UpperAreaHooks.h"


namespace {

stringStorage *StringToText(intptr_t value) {
  auto *s = reinterpret_cast<stringStorage *>(value);
  stringStorage::AddReference(s);
  return s;
}

// The value holds its own reference on the storage.
int32_t StringFromText(stringStorage *text, intptr_t *value) {
  stringStorage::AddReference(text);
  *value = reinterpret_cast<intptr_t>(text);
  return 1;
}

void StringRelease(intptr_t value) {
  stringStorage::RemoveReference(reinterpret_cast<stringStorage *>(value));
}
void StringRetain(intptr_t value) {
  stringStorage::AddReference(reinterpret_cast<stringStorage *>(value));
}

stringStorage *IntegerToText(intptr_t value) {
  return ultoa(static_cast<int32_t>(value)).ExtractStringStorage();
}

int32_t IntegerFromText(stringStorage *text, intptr_t *value) {
  *value = static_cast<int32_t>(uatol(stringStorage::CString(text)));
  return 1;
}

stringStorage *BooleanToText(intptr_t value) {
  return string(value ? "True" : "False").ExtractStringStorage();
}

int32_t BooleanFromText(stringStorage *text, intptr_t *value) {
  *value = ustrcmpi(stringStorage::CString(text), stringStorage::Length(text), "True", 4) == 0;
  return 1;
}

float FloatOfWord(intptr_t value) {
  float f;
  std::memcpy(&f, &value, sizeof f);
  return f;
}

stringStorage *SingleToText(intptr_t value) {
  return doubleStr(FloatOfWord(value), kDoubleStrAutomatic, 7).ExtractStringStorage();
}

int32_t SingleFromText(stringStorage *text, intptr_t *value) {
  // The language's Val; without it the text is read as a plain C number.
  double (*val)(stringStorage *) = GetUpperAreaHooks().stringVal;
  const double number = val ? val(text) : uatod(stringStorage::CString(text));
  float f = static_cast<float>(number);
  std::memcpy(value, &f, sizeof f);
  return 1;
}

stringStorage *ColourToText(intptr_t value) {
  return ultoa(static_cast<long>(static_cast<uint32_t>(value))).ExtractStringStorage();
}

SimplePropertyType NamedType(const char *name) {
  return {{kSimpleTypeKind}, name, nullptr, nullptr, nullptr, nullptr};
}

} // namespace

SimplePropertyType stringType = {{kSimpleTypeKind}, "String",      StringToText,
                                 StringFromText,    StringRelease, StringRetain};
SimplePropertyType integerType = {{kSimpleTypeKind}, "Integer", IntegerToText,
                                  IntegerFromText,   nullptr,   nullptr};
SimplePropertyType booleanType = {{kSimpleTypeKind}, "Boolean", BooleanToText,
                                  BooleanFromText,   nullptr,   nullptr};
SimplePropertyType singleType = {{kSimpleTypeKind}, "Single", SingleToText,
                                 SingleFromText,    nullptr,  nullptr};
SimplePropertyType colourType = {{kSimpleTypeKind}, "Color", ColourToText,
                                 IntegerFromText,   nullptr, nullptr};
SimplePropertyType doubleType = NamedType("Double");
SimplePropertyType formType = NamedType("Form");
SimplePropertyType externalPtrType = NamedType("Ptr");
SimplePropertyType externalWindowPtrType = NamedType("WindowPtr");
SimplePropertyType externalOSTypeType = NamedType("OSType");
SimplePropertyType externalCStringType = NamedType("CString");
SimplePropertyType externalPStringType = NamedType("PString");
SimplePropertyType externalShortType = NamedType("Short");

extern "C" SimplePropertyType **FillSpawnTypeTable(SimplePropertyType **table) {
  SimplePropertyType *const types[12] = {
      &stringType,         &integerType,         &booleanType,         &singleType,
      &doubleType,         &colourType,          &externalPtrType,     &externalWindowPtrType,
      &externalOSTypeType, &externalCStringType, &externalPStringType, &externalShortType};
  for (int i = 0; i < 12; ++i)
    table[i] = types[i];
  return table;
}
