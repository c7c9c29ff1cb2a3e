// The language's line endings: the EndOfLine module class, whose String form
// is this platform's LF and whose properties give the classic CR, CR LF and
// LF, and ReplaceLineEndings.
#pragma once
#include <cstdint>

#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

ObjectDefinition *EndOfLineClass();

// Every CR LF, CR and LF of text replaced by ending; the result keeps the
// text's tag. UTF-16 text is rewritten unit by unit.
string ReplaceLineEndings(const string &text, const string &ending);

extern "C" {
RuntimeObject *RuntimeGetEndOfLineObject();
stringStorage *RuntimeEndOfLine();
stringStorage *RuntimeEndOfLineAdd(RuntimeObject *self, stringStorage *value);
stringStorage *RuntimeEndOfLineAddRight(RuntimeObject *self, stringStorage *value);
int32_t RuntimeEndOfLineCompare(RuntimeObject *self, stringStorage *value);
stringStorage *getMacEndOfLine(RuntimeObject *self, int32_t index);
stringStorage *getWin32EndOfLine(RuntimeObject *self, int32_t index);
stringStorage *getUNIXEndOfLine(RuntimeObject *self, int32_t index);
stringStorage *RuntimeReplaceLineEndings(stringStorage *text, stringStorage *ending);
}
