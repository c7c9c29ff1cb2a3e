// Finding one text inside another: the language's InStr (ignoring case,
// counting characters by the text's encoding) and InStrB (exact bytes), and
// the 0-based forms the rest of the runtime calls.
#pragma once
#include <cstdint>

#include "foundation/String.h"

// The language's search: 1-based start and result, 0 when absent. With
// bytePositions, start and result in UTF-8 text are byte positions. When
// matchedBytes is given it receives the byte length of the text matched,
// which differs from find's length where case mapping changes the width of
// a UTF-8 character.
int32_t InStrHelper(int32_t start, const string &text, const string &find, bool bytePositions,
                    int32_t *matchedBytes = nullptr);
int32_t InStrBHelper(int32_t start, const string &text, const string &find);

// 0-based start and result, -1 when absent. UTF-16 positions count units.
int32_t InStr(int32_t start, const string &text, const string &find, bool bytePositions = false,
              int32_t *matchedBytes = nullptr);
int32_t InStrB(int32_t start, const string &text, const string &find);

extern "C" {
int32_t StringInStr(int32_t start, stringStorage *text, stringStorage *find);
int32_t StringDBCSInStr(int32_t start, stringStorage *text, stringStorage *find);
int32_t StringInStrB(int32_t start, stringStorage *text, stringStorage *find);
int32_t StringExtendsInStr(stringStorage *text, int32_t start, stringStorage *find);
int32_t StringExtendsInStrB(stringStorage *text, int32_t start, stringStorage *find);
}
