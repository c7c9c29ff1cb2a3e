// An IPC socket pair serviced by run-loop steps against a plain AF_UNIX
// stream pair with a blocking reader thread: bulk throughput of 64 MB. With
// a display the steps are the run loop's own (which wait for the next
// toolkit event, at most one tick); without one, socket-layer services
// (NetIdle) in a tight loop. Under an emulator only the ratio of the two
// means anything.
#include <benchmark/benchmark.h>
#include <gtk/gtk.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "net/IPCSocket.h"
#include "net/SocketCore.h"
#include "net/TCPSocketPosix.h"
#include "runtime/loop/RunLoop.h"

namespace {

constexpr size_t kBulkBytes = size_t(64) << 20;
constexpr size_t kChunk = size_t(1) << 20;

class Counter : public IPCSocketDelegate {
public:
  void IPCSocketConnected(IPCSocket *) override { connected = true; }
  void IPCSocketDataReceived(IPCSocket *socket) override {
    received += size_t(socket->ReadDataAll().Length());
  }
  bool connected = false;
  size_t received = 0;
};

bool HaveDisplay() {
  static const bool display = gtk_init_check(nullptr, nullptr);
  return display;
}

void Step() {
  if (HaveDisplay())
    RunLoopStep();
  else
    NetIdle(false);
}

void BM_IPCSocketPairThroughRunLoopSteps(benchmark::State &state) {
  NetInit();
  char folder[] = "/tmp/ipcbenchXXXXXX";
  mkdtemp(folder);
  const std::string path = std::string(folder) + "/pair";
  string chunk(std::string(kChunk, 'x').c_str());
  for (auto _ : state) {
    Counter listening, connecting;
    IPCSocket server(&listening), client(&connecting);
    server.SetPipeName(string(path.c_str()));
    server.Listen();
    client.SetPipeName(string(path.c_str()));
    client.Connect();
    int64_t steps = 0;
    while (!(listening.connected && connecting.connected) && steps < 1000000) {
      Step();
      ++steps;
    }
    size_t queued = 0;
    while (listening.received < kBulkBytes && steps < 100000000) {
      // Keeps a few chunks queued, as a program writing in a loop would.
      TCPSocket *inner = client.GetInnerSocket();
      while (queued < kBulkBytes && inner->BytesLeftToSend() < int32_t(2 * kChunk)) {
        client.SendData(chunk);
        queued += kChunk;
      }
      Step();
      ++steps;
    }
    client.Close();
    server.Close();
    state.counters["steps"] = double(steps);
  }
  rmdir(folder);
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBulkBytes));
}
BENCHMARK(BM_IPCSocketPairThroughRunLoopSteps)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PlainUnixPairBulk(benchmark::State &state) {
  std::string block(kChunk, 'x');
  std::vector<char> sink(kChunk);
  for (auto _ : state) {
    int pair[2];
    socketpair(AF_UNIX, SOCK_STREAM, 0, pair);
    std::thread writer([&] {
      for (size_t sent = 0; sent < kBulkBytes;) {
        ssize_t n = write(pair[0], block.data(), block.size());
        if (n <= 0)
          break;
        sent += size_t(n);
      }
      close(pair[0]);
    });
    size_t received = 0;
    for (ssize_t n; received < kBulkBytes && (n = read(pair[1], sink.data(), sink.size())) > 0;)
      received += size_t(n);
    writer.join();
    close(pair[1]);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBulkBytes));
}
BENCHMARK(BM_PlainUnixPairBulk)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
