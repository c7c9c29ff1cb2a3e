// The socket layer: the base of every socket, the list of active sockets that
// the run loop services once per step, and the start-up and shutdown of the
// layer. Single-threaded and polled: nothing here waits for the network.
#pragma once
#include <cstdint>

#include "foundation/SimpleVector.h"
#include "runtime/objects/RuntimeObject.h"

// Error codes the sockets report (LastErrorCode).
enum SocketErrorCode : int32_t {
  kOpenDriverError = 100,
  kLostConnection = 102,
  kNameResolutionError = 103,
  kAddressInUseError = 105,
  kInvalidStateError = 106,
  kInvalidPortError = 107,
  kOutOfMemoryError = 108,
};

// Bits of the fired-event set.
enum SocketEventBit : uint32_t {
  kConnectedEventBit = 0x01,
  kErrorEventBit = 0x02,
  kDataAvailableEventBit = 0x04,
  kSendCompleteEventBit = 0x08,
  kAddSocketEventBit = 0x10,
  kSendProgressEventBit = 0x20,
};

class SocketCore {
public:
  // control: the language object that owns the socket, or nil for a socket
  // the runtime uses by itself.
  explicit SocketCore(RuntimeObject *control);
  virtual ~SocketCore();
  SocketCore(const SocketCore &) = delete;
  SocketCore &operator=(const SocketCore &) = delete;

  // Registers the socket as active (see BecomeActive) and stores the port.
  virtual void Listen(int32_t port);
  virtual void Poll() {}
  // The error follow-up: after an Error fired, takes the socket out of
  // service, and makes it usable again when the program still holds its
  // object.
  virtual void FireEvents();
  virtual bool MoreDataToSend() { return false; }
  virtual bool MoreDataToReceive() { return false; }
  virtual void Purge() {}
  virtual void ClearSendBuffer() {}
  virtual int32_t ActualPortBoundTo() { return -1; }
  // Leaves the socket list; with full false also releases the reference the
  // socket held on its object (full is the destructor's call).
  virtual void Shutdown(bool full);
  // Clears the state; a partial reset keeps an undelivered DataAvailable.
  virtual void Reset(bool full);

  int32_t GetLastError() const { return mLastError; }
  bool IsConnected() const { return mConnected; }
  // The fired-event set, cleared by the read.
  uint32_t GetEvents();
  RuntimeObject *GetControl() const { return mControl; }
  int32_t GetPort() const { return mPort; }

  // Increments on every shutdown and reset: code that ran event handlers
  // compares it to learn whether the socket was closed or restarted
  // meanwhile.
  uint32_t Generation() const { return mGeneration; }

  RuntimeObject *mControl;
  uint32_t mBytesSent;
  int32_t mPort;
  bool mConnectedLatch;
  bool mDataReceivedLatch;
  bool mSendCompleteLatch;
  bool mErrorLatch;
  bool mAddSocketLatch;
  bool mSendProgressLatch;
  int32_t mLastError;
  uint32_t mFiredEvents;
  bool mConnected;
  bool mControlLocked;
  // An active socket holds a reference on its object, so that a connection
  // the program let go of still runs (set for TCPSocket objects by their
  // class).
  bool mHoldsObjectWhileActive = false;

protected:
  // Adds the reference an active TCP socket holds on its object, appends the
  // socket to the list and stores the port.
  void BecomeActive(int32_t port);

  uint32_t mGeneration = 0;
  uint32_t mServicedWalk = 0; // the last walk of the list that polled it
  friend bool DoNetIdle(bool onlyUnowned);
  // References the runtime itself holds on the object while it runs the
  // socket's handlers; the error follow-up does not count them as the
  // program's.
  int32_t mServiceHolds = 0;
  class SocketServiceHold *mHolds = nullptr; // the innermost hold, or nil
  friend class SocketServiceHold;
};

// Keeps a socket's language object alive while the runtime runs its
// handlers. For a socket without one, tells whether the socket was destroyed
// meanwhile (the destructor clears the flag the hold points at).
class SocketServiceHold {
public:
  explicit SocketServiceHold(SocketCore *socket);
  ~SocketServiceHold();
  SocketServiceHold(const SocketServiceHold &) = delete;
  SocketServiceHold &operator=(const SocketServiceHold &) = delete;

  // The socket still exists, and was neither shut down nor reset since the
  // hold was taken.
  bool Unchanged() const;
  bool Alive() const { return mAlive; }

private:
  friend class SocketCore;
  SocketCore *mSocket;
  RuntimeObject *mControl;
  uint32_t mGeneration;
  bool mAlive = true;
  SocketServiceHold *mOuter; // the holds of one socket form a stack
};

// The active sockets, in the order they became active; not owned.
extern SimpleVector<SocketCore *> gSocketList;

// Sets the layer up once: 0, or 100 when the socket calls are not available.
int32_t NetInit();
bool IsNetInitialized();
// Services the active sockets, from the last to the first; with onlyUnowned
// only those without a language object. True when some socket still has
// bytes to send or to receive.
bool NetIdle(bool onlyUnowned);
bool DoNetIdle(bool onlyUnowned);
// Ends the periodic wake-up; 0.
int32_t NetTerm();

// Trace hooks of the layer; they have no effect.
void DebugLog(const char *text);
void DebugLogAddress(uint32_t address);
