// Starting the runtime with a test image from a test. Header-only, so that
// tests which do not link the runtime (the linker's) can use it too.
#pragma once
#include <sys/wait.h>

#include <cstdlib>
#include <string>

// A 32-bit program's command line, started through the emulator where the
// kernel cannot run it directly.
inline std::string Emulated(const std::string &program) {
  const std::string emulator = I386_EMULATOR;
  return emulator.empty() ? program : emulator + " " + program;
}

// Runs a shell command in the folder given (the build folder, where tests
// run, by default); a hung program (an alert waiting for an answer) fails
// instead of blocking. Answers the exit status, or -1 when the program did
// not exit by itself.
inline int ExitStatusOf(const std::string &command, const std::string &folder = ".") {
  const int status = std::system(("cd " + folder + " && timeout 120 " + command).c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The exit status of the runtime carrying the named test image.
inline int RunTestImage(const std::string &name) {
  return ExitStatusOf(Emulated(std::string(TEST_IMAGES_DIR) + "/" + name));
}
