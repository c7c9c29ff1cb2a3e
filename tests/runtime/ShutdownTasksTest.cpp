#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ShutdownTasks.h"

namespace {

std::vector<std::string> sCleanedUp;

class RecordingTask : public runShutdownTask {
public:
  explicit RecordingTask(std::string name, bool spawnsAnother = false)
      : runShutdownTask(name.c_str()), mName(std::move(name)), mSpawnsAnother(spawnsAnother) {}
  ~RecordingTask() override {
    sCleanedUp.push_back(mName);
    if (mSpawnsAnother)
      new RecordingTask(mName + " spawned");
  }

private:
  std::string mName;
  bool mSpawnsAnother;
};

} // namespace

TEST(ShutdownTasks, RunNewestFirstAndTasksCreatedDuringCleanupRunNext) {
  sCleanedUp.clear();
  new RecordingTask("first");
  new RecordingTask("second", true);
  new RecordingTask("third");
  EXPECT_EQ(runShutdownAll(), 0);
  EXPECT_EQ(sCleanedUp, (std::vector<std::string>{"third", "second", "second spawned", "first"}));
  sCleanedUp.clear();
  runShutdownAll();
  EXPECT_TRUE(sCleanedUp.empty());
}

TEST(ShutdownTasks, TaskDeletedByItsOwnerLeavesTheList) {
  sCleanedUp.clear();
  new RecordingTask("first");
  auto *middle = new RecordingTask("middle");
  new RecordingTask("last");
  delete middle;
  sCleanedUp.clear();
  runShutdownAll();
  EXPECT_EQ(sCleanedUp, (std::vector<std::string>{"last", "first"}));
}
