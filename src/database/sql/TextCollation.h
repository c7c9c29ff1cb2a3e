// The weights by which text values sort: the built-in engine's collation of
// bytes, which its keys use too.
#pragma once
#include <cstdint>

const uint8_t *sqlTextCollation();
