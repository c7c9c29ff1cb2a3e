#include "foundation/ProcessSpawnPosix.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool IsExecutableFile(const std::string &path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Waits for one child of ours, through interruptions. False when it is gone
// already (someone else reaped it).
bool WaitForChild(pid_t pid, int *status) {
  for (;;) {
    if (waitpid(pid, status, 0) == pid)
      return true;
    if (errno != EINTR)
      return false;
  }
}

// Closes the descriptors from first to last (inclusive); one call where the
// system has it, else one by one up to the descriptor limit.
void CloseRange(unsigned first, unsigned last) {
  if (first > last)
    return;
#ifdef SYS_close_range
  if (syscall(SYS_close_range, first, last, 0) == 0)
    return;
#endif
  struct rlimit limit;
  unsigned end = getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                     ? unsigned(limit.rlim_cur)
                     : 65536;
  if (last >= end)
    last = end - 1;
  for (unsigned fd = first; fd <= last; ++fd)
    close(int(fd));
}

// In the child, before exec: the program starts with no signal blocked and
// SIGPIPE at its default, whatever the runtime chose for itself, and with
// only descriptors 0 to 2 of ours (a listening socket it kept would hold the
// port after the runtime closed it); when exec fails its errno goes back
// through the report pipe. Only async-signal-safe calls here, as the parent
// may have threads.
[[noreturn]] void ExecOrReport(const char *const argv[], int reportFd) {
  const unsigned report = unsigned(reportFd);
  CloseRange(3, report - 1);
  CloseRange(report < 3 ? 3 : report + 1, ~0U);
  sigset_t none;
  sigemptyset(&none);
  sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction byDefault;
  memset(&byDefault, 0, sizeof byDefault);
  byDefault.sa_handler = SIG_DFL;
  sigaction(SIGPIPE, &byDefault, nullptr);
  execv(argv[0], const_cast<char *const *>(argv));
  int error = errno;
  ssize_t ignored = write(reportFd, &error, sizeof error);
  (void)ignored;
  _exit(127);
}

// Reads the exec report: the pipe closes without a word when exec succeeded
// (its write end is close-on-exec) and carries errno when it failed.
bool ExecSucceeded(int reportFd) {
  int error = 0;
  ssize_t got;
  do {
    got = read(reportFd, &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(reportFd);
  return got == 0;
}

bool ValidArguments(const char *const argv[]) { return argv && argv[0] && argv[0][0]; }

} // namespace

std::string FindExecutableOnPath(const char *name) {
  if (!name || !*name || strchr(name, '/'))
    return "";
  const char *path = getenv("PATH");
  std::string searched = path ? path : "/bin:/usr/bin";
  size_t start = 0;
  for (;;) {
    size_t end = searched.find(':', start);
    std::string folder = searched.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // An empty entry means the current folder.
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (IsExecutableFile(candidate))
      return candidate;
    if (end == std::string::npos)
      return "";
    start = end + 1;
  }
}

bool SpawnDetached(const char *const argv[]) {
  if (!ValidArguments(argv))
    return false;
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return false;
  // Double fork: the intermediate child starts the program and leaves at
  // once, so the program is adopted by init and we reap only the intermediate.
  pid_t intermediate = fork();
  if (intermediate < 0) {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (intermediate == 0) {
    close(report[0]);
    pid_t program = fork();
    if (program == 0)
      ExecOrReport(argv, report[1]);
    _exit(program < 0 ? 1 : 0);
  }
  close(report[1]);
  int status = 0;
  bool reaped = WaitForChild(intermediate, &status);
  // The program's copy of the write end keeps the pipe open until its exec.
  bool started = ExecSucceeded(report[0]);
  // Not reaped: SIGCHLD is ignored, so the report alone tells.
  bool intermediateOk = !reaped || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
  return intermediateOk && started;
}

int SpawnAndWait(const char *const argv[]) {
  if (!ValidArguments(argv))
    return -1;
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return -1;
  pid_t program = fork();
  if (program < 0) {
    close(report[0]);
    close(report[1]);
    return -1;
  }
  if (program == 0) {
    close(report[0]);
    ExecOrReport(argv, report[1]);
  }
  close(report[1]);
  bool started = ExecSucceeded(report[0]);
  int status = 0;
  if (!WaitForChild(program, &status) || !started || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}
