// Passing text between the SQL code (std::string tokens) and the engines
// (the runtime's counted strings).
#pragma once
#include <string>
#include <string_view>

#include "foundation/String.h"

// A runtime string of the bytes, tagged UTF-8 (the language's text).
string sqlString(std::string_view text);
// Storage with one reference for the receiver; null for the empty text.
stringStorage *sqlStorage(std::string_view text);
// The bytes of a runtime string.
std::string sqlStdString(const stringStorage *text);
// The text as an SQL literal: in single quotes, each quote inside doubled.
std::string sqlQuoted(std::string_view text);
