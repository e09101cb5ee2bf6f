// The child process on POSIX: fork and execv, pipes for the three standard streams, poll.
#include "support/child_process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int remaining_ms(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void close_fd(int& fd) {
  if (fd >= 0) {
    ::close(fd);
    fd = -1;
  }
}

class PosixChild : public ChildProcess {
public:
  PosixChild() {
    // A child that stops reading must show up as a failed write here, not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
  }
  ~PosixChild() override {
    close_fd(in_fd_);
    close_fd(out_fd_);
    close_fd(err_fd_);
  }

  bool start(const std::vector<std::string>& args) override {
    int in_pipe[2];
    int out_pipe[2];
    int err_pipe[2];
    if (::pipe2(in_pipe, O_CLOEXEC) != 0) {
      return false;
    }
    if (::pipe2(out_pipe, O_CLOEXEC) != 0) {
      ::close(in_pipe[0]);
      ::close(in_pipe[1]);
      return false;
    }
    if (::pipe2(err_pipe, O_CLOEXEC) != 0) {
      ::close(in_pipe[0]);
      ::close(in_pipe[1]);
      ::close(out_pipe[0]);
      ::close(out_pipe[1]);
      return false;
    }
    std::vector<std::string> storage = args;
    std::vector<char*> argv;
    for (std::string& s : storage) {
      argv.push_back(s.data());
    }
    argv.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) {
      for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
        ::close(fd);
      }
      return false;
    }
    if (pid_ == 0) {
      // The child: the pipe ends become its standard streams (dup2 clears close-on-exec).
      ::dup2(in_pipe[0], 0);
      ::dup2(out_pipe[1], 1);
      ::dup2(err_pipe[1], 2);
      std::signal(SIGPIPE, SIG_DFL);
      ::execv(storage[0].c_str(), argv.data());
      ::_exit(127);
    }
    ::close(in_pipe[0]);
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    in_fd_ = in_pipe[1];
    out_fd_ = out_pipe[0];
    err_fd_ = err_pipe[0];
    ::fcntl(in_fd_, F_SETFL, ::fcntl(in_fd_, F_GETFL) | O_NONBLOCK);
    return true;
  }

  bool write(std::string_view bytes, int timeout_ms) override {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::size_t done = 0;
    while (done < bytes.size()) {
      if (in_fd_ < 0 || remaining_ms(deadline) == 0) {
        return false;
      }
      const ssize_t put = ::write(in_fd_, bytes.data() + done, bytes.size() - done);
      if (put > 0) {
        done += static_cast<std::size_t>(put);
        continue;
      }
      if (put < 0 && errno != EAGAIN && errno != EINTR) {
        return false; // EPIPE: the child no longer reads
      }
      // The pipe is full: let the child make progress, and keep its output flowing meanwhile.
      pollfd fd{in_fd_, POLLOUT, 0};
      ::poll(&fd, 1, 5);
      pump(0);
    }
    return true;
  }

  void close_stdin() override { close_fd(in_fd_); }
  void close_stdout() override { close_fd(out_fd_); }

  void pump(int wait_ms) override {
    pollfd fds[2];
    int n = 0;
    if (out_fd_ >= 0) {
      fds[n++] = {out_fd_, POLLIN, 0};
    }
    if (err_fd_ >= 0) {
      fds[n++] = {err_fd_, POLLIN, 0};
    }
    if (n == 0) {
      if (wait_ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms < 20 ? wait_ms : 20));
      }
      return;
    }
    if (::poll(fds, static_cast<nfds_t>(n), wait_ms) <= 0) {
      return;
    }
    for (int i = 0; i < n; ++i) {
      if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) == 0) {
        continue;
      }
      char chunk[65536];
      const ssize_t got = ::read(fds[i].fd, chunk, sizeof chunk);
      std::string& sink = fds[i].fd == out_fd_ ? out : err;
      if (got > 0) {
        sink.append(chunk, static_cast<std::size_t>(got));
      } else if (got == 0 || errno != EINTR) {
        close_fd(fds[i].fd == out_fd_ ? out_fd_ : err_fd_);
      }
    }
  }

  bool stdout_open() const override { return out_fd_ >= 0; }
  bool stderr_open() const override { return err_fd_ >= 0; }

  bool poll_exit(PluginExit* exit) override {
    if (pid_ <= 0) {
      return true;
    }
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == 0) {
      return false;
    }
    if (done == pid_) {
      exit->exited = WIFEXITED(status);
      exit->code = exit->exited ? WEXITSTATUS(status) : -1;
      exit->signaled = WIFSIGNALED(status);
      exit->signal = exit->signaled ? WTERMSIG(status) : 0;
    }
    pid_ = -1;
    return true;
  }

  void kill() override {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
      pid_ = -1;
    }
  }

private:
  pid_t pid_ = -1;
  int in_fd_ = -1;  // our end of the child's standard input
  int out_fd_ = -1; // our end of the child's standard output
  int err_fd_ = -1; // our end of the child's standard error
};

} // namespace

std::unique_ptr<ChildProcess> make_child_process() {
  return std::make_unique<PosixChild>();
}
