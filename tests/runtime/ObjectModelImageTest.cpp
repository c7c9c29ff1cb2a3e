// The object model under an application image: the object_model test image
// (tests/images/object_model.c) builds classes and uses objects as compiled
// code does, and reports the first check that failed through its exit status.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

TEST(ObjectModelImage, CompiledClassesObjectsInterfacesAndEventsBehave) {
  // Tests run in the build folder; a hung image fails instead of blocking.
  const std::string command =
      std::string("timeout 120 ") + I386_EMULATOR + " bin/images/object_model";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 42) << "the number of the first failed check";
}
