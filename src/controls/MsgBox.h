// The language's MsgBox in its two forms, built on a plain MessageDialog.
#pragma once
#include <cstdint>

#include "controls/MessageDialog.h"

struct stringStorage;

// A blank line (the end of line twice) parts the message from the
// explanation; a text that starts with one stays whole.
void SplitMessageText(const string &text, string *message, string *explanation);
// Sets up the dialog from a classic buttons code: icon (0x70), button set
// (0x0F) and default button (0x300).
void ConfigureMessageDialog(MessageDialog *dialog, int32_t buttons);
// The code of the button the response stands for; a run without a button
// answers the action button's code.
int32_t MsgBoxResult(int32_t buttons, int32_t response);

// MsgBox's statement form for callers inside the runtime.
void MessageBox(const string &text);

extern "C" {
void RuntimeMsgBox(stringStorage *text);
int32_t VB_RuntimeMsgBox(stringStorage *text, int32_t buttons, stringStorage *title);
}
