// The Encodings module: 92 named encodings behind one getter, and
// GetFromCode.
#include <iterator>

#include "foundation/TextEncodings.h"
#include "language/TextEncodingClasses.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

// How a property's object is made.
enum class Make { Shared, Base, UCS4, SystemFont };

struct NamedEncoding {
  const char *name;
  Make make;
  int32_t value; // the code (Shared) or the base (Base)
};

// Property k (from 1) is row k - 1.
constexpr NamedEncoding kNamedEncodings[kEncodingsPropertyCount] = {
    {"UTF8", Make::Shared, static_cast<int32_t>(kEncodingUTF8)},
    {"UTF16", Make::Shared, static_cast<int32_t>(kEncodingUTF16)},
    {"UCS4", Make::UCS4, 0x100},
    {"MacRoman", Make::Base, 0},
    {"MacJapanese", Make::Base, 1},
    {"MacChineseTrad", Make::Base, 2},
    {"MacKorean", Make::Base, 3},
    {"MacArabic", Make::Base, 4},
    {"MacHebrew", Make::Base, 5},
    {"MacGreek", Make::Base, 6},
    {"MacCyrillic", Make::Base, 7},
    {"MacDevanagari", Make::Base, 9},
    {"MacGurmukhi", Make::Base, 10},
    {"MacGujarati", Make::Base, 11},
    {"MacOriya", Make::Base, 12},
    {"MacBengali", Make::Base, 13},
    {"MacTamil", Make::Base, 14},
    {"MacTelugu", Make::Base, 15},
    {"MacKannada", Make::Base, 16},
    {"MacMalayalam", Make::Base, 17},
    {"MacSinhalese", Make::Base, 18},
    {"MacBurmese", Make::Base, 19},
    {"MacKhmer", Make::Base, 20},
    {"MacThai", Make::Base, 21},
    {"MacLaotian", Make::Base, 22},
    {"MacGeorgian", Make::Base, 23},
    {"MacArmenian", Make::Base, 24},
    {"MacChineseSimp", Make::Base, 25},
    {"MacTibetan", Make::Base, 26},
    {"MacMongolian", Make::Base, 27},
    {"MacEthiopic", Make::Base, 28},
    {"MacCentralEurRoman", Make::Base, 29},
    {"MacVietnamese", Make::Base, 30},
    {"MacExtArabic", Make::Base, 31},
    {"MacSymbol", Make::Base, 33},
    {"MacDingbats", Make::Base, 34},
    {"MacTurkish", Make::Base, 35},
    {"MacCroatian", Make::Base, 36},
    {"MacIcelandic", Make::Base, 37},
    {"MacRomanian", Make::Base, 38},
    {"MacCeltic", Make::Base, 39},
    {"MacGaelic", Make::Base, 40},
    {"ISOLatin1", Make::Base, 0x201},
    {"ISOLatin2", Make::Base, 0x202},
    {"ISOLatin3", Make::Base, 0x203},
    {"ISOLatin4", Make::Base, 0x204},
    {"ISOLatinCyrillic", Make::Base, 0x205},
    {"ISOLatinArabic", Make::Base, 0x206},
    {"ISOLatinGreek", Make::Base, 0x207},
    {"ISOLatinHebrew", Make::Base, 0x208},
    {"ISOLatin5", Make::Base, 0x209},
    {"ISOLatin6", Make::Base, 0x20A},
    {"ISOLatin7", Make::Base, 0x20D},
    {"ISOLatin8", Make::Base, 0x20E},
    {"ISOLatin9", Make::Base, 0x20F},
    {"DOSLatinUS", Make::Base, 0x400},
    {"DOSGreek", Make::Base, 0x405},
    {"DOSBalticRim", Make::Base, 0x406},
    {"DOSLatin1", Make::Base, 0x410},
    {"DOSGreek1", Make::Base, 0x411},
    {"DOSLatin2", Make::Base, 0x412},
    {"DOSCyrillic", Make::Base, 0x413},
    {"DOSTurkish", Make::Base, 0x414},
    {"DOSPortuguese", Make::Base, 0x415},
    {"DOSIcelandic", Make::Base, 0x416},
    {"DOSHebrew", Make::Base, 0x417},
    {"DOSCanadianFrench", Make::Base, 0x418},
    {"DOSArabic", Make::Base, 0x419},
    {"DOSNordic", Make::Base, 0x41A},
    {"DOSRussian", Make::Base, 0x41B},
    {"DOSGreek2", Make::Base, 0x41C},
    {"DOSThai", Make::Base, 0x41D},
    {"DOSJapanese", Make::Base, 0x420},
    {"DOSChineseSimplif", Make::Base, 0x421},
    {"DOSKorean", Make::Base, 0x422},
    {"DOSChineseTrad", Make::Base, 0x423},
    {"WindowsLatin1", Make::Base, 0x500},
    {"WindowsANSI", Make::Base, 0x500},
    {"WindowsLatin2", Make::Base, 0x501},
    {"WindowsCyrillic", Make::Base, 0x502},
    {"WindowsGreek", Make::Base, 0x503},
    {"WindowsLatin5", Make::Base, 0x504},
    {"WindowsHebrew", Make::Base, 0x505},
    {"WindowsArabic", Make::Base, 0x506},
    {"WindowsBalticRim", Make::Base, 0x507},
    {"WindowsVietnamese", Make::Base, 0x508},
    {"WindowsKoreanJohab", Make::Base, 0x510},
    {"ASCII", Make::Shared, static_cast<int32_t>(kEncodingASCII)},
    {"ShiftJIS", Make::Base, 0xA01},
    {"KOI8_R", Make::Base, 0xA02},
    {"MacRomanLatin1", Make::Base, 0xA04},
    {"SystemDefault", Make::SystemFont, 0},
};

