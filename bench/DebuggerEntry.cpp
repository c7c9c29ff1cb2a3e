// The line entry a debug build calls on every line, when the line does not
// stop (the link is open, no step or breakpoint asks for a stop), against a
// call of an empty function with the same argument. Under the i386 emulator
// only instruction counts mean anything (count-debugger-entry.sh).
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <thread>

#include "debugger/DebuggerConnection.h"
#include "debugger/DebuggerSupport.h"
#include "net/SocketCore.h"

namespace {

// Fixed, so that instruction counts of two runs with different counts give
// the cost of one iteration: DEBUGGER_BENCH_ITERATIONS, 1,000,000 by default.
int64_t Iterations() {
  const char *text = std::getenv("DEBUGGER_BENCH_ITERATIONS");
  return text && std::atoi(text) > 0 ? std::atoi(text) : 1000000;
}

// Opens the link once: a thread listens at the local path (under the lock
// the debugger tests share), takes the stub's connection and answers the
// first line's stop with RUN. The connection stays open.
void OpenLink() {
  static const bool opened = [] {
    const int lock = open("/tmp/debugger-link.lock", O_CREAT | O_RDWR | O_CLOEXEC, 0666);
    flock(lock, LOCK_EX); // held until the process ends
    NetInit();
    const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, kLocalDebugPath);
    unlink(kLocalDebugPath);
    bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    listen(listener, 1);
    std::thread peer([listener] {
      const int link = accept(listener, nullptr, nullptr);
      char byte = 0;
      while (read(link, &byte, 1) == 1 && byte != '\r') {
      }
      write(link, "RUN\r", 4);
    });
    RuntimeDebuggerEntry(0); // the first line stops, connects and is resumed
    peer.join();
    unlink(kLocalDebugPath);
    return true;
  }();
  (void)opened;
}

__attribute__((noinline)) void EmptyFunction(int32_t line) {
  benchmark::DoNotOptimize(line);
}

void BM_LineEntryThatDoesNotStop(benchmark::State &state) {
  OpenLink();
  for (auto _ : state)
    RuntimeDebuggerEntry(7);
}
BENCHMARK(BM_LineEntryThatDoesNotStop)->Iterations(Iterations());

void BM_EmptyFunctionCall(benchmark::State &state) {
  for (auto _ : state)
    EmptyFunction(7);
}
BENCHMARK(BM_EmptyFunctionCall)->Iterations(Iterations());

} // namespace

BENCHMARK_MAIN();
