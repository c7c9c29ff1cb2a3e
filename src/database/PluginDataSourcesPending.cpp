// Until plug-ins can register data sources, no name finds one.
#include "database/PluginDataSources.h"

__attribute__((weak)) RuntimeObject *ConnectPluginDataSource(const string &, void *, int32_t) {
  return nullptr;
}
