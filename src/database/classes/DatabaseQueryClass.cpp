#include "database/classes/DatabaseQueryClass.h"

#include <iterator>
#include <string>

#include "controls/ControlEventFiring.h"
#include "database/DatabaseClasses.h"
#include "database/classes/ScrollableCursorClass.h"
#include "database/sql/RecordSetOperations.h"
#include "database/sql/SelectCursor.h"
#include "database/sql/SqlStrings.h"
#include "runtime/objects/ClassRowMacros.h"
#include "runtime/objects/SimplePropertyTypes.h"
#include "runtime/objects/ValueAccessors.h"

namespace {

DatabaseQueryObject *AsQuery(RuntimeObject *object) {
  return reinterpret_cast<DatabaseQueryObject *>(object);
}

// clang-format off
ObjectHookTemplate QueryHooks[] = {
    {0, "QueryComplete", "", "", nullptr, 0},
};

ObjectInstanceTemplate QueryProperties[] = {
    {0, "Database", nullptr, ACCESSOR(objGetter), ACCESSOR(objSetter), offsetof(DatabaseQueryObject, database), 0},
    {0, "SQLQuery", &stringType.type, ACCESSOR(stringGetter), ACCESSOR(stringSetter),
     offsetof(DatabaseQueryObject, sqlQuery), 0},
};
enum { kDatabaseProperty = 0 };

MethodParameter sRowParams[] = {{"v", &integerType.type, 0, {}, 0, {}, 0, {}}};
MethodParameter sReceiverParams[] = {{"receiver", nullptr, 0, {}, 0, {}, 0, {}}};
MethodParameter sTextParams[] = {{"Str", &stringType.type, 0, {}, 0, {}, 0, {}}};
PropertyMethod QueryMethods[] = {
    METHOD("GetCount", databaseQueryGetCount, &integerType.type, nullptr, 0),
    METHOD("GetRow", databaseQueryGetRow, nullptr, sRowParams, 1),
    METHOD("RunQuery", databaseQueryRunQuery, nullptr, nullptr, 0),
    METHOD("addListDataNotificationReceiver", databaseQueryAddLDNR, nullptr, sReceiverParams, 1),
    METHOD("removeListDataNotificationReceiver", databaseQueryRemoveLDNR, nullptr, sReceiverParams, 1),
    METHOD("PerformAction", databaseQueryRunQuery, nullptr, nullptr, 0),
    METHOD("setString", databaseQuerySetParameter, nullptr, sTextParams, 1),
};
// clang-format on
enum { kGetRowMethod = 1 };

bool CanRun(const DatabaseQueryObject *self) {
  return self->database && stringStorage::Length(self->sqlQuery) > 0;
}

void ReleaseRows(DatabaseQueryObject *self) {
  RuntimeObject *rows = self->rows;
  self->rows = nullptr;
  RuntimeUnlockObject(rows); // nil is fine
}

// Runs the SELECT (when there is a Database and a query) into new rows.
void RunSelect(DatabaseQueryObject *self) {
  ReleaseRows(self);
  if (!CanRun(self))
    return;
  const std::string text = DatabaseQueryText(sqlStdString(self->sqlQuery), sqlStdString(self->parameter));
  stringStorage *sql = sqlStorage(text);
  RuntimeObject *recordSet = databaseSQLSelect(self->database, sql);
  stringStorage::RemoveReference(sql);
  if (!recordSet)
    return;
  if (RuntimeObject *rows = NewDatabaseObject(ScrollableCursorClass())) {
    scrollableCursorConstructor(rows, recordSet);
    self->rows = rows;
  }
  RuntimeUnlockObject(recordSet);
}

void QueryDestructor(RuntimeObject *object) {
  DatabaseQueryObject *self = AsQuery(object);
  ReleaseRows(self);
  self->receivers.Clear();
  RuntimeUnlockObject(self->database);
  self->database = nullptr;
  for (stringStorage **text : {&self->sqlQuery, &self->parameter}) {
    stringStorage::RemoveReference(*text);
    *text = nullptr;
  }
}

} // namespace

std::string DatabaseQueryText(const std::string &query, const std::string &parameter) {
  std::string text;
  size_t from = 0;
  for (size_t at; (at = query.find("%1", from)) != std::string::npos; from = at + 2)
    text.append(query, from, at - from).append(parameter);
  return text.append(query, from, std::string::npos);
}

ObjectDefinition *DatabaseQueryClass() {
  static ObjectDefinition defn;
  if (!StartDatabaseDefinition(defn, "DatabaseQuery", nullptr, sizeof(DatabaseQueryObject)))
    return &defn;
  defn.destructor = QueryDestructor;
  QueryProperties[kDatabaseProperty].type = DatabaseClass()->AsType();
  sReceiverParams[0].type = ListDataNotificationReceiverClass()->AsType();
  QueryMethods[kGetRowMethod].returnType = TupleInterfaceClass()->AsType();
  defn.SetPropertyListHead(FillInstances(QueryProperties, std::size(QueryProperties)));
  defn.methods = FillMethods(QueryMethods, std::size(QueryMethods));
  FillHooks(&defn, QueryHooks, std::size(QueryHooks));
  // Each interface goes first: added last to first, they list in order.
  defn.addInterface(StringInterfaceClass());
  defn.addInterface(ActionNotificationReceiverClass());
  defn.addInterface(ListDataNotifierClass());
  defn.addInterface(ListDataProviderClass());
  return &defn;
}

extern "C" {

void databaseQueryRunQuery(RuntimeObject *object) {
  DatabaseQueryObject *self = AsQuery(object);
  if (!self)
    return;
  RuntimeLockObject(object); // a receiver or the handler may drop the last reference
  self->queried = 1;
  RunSelect(self);
  if (self->depth == 0)
    self->receivers.DataReload();
  FireEvent(object, QueryHooks[0].hook);
  RuntimeUnlockObject(object);
}

int32_t databaseQueryGetCount(RuntimeObject *object) {
  DatabaseQueryObject *self = AsQuery(object);
  if (!self)
    return 0;
  if (!self->queried) {
    self->queried = 1;
    if (CanRun(self)) {
      ++self->depth;
      databaseQueryRunQuery(object);
      --self->depth;
    }
  }
  return scrollableCursorGetCount(self->rows);
}

RuntimeObject *databaseQueryGetRow(RuntimeObject *object, int32_t v) {
  DatabaseQueryObject *self = AsQuery(object);
  return self && self->rows ? scrollableCursorGetRow(self->rows, v) : nullptr;
}

void databaseQueryAddLDNR(RuntimeObject *object, RuntimeObject *receiver) {
  if (object && receiver)
    AsQuery(object)->receivers.AddHandler(receiver);
}

void databaseQueryRemoveLDNR(RuntimeObject *object, RuntimeObject *receiver) {
  if (object && receiver)
    AsQuery(object)->receivers.RemoveHandler(receiver);
}

void databaseQuerySetParameter(RuntimeObject *object, stringStorage *text) {
  DatabaseQueryObject *self = AsQuery(object);
  if (!self)
    return;
  stringStorage::AddReference(text);
  stringStorage::RemoveReference(self->parameter);
  self->parameter = text;
  databaseQueryRunQuery(object);
}

} // extern "C"
