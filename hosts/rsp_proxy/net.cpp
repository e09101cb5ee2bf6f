#include "net.h"

#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace rsp {

namespace {

volatile sig_atomic_t g_stop = 0;
int g_stop_pipe[2] = {-1, -1};

void on_stop_signal(int) {
  g_stop = 1;
  if (g_stop_pipe[1] >= 0) {
    const char byte = 1;
    // Nothing to do when the pipe is full: one byte already wakes the wait.
    [[maybe_unused]] const ssize_t ignored = ::write(g_stop_pipe[1], &byte, 1);
  }
}

std::string os_error(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

bool fill_unix_address(const std::string& path, sockaddr_un& address, std::string& error) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) {
    error = "the socket path '" + path + "' is empty or too long";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

int milliseconds_until(Clock::time_point deadline) {
  if (deadline == Clock::time_point::max()) {
    return -1;
  }
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  if (left <= 0) {
    return 0;
  }
  return left > 1000000 ? 1000000 : static_cast<int>(left) + 1;
}

// Waits for a non-blocking connect to end; false with the reason when it failed.
bool finish_connect(int fd, std::string& error) {
  pollfd p{fd, POLLOUT, 0};
  const int ready = ::poll(&p, 1, 10000);
  if (ready <= 0) {
    error = ready == 0 ? "no answer within 10 s" : os_error("poll");
    return false;
  }
  int code = 0;
  socklen_t length = sizeof code;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &code, &length) != 0) {
    error = os_error("getsockopt");
    return false;
  }
  if (code != 0) {
    error = std::strerror(code);
    return false;
  }
  return true;
}

} // namespace

bool parse_endpoint(const std::string& text, Endpoint& endpoint, std::string& error) {
  Endpoint e;
  if (text.rfind("unix:", 0) == 0) {
    e.is_unix = true;
    e.path = text.substr(5);
  } else if (text.find('/') != std::string::npos) {
    e.is_unix = true;
    e.path = text;
  } else {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
      error = "'" + text + "' is neither HOST:PORT nor a socket path";
      return false;
    }
    e.host = text.substr(0, colon);
    e.port = text.substr(colon + 1);
    if (e.host.empty()) {
      e.host = "127.0.0.1";
    }
    if (e.port.empty() || e.port.find_first_not_of("0123456789") != std::string::npos) {
      error = "'" + text + "': the port must be a number";
      return false;
    }
  }
  if (e.is_unix && e.path.empty()) {
    error = "'" + text + "': no socket path";
    return false;
  }
  endpoint = e;
  return true;
}

std::string describe(const Endpoint& endpoint) {
  return endpoint.is_unix ? endpoint.path : endpoint.host + ":" + endpoint.port;
}

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    reset(other.release());
  }
  return *this;
}

int Fd::release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void Fd::reset(int fd) {
  if (fd_ >= 0) {
    ::close(fd_);
  }
  fd_ = fd;
}

