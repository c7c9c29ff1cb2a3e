// Reading variants: VarType, the conversion methods found by link name and
// cached per class, the ConvertObjectTo... and variantTo... entry points,
// hashes and the texts of doubles.
#include <cmath>
#include <cstring>
#include <string>

#include "foundation/AssertionAlert.h"
#include "foundation/ByteStrings.h"
#include "foundation/IntMap.h"
#include "foundation/NumberFormat.h"
#include "foundation/TextEncodings.h"
#include "language/DateClass.h"
#include "language/LanguageExceptions.h"
#include "language/Variant.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

enum ConversionTarget { kToInteger, kToColor, kToBoolean, kToDouble, kToString, kToHash, kTargets };

// The start of the link name of a conversion of the object itself.
constexpr const char *kLinkTexts[kTargets] = {
    "Operator_Convert%i%o<", "Operator_Convert%c%o<", "Operator_Convert%b%o<",
    "Operator_Convert%d%o<", "Operator_Convert%s%o<", "Operator_Hash%i%o<",
};

int32_t ClassKey(const RuntimeClass *cls) { return int32_t(reinterpret_cast<intptr_t>(cls)); }

bool ContainsIgnoringCase(const stringStorage *linkName, const char *text) {
  const char *hay = stringStorage::CString(linkName);
  const int hayLength = stringStorage::Length(linkName);
  const int textLength = int(std::strlen(text));
  for (int start = 0; start + textLength <= hayLength; ++start)
    if (ustrcmpi(hay + start, textLength, text, textLength) == 0)
      return true;
  return false;
}

void *FindInEntries(const MethodEntry *entries, int32_t count, const char *text) {
  for (int32_t i = 0; i < count; ++i)
    if (entries[i].linkName && ContainsIgnoringCase(entries[i].linkName, text))
      return entries[i].code;
  return nullptr;
}

// The class's conversion method for the target, searched once per class
// (a miss is remembered too): methods first, then static methods.
void *FindConversion(RuntimeObject *object, ConversionTarget target) {
  static IntMap<void *> sCaches[kTargets];
  RuntimeClass *cls = object->classPtr;
  void *code = nullptr;
  if (sCaches[target].GetEntry(ClassKey(cls), &code))
    return code;
  code = FindInEntries(cls->methods, cls->methodCount, kLinkTexts[target]);
  if (!code)
    code = FindInEntries(cls->staticMethods, cls->staticMethodCount, kLinkTexts[target]);
  sCaches[target].AddEntry(ClassKey(cls), code);
  return code;
}

template <typename R>
R CallConversion(void *code, RuntimeObject *object) {
  return reinterpret_cast<R (*)(RuntimeObject *)>(code)(object);
}

bool IsInstance(RuntimeObject *object, ObjectDefinition *defn) {
  return RuntimeObjectIsa(object, LookupObjectDefinition(defn)) != 0;
}

int32_t Classify(RuntimeObject *object) {
  if (IsInstance(object, BoxedIntegerClass()))
    return kVariantInteger;
  if (IsInstance(object, BoxedStringClass()))
    return kVariantString;
  if (IsInstance(object, BoxedDoubleClass()))
    return kVariantDouble;
  if (IsInstance(object, BoxedBooleanClass()))
    return kVariantBoolean;
  if (IsInstance(object, BoxedColorClass()))
    return kVariantColor;
  if (IsDate(object))
    return kVariantDate;
  return kVariantObject;
}

// An integer-valued conversion: the method, else a Date's TotalSeconds.
bool ConvertToWord(RuntimeObject *object, ConversionTarget target, int32_t *out) {
  if (!object)
    return false;
  if (void *code = FindConversion(object, target)) {
    *out = CallConversion<int32_t>(code, object);
    if (target == kToBoolean)
      *out = *out ? 1 : 0;
    return true;
  }
  if (!IsDate(object))
    return false;
  const double seconds = dateTotalSecondsGetter(object, 0);
  *out = target == kToBoolean ? seconds != 0 : DoubleToInteger(seconds);
  return true;
}

} // namespace

int32_t DoubleToInteger(double x) {
  if (!(x > -2147483649.0 && x < 2147483648.0))
    return INT32_MIN; // NaN too
  return int32_t(x);
}

