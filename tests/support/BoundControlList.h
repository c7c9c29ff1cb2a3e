// The controls bound to a DataControl, read from its list: newest first,
// each as "<kind> <control's Name>".
#pragma once
#include <string>
#include <vector>

struct RuntimeObject;

std::vector<std::string> BoundControls(RuntimeObject *dataControl);
