#include "controls/DataControlBinding.h"

#include "controls/DataBindingServices.h"
#include "controls/DataControlLookup.h"

void DataControlBinding::Bind(RuntimeObject *control, RuntimeObject *window) {
  Unbind(control);
  if (mDataSource.Length() == 0 || !control)
    return;
  RuntimeObject *dataControl = FindBindableDataControl(window, mDataSource);
  if (!dataControl)
    return;
  mBound = dataControl;
  RuntimeDataControl::AddBindControl(dataControl, control, mKind);
  DataControlRepopulateData(dataControl);
}

void DataControlBinding::Unbind(RuntimeObject *control) {
  RuntimeObject *bound = mBound;
  mBound = nullptr;
  if (bound && control)
    RuntimeDataControl::DelBindControl(bound, control, mKind);
}