bool set_nonblocking(int fd) {
  const int flags = ::fcntl(fd, F_GETFL, 0);
  return flags >= 0 && ::fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

static void tune_socket(int fd, bool tcp) {
  set_nonblocking(fd);
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  if (tcp) {
    // Packets are small and answered one by one: waiting to fill a segment only adds delay.
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  }
}

Fd connect_to(const Endpoint& endpoint, std::string& error) {
  if (endpoint.is_unix) {
    sockaddr_un address;
    if (!fill_unix_address(endpoint.path, address, error)) {
      return Fd();
    }
    Fd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    if (!fd.valid()) {
      error = os_error("socket");
      return Fd();
    }
    tune_socket(fd.get(), false);
    if (::connect(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 &&
        (errno != EINPROGRESS || !finish_connect(fd.get(), error))) {
      if (error.empty()) {
        error = std::strerror(errno);
      }
      return Fd();
    }
    return fd;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(endpoint.host.c_str(), endpoint.port.c_str(), &hints, &found);
  if (status != 0) {
    error = std::string("cannot resolve ") + endpoint.host + ": " + ::gai_strerror(status);
    return Fd();
  }
  error = "no address";
  for (addrinfo* a = found; a != nullptr; a = a->ai_next) {
    Fd fd(::socket(a->ai_family, a->ai_socktype, a->ai_protocol));
    if (!fd.valid()) {
      error = os_error("socket");
      continue;
    }
    tune_socket(fd.get(), true);
    error.clear();
    if (::connect(fd.get(), a->ai_addr, a->ai_addrlen) == 0 ||
        (errno == EINPROGRESS && finish_connect(fd.get(), error))) {
      ::freeaddrinfo(found);
      return fd;
    }
    if (error.empty()) {
      error = std::strerror(errno);
    }
  }
  ::freeaddrinfo(found);
  return Fd();
}

Fd listen_on(const Endpoint& endpoint, std::string& bound_to, std::string& error) {
  if (endpoint.is_unix) {
    sockaddr_un address;
    if (!fill_unix_address(endpoint.path, address, error)) {
      return Fd();
    }
    struct stat st;
    if (::lstat(endpoint.path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
      // A socket that nobody serves any more is left over from an earlier run.
      std::string ignored;
      if (connect_to(endpoint, ignored).valid()) {
        error = endpoint.path + " is in use by another program";
        return Fd();
      }
      ::unlink(endpoint.path.c_str());
    }
    Fd fd(::socket(AF_UNIX, SOCK_STREAM, 0));
    if (!fd.valid() ||
        ::bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.get(), 1) != 0) {
      error = os_error(endpoint.path.c_str());
      return Fd();
    }
    tune_socket(fd.get(), false);
    bound_to = endpoint.path;
    return fd;
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE;
  addrinfo* found = nullptr;
  const int status = ::getaddrinfo(endpoint.host.c_str(), endpoint.port.c_str(), &hints, &found);
  if (status != 0) {
    error = std::string("cannot resolve ") + endpoint.host + ": " + ::gai_strerror(status);
    return Fd();
  }
  Fd fd;
  for (addrinfo* a = found; a != nullptr && !fd.valid(); a = a->ai_next) {
    Fd candidate(::socket(a->ai_family, a->ai_socktype, a->ai_protocol));
    if (!candidate.valid()) {
      continue;
    }
    const int on = 1;
    ::setsockopt(candidate.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(candidate.get(), a->ai_addr, a->ai_addrlen) == 0 &&
        ::listen(candidate.get(), 1) == 0) {
      fd = std::move(candidate);
    } else {
      error = os_error(describe(endpoint).c_str());
    }
  }
  ::freeaddrinfo(found);
  if (!fd.valid()) {
    return Fd();
  }
  tune_socket(fd.get(), false);
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound), &length);
  char host[NI_MAXHOST] = "";
  char port[NI_MAXSERV] = "";
  ::getnameinfo(reinterpret_cast<sockaddr*>(&bound), length, host, sizeof host, port, sizeof port,
                NI_NUMERICHOST | NI_NUMERICSERV);
  bound_to = std::string(host) + ":" + port;
  return fd;
}

Fd accept_on(int listener, std::string& peer) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  Fd fd(::accept(listener, reinterpret_cast<sockaddr*>(&address), &length));
  if (!fd.valid()) {
    return Fd();
  }
  const bool tcp = address.ss_family == AF_INET || address.ss_family == AF_INET6;
  tune_socket(fd.get(), tcp);
  peer = "a local socket";
  if (tcp) {
    char host[NI_MAXHOST] = "";
    char port[NI_MAXSERV] = "";
    ::getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host, port,
                  sizeof port, NI_NUMERICHOST | NI_NUMERICSERV);
    peer = std::string(host) + ":" + port;
  }
  return fd;
}

int wait_readable(const std::vector<int>& fds, Clock::time_point deadline) {
  std::vector<pollfd> polled;
  polled.reserve(fds.size() + 1);
  for (int fd : fds) {
    polled.push_back(pollfd{fd, POLLIN, 0});
  }
  if (g_stop_pipe[0] >= 0) {
    polled.push_back(pollfd{g_stop_pipe[0], POLLIN, 0});
  }
  for (;;) {
    if (g_stop) {
      return -1;
    }
    const int ready =
        ::poll(polled.data(), static_cast<nfds_t>(polled.size()), milliseconds_until(deadline));
    if (ready < 0 && errno == EINTR) {
      continue;
    }
    if (ready <= 0) {
      return -1;
    }
    for (std::size_t i = 0; i < fds.size(); ++i) {
      if (polled[i].revents != 0) {
        return static_cast<int>(i);
      }
    }
    if (g_stop) {
      return -1;
    }
  }
}

bool write_all(int fd, const char* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
    if (n > 0) {
      data += n;
      size -= static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == ENOTSOCK) {
      // A pipe (the plug-in's standard input).
      const ssize_t w = ::write(fd, data, size);
      if (w > 0) {
        data += w;
        size -= static_cast<std::size_t>(w);
        continue;
      }
      if (w < 0 && errno != EAGAIN && errno != EINTR) {
        return false;
      }
    } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
      return false;
    }
    pollfd p{fd, POLLOUT, 0};
    const int ready = ::poll(&p, 1, milliseconds_until(deadline));
    if (ready == 0 || (ready < 0 && errno != EINTR) || (p.revents & (POLLERR | POLLHUP)) != 0) {
      return false;
    }
  }
  return true;
}

long read_some(int fd, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, buffer, size);
    if (n >= 0) {
      return static_cast<long>(n);
    }
    if (errno == EINTR) {
      continue;
    }
    return errno == EAGAIN || errno == EWOULDBLOCK ? -1 : -2;
  }
}

void install_stop_signals() {
  if (g_stop_pipe[0] < 0 && ::pipe(g_stop_pipe) == 0) {
    set_nonblocking(g_stop_pipe[0]);
    set_nonblocking(g_stop_pipe[1]);
    ::fcntl(g_stop_pipe[0], F_SETFD, FD_CLOEXEC);
    ::fcntl(g_stop_pipe[1], F_SETFD, FD_CLOEXEC);
  }
  struct sigaction action {};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGHUP, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
}

bool stop_requested() {
  return g_stop != 0;
}

int stop_signal_fd() {
  return g_stop_pipe[0];
}

} // namespace rsp
