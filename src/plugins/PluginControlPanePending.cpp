// Plug-in controls get no pane yet: the custom control pane is not built.
#include "plugins/PluginClasses.h"

void PluginControlCreatePane(RuntimeObject *) {}
