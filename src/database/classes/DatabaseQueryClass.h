// DatabaseQuery: a non-visual control that runs one SELECT and offers its
// rows, copied into a ScrollableCursor, to list boxes and other data-aware
// parts: rows by number, a reload notice to its receivers, an action that
// runs the query and a text that sets its parameter.
#pragma once
#include <cstddef>
#include <cstdint>

#include "controls/DataBindingServices.h"
#include "foundation/String.h"
#include "runtime/objects/ObjectDefinition.h"
#include "runtime/objects/RuntimeObject.h"

struct DatabaseQueryObject {
  RuntimeObject header;
  RuntimeObject *database; // one reference
  stringStorage *sqlQuery;
  int16_t queried;  // set by the first run
  int16_t depth;    // above 0 while GetCount runs the query
  RuntimeObject *rows; // a ScrollableCursor, or nil
  ListDataNotifierHandler receivers;
  stringStorage *parameter; // replaces every "%1"; nil removes it
};
static_assert(sizeof(DatabaseQueryObject) == 48);
static_assert(offsetof(DatabaseQueryObject, database) == 24);
static_assert(offsetof(DatabaseQueryObject, sqlQuery) == 28);
static_assert(offsetof(DatabaseQueryObject, queried) == 32);
static_assert(offsetof(DatabaseQueryObject, depth) == 34);
static_assert(offsetof(DatabaseQueryObject, rows) == 36);
static_assert(offsetof(DatabaseQueryObject, receivers) == 40);
static_assert(offsetof(DatabaseQueryObject, parameter) == 44);

ObjectDefinition *DatabaseQueryClass();

// The query text with every "%1" replaced by the parameter (removed for an
// empty parameter).
std::string DatabaseQueryText(const std::string &query, const std::string &parameter);

extern "C" {
int32_t databaseQueryGetCount(RuntimeObject *self);
RuntimeObject *databaseQueryGetRow(RuntimeObject *self, int32_t v);
void databaseQueryRunQuery(RuntimeObject *self);
void databaseQueryAddLDNR(RuntimeObject *self, RuntimeObject *receiver);
void databaseQueryRemoveLDNR(RuntimeObject *self, RuntimeObject *receiver);
void databaseQuerySetParameter(RuntimeObject *self, stringStorage *text);
}