string VariantDoubleText(double x) {
  std::string text = doubleStr(x, kDoubleStrScientific, 17).CString();
  const size_t e = text.find('e');
  if (e == std::string::npos)
    return string(text.c_str()); // nan, inf
  std::string mantissa = text.substr(0, e), exponent = text.substr(e);
  if (exponent == "e+0")
    exponent.clear();
  const size_t point = mantissa.find('.');
  if (point != std::string::npos) {
    size_t last = mantissa.find_last_not_of('0');
    if (last == point)
      ++last; // one digit stays after the point
    mantissa.erase(last + 1);
  }
  return string((mantissa + exponent).c_str());
}

namespace {

// ASCII letters upper-case without the table, which maps them the same way.
uint32_t HashCharacter(uint32_t h, unsigned long c) {
  if (c < 0x80)
    return h * 31 + uint32_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return h * 31 + uint32_t(UnicodeCharToUpper(c));
}

// Bytes that start no well-formed character count one by one.
uint32_t HashUTF8(const string &text) {
  uint32_t h = 0;
  const auto *p = reinterpret_cast<const unsigned char *>(text.CString());
  const unsigned char *end = p + text.Length();
  unsigned long c;
  while (p < end) {
    UTF8DecodeCharacter(&p, end, &c);
    h = HashCharacter(h, c);
  }
  return h;
}

// Whole units only, as UTF-16 texts compare; a surrogate pair counts as its
// code point, which is how the same text hashes in UTF-8.
uint32_t HashUTF16(const string &text) {
  uint32_t h = 0;
  const int32_t units = text.Length() / 2;
  auto unit = [&](int32_t i) {
    uint16_t u;
    std::memcpy(&u, text.CString() + 2 * i, sizeof u);
    return u;
  };
  for (int32_t i = 0; i < units; ++i) {
    unsigned long c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 &&
        unit(i + 1) <= 0xDFFF)
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
    h = HashCharacter(h, c);
  }
  return h;
}

} // namespace

uint32_t TextHash(const string &text) {
  const uint32_t tag = text.Encoding();
  if (IsUTF16Family(tag))
    return HashUTF16(text);
  // Texts of other encodings meet UTF-8 text in a comparison as their UTF-8
  // form, so they hash as that form.
  if (tag != kEncodingASCII && tag != kEncodingUTF8 && tag != kEncodingUnknown &&
      !text.ContainsOnlyASCII()) {
    const string utf8 = ConvertEncoding(text, kEncodingUTF8);
    if (!utf8.IsEmpty())
      return HashUTF8(utf8);
  }
  return HashUTF8(text);
}

uint32_t MixWords(const uint32_t *words, int32_t count) {
  uint32_t mix = (words[0] << 16) | (words[0] >> 16);
  for (int32_t i = 0; i < count; ++i)
    mix ^= words[i];
  return mix;
}

uint32_t MixDouble(double x) {
  uint32_t words[2];
  std::memcpy(words, &x, sizeof words);
  return MixWords(words, 2);
}

extern "C" int32_t ConvertObjectToInt(RuntimeObject *object, int32_t *out) {
  if (!out) {
    ShowAlert(kConvertToIntAlert);
    return 0;
  }
  return ConvertToWord(object, kToInteger, out);
}

extern "C" int32_t ConvertObjectToColor(RuntimeObject *object, int32_t *out) {
  if (!out) {
    ShowAlert(kConvertToColorAlert);
    return 0;
  }
  return ConvertToWord(object, kToColor, out);
}

extern "C" int32_t ConvertObjectToBoolean(RuntimeObject *object, int32_t *out) {
  return out && ConvertToWord(object, kToBoolean, out);
}

extern "C" int32_t ConvertObjectToDouble(RuntimeObject *object, double *out) {
  if (!object || !out)
    return 0;
  if (void *code = FindConversion(object, kToDouble)) {
    *out = CallConversion<double>(code, object);
    return 1;
  }
  if (!IsDate(object))
    return 0;
  *out = dateTotalSecondsGetter(object, 0);
  return 1;
}

extern "C" int32_t ConvertObjectToString(RuntimeObject *object, stringStorage **out) {
  if (!out) {
    ShowAlert(kConvertToStringAlert);
    return 0;
  }
  if (!object)
    return 0;
  if (void *code = FindConversion(object, kToString)) {
    *out = CallConversion<stringStorage *>(code, object);
    return 1;
  }
  if (!IsDate(object))
    return 0;
  *out = QVDateToDBDate(object);
  return 1;
}

