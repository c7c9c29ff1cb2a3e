// The translation of a parsed WHERE tree into the condition records that an
// engine evaluates itself (UPDATE and DELETE hand it whole to the engine).
#pragma once
#include "database/DatabaseEngine.h"
#include "database/sql/SqlError.h"
#include "database/sql/WhereClause.h"

// The engine's condition tree for the WHERE tree (null for none), to be
// freed with disposeZANTcolumnConstraint. Every operator reaches the engine.
// A comparison with another column cannot be evaluated by a table's engine:
// it is refused (201) rather than compared as the text of the column's name.
bool BuildTableConstraint(const selectConstraint *tree, SqlError &error, ZANTcolumnConstraints *&out);
