#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "runtime/loop/DeferredUpdates.h"
#include "runtime/loop/Pollables.h"

namespace {

std::string sLog;

// A deferred update or pollable that logs its name and then does whatever
// the test asks of it.
class Hook : public DeferredUpdateDelegate, public Pollable {
public:
  explicit Hook(char name) : mName(name) {}
  void DeferredUpdateApply() override { Run(); }
  void Poll() override { Run(); }
  std::function<void()> then;

private:
  void Run() {
    sLog += mName;
    if (then)
      then();
  }
  char mName;
};

} // namespace

TEST(DeferredUpdates, ApplyNewestFirstOncePerQueuingThenEmpty) {
  Hook a('a'), b('b');
  sLog.clear();
  applyDeferredUpdates(); // an empty queue does nothing
  addDeferredUpdate(&a);
  addDeferredUpdate(&b);
  addDeferredUpdate(&a);
  EXPECT_TRUE(HasDeferredUpdate(&b));
  applyDeferredUpdates();
  EXPECT_EQ(sLog, "aba");
  EXPECT_FALSE(HasDeferredUpdate(&a));
  applyDeferredUpdates();
  EXPECT_EQ(sLog, "aba");
}

TEST(DeferredUpdates, RemovalTakesEveryOccurrenceEvenDuringApplication) {
  Hook a('a'), b('b'), c('c');
  sLog.clear();
  addDeferredUpdate(&a);
  addDeferredUpdate(&b);
  addDeferredUpdate(&a);
  removeDeferredUpdate(&a);
  EXPECT_FALSE(HasDeferredUpdate(&a));
  addDeferredUpdate(&a);
  addDeferredUpdate(&c);
  c.then = [&] { removeDeferredUpdate(&b); }; // b has not run yet
  applyDeferredUpdates();
  EXPECT_EQ(sLog, "ca");
}

TEST(DeferredUpdates, UpdatesQueuedWhileApplyingRunInTheNextStep) {
  Hook a('a'), b('b');
  sLog.clear();
  a.then = [&] {
    addDeferredUpdate(&b);
    addDeferredUpdate(&a); // queues itself again
    a.then = nullptr;
  };
  addDeferredUpdate(&a);
  applyDeferredUpdates();
  EXPECT_EQ(sLog, "a");
  EXPECT_TRUE(HasDeferredUpdate(&b));
  applyDeferredUpdates();
  EXPECT_EQ(sLog, "aab");
}

TEST(Pollables, PollNewestFirstAndRemoveOnlyTheNewestRegistration) {
  Hook a('a'), b('b');
  sLog.clear();
  PollPollableList(); // an empty list does nothing
  AddToPollableList(&a);
  AddToPollableList(&b);
  AddToPollableList(&a);
  PollPollableList();
  EXPECT_EQ(sLog, "aba");
  RemoveFromPollableList(&a);
  sLog.clear();
  PollPollableList();
  EXPECT_EQ(sLog, "ba");
  RemoveFromPollableList(&a);
  RemoveFromPollableList(&b);
  sLog.clear();
  PollPollableList();
  EXPECT_EQ(sLog, "");
}

TEST(Pollables, PollableRemovingOthersStopsTheWalk) {
  Hook a('a'), b('b'), c('c');
  sLog.clear();
  AddToPollableList(&a);
  AddToPollableList(&b);
  AddToPollableList(&c);
  c.then = [&] {
    RemoveFromPollableList(&c);
    RemoveFromPollableList(&b);
    RemoveFromPollableList(&a);
  };
  PollPollableList();
  EXPECT_EQ(sLog, "c");
}
