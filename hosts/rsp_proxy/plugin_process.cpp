#include "plugin_process.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace rsp {

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

void close_quietly(int fd) {
  if (fd >= 0) {
    ::close(fd);
  }
}

} // namespace

bool MessageScanner::feed(const char* data, std::size_t size, std::vector<std::string>& out,
                          std::string& error) {
  for (std::size_t i = 0; i < size; ++i) {
    const char c = data[i];
    if (depth_ == 0) {
      if (is_blank(c)) {
        continue;
      }
      if (c != '{') {
        error = "the plug-in wrote something that is not a message";
        return false;
      }
      depth_ = 1;
      buffer_ = "{";
      continue;
    }
    buffer_ += c;
    if (in_string_) {
      if (escaped_) {
        escaped_ = false;
      } else if (c == '\\') {
        escaped_ = true;
      } else if (c == '"') {
        in_string_ = false;
      }
    } else if (c == '"') {
      in_string_ = true;
    } else if (c == '{') {
      ++depth_;
    } else if (c == '}' && --depth_ == 0) {
      out.push_back(std::move(buffer_));
      buffer_.clear();
    }
    if (buffer_.size() > limit_) {
      error = "the plug-in wrote a message longer than " + std::to_string(limit_) + " bytes";
      return false;
    }
  }
  return true;
}

