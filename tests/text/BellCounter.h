// Counts the bells rung on the display (XKB bell notifications) from its
// construction on. Xlib stays inside BellCounter.cpp: its names clash with
// the runtime's own.
#pragma once
#include <chrono>
#include <memory>

class BellCounter {
public:
  BellCounter();
  ~BellCounter();
  BellCounter(const BellCounter &) = delete;
  BellCounter &operator=(const BellCounter &) = delete;

  // Whether the display could be watched (a display with XKB).
  bool Watching() const;
  // Waits, within the bound, until at least `count` bells have rung; answers
  // the number seen so far.
  int WaitFor(int count, std::chrono::seconds bound = std::chrono::seconds(30));

private:
  struct State;
  std::unique_ptr<State> mState;
};
