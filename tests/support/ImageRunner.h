// Starting the runtime with a test image from a test. Header-only, so that
// tests which do not link the runtime (the linker's) can use it too.
#pragma once
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
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

// How a program ended: its exit status (as ExitStatusOf answers it) and what
// it wrote to standard error, where test images name their failed checks.
// Tests compare the status and show the errors when it differs:
//   EXPECT_EQ(run.status, 42) << run.errors;
struct ProgramRun {
  int status;
  std::string errors;
};

inline ProgramRun RunCapturingErrors(const std::string &command, const std::string &folder = ".") {
  char path[] = "/tmp/programerrorsXXXXXX";
  const int descriptor = mkstemp(path);
  if (descriptor < 0)
    return {-1, "no file for the program's standard error"};
  close(descriptor);
  ProgramRun run{ExitStatusOf(command + " 2>" + path, folder), {}};
  std::ostringstream errors;
  errors << std::ifstream(path).rdbuf();
  run.errors = errors.str();
  unlink(path);
  return run;
}

// The runtime carrying the named test image.
inline ProgramRun RunTestImage(const std::string &name) {
  return RunCapturingErrors(Emulated(std::string(TEST_IMAGES_DIR) + "/" + name));
}
