// The drawing code's font description lives with the foundation types so that
// the runtime's standard fonts share the one layout.
#pragma once
#include "foundation/FontStructure.h"
