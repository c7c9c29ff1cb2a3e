#include "runtime/startup/BuiltinClassRegistration.h"

#include <algorithm>
#include <iterator>

#include "runtime/objects/ClassRegistry.h"
#include "runtime/startup/BuiltinClassBuilders.h"

uint8_t gOKtoCreateObjects = 0;

namespace {

// Constant-initialised, so that the areas can fill it while the program's
// static objects are made.
constinit BuiltinClassHooks sHooks{};

// One row of either list, its builder read from where its kind says.
#define ROW_RUNTIME_CLASS(step, name) {step, #name, name, nullptr, false},
#define ROW_RUNTIME_REGISTRAR(step, name) {step, #name, nullptr, name, false},
#define ROW_AREA_CLASS(step, name) {step, #name, sHooks.name, nullptr, false},
#define ROW_AREA_REGISTRAR(step, name) {step, #name, nullptr, sHooks.name, false},
#define ROW_PENDING_CLASS(step, name) {step, #name, nullptr, nullptr, true},
#define ROW_PENDING_REGISTRAR(step, name) {step, #name, nullptr, nullptr, true},
#define ROW(step, kind, shape, name) ROW_##kind##_##shape(step, name)

// The rows are read afresh on each call, so that they show the hooks as
// they are now.
template <size_t N>
std::span<const BuiltinClassRow> Refresh(BuiltinClassRow (&rows)[N],
                                         const BuiltinClassRow (&now)[N]) {
  std::copy(std::begin(now), std::end(now), rows);
  return rows;
}

} // namespace

BuiltinClassHooks &BuiltinClassHooksToFill() { return sHooks; }
const BuiltinClassHooks &GetBuiltinClassHooks() { return sHooks; }

std::span<const BuiltinClassRow> ApplicationClassSteps() {
  static BuiltinClassRow rows[] = {APPLICATION_CLASS_STEPS(ROW)};
  return Refresh(rows, {APPLICATION_CLASS_STEPS(ROW)});
}

std::span<const BuiltinClassRow> ControlClassBuilders() {
  static BuiltinClassRow rows[] = {CONTROL_CLASS_BUILDERS(ROW)};
  return Refresh(rows, {CONTROL_CLASS_BUILDERS(ROW)});
}

#undef ROW

void RunBuiltinClassRows(std::span<const BuiltinClassRow> rows) {
  for (const BuiltinClassRow &row : rows) {
    if (row.registrar) {
      row.registrar();
    } else if (row.classBuilder) {
      if (ObjectDefinition *defn = row.classBuilder())
        addIntrinsicClass(defn);
    }
  }
}

void CreateApplicationClass() {
  RunBuiltinClassRows(ApplicationClassSteps());
  gOKtoCreateObjects = 1;
}

void CreateControlClasses() { RunBuiltinClassRows(ControlClassBuilders()); }
