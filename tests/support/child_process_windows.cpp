// The child process on Windows, started the way a debugger starts the plug-in: CreateProcess
// with anonymous pipes as its standard handles.
//
// Anonymous pipes have no non-blocking mode and no poll, so the two directions work as follows.
// Output is collected by polling: PeekNamedPipe says how many bytes wait, and only those are
// read, so no read ever blocks and a pipe can be closed at any time. A write blocks until the
// child has read enough, so it runs on a thread of its own while this thread keeps collecting
// output; when the time limit passes first the child is ended, which fails the blocked write.
#include "support/child_process.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// The exit code we give a child that we end ourselves.
constexpr UINT kKilledExitCode = 0xDEAD;
// Room of each pipe, as on Linux.
constexpr DWORD kPipeRoom = 65536;

int remaining_ms(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

void close_handle(HANDLE& handle) {
  if (handle != nullptr) {
    ::CloseHandle(handle);
    handle = nullptr;
  }
}

// One argument as the C runtime's command-line parser splits it back: quoted when it holds a
// blank or a quote or is empty; backslashes count only in front of a quote.
void append_argument(std::string& line, const std::string& argument) {
  if (!line.empty()) {
    line += ' ';
  }
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
    line += argument;
    return;
  }
  line += '"';
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      line.append(2 * backslashes + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, '\\');
  line += '"';
}

// A pipe whose one end the child inherits; the other end stays ours and is not inherited.
bool make_pipe(HANDLE* child_end, HANDLE* our_end, bool child_reads) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE read_end = nullptr;
  HANDLE write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, &inheritable, kPipeRoom)) {
    return false;
  }
  *child_end = child_reads ? read_end : write_end;
  *our_end = child_reads ? write_end : read_end;
  ::SetHandleInformation(*our_end, HANDLE_FLAG_INHERIT, 0);
  return true;
}

class WindowsChild : public ChildProcess {
public:
  ~WindowsChild() override {
    kill();
    close_handle(in_);
    close_handle(out_);
    close_handle(err_);
    close_handle(process_);
  }

  bool start(const std::vector<std::string>& argv) override {
    HANDLE child_in = nullptr;
    HANDLE child_out = nullptr;
    HANDLE child_err = nullptr;
    if (!make_pipe(&child_in, &in_, true) || !make_pipe(&child_out, &out_, false) ||
        !make_pipe(&child_err, &err_, false)) {
      for (HANDLE* h : {&child_in, &child_out, &child_err, &in_, &out_, &err_}) {
        close_handle(*h);
      }
      return false;
    }
    std::string command_line;
    for (const std::string& argument : argv) {
      append_argument(command_line, argument);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = child_in;
    startup.hStdOutput = child_out;
    startup.hStdError = child_err;
    PROCESS_INFORMATION info{};
    const BOOL started = ::CreateProcessA(argv[0].c_str(), command_line.data(), nullptr, nullptr,
                                          TRUE, 0, nullptr, nullptr, &startup, &info);
    // The child has its own copies now; ours would keep its pipes from ever ending.
    close_handle(child_in);
    close_handle(child_out);
    close_handle(child_err);
    if (!started) {
      close_handle(in_);
      close_handle(out_);
      close_handle(err_);
      return false;
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    return true;
  }

  bool write(std::string_view bytes, int timeout_ms) override {
    if (in_ == nullptr) {
      return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::atomic<bool> finished{false};
    bool all_written = true;
    HANDLE in = in_;
    std::thread writer([in, bytes, &finished, &all_written] {
      std::size_t done = 0;
      while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(bytes.size() - done);
        if (!::WriteFile(in, bytes.data() + done, want, &put, nullptr) || put == 0) {
          all_written = false; // the child no longer reads
          break;
        }
        done += put;
      }
      finished = true;
    });
    bool timed_out = false;
    while (!finished) {
      if (!timed_out && remaining_ms(deadline) == 0) {
        timed_out = true;
        end_child(); // the blocked write fails with the child's end
      }
      pump(5);
    }
    writer.join();
    return all_written && !timed_out;
  }

  void close_stdin() override { close_handle(in_); }
  void close_stdout() override { close_handle(out_); }

  void pump(int wait_ms) override {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(wait_ms);
    for (;;) {
      const bool got = collect(out_, out) | collect(err_, err);
      if (got || remaining_ms(deadline) == 0 || (out_ == nullptr && err_ == nullptr)) {
        return;
      }
      ::Sleep(1);
    }
  }

  bool stdout_open() const override { return out_ != nullptr; }
  bool stderr_open() const override { return err_ != nullptr; }

  bool poll_exit(PluginExit* exit) override {
    if (process_ == nullptr) {
      return true;
    }
    if (::WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
      return false;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_, &code);
    close_handle(process_);
    if (killed_) {
      exit->signaled = true;
      exit->signal = static_cast<int>(code);
    } else if ((code & 0xC0000000u) == 0xC0000000u) {
      // An exception status such as 0xC0000005: the process crashed.
      exit->signaled = true;
      exit->signal = static_cast<int>(code);
    } else {
      exit->exited = true;
      exit->code = static_cast<int>(code);
    }
    return true;
  }

  void kill() override {
    if (process_ != nullptr) {
      end_child();
      ::WaitForSingleObject(process_, INFINITE);
      close_handle(process_);
    }
  }

private:
  void end_child() {
    if (process_ != nullptr) {
      killed_ = true;
      ::TerminateProcess(process_, kKilledExitCode);
    }
  }

  // Reads what waits in pipe without blocking; closes the pipe once its writer has gone.
  static bool collect(HANDLE& pipe, std::string& sink) {
    if (pipe == nullptr) {
      return false;
    }
    DWORD waiting = 0;
    if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &waiting, nullptr)) {
      close_handle(pipe); // broken: the child closed it or ended
      return true;
    }
    if (waiting == 0) {
      return false;
    }
    char chunk[65536];
    DWORD got = 0;
    const DWORD want = waiting < sizeof chunk ? waiting : static_cast<DWORD>(sizeof chunk);
    if (!::ReadFile(pipe, chunk, want, &got, nullptr)) {
      close_handle(pipe);
      return true;
    }
    sink.append(chunk, got);
    return true;
  }

  HANDLE process_ = nullptr;
  HANDLE in_ = nullptr;  // our end of the child's standard input
  HANDLE out_ = nullptr; // our end of the child's standard output
  HANDLE err_ = nullptr; // our end of the child's standard error
  bool killed_ = false;
};

} // namespace

std::unique_ptr<ChildProcess> make_child_process() {
  return std::make_unique<WindowsChild>();
}
