// The objects of the styled-text classes of the language, at the fixed
// offsets that compiled images and the generic accessors address, and the
// StyleRun helpers the run lists share.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/RuntimeObject.h"

class StyledTextDelegate;
struct ObjectDefinition;

struct StyledTextObject {
  RuntimeObject header;
  StyledTextDelegate *body; // the run list or an edit pane; nil once the pane has gone
  uint8_t ownsBody;         // the object deletes its body with itself
};
static_assert(sizeof(StyledTextObject) == 32);
static_assert(offsetof(StyledTextObject, body) == 24);
static_assert(offsetof(StyledTextObject, ownsBody) == 28);

struct StyleRunData {
  RuntimeObject header;
  uint8_t bold;
  uint8_t italic;
  uint8_t underline;
  int32_t textColor; // 0xRRGGBB
  stringStorage *font;
  int32_t size;
  stringStorage *text;
};
static_assert(sizeof(StyleRunData) == 44);
static_assert(offsetof(StyleRunData, bold) == 24);
static_assert(offsetof(StyleRunData, italic) == 25);
static_assert(offsetof(StyleRunData, underline) == 26);
static_assert(offsetof(StyleRunData, textColor) == 28);
static_assert(offsetof(StyleRunData, font) == 32);
static_assert(offsetof(StyleRunData, size) == 36);
static_assert(offsetof(StyleRunData, text) == 40);

struct TextRangeObject {
  RuntimeObject header;
  int32_t startPos;
  int32_t endPos;
  int32_t length;
};
static_assert(sizeof(TextRangeObject) == 36);
static_assert(offsetof(TextRangeObject, startPos) == 24);
static_assert(offsetof(TextRangeObject, endPos) == 28);
static_assert(offsetof(TextRangeObject, length) == 32);

struct ParagraphObject {
  TextRangeObject range;
  int32_t alignment;
  int32_t reserved[9];
};
static_assert(sizeof(ParagraphObject) == 76);
static_assert(offsetof(ParagraphObject, alignment) == 36);

inline StyleRunData *AsStyleRun(RuntimeObject *object) {
  return reinterpret_cast<StyleRunData *>(object);
}
inline StyledTextObject *AsStyledText(RuntimeObject *object) {
  return reinterpret_cast<StyledTextObject *>(object);
}

ObjectDefinition *StyledTextClass();
ObjectDefinition *StyleRunClass();
ObjectDefinition *TextRangeClass();
ObjectDefinition *ParagraphClass();
ObjectDefinition *StyledTextPrinterClass();
// Registers StyledText, StyleRun, Paragraph and Range.
void InitStyledTextClass();

// Two runs have equal attributes when their styles, size and colour are
// equal and their fonts differ at most in case; text is not compared.
bool SameStyleRunAttributes(const StyleRunData *a, const StyleRunData *b);
// A new StyleRun object (one reference) with the attributes of the run and
// its text whole, or its first or last n characters; nil when none could be
// made.
enum class RunTextPart { kWhole, kFirst, kLast };
RuntimeObject *CopyStyleRun(const StyleRunData *run, RunTextPart part = RunTextPart::kWhole,
                            int32_t n = 0);
// A new Range object for the characters from start, length long.
RuntimeObject *NewTextRange(int32_t start, int32_t length);
// The number of characters of a string.
int32_t CharactersIn(stringStorage *text);
