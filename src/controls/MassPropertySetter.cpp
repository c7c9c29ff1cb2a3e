// Design-time property values of a compiled window's control, applied in one
// call from the byte stream the compiler wrote: records of a big-endian
// 16-bit property-table index and a value encoded by the property's type.
#include <cstring>

#include "controls/ControlAlerts.h"
#include "controls/ControlEntryPoints.h"
#include "foundation/ByteOrder.h"
#include "foundation/TextEncodings.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

// The reader never looks past the stream's length.
class StreamReader {
public:
  StreamReader(const uint8_t *bytes, int32_t length) : mBytes(bytes), mLength(length) {}
  bool AtEnd() const { return mOffset >= mLength; }
  bool Has(uint32_t count) const { return count <= static_cast<uint32_t>(mLength - mOffset); }
  const uint8_t *Here() const { return mBytes + mOffset; }
  void Skip(uint32_t count) { mOffset += static_cast<int32_t>(count); }

private:
  const uint8_t *mBytes;
  int32_t mLength;
  int32_t mOffset = 0;
};

// The first letter of the type code in a property's link name "Name%code".
char TypeLetter(stringStorage *linkName) {
  const char *percent = std::strchr(stringStorage::CString(linkName), '%');
  return percent ? percent[1] : 0;
}

constexpr uint32_t kUnknownType = ~0u;
constexpr uint32_t kNeedsLength = ~1u;

// The value's byte count by type letter, kNeedsLength for a string (whose
// four-byte length comes first) and kUnknownType for a letter without one.
uint32_t FixedValueSize(char letter) {
  switch (letter) {
  case 'b':
    return 1;
  case 'c':
    return 3;
  case 'i':
  case 'f':
    return 4;
  case 'd':
    return 8;
  case 's':
    return kNeedsLength;
  default:
    return kUnknownType;
  }
}

using IntSetter = void (*)(RuntimeObject *, int32_t, int32_t);
using SingleSetter = void (*)(RuntimeObject *, int32_t, float);
using DoubleSetter = void (*)(RuntimeObject *, int32_t, double);
using StringSetter = void (*)(RuntimeObject *, int32_t, stringStorage *);

template <typename F>
F SetterOf(const PropertyEntry &entry, F generic) {
  return entry.setter == kGenericAccessor ? generic : reinterpret_cast<F>(entry.setter);
}

// Calls the setter with the value at bytes, as compiled code would assign it.
void Apply(RuntimeObject *object, const PropertyEntry &entry, char letter, const uint8_t *bytes,
           uint32_t size) {
  switch (letter) {
  case 'b':
    SetterOf<IntSetter>(entry, boolSetter)(object, entry.param, bytes[0] ? 1 : 0);
    break;
  case 'c':
    SetterOf<IntSetter>(entry, intSetter)(object, entry.param,
                                          bytes[0] << 16 | bytes[1] << 8 | bytes[2]);
    break;
  case 'i':
    SetterOf<IntSetter>(entry, intSetter)(object, entry.param,
                                          static_cast<int32_t>(nloadlong(bytes)));
    break;
  case 'f': {
    uint32_t bits = nloadlong(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    SetterOf<SingleSetter>(entry, singleSetter)(object, entry.param, value);
    break;
  }
  case 'd':
    SetterOf<DoubleSetter>(entry, doubleSetter)(object, entry.param, hloaddouble8(bytes));
    break;
  case 's': {
    // No storage of length 0 exists: an empty text is the empty string.
    string text;
    text.ConstructFromBuffer(reinterpret_cast<const char *>(bytes + 4),
                             static_cast<int>(size - 4));
    text.SetEncoding(kEncodingUTF8);
    SetterOf<StringSetter>(entry, stringSetter)(object, entry.param, text.Storage());
    break;
  }
  default:
    break;
  }
}

} // namespace

extern "C" void RuntimeMassPropertySetter(RuntimeObject *object, stringStorage *stream) {
  if (!object || !stream || !object->classPtr)
    return;
  const RuntimeClass *cls = object->classPtr;
  StreamReader in(reinterpret_cast<const uint8_t *>(stringStorage::CString(stream)),
                  stringStorage::Length(stream));
  RuntimeLockObject(object); // a setter may run code that drops it
  while (!in.AtEnd()) {
    if (!in.Has(2)) {
      ShowAlert(kTruncatedPropertiesAlert);
      break;
    }
    uint16_t index = nloadshort(in.Here());
    in.Skip(2);
    // A bad index leaves the record's length unknown: the rest cannot be read.
    if (index >= cls->propertyCount) {
      ShowAlert(kPropertyIndexAlert);
      break;
    }
    const PropertyEntry &entry = cls->properties[index];
    char letter = TypeLetter(entry.name);
    uint32_t size = FixedValueSize(letter);
    if (size == kUnknownType) {
      ShowAlert(kPropertyTypeAlert, "Illegal type in mass property input.");
      continue;
    }
    if (size == kNeedsLength) {
      uint32_t n = in.Has(4) ? nloadlong(in.Here()) : ~0u;
      size = n > ~0u - 4 ? ~0u : 4 + n;
    }
    if (!in.Has(size)) {
      ShowAlert(kTruncatedPropertiesAlert);
      break;
    }
    if (!entry.setter)
      ShowAlert(kReadOnlyPropertyAlert, "Assignment to a read-only property.");
    else
      Apply(object, entry, letter, in.Here(), size);
    in.Skip(size);
  }
  RuntimeUnlockObject(object);
}
