/* Byte-level looks at the image's strings. */
#ifndef TEXT_BYTES_H
#define TEXT_BYTES_H

#include "CompiledCode.h"

/* Length in bytes (nil is the empty string). */
int32_t ByteLength(stringStorage *text);
/* Whether the two hold the same bytes, whatever their encoding tags: a
 * change of letter case is a change. */
int32_t SameBytes(stringStorage *a, stringStorage *b);
/* Whether the bytes are well-formed UTF-8 (no overlong forms, no
 * surrogates, nothing above U+10FFFF). */
int32_t IsValidUTF8(stringStorage *text);

#endif
