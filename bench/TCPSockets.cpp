// TCPSocket serviced by run-loop steps (NetIdle) against plain blocking
// sockets on loopback: bulk throughput of 64 MB and small-message round
// trips. The peer is a plain blocking socket on its own thread in both.
// Counters: MB/s of the transfer, and the run-loop steps one round trip
// took (the target is at most two). With a display the steps are the run
// loop's own (which wait for the next toolkit event, at most one tick);
// without one, socket services in a tight loop, which count far more steps
// than the run loop would. Under an emulator only the ratios and the step
// counts mean anything.
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtk/gtk.h>

#include "net/SocketCore.h"
#include "net/TCPSocket.h"
#include "runtime/loop/RunLoop.h"

namespace {

constexpr size_t kBulkBytes = size_t(64) << 20;
constexpr int kRoundTrips = 200;

int ListenOnLoopback(int *port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
  listen(fd, 5);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length);
  *port = ntohs(address.sin_port);
  return fd;
}

int ConnectTo(int port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(uint16_t(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

void SendAll(int fd, const char *bytes, size_t count) {
  while (count > 0) {
    ssize_t n = send(fd, bytes, count, MSG_NOSIGNAL);
    if (n <= 0)
      return;
    bytes += n;
    count -= size_t(n);
  }
}

bool ReceiveExactly(int fd, char *bytes, size_t count) {
  while (count > 0) {
    ssize_t n = recv(fd, bytes, count, 0);
    if (n <= 0)
      return false;
    bytes += n;
    count -= size_t(n);
  }
  return true;
}

// Counts what arrives and answers each small message at once.
class Counter : public TCPSocketDelegate {
public:
  void SocketConnected(TCPSocket *) override { connected = true; }
  void SocketDataReceived(TCPSocket *socket) override {
    string text = socket->ReadDataAll();
    received += size_t(text.Length());
  }
  bool connected = false;
  size_t received = 0;
};

bool HaveDisplay() {
  static const bool display = gtk_init_check(nullptr, nullptr);
  return display;
}

void Step() {
  if (HaveDisplay()) {
    RunLoopStep();
    return;
  }
  if (!NetIdle(false))
    std::this_thread::yield();
}

void BM_TCPSocketBulkThroughRunLoopSteps(benchmark::State &state) {
  NetInit();
  std::string block(1 << 20, 'x');
  for (auto _ : state) {
    int port;
    int listener = ListenOnLoopback(&port);
    std::thread peer([&] {
      int fd = accept(listener, nullptr, nullptr);
      for (size_t sent = 0; sent < kBulkBytes; sent += block.size())
        SendAll(fd, block.data(), block.size());
      char ignored;
      recv(fd, &ignored, 1, 0); // until the socket closes
      close(fd);
    });
    Counter counter;
    TCPSocket *socket = CreateTCPSocket(nullptr, &counter);
    socket->Connect(string("127.0.0.1"), port);
    int64_t steps = 0;
    while (counter.received < kBulkBytes && steps < 10000000) {
      Step();
      ++steps;
    }
    delete socket;
    peer.join();
    close(listener);
    state.counters["steps"] = double(steps);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBulkBytes));
}
BENCHMARK(BM_TCPSocketBulkThroughRunLoopSteps)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PlainBlockingBulk(benchmark::State &state) {
  std::string block(1 << 20, 'x');
  std::vector<char> sink(1 << 20);
  for (auto _ : state) {
    int port;
    int listener = ListenOnLoopback(&port);
    std::thread peer([&] {
      int fd = accept(listener, nullptr, nullptr);
      for (size_t sent = 0; sent < kBulkBytes; sent += block.size())
        SendAll(fd, block.data(), block.size());
      close(fd);
    });
    int fd = ConnectTo(port);
    size_t received = 0;
    for (ssize_t n; received < kBulkBytes && (n = recv(fd, sink.data(), sink.size(), 0)) > 0;)
      received += size_t(n);
    close(fd);
    peer.join();
    close(listener);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBulkBytes));
}
BENCHMARK(BM_PlainBlockingBulk)->Unit(benchmark::kMillisecond)->Iterations(2);

// An echo peer answers each 64-byte message; the socket sends the next one
// when the answer arrived. Counts the steps per round trip.
void BM_TCPSocketRoundTripsThroughRunLoopSteps(benchmark::State &state) {
  NetInit();
  for (auto _ : state) {
    int port;
    int listener = ListenOnLoopback(&port);
    std::thread peer([&] {
      int fd = accept(listener, nullptr, nullptr);
      int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      char message[64];
      while (ReceiveExactly(fd, message, sizeof message))
        SendAll(fd, message, sizeof message);
      close(fd);
    });
    Counter counter;
    TCPSocket *socket = CreateTCPSocket(nullptr, &counter);
    socket->Connect(string("127.0.0.1"), port);
    int64_t steps = 0;
    while (!counter.connected && steps < 1000000) {
      Step();
      ++steps;
    }
    steps = 0;
    string message(std::string(64, 'm').c_str());
    for (int trip = 1; trip <= kRoundTrips; ++trip) {
      socket->SendData(message);
      while (counter.received < size_t(trip) * 64 && steps < 10000000) {
        Step();
        ++steps;
      }
    }
    delete socket;
    peer.join();
    close(listener);
    state.counters["steps_per_trip"] = double(steps) / kRoundTrips;
    state.counters["run_loop_steps"] = HaveDisplay() ? 1 : 0;
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kRoundTrips);
}
BENCHMARK(BM_TCPSocketRoundTripsThroughRunLoopSteps)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainBlockingRoundTrips(benchmark::State &state) {
  for (auto _ : state) {
    int port;
    int listener = ListenOnLoopback(&port);
    std::thread peer([&] {
      int fd = accept(listener, nullptr, nullptr);
      int one = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
      char message[64];
      while (ReceiveExactly(fd, message, sizeof message))
        SendAll(fd, message, sizeof message);
      close(fd);
    });
    int fd = ConnectTo(port);
    char message[64] = {};
    for (int trip = 0; trip < kRoundTrips; ++trip) {
      SendAll(fd, message, sizeof message);
      ReceiveExactly(fd, message, sizeof message);
    }
    close(fd);
    peer.join();
    close(listener);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * kRoundTrips);
}
BENCHMARK(BM_PlainBlockingRoundTrips)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
