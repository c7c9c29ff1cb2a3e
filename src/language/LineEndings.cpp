#include "language/LineEndings.h"

#include <iterator>

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
  // The endings convert to the text's encoding, and the new ending meets the
  // text in their common encoding, as Replace brings them together.
  const string cr("\r"), lf("\n"), crlf("\r\n");
  string result = replaceAll(text, crlf, lf);
  result = replaceAll(result, cr, lf);
  return replaceAll(result, lf, ending);
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
