// TextConverter: made only between encodings of one base or of the Japanese
// group. It keeps the two objects' codes: between equal codes it changes the
// tag, between different ones it converts the text.
#include <iterator>

#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

MethodParameter sConvertParams[] = {{"text", &stringType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod sTextConverterMethods[] = {
    {"convert",
     &stringType.type,
     sConvertParams,
     1,
     {{Code(textConverterConvert), "textConverterConvert", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
    {"clear",
     nullptr,
     nullptr,
     0,
     {{Code(textConverterClear), "textConverterClear", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
};

// Mac Japanese, DOS Japanese, ISO-2022-JP, EUC-JP and Shift-JIS.
bool IsJapaneseBase(int32_t base) {
  return base == 1 || base == 0x420 || base == 0x820 || base == 0x920 || base == 0xA01;
}

} // namespace

ObjectDefinition *TextConverterClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("TextConverter");
  defn.objectSize = sizeof(TextConverterObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.methods = FillMethods(sTextConverterMethods, std::size(sTextConverterMethods));
  return &defn;
}

extern "C" {

TextConverterObject *getTextConverter(TextEncodingObject *source, TextEncodingObject *destination) {
  if (!source || !destination)
    return nullptr;
  if (source->base != destination->base &&
      !(IsJapaneseBase(source->base) && IsJapaneseBase(destination->base)))
    return nullptr;
  auto *converter = reinterpret_cast<TextConverterObject *>(CreateInstance(TextConverterClass()));
  if (converter) {
    // The codes, not the bases: UTF-8 and UTF-16 share a base.
    converter->source = source->code;
    converter->destination = destination->code;
  }
  return converter;
}

// Between equal codes only the tag changes. Between different codes the text
// is converted as ConvertEncoding converts it; untagged text is taken to be
// in the source encoding.
stringStorage *textConverterConvert(TextConverterObject *self, stringStorage *text) {
  string source = string::Borrow(text);
  const uint32_t destination = static_cast<uint32_t>(self->destination);
  if (self->source == self->destination)
    return RetaggedCopy(source, destination).ExtractStringStorage();
  if (source.Encoding() == kEncodingUnknown)
    source = RetaggedCopy(source, static_cast<uint32_t>(self->source));
  return ConvertEncoding(source, destination).ExtractStringStorage();
}

void textConverterClear(TextConverterObject *) {}
}
