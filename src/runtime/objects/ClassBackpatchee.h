// Something that holds a slot for a class definition and wants to hear when
// the slot has been patched with the definition it names, or could not be.
// The operations keep this slot order (the destructor comes after them); the
// base answers both by doing nothing, so a holder overrides only what it needs.
#pragma once

#include "foundation/String.h"

struct ObjectDefinition;

class ClassBackpatchee {
public:
  virtual void ClassPatchApplied(ObjectDefinition ** /*slot*/, ObjectDefinition * /*defn*/) {}
  virtual void ClassPatchFailed(ObjectDefinition ** /*slot*/, const string & /*name*/) {}
  virtual ~ClassBackpatchee() = default;
};
