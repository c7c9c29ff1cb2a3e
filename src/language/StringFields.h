// Fields of a text cut at a delimiter: CountFields, NthField, Split and Join,
// key-value pairs, and the entry points of the replace family. Delimiters
// match ignoring case, after being brought to the text's encoding; one
// without cased characters is found by the exact byte search.
#pragma once
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "foundation/String.h"

struct RuntimeArray;

// 0 for an empty text, 1 for an empty delimiter, else occurrences + 1.
int32_t countFields(const string &text, const string &delimiter);
// The 1-based n-th field; empty past the last field.
string nthField(const string &text, const string &delimiter, int32_t n);
// Appends the fields to the caller's vector.
void split(const string &text, const string &delimiter, SimpleVector<string> &fields);
// Empties the vector (releasing what it holds) and fills it with the fields,
// one reference each. An empty delimiter cuts per character.
void SplitHelper(const string &text, const string &delimiter,
                 SimpleVector<stringStorage *> &fields);
// The pairs of text split at pairSeparator, each split at keyValueSeparator;
// a field without keyValueSeparator is skipped. Stores new[]-allocated
// arrays (the caller deletes them) and answers the number of pairs; nothing
// is allocated when the answer is 0.
int32_t ExtractKeyValuePairs(const string &text, const string &keyValueSeparator,
                             const string &pairSeparator, string **keys, string **values);

extern "C" {
stringStorage *StringReplace(stringStorage *text, stringStorage *find, stringStorage *with);
stringStorage *StringReplaceAll(stringStorage *text, stringStorage *find, stringStorage *with);
stringStorage *StringReplaceB(stringStorage *text, stringStorage *find, stringStorage *with);
stringStorage *StringReplaceAllB(stringStorage *text, stringStorage *find, stringStorage *with);
int32_t StringCountFields(stringStorage *text, stringStorage *delimiter);
stringStorage *StringNthField(stringStorage *text, stringStorage *delimiter, int32_t n);
RuntimeArray *StringSplit(stringStorage *text, stringStorage *delimiter);
stringStorage *StringJoin(RuntimeArray *fields, stringStorage *separator);
}
