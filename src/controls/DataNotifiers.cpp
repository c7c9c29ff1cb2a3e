#include <vector>

#include "controls/DataBinders.h"
#include "controls/DataBindingServices.h"
#include "foundation/String.h"
#include "runtime/objects/ClassRegistry.h"
#include "runtime/objects/RuntimeObject.h"

// A node stays allocated while a walk stands on it: removing it unlinks it
// at once and drops its receiver, and the last walk that holds it frees it.
struct NotifierHandler::Node {
  Node *next;
  RuntimeObject *receiver; // counted; nil once removed
  int32_t walks;           // walks that still have to pass this node
};

namespace {

// Takes the node out of the chain it is linked in (link points at the
// pointer that holds it) and lets it go.
void Drop(NotifierHandler::Node **link) {
  NotifierHandler::Node *node = *link;
  *link = node->next;
  RuntimeObject *receiver = node->receiver;
  node->receiver = nullptr;
  if (node->walks == 0)
    delete node;
  RuntimeUnlockObject(receiver);
}

} // namespace

void NotifierHandler::AddHandler(RuntimeObject *receiver) {
  if (!receiver)
    return;
  RuntimeLockObject(receiver);
  head = new Node{head, receiver, 0};
}

void NotifierHandler::RemoveHandler(RuntimeObject *receiver) {
  for (Node **link = &head; *link; link = &(*link)->next)
    if ((*link)->receiver == receiver) {
      Drop(link);
      return;
    }
}

void NotifierHandler::Clear() {
  while (head) {
    ForgetDyingSource(head->receiver, this);
    Drop(&head);
  }
}

// The receivers are taken first: a receiver's method may change the list,
// or even free the object that embeds it, so the walk never reads the list
// again. Each receiver is held while it is told.
void NotifierHandler::Notify(ObjectDefinition *receiverInterface, const char *method) {
  std::vector<Node *> nodes;
  for (Node *n = head; n; n = n->next) {
    ++n->walks;
    nodes.push_back(n);
  }
  const string name(method);
  for (Node *n : nodes) {
    RuntimeObject *receiver = n->receiver;
    if (!receiver)
      continue; // removed before its turn
    using Method = void (*)(RuntimeObject *);
    auto code = reinterpret_cast<Method>(interfaceMethodProc(receiver, receiverInterface, name));
    if (!code)
      continue;
    RuntimeLockObject(receiver);
    code(receiver);
    RuntimeUnlockObject(receiver);
  }
  for (Node *n : nodes)
    if (--n->walks == 0 && !n->receiver)
      delete n;
}

void DataNotifierHandler::DataChanged() { Notify(DataNotificationReceiverClass(), "DataChanged"); }

void ActionNotifierHandler::PerformAction() {
  Notify(ActionNotificationReceiverClass(), "PerformAction");
}

void ListDataNotifierHandler::DataReload() {
  Notify(ListDataNotificationReceiverClass(), "listDataReload");
}
