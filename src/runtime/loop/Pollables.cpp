#include "runtime/loop/Pollables.h"

#include "foundation/SimpleVector.h"

namespace {
SimpleVector<Pollable *> sPollables;
}

void AddToPollableList(Pollable *pollable) { sPollables.push_back(pollable); }

void RemoveFromPollableList(Pollable *pollable) {
  for (int32_t i = sPollables.count(); i-- > 0;) {
    if (sPollables.begin()[i] == pollable) {
      sPollables.deleteIdx(i);
      return;
    }
  }
}

// A pollable may unregister itself (or others) while polled; the walk stops
// when the list has shrunk below the next index.
void PollPollableList() {
  for (int32_t i = sPollables.count(); i-- > 0;) {
    sPollables.begin()[i]->Poll();
    if (i > 0 && i - 1 >= sPollables.count())
      break;
  }
}
