// A clipboard owner that quits without answering: an X client of its own
// (Xlib's names clash with the runtime's, so it lives apart).
#pragma once
#include <string>
#include <sys/types.h>

// Forks an X client that owns the CLIPBOARD selection and, when asked for
// it, runs the shell command and quits without answering (as an owner that
// is closing does). Returns once it owns the selection: its PID, or -1.
pid_t StartOwnerThatQuitsWhenAsked(const std::string &command);
