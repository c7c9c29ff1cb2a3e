// Database.SQLSelect: the runtime's own SELECT for engines that cannot run
// SQL text, and the select cursor that walks the joined rows.
#pragma once
#include "database/DatabaseObjects.h"

extern "C" RuntimeObject *databaseSQLSelect(RuntimeObject *database, stringStorage *sql);

// The cursor definition of select cursors.
extern ZANTdbCursorDefinition structureSelectCursor;
