#include "foundation/AssertionAlert.h"

#include <cstdio>
#include <unistd.h>

namespace {
AssertionAlertPresenter sPresenter = nullptr;
}

AssertionAlertPresenter SetAssertionAlertPresenter(AssertionAlertPresenter presenter) {
  AssertionAlertPresenter previous = sPresenter;
  sPresenter = presenter;
  return previous;
}

void PrintAssertionAlert(const AssertionAlert &alert) {
  std::fprintf(stderr, "Failed Assertion: %d\n%s: %d\nFailure Condition: %s\n%s\n", alert.number,
               alert.file, alert.line, alert.condition ? alert.condition : "",
               alert.message ? alert.message : "");
}

std::string FormatAssertionAlertText(const AssertionAlert &alert) {
  const char *kFormat = "Failed Assertion: %d\nPress OK to Continue\nPress Cancel to Quit.\n\n"
                        "Please report what caused this error\nalong with the information "
                        "below.\n\n%s: %d\nFailure Condition: %s\n%s";
  const char *condition = alert.condition ? alert.condition : "";
  const char *message = alert.message ? alert.message : "";
  int length =
      std::snprintf(nullptr, 0, kFormat, alert.number, alert.file, alert.line, condition, message);
  std::string text(size_t(length), '\0');
  std::snprintf(text.data(), text.size() + 1, kFormat, alert.number, alert.file, alert.line,
                condition, message);
  return text;
}

void FinishAssertionAlert(AssertionAlertAnswer answer) {
  if (answer != AssertionAlertAnswer::kQuit)
    return;
  std::fflush(nullptr);
  _exit(kAssertionAlertQuitStatus);
}

extern "C" void DisplayRuntimeErrorAlert(uint16_t code, uint16_t number, const char *file,
                                         int32_t line, const char *condition, const char *message) {
  AssertionAlert alert{code, number, file ? file : "", line, condition, message};
  if (sPresenter)
    sPresenter(alert);
  else
    PrintAssertionAlert(alert);
}

bool ShowAlert(const AlertSite &site, const char *message) {
  DisplayRuntimeErrorAlert(kAssertionCode, kAssertionNumber, site.file, site.line, site.condition,
                           message);
  return false;
}
