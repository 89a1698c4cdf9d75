#include "common/platform/tcp_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>

namespace sorrel::platform {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReceiveBufferBytes = 65'536;
constexpr std::size_t kLargestRead = kReceiveBufferBytes - 1;

class Socket {
 public:
  Socket() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }

 private:
  int fd_;
};

// The milliseconds one wait may take: its own limit, cut short by the deadline.
int waitLimit(int ownMilliseconds, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) return 0;
  return static_cast<int>(std::min<long long>(ownMilliseconds, left));
}

enum class Wait { Ready, TimedOut, Failed };

// Waits until the socket is ready for events (a hang-up or an error counts as ready: the next
// call reports it).
Wait waitFor(int fd, short events, int milliseconds) {
  for (;;) {
    if (milliseconds <= 0) return Wait::TimedOut;
    pollfd entry{fd, events, 0};
    const auto started = Clock::now();
    const int ready = poll(&entry, 1, milliseconds);
    if (ready > 0) return Wait::Ready;
    if (ready == 0) return Wait::TimedOut;
    if (errno != EINTR) return Wait::Failed;
    milliseconds -=
        static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count());
  }
}

TcpOutcome connectTo(int fd, const sockaddr_in& peer, const TcpTimeouts& timeouts, Clock::time_point deadline) {
  if (connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return TcpOutcome::Closed;
  if (errno != EINPROGRESS) return TcpOutcome::ConnectFailed;
  const Wait wait = waitFor(fd, POLLOUT, waitLimit(timeouts.connectMilliseconds, deadline));
  if (wait != Wait::Ready) return TcpOutcome::ConnectFailed;
  int error = 0;
  socklen_t length = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) return TcpOutcome::ConnectFailed;
  return TcpOutcome::Closed;
}

TcpOutcome sendAll(int fd, const std::string& request, const TcpTimeouts& timeouts, Clock::time_point deadline) {
  std::size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t count = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (count > 0) {
      sent += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return TcpOutcome::SendFailed;
    const Wait wait = waitFor(fd, POLLOUT, waitLimit(timeouts.idleMilliseconds, deadline));
    if (wait == Wait::TimedOut) return TcpOutcome::TimedOut;
    if (wait == Wait::Failed) return TcpOutcome::SendFailed;
  }
  return TcpOutcome::Closed;
}

// Appends without letting the string grow beyond maxAnswer bytes of capacity.
void appendCapped(std::string& answer, const char* bytes, std::size_t count, std::size_t maxAnswer) {
  const std::size_t needed = answer.size() + count;
  if (needed > answer.capacity()) answer.reserve(std::min(std::max(needed, answer.capacity() * 2), maxAnswer));
  answer.append(bytes, count);
}

TcpOutcome receiveAll(int fd, std::size_t maxAnswer, const TcpTimeouts& timeouts, Clock::time_point deadline,
                      std::string& answer) {
  const std::unique_ptr<char[]> buffer(new char[kReceiveBufferBytes]);
  for (;;) {
    const ssize_t count = recv(fd, buffer.get(), kLargestRead, 0);
    if (count == 0) return TcpOutcome::Closed;
    if (count > 0) {
      if (static_cast<std::size_t>(count) > maxAnswer - answer.size()) return TcpOutcome::TooLong;
      appendCapped(answer, buffer.get(), static_cast<std::size_t>(count), maxAnswer);
      // A peer that always has a byte ready must still meet the deadline.
      if (Clock::now() >= deadline) return TcpOutcome::TimedOut;
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return TcpOutcome::ReceiveFailed;
    const Wait wait = waitFor(fd, POLLIN, waitLimit(timeouts.idleMilliseconds, deadline));
    if (wait == Wait::TimedOut) return TcpOutcome::TimedOut;
    if (wait == Wait::Failed) return TcpOutcome::ReceiveFailed;
  }
}

TcpOutcome exchange(const std::string& address, std::uint16_t port, const std::string& request, std::size_t maxAnswer,
                    const TcpTimeouts& timeouts, std::string& answer) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeouts.deadlineMilliseconds);
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(port);
  // inet_aton takes dotted numbers only (the forms inet_addr takes) and never looks a name up.
  if (port == 0 || address.find('\0') != std::string::npos || inet_aton(address.c_str(), &peer.sin_addr) == 0) {
    return TcpOutcome::BadAddress;
  }
  const Socket socket;
  if (socket.fd() < 0) return TcpOutcome::ConnectFailed;
  // Each stage answers Closed when it went well; the last one, when the peer really closed.
  TcpOutcome outcome = connectTo(socket.fd(), peer, timeouts, deadline);
  if (outcome == TcpOutcome::Closed) outcome = sendAll(socket.fd(), request, timeouts, deadline);
  if (outcome == TcpOutcome::Closed) outcome = receiveAll(socket.fd(), maxAnswer, timeouts, deadline, answer);
  return outcome;
}

}  // namespace

TcpOutcome tcpExchange(const std::string& address, std::uint16_t port, const std::string& request, std::size_t reserve,
                       std::size_t maxAnswer, const TcpTimeouts& timeouts, std::string& answer) {
  answer.clear();
  answer.reserve(std::min(reserve, maxAnswer));
  const TcpOutcome outcome = exchange(address, port, request, maxAnswer, timeouts, answer);
  if (outcome != TcpOutcome::Closed) std::string().swap(answer);
  return outcome;
}

}  // namespace sorrel::platform
