#include "language/LineEndings.h"

#include <iterator>
#include <string>
#include <string_view>

#include "foundation/TextEncodings.h"
#include "language/StringReplace.h"
#include "runtime/objects/ClassLookup.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

void *Code(auto function) { return reinterpret_cast<void *>(function); }

string AsciiText(const char *text) { return string(text); }

// The property texts: one shared storage each for the life of the process.
const string &MacEnding() {
  static const string text = AsciiText("\r");
  return text;
}
const string &WindowsEnding() {
  static const string text = AsciiText("\r\n");
  return text;
}
const string &UnixEnding() {
  static const string text = AsciiText("\n");
  return text;
}

MethodParameter sValueParams[] = {{"value", &stringType.type, 0, {}, 0, {}, 0, {}}};

ObjectInstanceTemplate sEndOfLineProperties[] = {
    {kConsoleAvailableFlag, "Macintosh", &stringType.type, Code(getMacEndOfLine), "getMacEndOfLine",
     nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "Windows", &stringType.type, Code(getWin32EndOfLine),
     "getWin32EndOfLine", nullptr, nullptr, 0, 0},
    {kConsoleAvailableFlag, "UNIX", &stringType.type, Code(getUNIXEndOfLine), "getUNIXEndOfLine",
     nullptr, nullptr, 0, 0},
};

PropertyMethod sEndOfLineMethods[] = {
    {"Operator_Convert",
     &stringType.type,
     nullptr,
     0,
     {{Code(RuntimeEndOfLine), "RuntimeEndOfLine", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
    {"Operator_Add",
     &stringType.type,
     sValueParams,
     1,
     {{Code(RuntimeEndOfLineAdd), "RuntimeEndOfLineAdd", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
    {"Operator_AddRight",
     &stringType.type,
     sValueParams,
     1,
     {{Code(RuntimeEndOfLineAddRight), "RuntimeEndOfLineAddRight", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
    {"Operator_Compare",
     &integerType.type,
     sValueParams,
     1,
     {{Code(RuntimeEndOfLineCompare), "RuntimeEndOfLineCompare", {}}, {}},
     kPlainMethod,
     kConsoleAvailableFlag,
     0},
};

string UnitText(std::u16string_view units) {
  string result;
  result.ConstructFromBuffer(reinterpret_cast<const char *>(units.data()),
                             static_cast<int>(units.size() * 2));
  result.SetEncoding(kEncodingUTF16);
  return result;
}

// A line ending in 16-bit units: UTF-16 text as it is, UTF-8 text per code
// point, other text per byte.
string AsUnits(const string &text) {
  if (text.IsEmpty() || IsUTF16Family(text.Encoding()))
    return text;
  std::u16string units;
  const auto *p = reinterpret_cast<const unsigned char *>(text.CString());
  const auto *end = p + text.Length();
  while (p < end) {
    unsigned long c = text.Encoding() == kEncodingUTF8 ? UTF8DecodeAndAdvance(&p, end) : *p++;
    if (c > 0xFFFF) {
      c -= 0x10000;
      units.push_back(static_cast<char16_t>(0xD800 + ((c >> 10) & 0x3FF)));
      c = 0xDC00 + (c & 0x3FF);
    }
    units.push_back(static_cast<char16_t>(c));
  }
  return UnitText(units);
}

} // namespace

ObjectDefinition *EndOfLineClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  defn.className = string("EndOfLine");
  defn.objectSize = sizeof(RuntimeObject);
  defn.staticTables = 1;
  defn.consoleSafe = 1;
  defn.properties = FillInstances(sEndOfLineProperties, std::size(sEndOfLineProperties));
  defn.methods = FillMethods(sEndOfLineMethods, std::size(sEndOfLineMethods));
  return &defn;
}

string ReplaceLineEndings(const string &text, const string &ending) {
  if (text.IsEmpty())
    return text;
  string cr("\r"), lf("\n"), crlf("\r\n"), with = ending;
  if (IsUTF16Family(text.Encoding())) {
    // No text converts into UTF-16, so the endings are written in units here.
    cr = UnitText(u"\r");
    lf = UnitText(u"\n");
    crlf = UnitText(u"\r\n");
    with = AsUnits(ending);
  }
  string result = replaceAll(text, crlf, lf);
  result = replaceAll(result, cr, lf);
  result = replaceAll(result, lf, with);
  if (!result.IsEmpty() && result.Encoding() != text.Encoding())
    result.SetEncoding(text.Encoding());
  return result;
}

extern "C" {

RuntimeObject *RuntimeGetEndOfLineObject() { return CreateInstance(EndOfLineClass()); }

stringStorage *RuntimeEndOfLine() { return string("\n").ExtractStringStorage(); }

stringStorage *RuntimeEndOfLineAdd(RuntimeObject *, stringStorage *value) {
  return (UnixEnding() + string::Borrow(value)).ExtractStringStorage();
}

stringStorage *RuntimeEndOfLineAddRight(RuntimeObject *, stringStorage *value) {
  return (string::Borrow(value) + UnixEnding()).ExtractStringStorage();
}

int32_t RuntimeEndOfLineCompare(RuntimeObject *, stringStorage *value) {
  return UnixEnding().CompareWithCase(string::Borrow(value));
}

stringStorage *getMacEndOfLine(RuntimeObject *, int32_t) {
  return MacEnding().ExtractStringStorage();
}

stringStorage *getWin32EndOfLine(RuntimeObject *, int32_t) {
  return WindowsEnding().ExtractStringStorage();
}

stringStorage *getUNIXEndOfLine(RuntimeObject *, int32_t) {
  return UnixEnding().ExtractStringStorage();
}

stringStorage *RuntimeReplaceLineEndings(stringStorage *text, stringStorage *ending) {
  return ReplaceLineEndings(string::Borrow(text), string::Borrow(ending)).ExtractStringStorage();
}
}
