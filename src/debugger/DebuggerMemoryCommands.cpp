// The inspection commands (memory, objects, variants, arrays, getters, the
// stack crawl, watch lists) and the monitors that tell the debugger of freed
// objects and arrays and of raised exceptions. Every address the debugger
// names, and every pointer found there, is read and written through the
// kernel (GuardedMemory.h); language code runs only on objects of the live
// object list and on arrays whose method table is the array code's.
#include <unistd.h>

#include <cstring>
#include <vector>

#include "debugger/DebuggerStub.h"
#include "debugger/GuardedMemory.h"
#include "foundation/ByteStrings.h"
#include "language/RuntimeArray.h"
#include "language/Variant.h"
#include "runtime/application/CommonRuntimeFunctions.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/exceptions/StackBounds.h"
#include "runtime/exceptions/Unwinder.h"
#include "runtime/exports/ExportTable.h"
#include "runtime/image/LoaderX86.h"
#include "runtime/objects/RuntimeClass.h"
#include "runtime/objects/RuntimeObject.h"
#include "runtime/objects/ValueEntryPoints.h"

namespace {

SimpleVector<int32_t> sObjectWatchList;
SimpleVector<int32_t> sArrayWatchList;

// The longest string DS copies.
constexpr int32_t kMaxInspectedStringBytes = 64 * 1024 * 1024;

bool Is(const string &command, const char *name) {
  return ustrcmpi(command.CString(), command.Length(), name, int(strlen(name))) == 0;
}

std::string StdText(const string &text) { return std::string(text.CString(), text.Length()); }

// The blank-separated fields of an argument; missing ones are empty.
std::vector<string> Fields(const string &argument, size_t wanted) {
  std::vector<string> fields;
  const std::string text = StdText(argument);
  size_t start = 0;
  while (fields.size() < wanted) {
    const size_t blank = text.find(' ', start);
    const std::string field =
        start <= text.size() ? text.substr(start, blank == std::string::npos ? std::string::npos
                                                                             : blank - start)
                             : std::string();
    string value;
    if (!field.empty())
      value.ConstructFromBuffer(field.data(), int(field.size()));
    fields.push_back(value);
    start = blank == std::string::npos ? text.size() + 1 : blank + 1;
  }
  return fields;
}

// The argument as received, a blank and the value.
string Echo(const string &argument, const string &value) {
  string reply = argument;
  reply += " ";
  reply += value;
  return reply;
}

bool IsLiveObject(const void *address) {
  if (!address)
    return false;
  for (RuntimeObject *object = GetActiveObjectListHead(); object; object = object->next)
    if (object == address)
      return true;
  return false;
}

string ClassName(RuntimeObject *object) {
  RuntimeClass *cls = object ? object->classPtr : nullptr;
  return cls ? string::Borrow(cls->name) : string();
}

// hex8 of a live object, a blank and its class name; hex8 of 0 for nil.
string DescribeObject(RuntimeObject *object) {
  string text = Hex8(uint32_t(reinterpret_cast<uintptr_t>(object)));
  if (object) {
    text += " ";
    text += ClassName(object);
  }
  return text;
}

// The string a string variable at the address holds, copied through the
// kernel; false when the variable or its storage cannot be read.
bool ReadStringVariable(uintptr_t address, string *text) {
  uint32_t storageAddress = 0;
  if (!ReadGuardedWord(address, &storageAddress))
    return false;
  *text = string();
  if (!storageAddress)
    return true;
  stringStorage record;
  if (!ReadGuarded(storageAddress, &record, sizeof record) || record.mLength <= 0 ||
      record.mLength > kMaxInspectedStringBytes || !record.mBuffer)
    return false;
  std::string bytes(size_t(record.mLength), '\0');
  if (!ReadGuarded(reinterpret_cast<uintptr_t>(record.mBuffer) + 1, bytes.data(), bytes.size()))
    return false;
  text->ConstructFromBuffer(bytes.data(), int(bytes.size()), record.mEncoding);
  return true;
}

// Whether a getter or a conversion raised: its exception is on its way to a
// handler above the stub, which then neither replies nor goes on.
bool Raised(void *frame) { return ExceptionArmedAbove(frame); }

// The VarType code, then the object or the text. False when a conversion
// raised.
bool DescribeVariant(RuntimeObject *variant, string *text, void *frame) {
  const int32_t type = VarType(variant);
  if (Raised(frame))
    return false;
  *text = Hex8(uint32_t(type));
  if (!variant)
    return true;
  *text += " ";
  if (type == 9) {
    RuntimeObject *object = variantToObject(variant);
    if (Raised(frame))
      return false;
    *text += DescribeObject(object);
    RuntimeUnlockObject(object);
  } else {
    string value = string::Adopt(variantToString(variant));
    if (Raised(frame))
      return false;
    *text += DebuggerConnection::TransferEncodeString(value);
  }
  return true;
}

// The object variable at the address: its object when that is nil or live.
bool ReadObjectVariable(uintptr_t address, RuntimeObject **object) {
  uint32_t value = 0;
  if (!ReadGuardedWord(address, &value))
    return false;
  *object = reinterpret_cast<RuntimeObject *>(uintptr_t(value));
  return !*object || IsLiveObject(*object);
}

bool IsArrayTable(const void *methods) {
  if (!methods)
    return false;
  if (methods == ArrayCastMethods())
    return true;
  for (int32_t type = kIntegerElements; type <= kObjectElements; ++type)
    if (methods == ArrayMethodsFor(type, true) || methods == ArrayMethodsFor(type, false))
      return true;
  return false;
}

void ReplyMemory(const string &argument, const char *reply, int32_t size) {
  uint64_t value = 0;
  if (ReadGuarded(DehexWord(argument), &value, size_t(size)))
    SendToDebugger(reply, Echo(argument, DebuggerConnection::enhex(&value, size)));
}

void GetString(const string &argument) {
  string text;
  if (ReadStringVariable(DehexWord(argument), &text))
    SendToDebugger("VALS", Echo(argument, DebuggerConnection::TransferEncodeString(text)));
}

void GetObject(const string &argument) {
  const uintptr_t address = DehexWord(argument);
  RuntimeObject *object = nullptr;
  if (address && ReadObjectVariable(address, &object))
    SendToDebugger("VALO", Echo(argument, DescribeObject(object)));
}

void GetVariant(const string &argument) {
  const uintptr_t address = DehexWord(argument);
  RuntimeObject *variant = nullptr;
  string text;
  if (address && ReadObjectVariable(address, &variant) &&
      DescribeVariant(variant, &text, CURRENT_FRAME()))
    SendToDebugger("VALV", Echo(argument, text));
}

void GetObjectClass(const string &argument) {
  auto *object = reinterpret_cast<RuntimeObject *>(uintptr_t(DehexWord(argument)));
  if (IsLiveObject(object))
    SendToDebugger("VALOC", Echo(argument, ClassName(object)));
}

void GetArrayBufferAndBounds(const string &argument) {
  const uintptr_t address = DehexWord(argument);
  RuntimeArray record;
  if (!address || !ReadGuarded(address, &record, sizeof record) || !IsArrayTable(record.methods))
    return;
  auto *array = reinterpret_cast<RuntimeArray *>(address);
  string text = Hex8(uint32_t(reinterpret_cast<uintptr_t>(record.buffer)));
  const int32_t dimensions = RuntimeUBound2Param(array, -1);
  for (int32_t d = 1; d <= dimensions; ++d) {
    text += " ";
    text += Hex8(uint32_t(RuntimeUBound2Param(array, d)));
  }
  SendToDebugger("VALABB", Echo(argument, text));
}

// A string record that reads as one: counted, its buffer holding the length
// byte, the text and the terminator.
bool PlausibleString(uintptr_t address, stringStorage *record) {
  if (!ReadGuarded(address, record, sizeof *record) || record->mRefCount <= 0 ||
      record->mLength <= 0 || record->mBufferSize < record->mLength + 2 || !record->mBuffer)
    return false;
  char terminator = 1;
  return ReadGuarded(reinterpret_cast<uintptr_t>(record->mBuffer) + 1 + uintptr_t(record->mLength),
                     &terminator, 1) &&
         terminator == 0;
}

// Stores the decoded string at the address with one reference and lets go
// of the string stored there before. An old value that is not a plausible
// string record is left alone rather than released.
void SetString(const string &addressField, const string &valueField) {
  const uintptr_t address = DehexWord(addressField);
  uint32_t old = 0;
  if (!ReadGuardedWord(address, &old))
    return;
  string value = DebuggerConnection::TransferDecodeString(valueField);
  stringStorage *storage = value.ExtractStringStorage();
  const uint32_t stored = uint32_t(reinterpret_cast<uintptr_t>(storage));
  if (!WriteGuarded(address, &stored, 4)) {
    RuntimeUnlockString(storage);
    return;
  }
  stringStorage record;
  if (!old || !PlausibleString(old, &record))
    return;
  if (record.mRefCount > 1) {
    const int32_t count = record.mRefCount - 1;
    WriteGuarded(old + offsetof(stringStorage, mRefCount), &count, 4);
  } else {
    RuntimeUnlockString(reinterpret_cast<stringStorage *>(uintptr_t(old)));
  }
}

void SetMemory(const string &command, const string &argument) {
  const std::vector<string> fields = Fields(argument, 2);
  const uintptr_t address = DehexWord(fields[0]);
  uint64_t value = 0;
  if (Is(command, "SW")) {
    DebuggerConnection::dehex(fields[1], &value, 4);
    WriteGuarded(address, &value, 4);
  } else if (Is(command, "SB")) {
    DebuggerConnection::dehex(fields[1], &value, 1);
    WriteGuarded(address, &value, 1);
  } else if (Is(command, "SL")) {
    DebuggerConnection::dehex(fields[1], &value, 8);
    WriteGuarded(address, &value, 8);
  } else {
    SetString(fields[0], fields[1]);
  }
}

void RemoveAll(SimpleVector<int32_t> &list, int32_t address) {
  for (int32_t i = list.count() - 1; i >= 0; --i)
    if (list[i] == address)
      list.deleteIdx(i);
}

void WatchList(const string &command, const string &argument) {
  const int32_t address = int32_t(DehexWord(argument));
  if (!address)
    return;
  if (Is(command, "OWLS"))
    sObjectWatchList.push_back(address);
  else if (Is(command, "OWLR"))
    RemoveAll(sObjectWatchList, address);
  else if (Is(command, "AWLS"))
    sArrayWatchList.push_back(address);
  else
    RemoveAll(sArrayWatchList, address);
}

void SendStackFrame(const uint32_t words[2]) {
  if (!words[0] || !words[1])
    return;
  string name;
  int32_t distance = 0;
  if (!ResolveX86LoaderSymbol(reinterpret_cast<const void *>(uintptr_t(words[1])), &name,
                              &distance)) {
    name = string();
    distance = 0;
  }
  string text = Hex8(words[0]);
  text += " ";
  text += DebuggerConnection::TransferEncodeString(name);
  text += " ";
  text += Hex8(uint32_t(distance));
  SendToDebugger("SFR", text);
}

// From the stop frame along the links, each of which must rise strictly and
// stay on the running stack, so that a link changed to point to itself or
// anywhere else ends the crawl.
void StackCrawl() {
  const StackBounds stack = WalkableStack();
  uintptr_t at = reinterpret_cast<uintptr_t>(sStopFrame);
  while (at && stack.contains(at, 8)) {
    uint32_t words[2];
    if (!ReadGuarded(at, words, sizeof words) || !words[0])
      break;
    SendStackFrame(words);
    if (words[0] <= at)
      break;
    at = words[0];
  }
  SendToDebugger("SC", string());
}

enum class GetterResult { kBoolean, kInteger, kSingle, kDouble, kString, kObject, kVariant };

// A getter called through a pointer of its real type: a Single or Double
// result comes back in ST(0), the others in EAX.
template <typename Result> Result CallAs(void *code, RuntimeObject *object, int32_t index) {
  return reinterpret_cast<Result (*)(RuntimeObject *, int32_t)>(code)(object, index);
}

// The reply's value field for the getter's result, which carries one
// reference for a String, Object or Variant; false when there is no reply
// (the getter raised, or an object's count is 1 or less).
bool GetterValue(GetterResult kind, void *code, RuntimeObject *object, int32_t index,
                 string *value, void *frame) {
  switch (kind) {
  case GetterResult::kBoolean:
  case GetterResult::kInteger: {
    const int32_t result = CallAs<int32_t>(code, object, index);
    if (Raised(frame))
      return false;
    *value = kind == GetterResult::kInteger ? Hex8(uint32_t(result)) : string(result ? "01" : "00");
    return true;
  }
  case GetterResult::kSingle: {
    const float result = CallAs<float>(code, object, index);
    *value = DebuggerConnection::enhex(&result, 4);
    return !Raised(frame);
  }
  case GetterResult::kDouble: {
    const double result = CallAs<double>(code, object, index);
    *value = DebuggerConnection::enhex(&result, 8);
    return !Raised(frame);
  }
  case GetterResult::kString: {
    stringStorage *result = CallAs<stringStorage *>(code, object, index);
    if (Raised(frame))
      return false;
    *value = DebuggerConnection::TransferEncodeString(string::Adopt(result));
    return true;
  }
  case GetterResult::kObject: {
    RuntimeObject *result = CallAs<RuntimeObject *>(code, object, index);
    if (Raised(frame))
      return false;
    // A count of 1 or less is the getter's own reference: no reply, but the
    // reference is let go all the same.
    const bool reply = !result || result->refCount > 1;
    if (reply)
      *value = DescribeObject(result);
    RuntimeUnlockObject(result);
    return reply;
  }
  case GetterResult::kVariant: {
    RuntimeObject *result = CallAs<RuntimeObject *>(code, object, index);
    if (Raised(frame))
      return false;
    const bool described = DescribeVariant(result, value, frame);
    if (!Raised(frame))
      RuntimeUnlockObject(result);
    return described;
  }
  }
  return false;
}

// Calls the named export with the object and the index and replies with
// the result. Nothing is replied when the name is unknown, the object is not
// live, or the getter raised.
void CallGetter(const string &command, const string &argument) {
  static const struct {
    const char *command;
    const char *reply;
    GetterResult kind;
  } kGetters[] = {
      {"DPVB", "VALPVB", GetterResult::kBoolean}, {"DPVI", "VALPVI", GetterResult::kInteger},
      {"DPVF", "VALPVF", GetterResult::kSingle},  {"DPVD", "VALPVD", GetterResult::kDouble},
      {"DPVS", "VALPVS", GetterResult::kString},  {"DPVO", "VALPVO", GetterResult::kObject},
      {"DPVV", "VALPVV", GetterResult::kVariant},
  };
  const std::vector<string> fields = Fields(argument, 3);
  auto *object = reinterpret_cast<RuntimeObject *>(uintptr_t(DehexWord(fields[0])));
  const int32_t index = int32_t(DehexWord(fields[2]));
  const RelocEntry *entry = resolveRelocEntry(fields[1].CString());
  if (!entry || !entry->address || !IsLiveObject(object))
    return;
  for (const auto &getter : kGetters) {
    string value;
    if (Is(command, getter.command) &&
        GetterValue(getter.kind, entry->address, object, index, &value, CURRENT_FRAME()))
      SendToDebugger(getter.reply, Echo(argument, value));
  }
}

string HexAddress(const void *address) {
  return string::Adopt(RuntimeHex(int32_t(reinterpret_cast<uintptr_t>(address))));
}

void ObjectDestroyedMonitor(RuntimeObject *object) {
  const int32_t address = int32_t(reinterpret_cast<uintptr_t>(object));
  for (int32_t i = 0; i < sObjectWatchList.count(); ++i) {
    if (sObjectWatchList[i] == address) {
      sObjectWatchList.deleteIdx(i);
      SendToDebugger("ODN", HexAddress(object));
      return;
    }
  }
}

void ArrayDestroyedMonitor(void *array) {
  const int32_t address = int32_t(reinterpret_cast<uintptr_t>(array));
  for (int32_t i = 0; i < sArrayWatchList.count(); ++i)
    if (sArrayWatchList[i] == address)
      SendToDebugger("ADN", HexAddress(array));
}

void ExceptionRaisedMonitor(RuntimeObject *exception) {
  const string name = ClassName(exception);
  if (name.Compare(string("EndException")) == 0)
    return;
  sStopFrame = __builtin_frame_address(0);
  SendToDebugger("TRAP", name);
  RunDebuggerCommandLoop();
}

} // namespace

