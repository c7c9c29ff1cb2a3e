// The pane's side of binding: the data control its DataSource names, the
// objects told of selection changes, and the text of rows that a bound
// list-data provider holds.
#include <vector>

#include "controls/DataBinders.h"
#include "listbox/ListboxClasses.h"
#include "listbox/RuntimeListbox.h"
#include "runtime/objects/ValueEntryPoints.h"

void RuntimeListbox::InitializeBinding() {
  if (mControl)
    mBinding.Bind(&mControl->control.header, mControl->control.view);
}

void RuntimeListbox::RemoveBinding() {
  if (mControl)
    mBinding.Unbind(&mControl->control.header);
}

void RuntimeListbox::addLSNR(RuntimeObject *receiver) {
  if (!receiver)
    return;
  RuntimeLockObject(receiver);
  mSelectionReceivers.AppendItem(receiver);
}

void RuntimeListbox::removeLSNR(RuntimeObject *receiver) {
  for (int32_t i = 0; i < mSelectionReceivers.GetCount(); ++i)
    if (mSelectionReceivers.GetElement(i) == receiver) {
      mSelectionReceivers.RemoveElement(i);
      RuntimeUnlockObject(receiver);
      return;
    }
}

void CallEachReceiver(const Array &list, ObjectDefinition *iface, const char *method) {
  // A receiver may add or remove receivers, or close the window: walk a
  // snapshot that holds each receiver until the walk ends.
  std::vector<RuntimeObject *> receivers;
  for (int32_t i = 0; i < list.GetCount(); ++i)
    if (auto *r = static_cast<RuntimeObject *>(list.GetElement(i))) {
      RuntimeLockObject(r);
      receivers.push_back(r);
    }
  using Proc = void (*)(RuntimeObject *);
  for (RuntimeObject *r : receivers)
    if (auto code = InterfaceMethodAs<Proc>(r, iface, method))
      code(r);
  for (RuntimeObject *r : receivers)
    RuntimeUnlockObject(r);
}

void RuntimeListbox::NotifySelectionReceivers(const char *method) {
  CallEachReceiver(mSelectionReceivers, ListSelectionNotificationReceiverClass(), method);
}

stringStorage *RuntimeListbox::BoundCellText(int32_t row, int32_t column) {
  RuntimeObject *provider = BoundProvider();
  using GetRow = RuntimeObject *(*)(RuntimeObject *, int32_t);
  using Count = int32_t (*)(RuntimeObject *);
  using Field = stringStorage *(*)(RuntimeObject *, int32_t);
  auto getRow = InterfaceMethodAs<GetRow>(provider, ListDataProviderClass(), "GetRow");
  RuntimeObject *tuple = getRow ? getRow(provider, row + 1) : nullptr;
  if (!tuple)
    return nullptr;
  auto fieldCount = InterfaceMethodAs<Count>(tuple, TupleInterfaceClass(), "FieldCount");
  auto field = InterfaceMethodAs<Field>(tuple, TupleInterfaceClass(), "getIndString");
  stringStorage *text = nullptr;
  if (fieldCount && field && column >= 0 && column < fieldCount(tuple))
    text = field(tuple, column + 1);
  RuntimeUnlockObject(tuple);
  return text;
}
