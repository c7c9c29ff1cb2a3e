// The path of the running executable.
#pragma once
#include <string>

// Read from /proc/self/exe, which names the file even when the program was
// started through the search path; argv0 only when that cannot be read.
std::string CurrentExecutablePath(const char *argv0);