ObjectInstanceTemplate sEncodingsProperties[kEncodingsPropertyCount];

MethodParameter sGetFromCodeParams[] = {{"encodingCode", &integerType.type, 0, {}, 0, {}, 0, {}}};

PropertyMethod sEncodingsMethods[] = {
    {"GetFromCode",
     nullptr,
     sGetFromCodeParams,
     1,
     {{Code(EncodingsGetFromCode), "EncodingsGetFromCode", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
};

} // namespace

ObjectDefinition *EncodingsClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  PropertyType *encodingType = TextEncodingClass()->AsType();
  for (int32_t i = 0; i < kEncodingsPropertyCount; ++i)
    sEncodingsProperties[i] = {kConsoleAvailableFlag,
                               kNamedEncodings[i].name,
                               encodingType,
                               Code(EncodingsGetter),
                               "EncodingsGetter",
                               nullptr,
                               nullptr,
                               i + 1,
                               0};
  sEncodingsMethods[0].returnType = encodingType;
  defn.className = string("_Encodings");
  defn.objectSize = sizeof(RuntimeObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.properties = FillInstances(sEncodingsProperties, kEncodingsPropertyCount);
  defn.methods = FillMethods(sEncodingsMethods, std::size(sEncodingsMethods));
  return &defn;
}

extern "C" {

RuntimeObject *GetEncodingsObject() { return CreateInstance(EncodingsClass()); }

TextEncodingObject *EncodingsGetter(RuntimeObject *, int32_t index) {
  if (index < 1 || index > kEncodingsPropertyCount)
    return nullptr;
  const NamedEncoding &named = kNamedEncodings[index - 1];
  switch (named.make) {
  case Make::Shared:
    return GetEncodingObjectFromCode(named.value);
  case Make::UCS4:
    return getTextEncoding(named.value, 0, 3);
  case Make::SystemFont: {
    string system("System");
    return getFontTextEncoding(system.Storage());
  }
  case Make::Base:
    break;
  }
  return getTextEncoding(named.value, 0, 0);
}

TextEncodingObject *EncodingsGetFromCode(RuntimeObject *, int32_t code) {
  return GetEncodingObjectFromCode(code);
}
}
