// The assertion alert: the failure path of every internal consistency check.
// It names the check, its source file and line and the failed condition, and
// the caller carries on after it returns. How it is presented is replaceable:
// the program shows a modal dialog, tests install a recorder.
#pragma once
#include <cstdint>
#include <string>

extern "C" void DisplayRuntimeErrorAlert(uint16_t code, uint16_t number, const char *file,
                                         int32_t line, const char *condition, const char *message);

struct AssertionAlert {
  uint16_t code;
  uint16_t number;
  const char *file; // never nil
  int32_t line;
  const char *condition; // may be nil
  const char *message;   // may be nil
};

// Shows (or records) one alert. Returns only when the process goes on.
using AssertionAlertPresenter = void (*)(const AssertionAlert &alert);

// Installs a presenter and answers the one it replaced; nil restores the
// default, which prints the alert to standard error and goes on.
AssertionAlertPresenter SetAssertionAlertPresenter(AssertionAlertPresenter presenter);

// The default presentation: one block of text on standard error.
void PrintAssertionAlert(const AssertionAlert &alert);

// The text the alert dialog shows: the number, the file and line, the failed
// condition and the message (a nil condition or message shows as nothing).
std::string FormatAssertionAlertText(const AssertionAlert &alert);

// What the user answered: go on after the failed check, or end the process.
enum class AssertionAlertAnswer { kContinue, kQuit };

// The exit status of a process ended from the alert.
constexpr int kAssertionAlertQuitStatus = 2;

// Acts on the answer: kQuit ends the process at once with
// kAssertionAlertQuitStatus (no shutdown tasks run); kContinue returns.
void FinishAssertionAlert(AssertionAlertAnswer answer);

// The code every internal check passes, and the number it shows.
constexpr uint16_t kAssertionCode = 131;
constexpr uint16_t kAssertionNumber = 4;

// A check whose alert shows a fixed source name, line and condition text:
// what users quote when they report it, so it stays the same whatever the
// code around the check looks like. Each such check is one named constant.
struct AlertSite {
  const char *file; // never nil
  int32_t line;
  const char *condition; // may be nil
};

// Shows the assertion alert of a site with an optional message. Answers false,
// so that a check reads `ok || ShowAlert(kSite)`.
bool ShowAlert(const AlertSite &site, const char *message = nullptr);

// Checks a condition; on failure shows the alert with this file and line and
// the given condition text, and evaluates to false so that the caller can take
// its way out.
#define RUNTIME_CHECK_SHOWING(condition, text)                                                     \
  ((condition) ? true : ShowAlert(AlertSite{__FILE__, __LINE__, text}))

// The same, showing the condition as it is written.
#define RUNTIME_CHECK(condition) RUNTIME_CHECK_SHOWING(condition, #condition)
