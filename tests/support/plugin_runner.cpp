// Child-process runner for the plug-in executable (see plugin_runner.h).
#include "support/plugin_runner.h"

#include "host_link/simple_json/json_parse.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
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

bool is_request(const std::string& message) {
  std::string error;
  const JsonPtr value = json_parse(message.c_str(), error);
  return value != nullptr && value->kind == JsonKind::Object &&
         json_object_find(value.get(), "method") >= 0;
}

} // namespace

PluginRunner::PluginRunner(std::string executable) : executable_(std::move(executable)) {
  // A child that stops reading must show up as a failed write here, not kill the test.
  std::signal(SIGPIPE, SIG_IGN);
}

PluginRunner::~PluginRunner() {
  close_fd(in_fd_);
  if (pid_ > 0 && !reaped_) {
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }
  close_fd(out_fd_);
  close_fd(err_fd_);
}

bool PluginRunner::start(const std::vector<std::string>& args) {
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
  std::vector<std::string> storage;
  storage.push_back(executable_);
  storage.insert(storage.end(), args.begin(), args.end());
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
    ::execv(executable_.c_str(), argv.data());
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

void PluginRunner::pump(int wait_ms) {
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
    std::string& sink = fds[i].fd == out_fd_ ? out_ : err_;
    if (got > 0) {
      sink.append(chunk, static_cast<std::size_t>(got));
    } else if (got == 0 || errno != EINTR) {
      close_fd(fds[i].fd == out_fd_ ? out_fd_ : err_fd_);
    }
  }
}

bool PluginRunner::write(std::string_view bytes, int timeout_ms) {
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

bool PluginRunner::write_chunks(const std::vector<std::string>& chunks, int pause_ms) {
  for (const std::string& chunk : chunks) {
    if (!write(chunk)) {
      return false;
    }
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(pause_ms);
    while (remaining_ms(until) > 0) {
      pump(remaining_ms(until));
    }
  }
  return true;
}

void PluginRunner::close_stdin() {
  close_fd(in_fd_);
}

void PluginRunner::close_stdout() {
  close_fd(out_fd_);
}

bool PluginRunner::next_message(std::string* message, int timeout_ms) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const std::size_t length = leading_message_length(std::string_view(out_).substr(taken_));
    if (length > 0) {
      message->assign(out_, taken_, length);
      taken_ += length;
      return true;
    }
    if (out_fd_ < 0 || remaining_ms(deadline) == 0) {
      return false;
    }
    pump(remaining_ms(deadline));
  }
}

bool PluginRunner::quiet_for(int ms) {
  const std::size_t before = out_.size();
  const Clock::time_point until = Clock::now() + std::chrono::milliseconds(ms);
  while (remaining_ms(until) > 0 && out_fd_ >= 0) {
    pump(remaining_ms(until));
  }
  return out_.size() == before;
}

bool PluginRunner::converse(const std::string& request, ScriptedDebugger& debugger,
                            std::string* response, int timeout_ms) {
  if (!write(request, timeout_ms)) {
    return false;
  }
  for (;;) {
    std::string message;
    if (!next_message(&message, timeout_ms)) {
      return false;
    }
    if (!is_request(message)) {
      *response = message;
      return true;
    }
    const ScriptReply reply = debugger.answer(message);
    for (const std::string& injected : reply.inject) {
      std::string injected_response;
      if (!write(injected, timeout_ms) || !next_message(&injected_response, timeout_ms)) {
        return false;
      }
      debugger.record_injected_response(injected_response);
    }
    if (reply.has_answer && !write(reply.answer, timeout_ms)) {
      return false;
    }
  }
}

PluginExit PluginRunner::wait_for_child(int timeout_ms) {
  if (reaped_) {
    return exit_;
  }
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    int status = 0;
    const pid_t done = pid_ > 0 ? ::waitpid(pid_, &status, WNOHANG) : -1;
    if (done == pid_ || done < 0) {
      if (done == pid_) {
        exit_.exited = WIFEXITED(status);
        exit_.code = exit_.exited ? WEXITSTATUS(status) : -1;
        exit_.signaled = WIFSIGNALED(status);
        exit_.signal = exit_.signaled ? WTERMSIG(status) : 0;
      }
      reaped_ = true;
      break;
    }
    if (remaining_ms(deadline) == 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      exit_.timed_out = true;
      exit_.signaled = true;
      exit_.signal = SIGKILL;
      reaped_ = true;
      break;
    }
    pump(10);
  }
  // Whatever the child wrote before it ended is still in the pipes.
  while (out_fd_ >= 0 || err_fd_ >= 0) {
    pump(100);
  }
  return exit_;
}

PluginExit PluginRunner::wait_exit(int timeout_ms) {
  close_stdin();
  return wait_for_child(timeout_ms);
}

PluginExit PluginRunner::wait_exit_keep_stdin(int timeout_ms) {
  return wait_for_child(timeout_ms);
}

PluginRun run_plugin(const std::string& executable, const std::vector<std::string>& args,
                     const std::string& input, int timeout_ms) {
  PluginRunner runner(executable);
  PluginRun run;
  if (!runner.start(args)) {
    return run;
  }
  if (!input.empty()) {
    runner.write(input, timeout_ms);
  }
  run.exit = runner.wait_exit(timeout_ms);
  run.out = runner.out();
  run.err = runner.err();
  return run;
}

std::size_t leading_message_length(std::string_view text) {
  if (text.empty() || text[0] != '{') {
    return 0;
  }
  std::size_t depth = 0;
  bool in_string = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (in_string) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        in_string = false;
      }
    } else if (c == '"') {
      in_string = true;
    } else if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth == 0) {
        return i + 1;
      }
    }
  }
  return 0;
}

bool split_messages(std::string_view stream, std::vector<std::string>* messages) {
  messages->clear();
  while (!stream.empty()) {
    const std::size_t length = leading_message_length(stream);
    if (length == 0) {
      return false;
    }
    messages->emplace_back(stream.substr(0, length));
    stream.remove_prefix(length);
  }
  return true;
}
