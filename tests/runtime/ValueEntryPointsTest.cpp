#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "ObjectModelFixtures.h"
#include "TestClassDefinitions.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

RuntimeClass *FieldsClass() {
  static RuntimeClass *cls = MakeClass(nullptr, "Fields", 48);
  return cls;
}

std::string Text(stringStorage *s) { return stringStorage::CString(s); }

} // namespace

TEST(ValueAccessors, NumericFieldsRoundTripAndNarrowFieldsSignExtend) {
  ObjectHolder object(RuntimeNewObject(FieldsClass()));
  intSetter(object.get(), 24, -123456);
  EXPECT_EQ(intGetter(object.get(), 24), -123456);
  shortSetter(object.get(), 28, 0xFFFF);
  EXPECT_EQ(shortGetter(object.get(), 28), -1);
  EXPECT_EQ(FieldAt<uint16_t>(object.get(), 30), 0); // nothing beyond the short
  boolSetter(object.get(), 30, 0x1FF);
  EXPECT_EQ(FieldAt<uint8_t>(object.get(), 30), 0xFF);
  EXPECT_EQ(boolGetter(object.get(), 30), -1);
  singleSetter(object.get(), 32, 2.5f);
  EXPECT_EQ(singleGetter(object.get(), 32), 2.5f);
  doubleSetter(object.get(), 36, -0.125);
  EXPECT_EQ(doubleGetter(object.get(), 36), -0.125);
}

TEST(ValueAccessors, StringFieldSetterKeepsTheSameStorageAlive) {
  ObjectHolder object(RuntimeNewObject(FieldsClass()));
  stringStorage *s = string("kept").ExtractStringStorage(); // our reference
  stringSetter(object.get(), 24, s);
  EXPECT_EQ(s->mRefCount, 2);
  stringSetter(object.get(), 24, s);
  EXPECT_EQ(s->mRefCount, 2);
  stringStorage *got = stringGetter(object.get(), 24);
  EXPECT_EQ(got, s);
  EXPECT_EQ(s->mRefCount, 3);
  RuntimeUnlockString(got);
  stringSetter(object.get(), 24, nullptr);
  EXPECT_EQ(s->mRefCount, 1);
  RuntimeUnlockString(s);
}

TEST(ValueAccessors, StringMemberAccessorsGoThroughTheStringType) {
  ObjectHolder object(RuntimeNewObject(FieldsClass()));
  stringStorage *s = string("member").ExtractStringStorage();
  SSToStringSetter(object.get(), 24, s);
  EXPECT_EQ(s->mRefCount, 2);
  stringStorage *got = StringToSSGetter(object.get(), 24);
  EXPECT_EQ(Text(got), "member");
  RuntimeUnlockString(got);
  SSToStringSetter(object.get(), 24, nullptr);
  EXPECT_EQ(s->mRefCount, 1);
  RuntimeUnlockString(s);
}

TEST(ValueAccessors, ObjectFieldHoldsOneReference) {
  ObjectHolder holder(RuntimeNewObject(FieldsClass()));
  ObjectHolder held(RuntimeNewObject(FieldsClass()));
  objSetter(holder.get(), 24, held.get());
  objSetter(holder.get(), 24, held.get());
  EXPECT_EQ(held->refCount, 2);
  RuntimeObject *got = objGetter(holder.get(), 24);
  EXPECT_EQ(got, held.get());
  EXPECT_EQ(held->refCount, 3);
  RuntimeUnlockObject(got);
  objSetter(holder.get(), 24, nullptr);
  EXPECT_EQ(held->refCount, 1);
}

TEST(ValueEntryPoints, StringReferenceEntryPoints) {
  stringStorage *a = string("ab").ExtractStringStorage();
  EXPECT_EQ(RuntimeLockString(nullptr), nullptr);
  RuntimeUnlockString(nullptr);
  RuntimeLockUnlockStrings(a, a);
  EXPECT_EQ(a->mRefCount, 1);
  stringStorage *sum = RuntimeAddString(a, string("cd").Storage());
  EXPECT_EQ(Text(sum), "abcd");
  EXPECT_EQ(sum->mRefCount, 1);
  RuntimeLockUnlockStrings(a, sum); // a gains one; sum is freed
  EXPECT_EQ(a->mRefCount, 2);
  stringStorage *same = RuntimeAddString(a, nullptr);
  EXPECT_EQ(same, a);
  EXPECT_EQ(a->mRefCount, 3);
  RuntimeUnlockString(same);
  RuntimeUnlockString(a);
  RuntimeUnlockString(a);
}

TEST(ValueEntryPoints, FloatToIntegerTruncatesAndGivesTheIndefiniteValueOutsideTheRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    int32_t expected;
  } cases[] = {
      {2.7, 2},
      {-2.7, -2},
      {0.0, 0},
      {2147483647.9, INT32_MAX},
      {-2147483648.9, INT32_MIN},
      {2147483648.0, INT32_MIN},
      {-2147483649.0, INT32_MIN},
      {1e300, INT32_MIN},
      {nan, INT32_MIN},
      {inf, INT32_MIN},
      {-inf, INT32_MIN},
  };
  for (const Case &c : cases)
    EXPECT_EQ(FPToInt(c.value), c.expected) << c.value;
  EXPECT_EQ(SingleToInt(-2.7f), -2);
  EXPECT_EQ(SingleToInt(3e9f), INT32_MIN);
  EXPECT_EQ(SingleToInt(std::numeric_limits<float>::quiet_NaN()), INT32_MIN);
  EXPECT_EQ(IntToFP(-7), -7.0);
}

