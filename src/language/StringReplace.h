// Replacing occurrences of one text in another. The forms without B match
// ignoring case after bringing find and with to the text's encoding; the B
// forms match exact bytes and convert nothing. Occurrences never overlap.
// Results keep the text's tag; an empty result is the empty string.
#pragma once
#include "foundation/String.h"

string replace(const string &text, const string &find, const string &with);
string replaceAll(const string &text, const string &find, const string &with);
string replaceB(const string &text, const string &find, const string &with);
string replaceAllB(const string &text, const string &find, const string &with);
