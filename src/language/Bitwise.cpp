// The Bitwise module: plain 32-bit operations, and shifts confined to the
// field of the low numBits bits (the bits above it keep their values).
#include "language/ClassBuilding.h"
#include "language/Random.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/SimplePropertyTypes.h"

namespace {

// The bits at and above numBits; none when the field is the whole word.
uint32_t HighBits(int32_t numBits) { return uint32_t(numBits) > 31 ? 0u : ~0u << numBits; }

} // namespace

extern "C" int32_t RuntimeBitwiseAnd(int32_t a, int32_t b) { return a & b; }
extern "C" int32_t RuntimeBitwiseOr(int32_t a, int32_t b) { return a | b; }
extern "C" int32_t RuntimeBitwiseXor(int32_t a, int32_t b) { return a ^ b; }
extern "C" int32_t RuntimeOnesCompliment(int32_t value) { return ~value; }

extern "C" int32_t RuntimeBitwiseShiftLeft(int32_t value, int32_t shift, int32_t numBits) {
  if (uint32_t(shift) > 31)
    return 0;
  const uint32_t v = uint32_t(value), high = HighBits(numBits);
  return int32_t((v & high) | (((v & ~high) << shift) & ~high));
}

extern "C" int32_t RuntimeBitwiseShiftRight(int32_t value, int32_t shift, int32_t numBits) {
  if (uint32_t(shift) > 31)
    return 0;
  const uint32_t v = uint32_t(value), high = HighBits(numBits);
  return int32_t((v & high) | (((v & ~high) >> shift) & ~high));
}

void InitBitwiseClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return; // registered once: a module name may be added only once
  PropertyType *integer = &integerType.type;
  static MethodParameter sTwo[] = {{"Value", integer, 0, {}, 0, {}, 0, {}},
                                   {"Value2", integer, 0, {}, 0, {}, 0, {}}};
  static MethodParameter sShift[] = {{"Value", integer, 0, {}, 0, {}, 0, {}},
                                     {"shift", integer, 0, {}, 0, {}, 0, {}},
                                     {"numBits", integer, 0, {}, 0, {}, 0, {}}};
  auto row = [&](const char *name, MethodParameter *params, int32_t count, void *code,
                 const char *exportName) {
    return PropertyMethod{
        name, integer, params, count, {{code, exportName, {}}, {}}, 0, kConsoleAvailableFlag, 0};
  };
  PropertyMethod methods[] = {
      row("BitAnd", sTwo, 2, EntryCode(RuntimeBitwiseAnd), "RuntimeBitwiseAnd"),
      row("BitOr", sTwo, 2, EntryCode(RuntimeBitwiseOr), "RuntimeBitwiseOr"),
      row("BitXor", sTwo, 2, EntryCode(RuntimeBitwiseXor), "RuntimeBitwiseXor"),
      row("ShiftLeft", sShift, 3, EntryCode(RuntimeBitwiseShiftLeft), "RuntimeBitwiseShiftLeft"),
      row("ShiftRight", sShift, 3, EntryCode(RuntimeBitwiseShiftRight), "RuntimeBitwiseShiftRight"),
      row("OnesComplement", sTwo, 1, EntryCode(RuntimeOnesCompliment), "RuntimeOnesCompliment"),
  };
  DefineBuiltinClass(defn, {"Bitwise", 0}, nullptr, 0, methods, 6); // a module: no instances
  AddIntrinsicModule(&defn);
}
