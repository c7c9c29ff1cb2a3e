#include "support/AlertRecorder.h"

namespace {
std::vector<RecordedAlert> sRecorded;

void RecordAlert(const AssertionAlert &alert) {
  sRecorded.push_back({alert.number, alert.file, alert.line, alert.condition ? alert.condition : "",
                       alert.message ? alert.message : ""});
}
} // namespace

AlertRecorder::AlertRecorder() : mPrevious(SetAssertionAlertPresenter(RecordAlert)) {
  sRecorded.clear();
}

AlertRecorder::~AlertRecorder() {
  SetAssertionAlertPresenter(mPrevious);
  sRecorded.clear();
}

const std::vector<RecordedAlert> &AlertRecorder::alerts() const { return sRecorded; }

void AlertRecorder::clear() { sRecorded.clear(); }

bool AlertRecorder::saw(const std::string &text) const {
  for (const RecordedAlert &a : sRecorded)
    if (a.condition.find(text) != std::string::npos || a.message.find(text) != std::string::npos)
      return true;
  return false;
}

::testing::AssertionResult ShownAt(const RecordedAlert &alert, const AlertSite &site) {
  const std::string condition = site.condition ? site.condition : "";
  if (alert.file == site.file && alert.line == site.line && alert.condition == condition)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "shown " << alert.file << ":" << alert.line << " \"" << alert.condition
         << "\", expected " << site.file << ":" << site.line << " \"" << condition << "\"";
}
