// Test helper: the process's descriptors 0, 1 and 2 replaced by pipes, so that in-process tests
// of the stdio layer and the serving loop talk to the test instead of the terminal.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

// Puts pipes in place of descriptors 0, 1 and 2 for the life of the object, so that the code
// under test talks to the test instead of the terminal. Nothing may be printed through gtest
// while it is active: check results after it has gone.
class StdioPipes {
public:
  StdioPipes() {
    std::fflush(stdout);
    std::fflush(stderr);
    saved_[0] = ::dup(0);
    saved_[1] = ::dup(1);
    saved_[2] = ::dup(2);
    int in[2];
    int out[2];
    int err[2];
    ok_ = ::pipe(in) == 0 && ::pipe(out) == 0 && ::pipe(err) == 0;
    if (!ok_) {
      return;
    }
    ::dup2(in[0], 0);
    ::close(in[0]);
    ::dup2(out[1], 1);
    ::close(out[1]);
    ::dup2(err[1], 2);
    ::close(err[1]);
    to_plugin_ = in[1];
    from_plugin_ = out[0];
    from_stderr_ = err[0];
    // Standard error is drained by a thread so that a long message can never block the test.
    stderr_reader_ = std::thread([this] {
      char chunk[4096];
      for (;;) {
        const ssize_t got = ::read(from_stderr_, chunk, sizeof chunk);
        if (got <= 0) {
          break;
        }
        stderr_text_.append(chunk, static_cast<std::size_t>(got));
      }
    });
  }

  ~StdioPipes() {
    restore();
    close_to_plugin();
    close_from_plugin();
  }

  // Puts the original descriptors back. The test's ends stay open (a debugger thread may still
  // be reading: it sees the end of the plug-in's output now) until the object goes.
  void restore() {
    if (restored_ || !ok_) {
      return;
    }
    restored_ = true;
    std::fflush(stdout);
    std::fflush(stderr);
    for (int fd = 0; fd < 3; ++fd) {
      ::dup2(saved_[fd], fd);
      ::close(saved_[fd]);
    }
    if (stderr_reader_.joinable()) {
      stderr_reader_.join();
    }
    ::close(from_stderr_);
  }

  bool ok() const { return ok_; }
  int to_plugin() const { return to_plugin_; }
  int from_plugin() const { return from_plugin_; }
  void close_to_plugin() {
    if (to_plugin_ >= 0) {
      ::close(to_plugin_);
      to_plugin_ = -1;
    }
  }
  void close_from_plugin() {
    if (from_plugin_ >= 0) {
      ::close(from_plugin_);
      from_plugin_ = -1;
    }
  }
  void send(const std::string& text) const {
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t put = ::write(to_plugin_, text.data() + done, text.size() - done);
      if (put <= 0) {
        return;
      }
      done += static_cast<std::size_t>(put);
    }
  }
  // Everything the code under test wrote to standard output so far (the write end stays open).
  std::string drain_stdout() const {
    std::string text;
    ::fcntl(from_plugin_, F_SETFL, ::fcntl(from_plugin_, F_GETFL) | O_NONBLOCK);
    char chunk[4096];
    for (;;) {
      const ssize_t got = ::read(from_plugin_, chunk, sizeof chunk);
      if (got <= 0) {
        break;
      }
      text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
  }
  // Valid after restore().
  const std::string& stderr_text() const { return stderr_text_; }

private:
  int saved_[3] = {-1, -1, -1};
  int to_plugin_ = -1;
  int from_plugin_ = -1;
  int from_stderr_ = -1;
  bool ok_ = false;
  bool restored_ = false;
  std::thread stderr_reader_;
  std::string stderr_text_;
};
