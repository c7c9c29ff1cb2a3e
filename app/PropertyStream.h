/*
 * Mass-property streams, the one-call way a window's compiled code gives a
 * new object all its design-time property values: records of a 16-bit
 * big-endian index into the object's run-time property table and the value
 * in the encoding its type letter asks for. The indices are looked up by
 * property name in the object's class, so the image follows the runtime's
 * tables as they are; a property the class lacks is left out.
 */
#ifndef PROPERTY_STREAM_H
#define PROPERTY_STREAM_H

#include "RuntimeClasses.h"

enum { kPropertyStreamRoom = 480 };

typedef struct {
  RuntimeObject *target;
  int32_t overflowed;
  stringStorage storage; /* the stream as a string, pointing at bytes */
  unsigned char bytes[kPropertyStreamRoom + 2];
} PropertyStream;

void StreamBegin(PropertyStream *stream, RuntimeObject *target);
/* A Boolean, Integer, Color (0xRRGGBB), Single or Double property. */
void StreamNumber(PropertyStream *stream, const char *name, int32_t value);
/* A String property. */
void StreamText(PropertyStream *stream, const char *name, stringStorage *text);
/* Hands the stream to RuntimeMassPropertySetter. */
void StreamApply(PropertyStream *stream);

#endif
