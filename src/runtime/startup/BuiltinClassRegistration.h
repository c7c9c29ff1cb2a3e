// The fixed orders in which start-up registers the built-in classes: the 19
// steps of CreateApplicationClass and the 55 builders of CreateControlClasses.
// Each row names its builder; a row whose builder is not built yet, or
// whose area has not filled its hook, is a placeholder that registers
// nothing.
#pragma once
#include <cstdint>
#include <span>

struct ObjectDefinition;

struct BuiltinClassRow {
  int32_t step; // CreateApplicationClass's step (1 to 19); 0 in the control list
  const char *name;
  ObjectDefinition *(*classBuilder)(); // returns a definition to register
  void (*registrar)();                 // registers its own classes
  bool pending;                        // not built yet (src/PENDING.md)
  bool IsPlaceholder() const { return !classBuilder && !registrar; }
};

std::span<const BuiltinClassRow> ApplicationClassSteps();
std::span<const BuiltinClassRow> ControlClassBuilders();

// Runs the rows in order: a class builder's definition goes to
// addIntrinsicClass (nil registers nothing), a registrar runs.
void RunBuiltinClassRows(std::span<const BuiltinClassRow> rows);

// Every built-in language class in its fixed order; then objects may be
// created (gOKtoCreateObjects).
void CreateApplicationClass();
void CreateControlClasses();

// False until CreateApplicationClass has run.
extern uint8_t gOKtoCreateObjects;
