#include "runtime/AssertionAlert.h"

#include <cstdio>

namespace {
AssertionAlertPresenter sPresenter = nullptr;
}

AssertionAlertPresenter SetAssertionAlertPresenter(AssertionAlertPresenter presenter) {
  AssertionAlertPresenter previous = sPresenter;
  sPresenter = presenter;
  return previous;
}

void PrintAssertionAlert(const AssertionAlert &alert) {
  std::fprintf(stderr, "Failed Assertion: %d\n%s: %d\nFailure Condition: %s\n%s\n",
               alert.number, alert.file, alert.line, alert.condition ? alert.condition : "",
               alert.message ? alert.message : "");
}

extern "C" void DisplayRuntimeErrorAlert(uint16_t code, uint16_t number, const char *file,
                                         int32_t line, const char *condition,
                                         const char *message) {
  AssertionAlert alert{code, number, file ? file : "", line, condition, message};
  if (sPresenter)
    sPresenter(alert);
  else
    PrintAssertionAlert(alert);
}
