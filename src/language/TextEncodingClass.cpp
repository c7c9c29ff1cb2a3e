// TextEncoding objects: the class, the intern table of shared objects and
// the members.
#include <cstring>
#include <iterator>

#include "foundation/IntMap.h"
#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

constexpr int32_t kUnicodeBase = 0x100;
constexpr int32_t kFormatUTF16 = 0, kFormatUCS4 = 3;

MethodParameter sChrParams[] = {{"codePoint", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sEqualsParams[] = {{"otherEncoding", nullptr, 0, {}, 0, {}, 0, {}}};

ObjectInstanceTemplate sTextEncodingProperties[] = {
    {kConsoleAvailableFlag, "base", &integerType.type, Code(textEncodingBaseGetter),
     "textEncodingBaseGetter", nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "variant", &integerType.type, Code(textEncodingVariantGetter),
     "textEncodingVariantGetter", nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "format", &integerType.type, Code(textEncodingFormatGetter),
     "textEncodingFormatGetter", nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "internetName", &stringType.type, Code(textEncodingInternetName),
     "textEncodingInternetName", nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "code", &integerType.type, Code(intGetter), "intGetter", nullptr,
     nullptr, offsetof(TextEncodingObject, code), 0},
};

PropertyMethod sTextEncodingMethods[] = {
    {"Chr",
     &stringType.type,
     sChrParams,
     1,
     {{Code(TextEncodingChr), "TextEncodingChr", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
    {"Equals",
     &booleanType.type,
     sEqualsParams,
     1,
     {{Code(TextEncodingEquals), "TextEncodingEquals", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
};

// The shared objects by code; each keeps its creation reference for the
// life of the process.
IntMap<TextEncodingObject *> &InternTable() {
  static IntMap<TextEncodingObject *> *table = new IntMap<TextEncodingObject *>;
  return *table;
}

string Tagged(const void *bytes, int length, uint32_t encoding) {
  string s;
  s.ConstructFromBuffer(static_cast<const char *>(bytes), length);
  if (!s.IsEmpty())
    s.SetEncoding(encoding);
  return s;
}

// The code point in the object's Unicode format; nil outside Unicode's range.
string UnicodeChr(const TextEncodingObject *self, int32_t codePoint) {
  if (codePoint < 0 || codePoint > 0x10FFFF)
    return string();
  const uint32_t c = static_cast<uint32_t>(codePoint);
  if (self->format == kFormatUCS4)
    return Tagged(&c, 4, self->code);
  if (self->format == kFormatUTF16) {
    uint16_t units[2] = {static_cast<uint16_t>(c), 0};
    if (c <= 0xFFFF)
      return Tagged(units, 2, self->code);
    units[0] = static_cast<uint16_t>(0xD800 + ((c - 0x10000) >> 10));
    units[1] = static_cast<uint16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    return Tagged(units, 4, self->code);
  }
  unsigned char bytes[5];
  return Tagged(bytes, UTF8Encode(c, bytes), self->code);
}

} // namespace

ObjectDefinition *TextEncodingClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("TextEncoding");
  defn.objectSize = sizeof(TextEncodingObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  sEqualsParams[0].type = defn.AsType();
  defn.properties = FillInstances(sTextEncodingProperties, std::size(sTextEncodingProperties));
  defn.methods = FillMethods(sTextEncodingMethods, std::size(sTextEncodingMethods));
  return &defn;
}

string RetaggedCopy(const string &text, uint32_t code) {
  if (text.IsEmpty() || text.Encoding() == code)
    return text;
  string copy;
  copy.ConstructFromBuffer(text.Storage());
  copy.SetEncoding(code);
  return copy;
}

TextEncodingObject *NewTextEncodingForCode(uint32_t code) {
  auto *object = reinterpret_cast<TextEncodingObject *>(CreateInstance(TextEncodingClass()));
  if (!object)
    return nullptr;
  uint32_t base, variant, format;
  GetEncodingAttributes(code, base, variant, format);
  object->base = static_cast<int32_t>(base);
  object->variant = static_cast<int32_t>(variant);
  object->format = static_cast<int32_t>(format);
  object->created = 1;
  object->code = static_cast<int32_t>(code);
  return object;
}

extern "C" {

TextEncodingObject *GetEncodingObjectFromCode(int32_t code) {
  if (static_cast<uint32_t>(code) == kEncodingUnknown)
    return nullptr;
  TextEncodingObject *object = nullptr;
  if (!InternTable().GetEntry(code, &object)) {
    object = NewTextEncodingForCode(static_cast<uint32_t>(code));
    if (!object)
      return nullptr;
    InternTable().AddEntry(code, object);
  }
  RuntimeLockObject(&object->header);
  return object;
}

int32_t GetEncodingFromTEObject(TextEncodingObject *encoding) {
  return encoding ? encoding->code : static_cast<int32_t>(kEncodingUnknown);
}

int32_t textEncodingBaseGetter(TextEncodingObject *self, int32_t) { return self->base; }
int32_t textEncodingVariantGetter(TextEncodingObject *self, int32_t) { return self->variant; }
int32_t textEncodingFormatGetter(TextEncodingObject *self, int32_t) { return self->format; }

stringStorage *textEncodingInternetName(TextEncodingObject *self, int32_t) {
  const char *name = "";
  switch (self->base) {
  case 0:
    name = "macintosh";
    break;
  case 1:
    name = "X-MAC-JAPANESE";
    break;
  case kUnicodeBase: {
    static const char *const kFormats[] = {"UTF-16", "UTF-7", "UTF-8", "UCS-4"};
    if (self->format >= 0 && self->format < 4)
      name = kFormats[self->format];
    break;
  }
  case 0x500:
    name = "windows-1252";
    break;
  case 0x600:
    name = "US-ASCII";
    break;
  case 0xA01:
    name = "Shift_JIS";
    break;
  case static_cast<int32_t>(kEncodingUTF8):
    name = "UTF-8";
    break;
  }
  return string(name).ExtractStringStorage();
}

stringStorage *TextEncodingChr(TextEncodingObject *self, int32_t codePoint) {
  if (!self)
    return nullptr;
  if (IsUTF16Family(static_cast<uint32_t>(self->code) & 0xFFFF))
    return UnicodeChr(self, codePoint).ExtractStringStorage();
  // Most significant byte first, without leading zero bytes (at most three).
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<unsigned char>(static_cast<uint32_t>(codePoint) >> (24 - 8 * i));
  int skip = 0;
  while (skip < 3 && bytes[skip] == 0)
    ++skip;
  return Tagged(bytes + skip, 4 - skip, self->code).ExtractStringStorage();
}

int32_t TextEncodingEquals(TextEncodingObject *self, TextEncodingObject *other) {
  if (self == other)
    return 1;
  if (!self || !other)
    return 0;
  return self->code == other->code;
}

TextEncodingObject *getTextEncoding(int32_t base, int32_t variant, int32_t format) {
  auto *object = reinterpret_cast<TextEncodingObject *>(CreateInstance(TextEncodingClass()));
  if (!object)
    return nullptr;
  object->base = base;
  object->variant = variant;
  object->format = format;
  object->created = 1;
  object->code = base == kUnicodeBase && format == 2 ? static_cast<int32_t>(kEncodingUTF8) : base;
  return object;
}

TextEncodingObject *getInternetTextEncoding(stringStorage *) { return nullptr; }

TextEncodingObject *getFontTextEncoding(stringStorage *fontName) {
  uint32_t code = GetEncodingFromFont(string::Borrow(fontName));
  return code == kEncodingUnknown ? nullptr : NewTextEncodingForCode(code);
}

TextEncodingObject *StringGetEncoding(stringStorage *text) {
  if (!text)
    return GetEncodingObjectFromCode(static_cast<int32_t>(kEncodingASCII));
  if (text->mEncoding == kEncodingUnknown)
    return nullptr;
  return GetEncodingObjectFromCode(static_cast<int32_t>(text->mEncoding));
}

stringStorage *StringSetEncoding(stringStorage *text, TextEncodingObject *encoding) {
  const uint32_t code = static_cast<uint32_t>(GetEncodingFromTEObject(encoding));
  // The argument is borrowed (it may be a constant of the image): a new tag
  // goes on a copy, never on the caller's storage.
  return RetaggedCopy(string::Borrow(text), code).ExtractStringStorage();
}

stringStorage *StringConvertEncoding(stringStorage *text, TextEncodingObject *encoding) {
  const uint32_t code = static_cast<uint32_t>(GetEncodingFromTEObject(encoding));
  string source = string::Borrow(text);
  if (!text || code == text->mEncoding)
    return source.ExtractStringStorage();
  return ConvertEncoding(source, code).ExtractStringStorage();
}
}
