#include "database/sql/TextCollation.h"

#include "database/DatabaseFormat.h"

const uint8_t *sqlTextCollation() { return dbformat::macLexoMap; }
