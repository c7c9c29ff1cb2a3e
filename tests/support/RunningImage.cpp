#include "support/RunningImage.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "support/CommandOutput.h"
#include "support/ImageRunner.h"
#include "support/WindowsTestSupport.h"

namespace {

// How long any one wait may take on a loaded machine.
constexpr long long kBoundMilliseconds = 60 * 1000;

long long NowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

std::vector<std::string> Words(const std::string &text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;)
    words.push_back(word);
  return words;
}

} // namespace

RunningImage::RunningImage(const std::string &name, const std::string &arguments,
                           const std::string &environment)
    : mName(name) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0)
    return;
  mPid = fork();
  if (mPid == 0) {
    dup2(fds[1], STDERR_FILENO);
    const std::string command = "exec " + (environment.empty() ? "" : "env " + environment + " ") +
                                Emulated(std::string(TEST_IMAGES_DIR) + "/" + name) +
                                (arguments.empty() ? "" : " " + arguments);
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char *>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (mPid < 0)
    close(fds[0]);
  else
    mErrors = fds[0];
}

RunningImage::~RunningImage() {
  if (mPid > 0) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  if (mErrors >= 0)
    close(mErrors);
}

bool RunningImage::ReadMore(long long deadline) {
  if (mErrors < 0)
    return false;
  const long long left = deadline - NowMilliseconds();
  if (left <= 0)
    return false;
  pollfd p{mErrors, POLLIN, 0};
  if (poll(&p, 1, static_cast<int>(left)) <= 0)
    return false;
  char buffer[4096];
  const ssize_t n = read(mErrors, buffer, sizeof buffer);
  if (n <= 0) {
    close(mErrors);
    mErrors = -1;
    return false;
  }
  mPartial.append(buffer, static_cast<size_t>(n));
  for (size_t end; (end = mPartial.find('\n')) != std::string::npos;) {
    mLines.push_back(mPartial.substr(0, end));
    mPartial.erase(0, end + 1);
  }
  return true;
}

bool RunningImage::WaitForLine(const std::string &line) {
  return WaitForLineWithin(line, kBoundMilliseconds);
}

bool RunningImage::WaitForLineWithin(const std::string &line, long long milliseconds) {
  const long long deadline = NowMilliseconds() + std::min(milliseconds, kBoundMilliseconds);
  for (size_t seen = 0;; ) {
    for (; seen < mLines.size(); ++seen)
      if (mLines[seen] == line)
        return true;
    if (!ReadMore(deadline))
      return false;
  }
}

bool RunningImage::InputUntilLine(const std::string &xdotoolArgs, const std::string &line) {
  auto count = [&] {
    size_t n = 0;
    for (const std::string &written : mLines)
      n += written == line;
    return n;
  };
  const size_t before = count();
  // Each attempt waits long enough for an input that is only slow to land.
  constexpr long long kAttemptMilliseconds = 15 * 1000;
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (!XDoTool(xdotoolArgs))
      continue;
    const long long deadline = NowMilliseconds() + kAttemptMilliseconds;
    while (count() == before && ReadMore(deadline)) {
    }
    if (count() > before)
      return true;
    if (mErrors < 0)
      return false; // the image ended
  }
  return false;
}

std::vector<std::string> RunningImage::LinesStartingWith(const std::string &prefix) const {
  std::vector<std::string> found;
  for (const std::string &line : mLines)
    if (line.compare(0, prefix.size(), prefix) == 0)
      found.push_back(line);
  return found;
}

std::string RunningImage::WindowTitled(const std::string &title) const {
  const std::vector<std::string> ids =
      Words(CommandOutput("timeout " + std::to_string(kBoundMilliseconds / 1000) +
                   " xdotool search --sync --onlyvisible --name '^" + title + "$' 2>/dev/null"));
  return ids.empty() ? std::string() : ids.front();
}

std::string RunningImage::FocusedWindow(const std::string &title, const std::string &line) {
  const std::string window = WindowTitled(title);
  if (window.empty() || !WaitForLine(line) || !XDoTool("windowfocus --sync " + window))
    return std::string();
  return window;
}

std::vector<std::string> RunningImage::VisibleWindows() const {
  return Words(CommandOutput("xdotool search --onlyvisible --classname '^" + mName + "$' 2>/dev/null"));
}

int RunningImage::WaitForExit() {
  const long long deadline = NowMilliseconds() + kBoundMilliseconds;
  while (ReadMore(deadline)) {
  }
  if (mPid <= 0 || mErrors >= 0)
    return -1; // the output did not end in time
  // The image held its standard error until it ended.
  int status = 0;
  if (waitpid(mPid, &status, 0) != mPid)
    return -1;
  mPid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
