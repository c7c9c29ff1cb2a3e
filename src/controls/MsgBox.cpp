#include "controls/MsgBox.h"

#include "language/LineEndings.h"
#include "language/StringSearch.h"

namespace {

struct ButtonRole {
  const char *caption; // nil: not shown
  int32_t code;
};

// Per button set: the action, alternate and cancel buttons.
struct ButtonSet {
  ButtonRole action, alternate, cancel;
};

constexpr ButtonSet kOKOnly{{"OK", 1}, {nullptr, 0}, {nullptr, 0}};
constexpr ButtonSet kButtonSets[] = {
    kOKOnly,
    {{"OK", 1}, {nullptr, 0}, {"Cancel", 2}},
    {{"Retry", 4}, {"Ignore", 5}, {"Abort", 3}},
    {{"Yes", 6}, {"No", 7}, {"Cancel", 2}},
    {{"Yes", 6}, {"No", 7}, {nullptr, 0}},
    {{"Retry", 4}, {nullptr, 0}, {"Cancel", 2}},
};

// The button given the default role per set and default bits (0x000 to 0x300).
constexpr int32_t A = kActionButton, C = kCancelButton, L = kAlternateButton, N = kNoButton;
constexpr int32_t kDefaultButton[][4] = {
    {A, N, N, N}, {A, C, N, N}, {C, A, L, N}, {A, L, C, N}, {A, L, N, N}, {A, C, N, N},
};

const ButtonSet &SetOf(int32_t buttons) {
  const int32_t set = buttons & 0x0F;
  return set < 6 ? kButtonSets[set] : kOKOnly;
}

int32_t DefaultOf(int32_t buttons) {
  const int32_t set = buttons & 0x0F;
  return set < 6 ? kDefaultButton[set][(buttons & 0x300) >> 8] : kActionButton;
}

} // namespace

void SplitMessageText(const string &text, string *message, string *explanation) {
  string eol = string::Adopt(RuntimeEndOfLine());
  string separator = eol + eol;
  const int32_t p = StringInStrB(1, text.Storage(), separator.Storage());
  if (p >= 2) {
    *message = left(text, p - 1);
    *explanation = mid(text, p - 1 + separator.Length());
  } else {
    *message = text;
    *explanation = string();
  }
}

void ConfigureMessageDialog(MessageDialog *dialog, int32_t buttons) {
  switch (buttons & 0x70) {
  case 0x00:
    dialog->icon = -1;
    break;
  case 0x10:
    dialog->icon = 2;
    break;
  case 0x20:
    dialog->icon = 3;
    break;
  case 0x30:
    dialog->icon = 1;
    break;
  case 0x40:
    dialog->icon = 0;
    break;
  default:
    break;
  }
  const ButtonSet &set = SetOf(buttons);
  dialog->actionCaption = string(set.action.caption);
  dialog->alternateShown = set.alternate.caption != nullptr;
  if (set.alternate.caption)
    dialog->alternateCaption = string(set.alternate.caption);
  dialog->cancelShown = set.cancel.caption != nullptr;
  if (set.cancel.caption)
    dialog->cancelCaption = string(set.cancel.caption);
  dialog->defaultId = DefaultOf(buttons);
  dialog->cancelId = kCancelButton;
}

int32_t MsgBoxResult(int32_t buttons, int32_t response) {
  const ButtonSet &set = SetOf(buttons);
  if (response == kCancelButton)
    return set.cancel.code;
  if (response == kAlternateButton)
    return set.alternate.code;
  return set.action.code;
}

void MessageBox(const string &text) {
  MessageDialog dialog;
  SplitMessageText(text, &dialog.message, &dialog.explanation);
  dialog.ShowModal();
}

extern "C" {

void RuntimeMsgBox(stringStorage *text) { MessageBox(string::Borrow(text)); }

int32_t VB_RuntimeMsgBox(stringStorage *text, int32_t buttons, stringStorage *title) {
  MessageDialog dialog;
  SplitMessageText(string::Borrow(text), &dialog.message, &dialog.explanation);
  ConfigureMessageDialog(&dialog, buttons);
  dialog.title = string::Borrow(title);
  return MsgBoxResult(buttons, dialog.ShowModal());
}

} // extern "C"