void InstallDebuggerMonitors() {
  SetObjectDestructionMonitor(ObjectDestroyedMonitor);
  SetExceptionMonitor(ExceptionRaisedMonitor);
  SetArrayDestructionMonitor(ArrayDestroyedMonitor);
}

bool DispatchInspectionCommand(const string &command, const string &argument) {
  if (Is(command, "DW"))
    ReplyMemory(argument, "VAL32", 4);
  else if (Is(command, "DB"))
    ReplyMemory(argument, "VAL8", 1);
  else if (Is(command, "DL"))
    ReplyMemory(argument, "VAL64", 8);
  else if (Is(command, "DS"))
    GetString(argument);
  else if (Is(command, "DO"))
    GetObject(argument);
  else if (Is(command, "DV"))
    GetVariant(argument);
  else if (Is(command, "DOC"))
    GetObjectClass(argument);
  else if (Is(command, "DABB"))
    GetArrayBufferAndBounds(argument);
  else if (Is(command, "TOC"))
    SendToDebugger("TOC", Hex8(uint32_t(reinterpret_cast<uintptr_t>(sTargetGlobalDataAddr))));
  else if (Is(command, "PID"))
    SendToDebugger("PID", string());
  else if (Is(command, "SC"))
    StackCrawl();
  else if (Is(command, "SW") || Is(command, "SB") || Is(command, "SL") || Is(command, "SS"))
    SetMemory(command, argument);
  else if (Is(command, "OWLS") || Is(command, "OWLR") || Is(command, "AWLS") ||
           Is(command, "AWLR"))
    WatchList(command, argument);
  else if (command.Length() == 4 && ustrcmpi(command.CString(), 3, "DPV", 3) == 0)
    CallGetter(command, argument);
  else
    return false;
  return true;
}
