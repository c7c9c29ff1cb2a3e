#include <gtest/gtest.h>

#include <string>

#include "foundation/String.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/exports/GlobalFunctions.h"
#include "support/AlertRecorder.h"

namespace {

std::string ParamName(const PropertyMethod *row, int i) { return row->params[i].name; }

TEST(GlobalFunctions, TableHas206RowsAndIsBuiltOnce) {
  AlertRecorder alerts;
  EXPECT_EQ(CountIntrinsicFunctions(), kIntrinsicFunctionCount);
  const int32_t exportsAfterBuild = GetRelocEntryTableSize();
  CreateIntrinsicFunctions();
  EXPECT_EQ(CountIntrinsicFunctions(), kIntrinsicFunctionCount);
  EXPECT_EQ(GetRelocEntryTableSize(), exportsAfterBuild);
  EXPECT_EQ(alerts.count(), 0u) << "every parameter record and name fitted";
}

TEST(GlobalFunctions, ExportTableResolvesEveryLinkedEntryPoint) {
  int linked = 0;
  for (int32_t i = 0; i < CountIntrinsicFunctions(); ++i) {
    const PropertyMethod *row = GetIntrinsicFunction(i);
    ASSERT_NE(row->implementation[0].exportName, nullptr) << i;
    EXPECT_EQ(row->implementation[1].code, nullptr) << i;
    if (!row->implementation[0].code)
      continue; // its subsystem is not linked in
    ++linked;
    const RelocEntry *entry = resolveRelocEntry(row->implementation[0].exportName);
    ASSERT_NE(entry, nullptr) << row->implementation[0].exportName;
    EXPECT_EQ(entry->address, row->implementation[0].code) << row->implementation[0].exportName;
  }
  EXPECT_GT(linked, 0);
  const PropertyMethod *unhandled = GetIntrinsicFunction("_UnhandledException");
  ASSERT_NE(unhandled, nullptr);
  EXPECT_EQ(unhandled->implementation[0].code, reinterpret_cast<void *>(RuntimeUnhandledException));
  EXPECT_NE(resolveRelocEntry("RuntimeDebugInstance"), nullptr);
}

// Rows whose result, if any, is of a simple type (class types resolve only
// once their class is registered).
struct ExpectedRow {
  int32_t index;
  const char *name;
  const char *exportName;
  int32_t methodKind;
  int32_t flags;
  int32_t paramCount;
  bool returnsSomething;
};

class GlobalFunctionRow : public testing::TestWithParam<ExpectedRow> {};

TEST_P(GlobalFunctionRow, CarriesItsNameEntryPointKindAndFlags) {
  const ExpectedRow &e = GetParam();
  const PropertyMethod *row = GetIntrinsicFunction(e.index);
  ASSERT_NE(row, nullptr);
  EXPECT_STREQ(row->name, e.name);
  EXPECT_STREQ(row->implementation[0].exportName, e.exportName);
  EXPECT_EQ(row->methodKind, e.methodKind);
  EXPECT_EQ(row->flags, e.flags);
  EXPECT_EQ(row->paramCount, e.paramCount);
  EXPECT_EQ(row->returnType != nullptr, e.returnsSomething);
}

INSTANTIATE_TEST_SUITE_P(
    GlobalFunctions, GlobalFunctionRow,
    testing::Values(ExpectedRow{1, "Speak", "RuntimeSpeak", 0, 0, 2, false},
                    ExpectedRow{25, "MsgBox", "VB_RuntimeMsgBox", 0, 0, 3, true},
                    ExpectedRow{26, "Quit", "ApplicationQuit", 0, 0x4, 1, false},
                    ExpectedRow{28, "Rnd", "rnd", 0, 0x4, 0, true},
                    ExpectedRow{78, "RGB", "RuntimeRGB", 0, 0x4, 3, true},
                    ExpectedRow{125, "Split", "StringSplit", 0, 0x4, 2, true},
                    ExpectedRow{154, "Print", "RuntimeConsolePrint", 0, 0x804, 1, false},
                    ExpectedRow{172, "_UnhandledException", "RuntimeUnhandledException", 0, 0x4, 1,
                                false},
                    ExpectedRow{174, "Mid", "StringDBCSMid2", 1, 0x4, 2, true},
                    ExpectedRow{203, "Split", "StringSplit", 1, 0x4, 2, true},
                    ExpectedRow{204, "InStr", "StringExtendsInStr", 1, 0x4, 3, true},
                    ExpectedRow{205, "InStrB", "StringExtendsInStrB", 1, 0x4, 3, true}),
    [](const auto &info) { return "Row" + std::to_string(info.param.index); });

TEST(GlobalFunctions, LookupByNameIgnoresCaseAndFindsTheFirstOverload) {
  const PropertyMethod *mid = GetIntrinsicFunction("mid");
  EXPECT_EQ(mid, GetIntrinsicFunction(165));
  EXPECT_EQ(GetIntrinsicFunction("MID"), mid);
  ASSERT_EQ(mid->paramCount, 2);
  EXPECT_EQ(ParamName(mid, 0), "source");
  EXPECT_EQ(ParamName(mid, 1), "start");
  EXPECT_EQ(GetIntrinsicFunction("NoSuchFunction"), nullptr);
}

TEST(GlobalFunctions, ParameterDeclarationsBecomeRecords) {
  // InStr's start comes first in the global form and second in the Extends form.
  const PropertyMethod *inStr = GetIntrinsicFunction(163);
  const PropertyMethod *extendsInStr = GetIntrinsicFunction(204);
  EXPECT_EQ(ParamName(inStr, 0), "start");
  EXPECT_TRUE(inStr->params[0].hasDefault);
  EXPECT_EQ(inStr->params[0].defaultValue, 0);
  EXPECT_EQ(ParamName(extendsInStr, 1), "start");
  EXPECT_FALSE(extendsInStr->params[0].hasDefault);

  const PropertyMethod *selectColor = GetIntrinsicFunction("SelectColor");
  EXPECT_TRUE(selectColor->params[0].byReference);
  EXPECT_FALSE(selectColor->params[1].byReference);
  EXPECT_EQ(selectColor->params[0].type->GetName().CString(), std::string("Color"));

  const PropertyMethod *split = GetIntrinsicFunction(125);
  const PropertyMethod *join = GetIntrinsicFunction(126);
  EXPECT_EQ(split->returnType->kind, kArrayTypeKind);
  EXPECT_EQ(join->params[0].type->kind, kArrayTypeKind);
  EXPECT_EQ(GetIntrinsicFunction(203)->params, split->params);
  for (const MethodParameter &delimiter : {split->params[1], join->params[1]}) {
    ASSERT_TRUE(delimiter.hasDefault);
    auto *storage = reinterpret_cast<stringStorage *>(delimiter.defaultValue);
    EXPECT_STREQ(stringStorage::CString(storage), " ");
    EXPECT_GE(storage->mRefCount, 2);
  }
}

TEST(GlobalFunctions, NilRowAndIndexOutOfRangeShowTheAlert) {
  AlertRecorder alerts;
  const int32_t count = CountIntrinsicFunctions();
  AddIntrinsicFunction(nullptr);
  EXPECT_TRUE(alerts.saw("item"));
  EXPECT_EQ(CountIntrinsicFunctions(), count);
  alerts.clear();
  EXPECT_EQ(GetIntrinsicFunction(count), nullptr);
  EXPECT_EQ(alerts.count(), 1u);
}

} // namespace
