// The one object a pane reports to: closing, drops, drawing surfaces and the
// clipping of its hit and invalidation area.
#pragma once
#include <cstdint>

#include "foundation/QVGeometry.h"

class Pane;

class PaneDelegate {
public:
  // Told once when the pane closes; a delegate that deletes itself clears the
  // pane's delegate.
  virtual void PaneClosing(Pane *p);
  virtual void PaneDropObject(Pane *p, int32_t x, int32_t y);
  // Asked first when the pane establishes or resets its drawing surface;
  // true means done.
  virtual bool PaneEstablishDrawingSurface();
  virtual bool PaneResetDrawingSurface();
  // May shrink r, a copy of the pane's bounds, to what can be seen and hit.
  virtual void PaneClipToBounds(Pane *p, QV::Rect *r);

protected:
  ~PaneDelegate() = default;
};

// Hears when a pane is about to die. Destroying a receiver unregisters it.
class PaneDeathNotificationReceiver {
public:
  virtual ~PaneDeathNotificationReceiver();
  virtual void PaneImpendingDeath(Pane *p) = 0;
};
