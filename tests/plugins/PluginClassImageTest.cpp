// An image that uses a plug-in's classes as compiled code does (a failed
// check of its own ends it with the check's number), and the order in which the plug-in's
// initializers, finalizers and control callbacks ran.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/ImageRunner.h"

namespace {

TEST(PluginClassImage, CompiledCodeUsesPluginClasses) {
  char pattern[] = "/tmp/pluginclassesXXXXXX";
  const std::string root = mkdtemp(pattern);
  std::filesystem::create_directory(root + "/tmp");
  const std::string environment = "TMPDIR=" + root + "/tmp PLUGIN_LOG=" + root + "/log ";
  const ProgramRun run =
      RunCapturingErrors("env " + environment + Emulated(TEST_IMAGES_DIR "/plugin_classes"));
  EXPECT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors, "");
  std::ostringstream log;
  log << std::ifstream(root + "/log").rdbuf();
  // Superclass first on creation; the finalizers as the object model runs
  // them; the control's behaviour callbacks around its life.
  EXPECT_EQ(log.str(), "init Counter\ninit LoudCounter\n"
                       "final LoudCounter\nfinal Counter\n"
                       "init Counter\nfinal Counter\n"
                       "construct Gauge\ndestroy Gauge\n");
  EXPECT_TRUE(std::filesystem::is_empty(root + "/tmp"));
  std::filesystem::remove_all(root);
}

} // namespace
