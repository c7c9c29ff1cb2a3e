// The language's text-encoding objects: TextEncoding (one shared object per
// encoding code, or free-standing ones from GetTextEncoding), the Encodings
// module with its 92 named encodings, TextConverter, and the string
// functions Encoding, DefineEncoding and ConvertEncoding.
#pragma once
#include <cstddef>
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct TextEncodingObject {
  RuntimeObject header;
  int32_t base; // 0x100 for the Unicode family, otherwise the code
  int32_t variant;
  int32_t format;  // 0 UTF-16, 1 UTF-7, 2 UTF-8, 3 UCS-4; 0 otherwise
  int32_t created; // 1, set by every creator
  int32_t code;    // the tag of texts in this encoding
};
static_assert(sizeof(TextEncodingObject) == 44);
static_assert(offsetof(TextEncodingObject, base) == 24);
static_assert(offsetof(TextEncodingObject, variant) == 28);
static_assert(offsetof(TextEncodingObject, format) == 32);
static_assert(offsetof(TextEncodingObject, created) == 36);
static_assert(offsetof(TextEncodingObject, code) == 40);

struct TextConverterObject {
  RuntimeObject header;
  int32_t source;
  int32_t destination;
};
static_assert(sizeof(TextConverterObject) == 32);
static_assert(offsetof(TextConverterObject, source) == 24);
static_assert(offsetof(TextConverterObject, destination) == 28);

// The number of named encodings of the Encodings module.
constexpr int32_t kEncodingsPropertyCount = 92;

ObjectDefinition *TextEncodingClass();
ObjectDefinition *TextConverterClass();
ObjectDefinition *EncodingsClass();

// The text itself when it carries the code already (or is empty), else a
// copy of its bytes tagged with the code.
string RetaggedCopy(const string &text, uint32_t code);

// A new TextEncoding for the code with the code's attributes.
TextEncodingObject *NewTextEncodingForCode(uint32_t code);

extern "C" {
// The shared object of the code with a new reference; nil for kEncodingUnknown.
TextEncodingObject *GetEncodingObjectFromCode(int32_t code);
// The object's code; kEncodingUnknown for nil.
int32_t GetEncodingFromTEObject(TextEncodingObject *encoding);

int32_t textEncodingBaseGetter(TextEncodingObject *self, int32_t index);
int32_t textEncodingVariantGetter(TextEncodingObject *self, int32_t index);
int32_t textEncodingFormatGetter(TextEncodingObject *self, int32_t index);
stringStorage *textEncodingInternetName(TextEncodingObject *self, int32_t index);
stringStorage *TextEncodingChr(TextEncodingObject *self, int32_t codePoint);
int32_t TextEncodingEquals(TextEncodingObject *self, TextEncodingObject *other);

RuntimeObject *GetEncodingsObject();
TextEncodingObject *EncodingsGetter(RuntimeObject *self, int32_t index);
TextEncodingObject *EncodingsGetFromCode(RuntimeObject *self, int32_t code);

TextEncodingObject *getTextEncoding(int32_t base, int32_t variant, int32_t format);
TextEncodingObject *getInternetTextEncoding(stringStorage *name);
TextEncodingObject *getFontTextEncoding(stringStorage *fontName);
TextConverterObject *getTextConverter(TextEncodingObject *source, TextEncodingObject *destination);
stringStorage *textConverterConvert(TextConverterObject *self, stringStorage *text);
void textConverterClear(TextConverterObject *self);
TextEncodingObject *guessJapaneseEncoding(stringStorage *text);

TextEncodingObject *StringGetEncoding(stringStorage *text);
stringStorage *StringSetEncoding(stringStorage *text, TextEncodingObject *encoding);
stringStorage *StringConvertEncoding(stringStorage *text, TextEncodingObject *encoding);
}
