#include "runtime/DeferredUpdates.h"

#include <algorithm>
#include <vector>

namespace {

using Queue = std::vector<DeferredUpdateDelegate *>;

Queue sQueue; // what the next step applies
// The batches being applied right now, innermost last (a delegate may run a
// nested loop that applies updates again). Applied and removed slots are nil.
std::vector<Queue *> sBatchesInProgress;

bool Contains(const Queue &queue, DeferredUpdateDelegate *delegate) {
  return std::find(queue.begin(), queue.end(), delegate) != queue.end();
}

} // namespace

void addDeferredUpdate(DeferredUpdateDelegate *delegate) { sQueue.push_back(delegate); }

void removeDeferredUpdate(DeferredUpdateDelegate *delegate) {
  std::erase(sQueue, delegate);
  for (Queue *batch : sBatchesInProgress)
    std::replace(batch->begin(), batch->end(), delegate, static_cast<DeferredUpdateDelegate *>(nullptr));
}

int32_t HasDeferredUpdate(DeferredUpdateDelegate *delegate) {
  if (Contains(sQueue, delegate))
    return 1;
  for (Queue *batch : sBatchesInProgress)
    if (Contains(*batch, delegate))
      return 1;
  return 0;
}

void applyDeferredUpdates() {
  if (sQueue.empty())
    return;
  Queue batch;
  batch.swap(sQueue);
  sBatchesInProgress.push_back(&batch);
  for (size_t i = batch.size(); i-- > 0;) {
    DeferredUpdateDelegate *delegate = batch[i];
    batch[i] = nullptr;
    if (delegate)
      delegate->DeferredUpdateApply();
  }
  sBatchesInProgress.pop_back();
}
