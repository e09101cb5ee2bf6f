// Test helper: the process's descriptors 0, 1 and 2 replaced by pipes, so that in-process tests
// of the stdio layer and the serving loop talk to the test instead of the terminal. On Windows
// the C runtime's descriptors and pipes (_pipe, _dup2) stand in for the POSIX calls.
#pragma once

#include <cstdio>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace stdio_pipes_detail {
#ifdef _WIN32
inline int dup(int fd) {
  return ::_dup(fd);
}
inline int dup2(int from, int to) {
  return ::_dup2(from, to);
}
inline int close(int fd) {
  return ::_close(fd);
}
inline long read(int fd, void* buffer, std::size_t room) {
  return ::_read(fd, buffer, static_cast<unsigned>(room));
}
inline long write(int fd, const void* data, std::size_t length) {
  return ::_write(fd, data, static_cast<unsigned>(length));
}
// mode is _O_BINARY or _O_TEXT: the translation the C runtime applies to the pipe's descriptors.
inline bool make_pipe(int ends[2], int mode) {
  return ::_pipe(ends, 65536, mode | _O_NOINHERIT) == 0;
}
inline void set_binary(int fd) {
  ::_setmode(fd, _O_BINARY);
}
// Bytes waiting in the pipe behind fd (a read of that many never blocks).
inline long waiting(int fd) {
  DWORD bytes = 0;
  const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
  if (!::PeekNamedPipe(handle, nullptr, 0, nullptr, &bytes, nullptr)) {
    return 0;
  }
  return static_cast<long>(bytes);
}
#else
inline int dup(int fd) {
  return ::dup(fd);
}
inline int dup2(int from, int to) {
  return ::dup2(from, to);
}
inline int close(int fd) {
  return ::close(fd);
}
inline long read(int fd, void* buffer, std::size_t room) {
  return static_cast<long>(::read(fd, buffer, room));
}
inline long write(int fd, const void* data, std::size_t length) {
  return static_cast<long>(::write(fd, data, length));
}
inline bool make_pipe(int ends[2], int) {
  return ::pipe(ends) == 0;
}
inline void set_binary(int) {}
#endif
} // namespace stdio_pipes_detail

// How the C runtime treats line ends on the pipes' descriptors. Windows translates CR LF on
// descriptors in text mode, which is how a program's standard streams start; POSIX never does,
// and there both modes are the same.
enum class PipeMode { Binary, Text };

// Puts pipes in place of descriptors 0, 1 and 2 for the life of the object, so that the code
// under test talks to the test instead of the terminal. Nothing may be printed through gtest
// while it is active: check results after it has gone.
class StdioPipes {
public:
  explicit StdioPipes(PipeMode mode = PipeMode::Binary) {
    namespace io = stdio_pipes_detail;
#ifdef _WIN32
    const int crt_mode = mode == PipeMode::Text ? _O_TEXT : _O_BINARY;
#else
    const int crt_mode = mode == PipeMode::Text ? 1 : 0;
#endif
    std::fflush(stdout);
    std::fflush(stderr);
    saved_[0] = io::dup(0);
    saved_[1] = io::dup(1);
    saved_[2] = io::dup(2);
    int in[2];
    int out[2];
    int err[2];
    ok_ =
        io::make_pipe(in, crt_mode) && io::make_pipe(out, crt_mode) && io::make_pipe(err, crt_mode);
    if (!ok_) {
      return;
    }
    io::dup2(in[0], 0);
    io::close(in[0]);
    io::dup2(out[1], 1);
    io::close(out[1]);
    io::dup2(err[1], 2);
    io::close(err[1]);
    to_plugin_ = in[1];
    from_plugin_ = out[0];
    from_stderr_ = err[0];
    // The test's own ends always pass the bytes as they are.
    io::set_binary(to_plugin_);
    io::set_binary(from_plugin_);
    io::set_binary(from_stderr_);
    // Standard error is drained by a thread so that a long message can never block the test.
    stderr_reader_ = std::thread([this] {
      char chunk[4096];
      for (;;) {
        const long got = stdio_pipes_detail::read(from_stderr_, chunk, sizeof chunk);
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
    namespace io = stdio_pipes_detail;
    if (restored_ || !ok_) {
      return;
    }
    restored_ = true;
    std::fflush(stdout);
    std::fflush(stderr);
    for (int fd = 0; fd < 3; ++fd) {
      io::dup2(saved_[fd], fd);
      io::close(saved_[fd]);
    }
    if (stderr_reader_.joinable()) {
      stderr_reader_.join();
    }
    io::close(from_stderr_);
  }

  bool ok() const {
    return ok_;
  }
  void close_to_plugin() {
    if (to_plugin_ >= 0) {
      stdio_pipes_detail::close(to_plugin_);
      to_plugin_ = -1;
    }
  }
  void close_from_plugin() {
    if (from_plugin_ >= 0) {
      stdio_pipes_detail::close(from_plugin_);
      from_plugin_ = -1;
    }
  }
  // Closes descriptor 0 itself, so that the code under test reads from a descriptor that is not
  // open (restore() brings it back).
  static void close_standard_input() {
    stdio_pipes_detail::close(0);
  }

  void send(const std::string& text) const {
    std::size_t done = 0;
    while (done < text.size()) {
      const long put =
          stdio_pipes_detail::write(to_plugin_, text.data() + done, text.size() - done);
      if (put <= 0) {
        return;
      }
      done += static_cast<std::size_t>(put);
    }
  }
  // One blocking read of what the code under test wrote to standard output: the byte count, 0
  // when its output has ended.
  long receive(char* buffer, std::size_t room) const {
    return stdio_pipes_detail::read(from_plugin_, buffer, room);
  }
  // Everything the code under test wrote to standard output so far (the write end stays open).
  std::string drain_stdout() const {
    std::string text;
    char chunk[4096];
#ifdef _WIN32
    for (long n = stdio_pipes_detail::waiting(from_plugin_); n > 0;
         n = stdio_pipes_detail::waiting(from_plugin_)) {
      const long got = receive(chunk, n < 4096 ? static_cast<std::size_t>(n) : sizeof chunk);
      if (got <= 0) {
        break;
      }
      text.append(chunk, static_cast<std::size_t>(got));
    }
#else
    ::fcntl(from_plugin_, F_SETFL, ::fcntl(from_plugin_, F_GETFL) | O_NONBLOCK);
    for (;;) {
      const long got = receive(chunk, sizeof chunk);
      if (got <= 0) {
        break;
      }
      text.append(chunk, static_cast<std::size_t>(got));
    }
#endif
    return text;
  }
  // Valid after restore().
  const std::string& stderr_text() const {
    return stderr_text_;
  }

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
