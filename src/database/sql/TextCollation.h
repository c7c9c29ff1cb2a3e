// The weights by which text values sort: the database's collation of bytes.
#pragma once
#include <cstdint>

const uint8_t *sqlTextCollation();
