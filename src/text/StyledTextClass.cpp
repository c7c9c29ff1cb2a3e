// The class tables of StyledText, StyleRun, Range, Paragraph and
// StyledTextPrinter, and the StyleRun helpers the run lists share.
#include <iterator>

#include "foundation/AssertionAlert.h"
#include "language/ClassBuilding.h"
#include "language/StringSlices.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "text/StyledTextBaseImp.h"
#include "text/StyledTextEntryPoints.h"
#include "text/StyledTextObjects.h"

bool SameStyleRunAttributes(const StyleRunData *a, const StyleRunData *b) {
  return a->bold == b->bold && a->italic == b->italic && a->underline == b->underline &&
         a->size == b->size && a->textColor == b->textColor &&
         string::Borrow(a->font).EqualsIgnoringCase(string::Borrow(b->font));
}

RuntimeObject *CopyStyleRun(const StyleRunData *run, RunTextPart part, int32_t n) {
  RuntimeObject *object = CreateInstance(StyleRunClass());
  if (!object)
    return nullptr;
  StyleRunData *copy = AsStyleRun(object);
  copy->bold = run->bold;
  copy->italic = run->italic;
  copy->underline = run->underline;
  copy->textColor = run->textColor;
  copy->size = run->size;
  copy->font = RuntimeLockString(run->font);
  switch (part) {
  case RunTextPart::kWhole:
    copy->text = RuntimeLockString(run->text);
    break;
  case RunTextPart::kFirst:
    copy->text = StringDBCSLeft(run->text, n);
    break;
  case RunTextPart::kLast:
    copy->text = StringDBCSRight(run->text, n);
    break;
  }
  return object;
}

RuntimeObject *NewTextRange(int32_t start, int32_t length) {
  RuntimeObject *object = CreateInstance(TextRangeClass());
  if (!object)
    return nullptr;
  auto *range = reinterpret_cast<TextRangeObject *>(object);
  range->startPos = start;
  range->length = length;
  range->endPos = start + length;
  return object;
}

int32_t CharactersIn(stringStorage *text) { return text ? StringDBCSLen(text) : 0; }

