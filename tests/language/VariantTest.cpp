#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "LanguageFixtures.h"
#include "foundation/TextEncodings.h"
#include "language/DateClass.h"
#include "language/Variant.h"
#include "support/GermanLocale.h"

namespace {

class Variants : public LanguageTest {
protected:
  ~Variants() override {
    for (RuntimeObject *o : mHeld)
      RuntimeUnlockObject(o);
  }
  // Keeps a variant until the test ends.
  RuntimeObject *Hold(RuntimeObject *v) {
    mHeld.push_back(v);
    return v;
  }
  RuntimeObject *I(int32_t v) { return Hold(intToVariant(v)); }
  RuntimeObject *D(double v) { return Hold(doubleToVariant(v)); }
  RuntimeObject *S(const char *text) {
    stringStorage *s = NewText(text);
    RuntimeObject *v = stringToVariant(s);
    RuntimeUnlockString(s);
    return Hold(v);
  }
  RuntimeObject *B(bool v) { return Hold(booleanToVariant(v)); }
  RuntimeObject *C(int32_t v) { return Hold(colorToVariant(v)); }
  RuntimeObject *Date(double seconds) { return Hold(NewDate(seconds)); }
  RuntimeObject *Object() { return Hold(HookedObjects::New()); }
  std::string Str(RuntimeObject *v) { return TakeText(variantToString(v)); }
  // "type:text" of an operator's result.
  std::string Describe(RuntimeObject *result) {
    Hold(result);
    return result ? std::to_string(VarType(result)) + ":" + Str(result) : "nil";
  }
  std::vector<RuntimeObject *> mHeld;
};

TEST_F(Variants, TypeCodesOfEachKindOfValue) {
  EXPECT_EQ(VarType(nullptr), 0);
  EXPECT_EQ(VarType(I(5)), 2);
  EXPECT_EQ(VarType(D(5)), 5);
  EXPECT_EQ(VarType(Date(0)), 7);
  EXPECT_EQ(VarType(S("x")), 8);
  EXPECT_EQ(VarType(Object()), 9);
  EXPECT_EQ(VarType(B(true)), 11);
  EXPECT_EQ(VarType(C(0xFF)), 16);
  EXPECT_TRUE(IsNull(nullptr));
  EXPECT_FALSE(IsNull(I(0)));
}

TEST_F(Variants, ConversionsAndTexts) {
  EXPECT_EQ(Str(D(100)), "1.0e+2");
  EXPECT_EQ(Str(D(2.5)), "2.5");
  EXPECT_EQ(Str(D(1)), "1.0");
  EXPECT_EQ(Str(D(0)), "0.0");
  EXPECT_EQ(Str(D(1e10)), "1.0e+10");
  EXPECT_EQ(Str(D(0.1)), "1.0000000000000001e-01");
  EXPECT_EQ(Str(C(0xFF)), "&h0000FF");
  EXPECT_EQ(Str(C(0x123)), "&h000123");
  EXPECT_EQ(Str(C(0x1000000)), "&1000000");
  EXPECT_EQ(Str(I(-42)), "-42");
  EXPECT_EQ(Str(B(true)), "True");
  EXPECT_EQ(Str(nullptr), "");
  EXPECT_TRUE(variantToBoolean(S("TRUE")));
  EXPECT_TRUE(variantToBoolean(S("1")));
  EXPECT_FALSE(variantToBoolean(S("yes")));
  EXPECT_TRUE(variantToBoolean(D(0.5)));
  EXPECT_FALSE(variantToBoolean(D(0.0)));
  EXPECT_EQ(variantToInt(S("-7.9")), -7);
  EXPECT_EQ(variantToInt(D(-7.9)), -7);
  EXPECT_EQ(variantToInt(D(3e9)), INT32_MIN) << "out of range";
  EXPECT_EQ(variantToInt(D(NAN)), INT32_MIN);
  EXPECT_EQ(variantToColor(B(true)), 0xFFFFFF);
  EXPECT_EQ(variantToDouble(B(true)), 1.0);
  EXPECT_EQ(variantToDouble(nullptr), 0.0);
  EXPECT_TRUE(Raised().empty());

  RuntimeObject *date = Hold(VariantToDate(I(-1)));
  EXPECT_EQ(dateTotalSecondsGetter(date, 0), 4294967295.0);
  RuntimeObject *same = Hold(VariantToDate(date));
  EXPECT_EQ(same, date);
  EXPECT_EQ(variantToInt(Object()), 0);
  EXPECT_EQ(VariantToDate(nullptr), nullptr);
  EXPECT_EQ(VariantToDate(Object()), nullptr);
  EXPECT_EQ(Raised(),
            (Names{"typeMismatchException", "NilObjectException", "typeMismatchException"}));
}

TEST_F(Variants, DatesConvertThroughTotalSecondsAndSQLText) {
  RuntimeObject *date = Date(0);
  dateSQLDateTimeSetter(date, 0, string("2024-03-07 09:05:00").Storage());
  EXPECT_EQ(Str(date), "2024-03-07 09:05:00");
  EXPECT_EQ(variantToDouble(date), dateTotalSecondsGetter(date, 0));
  RuntimeObject *parsed = Hold(VariantToDate(S("2024-03-07 09:05:00")));
  EXPECT_EQ(VariantCompare(parsed, date), 0);
  EXPECT_EQ(Describe(VariantAdd(Date(10), I(1))), "5:1.1e+1");
  EXPECT_EQ(VariantAdd(Date(10), B(true)), nullptr);
  EXPECT_EQ(Raised(), Names{"typeMismatchException"});
}

struct OperatorCase {
  const char *name;
  RuntimeObject *(*op)(RuntimeObject *, RuntimeObject *);
};

TEST_F(Variants, ArithmeticByCommonType) {
  EXPECT_EQ(Describe(VariantAdd(I(2), I(3))), "2:5");
  EXPECT_EQ(Describe(VariantAdd(I(2), D(2.5))), "5:4.5");
  EXPECT_EQ(Describe(VariantAdd(S("a"), I(2))), "8:a2");
  EXPECT_EQ(Describe(VariantAdd(I(2), S("a"))), "8:2a");
  EXPECT_EQ(Describe(VariantAdd(B(true), I(1))), "2:2");
  EXPECT_EQ(Describe(VariantAdd(I(INT32_MAX), I(1))), "2:" + std::to_string(INT32_MIN));
  EXPECT_EQ(Describe(VariantSubtract(I(2), I(5))), "2:-3");
  EXPECT_EQ(Describe(VariantSubtract(D(2), I(5))), "5:-3.0");
  EXPECT_EQ(Describe(VariantMultiply(I(6), I(7))), "2:42");
  EXPECT_EQ(Describe(VariantDivide(I(7), I(2))), "5:3.5");
  EXPECT_EQ(Describe(VariantIntegerDivide(I(7), I(2))), "2:3");
  EXPECT_EQ(Describe(VariantIntegerDivide(I(-7), I(2))), "2:-3");
  EXPECT_EQ(Describe(VariantModulo(I(-7), I(2))), "2:-1");
  EXPECT_EQ(Describe(VariantNegate(I(5))), "2:-5");
  EXPECT_EQ(Describe(VariantNegate(D(5))), "5:-5.0");
  EXPECT_EQ(Describe(VariantSubtractRight(I(2), I(5))), "2:3");
  EXPECT_EQ(Describe(VariantDivideRight(I(2), I(5))), "5:2.5");
  EXPECT_TRUE(Raised().empty());

  // No trap: a zero divisor and INT_MIN \ -1.
  EXPECT_EQ(Describe(VariantIntegerDivide(I(7), I(0))), "2:0");
  EXPECT_EQ(Describe(VariantModulo(I(7), nullptr)), "2:0");
  EXPECT_EQ(Describe(VariantIntegerDivide(I(INT32_MIN), I(-1))), "2:" + std::to_string(INT32_MIN));
  EXPECT_EQ(Describe(VariantModulo(I(INT32_MIN), I(-1))), "2:0");
  EXPECT_EQ(Describe(VariantNegate(I(INT32_MIN))), "2:" + std::to_string(INT32_MIN));
  EXPECT_TRUE(Raised().empty());

  const OperatorCase nilRaising[] = {
      {"Add", VariantAdd}, {"Subtract", VariantSubtract}, {"Multiply", VariantMultiply}};
  for (const OperatorCase &c : nilRaising) {
    EXPECT_EQ(c.op(nullptr, I(1)), nullptr) << c.name;
    EXPECT_EQ(Raised(), Names{"NilObjectException"}) << c.name;
  }
  EXPECT_EQ(VariantAdd(I(1), Object()), nullptr);
  EXPECT_EQ(VariantMultiply(I(1), Object()), nullptr);
  EXPECT_EQ(Raised(), (Names{"typeMismatchException", "typeMismatchException"}));
}

TEST_F(Variants, ComparisonsAnswerMinusOneZeroOrOne) {
  EXPECT_EQ(VariantCompare(S("abc"), S("ABC")), 0);
  EXPECT_EQ(VariantCompare(B(true), B(false)), -1);
  EXPECT_EQ(VariantCompare(nullptr, I(5)), 1);
  EXPECT_EQ(VariantCompare(I(5), nullptr), -1);
  EXPECT_EQ(VariantCompare(nullptr, nullptr), 0);
  EXPECT_EQ(VariantCompare(I(INT32_MIN), I(1)), -1) << "no overflow";
  EXPECT_EQ(VariantCompare(C(0), C(INT32_MIN)), 1);
  EXPECT_EQ(VariantCompare(D(1), I(1)), 0);
  EXPECT_EQ(VariantCompare(D(NAN), D(1)), 0);
  RuntimeObject *a = Object();
  RuntimeObject *b = Object();
  EXPECT_EQ(VariantCompare(a, a), 0);
  EXPECT_EQ(VariantCompare(a, b), -VariantCompare(b, a));
  EXPECT_NE(VariantCompare(a, b), 0);
  // Without a common type: unequal, ordered by type code.
  EXPECT_EQ(VariantCompare(I(1), a), -1);
  EXPECT_EQ(VariantCompare(a, B(true)), -1);
  EXPECT_FALSE(VariantEqual(I(1), a));
  EXPECT_TRUE(Raised().empty());
}

TEST_F(Variants, HashesMixWordsAndIgnoreCaseOfText) {
  EXPECT_EQ(VariantHash(S("abc")), VariantHash(S("ABC")));
  EXPECT_EQ(uint32_t(VariantHash(S("ab"))), uint32_t('A' * 31 + 'B'));
  EXPECT_EQ(uint32_t(VariantHash(I(1))), 0x10001u);
  // True equals the Integer 1 and False the Integer 0, so they hash alike.
  EXPECT_EQ(VariantHash(B(true)), VariantHash(I(1)));
  EXPECT_EQ(VariantHash(B(false)), VariantHash(I(0)));
  EXPECT_EQ(VariantHash(nullptr), 0);
  EXPECT_NE(VariantHash(I(1)), VariantHash(D(1)));
  RuntimeObject *o = Object();
  const auto address = uint32_t(reinterpret_cast<uintptr_t>(o));
  EXPECT_EQ(uint32_t(VariantHash(o)), ((address << 16) | (address >> 16)) ^ address);
}

// Texts compare as the language's String comparison compares them, whatever
// their encodings, and texts that compare equal hash alike.
TEST_F(Variants, TextsAreEqualAsStringsAreAndHashAlike) {
  auto text = [&](const string &s) {
    RuntimeObject *v = stringToVariant(s.Storage());
    return Hold(v);
  };
  std::u16string wide = u"\u00C9T\u00C9";
  string utf16;
  utf16.ConstructFromBuffer(reinterpret_cast<const char *>(wide.data()), 6, kEncodingUTF16);
  string latin1;
  latin1.ConstructFromBuffer("\xE9t\xE9", 3, 0x0201);
  string utf8;
  utf8.ConstructFromBuffer("\xC3\xA9t\xC3\xA9", 5, kEncodingUTF8);
  string upper8;
  upper8.ConstructFromBuffer("\xC3\x89T\xC3\x89", 5, kEncodingUTF8);
  RuntimeObject *forms[] = {text(utf8), text(upper8), text(utf16), text(latin1)};
  for (RuntimeObject *a : forms)
    for (RuntimeObject *b : forms) {
      EXPECT_EQ(VariantCompare(a, b), 0);
      EXPECT_EQ(VariantHash(a), VariantHash(b));
    }
  string other;
  other.ConstructFromBuffer("\xC3\xA9ta", 4, kEncodingUTF8);
  EXPECT_NE(VariantCompare(text(utf8), text(other)), 0);
}

// A user class whose Operator_Convert to Integer is a method entry with its
// link name, as the image's class descriptions give it.
int32_t Seven(RuntimeObject *) { return 7; }
int32_t Eight(RuntimeObject *) { return 8; }

TEST_F(Variants, ConversionMethodsAreFoundOncePerClass) {
  RuntimeClass *cls = MakeClass(nullptr, "Converting", 24, {1, 0, 0, 0, 0});
  cls->methods[0] = {reinterpret_cast<void *>(Seven),
                     string("operator_convert%i%o<Converting>").ExtractStringStorage()};
  RuntimeObject *o = Hold(RuntimeNewObject(cls));
  EXPECT_EQ(variantToInt(o), 7);
  cls->methods[0].code = reinterpret_cast<void *>(Eight);
  RuntimeObject *other = Hold(RuntimeNewObject(cls));
  EXPECT_EQ(variantToInt(other), 7) << "the class was searched once";

  RuntimeClass *plain = MakeClass(nullptr, "Plain", 24, {0, 0, 0, 1, 0});
  RuntimeObject *p = Hold(RuntimeNewObject(plain));
  EXPECT_EQ(variantToInt(p), 0);
  EXPECT_EQ(Raised(), Names{"typeMismatchException"});
  plain->staticMethods[0] = {reinterpret_cast<void *>(Seven),
                             string("Operator_Convert%i%o<Plain>").ExtractStringStorage()};
  EXPECT_EQ(variantToInt(p), 0) << "a miss is remembered too";
  Raised();

  RuntimeClass *statics = MakeClass(nullptr, "Statics", 24, {0, 0, 0, 1, 0});
  statics->staticMethods[0] = {reinterpret_cast<void *>(Eight),
                               string("Operator_Convert%i%o<Statics>").ExtractStringStorage()};
  EXPECT_EQ(variantToInt(Hold(RuntimeNewObject(statics))), 8);
}

TEST_F(Variants, IsNumericAndCStr) {
  EXPECT_TRUE(RuntimeIsNumeric(I(1)));
  EXPECT_TRUE(RuntimeIsNumeric(D(1)));
  EXPECT_TRUE(RuntimeIsNumeric(S("12.5")));
  EXPECT_FALSE(RuntimeIsNumeric(S("12a")));
  EXPECT_FALSE(RuntimeIsNumeric(S("")));
  EXPECT_FALSE(RuntimeIsNumeric(B(true)));
  EXPECT_FALSE(RuntimeIsNumeric(nullptr));
  EXPECT_EQ(TakeText(runCStr(nullptr)), "");
  EXPECT_EQ(TakeText(runCStr(S("007"))), "007") << "a String keeps its own text";
  EXPECT_EQ(TakeText(runCStr(D(0.5))), "0.5");
  EXPECT_EQ(TakeText(runCStr(I(42))), "42");
  EXPECT_EQ(TakeText(runCStr(B(false))), "False");
}

TEST_F(Variants, VariantClassListsItsMembersInOrder) {
  ObjectDefinition *defn = VariantClass();
  std::vector<std::string> names;
  for (ObjectMethod *m = defn->methods; m; m = m->next)
    names.push_back(m->name.CString());
  ASSERT_EQ(names.size(), 22u);
  EXPECT_EQ(names[0], "Equals");
  EXPECT_EQ(names[8], "Operator_Compare");
  EXPECT_EQ(names[21], "Operator_ModuloRight");
  int properties = 0;
  for (InstanceVariable *p = defn->properties; p; p = p->next)
    ++properties;
  EXPECT_EQ(properties, 4);
}

TEST(CommonTypes, TableIsSymmetricAndAlertsOnUnknownCodes) {
  const int32_t codes[] = {1, 2, 5, 7, 8, 9, 11, 16};
  for (int32_t a : codes)
    for (int32_t b : codes)
      EXPECT_EQ(ComputeCommonType(a, b), ComputeCommonType(b, a)) << a << "," << b;
  EXPECT_EQ(ComputeCommonType(2, 5), 5);
  EXPECT_EQ(ComputeCommonType(7, 9), 9);
  EXPECT_EQ(ComputeCommonType(11, 16), 16);
  EXPECT_EQ(ComputeCommonType(7, 11), 0);
  AlertRecorder alerts;
  EXPECT_EQ(ComputeCommonType(3, 2), 0);
  EXPECT_EQ(ComputeCommonType(2, 17), 0);
  ASSERT_EQ(alerts.count(), 2u);
  EXPECT_TRUE(ShownAt(alerts.alerts()[0], kCommonTypeAIndexAlert));
  EXPECT_TRUE(ShownAt(alerts.alerts()[1], kCommonTypeBAlert));
}

} // namespace

namespace {

using VariantTextsInGermanLocale = GermanLocaleTest;

TEST_F(VariantTextsInGermanLocale, CStrWritesTheLocalesPointWhileVariantTextsDoNot) {
  RuntimeObject *half = doubleToVariant(0.5);
  EXPECT_EQ(TakeText(runCStr(half)), "0,5");
  EXPECT_EQ(TakeText(variantToString(half)), "5.0e-01");
  RuntimeUnlockObject(half);
  stringStorage *text = NewText("1.5");
  RuntimeObject *decimal = stringToVariant(text);
  RuntimeUnlockString(text);
  EXPECT_EQ(variantToDouble(decimal), 1.5) << "Val reads \".\" whatever the locale";
  RuntimeUnlockObject(decimal);
}

} // namespace
