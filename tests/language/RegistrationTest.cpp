// The builders start-up calls by name register their classes, and with them
// the export names of every member, so that images bind to them.
#include <gtest/gtest.h>

#include "LanguageFixtures.h"
#include "language/Collection.h"
#include "language/DateClass.h"
#include "language/Dictionary.h"
#include "language/Random.h"
#include "language/Variant.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/startup/BuiltinClassRegistration.h"

namespace {

struct Registered {
  ObjectDefinition *(*builder)();
  const char *className;
  const char *memberExport;
};

TEST(ValueClassRegistration, EachBuilderRegistersItsClassAndMemberExports) {
  const Registered classes[] = {
      {CollectionElementClass, "CollectionElement", nullptr},
      {CollectionClass, "Collection", "collectionKeyRemove"},
      {DateClass, "Date", "dateSQLDateTimeSetter"},
      {VariantClass, "Variant", "VariantIntegerDivideRight"},
      {DictionaryClass, "Dictionary", "dictionaryValueSetter"},
      {RandomClass, "Random", "RandomNumberInRangeMinMax"},
  };
  for (const Registered &r : classes) {
    addIntrinsicClass(r.builder());
    EXPECT_EQ(getIntrinsicClass(string(r.className)), r.builder()) << r.className;
    if (r.memberExport)
      EXPECT_NE(resolveRelocEntry(r.memberExport), nullptr) << r.memberExport;
  }
  InitBitwiseClass();
  EXPECT_NE(resolveRelocEntry("RuntimeBitwiseShiftRight"), nullptr);
  // Helpers without a member or a fixed row join the table with their class.
  for (const char *helper : {"ConvertObjectToDate", "RuntimeIntArrayAppend", "ConstructDate",
                             "dictionaryValueByIndex", "RuntimeLookupCollectionClass"})
    EXPECT_NE(resolveRelocEntry(helper), nullptr) << helper;
}

TEST(ValueClassRegistration, StartUpRegistersTheValueClassesByTheirBuilders) {
  CreateApplicationClass();
  for (const char *name :
       {"CollectionElement", "Collection", "Date", "Variant", "Dictionary", "Random"})
    EXPECT_NE(getIntrinsicClass(string(name)), nullptr) << name;
  EXPECT_NE(getIntrinsicModule(string("Bitwise")), nullptr);
}

} // namespace
