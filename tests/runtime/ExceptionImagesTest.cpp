// Exceptions through real compiled frames: the exceptions and
// exceptions_unhandled test images (tests/images) raise, catch and pass on
// exceptions under the loader and the unwinder, and report through their
// exit status (42 when every check held, else 128 + one bit per failed check).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int RunImage(const char *name) {
  // Tests run in the build folder; a hung image fails instead of blocking.
  const std::string command = std::string("timeout 120 ") + I386_EMULATOR + " bin/images/" + name;
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ExceptionImages, CompiledFramesCatchPassOnAndNestHandlers) {
  EXPECT_EQ(RunImage("exceptions"), 42);
}

TEST(ExceptionImages, ExceptionsNoCompiledFrameCanTakeGoUnhandledWithoutACrash) {
  EXPECT_EQ(RunImage("exceptions_unhandled"), 42);
}

} // namespace
