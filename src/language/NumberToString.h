// Numbers as text for the language: Str and Format.
#pragma once
#include "foundation/String.h"

extern "C" {
// Seven significant digits, plain or exponent notation by magnitude.
stringStorage *StringStr(double value);
stringStorage *StringFormat(double value, stringStorage *pattern);
}
