// An Xvfb of a test's own on a display number the server picks itself
// (-displayfd), so tests and test runs going on at the same time never meet
// on one display.
#pragma once
#include <sys/types.h>

#include <string>

struct PrivateXvfb {
  pid_t pid = -1;
  std::string display; // ":N", empty when the server did not start
};

// Starts the server and waits until it accepts clients.
PrivateXvfb StartPrivateXvfb();
// Ends the server and waits for it.
void StopPrivateXvfb(PrivateXvfb &server);
