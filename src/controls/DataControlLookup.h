// Finding the data control a data-aware control names in its DataSource.
#pragma once
#include "foundation/String.h"

struct RuntimeObject;

// The first control of the window whose Name matches (case ignored) when it
// is an instance of the database's DataControl class; nil otherwise, and
// always nil until that class exists, so that nothing else is ever bound.
RuntimeObject *FindBindableDataControl(RuntimeObject *window, const string &name);
