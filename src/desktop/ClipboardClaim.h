// Taking the CLIPBOARD selection. GTK+ claims it at the time of the event
// being handled; a handler that runs long after its event (inside a modal
// loop run from a click, or on a slow machine) claims it at that old time,
// and when another client took the clipboard since, the server refuses the
// claim and the offer is lost without a word.
#pragma once
#include <functional>

// Runs claim, which sets the clipboard's owner through GTK+ and answers
// whether it took the selection. A claim refused while an event is being
// handled is made once more at the server's present time. Answers whether
// the selection was taken.
bool ClaimClipboard(const std::function<bool()> &claim);