extern "C" int32_t ConvertObjectToDate(RuntimeObject *object, RuntimeObject **out) {
  switch (VarType(object)) {
  case kVariantNil:
    RaiseNilObject();
    return 0;
  case kVariantInteger:
  case kVariantBoolean:
  case kVariantColor:
    *out = NewDate(double(uint32_t(variantToInt(object))));
    return 1;
  case kVariantDouble:
    *out = NewDate(variantToDouble(object));
    return 1;
  case kVariantDate:
    RuntimeLockObject(object);
    *out = object;
    return 1;
  case kVariantString: {
    stringStorage *text = variantToString(object);
    *out = dbDateToQVDate(text);
    RuntimeUnlockString(text);
    return 1;
  }
  default:
    RaiseTypeMismatch();
    return 0;
  }
}

namespace {

template <typename T, typename Convert>
T Unbox(RuntimeObject *variant, Convert convert) {
  T value{};
  if (variant && !convert(variant, &value)) {
    RaiseTypeMismatch();
    return T{};
  }
  return value;
}

} // namespace

extern "C" int32_t variantToInt(RuntimeObject *variant) {
  return Unbox<int32_t>(variant, ConvertObjectToInt);
}

extern "C" int32_t variantToColor(RuntimeObject *variant) {
  return Unbox<int32_t>(variant, ConvertObjectToColor);
}

extern "C" int32_t variantToBoolean(RuntimeObject *variant) {
  return Unbox<int32_t>(variant, ConvertObjectToBoolean);
}

extern "C" double variantToDouble(RuntimeObject *variant) {
  return Unbox<double>(variant, ConvertObjectToDouble);
}

extern "C" stringStorage *variantToString(RuntimeObject *variant) {
  return Unbox<stringStorage *>(variant, ConvertObjectToString);
}

extern "C" RuntimeObject *VariantToDate(RuntimeObject *variant) {
  RuntimeObject *date = nullptr;
  return ConvertObjectToDate(variant, &date) ? date : nullptr;
}

extern "C" int32_t VarType(RuntimeObject *variant) {
  static IntMap<int> sTypes;
  if (!variant)
    return kVariantNil;
  int type = 0;
  const int32_t key = ClassKey(variant->classPtr);
  if (!sTypes.GetEntry(key, &type)) {
    type = Classify(variant);
    sTypes.AddEntry(key, type);
  }
  return type;
}

extern "C" int32_t IsNull(RuntimeObject *variant) { return variant == nullptr; }

extern "C" int32_t VariantHash(RuntimeObject *variant) {
  if (!variant)
    return 0;
  if (void *code = FindConversion(variant, kToHash))
    return CallConversion<int32_t>(code, variant);
  if (IsDate(variant))
    return int32_t(MixDouble(dateTotalSecondsGetter(variant, 0)));
  const auto address = uint32_t(reinterpret_cast<uintptr_t>(variant));
  return int32_t(MixWords(&address, 1));
}

int32_t ComputeCommonType(int32_t a, int32_t b) {
  static const int8_t kIndex[17] = {-1, 0, 1, -1, -1, 2, -1, 3, 4, 5, -1, 6, -1, -1, -1, -1, 7};
  static const int8_t kCommon[8][8] = {
      {0, 0, 0, 0, 0, 0, 0, 0},   {0, 2, 5, 5, 8, 0, 2, 2},   {0, 5, 5, 5, 8, 0, 5, 5},
      {0, 5, 5, 7, 8, 9, 0, 0},   {0, 8, 8, 8, 8, 0, 8, 8},   {0, 0, 0, 9, 0, 9, 0, 0},
      {0, 2, 5, 0, 8, 0, 11, 16}, {0, 2, 5, 0, 8, 0, 16, 16},
  };
  if (a == b)
    return a;
  const bool aKnown = a >= 0 && a <= 16, bKnown = b >= 0 && b <= 16;
  if (!aKnown)
    ShowAlert(kCommonTypeAAlert);
  if (!bKnown)
    ShowAlert(kCommonTypeBAlert);
  if (!aKnown || !bKnown)
    return 0;
  const int32_t aIndex = kIndex[a], bIndex = kIndex[b];
  if (aIndex < 0)
    ShowAlert(kCommonTypeAIndexAlert);
  if (bIndex < 0)
    ShowAlert(kCommonTypeBIndexAlert);
  if (aIndex < 0 || bIndex < 0)
    return 0;
  return kCommon[aIndex][bIndex];
}
