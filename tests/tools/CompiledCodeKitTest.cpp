// The kit's conventions against the runtime's loader and unwinder: the
// kit_conventions test image raises, cleans up, re-raises and catches, and
// reports through its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

int runImage(const std::string& name) {
  // A hung image (an alert waiting for an answer) fails instead of blocking.
  const std::string command = std::string("timeout 120 ") + I386_EMULATOR + " " TEST_IMAGES_DIR "/" + name;
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CompiledCodeKit, ExceptionTravelsThroughCatchAllIntoCallersProtectedRegion) {
  // 17 = the clean-up ran once (16) + the caught exception holds one reference
  // (1), argument counts balanced, the string constant made ready, and no
  // code ran after a raise. See tests/images/kit_conventions.c.
  EXPECT_EQ(runImage("kit_conventions"), 17);
}

}  // namespace
