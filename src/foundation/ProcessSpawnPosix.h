// Starting other programs without a shell: the arguments reach the program
// exactly as given, so nothing in them is ever interpreted.
#pragma once
#include <string>

// Full path of the first executable called `name` on PATH, or "" (no shell involved).
// A name holding "/" is not looked up and answers "".
std::string FindExecutableOnPath(const char *name);

// Starts argv[0] (a path) with argv (nil-terminated), no shell, does not wait; leaves no
// unreaped child and installs no SIGCHLD handler. True when the program was started.
bool SpawnDetached(const char *const argv[]);

// Runs argv (nil-terminated), no shell, waits for this child only. Its exit status, or -1.
int SpawnAndWait(const char *const argv[]);
