#include "support/PrivateXvfb.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

PrivateXvfb StartPrivateXvfb() {
  PrivateXvfb server;
  int fds[2];
  if (pipe(fds) != 0)
    return server;
  server.pid = fork();
  if (server.pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    // -noreset: by default the server resets whenever its last client leaves,
    // and a client connecting during that reset is refused. -r: no
    // auto-repeat, so that a key xdotool holds down while a loaded machine
    // delays its release is not typed again and again.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", "-noreset", "-r", static_cast<char *>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  // The server writes its display number once it accepts clients.
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n')
    number += c;
  close(fds[0]);
  if (!number.empty())
    server.display = ":" + number;
  return server;
}

void StopPrivateXvfb(PrivateXvfb &server) {
  if (server.pid > 0) {
    kill(server.pid, SIGTERM);
    waitpid(server.pid, nullptr, 0);
  }
  server = PrivateXvfb{};
}
