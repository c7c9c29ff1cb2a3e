// Database.SQLExecute: the statements other than SELECT, run through an
// engine's table slots when the engine cannot run SQL text itself.
#pragma once
#include <string>
#include <vector>

#include "database/DatabaseObjects.h"
#include "database/sql/SqlError.h"

extern "C" void databaseSQLExecute(RuntimeObject *database, stringStorage *sql);

// Stores the error as the Database's own.
void sqlReportError(DatabaseObject *database, const SqlError &error);

// The column names of a table, in the order of its field schema; false when
// the engine has no field schema or does not know the table.
bool sqlTableColumns(DatabaseObject *database, const std::string &table, std::vector<std::string> &columns);
