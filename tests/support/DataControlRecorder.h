// A stand-in for the database's data control in tests of data-aware
// controls: a DataControl class (a plain RectControl subclass whose pane is
// an empty container) and the registrations a control makes with it,
// logged as "add <kind> <control's Name>", "del <kind> <Name>" and
// "repopulate". Linking this file
// replaces the do-nothing bodies, so only tests that use it see bindings.
#pragma once
#include <string>
#include <vector>

struct ObjectDefinition;
struct RuntimeObject;

// The DataControl class (also what start-up registers under that name).
ObjectDefinition *DataControlClass();
std::vector<std::string> &DataControlLog();
