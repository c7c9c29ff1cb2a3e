// The link of a data-aware pane to the data control its DataSource names:
// one registration at a time, dropped before a new one and when the pane or
// its object goes.
#pragma once
#include <cstdint>

#include "foundation/String.h"

struct RuntimeObject;

class DataControlBinding {
public:
  explicit DataControlBinding(int32_t kind) : mKind(kind), mDataSource("") {}

  void SetDataSourceName(const string &name) { mDataSource = name; }
  const string &DataSourceName() const { return mDataSource; }
  RuntimeObject *BoundDataControl() const { return mBound; }

  // Leaves the current data control, then registers control with the data
  // control of its window named by the data source (nothing for an empty
  // name or a control that is no DataControl) and has it refill at once.
  void Bind(RuntimeObject *control, RuntimeObject *window);
  // Leaves the data control, if any, and forgets it.
  void Unbind(RuntimeObject *control);

private:
  int32_t mKind;
  string mDataSource;
  RuntimeObject *mBound = nullptr; // not counted
};
