// Text as Pango takes it: valid UTF-8, converted from the string's encoding
// tag. Mac Roman and the Latin-1 tags are mapped byte by byte, UTF-16 is
// recoded; bytes that are not valid in their encoding become U+FFFD, so the
// rest of the text still draws.
#pragma once
#include <string>

#include "foundation/String.h"

std::string TextForPango(const string &text);
