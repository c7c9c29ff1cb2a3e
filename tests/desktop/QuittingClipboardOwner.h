// Clipboard owners that leave a request unanswered, and the owner asked
// without the toolkit: X clients of their own
// (Xlib's names clash with the runtime's, so they live apart).
#pragma once
#include <string>
#include <sys/types.h>

// Forks an X client that owns the CLIPBOARD selection and, when asked for
// it, quits without answering (as an owner that is closing does). A
// non-empty command is a next owner: it runs first, and the client quits
// once that one owns the selection (within a bound), so that the selection
// never stands without an owner in between. Returns once it owns the
// selection: its PID, or -1.
pid_t StartOwnerThatQuitsWhenAsked(const std::string &nextOwnerCommand);

// Forks an X client that owns the CLIPBOARD selection with a window and, when
// first asked, takes the selection again with that same window instead of
// answering (as a new owner whose window has the same id as the old one's);
// it answers later requests for UTF8_STRING with the text. Returns once it
// owns the selection: its PID, or -1.
pid_t StartOwnerThatTakesTheClipboardAgainWhenAsked(const std::string &text);

// The X window that owns the CLIPBOARD selection now (0 for none), asked on a
// connection of its own: nothing queued for the program's own connection is
// read or dispatched.
unsigned long CurrentClipboardOwner();