namespace {

constexpr AlertSite kConstructAlert{"QVStyledText", 0, "obj"};

void StyledTextConstruct(RuntimeObject *object) {
  if (!object) {
    ShowAlert(kConstructAlert);
    return;
  }
  AsStyledText(object)->body = new StyledTextBaseImp;
  AsStyledText(object)->ownsBody = 1;
}

void StyledTextDestruct(RuntimeObject *object) {
  if (!object)
    return;
  StyledTextObject *st = AsStyledText(object);
  if (st->ownsBody)
    delete st->body;
  st->body = nullptr;
}

// A run holds its font and text counted.
void StyleRunDestruct(RuntimeObject *object) {
  StyleRunData *run = AsStyleRun(object);
  RuntimeUnlockString(run->font);
  RuntimeUnlockString(run->text);
  run->font = run->text = nullptr;
}

PropertyType *const kString = &stringType.type;
PropertyType *const kBoolean = &booleanType.type;
PropertyType *const kInteger = &integerType.type;
PropertyType *const kColor = &colourType.type;

#define ROW(flags, name, type, getter, setter, param)                                              \
  { flags, name, type, EntryCode(getter), #getter, EntryCode(setter), #setter, param, 0 }
#define READ_ROW(flags, name, type, getter, param)                                                 \
  { flags, name, type, EntryCode(getter), #getter, nullptr, nullptr, param, 0 }
#define METHOD(name, result, params, count, function)                                             \
  { name, result, params, count, {{EntryCode(function), #function, {}}, {}}, kPlainMethod,        \
    kConsoleAvailableFlag, 0 }
#define ATTRIBUTE(name, result, params, getter, setter)                                            \
  { name, result, params, 3, {{EntryCode(getter), #getter, {}}, {EntryCode(setter), #setter, {}}}, \
    kAssignsMethod, kConsoleAvailableFlag, 0 }

// Start, Length (1 when omitted), and the assigned value.
#define RANGE_PARAMETERS(name, type)                                                               \
  MethodParameter name[] = {{"Start", kInteger, 0, {}, 0, {}, 0, {}},                              \
                            {"Length", kInteger, 0, {}, 1, {}, 1, {}},                             \
                            {"value", type, 0, {}, 0, {}, 0, {}}};
RANGE_PARAMETERS(sBooleanRange, kBoolean)
RANGE_PARAMETERS(sStringRange, kString)
RANGE_PARAMETERS(sIntegerRange, kInteger)
RANGE_PARAMETERS(sColorRange, kColor)
MethodParameter sIndex[] = {{"Index", kInteger, 0, {}, 0, {}, 0, {}}};
MethodParameter sRunIndex[] = {{"Run", nullptr, 0, {}, 0, {}, 0, {}},
                               {"Index", kInteger, 0, {}, 0, {}, 0, {}}};
MethodParameter sRun[] = {{"Run", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sAlignment[] = {{"Index", kInteger, 0, {}, 0, {}, 0, {}},
                                {"Style", kInteger, 0, {}, 0, {}, 0, {}}};
MethodParameter sText[] = {{"v", kString, 0, {}, 1, {}, 0, {}}};
MethodParameter sBlock[] = {{"x", kInteger, 0, {}, 0, {}, 0, {}},
                            {"y", kInteger, 0, {}, 0, {}, 0, {}},
                            {"height", kInteger, 0, {}, 0, {}, 0, {}}};

} // namespace

ObjectDefinition *StyleRunClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  // clang-format off
  static ObjectInstanceTemplate properties[] = {
      ROW(4, "Bold", kBoolean, boolGetter, boolSetter, 24),
      ROW(4, "Italic", kBoolean, boolGetter, boolSetter, 25),
      ROW(4, "Underline", kBoolean, boolGetter, boolSetter, 26),
      ROW(4, "TextColor", kColor, intGetter, intSetter, 28),
      ROW(4, "Size", kInteger, intGetter, intSetter, 36),
      ROW(4, "Font", kString, stringGetter, stringSetter, 32),
      ROW(4, "Text", kString, stringGetter, stringSetter, 40),
  };
  static PropertyMethod methods[] = {
      METHOD("StyleRun", nullptr, sText, 1, StyleRunQVConstructor),
  };
  // clang-format on
  DefineBuiltinClass(defn, {"StyleRun", sizeof(StyleRunData), nullptr, StyleRunDestruct, true},
                     properties, std::size(properties), methods, std::size(methods));
  return &defn;
}

ObjectDefinition *TextRangeClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      READ_ROW(4, "StartPos", kInteger, intGetter, 24),
      READ_ROW(0x84, "EndPos", kInteger, intGetter, 28),
      READ_ROW(4, "Length", kInteger, intGetter, 32),
  };
  DefineBuiltinClass(defn, {"Range", sizeof(TextRangeObject), nullptr, nullptr, true}, properties,
                     std::size(properties), nullptr, 0);
  return &defn;
}

ObjectDefinition *ParagraphClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      ROW(4, "Alignment", kInteger, intGetter, intSetter, 36),
  };
  ObjectDefinition *range = TextRangeClass();
  DefineBuiltinClass(defn, {"Paragraph", sizeof(ParagraphObject), nullptr, nullptr, true},
                     properties, std::size(properties), nullptr, 0);
  defn.super = range;
  return &defn;
}

ObjectDefinition *StyledTextClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *runType = StyleRunClass()->AsType();
  sRunIndex[0].type = runType;
  sRun[0].type = runType;
  // clang-format off
  static ObjectInstanceTemplate properties[] = {
      ROW(4, "Text", kString, StyledTextGetter, StyledTextSetter, 0),
  };
  static PropertyMethod methods[] = {
      ATTRIBUTE("Bold", kBoolean, sBooleanRange, StyledTextGetBold, StyledTextSetBold),
      ATTRIBUTE("Italic", kBoolean, sBooleanRange, StyledTextGetItalic, StyledTextSetItalic),
      ATTRIBUTE("Underline", kBoolean, sBooleanRange, StyledTextGetUnderline,
                StyledTextSetUnderline),
      ATTRIBUTE("Font", kString, sStringRange, StyledTextGetFont, StyledTextSetFont),
      ATTRIBUTE("Size", kInteger, sIntegerRange, StyledTextGetSize, StyledTextSetSize),
      ATTRIBUTE("TextColor", kColor, sColorRange, StyledTextGetColor, StyledTextSetColor),
      METHOD("StyleRunCount", kInteger, nullptr, 0, StyledTextRunCountGetter),
      METHOD("StyleRun", runType, sIndex, 1, StyledTextRunGetter),
      METHOD("StyleRunRange", TextRangeClass()->AsType(), sIndex, 1, TextRangeGetter),
      METHOD("InsertStyleRun", nullptr, sRunIndex, 2, InsertStyledTextRun),
      METHOD("AppendStyleRun", nullptr, sRun, 1, AppendStyledTextRun),
      METHOD("RemoveStyleRun", nullptr, sIndex, 1, RemoveStyledTextRun),
      METHOD("ParagraphCount", kInteger, nullptr, 0, StyledTextParagraphCountGetter),
      METHOD("Paragraph", ParagraphClass()->AsType(), sIndex, 1, StyledTextParagraphGetter),
      METHOD("ParagraphAlignment", nullptr, sAlignment, 2, StyledTextSetAlignment),
  };
  // clang-format on
  DefineBuiltinClass(defn, {"StyledText", sizeof(StyledTextObject), StyledTextConstruct,
                            StyledTextDestruct, true},
                     properties, std::size(properties), methods, std::size(methods));
  return &defn;
}

ObjectDefinition *StyledTextPrinterClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  static ObjectInstanceTemplate properties[] = {
      READ_ROW(0, "EOF", kBoolean, styledPrinterEOF, 0),
      ROW(0, "Width", kInteger, intGetter, styledPrinterWidthSetter, 28),
  };
  static PropertyMethod methods[] = {
      {"DrawBlock", nullptr, sBlock, 3,
       {{EntryCode(styledPrinterDrawBlock), "styledPrinterDrawBlock", {}}, {}}, kPlainMethod, 0,
       0},
  };
  DefineBuiltinClass(defn, {"StyledTextPrinter", 36, nullptr, StyledTextDestructor, false},
                     properties, std::size(properties), methods, std::size(methods));
  defn.consoleSafe = 0;
  return &defn;
}

void InitStyledTextClass() {
  for (ObjectDefinition *(*builder)() :
       {StyledTextClass, StyleRunClass, ParagraphClass, TextRangeClass})
    addIntrinsicClass(builder());
}
