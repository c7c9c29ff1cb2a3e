// The socket list and its service walk, with sockets whose Poll runs what
// the test scripts (no network), and the error follow-up and resets of the
// base class.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "net/SocketClasses.h"
#include "net/SocketCompatPosix.h"
#include "net/SocketCore.h"
#include "net/SocketErrorsPosix.h"
#include "runtime/objects/ClassLookup.h"

namespace {

std::vector<int> gPolled; // ids in the order they were polled

class ScriptedSocket : public SocketCore {
public:
  ScriptedSocket(int id, RuntimeObject *control = nullptr) : SocketCore(control), mId(id) {}
  void Poll() override {
    gPolled.push_back(mId);
    // A copy: the script may destroy this socket.
    if (std::function<void()> script = onPoll)
      script();
  }
  bool MoreDataToSend() override { return moreToSend; }
  void Activate() { Listen(1000 + mId); }

  int mId;
  bool moreToSend = false;
  std::function<void()> onPoll;
};

class SocketLayerTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(NetInit(), 0);
    gPolled.clear();
  }
  void TearDown() override { EXPECT_EQ(gSocketList.count(), 0); }
};

TEST_F(SocketLayerTest, NetInitTwiceAnswersZeroAndTheLayerIsUp) {
  EXPECT_EQ(NetInit(), 0);
  EXPECT_EQ(NetInit(), 0);
  EXPECT_TRUE(IsNetInitialized());
  EXPECT_TRUE(SetupSocketCompat());
}

TEST_F(SocketLayerTest, EmptyListServicesNothing) { EXPECT_FALSE(NetIdle(false)); }

TEST_F(SocketLayerTest, WalkGoesFromTheLastSocketToTheFirstAndReportsPendingData) {
  ScriptedSocket a(1), b(2), c(3);
  a.Activate();
  b.Activate();
  c.Activate();
  EXPECT_FALSE(NetIdle(false));
  EXPECT_EQ(gPolled, (std::vector<int>{3, 2, 1}));
  b.moreToSend = true;
  EXPECT_TRUE(NetIdle(false));
  a.Shutdown(false);
  b.Shutdown(false);
  c.Shutdown(false);
}

TEST_F(SocketLayerTest, OnlyUnownedSkipsSocketsOfLanguageObjects) {
  RuntimeObject *object = CreateInstance(SocketCoreClass());
  ScriptedSocket owned(1, object), unowned(2);
  owned.Activate();
  unowned.Activate();
  owned.moreToSend = true;
  EXPECT_FALSE(NetIdle(true));
  EXPECT_EQ(gPolled, std::vector<int>{2});
  owned.Shutdown(false);
  unowned.Shutdown(false);
  RuntimeUnlockObject(object);
}

TEST_F(SocketLayerTest, SocketsThatLeaveOrArriveDuringTheWalkDoNotDisturbIt) {
  ScriptedSocket a(1), b(2), c(3), d(4), late(5);
  for (ScriptedSocket *s : {&a, &b, &c, &d})
    s->Activate();
  // 4 shuts a lower socket down, 3 itself; a socket that arrives meanwhile
  // waits for the next step, and none is served twice.
  c.onPoll = [&] {
    c.Shutdown(false);
    late.Activate();
  };
  d.onPoll = [&] { b.Shutdown(false); };
  NetIdle(false);
  EXPECT_EQ(gPolled, (std::vector<int>{4, 3, 1}));
  gPolled.clear();
  c.onPoll = nullptr;
  NetIdle(false);
  EXPECT_EQ(gPolled, (std::vector<int>{5, 4, 1}));
  for (ScriptedSocket *s : {&a, &d, &late})
    s->Shutdown(false);
}

TEST_F(SocketLayerTest, SocketDestroyedByItsOwnServiceIsNotTouchedAgain) {
  auto *doomed = new ScriptedSocket(2);
  ScriptedSocket a(1), c(3);
  a.Activate();
  doomed->Activate();
  c.Activate();
  doomed->onPoll = [&] { delete doomed; };
  NetIdle(false);
  EXPECT_EQ(gPolled, (std::vector<int>{3, 2, 1}));
  a.Shutdown(false);
  c.Shutdown(false);
}

TEST_F(SocketLayerTest, ShutdownOfAnIdleSocketChangesNothing) {
  ScriptedSocket a(1), b(2);
  a.Activate();
  b.Shutdown(false);
  EXPECT_EQ(gSocketList.count(), 1);
  a.Shutdown(false);
}

TEST_F(SocketLayerTest, PartialResetKeepsAnUndeliveredDataAvailable) {
  ScriptedSocket a(1);
  a.mDataReceivedLatch = true;
  a.mErrorLatch = true;
  a.mLastError = kLostConnection;
  a.mFiredEvents = kErrorEventBit;
  a.Reset(false);
  EXPECT_TRUE(a.mDataReceivedLatch);
  EXPECT_FALSE(a.mErrorLatch);
  EXPECT_EQ(a.GetLastError(), 0);
  EXPECT_EQ(a.GetEvents(), 0u);
  a.Reset(true);
  EXPECT_FALSE(a.mDataReceivedLatch);
}

TEST_F(SocketLayerTest, ErrorFollowUpTakesAnUnheldSocketOutOfService) {
  ScriptedSocket a(1);
  a.Activate();
  a.mFiredEvents = kErrorEventBit;
  a.mLastError = kLostConnection;
  a.FireEvents();
  EXPECT_EQ(gSocketList.count(), 0);
  EXPECT_EQ(a.GetLastError(), kLostConnection); // no reset without a holder
}

TEST(SocketErrors, ErrorNumbersTranslateToTheLayersCodes) {
  struct Case {
    int number;
    int32_t code;
  };
  const Case cases[] = {
      {1, 107},   {13, 107},  {2, 103},  {101, 103}, {107, 103}, {110, 103},
      {111, 103}, {12, 108},  {23, 108}, {105, 108}, {32, 102},  {102, 102},
      {103, 102}, {104, 102}, {98, 105}, {22, 22},   {99, 99},
  };
  for (const Case &c : cases)
    EXPECT_EQ(TranslateSocketErrno(c.number), c.code) << "errno " << c.number;
  for (int wouldBlock : {11, 114, 115})
    EXPECT_TRUE(SocketWouldBlock(wouldBlock));
  for (int other : {4, 32, 111})
    EXPECT_FALSE(SocketWouldBlock(other));
}

} // namespace
