// The least-recently-used list of objects whose data can be rebuilt: under
// memory pressure the oldest are asked to drop theirs first.
#include "foundation/Memory.h"

namespace {
purgableObject *sNewest = nullptr;
purgableObject *sOldest = nullptr;
} // namespace

purgableObject::purgableObject() : mLinked(false), mNewer(nullptr), mOlder(nullptr) {}

purgableObject::~purgableObject() { UnlinkObject(); }

void purgableObject::LinkObject() {
  if (mLinked)
    return;
  mOlder = sNewest;
  mNewer = nullptr;
  if (sNewest)
    sNewest->mNewer = this;
  else
    sOldest = this;
  sNewest = this;
  mLinked = true;
}

void purgableObject::UnlinkObject() {
  if (!mLinked)
    return;
  if (mNewer)
    mNewer->mOlder = mOlder;
  else
    sNewest = mOlder;
  if (mOlder)
    mOlder->mNewer = mNewer;
  else
    sOldest = mNewer;
  mNewer = mOlder = nullptr;
  mLinked = false;
}

void purgableObject::MarkUsed() {
  UnlinkObject();
  LinkObject();
}

purgableObject *purgableObject::Newest() { return sNewest; }
purgableObject *purgableObject::Oldest() { return sOldest; }

bool PurgeOldestObjects() {
  // The next one is taken first: purge() may unlink (or delete) its object.
  for (purgableObject *object = sOldest; object;) {
    purgableObject *newer = object->Newer();
    if (object->purge())
      return true;
    object = newer;
  }
  return false;
}
