#include "net/SocketCore.h"

#include "net/SocketCompatPosix.h"
#include "runtime/loop/BackgroundTask.h"

SimpleVector<SocketCore *> gSocketList;

namespace {

bool sNetInitialized = false;

// Its timeout makes the blocking toolkit iteration of the run loop return
// every tick, so that the step, and with it the socket service, runs even
// when no event arrives. The task itself has nothing to do.
class PollBackgroundTask : public BackgroundTask {
public:
  PollBackgroundTask() : BackgroundTask(1) {}
  void PerformTask() override {}
};

PollBackgroundTask *sPollTask = nullptr;

} // namespace

int32_t NetInit() {
  if (sNetInitialized)
    return 0;
  if (!SetupSocketCompat())
    return kOpenDriverError;
  sNetInitialized = true;
  return 0;
}

bool IsNetInitialized() { return sNetInitialized; }

bool DoNetIdle(bool onlyUnowned) {
  static uint32_t sWalk = 0;
  const uint32_t walk = ++sWalk;
  bool moreData = false;
  // From the last socket to the first, reading the count again after every
  // service: handlers may add, remove or destroy sockets. A socket added
  // meanwhile sits above the walk and waits for the next step; one that
  // slides down into the walk's position because a lower socket left was
  // served already, and its mark says so.
  for (uint32_t i = gSocketList.count() - 1; i < uint32_t(gSocketList.count()); --i) {
    SocketCore *socket = gSocketList[int32_t(i)];
    if (onlyUnowned && socket->GetControl())
      continue;
    if (socket->mServicedWalk == walk)
      continue;
    socket->mServicedWalk = walk;
    socket->Poll();
    if (i < uint32_t(gSocketList.count())) {
      SocketCore *now = gSocketList[int32_t(i)];
      if (now->MoreDataToSend() || now->MoreDataToReceive())
        moreData = true;
    }
  }
  return moreData;
}

bool NetIdle(bool onlyUnowned) {
  if (!sNetInitialized)
    return false;
  return DoNetIdle(onlyUnowned);
}

int32_t NetTerm() {
  if (sNetInitialized) {
    delete sPollTask;
    sPollTask = nullptr;
  }
  return 0;
}

void DebugLog(const char *) {}
void DebugLogAddress(uint32_t) {}

SocketCore::SocketCore(RuntimeObject *control) : mControl(control) {
  NetInit();
  SocketCore::Reset(true);
  if (!sPollTask)
    sPollTask = new PollBackgroundTask;
}

SocketCore::~SocketCore() {
  // Handlers further up the stack learn that the socket is gone.
  for (SocketServiceHold *hold = mHolds; hold; hold = hold->mOuter)
    hold->mAlive = false;
  SocketCore::Shutdown(true);
}

void SocketCore::BecomeActive(int32_t port) {
  if (mControl && mHoldsObjectWhileActive) {
    RuntimeLockObject(mControl);
    mControlLocked = true;
  }
  gSocketList.push_back(this);
  mPort = port;
}

void SocketCore::Listen(int32_t port) { BecomeActive(port); }

void SocketCore::Shutdown(bool full) {
  ++mGeneration;
  for (int32_t i = gSocketList.count() - 1; i >= 0; --i) {
    if (gSocketList[i] == this) {
      gSocketList.deleteIdx(i);
      break;
    }
  }
  if (!full && mControlLocked) {
    mControlLocked = false;
    RuntimeUnlockObject(mControl);
  }
}

void SocketCore::Reset(bool full) {
  ++mGeneration;
  mConnected = false;
  mControlLocked = false;
  mConnectedLatch = false;
  mSendCompleteLatch = false;
  mErrorLatch = false;
  mAddSocketLatch = false;
  mSendProgressLatch = false;
  mLastError = 0;
  mFiredEvents = 0;
  mPort = 0;
  mBytesSent = 0;
  if (full)
    mDataReceivedLatch = false;
}

uint32_t SocketCore::GetEvents() {
  uint32_t events = mFiredEvents;
  mFiredEvents = 0;
  return events;
}

void SocketCore::FireEvents() {
  if (!(mFiredEvents & kErrorEventBit))
    return;
  // References the runtime holds while it services the socket are not the
  // program's.
  bool heldElsewhere = mControl && mControl->refCount > 1 + mServiceHolds;
  Shutdown(false);
  if (heldElsewhere)
    Reset(false);
}

SocketServiceHold::SocketServiceHold(SocketCore *socket)
    : mSocket(socket), mControl(socket->GetControl()), mGeneration(socket->Generation()),
      mOuter(socket->mHolds) {
  socket->mHolds = this;
  if (mControl) {
    RuntimeLockObject(mControl);
    ++socket->mServiceHolds;
  }
}

SocketServiceHold::~SocketServiceHold() {
  if (mAlive) {
    mSocket->mHolds = mOuter;
    if (mControl)
      --mSocket->mServiceHolds;
  }
  // May destroy the object, and with it the socket.
  RuntimeUnlockObject(mControl);
}

bool SocketServiceHold::Unchanged() const { return mAlive && mSocket->Generation() == mGeneration; }
