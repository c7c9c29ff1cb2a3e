#ifndef RECURSION_H
#define RECURSION_H
/* Compiled recursion that only the stack check ends. */
#include <stdint.h>

/* Frames entered by Recurse since it was last set to 0. */
extern int32_t gRecursionDepth;
void Recurse(void);

#endif
