// Stand-ins until data binding and the database's data control exist: lists
// stay empty and nothing is bound. Weak, so that the real definitions win.
#include "controls/DataBindingServices.h"

__attribute__((weak)) void NotifierHandler::AddHandler(RuntimeObject *) {}
__attribute__((weak)) void NotifierHandler::RemoveHandler(RuntimeObject *) {}
__attribute__((weak)) void NotifierHandler::Clear() {}
__attribute__((weak)) void ActionNotifierHandler::PerformAction() {}

__attribute__((weak)) void RuntimeDataControl::AddBindControl(RuntimeObject *, RuntimeObject *,
                                                              int32_t) {}
__attribute__((weak)) void RuntimeDataControl::DelBindControl(RuntimeObject *, RuntimeObject *,
                                                              int32_t) {}
__attribute__((weak)) void DataControlRepopulateData(RuntimeObject *) {}
