// Records assertion alerts instead of showing them, for as long as the
// recorder lives; tests assert on what was recorded.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "foundation/AssertionAlert.h"

struct RecordedAlert {
  int number;
  std::string file;
  int line;
  std::string condition;
  std::string message;
};

class AlertRecorder {
public:
  AlertRecorder();
  ~AlertRecorder();
  AlertRecorder(const AlertRecorder &) = delete;
  AlertRecorder &operator=(const AlertRecorder &) = delete;

  const std::vector<RecordedAlert> &alerts() const;
  size_t count() const { return alerts().size(); }
  void clear();
  // True when some recorded alert's condition or message contains the text.
  bool saw(const std::string &text) const;

private:
  AssertionAlertPresenter mPrevious;
};

// Passes when the recorded alert shows the site's file, line and condition.
::testing::AssertionResult ShownAt(const RecordedAlert &alert, const AlertSite &site);
