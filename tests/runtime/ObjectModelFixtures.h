// Helpers for tests of the object model: classes built the way compiled code
// builds them, and a log that constructors, hooks and destructors write to.
#pragma once
#include <string>
#include <vector>

#include "foundation/String.h"
#include "runtime/exceptions/ExceptionClasses.h"
#include "runtime/exceptions/RuntimeExceptions.h"
#include "runtime/objects/RuntimeObject.h"

// Counts added on top of the base class's tables.
struct ClassShape {
  int32_t methods = 0;
  int32_t interfaces = 0;
  int32_t events = 0;
  int32_t staticMethods = 0;
  int32_t properties = 0;
};

inline RuntimeClass *MakeClass(RuntimeClass *base, const char *name, int32_t instanceSize,
                               ClassShape extra = {}) {
  auto count = [&](int32_t RuntimeClass::*field, int32_t more) {
    return (base ? base->*field : 0) + more;
  };
  RuntimeClass *cls = RuntimeNewClass(base, count(&RuntimeClass::methodCount, extra.methods),
                                      count(&RuntimeClass::interfaceCount, extra.interfaces),
                                      count(&RuntimeClass::eventCount, extra.events),
                                      count(&RuntimeClass::staticMethodCount, extra.staticMethods),
                                      count(&RuntimeClass::propertyCount, extra.properties));
  cls->name = string(name).ExtractStringStorage();
  cls->instanceSize = instanceSize;
  return cls;
}

// A subclass whose named event calls the handler, as compiled code fills a
// subclass's event vector.
inline RuntimeClass *SubclassHandling(RuntimeClass *base, const char *name, int32_t instanceSize,
                                      const char *event, void *handler) {
  RuntimeClass *cls = MakeClass(base, name, instanceSize);
  for (int32_t i = 0; i < cls->eventCount; ++i)
    if (string::Borrow(cls->events[i].name).Compare(string(event)) == 0)
      cls->events[i].vector = handler;
  return cls;
}

inline RuntimeClass *MakeInterface(const char *name, int32_t methods) {
  RuntimeClass *cls = MakeClass(nullptr, name, 0, {methods, 0, 0, 0, 0});
  cls->isAnInterface = 1;
  return cls;
}

// Takes the reference the caller holds and drops it at the end of the scope.
class ObjectHolder {
public:
  explicit ObjectHolder(RuntimeObject *object) : mObject(object) {}
  ~ObjectHolder() { RuntimeUnlockObject(mObject); }
  ObjectHolder(const ObjectHolder &) = delete;
  ObjectHolder &operator=(const ObjectHolder &) = delete;
  RuntimeObject *get() const { return mObject; }
  RuntimeObject *operator->() const { return mObject; }

private:
  RuntimeObject *mObject;
};

template <typename T>
T &FieldAt(RuntimeObject *object, int32_t offset) {
  return *reinterpret_cast<T *>(reinterpret_cast<char *>(object) + offset);
}

// Records the class names of the exceptions that reach the unhandled path
// (every raise outside compiled code does), for as long as it lives.
class RaiseRecorder {
public:
  RaiseRecorder() {
    NilObjectExceptionClass();   // their builders register the classes the
    IllegalCastExceptionClass(); // runtime raises itself
    Raised().clear();
    SetUnhandledExceptionHook(Record);
  }
  ~RaiseRecorder() { SetUnhandledExceptionHook(nullptr); }
  RaiseRecorder(const RaiseRecorder &) = delete;
  RaiseRecorder &operator=(const RaiseRecorder &) = delete;

  std::vector<std::string> &raised() const { return Raised(); }

private:
  static std::vector<std::string> &Raised() {
    static std::vector<std::string> raised;
    return raised;
  }
  static void Record(RuntimeObject *exception) {
    Raised().push_back(stringStorage::CString(exception->classPtr->name));
  }
};

using Names = std::vector<std::string>;
