#include "runtime/objects/ValueAccessors.h"

#include <cstring>

namespace {

// Fields are read and written through memcpy: a plain load or store that
// makes no assumption about the field's alignment.
template <typename T>
T Load(RuntimeObject *object, int32_t offset) {
  T value;
  std::memcpy(&value, reinterpret_cast<char *>(object) + offset, sizeof value);
  return value;
}

template <typename T>
void Store(RuntimeObject *object, int32_t offset, T value) {
  std::memcpy(reinterpret_cast<char *>(object) + offset, &value, sizeof value);
}

// Stores the new reference before the old one is dropped: the release may
// run a destructor that reads the field, and the two may be the same.
template <typename T, typename Retain, typename Release>
void ReplaceReference(RuntimeObject *object, int32_t offset, T *value, Retain retain,
                      Release release) {
  T *old = Load<T *>(object, offset);
  retain(value);
  Store(object, offset, value);
  release(old);
}

} // namespace

extern "C" {

int32_t intGetter(RuntimeObject *object, int32_t offset) { return Load<int32_t>(object, offset); }
void intSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  Store(object, offset, value);
}

int32_t shortGetter(RuntimeObject *object, int32_t offset) { return Load<int16_t>(object, offset); }
void shortSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  Store(object, offset, static_cast<int16_t>(value));
}

int32_t boolGetter(RuntimeObject *object, int32_t offset) { return Load<int8_t>(object, offset); }
void boolSetter(RuntimeObject *object, int32_t offset, int32_t value) {
  Store(object, offset, static_cast<uint8_t>(value));
}

float singleGetter(RuntimeObject *object, int32_t offset) { return Load<float>(object, offset); }
void singleSetter(RuntimeObject *object, int32_t offset, float value) {
  Store(object, offset, value);
}

double doubleGetter(RuntimeObject *object, int32_t offset) { return Load<double>(object, offset); }
void doubleSetter(RuntimeObject *object, int32_t offset, double value) {
  Store(object, offset, value);
}

stringStorage *stringGetter(RuntimeObject *object, int32_t offset) {
  stringStorage *s = Load<stringStorage *>(object, offset);
  stringStorage::AddReference(s);
  return s;
}
void stringSetter(RuntimeObject *object, int32_t offset, stringStorage *value) {
  ReplaceReference(object, offset, value, stringStorage::AddReference,
                   stringStorage::RemoveReference);
}

stringStorage *StringToSSGetter(RuntimeObject *object, int32_t offset) {
  auto *member = reinterpret_cast<string *>(reinterpret_cast<char *>(object) + offset);
  return member->ExtractStringStorage();
}
void SSToStringSetter(RuntimeObject *object, int32_t offset, stringStorage *value) {
  auto *member = reinterpret_cast<string *>(reinterpret_cast<char *>(object) + offset);
  *member = string::Borrow(value);
}

RuntimeObject *objGetter(RuntimeObject *object, int32_t offset) {
  RuntimeObject *value = Load<RuntimeObject *>(object, offset);
  RuntimeLockObject(value);
  return value;
}
void objSetter(RuntimeObject *object, int32_t offset, RuntimeObject *value) {
  ReplaceReference(object, offset, value, RuntimeLockObject, RuntimeUnlockObject);
}

} // extern "C"
