// Sockets, descriptors and waiting: the few operating-system calls of the proxy's links.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace rsp {

// An endpoint as the command line writes it: "HOST:PORT" (TCP; HOST a name or an IPv4
// address, empty for the loopback address), "unix:PATH", or a PATH that holds a '/' (a
// Unix-domain socket).
struct Endpoint {
  bool is_unix = false;
  std::string host; // TCP
  std::string port; // TCP
  std::string path; // Unix
};
bool parse_endpoint(const std::string& text, Endpoint& endpoint, std::string& error);
std::string describe(const Endpoint& endpoint);

// A descriptor that closes itself.
class Fd {
public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.release()) {}
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int release();
  void reset(int fd = -1);

private:
  int fd_ = -1;
};

// A connected stream socket (non-blocking), or an invalid Fd with the reason.
Fd connect_to(const Endpoint& endpoint, std::string& error);
// A listening socket (non-blocking); for TCP port 0 the system picks the port, and bound_to
// tells which one was taken ("127.0.0.1:40123", or the path).
Fd listen_on(const Endpoint& endpoint, std::string& bound_to, std::string& error);
// The next connection on a listening socket (non-blocking), or an invalid Fd.
Fd accept_on(int listener, std::string& peer);

bool set_nonblocking(int fd);

using Clock = std::chrono::steady_clock;

// Waits until one of fds is readable (or has hung up), or the deadline passes, or a signal
// arrives. Gives the index of the first ready one, -1 on timeout or signal.
int wait_readable(const std::vector<int>& fds, Clock::time_point deadline);
inline Clock::time_point never() {
  return Clock::time_point::max();
}

// Writes every byte, waiting while the descriptor is full, until the deadline. False when
// the other end is gone, on an error or on the deadline.
bool write_all(int fd, const char* data, std::size_t size, Clock::time_point deadline);
// One read of what is there: the count, 0 at the end of the stream, -1 when nothing is
// there yet, -2 on an error.
long read_some(int fd, char* buffer, std::size_t size);

// A flag and a descriptor that SIGINT, SIGTERM and SIGHUP set, so that waits end at once.
void install_stop_signals();
bool stop_requested();
int stop_signal_fd();

} // namespace rsp
