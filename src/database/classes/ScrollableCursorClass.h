// ScrollableCursor: the rows of a record set from its current row on,
// copied into a list chunk in temporary files so that they can be fetched
// by number; list boxes read it as a data provider.
#pragma once
#include <cstddef>
#include <cstdint>

#include "database/sql/ListChunk.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

// One qualified key name met while copying.
struct ScrollableKeyName {
  ScrollableKeyName *next;
  stringStorage *name;
};

struct ScrollableCursorObject {
  RuntimeObject header;
  ListChunk *rows; // nil when the temporary files could not be made
  int32_t columnCount;
  ScrollableKeyName *keyNamesHead; // in order of first appearance
  ScrollableKeyName *keyNamesTail;
};
static_assert(sizeof(ScrollableCursorObject) == 40);
static_assert(offsetof(ScrollableCursorObject, rows) == 24);
static_assert(offsetof(ScrollableCursorObject, columnCount) == 28);
static_assert(offsetof(ScrollableCursorObject, keyNamesHead) == 32);
static_assert(offsetof(ScrollableCursorObject, keyNamesTail) == 36);

ObjectDefinition *ScrollableCursorClass();

extern "C" {
void scrollableCursorConstructor(RuntimeObject *self, RuntimeObject *recordSet);
int32_t scrollableCursorGetCount(RuntimeObject *self);
// A new DatabaseRecord of row v (from 1), its columns in order; nil outside.
RuntimeObject *scrollableCursorGetRow(RuntimeObject *self, int32_t v);
}
