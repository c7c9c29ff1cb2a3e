// Stand-ins until the database's data control exists: nothing is bound.
// Weak, so that the real definitions win.
#include "controls/DataBindingServices.h"

__attribute__((weak)) void RuntimeDataControl::AddBindControl(RuntimeObject *, RuntimeObject *,
                                                              int32_t) {}
__attribute__((weak)) void RuntimeDataControl::DelBindControl(RuntimeObject *, RuntimeObject *,
                                                              int32_t) {}
__attribute__((weak)) void DataControlRepopulateData(RuntimeObject *) {}
