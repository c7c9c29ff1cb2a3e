// The language library's class builders as start-up uses them: each
// definition registers and converts to a run-time class without an alert,
// and its export names reach the export table.
#include <gtest/gtest.h>

#include "TextFixtures.h"
#include "language/LineEndings.h"
#include "language/MemoryBlock.h"
#include "language/TextEncodingClasses.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "support/AlertRecorder.h"

TEST(LanguageClasses, RegisterAndConvertWithoutAlerts) {
  AlertRecorder alerts;
  struct Builder {
    const char *name;
    ObjectDefinition *(*build)();
  } builders[] = {
      {"MemoryBlock", MemoryBlockClass},   {"EndOfLine", EndOfLineClass},
      {"TextEncoding", TextEncodingClass}, {"TextConverter", TextConverterClass},
      {"_Encodings", EncodingsClass},
  };
  for (const Builder &b : builders) {
    ObjectDefinition *defn = b.build();
    EXPECT_EQ(b.build(), defn) << "built once";
    addIntrinsicClass(defn);
    EXPECT_EQ(getIntrinsicClass(string(b.name)), defn) << b.name;
    RuntimeClass *cls = LookupObjectDefinition(defn);
    ASSERT_NE(cls, nullptr) << b.name;
    EXPECT_EQ(cls->instanceSize, defn->objectSize) << b.name;
  }
  EXPECT_EQ(alerts.count(), 0u);
  for (const char *name :
       {"memoryGetLong", "memorySetString", "MemoryBlockMidB3", "RuntimeEndOfLineCompare",
        "TextEncodingChr", "EncodingsGetFromCode", "textConverterConvert"})
    EXPECT_NE(resolveRelocEntry(name), nullptr) << name;
  // Other tests of this program see the registry as start-up leaves it.
  DisposeIntrinsicClassMap();
}
