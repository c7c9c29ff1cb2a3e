// Styled text without a display: the mask check, the TextStyle byte string,
// the free-standing style-run list and the StyledText classes' entry points.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "foundation/String.h"
#include "foundation/TextEncodings.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"
#include "support/ClassTableChecks.h"
#include "support/SeededMutants.h"
#include "text/EditFieldClass.h"
#include "text/InputMask.h"
#include "text/StyledTextBaseImp.h"
#include "text/StyledTextEntryPoints.h"
#include "text/StyledTextObjects.h"
#include "text/TextStyleRecords.h"

namespace {

string U(const std::string &bytes) {
  string s;
  s.ConstructFromBuffer(bytes.data(), static_cast<int>(bytes.size()), kEncodingUTF8);
  return s;
}

std::string Str(const string &s) { return std::string(s.CString(), s.Length()); }
// The bytes of a string handed over with one reference, which is released.
std::string Took(stringStorage *s) { return Str(string::Adopt(s)); }

// Exceptions raised outside compiled code, as "Class: message".
std::vector<std::string> &Raised() {
  static std::vector<std::string> raised;
  return raised;
}

struct RaisedExceptions {
  RaisedExceptions() {
    UnsupportedFormatExceptionClass();
    NilObjectExceptionClass();
    Raised().clear();
    SetUnhandledExceptionHook([](RuntimeObject *e) {
      auto *object = reinterpret_cast<RuntimeExceptionObject *>(e);
      std::string text = stringStorage::CString(e->classPtr->name);
      if (object->message)
        text += std::string(": ") + stringStorage::CString(object->message);
      Raised().push_back(text);
    });
  }
  ~RaisedExceptions() { SetUnhandledExceptionHook(nullptr); }
};

TEST(InputMask, ChecksTextsAgainstMasks) {
  struct Case {
    const char *mask, *text;
    bool accepted;
    const char *kept, *suffix;
  } cases[] = {
      {"###", "12a", false, "12", ""},
      {"999", "1a2", false, "1", ""},
      {">???", "abc", true, "ABC", ""},
      {"<AAA", "XyZ", true, "xyz", ""},
      {">?x", "ax", true, "Ax", ""},
      {">?x", "aX", false, "A", ""},
      {"(###) ###-####", "", true, "", "("},
      {"(###) ###-####", "(123", true, "(123", ") "},
      {"(###) ###-####", "(123) 456-7890", true, "(123) 456-7890", ""},
      {"##.##", "12.34", true, "12.34", ""},
      {"##.##", "12,34", false, "12", ""},
      {"##.##", "12", true, "12", "."},
      {"\\#", "#", true, "#", ""},
      {"\\#", "1", false, "", ""},
      {"#\\", "1x", false, "1", ""},
      {"#\\", "1", true, "1", ""},
      {"&C", "\xC3\xA9z", true, "\xC3\xA9z", ""},
      {"a#", "-5", false, "", ""},
      {"##", "123", false, "12", ""},
  };
  for (const Case &c : cases) {
    MaskCheck check = CheckInputMask(U(c.text), U(c.mask));
    EXPECT_EQ(check.accepted, c.accepted) << c.mask << " " << c.text;
    EXPECT_EQ(Str(check.text), c.kept) << c.mask << " " << c.text;
    EXPECT_EQ(Str(check.suffix), c.suffix) << c.mask << " " << c.text;
    EXPECT_FALSE(check.reservedCharacter);
  }
  MaskCheck tilde = CheckInputMask(U("1x"), U("#~"));
  EXPECT_TRUE(tilde.reservedCharacter);
  EXPECT_FALSE(tilde.accepted);
  EXPECT_EQ(Str(tilde.text), "1");
}

// The run list with a text of its own, as a StyledText would fill it.
struct RunList {
  StyledTextBaseImp list;
  explicit RunList(const std::string &text) {
    list.RemoveStyleRun(0);
    RuntimeObject *run = CreateInstance(StyleRunClass());
    AsStyleRun(run)->text = U(text).ExtractStringStorage();
    list.AppendStyleRun(run);
    RuntimeUnlockObject(run);
  }
  // The runs after merging, as "text:bold" each.
  std::vector<std::string> Runs() {
    std::vector<std::string> runs;
    for (int32_t i = 0; i < list.StyleRunCount(); ++i) {
      RuntimeObject *run = list.GetStyleRun(i);
      runs.push_back(Str(string::Borrow(AsStyleRun(run)->text)) + ":" +
                     std::to_string(AsStyleRun(run)->bold));
      RuntimeUnlockObject(run);
    }
    return runs;
  }
};

TEST(TextStyleBytes, TheWriterGivesTheRecordsOfEachCharacter) {
  TextStyleAttributes red;
  red.bold = true;
  red.font = string("System");
  red.red = 0xFF;
  red.size = 12;
  TextStyleAttributes plain;
  plain.font = string("system"); // case does not make another font
  plain.size = 12;
  TextStyleWriter hi;
  hi.Append(red, 1);
  hi.Append(plain, 2);
  EXPECT_EQ(hi.Bytes(), std::string("\x11\xFF\x00\x00\x0C\x00\x0C\x00\x0C", 9));

  TextStyleAttributes courier = plain;
  courier.font = string("Courier");
  courier.size = 14;
  TextStyleWriter fonts;
  fonts.Append(courier, 2);
  fonts.Append(plain, 1);
  EXPECT_EQ(fonts.Bytes(), std::string("\x08\x07" "Courier\x0E\x00\x0E\x08\x06system\x0C", 21));
  EXPECT_TRUE(TextStyleWriter().Result().IsEmpty());
}

TEST(TextStyleBytes, TheReaderAppliesRunsAndALongFontNameRoundTrips) {
  RunList hi("Hi!");
  string bytes;
  bytes.ConstructFromBuffer("\x11\xFF\x00\x00\x0C\x00\x0C\x00\x0C", 9);
  EXPECT_EQ(ApplyTextStyle(bytes, 3, hi.list), 3);
  EXPECT_TRUE(hi.list.GetBoldRange(0, 1, nullptr));
  EXPECT_FALSE(hi.list.GetBoldRange(1, 2, nullptr));
  EXPECT_EQ(hi.list.GetColorRange(0, 1, nullptr), 0xFF0000);
  EXPECT_EQ(hi.list.GetColorRange(1, 2, nullptr), 0);
  EXPECT_EQ(hi.list.GetSizeRange(0, 3, nullptr), 12);

  std::string longName(200, 'f');
  TextStyleAttributes a;
  a.font = U(longName);
  a.size = 200; // sizes past 127 are read unsigned
  TextStyleWriter writer;
  writer.Append(a, 2);
  RunList two("ab");
  EXPECT_EQ(ApplyTextStyle(writer.Result(), 2, two.list), 2);
  EXPECT_EQ(Str(two.list.GetFontRange(0, 2, nullptr)), longName);
  EXPECT_EQ(two.list.GetSizeRange(0, 2, nullptr), 200);

  // Records past the text are not read; a text longer than the records
  // keeps its other characters plain.
  RunList shortText("a");
  EXPECT_EQ(ApplyTextStyle(writer.Result(), 1, shortText.list), 1);
  RunList longText("abcdef");
  EXPECT_EQ(ApplyTextStyle(writer.Result(), 6, longText.list), 2);
  EXPECT_EQ(longText.list.GetSizeRange(2, 4, nullptr), 0);
}

TEST(TextStyleBytes, MalformedRecordsEndReadingAndKeepTheRecordsBefore) {
  struct Case {
    std::string bytes;
    int32_t applied;
  } cases[] = {
      {std::string("\x01\x0C\x08\x09" "ab\x0C", 7), 1},          // font length past the end
      {std::string("\x01\x0C\x10\xFF\x00", 5), 1},                // colour cut short
      {std::string("\x01\x0C\x01", 3), 1},                        // size missing
      {std::string("\x01\x0C\xFF\xFF", 4), 1},                    // every flag, nothing after
      {std::string("\x01\x0C\x08\xFF", 4), 1},                    // 255 bytes of name announced
      {std::string("\x08", 1), 0},
  };
  for (const Case &c : cases) {
    RunList list("abc");
    string style;
    style.ConstructFromBuffer(c.bytes.data(), static_cast<int>(c.bytes.size()));
    EXPECT_EQ(ApplyTextStyle(style, 3, list.list), c.applied) << testing::PrintToString(c.bytes);
    if (c.applied) {
      EXPECT_TRUE(list.list.GetBoldRange(0, 1, nullptr));
    }
  }
}

TEST(TextStyleBytes, SeededMutantsOfValidStringsEndCleanly) {
  AlertRecorder alerts;
  TextStyleAttributes a;
  a.bold = true;
  a.font = string("Courier");
  a.red = 200;
  a.size = 14;
  TextStyleAttributes b;
  b.font = string("System");
  b.size = 12;
  TextStyleWriter writer;
  writer.Append(a, 3);
  writer.Append(b, 2);
  writer.Append(a, 1);
  const std::string valid = writer.Bytes();
  std::mt19937 random(38);
  for (int i = 0; i < 10000; ++i) {
    const std::string mutant = SeededMutant(valid, random);
    StyledTextBaseImp list;
    string style;
    style.ConstructFromBuffer(mutant.data(), static_cast<int>(mutant.size()));
    int32_t applied = ApplyTextStyle(style, 6, list);
    ASSERT_GE(applied, 0);
    ASSERT_LE(applied, 6);
  }
  EXPECT_EQ(alerts.count(), 0u);
}

TEST(StyleRunList, ASetterSplitsRunsAndTheNextReadMergesThem) {
  RunList ten("0123456789");
  ten.list.SetBoldRange(3, 4, true);
  ASSERT_EQ(ten.list.EntryCount(), 3);
  std::vector<std::pair<int, int>> spans;
  for (int32_t i = 0; i < 3; ++i)
    spans.emplace_back(ten.list.Entry(i).start, ten.list.Entry(i).length);
  EXPECT_EQ(spans, (std::vector<std::pair<int, int>>{{0, 3}, {3, 4}, {7, 3}}));
  EXPECT_EQ(ten.Runs(), (std::vector<std::string>{"012:0", "3456:1", "789:0"}));
  bool mixed = false;
  EXPECT_TRUE(ten.list.GetBoldRange(2, 3, &mixed));
  EXPECT_TRUE(mixed);
  EXPECT_TRUE(ten.list.GetBoldRange(3, 1, &mixed)); // Bold(start) of one character
  EXPECT_FALSE(mixed);
  ten.list.SetBoldRange(3, 4, false);
  EXPECT_EQ(ten.Runs(), (std::vector<std::string>{"0123456789:0"}));

  ten.list.SetSizeRange(0, 5, 10);
  ten.list.SetSizeRange(5, 5, 12);
  EXPECT_EQ(ten.list.GetSizeRange(4, 2, &mixed), -1);
  ten.list.SetFontRange(0, 5, string("Courier"));
  ten.list.SetFontRange(5, 5, string("COURIER"));
  EXPECT_EQ(Str(ten.list.GetFontRange(0, 10, nullptr)), "Courier");
  ten.list.SetFontRange(5, 5, string("Times"));
  EXPECT_EQ(Str(ten.list.GetFontRange(0, 10, &mixed)), "");
  EXPECT_TRUE(mixed);
}

TEST(StyleRunList, RangesPastTheEndNegativeRangesAndIndexesOutside) {
  RunList list("abc");
  list.list.SetBoldRange(2, 5, true);
  ASSERT_EQ(list.list.EntryCount(), 3);
  EXPECT_EQ(list.list.Entry(2).start, 3);
  EXPECT_EQ(list.list.Entry(2).length, 4); // the run past the end, without text
  EXPECT_EQ(list.Runs(), (std::vector<std::string>{"ab:0", "c:1"}));
  EXPECT_TRUE(list.list.GetBoldRange(2, 10, nullptr)); // readers stop at the last run

  bool mixed = true;
  list.list.SetItalicRange(-1, 2, true);
  list.list.SetItalicRange(0, -2, true);
  EXPECT_FALSE(list.list.GetItalicRange(0, 3, nullptr));
  EXPECT_FALSE(list.list.GetBoldRange(-1, 1, &mixed));
  EXPECT_FALSE(mixed);
  EXPECT_EQ(list.list.GetSizeRange(1, -1, nullptr), 0);
  EXPECT_EQ(Str(list.list.GetFontRange(-3, 1, nullptr)), "");

  const int32_t count = list.list.StyleRunCount();
  for (int32_t index : {-1, count, 1000}) {
    EXPECT_EQ(list.list.GetStyleRun(index), nullptr);
    EXPECT_EQ(list.list.MakeTextRangeForStyle(index), nullptr);
    list.list.RemoveStyleRun(index);
  }
  EXPECT_EQ(list.list.StyleRunCount(), count);
  RuntimeObject *run = CreateInstance(StyleRunClass());
  AsStyleRun(run)->text = U("z").ExtractStringStorage();
  list.list.InsertStyleRun(run, -1); // nothing below 0
  list.list.InsertStyleRun(run, 99); // appended past the end
  EXPECT_EQ(list.Runs().back(), "z:0");

  while (list.list.StyleRunCount())
    list.list.RemoveStyleRun(0);
  list.list.SetBoldRange(0, 0, true); // one empty run at 0
  EXPECT_EQ(list.list.StyleRunCount(), 1);
  RuntimeUnlockObject(run);
}

TEST(StyleRunList, InsertingMovesLaterStartsAndEmptyRunsGoAtTheNextRead) {
  RunList list("cd");
  RuntimeObject *run = CreateInstance(StyleRunClass());
  AsStyleRun(run)->text = U("\xC3\xA9\xC3\xA9" "b").ExtractStringStorage();
  AsStyleRun(run)->bold = 1;
  list.list.InsertStyleRun(run, 0);
  EXPECT_EQ(list.list.Entry(1).start, 3); // characters, not bytes
  RuntimeObject *range = list.list.MakeTextRangeForStyle(1);
  auto *r = reinterpret_cast<TextRangeObject *>(range);
  EXPECT_EQ(r->startPos, 3);
  EXPECT_EQ(r->length, 2);
  EXPECT_EQ(r->endPos, 5);
  RuntimeUnlockObject(range);
  RuntimeUnlockString(AsStyleRun(run)->text);
  AsStyleRun(run)->text = nullptr;
  list.list.InsertStyleRun(run, 1); // an empty run between two others
  EXPECT_EQ(list.list.EntryCount(), 3);
  EXPECT_EQ(list.Runs(), (std::vector<std::string>{"\xC3\xA9\xC3\xA9" "b:1", "cd:0"}));
  RuntimeUnlockObject(run);
}

// A StyledText object made as New makes it.
struct StyledText {
  RuntimeObject *object = CreateInstance(StyledTextClass());
  ~StyledText() { RuntimeUnlockObject(object); }
  void SetText(const std::string &text) {
    string s = U(text);
    StyledTextSetter(object, 0, s.Storage());
  }
  std::string Text() { return Took(StyledTextGetter(object, 0)); }
  std::vector<int32_t> Paragraph(int32_t index) {
    RuntimeObject *p = StyledTextParagraphGetter(object, index);
    if (!p)
      return {};
    auto *paragraph = reinterpret_cast<ParagraphObject *>(p);
    std::vector<int32_t> fields{paragraph->range.startPos, paragraph->range.endPos,
                                paragraph->range.length};
    RuntimeUnlockObject(p);
    return fields;
  }
};

TEST(StyledTextClass, ANewObjectTextAndParagraphs) {
  StyledText st;
  EXPECT_EQ(st.Text(), "");
  EXPECT_EQ(StyledTextRunCountGetter(st.object), 1);
  EXPECT_EQ(StyledTextParagraphCountGetter(st.object), 0);
  EXPECT_EQ(StyledTextParagraphGetter(st.object, 0), nullptr);

  StyledTextSetBold(st.object, 0, 1, 1);
  st.SetText("abc");
  EXPECT_EQ(StyledTextRunCountGetter(st.object), 1);
  EXPECT_EQ(StyledTextGetBold(st.object, 0, 3), 0);
  EXPECT_EQ(st.Text(), "abc");

  struct Case {
    const char *text;
    int32_t paragraphs;
  } cases[] = {{"a\rb\rc", 3},     {"a\r\rb\rc", 3}, {"a\rb\rc\r", 3}, {"\ra\rb\rc", 4},
               {"a\r\nb\r\nc", 3}, {"a\nb\nc", 3}};
  for (const Case &c : cases) {
    st.SetText(c.text);
    EXPECT_EQ(StyledTextParagraphCountGetter(st.object), c.paragraphs) << c.text;
  }
  st.SetText("ab\r\ncd");
  EXPECT_EQ(st.Paragraph(0), (std::vector<int32_t>{0, 2, 2}));
  EXPECT_EQ(st.Paragraph(1), (std::vector<int32_t>{3, 5, 2}));
  EXPECT_EQ(st.Paragraph(7), (std::vector<int32_t>{3, 5, 2})); // outside: the last
  StyledTextSetAlignment(st.object, 1, 3);
  RuntimeObject *p = StyledTextParagraphGetter(st.object, 1);
  EXPECT_EQ(reinterpret_cast<ParagraphObject *>(p)->alignment, 3);
  RuntimeUnlockObject(p);
}

TEST(StyledTextClass, RunsAreCopiesAndNilRunsRaise) {
  RaisedExceptions raised;
  StyledText st;
  RuntimeObject *run = CreateInstance(StyleRunClass());
  string text = U("xy");
  StyleRunQVConstructor(run, text.Storage());
  AsStyleRun(run)->size = 20;
  AppendStyledTextRun(st.object, run);
  AsStyleRun(run)->size = 30; // the StyledText keeps its own copy
  EXPECT_EQ(StyledTextGetSize(st.object, 0, 2), 20);
  RuntimeObject *first = StyledTextRunGetter(st.object, 0);
  RuntimeObject *second = StyledTextRunGetter(st.object, 0);
  EXPECT_NE(first, second);
  EXPECT_EQ(Took(RuntimeLockString(AsStyleRun(first)->text)), "xy");
  EXPECT_EQ(AsStyleRun(second)->size, 20);
  EXPECT_EQ(StyledTextRunGetter(st.object, 5), nullptr);
  EXPECT_EQ(TextRangeGetter(st.object, -1), nullptr);
  RuntimeUnlockObject(first);
  RuntimeUnlockObject(second);
  RuntimeUnlockObject(run);

  int32_t count = StyledTextRunCountGetter(st.object);
  AppendStyledTextRun(st.object, nullptr);
  InsertStyledTextRun(st.object, nullptr, 0);
  EXPECT_EQ(Raised(), (std::vector<std::string>{"NilObjectException", "NilObjectException"}));
  EXPECT_EQ(StyledTextRunCountGetter(st.object), count);
}

TEST(StyledTextClass, AnObjectWithoutABodyAnswersNeutrallyAfterTheAlert) {
  AlertRecorder alerts;
  StyledText st;
  StyledTextBaseImp *body = static_cast<StyledTextBaseImp *>(AsStyledText(st.object)->body);
  AsStyledText(st.object)->body = nullptr;
  EXPECT_EQ(StyledTextGetter(st.object, 0), nullptr);
  EXPECT_EQ(StyledTextRunCountGetter(st.object), 0);
  EXPECT_EQ(StyledTextGetBold(st.object, 0, 1), 0);
  EXPECT_EQ(StyledTextParagraphGetter(st.object, 0), nullptr);
  StyledTextSetBold(st.object, 0, 1, 1);
  EXPECT_TRUE(alerts.saw("std->mImp"));
  AsStyledText(st.object)->body = body;
}

TEST(StyledTextClasses, TablesShapesAndBoundEntryPoints) {
  InitStyledTextClass();
  struct Shape {
    ObjectDefinition *defn;
    const char *name;
    int32_t size;
    ObjectDefinition *super;
    std::vector<std::string> properties;
    std::vector<std::string> methods;
  } shapes[] = {
      {StyledTextClass(), "StyledText", 32, nullptr, {"Text"},
       {"Bold", "Italic", "Underline", "Font", "Size", "TextColor", "StyleRunCount", "StyleRun",
        "StyleRunRange", "InsertStyleRun", "AppendStyleRun", "RemoveStyleRun", "ParagraphCount",
        "Paragraph", "ParagraphAlignment"}},
      {StyleRunClass(), "StyleRun", 44, nullptr,
       {"Bold", "Italic", "Underline", "TextColor", "Size", "Font", "Text"}, {"StyleRun"}},
      {TextRangeClass(), "Range", 36, nullptr, {"StartPos", "EndPos", "Length"}, {}},
      {ParagraphClass(), "Paragraph", 76, TextRangeClass(), {"Alignment"}, {}},
      {StyledTextPrinterClass(), "StyledTextPrinter", 36, nullptr, {"EOF", "Width"},
       {"DrawBlock"}},
  };
  addIntrinsicClass(StyledTextPrinterClass());
  for (const Shape &shape : shapes) {
    EXPECT_STREQ(shape.defn->className.CString(), shape.name);
    EXPECT_EQ(shape.defn->objectSize, shape.size) << shape.name;
    EXPECT_EQ(shape.defn->super, shape.super) << shape.name;
    std::vector<std::string> properties, methods;
    for (const InstanceVariable *p = shape.defn->properties; p; p = p->next) {
      properties.push_back(p->name.CString());
      ExpectAccessorsBound(p);
    }
    for (const ObjectMethod *m = shape.defn->methods; m; m = m->next)
      methods.push_back(m->method.name);
    EXPECT_EQ(properties, shape.properties) << shape.name;
    EXPECT_EQ(methods, shape.methods) << shape.name;
    ExpectMethodsBound(shape.defn);
  }
  const PropertyMethod &bold = StyledTextClass()->methods->method;
  ASSERT_EQ(bold.paramCount, 3);
  EXPECT_TRUE(bold.params[1].hasDefault);
  EXPECT_EQ(bold.params[1].defaultValue, 1);
  EXPECT_EQ(bold.methodKind, kAssignsMethod);

  // The EditField's members typed by these classes.
  const InstanceVariable *last = EditClass()->properties;
  while (last && last->next)
    last = last->next;
  ASSERT_NE(last, nullptr);
  EXPECT_STREQ(last->name.CString(), "StyledText");
  EXPECT_EQ(last->type, StyledTextClass()->AsType());
  const ObjectMethod *printer = EditClass()->methods;
  while (printer && std::string(printer->method.name) != "styledTextPrinter")
    printer = printer->next;
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(printer->method.returnType, StyledTextPrinterClass()->AsType());
}

} // namespace