bool PluginProcess::start(const std::vector<std::string>& argv, std::string& error) {
  if (argv.empty()) {
    error = "no plug-in program";
    return false;
  }
  if (::access(argv[0].c_str(), X_OK) != 0) {
    error = "the plug-in " + argv[0] + " cannot be run: " + std::strerror(errno);
    return false;
  }
  int in_pipe[2];
  int out_pipe[2];
  int err_pipe[2];
  int exec_pipe[2];
  if (::pipe(in_pipe) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  if (::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0 || ::pipe2(exec_pipe, O_CLOEXEC) != 0) {
    error = std::string("pipe: ") + std::strerror(errno);
    return false;
  }
  std::vector<char*> args;
  for (const std::string& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) {
    error = std::string("fork: ") + std::strerror(errno);
    return false;
  }
  if (pid == 0) {
    // A group of its own: a Ctrl-C meant for the proxy's terminal must not end it too.
    ::setpgid(0, 0);
    ::dup2(in_pipe[0], 0);
    ::dup2(out_pipe[1], 1);
    ::dup2(err_pipe[1], 2);
    for (int fd : {in_pipe[0], in_pipe[1], out_pipe[0], out_pipe[1], err_pipe[0], err_pipe[1]}) {
      ::close(fd);
    }
    ::signal(SIGPIPE, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGTERM, SIG_DFL);
    ::execv(args[0], args.data());
    const int code = errno;
    [[maybe_unused]] const ssize_t ignored = ::write(exec_pipe[1], &code, sizeof code);
    ::_exit(127);
  }
  ::setpgid(pid, pid);
  close_quietly(in_pipe[0]);
  close_quietly(out_pipe[1]);
  close_quietly(err_pipe[1]);
  close_quietly(exec_pipe[1]);
  int code = 0;
  const ssize_t got = ::read(exec_pipe[0], &code, sizeof code);
  close_quietly(exec_pipe[0]);
  pid_ = pid;
  to_plugin_.reset(in_pipe[1]);
  from_plugin_.reset(out_pipe[0]);
  errors_.reset(err_pipe[0]);
  for (int fd : {in_pipe[1], out_pipe[0], err_pipe[0]}) {
    set_nonblocking(fd);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  if (got == sizeof code) {
    error = "cannot start the plug-in " + argv[0] + ": " + std::strerror(code);
    stop();
    return false;
  }
  exit_text_.clear();
  scanner_ = MessageScanner(1 << 20);
  ready_.clear();
  return true;
}

void PluginProcess::reap(bool wait) {
  if (pid_ <= 0) {
    return;
  }
  int status = 0;
  const pid_t done = ::waitpid(pid_, &status, wait ? 0 : WNOHANG);
  if (done != pid_) {
    return;
  }
  if (WIFEXITED(status)) {
    exit_text_ = "exited with status " + std::to_string(WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    exit_text_ = "ended by signal " + std::to_string(WTERMSIG(status));
  }
  pid_ = -1;
}

void PluginProcess::stop() {
  if (pid_ <= 0) {
    return;
  }
  to_plugin_.reset();
  from_plugin_.reset();
  // Closing its input ends a healthy plug-in at once; a hung one is not waited for long.
  for (int i = 0; i < 20 && pid_ > 0; ++i) {
    reap(false);
    if (pid_ > 0) {
      ::usleep(10000);
    }
  }
  if (pid_ > 0) {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    const pid_t pid = pid_;
    reap(true);
    if (exit_text_.empty()) {
      exit_text_ = "ended (pid " + std::to_string(pid) + ")";
    }
  }
  drain_stderr();
  errors_.reset();
}

void PluginProcess::lost(const std::string& why_text, std::string& why) {
  why = why_text;
  stop();
}

bool PluginProcess::send(const std::string& text, Clock::time_point deadline, std::string& why) {
  if (pid_ <= 0 || !to_plugin_.valid()) {
    why = "the plug-in is not running";
    return false;
  }
  if (!write_all(to_plugin_.get(), text.data(), text.size(), deadline)) {
    reap(false);
    lost(pid_ > 0 ? "the plug-in did not take a message in time"
                  : "the plug-in " + (exit_text_.empty() ? std::string("exited") : exit_text_),
         why);
    return false;
  }
  return true;
}

bool PluginProcess::receive(std::string& message, Clock::time_point deadline, std::string& why) {
  for (;;) {
    if (!ready_.empty()) {
      message = std::move(ready_.front());
      ready_.erase(ready_.begin());
      return true;
    }
    if (pid_ <= 0 || !from_plugin_.valid()) {
      why = "the plug-in is not running";
      return false;
    }
    const int which = wait_readable({from_plugin_.get(), errors_.get()}, deadline);
    if (which < 0) {
      lost(stop_requested() ? "the proxy is stopping" : "the plug-in did not answer in time", why);
      return false;
    }
    if (which == 1) {
      drain_stderr();
      continue;
    }
    char buffer[65536];
    const long n = read_some(from_plugin_.get(), buffer, sizeof buffer);
    if (n == -1) {
      continue;
    }
    if (n <= 0) {
      drain_stderr();
      reap(true);
      const std::string how = exit_text_.empty() ? "closed its output" : exit_text_;
      lost("the plug-in " + how, why);
      return false;
    }
    std::string error;
    if (!scanner_.feed(buffer, static_cast<std::size_t>(n), ready_, error)) {
      lost(error, why);
      return false;
    }
  }
}

void PluginProcess::drain_stderr() {
  if (!errors_.valid()) {
    return;
  }
  char buffer[4096];
  for (;;) {
    const long n = read_some(errors_.get(), buffer, sizeof buffer);
    if (n <= 0) {
      if (n == 0 || n == -2) {
        errors_.reset();
      }
      break;
    }
    stderr_partial_.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t start = 0;
  for (std::size_t nl; (nl = stderr_partial_.find('\n', start)) != std::string::npos;
       start = nl + 1) {
    stderr_lines_.push_back(stderr_partial_.substr(start, nl - start));
  }
  stderr_partial_.erase(0, start);
  if (!errors_.valid() && !stderr_partial_.empty()) {
    stderr_lines_.push_back(std::move(stderr_partial_));
    stderr_partial_.clear();
  }
}

std::vector<std::string> PluginProcess::stderr_lines() {
  drain_stderr();
  std::vector<std::string> lines;
  lines.swap(stderr_lines_);
  return lines;
}

} // namespace rsp
