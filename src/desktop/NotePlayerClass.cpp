// NotePlayer: a control without a pane that keeps its Instrument; PlayNote
// is silent (InertEntryPoints.def).
#include <iterator>

#include "controls/ControlClasses.h"
#include "controls/ControlEntryPoints.h"
#include "desktop/InertEntryPoints.h"
#include "desktop/MovieClasses.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

void NoConstruction(RuntimeObject *) {}

ObjectInstanceTemplate sProperties[] = {
    {0, "Instrument", &integerType.type, ACCESSOR(intGetter), ACCESSOR(notePlayerInstrumentSetter),
     static_cast<int32_t>(offsetof(NotePlayerObject, instrument)), 0},
};

MethodParameter sNote[] = {{"pitch", &integerType.type, 0, {}, 0, {}, 0, {}},
                           {"velocity", &integerType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod sMethods[] = {
    METHOD("PlayNote", notePlayerPlayNote, nullptr, sNote, 2),
};

} // namespace

ObjectDefinition *NotePlayerClass() {
  static ObjectDefinition defn;
  if (!defn.className.IsEmpty())
    return &defn;
  DefineControlClass(defn, "NotePlayer", ControlClass(), sizeof(NotePlayerObject), NoConstruction,
                     NilCreatePane);
  defn.constructor = NoConstruction;
  defn.properties = FillInstances(sProperties, std::size(sProperties));
  defn.methods = FillMethods(sMethods, std::size(sMethods));
  return &defn;
}

extern "C" void notePlayerInstrumentSetter(RuntimeObject *self, int32_t, int32_t value) {
  if (!self)
    return;
  reinterpret_cast<NotePlayerObject *>(self)->instrument = value;
}
