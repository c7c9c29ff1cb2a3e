// Boyer-Moore search with the mismatched-character rule only, for the byte
// search of long patterns. The skip table is one shared array, so a search is
// not re-entrant.
#pragma once
#include <cstdint>

// Fills the skip table for the pattern: every byte skips length, a byte of
// the pattern skips its distance from the pattern's last byte.
void initskip(const unsigned char *pattern, int32_t length);
// The 0-based index of the leftmost match of the pattern in the text, or
// textLength when there is none. Fills the skip table first.
int32_t bmsearch(const unsigned char *pattern, int32_t patternLength, const unsigned char *text,
                 int32_t textLength);
