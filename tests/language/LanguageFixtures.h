// Helpers for the language library's tests: exceptions recorded by class
// name, strings made and read as compiled code holds them, and a small class
// whose destructor runs a test's code.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "foundation/String.h"
#include "runtime/ObjectModelFixtures.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/objects/ObjectDefinitionConverter.h"
#include "runtime/objects/ValueEntryPoints.h"
#include "support/AlertRecorder.h"

// Records every exception raised outside compiled code; the raising function
// then returns its neutral result, as it does in front of a handler.
class LanguageTest : public testing::Test {
protected:
  LanguageTest() {
    OutOfBoundsExceptionClass();
    TypeMismatchExceptionClass();
  }
  // The class names raised since the last call.
  Names Raised() {
    Names names = mRecorder.raised();
    mRecorder.raised().clear();
    return names;
  }
  RaiseRecorder mRecorder;
};

// A new storage with one reference, as a runtime function hands it out.
inline stringStorage *NewText(const char *text) { return string(text).ExtractStringStorage(); }
inline std::string TextOf(stringStorage *s) { return stringStorage::CString(s); }
// Reads a result that carries a reference, and drops it.
inline std::string TakeText(stringStorage *s) {
  std::string text = TextOf(s);
  RuntimeUnlockString(s);
  return text;
}

// Objects of a class whose destruction calls the current hook with the object.
struct HookedObjects {
  static std::function<void(RuntimeObject *)> &OnDestroy() {
    static std::function<void(RuntimeObject *)> hook;
    return hook;
  }
  static RuntimeClass *Class() {
    static ObjectDefinition defn;
    if (defn.className.IsEmpty()) {
      defn.className = string("HookedObject");
      defn.objectSize = 24;
      defn.destructor = [](RuntimeObject *object) {
        if (OnDestroy())
          OnDestroy()(object);
      };
      defn.consoleSafe = 1;
    }
    return LookupObjectDefinition(&defn);
  }
  static RuntimeObject *New() { return RuntimeNewObject(Class()); }
};
