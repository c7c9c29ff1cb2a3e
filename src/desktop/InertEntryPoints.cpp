// The bodies of the fixed-answer entry points, one per row of
// InertEntryPoints.def.
#include "desktop/InertEntryPoints.h"

#define INERT_ANSWER_Nothing
#define INERT_ANSWER_Nil nullptr
#define INERT_ANSWER_Zero 0
#define INERT_ANSWER_MinusOne -1
#define INERT_ANSWER_Single 0.0f
#define INERT_ANSWER_Double 0.0

extern "C" {
#define INERT_ENTRY(answer, name)                                                                  \
  Inert##answer name() { return INERT_ANSWER_##answer; }
#include "desktop/InertEntryPoints.def"
#undef INERT_ENTRY
}
