#include "runtime/loop/DeferredUpdates.h"

#include "foundation/SimpleVector.h"

namespace {

using Queue = SimpleVector<DeferredUpdateDelegate *>;

// What the next step applies. A step takes the whole queue and leaves a
// fresh one, so delegates queued while it runs wait for the next step.
Queue *sQueue = new Queue;
// The batches being applied right now, innermost last (a delegate may run a
// nested loop that applies updates again). Applied and removed slots are nil.
SimpleVector<Queue *> sBatchesInProgress;

bool Contains(const Queue &queue, DeferredUpdateDelegate *delegate) {
  for (DeferredUpdateDelegate *queued : queue)
    if (queued == delegate)
      return true;
  return false;
}

} // namespace

void addDeferredUpdate(DeferredUpdateDelegate *delegate) { sQueue->push_back(delegate); }

void removeDeferredUpdate(DeferredUpdateDelegate *delegate) {
  for (int32_t i = sQueue->count(); i-- > 0;)
    if (sQueue->begin()[i] == delegate)
      sQueue->deleteIdx(i);
  for (Queue *batch : sBatchesInProgress)
    for (DeferredUpdateDelegate *&slot : *batch)
      if (slot == delegate)
        slot = nullptr;
}

int32_t HasDeferredUpdate(DeferredUpdateDelegate *delegate) {
  if (Contains(*sQueue, delegate))
    return 1;
  for (Queue *batch : sBatchesInProgress)
    if (Contains(*batch, delegate))
      return 1;
  return 0;
}

void applyDeferredUpdates() {
  if (sQueue->count() == 0)
    return;
  Queue *batch = sQueue;
  sQueue = new Queue;
  sBatchesInProgress.push_back(batch);
  for (int32_t i = batch->count(); i-- > 0;) {
    DeferredUpdateDelegate *delegate = batch->begin()[i];
    batch->begin()[i] = nullptr;
    if (delegate)
      delegate->DeferredUpdateApply();
  }
  sBatchesInProgress.pop_back();
  delete batch;
}
