// A console program where there is no display (tests/images/console_program.c
// says what it checks; 42 is success), started as a pipeline would start it:
// 50 MB waiting on its standard input, its standard output a pipe whose
// reader has gone.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "support/ImageRunner.h"

namespace {

constexpr size_t kInputBytes = 50u * 1024 * 1024;
constexpr int kBoundSeconds = 300; // a DoEvents that waits for ever fails here

struct ConsoleRun {
  int status = -1; // exit status; -1 when killed by a signal or not ended in the bound
  int signal = 0;
};

ConsoleRun RunWithoutDisplay(const std::string &image) {
  int input[2], output[2];
  if (pipe(input) != 0 || pipe(output) != 0)
    return {};
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGPIPE, SIG_DFL); // as a shell would start it
    unsetenv("DISPLAY");
    dup2(input[0], 0);
    dup2(output[1], 1);
    for (int descriptor : {input[0], input[1], output[0], output[1]})
      close(descriptor);
    const std::string command = "exec " + Emulated(image);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
    _exit(127);
  }
  close(input[0]);
  close(output[0]); // nobody reads what it prints
  close(output[1]);
  // The writer ends when the program ends and the pipe breaks (the test
  // process ignores SIGPIPE for that), or once it wrote everything.
  signal(SIGPIPE, SIG_IGN);
  std::thread writer([descriptor = input[1]] {
    const std::vector<char> block(65536, 'x');
    for (size_t written = 0; written < kInputBytes;) {
      const ssize_t n = write(descriptor, block.data(), block.size());
      if (n <= 0)
        break;
      written += static_cast<size_t>(n);
    }
    close(descriptor);
  });
  ConsoleRun run;
  int status = 0;
  const time_t deadline = time(nullptr) + kBoundSeconds;
  pid_t ended = 0;
  while ((ended = waitpid(child, &status, WNOHANG)) == 0 && time(nullptr) < deadline) {
    timespec pause{0, 50 * 1000 * 1000};
    nanosleep(&pause, nullptr);
  }
  if (ended == 0) {
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
  } else if (WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    run.signal = WTERMSIG(status);
  }
  writer.join();
  signal(SIGPIPE, SIG_DFL);
  return run;
}

TEST(ConsoleImage, RunsWithoutADisplayAndDoEventsNeverWaits) {
  const ConsoleRun run = RunWithoutDisplay(std::string(TEST_IMAGES_DIR) + "/console_program");
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.status, 42);
}

} // namespace
