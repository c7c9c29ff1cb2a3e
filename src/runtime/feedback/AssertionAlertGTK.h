// The assertion alert as a modal GTK+ dialog with the buttons OK (go on) and
// Cancel (end the process).
#pragma once
#include "foundation/AssertionAlert.h"

// The program's presenter, installed once GTK+ is initialised. Without a
// display, or while another alert is showing (an alert raised from a timer
// that fires inside the dialog's loop), it prints to standard error and goes
// on instead.
void PresentAssertionAlertInDialog(const AssertionAlert &alert);
