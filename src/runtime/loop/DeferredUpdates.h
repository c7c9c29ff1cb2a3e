// Deferred updates: work that a pane queues during event handling and that
// runs once after the current GTK+ iteration. The queue does not own the
// delegates.
#pragma once
#include <cstdint>

class DeferredUpdateDelegate {
public:
  virtual void DeferredUpdateApply() = 0;

protected:
  ~DeferredUpdateDelegate() = default;
};

// Queues the delegate; one queued twice is applied twice.
void addDeferredUpdate(DeferredUpdateDelegate *delegate);
// Removes every occurrence, including those of a step being applied that have
// not run yet.
void removeDeferredUpdate(DeferredUpdateDelegate *delegate);
// Whether the delegate is queued and has not been applied yet.
int32_t HasDeferredUpdate(DeferredUpdateDelegate *delegate);
// Applies what was queued before the call, newest first, and empties it.
// Delegates queued while it runs are kept for the next call.
void applyDeferredUpdates();