TEST(ValueEntryPoints, FixedAnswers) {
  EXPECT_EQ(RuntimeThreed(), 1);
  EXPECT_EQ(RuntimeProjectObject(0), nullptr);
  EXPECT_EQ(RuntimePictureReference(0), nullptr);
  RaiseRecorder raises;
  RuntimeNilObject();
  EXPECT_EQ(raises.raised(), Names{"NilObjectException"});
}

TEST(ValueEntryPoints, FindHookCodeSearchesTheHolderDefinitionsHandlersUpTheChain) {
  using namespace testclasses;
  const void *holder[2] = {nullptr, EasySocketClass()};
  const void *baseHolder[2] = {nullptr, SocketClass()};
  const ObjectHook *error = SocketErrorHookRow().hook;
  EXPECT_EQ(RuntimeFindHookCode(holder, error), CodeAddress(kErrorHandlerCode));
  EXPECT_EQ(RuntimeFindHookCode(baseHolder, error), nullptr);
  EXPECT_EQ(RuntimeFindHookCode(nullptr, error), nullptr);
}

TEST(PropertyTypes, SimpleTypesConvertToAndFromText) {
  auto toText = [](SimplePropertyType &type, intptr_t value) {
    stringStorage *s = type.valueToText(value);
    std::string text = stringStorage::CString(s);
    stringStorage::RemoveReference(s);
    return text;
  };
  auto fromText = [](SimplePropertyType &type, const char *text) {
    intptr_t value = 0;
    EXPECT_EQ(type.textToValue(string(text).Storage(), &value), 1);
    return value;
  };
  EXPECT_EQ(toText(integerType, -42), "-42");
  EXPECT_EQ(fromText(integerType, "17 apples"), 17);
  EXPECT_EQ(toText(booleanType, 1), "True");
  EXPECT_EQ(toText(booleanType, 0), "False");
  EXPECT_EQ(fromText(booleanType, "tRUE"), 1);
  EXPECT_EQ(fromText(booleanType, "yes"), 0);
  EXPECT_EQ(fromText(booleanType, "Truest"), 0);
  EXPECT_EQ(toText(colourType, 0xFF8000), "16744448");
  float third = 1.0f / 3.0f;
  intptr_t bits;
  std::memcpy(&bits, &third, sizeof third);
  EXPECT_EQ(toText(singleType, bits), "0.3333333");
  intptr_t parsed = fromText(singleType, "2.5");
  float back;
  std::memcpy(&back, &parsed, sizeof back);
  EXPECT_EQ(back, 2.5f);
  EXPECT_EQ(doubleType.valueToText, nullptr);
  EXPECT_NE(stringType.retainValue, nullptr);
  EXPECT_EQ(integerType.releaseValue, nullptr);
}

TEST(PropertyTypes, SpawnTableListsTwelveTypesWithoutForm) {
  SimplePropertyType *table[12] = {};
  EXPECT_EQ(FillSpawnTypeTable(table), table);
  const char *names[12] = {"String", "Integer",   "Boolean", "Single",  "Double",  "Color",
                           "Ptr",    "WindowPtr", "OSType",  "CString", "PString", "Short"};
  for (int i = 0; i < 12; ++i)
    EXPECT_STREQ(table[i]->name, names[i]);
}

TEST(ObjectModelExports, EveryObjectModelRowOfTheExportTableIsBound) {
  const char *names[] = {"RuntimeNewClass",
                         "RuntimeNewVtable",
                         "RuntimeNewObject",
                         "RuntimeLockObject",
                         "RuntimeUnlockObject",
                         "RuntimeLockUnlockObjects",
                         "RuntimeObjectIsa",
                         "RuntimeCheckCast",
                         "RuntimeLookupInterfaceVtable",
                         "RuntimeLookupClass",
                         "CreateInstance",
                         "RuntimeDebugInstance",
                         "RuntimeDebugObjectCount",
                         "RuntimeDebugObjectID",
                         "RuntimeDebugObjectClass",
                         "RuntimeDebugObjectRefs",
                         "RuntimeDebugMemoryUsed",
                         "debugDumpObjects",
                         "RuntimeLockString",
                         "RuntimeUnlockString",
                         "RuntimeLockUnlockStrings",
                         "RuntimeAddString",
                         "RuntimeNilObject",
                         "RuntimeProjectObject",
                         "RuntimePictureReference",
                         "RuntimeFindHookCode",
                         "FPToInt",
                         "SingleToInt",
                         "IntToFP",
                         "intGetter",
                         "intSetter",
                         "shortGetter",
                         "shortSetter",
                         "boolGetter",
                         "boolSetter",
                         "singleGetter",
                         "singleSetter",
                         "doubleGetter",
                         "doubleSetter",
                         "stringGetter",
                         "stringSetter",
                         "objGetter",
                         "objSetter"};
  for (const char *name : names) {
    const RelocEntry *entry = resolveRelocEntry(name);
    EXPECT_TRUE(entry && entry->address) << name;
  }
  EXPECT_EQ(resolveRelocEntry("intgetter")->address, reinterpret_cast<void *>(intGetter));
}
